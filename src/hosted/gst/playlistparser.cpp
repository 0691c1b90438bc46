#include "hosted/gst/playlistparser.h"

#include <QXmlStreamReader>
#include <algorithm>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

constexpr int kMaxXmlDepth = 64;
// With a cap on entries, an XML playlist whose first entries are not among its first few
// thousand elements is not worth reading on: the reader's cost is per element.
constexpr int kMaxXmlElementsWhenCapped = 4096;

bool isAllowedScheme(QByteArrayView scheme)
{
    static constexpr const char* allowed[] = {"http", "https", "mms", "mmsh",
                                              "mmst", "rtsp",  "rtmp"};
    for (const char* name : allowed)
        if (scheme.compare(QByteArrayView(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool isSchemeChar(char c, bool first)
{
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return letter || (!first && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
}

// The scheme an entry names, if any, found without building a URL: a hostile playlist of
// thousands of refused entries then costs a scan, not thousands of parses.
QByteArrayView schemeOf(QByteArrayView raw)
{
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == ':')
            return i > 0 ? raw.first(i) : QByteArrayView();
        if (!isSchemeChar(raw[i], i == 0))
            return {};
    }
    return {};
}

bool isHostChar(char c)
{
    return isSchemeChar(c, false) || c == '_' || c == '~' || c == '%' || c == '[' || c == ']' ||
           c == ':' || c == '@' || c == '!' || c == '$' || c == '&' || c == '\'' || c == '(' ||
           c == ')' || c == '*' || c == ',' || c == ';' || c == '=';
}

// An absolute entry needs "//" and something that may be a host before the path: QUrl would
// refuse the others anyway, but only after the cost of parsing them.
bool mayHaveHost(QByteArrayView afterScheme)
{
    if (!afterScheme.startsWith("//"))
        return false;
    qsizetype i = 2;
    while (i < afterScheme.size() && isHostChar(afterScheme[i]))
        ++i;
    return i > 2 && (i == afterScheme.size() || afterScheme[i] == '/' || afterScheme[i] == '?' ||
                     afterScheme[i] == '#');
}

// Playlists in the wild are UTF-8, GBK or Latin-1; their addresses are nearly always ASCII.
// Bytes above 0x7F are percent-encoded as they stand, so the server gets back exactly the
// bytes it wrote whatever the playlist's encoding was. `parsed` counts the entries that got
// as far as a URL parse.
QUrl entryUrl(QByteArrayView raw, const QUrl& base, qsizetype& parsed)
{
    raw = raw.trimmed();
    if (raw.isEmpty() || raw.size() > kMaxEntryBytes)
        return {};
    // Control bytes mean binary data, not an address.
    for (const char c : raw)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return {};
    if (const QByteArrayView scheme = schemeOf(raw); !scheme.isEmpty()) {
        if (!isAllowedScheme(scheme) || !mayHaveHost(raw.sliced(scheme.size() + 1)))
            return {};
    }
    ++parsed;
    const QByteArray encoded =
        raw.toByteArray().toPercentEncoding(QByteArrayLiteral("!#$&'()*+,/:;=?@[]~%"));
    QUrl url = QUrl::fromEncoded(encoded, QUrl::TolerantMode);
    if (url.isRelative())
        url = base.resolved(url);
    if (!url.isValid() || !isAllowedScheme(url.scheme().toLatin1()) || url.host().isEmpty())
        return {};
    return url;
}

//! Collects entries up to a cap. With a cap, it also stops after a few times as many entries
//! passed the cheap checks and still failed to parse: a playlist of thousands of such lines
//! is not worth reading to its end.
class Entries
{
public:
    explicit Entries(qsizetype max) : m_max(max) {}
    [[nodiscard]] bool full() const
    {
        return m_max >= 0 && (m_urls.size() >= m_max || m_parsed >= 4 * m_max + 16);
    }
    //! True when `raw` gave an entry.
    bool add(QByteArrayView raw, const QUrl& base)
    {
        if (full())
            return false;
        QUrl url = entryUrl(raw, base, m_parsed);
        if (url.isEmpty())
            return false;
        m_urls.append(std::move(url));
        return true;
    }
    QList<QUrl> take() { return std::move(m_urls); }

private:
    qsizetype m_max;
    qsizetype m_parsed = 0;
    QList<QUrl> m_urls;
};

// Calls `f` with each line; CR, LF and CRLF all end one.
template <typename F> void forEachLine(QByteArrayView body, F&& f)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] != '\n' && body[i] != '\r')
            continue;
        f(body.sliced(start, i - start));
        if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < body.size())
        f(body.sliced(start));
}

QByteArrayView withoutBom(QByteArrayView line)
{
    return line.startsWith("\xEF\xBB\xBF") ? line.sliced(3) : line;
}

QList<QUrl> parseM3u(const QByteArray& body, const QUrl& base, qsizetype max)
{
    Entries entries(max);
    forEachLine(body, [&](QByteArrayView line) {
        const QByteArrayView entry = withoutBom(line.trimmed());
        if (!entry.isEmpty() && !entry.startsWith('#'))
            entries.add(entry, base);
    });
    return entries.take();
}

QList<QUrl> parsePls(const QByteArray& body, const QUrl& base, qsizetype max)
{
    // FileN keys may come in any order and with gaps; N orders them. The first usable value
    // of each N counts.
    struct Value
    {
        int number;
        QByteArrayView text;
    };
    std::vector<Value> values;
    forEachLine(body, [&](QByteArrayView line) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            return;
        const QByteArrayView key = line.first(eq).trimmed();
        if (key.size() < 4 || key.first(4).compare("file", Qt::CaseInsensitive) != 0)
            return;
        bool ok = false;
        const int number = key.sliced(4).toInt(&ok);
        if (ok)
            values.push_back({number, line.sliced(eq + 1)});
    });
    std::stable_sort(values.begin(), values.end(),
                     [](const Value& a, const Value& b) { return a.number < b.number; });
    Entries entries(max);
    std::optional<int> taken;
    for (const Value& value : values) {
        if (entries.full())
            break;
        if (taken != value.number && entries.add(value.text, base))
            taken = value.number;
    }
    return entries.take();
}

// The five entities XML predefines, replaced in one pass so that "&amp;lt;" stays "&lt;".
QByteArray decodeXmlEntities(QByteArrayView text)
{
    static constexpr struct
    {
        const char* name;
        char value;
    } entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '&') {
            for (const auto& entity : entities) {
                const QByteArrayView name(entity.name);
                if (text.size() - i >= name.size() &&
                    text.sliced(i, name.size()).compare(name, Qt::CaseInsensitive) == 0) {
                    out += entity.value;
                    i += name.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The value of attribute `wanted` among a tag's attributes; null when it has none.
QByteArrayView attributeValue(QByteArrayView attributes, QByteArrayView wanted)
{
    qsizetype i = 0;
    const qsizetype n = attributes.size();
    while (i < n) {
        while (i < n && (isSpace(attributes[i]) || attributes[i] == '/'))
            ++i;
        const qsizetype nameStart = i;
        while (i < n && !isSpace(attributes[i]) && attributes[i] != '=' && attributes[i] != '/')
            ++i;
        const QByteArrayView name = attributes.sliced(nameStart, i - nameStart);
        while (i < n && isSpace(attributes[i]))
            ++i;
        QByteArrayView value;
        if (i < n && attributes[i] == '=') {
            ++i;
            while (i < n && isSpace(attributes[i]))
                ++i;
            if (i < n && (attributes[i] == '"' || attributes[i] == '\'')) {
                const char quote = attributes[i++];
                const qsizetype end = attributes.indexOf(quote, i);
                if (end < 0)
                    return {}; // cut off: whatever follows is no value
                value = attributes.sliced(i, end - i);
                i = end + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < n && !isSpace(attributes[i]))
                    ++i;
                value = attributes.sliced(valueStart, i - valueStart);
            }
        } else if (name.isEmpty()) {
            ++i; // a stray '=' or quote: step over it
        }
        if (!name.isEmpty() && name.compare(wanted, Qt::CaseInsensitive) == 0)
            return value.isNull() ? QByteArrayView("") : value;
    }
    return {};
}

// ASX files are rarely well-formed XML (bare '&' in addresses, tags in any case, unquoted
// values), so the references are picked out by a scanner rather than an XML reader. Each
// byte is looked at a bounded number of times, whatever the body holds.
QList<QUrl> parseAsx(const QByteArray& body, const QUrl& base, qsizetype max)
{
    Entries entries(max);
    const QByteArrayView text(body);
    qsizetype pos = 0;
    while (!entries.full()) {
        const qsizetype open = text.indexOf('<', pos);
        if (open < 0)
            break;
        qsizetype i = open + 1;
        while (i < text.size() && isSpace(text[i]))
            ++i;
        const qsizetype nameStart = i;
        while (i < text.size() && isSchemeChar(text[i], i == nameStart))
            ++i;
        const QByteArrayView name = text.sliced(nameStart, i - nameStart);
        pos = i;
        if (name.compare("ref", Qt::CaseInsensitive) != 0 &&
            name.compare("entryref", Qt::CaseInsensitive) != 0)
            continue;
        // The tag ends at the first '>' outside quotes; a quote left open runs to the body's
        // end, which stops the scan.
        qsizetype end = i;
        while (end < text.size() && text[end] != '>') {
            if (text[end] == '"' || text[end] == '\'') {
                const qsizetype close = text.indexOf(text[end], end + 1);
                end = close < 0 ? text.size() : close;
            }
            ++end;
        }
        const qsizetype stop = qMin(end, text.size());
        const QByteArrayView href = attributeValue(text.sliced(i, stop - i), "href");
        if (!href.isNull())
            entries.add(decodeXmlEntities(href), base);
        pos = stop;
    }
    return entries.take();
}

PlaylistRead parseXspf(const QByteArray& body, const QUrl& base, qsizetype max)
{
    PlaylistRead read;
    Entries entries(max);
    QXmlStreamReader xml(body);
    bool inTrack = false;
    int depth = 0;
    int elements = 0;
    while (!xml.atEnd() && !entries.full()) {
        const auto token = xml.readNext();
        // The reader expands what a DTD declares as it goes; stop before any of it.
        if (token == QXmlStreamReader::DTD) {
            read.refused = true;
            return read;
        }
        if (token == QXmlStreamReader::StartElement) {
            // XSPF nests four deep; the reader's cost grows with depth, so a body of nothing
            // but opening tags is where reading stops.
            if (++depth > kMaxXmlDepth || (max >= 0 && ++elements > kMaxXmlElementsWhenCapped))
                break;
            if (xml.name() == u"track"_s) {
                inTrack = true;
            } else if (inTrack && xml.name() == u"location"_s) {
                const QString location = xml.readElementText();
                --depth;
                if (xml.hasError())
                    break;
                if (location.size() <= kMaxEntryBytes)
                    entries.add(location.toUtf8(), base);
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
            if (xml.name() == u"track"_s)
                inTrack = false;
        }
    }
    // Entries read before a syntax error are kept: a truncated playlist still names streams.
    read.entries = entries.take();
    return read;
}

} // namespace

PlaylistKind playlistKindFromUrl(const QUrl& url)
{
    const QString path = url.path().toLower();
    if (path.endsWith(u".m3u8"_s))
        return PlaylistKind::Hls;
    if (path.endsWith(u".m3u"_s))
        return PlaylistKind::M3u;
    if (path.endsWith(u".pls"_s))
        return PlaylistKind::Pls;
    if (path.endsWith(u".asx"_s) || path.endsWith(u".wax"_s) || path.endsWith(u".wvx"_s))
        return PlaylistKind::Asx;
    if (path.endsWith(u".xspf"_s))
        return PlaylistKind::Xspf;
    return PlaylistKind::None;
}

PlaylistKind playlistKindFromContentType(const QByteArray& contentType)
{
    const QByteArray type = contentType.split(';').first().trimmed().toLower();
    if (type == "audio/x-scpls" || type == "application/pls+xml" || type == "audio/scpls")
        return PlaylistKind::Pls;
    if (type == "audio/x-mpegurl" || type == "audio/mpegurl" || type == "application/x-mpegurl" ||
        type == "application/vnd.apple.mpegurl")
        return PlaylistKind::M3u; // may still be HLS; sniffPlaylist() tells
    if (type == "video/x-ms-asf" || type == "video/x-ms-asx" || type == "audio/x-ms-asx" ||
        type == "audio/x-ms-wax" || type == "video/x-ms-wvx")
        return PlaylistKind::Asx; // video/x-ms-asf may also be a binary ASF stream
    if (type == "application/xspf+xml")
        return PlaylistKind::Xspf;
    return PlaylistKind::None;
}

PlaylistKind sniffPlaylist(const QByteArray& body)
{
    QByteArray head = body.left(4096);
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    head = head.trimmed();
    const QByteArray lower = head.toLower();
    if (lower.startsWith("#extm3u"))
        return lower.contains("#ext-x-") ? PlaylistKind::Hls : PlaylistKind::M3u;
    if (lower.startsWith("[playlist]"))
        return PlaylistKind::Pls;
    if (lower.startsWith("<asx"))
        return PlaylistKind::Asx;
    if (lower.startsWith("<?xml") || lower.startsWith("<playlist")) {
        if (lower.contains("<asx"))
            return PlaylistKind::Asx;
        if (lower.contains("xspf.org/ns/0") || lower.contains("<playlist"))
            return PlaylistKind::Xspf;
    }
    // A bare list of addresses, the oldest form of .m3u.
    if (lower.startsWith("http://") || lower.startsWith("https://") || lower.startsWith("mms"))
        return PlaylistKind::M3u;
    return PlaylistKind::None;
}

PlaylistRead readPlaylist(PlaylistKind kind, const QByteArray& body, const QUrl& base,
                          qsizetype maxEntries)
{
    PlaylistRead read;
    switch (kind) {
    case PlaylistKind::M3u:
        read.entries = parseM3u(body, base, maxEntries);
        break;
    case PlaylistKind::Pls:
        read.entries = parsePls(body, base, maxEntries);
        break;
    case PlaylistKind::Asx: {
        // Not read as XML, so nothing would expand; refused all the same, as XSPF is.
        const QByteArray lowered = body.toLower();
        if (lowered.contains("<!doctype") || lowered.contains("<!entity")) {
            read.refused = true;
            break;
        }
        read.entries = parseAsx(body, base, maxEntries);
        break;
    }
    case PlaylistKind::Xspf:
        read = parseXspf(body, base, maxEntries);
        break;
    case PlaylistKind::Hls:
    case PlaylistKind::None:
        break;
    }
    return read;
}

QList<QUrl> parsePlaylist(PlaylistKind kind, const QByteArray& body, const QUrl& base)
{
    return readPlaylist(kind, body, base).entries;
}

} // namespace qiravon

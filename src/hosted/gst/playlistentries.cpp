#include "hosted/gst/playlistentries.h"

#include "hosted/gst/playlistparser.h"

namespace qiravon::playlist {

namespace {

bool isAllowedScheme(QByteArrayView scheme)
{
    static constexpr const char* allowed[] = {"http", "https", "mms", "mmsh",
                                              "mmst", "rtsp",  "rtmp"};
    for (const char* name : allowed)
        if (scheme.compare(QByteArrayView(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
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

} // namespace

bool isSchemeChar(char c, bool first)
{
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return letter || (!first && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
}

bool PlaylistEntries::add(QByteArrayView raw, const QUrl& base)
{
    if (full())
        return false;
    QUrl url = entryUrl(raw, base, m_parsed);
    if (url.isEmpty())
        return false;
    m_urls.append(std::move(url));
    return true;
}

} // namespace qiravon::playlist

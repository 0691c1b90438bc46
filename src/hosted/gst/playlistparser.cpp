#include "hosted/gst/playlistparser.h"

#include <QMap>
#include <QRegularExpression>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

bool isAllowedScheme(const QString& scheme)
{
    static const QStringList allowed{u"http"_s, u"https"_s, u"mms"_s, u"mmsh"_s,
                                     u"mmst"_s, u"rtsp"_s,  u"rtmp"_s};
    return allowed.contains(scheme.toLower());
}

// Playlists in the wild are UTF-8, GBK or Latin-1; their addresses are nearly always ASCII.
// Bytes above 0x7F are percent-encoded as they stand, so the server gets back exactly the
// bytes it wrote whatever the playlist's encoding was.
QUrl entryUrl(QByteArray raw, const QUrl& base)
{
    raw = raw.trimmed();
    if (raw.isEmpty())
        return {};
    // Control bytes mean binary data, not an address.
    for (const char c : std::as_const(raw))
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return {};
    const QByteArray encoded =
        raw.toPercentEncoding(QByteArrayLiteral("!#$&'()*+,/:;=?@[]~%"), QByteArray());
    QUrl url = QUrl::fromEncoded(encoded, QUrl::TolerantMode);
    if (url.isRelative())
        url = base.resolved(url);
    if (!url.isValid() || !isAllowedScheme(url.scheme()) || url.host().isEmpty())
        return {};
    return url;
}

QList<QByteArray> lines(const QByteArray& body)
{
    QByteArray text = body;
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text.split('\n');
}

QList<QUrl> parseM3u(const QByteArray& body, const QUrl& base)
{
    QList<QUrl> urls;
    for (const QByteArray& line : lines(body)) {
        QByteArray entry = line.trimmed();
        if (entry.startsWith("\xEF\xBB\xBF"))
            entry.remove(0, 3);
        if (entry.isEmpty() || entry.startsWith('#'))
            continue;
        if (const QUrl url = entryUrl(entry, base); !url.isEmpty())
            urls.append(url);
    }
    return urls;
}

QList<QUrl> parsePls(const QByteArray& body, const QUrl& base)
{
    // FileN keys may come in any order and with gaps; N orders them.
    QMap<int, QUrl> byNumber;
    for (const QByteArray& line : lines(body)) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq).trimmed().toLower();
        if (!key.startsWith("file"))
            continue;
        bool ok = false;
        const int number = key.mid(4).toInt(&ok);
        if (!ok || byNumber.contains(number))
            continue;
        if (const QUrl url = entryUrl(line.mid(eq + 1), base); !url.isEmpty())
            byNumber.insert(number, url);
    }
    return byNumber.values();
}

QString decodeXmlEntities(QString text)
{
    text.replace(u"&amp;"_s, u"&"_s, Qt::CaseInsensitive);
    text.replace(u"&lt;"_s, u"<"_s, Qt::CaseInsensitive);
    text.replace(u"&gt;"_s, u">"_s, Qt::CaseInsensitive);
    text.replace(u"&quot;"_s, u"\""_s, Qt::CaseInsensitive);
    text.replace(u"&apos;"_s, u"'"_s, Qt::CaseInsensitive);
    return text;
}

// ASX files are rarely well-formed XML (bare '&' in addresses, tags in any case), so the
// references are picked out by pattern rather than by an XML reader.
QList<QUrl> parseAsx(const QByteArray& body, const QUrl& base)
{
    static const QRegularExpression ref(
        uR"re(<\s*(?:ref|entryref)\b[^>]*?\bhref\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))re"_s,
        QRegularExpression::CaseInsensitiveOption);
    QList<QUrl> urls;
    const QString text = QString::fromLatin1(body);
    for (auto it = ref.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        QString href = m.captured(1);
        if (href.isEmpty())
            href = m.captured(2);
        if (href.isEmpty())
            href = m.captured(3);
        if (const QUrl url = entryUrl(decodeXmlEntities(href).toLatin1(), base); !url.isEmpty())
            urls.append(url);
    }
    return urls;
}

QList<QUrl> parseXspf(const QByteArray& body, const QUrl& base)
{
    QList<QUrl> urls;
    QXmlStreamReader xml(body);
    bool inTrack = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"track"_s) {
                inTrack = true;
            } else if (inTrack && xml.name() == u"location"_s) {
                const QString location = xml.readElementText().trimmed();
                if (xml.hasError())
                    break;
                if (const QUrl url = entryUrl(location.toUtf8(), base); !url.isEmpty())
                    urls.append(url);
            }
        } else if (token == QXmlStreamReader::EndElement && xml.name() == u"track"_s) {
            inTrack = false;
        }
    }
    // Entries read before a syntax error are kept: a truncated playlist still names streams.
    return urls;
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

QList<QUrl> parsePlaylist(PlaylistKind kind, const QByteArray& body, const QUrl& base)
{
    switch (kind) {
    case PlaylistKind::M3u:
        return parseM3u(body, base);
    case PlaylistKind::Pls:
        return parsePls(body, base);
    case PlaylistKind::Asx:
        return parseAsx(body, base);
    case PlaylistKind::Xspf:
        return parseXspf(body, base);
    case PlaylistKind::Hls:
    case PlaylistKind::None:
        break;
    }
    return {};
}

} // namespace qiravon

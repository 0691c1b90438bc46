#include "hosted/gst/playlistparser.h"

#include "hosted/gst/playlistformats.h"

using namespace Qt::StringLiterals;

namespace qiravon {

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
        read.entries = playlist::parseM3u(body, base, maxEntries);
        break;
    case PlaylistKind::Pls:
        read.entries = playlist::parsePls(body, base, maxEntries);
        break;
    case PlaylistKind::Asx: {
        // Not read as XML, so nothing would expand; refused all the same, as XSPF is.
        const QByteArray lowered = body.toLower();
        if (lowered.contains("<!doctype") || lowered.contains("<!entity")) {
            read.refused = true;
            break;
        }
        read.entries = playlist::parseAsx(body, base, maxEntries);
        break;
    }
    case PlaylistKind::Xspf:
        read = playlist::parseXspf(body, base, maxEntries);
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

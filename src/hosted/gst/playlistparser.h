#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>

namespace qiravon {

//! The playlist formats stations publish instead of a stream address.
enum class PlaylistKind
{
    None,
    M3u,
    Pls,
    Asx,
    Xspf,
    Hls
};

//! The kind an address's file name suggests. `.m3u8` is Hls: GStreamer plays those itself.
[[nodiscard]] PlaylistKind playlistKindFromUrl(const QUrl& url);
//! The kind a Content-Type header names (parameters such as charset ignored); None for media.
[[nodiscard]] PlaylistKind playlistKindFromContentType(const QByteArray& contentType);
//! The kind the first bytes of a body show; None when they look like nothing we parse.
[[nodiscard]] PlaylistKind sniffPlaylist(const QByteArray& body);

//! The entries of a playlist in their order, relative ones resolved against `base`.
//! Only network schemes are kept: a playlist from a server must not make the player open
//! local files or run other URI handlers.
[[nodiscard]] QList<QUrl> parsePlaylist(PlaylistKind kind, const QByteArray& body,
                                        const QUrl& base);

} // namespace qiravon

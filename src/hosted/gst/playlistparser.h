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

//! What reading one playlist body found.
struct PlaylistRead
{
    QList<QUrl> entries; //!< in playlist order
    //! The body declares a document type or entities. No playlist format needs either, and
    //! expanding them is how a small body becomes gigabytes, so the whole body is refused.
    bool refused = false;
};

//! Entries longer than this are dropped: no stream address comes near it, and a longer one
//! is an attack on whatever would carry it.
constexpr qsizetype kMaxEntryBytes = 8 * 1024;

//! The kind an address's file name suggests. `.m3u8` is Hls: GStreamer plays those itself.
[[nodiscard]] PlaylistKind playlistKindFromUrl(const QUrl& url);
//! The kind a Content-Type header names (parameters such as charset ignored); None for media.
[[nodiscard]] PlaylistKind playlistKindFromContentType(const QByteArray& contentType);
//! The kind the first bytes of a body show; None when they look like nothing we parse.
[[nodiscard]] PlaylistKind sniffPlaylist(const QByteArray& body);

//! Reads a playlist in time linear in the body's size, keeping at most `maxEntries` entries.
//! Relative entries are resolved against `base`. Only network schemes are kept: a playlist
//! from a server must not make the player open local files or run other URI handlers.
[[nodiscard]] PlaylistRead readPlaylist(PlaylistKind kind, const QByteArray& body, const QUrl& base,
                                        qsizetype maxEntries = -1);

//! The entries of a playlist in their order; readPlaylist() without its verdict or a cap.
[[nodiscard]] QList<QUrl> parsePlaylist(PlaylistKind kind, const QByteArray& body,
                                        const QUrl& base);

} // namespace qiravon

#pragma once

// The readers of each playlist format. Each keeps at most `max` entries (-1: no cap), only
// network addresses, relative ones resolved against `base`, and takes time linear in the
// body's size.

#include "hosted/gst/playlistparser.h"

namespace qiravon::playlist {

[[nodiscard]] QList<QUrl> parseM3u(const QByteArray& body, const QUrl& base, qsizetype max);
[[nodiscard]] QList<QUrl> parsePls(const QByteArray& body, const QUrl& base, qsizetype max);
//! ASX is read by a scanner, not as XML; the caller refuses bodies that declare entities.
[[nodiscard]] QList<QUrl> parseAsx(const QByteArray& body, const QUrl& base, qsizetype max);
//! Refuses, reading nothing, a body that declares a document type.
[[nodiscard]] PlaylistRead parseXspf(const QByteArray& body, const QUrl& base, qsizetype max);

} // namespace qiravon::playlist

#pragma once

#include <QString>
#include <QVariantMap>
#include <optional>

namespace qiravon {

struct NowPlaying;

namespace mpris {

inline const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.qiravon");
inline const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
inline const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
inline const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

//! The Metadata property for what plays: empty before the first station; then the station
//! as the album, the stream's own title as the title when it sends one (else the station's
//! name again), and the address. Texts are made fit for the bus.
[[nodiscard]] QVariantMap metadata(const NowPlaying& now);

//! The slider volume (0..100) for a Volume written on the bus: negative is silence, above
//! 1.0 is full volume; nothing for a value that is not a number.
[[nodiscard]] std::optional<int> volumeFromBus(double volume);

//! Untrusted text as a bus string: D-Bus strings end at a NUL and control characters mean
//! nothing to a desktop's media widget, so both go; overlong text is cut.
[[nodiscard]] QString busText(const QString& text);

} // namespace mpris
} // namespace qiravon

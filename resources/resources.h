#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QPoint>
#include <QStringList>

namespace qiravon::resources {

//! The pictures of the window design.
enum Id
{
    WindowSkin,  //!< 741 x 438 window background
    CloseNormal, //!< 10 x 31 caption buttons
    CloseHover,
    ClosePressed,
    MiniNormal,
    MiniHover,
    MiniPressed,
    ToggleNormal, //!< 53 x 38 view-toggle faces
    TogglePressed,
    SliderKnob,   //!< 16 x 9
    SliderTrack,  //!< 151 x 5
    SliderFill,   //!< 160 x 5
    Speaker,      //!< 12 x 11
    SpeakerWaves, //!< 13 x 11
};

//! The colour of the skin's outer edge. The window is a pixel wider and taller than its
//! skin; the window's own background shows in that pixel and should continue the edge.
inline constexpr QRgb kSkinEdge = qRgb(58, 128, 176);

//! The sizes the application icon is drawn in.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

//! The picture for `id`. Loaded once: every call for the same id returns the same picture,
//! so holders can compare pictures by their cache key. When the application runs at a
//! device-pixel ratio above 1 the picture is the doubled drawing with ratio 2: its
//! deviceIndependentSize() is then the design's size, and size() twice that.
[[nodiscard]] QPixmap pixmap(Id id);
//! Starts fontconfig's own set-up (reading its configuration and font cache) on a thread of
//! its own; may be called before the QGuiApplication exists. The first font Qt looks up then
//! finds it done, or does it itself if it comes first.
void startFontSetUp();
//! Starts decoding every picture on a thread of its own, so pixmap() finds them decoded
//! while the window is still being put together; call once the QGuiApplication exists (its
//! device-pixel ratio chooses the drawings). Without it pixmap() decodes as it is asked.
void startDecoding();
//! The application icon in all its sizes.
[[nodiscard]] QIcon appIcon();
//! The emblem of appIcon() at `logicalSize` pixels, drawn for `devicePixelRatio`, read from
//! its one file: appIcon() decodes every size at once.
QPixmap appEmblem(int logicalSize, qreal devicePixelRatio);
//! The 32 x 32 notification-area icon.
[[nodiscard]] QIcon trayIcon();
//! The fingertip of the pointing hand, where it points.
inline constexpr QPoint kHandHotSpot(6, 0);
//! The pointing hand of the links, hot spot at the fingertip. It keeps its 32 x 32 pixels
//! at every scale, so the hot spot stays on the fingertip.
[[nodiscard]] QCursor handCursor();
//! The list and link font: the family the design names, which fontconfig maps to a CJK face.
[[nodiscard]] QFont songti(double points);
//! The first of `families` that an installed face carries, by the name fontconfig lists that
//! face under (the name Qt's font database knows it by); empty when none is installed.
[[nodiscard]] QString firstInstalledFamily(const QStringList& families);

} // namespace qiravon::resources

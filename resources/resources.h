#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QPoint>

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
//! The application icon in all its sizes.
[[nodiscard]] QIcon appIcon();
//! The 32 x 32 notification-area icon.
[[nodiscard]] QIcon trayIcon();
//! The fingertip of the pointing hand, where it points.
inline constexpr QPoint kHandHotSpot(6, 0);
//! The pointing hand of the links, hot spot at the fingertip. It keeps its 32 x 32 pixels
//! at every scale, so the hot spot stays on the fingertip.
[[nodiscard]] QCursor handCursor();
//! The list and link font: the family the design names, which fontconfig maps to a CJK face.
[[nodiscard]] QFont songti(double points);

} // namespace qiravon::resources

#pragma once

#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QPixmap>

namespace qiravon::resources {

//! The pictures of the window design.
enum Id {
    WindowSkin,    //!< 741 x 438 window background
    CloseNormal,   //!< 10 x 31 caption buttons
    CloseHover,
    ClosePressed,
    MiniNormal,
    MiniHover,
    MiniPressed,
    ToggleNormal,  //!< 53 x 38 view-toggle faces
    TogglePressed,
    SliderKnob,    //!< 16 x 9
    SliderTrack,   //!< 151 x 5
    SliderFill,    //!< 160 x 5
    Speaker,       //!< 12 x 11
    SpeakerWaves,  //!< 13 x 11
};

//! The picture for `id`. Loaded once: every call for the same id returns the same picture,
//! so holders can compare pictures by their cache key.
[[nodiscard]] QPixmap pixmap(Id id);
//! The application icon in all its sizes.
[[nodiscard]] QIcon appIcon();
//! The 32 x 32 notification-area icon.
[[nodiscard]] QIcon trayIcon();
//! The pointing hand of the links, hot spot at the fingertip.
[[nodiscard]] QCursor handCursor();
//! The list and link font: the family the design names, which fontconfig maps to a CJK face.
[[nodiscard]] QFont songti(double points);

} // namespace qiravon::resources

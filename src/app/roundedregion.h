#pragma once

#include <QRegion>
#include <QSize>

class QWidget;

namespace qiravon {

//! The pixels of a rectangle of `size` whose corners are cut by an ellipse `cornerWidth`
//! wide and `cornerHeight` high: each row of pixels is kept from the first to the last pixel
//! whose centre lies inside the rounded outline, so the corners come out symmetric on all
//! four sides and free of the stray pixels a polygon approximation leaves.
[[nodiscard]] QRegion roundedRegion(QSize size, int cornerWidth, int cornerHeight);

//! Clips `window` to a rounded rectangle of its full size, replacing any earlier clip.
//!
//! Sizes are taken in the window's own device-independent pixels, the unit its layout and
//! mask are in: converting the window's size into the display's pixels and back is then the
//! identity, whatever the display's scale, and Qt maps the mask onto device pixels itself.
//! The corner sizes are in the same units, so the outline scales with the skin.
void ApplyRoundedRegion(QWidget* window, int cornerWidth, int cornerHeight);

} // namespace qiravon

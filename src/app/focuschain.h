#pragma once

class QWidget;

namespace qiravon {

//! Where Tab (`forward`) or Shift+Tab takes the focus from `from` among `window`'s own
//! controls: the shown ones that take the focus with Tab, in reading order (by top edge, then
//! by left edge) and round. A control lying exactly under a shown one that takes the focus
//! is passed over; the one on top takes its clicks, so it takes the keyboard too. Null when
//! no control takes the focus.
//!
//! Worked out on every key press rather than kept in Qt's focus chain: the browser brings
//! its page widgets only when first shown, and they would land anywhere in a chain set up
//! beforehand.
[[nodiscard]] QWidget* nextInReadingOrder(QWidget* window, const QWidget* from, bool forward);

} // namespace qiravon

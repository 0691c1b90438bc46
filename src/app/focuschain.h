#pragma once

#include <QList>

class QWidget;

namespace qiravon {

//! `widgets` sorted as they are read: by top edge, then by left edge.
[[nodiscard]] QList<QWidget*> inReadingOrder(QList<QWidget*> widgets);

//! Chains the Tab order of `window`'s own controls in reading order, the list, the links and
//! the picture buttons alike. A control lying exactly under a visible one that takes the
//! focus is left out of it: the one on top takes its clicks, so it takes the keyboard too.
//! Run once the controls have their places.
void chainTabOrderInReadingOrder(QWidget* window);

} // namespace qiravon

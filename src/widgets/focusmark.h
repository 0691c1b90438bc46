#pragma once

class QColor;
class QPainter;
class QRect;

namespace qiravon {

//! Draws the dotted outline that shows which control has the keyboard focus, just inside
//! `rect`. The skinned controls have no style to draw it for them.
void drawFocusMark(QPainter& painter, const QRect& rect, const QColor& color);

} // namespace qiravon

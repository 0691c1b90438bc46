#include "widgets/focusmark.h"

#include <QPainter>

namespace qiravon {

void drawFocusMark(QPainter& painter, const QRect& rect, const QColor& color)
{
    painter.save();
    painter.setPen(QPen(color, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

} // namespace qiravon

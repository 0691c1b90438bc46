// The application icon, a white portable music player (a dark screen above a round control
// wheel), and the links' pointing hand.

#include "canvas.h"

#include <QPainterPath>

namespace artgen {

namespace {

void paintPlayer(QPainter& p, int size)
{
    const qreal s = size;
    // Small sizes keep whole-pixel edges, or the outline smears into the body.
    const qreal inset = size <= 24 ? 0.5 : 0;
    const QRectF body(QPointF(s * 0.19 + inset, s * 0.03 + inset),
                      QPointF(s * 0.81 - inset, s * 0.97 - inset));
    const qreal radius = s * 0.1;

    if (size >= 48) {
        QColor shadow(0, 0, 0, 45);
        p.setPen(Qt::NoPen);
        p.setBrush(shadow);
        p.drawRoundedRect(body.translated(s * 0.02, s * 0.02), radius, radius);
    }

    QLinearGradient shell(body.topLeft(), body.bottomRight());
    shell.setColorAt(0, Qt::white);
    shell.setColorAt(1, QColor(218, 224, 232));
    p.setBrush(shell);
    p.setPen(QPen(QColor(112, 124, 138), size >= 48 ? s / 48 : 1));
    p.drawRoundedRect(body, radius, radius);

    const QRectF screen(QPointF(body.left() + s * 0.07, body.top() + s * 0.07),
                        QSizeF(body.width() - s * 0.14, s * 0.34));
    QLinearGradient glass(screen.topLeft(), screen.bottomLeft());
    glass.setColorAt(0, QColor(44, 62, 92));
    glass.setColorAt(1, QColor(18, 24, 38));
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawRoundedRect(screen, s * 0.03, s * 0.03);
    if (size >= 32) {
        // A glint across the glass and two lines of a now-playing display.
        QPainterPath glint;
        glint.moveTo(screen.topLeft());
        glint.lineTo(screen.left() + screen.width() * 0.62, screen.top());
        glint.lineTo(screen.left(), screen.top() + screen.height() * 0.55);
        glint.closeSubpath();
        p.setBrush(QColor(255, 255, 255, 34));
        p.drawPath(glint);
        p.setBrush(QColor(120, 200, 255, 200));
        const qreal line = s * 0.035;
        p.drawRect(
            QRectF(screen.left() + s * 0.05, screen.top() + s * 0.09, screen.width() * 0.6, line));
        p.drawRect(
            QRectF(screen.left() + s * 0.05, screen.top() + s * 0.17, screen.width() * 0.4, line));
    }

    const QPointF centre(s * 0.5, body.bottom() - s * 0.25);
    const qreal wheel = s * 0.2;
    QRadialGradient ring(centre - QPointF(wheel * 0.3, wheel * 0.3), wheel * 1.4);
    ring.setColorAt(0, QColor(250, 251, 253));
    ring.setColorAt(1, QColor(206, 212, 222));
    p.setBrush(ring);
    p.setPen(QPen(QColor(136, 146, 160), size >= 48 ? s / 64 : 0.8));
    p.drawEllipse(centre, wheel, wheel);
    p.setBrush(QColor(252, 252, 254));
    p.drawEllipse(centre, wheel * 0.38, wheel * 0.38);
}

Item icon(int size)
{
    Item item{QStringLiteral("icon-%1").arg(size), QSize(size, size), Alpha::Keep,
              [size](QPainter& p) { paintPlayer(p, size); }};
    item.hiDpi = false; // every size is drawn for its own pixels
    return item;
}

// Pixel art, two colours and no smoothing, like the monochrome cursor it stands for: the
// fingertip is the top pixel row at x 6, the hot spot.
void paintHand(QPainter& p)
{
    const QPolygon outline({
        {5, 0},   {7, 0},   {8, 1},   {8, 9},   {9, 8},   {11, 8},  {12, 9},  {13, 9}, {15, 9},
        {16, 10}, {17, 10}, {19, 10}, {20, 11}, {20, 19}, {18, 23}, {18, 26}, {7, 26}, {7, 23},
        {2, 17},  {1, 15},  {1, 13},  {2, 12},  {3, 12},  {4, 14},  {4, 1},
    });
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(outline);
    p.drawLine(8, 9, 8, 14);
    p.drawLine(12, 9, 12, 14);
    p.drawLine(16, 10, 16, 14);
}

} // namespace

std::vector<Item> iconItems()
{
    std::vector<Item> items;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        items.push_back(icon(size));
    Item hand{QStringLiteral("hand"), QSize(32, 32), Alpha::Keep, paintHand};
    hand.hiDpi = false;
    hand.antialias = false;
    items.push_back(hand);
    return items;
}

} // namespace artgen

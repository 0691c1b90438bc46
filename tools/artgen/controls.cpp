// The view-toggle faces, the volume slider's pieces and the two speaker glyphs. The small
// pictures that sit on the skin carry the skin's own pixels as their background.

#include "canvas.h"

#include <QPainterPath>

namespace artgen {

namespace {

const QColor kToggleBorder(43, 120, 196);
const QColor kToggleBlue(170, 218, 247);
const QColor kSpeaker(40, 84, 124);

void paintToggle(QPainter& p, bool pressed)
{
    const QRectF face(0.5, 0.5, 52, 37);
    p.fillRect(QRectF(0, 0, 53, 38), palette::body);
    QPainterPath shape;
    shape.addRoundedRect(face, 5, 5);

    QLinearGradient white(0, 0, 0, 19);
    white.setColorAt(0, Qt::white);
    white.setColorAt(1, QColor(243, 250, 254));
    QLinearGradient blue(0, 19, 0, 38);
    blue.setColorAt(0, kToggleBlue);
    blue.setColorAt(1, QColor(204, 235, 252));
    const QRectF upper(0, 0, 53, 19);
    const QRectF lower(0, 19, 53, 19);

    p.save();
    p.setClipPath(shape);
    if (pressed) {
        // The same face with its halves swapped, so the gloss seems to sink.
        QLinearGradient blueTop(0, 0, 0, 19);
        blueTop.setColorAt(0, QColor(204, 235, 252));
        blueTop.setColorAt(1, kToggleBlue);
        QLinearGradient whiteBottom(0, 19, 0, 38);
        whiteBottom.setColorAt(0, QColor(243, 250, 254));
        whiteBottom.setColorAt(1, Qt::white);
        p.fillRect(upper, blueTop);
        p.fillRect(lower, whiteBottom);
    } else {
        p.fillRect(upper, white);
        p.fillRect(lower, blue);
    }
    p.restore();

    p.setBrush(Qt::NoBrush);
    QColor gloss = Qt::white;
    gloss.setAlpha(170);
    p.setPen(QPen(gloss, 1));
    p.drawRoundedRect(face.adjusted(1, 1, -1, -1), 4, 4);
    p.setPen(QPen(kToggleBorder, 1));
    p.drawPath(shape);
}

void paintKnob(QPainter& p)
{
    paintSkinUnder(p, QPoint(72, 39));
    const QRectF body(0.5, 0.5, 15, 8);
    QLinearGradient fill(0, 0, 0, 9);
    fill.setColorAt(0, Qt::white);
    fill.setColorAt(1, QColor(208, 228, 242));
    p.setBrush(fill);
    p.setPen(QPen(QColor(72, 118, 158), 1));
    p.drawRoundedRect(body, 2.5, 2.5);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(36, 78, 118));
    p.drawPolygon(QPolygonF({QPointF(2.5, 4.5), QPointF(5.5, 2), QPointF(5.5, 7)}));
    p.drawPolygon(QPolygonF({QPointF(13.5, 4.5), QPointF(10.5, 2), QPointF(10.5, 7)}));
}

// Horizontal bars are stretched sideways by the window, so only vertical shading is used.
void paintBar(QPainter& p, int width, const QColor& top, const QColor& middle, const QColor& bottom)
{
    QLinearGradient g(0, 0, 0, 5);
    g.setColorAt(0, top);
    g.setColorAt(0.45, middle);
    g.setColorAt(1, bottom);
    p.fillRect(QRectF(0, 0, width, 5), g);
}

void paintSpeakerBody(QPainter& p, qreal left)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kSpeaker);
    p.drawRect(QRectF(left, 3.5, 3, 4));
    p.drawPolygon(QPolygonF({QPointF(left + 3, 3.5), QPointF(left + 7, 0.5),
                             QPointF(left + 7, 10.5), QPointF(left + 3, 7.5)}));
}

void paintSpeaker(QPainter& p)
{
    paintSkinUnder(p, QPoint(8, 37));
    paintSpeakerBody(p, 2);
}

void paintSpeakerWaves(QPainter& p)
{
    paintSkinUnder(p, QPoint(96, 37));
    paintSpeakerBody(p, 0.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kSpeaker, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(4.5, 3, 5, 5), -50 * 16, 100 * 16);
    p.drawArc(QRectF(3.5, 0.8, 9, 9.4), -55 * 16, 110 * 16);
}

} // namespace

std::vector<Item> controlItems()
{
    return {
        {QStringLiteral("toggle-normal"), QSize(53, 38), Alpha::Opaque,
         [](QPainter& p) { paintToggle(p, false); }},
        {QStringLiteral("toggle-pressed"), QSize(53, 38), Alpha::Opaque,
         [](QPainter& p) { paintToggle(p, true); }},
        {QStringLiteral("slider-knob"), QSize(16, 9), Alpha::Opaque, paintKnob},
        {QStringLiteral("slider-track"), QSize(151, 5), Alpha::Opaque,
         [](QPainter& p) {
             paintBar(p, 151, QColor(58, 58, 62), QColor(92, 94, 98), QColor(136, 138, 142));
         }},
        {QStringLiteral("slider-fill"), QSize(160, 5), Alpha::Opaque,
         [](QPainter& p) {
             paintBar(p, 160, QColor(120, 188, 250), QColor(38, 126, 230), QColor(20, 92, 200));
         }},
        {QStringLiteral("speaker"), QSize(12, 11), Alpha::Opaque, paintSpeaker},
        {QStringLiteral("speaker-waves"), QSize(13, 11), Alpha::Opaque, paintSpeakerWaves},
    };
}

} // namespace artgen

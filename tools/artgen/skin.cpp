// The window skin and the caption buttons, which are cut from the skin's own title band so a
// button in its normal state cannot be told from the skin beneath it.

#include "canvas.h"

#include <QPainterPath>
#include <cmath>

namespace artgen {

namespace {

constexpr QSize kSkin(741, 438);
// The window is one pixel wider and taller than its skin; outline and corners follow the
// window, whose rounded region has 12 x 21 corner ellipses.
constexpr QRectF kWindow(0, 0, 742, 439);
constexpr qreal kCornerX = 6;
constexpr qreal kCornerY = 10.5;
constexpr qreal kBandHeight = 68;
constexpr QRectF kPanel(8, 110, 725, 299);

enum class Glyph
{
    Minimise,
    Maximise,
    Close
};

void paintBand(QPainter& p)
{
    QLinearGradient band(0, 0, 0, kBandHeight);
    band.setColorAt(0.0, palette::bandTop);
    band.setColorAt(0.46, palette::bandMid);
    band.setColorAt(0.54, palette::bandLow);
    band.setColorAt(1.0, palette::body);
    p.fillRect(QRectF(0, 0, kSkin.width(), kBandHeight), band);
}

// Faint sound waves across the right of the band, away from the slider so the knob's cut-out
// background matches wherever the knob stands.
void paintWaves(QPainter& p)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int wave = 0; wave < 3; ++wave) {
        QPainterPath path;
        const qreal base = 34 + wave * 7;
        for (int x = 250; x <= 660; x += 2) {
            const qreal fade = std::sin((x - 250) / 410.0 * M_PI);
            const qreal y = base + fade * (5 - wave) * std::sin(x / (23.0 + wave * 6) + wave);
            if (x == 250)
                path.moveTo(x, y);
            else
                path.lineTo(x, y);
        }
        QColor c = Qt::white;
        c.setAlpha(110 - wave * 25);
        p.setPen(QPen(c, 1.2));
        p.drawPath(path);
    }
    p.restore();
}

void paintPanel(QPainter& p)
{
    p.save();
    // A soft shadow under the top edge makes the panel read as sunk into the frame.
    p.setPen(QPen(palette::panelEdge, 1));
    p.setBrush(Qt::white);
    p.drawRect(kPanel.adjusted(-0.5, -0.5, 0.5, 0.5));
    QColor shade = palette::panelEdge;
    shade.setAlpha(60);
    p.setPen(QPen(shade, 1));
    p.drawLine(QPointF(kPanel.left(), kPanel.top() + 0.5),
               QPointF(kPanel.right(), kPanel.top() + 0.5));
    p.restore();
}

void paintOutline(QPainter& p)
{
    p.save();
    QPainterPath outline;
    outline.addRoundedRect(kWindow.adjusted(0.5, 0.5, -0.5, -0.5), kCornerX, kCornerY);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette::outline, 1));
    p.drawPath(outline);
    QPainterPath inner;
    inner.addRoundedRect(kWindow.adjusted(1.5, 1.5, -1.5, -1.5), kCornerX - 1, kCornerY - 1);
    QColor light = Qt::white;
    light.setAlpha(150);
    p.setPen(QPen(light, 1));
    p.setClipRect(QRectF(0, 0, kSkin.width(), kBandHeight));
    p.drawPath(inner);
    p.restore();
}

void paintGlyph(QPainter& p, Glyph glyph, const QColor& colour)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    switch (glyph) {
    case Glyph::Minimise:
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawRect(QRectF(681, 16, 8, 2));
        break;
    case Glyph::Maximise:
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawRect(QRectF(699, 10, 10, 2));
        p.setPen(QPen(colour, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(699.5, 10.5, 9, 9));
        break;
    case Glyph::Close:
        p.setPen(QPen(colour, 1.7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(721.5, 11.5), QPointF(728.5, 18.5));
        p.drawLine(QPointF(728.5, 11.5), QPointF(721.5, 18.5));
        break;
    }
    p.restore();
}

void paintSkinBackground(QPainter& p)
{
    p.fillRect(QRect(QPoint(0, 0), kSkin), palette::body);
    paintBand(p);
    paintWaves(p);
    paintPanel(p);
    paintOutline(p);
}

Item captionButton(const QString& name, Glyph glyph, int left, const QColor& colour)
{
    return {name, QSize(10, 31), Alpha::Opaque, [=](QPainter& p) {
                p.translate(-left, 0);
                paintSkinBackground(p);
                paintGlyph(p, glyph, colour);
            }};
}

} // namespace

void paintSkin(QPainter& p)
{
    paintSkinBackground(p);
    paintGlyph(p, Glyph::Minimise, palette::glyphNormal);
    paintGlyph(p, Glyph::Maximise, palette::glyphNormal);
    paintGlyph(p, Glyph::Close, palette::glyphNormal);
}

void paintSkinUnder(QPainter& p, QPoint origin)
{
    p.save();
    p.translate(-origin);
    paintSkinBackground(p);
    p.restore();
}

std::vector<Item> skinItems()
{
    return {
        {QStringLiteral("skin"), kSkin, Alpha::Opaque, paintSkin},
        captionButton(QStringLiteral("close-normal"), Glyph::Close, 720, palette::glyphNormal),
        captionButton(QStringLiteral("close-hover"), Glyph::Close, 720, palette::glyphHover),
        captionButton(QStringLiteral("close-pressed"), Glyph::Close, 720, palette::glyphPressed),
        captionButton(QStringLiteral("mini-normal"), Glyph::Minimise, 680, palette::glyphNormal),
        captionButton(QStringLiteral("mini-hover"), Glyph::Minimise, 680, palette::glyphHover),
        captionButton(QStringLiteral("mini-pressed"), Glyph::Minimise, 680, palette::glyphPressed),
    };
}

} // namespace artgen

#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>
#include <functional>
#include <vector>

namespace artgen {

//! The skin's own colours. The band behind the links is the links' back colour, so a link
//! sits on the window without a visible box.
namespace palette {
inline const QColor body(149, 215, 239);
inline const QColor bandTop(242, 251, 255);
inline const QColor bandMid(206, 238, 251);
inline const QColor bandLow(180, 228, 247);
inline const QColor outline(58, 128, 176); // the program fills its edge pixel with it too
inline const QColor panelEdge(104, 172, 214);
inline const QColor glyphNormal(120, 150, 176);
inline const QColor glyphHover(52, 84, 112);
inline const QColor glyphPressed(0, 174, 226);
} // namespace palette

//! Paints in the picture's logical pixels; the canvas scales for the @2x variants.
using PaintFn = std::function<void(QPainter&)>;

enum class Alpha
{
    Opaque,
    Keep
};

struct Item
{
    QString name; //!< file name without ".png"
    QSize size;   //!< logical pixels
    Alpha alpha;
    PaintFn paint;
    bool hiDpi = true; //!< also write name@2x.png
    bool antialias = true;
};

//! Renders `item` at `scale` device pixels per logical pixel.
[[nodiscard]] QImage render(const Item& item, int scale);

std::vector<Item> skinItems();
std::vector<Item> controlItems();
std::vector<Item> iconItems();

//! The skin, so the small pictures that lie on it can carry the very pixels beneath them.
void paintSkin(QPainter& p);
//! Paints the skin shifted so that window point `origin` lands on (0,0).
void paintSkinUnder(QPainter& p, QPoint origin);

} // namespace artgen

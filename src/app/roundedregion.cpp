#include "app/roundedregion.h"

#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

namespace qiravon {

namespace {

// How many pixels row `y`, counted from the nearer top or bottom edge, loses at each end for a
// corner ellipse with radii rx and ry.
int insetOfRow(int y, double rx, double ry)
{
    const double dy = ry - (y + 0.5);
    if (dy <= 0 || rx <= 0 || ry <= 0)
        return 0;
    const double t = dy / ry;
    const double dx = rx * std::sqrt(std::max(0.0, 1.0 - t * t));
    // A pixel is in when its centre x + 0.5 lies at or right of the ellipse's edge rx - dx.
    return std::max(0, static_cast<int>(std::ceil(rx - dx - 0.5)));
}

} // namespace

QRegion roundedRegion(QSize size, int cornerWidth, int cornerHeight)
{
    const int w = size.width();
    const int h = size.height();
    if (w <= 0 || h <= 0)
        return {};
    // A corner larger than the window is clamped to it, as the window system does.
    const double rx = std::min(cornerWidth, w) / 2.0;
    const double ry = std::min(cornerHeight, h) / 2.0;
    const int bandRows = static_cast<int>(std::ceil(ry));

    std::vector<int> insets(static_cast<std::size_t>(h), 0);
    for (int y = 0; y < std::min(bandRows, h); ++y) {
        const int inset = insetOfRow(y, rx, ry);
        insets[static_cast<std::size_t>(y)] = std::max(insets[static_cast<std::size_t>(y)], inset);
        const auto mirrored = static_cast<std::size_t>(h - 1 - y);
        insets[mirrored] = std::max(insets[mirrored], inset);
    }

    // Rows with the same inset become one rectangle, which keeps the region small.
    QRegion region;
    int y = 0;
    while (y < h) {
        const int inset = insets[static_cast<std::size_t>(y)];
        int end = y + 1;
        while (end < h && insets[static_cast<std::size_t>(end)] == inset)
            ++end;
        if (w - 2 * inset > 0)
            region += QRect(inset, y, w - 2 * inset, end - y);
        y = end;
    }
    return region;
}

void ApplyRoundedRegion(QWidget* window, int cornerWidth, int cornerHeight)
{
    window->setMask(roundedRegion(window->size(), cornerWidth, cornerHeight));
}

} // namespace qiravon

#pragma once

#include <QColor>
#include <cstdint>

namespace qiravon {

//! Colours as the catalogue, the layout and the painter give them: 0x00BBGGRR.
using BgrColor = std::uint32_t;

[[nodiscard]] constexpr BgrColor bgr(int r, int g, int b)
{
    return static_cast<BgrColor>((b & 0xFF) << 16 | (g & 0xFF) << 8 | (r & 0xFF));
}

[[nodiscard]] inline QColor toQColor(BgrColor c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

[[nodiscard]] inline BgrColor fromQColor(const QColor& c)
{
    return bgr(c.red(), c.green(), c.blue());
}

} // namespace qiravon

#pragma once

#include <cstddef>

namespace qiravon::regions {

//! The region links of the category bar, `Link(0)` to `Link(34)`, one caption a line of the
//! region map.
inline constexpr std::size_t kCount = 35;
//! The first link of the bar's second row; the first row holds the links before it.
inline constexpr std::size_t kSecondRowStart = 18;
//! The region whose station plays through its web player in the main window's browser.
inline constexpr std::size_t kPlayerInMainWindow = 1;
//! The region whose station plays through its web player in a small window of its own.
inline constexpr std::size_t kPlayerInOwnWindow = 7;

} // namespace qiravon::regions

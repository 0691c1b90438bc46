#pragma once

#include "common/runtimeerror.h"
#include "navigation/regions.h"

#include <QString>
#include <array>
#include <optional>

namespace qiravon {

class LinkLabel;

//! The links of the category bar, as the main window holds them.
struct CategoryBarLinks
{
    std::array<LinkLabel*, regions::kCount> regions{};
    LinkLabel* featured = nullptr;
    LinkLabel* allStations = nullptr;
    LinkLabel* netStations = nullptr;
    LinkLabel* foreignStations = nullptr;
    LinkLabel* rowOneStart = nullptr; //!< the first row's first region, laid over its start
    LinkLabel* rowTwoStart = nullptr; //!< the second row's first region, laid over its start
    LinkLabel* homePage = nullptr;
    LinkLabel* blog = nullptr;
};

//! Reads the region captions from `mapPath`, places the two rows of region links and gives
//! every link of the bar its caption, colour and mode.
[[nodiscard]] std::optional<RuntimeError> BuildCategoryBar(const CategoryBarLinks& links,
                                                           const QString& mapPath);

} // namespace qiravon

#pragma once

#include "errorreport.h"

#include <QString>

#include <array>
#include <optional>

namespace qiravon {

class LinkLabel;

//! The links of the category bar, as the main window holds them.
struct CategoryBarLinks
{
    std::array<LinkLabel*, 35> Link{};
    LinkLabel* Links = nullptr;      //!< featured
    LinkLabel* LinkLabel1 = nullptr; //!< all stations
    LinkLabel* LinkLabel2 = nullptr; //!< net stations
    LinkLabel* LinkLabel3 = nullptr; //!< foreign-language stations
    LinkLabel* LinkLabel4 = nullptr; //!< first region, over the start of row 1
    LinkLabel* LinkLabel5 = nullptr; //!< first region of row 2, over its start
    LinkLabel* LinkMain = nullptr;   //!< home page
    LinkLabel* LinkBlog = nullptr;   //!< technical blog
};

//! Reads the region captions from `mapPath`, places the two rows of region links and gives
//! every link of the bar its caption, colour and mode.
[[nodiscard]] std::optional<RuntimeError> BuildCategoryBar(const CategoryBarLinks& links,
                                                           const QString& mapPath);

} // namespace qiravon

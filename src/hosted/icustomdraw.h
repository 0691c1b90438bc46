#pragma once

#include "common/bgrcolor.h"

namespace qiravon {

//! Decides the colours of each cell that a list paints.
class ICustomDraw
{
public:
    virtual ~ICustomDraw() = default;
    //! Called on the UI thread for each cell the list paints. Sets `backColor` and
    //! `foreColor` and returns true when it completed; on false the list paints the cell
    //! in its own colours.
    virtual bool CustomDraw(int row, int column, BgrColor& backColor, BgrColor& foreColor) = 0;
};

} // namespace qiravon

#pragma once

#include "common/bgrcolor.h"

namespace qiravon {

class ListControl;

//! The colours of one cell of the station list.
struct CellColours
{
    BgrColor back = 0;
    BgrColor fore = 0;

    friend bool operator==(const CellColours&, const CellColours&) = default;
};

//! The striped scheme of the station list: light grey stripes by row parity (row 0 is even),
//! orange for the selected row, blues for the highlighted one. Selection outranks the stripe
//! and highlighting outranks the orange; the number and name columns are a shade darker
//! than the rest of their row.
[[nodiscard]] CellColours stationCellColours(bool highlighted, bool selected, int row, int column);

//! Decides one cell of `list` as it is being painted: sets both colours from the row's state
//! and rewrites the number cell to row + 1, so numbering always follows the index.
//! Returns false, leaving both colours as given, when the row's state cannot be read or the
//! number cannot be written (an index out of range).
bool paintStationCell(ListControl& list, int row, int column, BgrColor& back, BgrColor& fore);

} // namespace qiravon

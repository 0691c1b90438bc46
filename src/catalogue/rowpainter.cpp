#include "catalogue/rowpainter.h"

#include "catalogue/stationrecord.h"
#include "hosted/list/listcontrol.h"

namespace qiravon {

namespace {

struct Scheme
{
    BgrColor fore;
    BgrColor back;     // the category, description and address columns, and any further one
    BgrColor backDark; // the number and name columns
};

constexpr Scheme kSelected{bgr(255, 255, 255), bgr(255, 170, 1), bgr(232, 156, 1)};
constexpr Scheme kSelectedHighlighted{bgr(255, 255, 255), bgr(119, 213, 249), bgr(51, 191, 238)};
constexpr Scheme kEven{bgr(0, 0, 0), bgr(247, 247, 247), bgr(229, 229, 229)};
constexpr Scheme kOdd{bgr(0, 0, 0), bgr(250, 250, 250), bgr(232, 232, 232)};
constexpr Scheme kHighlightedEven{bgr(37, 151, 211), bgr(191, 239, 254), bgr(186, 227, 248)};
constexpr Scheme kHighlightedOdd{bgr(37, 151, 211), bgr(180, 236, 254), bgr(173, 222, 245)};

const Scheme& schemeFor(bool highlighted, bool selected, int row)
{
    if (selected)
        return highlighted ? kSelectedHighlighted : kSelected;
    const bool even = row % 2 == 0;
    if (highlighted)
        return even ? kHighlightedEven : kHighlightedOdd;
    return even ? kEven : kOdd;
}

} // namespace

CellColours stationCellColours(bool highlighted, bool selected, int row, int column)
{
    const Scheme& scheme = schemeFor(highlighted, selected, row);
    const bool dark =
        column == columnIndex(StationColumn::Number) || column == columnIndex(StationColumn::Name);
    return {dark ? scheme.backDark : scheme.back, scheme.fore};
}

bool paintStationCell(ListControl& list, int row, int column, BgrColor& back, BgrColor& fore)
{
    const bool highlighted = list.ItemHighlighted(row);
    bool readable = false;
    // Only an exact 1 selects: other values a caller may have stored paint as unselected.
    const bool selected = list.ItemSelected(row, &readable) == 1;
    if (!readable)
        return false;
    // The list repaints nothing for an unchanged text, so rewriting on every paint is cheap
    // and cannot start painting over again.
    const int number = columnIndex(StationColumn::Number);
    if (column == number && !list.SetItemText(row, number, QString::number(row + 1)))
        return false;
    const CellColours colours = stationCellColours(highlighted, selected, row, column);
    back = colours.back;
    fore = colours.fore;
    return true;
}

} // namespace qiravon

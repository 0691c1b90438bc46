#include "catalogue/stationrecord.h"

#include "hosted/list/listcontrol.h"

namespace qiravon {

std::optional<StationRecord> readStation(const ListControl& list, int row)
{
    bool ok = true;
    const auto text = [&](StationColumn column) {
        bool cellOk = false;
        QString value = list.ItemText(row, columnIndex(column), &cellOk);
        ok = ok && cellOk;
        return value;
    };
    StationRecord record{text(StationColumn::Category), text(StationColumn::Name),
                         text(StationColumn::Description), text(StationColumn::Address)};
    if (!ok)
        return std::nullopt;
    return record;
}

int appendStation(ListControl& list, const StationRecord& record)
{
    const int index = list.AddItem();
    list.SetItemText(index, columnIndex(StationColumn::Number), QString::number(index + 1));
    list.SetItemText(index, columnIndex(StationColumn::Category), record.category);
    list.SetItemText(index, columnIndex(StationColumn::Name), record.name);
    list.SetItemText(index, columnIndex(StationColumn::Description), record.description);
    list.SetItemText(index, columnIndex(StationColumn::Address), record.streamAddress);
    return index;
}

} // namespace qiravon

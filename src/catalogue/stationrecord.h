#pragma once

#include <QString>
#include <optional>

namespace qiravon {

class ListControl;

//! One station: four texts, always in this order.
struct StationRecord
{
    QString category;
    QString name;
    QString description;
    QString streamAddress;

    friend bool operator==(const StationRecord&, const StationRecord&) = default;
};

//! The columns of both station lists: the row number (row index + 1), then the four texts of
//! the station in the order of StationRecord.
enum class StationColumn
{
    Number,
    Category,
    Name,
    Description,
    Address
};

inline constexpr int kStationColumnCount = 5;

[[nodiscard]] constexpr int columnIndex(StationColumn column)
{
    return static_cast<int>(column);
}

//! The station in `row` of `list`; nothing when the row (or a column) is out of range.
[[nodiscard]] std::optional<StationRecord> readStation(const ListControl& list, int row);

//! Appends `record` as the last row of `list`, numbered after its index; returns the index.
int appendStation(ListControl& list, const StationRecord& record);

} // namespace qiravon

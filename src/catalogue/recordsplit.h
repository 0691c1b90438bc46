#pragma once

#include <QString>

namespace qiravon {

//! The three fields of a record line "name|stream address|description".
struct RecordFields
{
    QString name;
    QString streamAddress;
    QString description;

    friend bool operator==(const RecordFields&, const RecordFields&) = default;
};

//! Splits a record line. A malformed line is never rejected: a missing separator leaves its
//! pieces empty and the description takes the whole line, and a separator past character
//! 32767 counts as absent, as the catalogue files have always been read.
[[nodiscard]] RecordFields splitRecordLine(const QString& line);

} // namespace qiravon

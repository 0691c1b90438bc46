#pragma once

#include "catalogue/stationrecord.h"

#include <QString>

namespace qiravon {

//! Splits a record line "name|stream address|description" into a station of `category`.
//! A malformed line is never rejected: a missing separator leaves its pieces empty and the
//! description takes the whole line, and a separator past character 32767 counts as absent,
//! as the catalogue files have always been read.
[[nodiscard]] StationRecord splitRecordLine(const QString& line,
                                            const QString& category = QString());

} // namespace qiravon

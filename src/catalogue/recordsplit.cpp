#include "catalogue/recordsplit.h"

namespace qiravon {

namespace {

// Positions were 16-bit integers when the files were first written; anything further along
// a line was never reachable, and lines that long must keep splitting the same way.
constexpr qsizetype kMaxPosition = 32767;

// 1-based position of the first '|' at or after `start`, or 0; std::nullopt-like -1 when the
// position or the start would exceed the limit.
qsizetype findSeparator(const QString& line, qsizetype start)
{
    if (start > kMaxPosition)
        return -1;
    const qsizetype index = line.indexOf(u'|', start - 1);
    if (index < 0)
        return 0;
    return index + 1 > kMaxPosition ? -1 : index + 1;
}

} // namespace

StationRecord splitRecordLine(const QString& line, const QString& category)
{
    StationRecord fields;
    fields.category = category;
    // Each step runs even when an earlier one failed; a failed step leaves its result at its
    // starting value (0 for a position, empty for a piece).
    qsizetype p1 = findSeparator(line, 1);
    if (p1 < 0)
        p1 = 0;
    qsizetype p2 = findSeparator(line, p1 + 1);
    if (p2 < 0)
        p2 = 0;
    if (p1 - 1 >= 0)
        fields.name = line.left(p1 - 1);
    if (const qsizetype length = p2 - p1 - 1; length >= 0 && p1 + 1 <= kMaxPosition)
        fields.streamAddress = line.mid(p1, length);
    if (p2 + 1 <= kMaxPosition)
        fields.description = line.mid(p2);
    return fields;
}

} // namespace qiravon

// The split of a catalogue record line, checked against the table of what a line yields by
// its separators, with the rule that a separator past character 32767 counts as absent.
//
// Input: one byte of mode, then the line as Latin-1 (one byte a character, so '|' is easy to
// reach). An odd mode puts a run of filler, as long as the next two bytes say, into the line
// at the character the mode's upper bits name: lines long enough for the limit stay cheap.

#include "catalogue/recordsplit.h"
#include "fuzzcheck.h"

#include <QString>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kLimit = 32767; // the last position a separator may have

QString lineFrom(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return {};
    const std::uint8_t mode = data[0];
    ++data;
    --size;
    qsizetype filler = 0;
    if ((mode & 1) && size >= 2) {
        filler = data[0] | (data[1] << 8);
        data += 2;
        size -= 2;
    }
    QString line =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (filler > 0)
        line.insert(std::min<qsizetype>(mode >> 1, line.size()), QString(filler, u'x'));
    return line;
}

// 1-based position of the first '|' at or after `from`, or 0 when there is none in reach.
qsizetype separatorFrom(const QString& line, qsizetype from)
{
    const qsizetype index = line.indexOf(u'|', from - 1);
    return index < 0 || index + 1 > kLimit ? 0 : index + 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const qiravon::fuzz::TimedInput timed(data, size);
    const QString line = lineFrom(data, size);
    const QString category = u"分类"_s;
    const qiravon::StationRecord got = qiravon::splitRecordLine(line, category);

    FUZZ_CHECK(got.category == category, "the category passes through");
    const qsizetype p1 = separatorFrom(line, 1);
    const qsizetype p2 = p1 > 0 && p1 + 1 <= kLimit ? separatorFrom(line, p1 + 1) : 0;
    if (p1 == 0) {
        FUZZ_CHECK(got.name.isEmpty() && got.streamAddress.isEmpty(), "no separator: no name");
        FUZZ_CHECK(got.description == line, "no separator: the line is the description");
    } else if (p2 == 0) {
        FUZZ_CHECK(got.name == line.left(p1 - 1), "one separator: the name comes before it");
        FUZZ_CHECK(got.streamAddress.isEmpty(), "one separator: no address");
        FUZZ_CHECK(got.description == line, "one separator: the line is the description");
    } else {
        FUZZ_CHECK(got.name == line.left(p1 - 1), "name before the first separator");
        FUZZ_CHECK(got.streamAddress == line.mid(p1, p2 - p1 - 1), "address between the two");
        const QString description = p2 + 1 <= kLimit ? line.mid(p2) : QString();
        FUZZ_CHECK(got.description == description, "description after the second");
    }
    return 0;
}

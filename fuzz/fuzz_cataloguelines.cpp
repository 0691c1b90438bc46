// The catalogue line reader: raw GBK bytes to lines. A line ends at CR LF or a lone CR, a lone
// LF stays in its line, a last line without a line end counts, a final line end adds none.
// Every line becomes exactly one row, and every line reads as it would on its own with a
// line end after it: the reader's decoding in large blocks must not change a single line.

#include "catalogue/cataloguefile.h"
#include "catalogue/recordsplit.h"
#include "fuzzcheck.h"

#include <QStringDecoder>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

// The raw bytes of each line, cut at the line ends as the format defines them.
QList<QByteArray> rawLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

// One line on its own, decoded with a line end after it so that a character cut off by the
// end of the line is marked like any other broken one.
QString decodedAlone(const QByteArray& line)
{
    // Stateless: each call decodes as a fresh decoder would.
    static QStringDecoder decoder(qiravon::kCatalogueCodec, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(line + '\r');
    if (text.endsWith(u'\r'))
        text.chop(1);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const qiravon::fuzz::TimedInput timed(data, size);
    const QByteArray bytes = qiravon::fuzz::bytes(data, size);
    const QList<QByteArray> expected = rawLines(bytes);

    qsizetype rows = 0;
    qiravon::forEachCatalogueLine(bytes, [&](const QString& line) {
        FUZZ_CHECK(rows < expected.size(), "more rows than lines");
        FUZZ_CHECK(!line.contains(u'\r'), "a CR inside a line");
        FUZZ_CHECK(line == decodedAlone(expected[rows]), "a line reads as it does on its own");
        // The row the line becomes: whatever the line, the split never refuses it.
        const qiravon::StationRecord row = qiravon::splitRecordLine(line, u"精品"_s);
        FUZZ_CHECK(row.description.size() <= line.size(), "the row comes from its line");
        ++rows;
    });
    FUZZ_CHECK(rows == expected.size(), "every line gives exactly one row");
    return 0;
}

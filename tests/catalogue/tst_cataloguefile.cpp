// Reading catalogue text: line ends on raw bytes, GBK decoding per line, and the split of a
// record line into name, stream address and description.

#include "catalogue/cataloguefile.h"
#include "catalogue/recordsplit.h"
#include "catalogue/regularfile.h"
#include "support/fifoguard.h"
#include "support/testdata.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

Q_DECLARE_METATYPE(qiravon::StationRecord)

namespace qiravon {
// Lets QCOMPARE show the three pieces when a split goes wrong.
char* toString(const StationRecord& f)
{
    return QTest::toString(u"name=\"%1\" address=\"%2\" description=\"%3\""_s.arg(
        f.name.left(40), f.streamAddress.left(40), f.description.left(40)));
}
} // namespace qiravon

namespace {

// Traditional characters whose second GBK byte is 0x7C, the code of '|'.
const QString kPipeTrail = u"億墊"_s;

// In the order the line writes them, not the record's.
StationRecord fields(const QString& name, const QString& address, const QString& description)
{
    return {QString(), name, description, address};
}

} // namespace

class CatalogueFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lineEnds_data();
    void lineEnds();
    void gbkTrailByteIsNotASeparator();
    void malformedGbkSpoilsOnlyItsOwnCharacters();
    void largeFilesReadTheSameAsSmallOnes();
    void byte0x80IsTheEuroSign();
    void readReportsMissingAndUnreadableFiles();
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void sizeIsCappedBeforeAndWhileReading();
    void decoderIsCheckedForRealGbk_data();
    void decoderIsCheckedForRealGbk();

    void splitTable_data();
    void splitTable();
    void separatorsPastThe16BitLimitCountAsAbsent();
};

void CatalogueFileTest::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("lone LF stays inside")
        << QByteArray("a\nb\r\nc") << QStringList{u"a\nb"_s, u"c"_s};
    QTest::newRow("LF only is one line") << QByteArray("a\nb\nc\n") << QStringList{u"a\nb\nc\n"_s};
    QTest::newRow("mixed") << QByteArray("a\r\nb\rc\nd\r\n")
                           << QStringList{u"a"_s, u"b"_s, u"c\nd"_s};
    QTest::newRow("LF before CR LF") << QByteArray("a\n\r\nb") << QStringList{u"a\n"_s, u"b"_s};
    QTest::newRow("LF CR") << QByteArray("a\n\rb") << QStringList{u"a\n"_s, u"b"_s};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{u"a"_s, u""_s, u"b"_s};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\nx\r\n\r\n")
                                 << QStringList{u""_s, u""_s, u"x"_s, u""_s};
    QTest::newRow("no final line end") << QByteArray("a\r\nb") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList{u""_s};
    QTest::newRow("blanks kept") << QByteArray(" a | b \r\n") << QStringList{u" a | b "_s};
    QTest::newRow("GBK") << gbk(u"#北京\r\n中国之声|http://x|新闻"_s)
                         << QStringList{u"#北京"_s, u"中国之声|http://x|新闻"_s};
}

void CatalogueFileTest::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(decodeCatalogueLines(bytes), lines);
}

void CatalogueFileTest::gbkTrailByteIsNotASeparator()
{
    const QByteArray raw = gbk(kPipeTrail);
    QCOMPARE(raw.at(1), '|'); // the test is void if the characters lose that property
    QCOMPARE(raw.at(3), '|');

    const QStringList lines = decodeCatalogueLines(
        gbk(kPipeTrail + u"台|http://a/"_s + kPipeTrail + u"|说"_s + kPipeTrail + u"\r\n"_s));
    QCOMPARE(lines.size(), 1);
    QCOMPARE(splitRecordLine(lines.first()),
             fields(kPipeTrail + u"台"_s, u"http://a/"_s + kPipeTrail, u"说"_s + kPipeTrail));
}

void CatalogueFileTest::malformedGbkSpoilsOnlyItsOwnCharacters()
{
    // 0x7F cannot trail a lead byte; a lead byte at the very end of a line has no trail at
    // all and must still leave a mark rather than vanish.
    const QStringList lines = decodeCatalogueLines(QByteArray("ab\x81\x7F") + gbk(u"中|u|d"_s) +
                                                   "\r\n" + "x\x81\r\n" + gbk(u"下一行"_s));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], u"ab\uFFFD\x7F中|u|d"_s);
    QCOMPARE(lines[1], u"x\uFFFD"_s);
    QCOMPARE(lines[2], u"下一行"_s);

    QCOMPARE(decodeCatalogueLines(QByteArray("a\r\nb\x81")), (QStringList{u"a"_s, u"b\uFFFD"_s}));
    QCOMPARE(decodeCatalogueLines(QByteArray("a\r\n\x81")), (QStringList{u"a"_s, u"\uFFFD"_s}));
    QCOMPARE(decodeCatalogueLines(QByteArray("\x81")), QStringList{u"\uFFFD"_s});
    QCOMPARE(decodeCatalogueLines(QByteArray("a\r\n\nb\xD6")),
             (QStringList{u"a"_s, u"\nb\uFFFD"_s}));

    // A lead byte followed by a byte that cannot trail it: the ASCII byte survives.
    const QString bad = decodeCatalogueLines(QByteArray("n\x81 rest|u|d")).value(0);
    QVERIFY2(bad.contains(u'\uFFFD'), qPrintable(bad));
    QVERIFY2(bad.endsWith(u" rest|u|d"_s), qPrintable(bad));
    QCOMPARE(splitRecordLine(bad).streamAddress, u"u"_s);
}

void CatalogueFileTest::largeFilesReadTheSameAsSmallOnes()
{
    // Enough lines of varied length that line ends of every kind fall on every byte offset,
    // so wherever the reader cuts its work the lines come out whole.
    QStringList expected;
    QByteArray bytes;
    const QStringList ends{u"\r\n"_s, u"\r"_s, u"\n"_s};
    QString pending;
    for (int i = 0; i < 12000; ++i) {
        const QString text = u"%1台億|http://x/%2|"_s.arg(i).arg(QString(i % 37, u'墊'));
        const QString& end = ends[i % 3];
        bytes += gbk(text + end);
        pending += text;
        if (end == u"\n"_s) {
            pending += end;
        } else {
            expected << pending;
            pending.clear();
        }
    }
    bytes += "\x81";
    expected << pending + QChar::ReplacementCharacter;
    QVERIFY(bytes.size() > 4 * 64 * 1024);
    const QStringList lines = decodeCatalogueLines(bytes);
    QCOMPARE(lines.size(), expected.size());
    QCOMPARE(lines, expected);
}

void CatalogueFileTest::byte0x80IsTheEuroSign()
{
    QCOMPARE(decodeCatalogueLines(QByteArray("5\x80")), QStringList{u"5€"_s});
}

void CatalogueFileTest::readReportsMissingAndUnreadableFiles()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(u"radiolist.cdb"_s);
    const CatalogueFile notThere = CatalogueFile::read(missing);
    QVERIFY(notThere.error);
    QCOMPARE(notThere.error->number, 53);
    QCOMPARE(notThere.error->path, missing);
    QVERIFY(notThere.error->message().contains(missing));

    QVERIFY(QDir(dir.path()).mkdir(u"fine.cdb"_s));
    const CatalogueFile folder = CatalogueFile::read(dir.filePath(u"fine.cdb"_s));
    QVERIFY(folder.error);
    QVERIFY(folder.error->number != 53);
    QVERIFY(folder.error->number != 0);
    QCOMPARE(folder.error->path, dir.filePath(u"fine.cdb"_s));

    const QString good = dir.filePath(u"forin.cdb"_s);
    QVERIFY(writeCatalogue(good, {u"BBC|http://b|英语"_s, u""_s}));
    const CatalogueFile read = CatalogueFile::read(good);
    QVERIFY(!read.error);
    QCOMPARE(read.lines, (QStringList{u"BBC|http://b|英语"_s, u""_s}));
}

void CatalogueFileTest::onlyRegularFilesAreRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("number");
    // A FIFO would block the open for ever, a device could be read for ever.
    QTest::newRow("FIFO") << u"fifo"_s << 75;
    QTest::newRow("link to a device") << u"device"_s << 75;
    QTest::newRow("folder") << u"folder"_s << 75;
    QTest::newRow("link to nothing") << u"dangling"_s << 53;
}

void CatalogueFileTest::onlyRegularFilesAreRead()
{
    QFETCH(QString, kind);
    QFETCH(int, number);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"fine.cdb"_s);
    std::optional<FifoGuard> fifo;
    if (kind == u"fifo"_s) {
        fifo.emplace(path);
        QVERIFY(fifo->isMade());
    } else if (kind == u"device"_s) {
        QVERIFY(QFile::link(u"/dev/zero"_s, path));
    } else if (kind == u"folder"_s) {
        QVERIFY(QDir(dir.path()).mkdir(u"fine.cdb"_s));
    } else {
        QVERIFY(QFile::link(dir.filePath(u"gone.cdb"_s), path));
    }

    const CatalogueFile read = CatalogueFile::read(path);
    QVERIFY(read.error);
    QCOMPARE(read.error->number, number);
    QCOMPARE(read.error->path, path);
    QVERIFY(read.lines.isEmpty());
    if (fifo)
        QVERIFY2(!fifo->hadToRelease(), "the reader waited for a writer");
}

void CatalogueFileTest::sizeIsCappedBeforeAndWhileReading()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"radiolist.cdb"_s);
    {
        // Sparse: it takes no room, and it must not take any memory either.
        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(kMaxCatalogueBytes + 1));
    }
    const CatalogueFile read = CatalogueFile::read(path);
    QVERIFY(read.error);
    QCOMPARE(read.error->number, 75);
    QCOMPARE(read.error->path, path);
    QVERIFY2(read.error->description.contains(u"256 MiB"_s), qPrintable(read.error->description));

    QVERIFY(writeFile(path, "0123456789"));
    QCOMPARE(readRegularFile(path, 10).bytes, QByteArray("0123456789"));
    QVERIFY(readRegularFile(path, 9).error);
    // A file may hold more than its size says (those of /proc say 0): the cap counts what
    // is read.
    const FileBytes maps = readRegularFile(u"/proc/self/maps"_s, 16);
    QVERIFY(maps.error);
    QVERIFY(maps.bytes.isEmpty());
}

void CatalogueFileTest::decoderIsCheckedForRealGbk_data()
{
    QTest::addColumn<QByteArray>("codec");
    QTest::addColumn<bool>("usable");
    QTest::newRow("GBK") << QByteArray(kCatalogueCodec) << true;
    // What a Qt without ICU offers for "GBK": nothing.
    QTest::newRow("missing") << QByteArray("x-no-such-codec") << false;
    // A decoder that exists but reads the bytes as other characters.
    QTest::newRow("wrong one") << QByteArray("ISO-8859-1") << false;
}

void CatalogueFileTest::decoderIsCheckedForRealGbk()
{
    QFETCH(QByteArray, codec);
    QFETCH(bool, usable);
    const std::optional<RuntimeError> error = checkCatalogueDecoder(codec.constData());
    QCOMPARE(!error, usable);
    if (error) {
        QCOMPARE_NE(error->number, 0);
        QVERIFY2(error->message().contains(QString::fromLatin1(codec)),
                 qPrintable(error->message()));
        QVERIFY(error->message().contains(u"catalogue"_s));
    }
}

void CatalogueFileTest::splitTable_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<StationRecord>("expected");
    QTest::newRow("two separators") << u"n|u|d"_s << fields(u"n"_s, u"u"_s, u"d"_s);
    QTest::newRow("one separator") << u"n|u"_s << fields(u"n"_s, {}, u"n|u"_s);
    QTest::newRow("none") << u"n"_s << fields({}, {}, u"n"_s);
    QTest::newRow("empty line") << QString() << fields({}, {}, {});
    QTest::newRow("more separators") << u"a|b|c|d"_s << fields(u"a"_s, u"b"_s, u"c|d"_s);
    QTest::newRow("empty name") << u"|b|c"_s << fields({}, u"b"_s, u"c"_s);
    QTest::newRow("empty address") << u"a||c"_s << fields(u"a"_s, {}, u"c"_s);
    QTest::newRow("empty description") << u"a|b|"_s << fields(u"a"_s, u"b"_s, {});
    QTest::newRow("separators only") << u"||"_s << fields({}, {}, {});
    QTest::newRow("lone separator") << u"|"_s << fields({}, {}, u"|"_s);
    QTest::newRow("blanks kept") << u" a | b | c "_s << fields(u" a "_s, u" b "_s, u" c "_s);
    QTest::newRow("hash is text") << u"#精品|u|d"_s << fields(u"#精品"_s, u"u"_s, u"d"_s);
    QTest::newRow("LF inside") << u"a\nb|u|d\ne"_s << fields(u"a\nb"_s, u"u"_s, u"d\ne"_s);
}

void CatalogueFileTest::splitTable()
{
    QFETCH(QString, line);
    QFETCH(StationRecord, expected);
    const StationRecord got = splitRecordLine(line);
    QCOMPARE(got.name, expected.name);
    QCOMPARE(got.streamAddress, expected.streamAddress);
    QCOMPARE(got.description, expected.description);
}

void CatalogueFileTest::separatorsPastThe16BitLimitCountAsAbsent()
{
    const auto filler = [](qsizetype n) { return QString(n, u'x'); };

    // First separator at 32768: no separator at all as far as the split can see.
    const QString farFirst = filler(32767) + u"|u|d"_s;
    QCOMPARE(splitRecordLine(farFirst), fields({}, {}, farFirst));

    // First separator at 32767, the last reachable place: the name is cut, but the search
    // for the second one would start at 32768, so it fails and the address fails with it.
    const QString lastReachable = filler(32766) + u"|u|d"_s;
    QCOMPARE(splitRecordLine(lastReachable), fields(filler(32766), {}, lastReachable));

    // Second separator at 32768: name only.
    const QString farSecond = u"n|"_s + filler(32765) + u"|d"_s;
    QCOMPARE(splitRecordLine(farSecond), fields(u"n"_s, {}, farSecond));

    // Second separator at 32767: the description would start at 32768 and stays empty.
    const QString secondAtLimit = u"n|"_s + filler(32764) + u"|d"_s;
    QCOMPARE(splitRecordLine(secondAtLimit), fields(u"n"_s, filler(32764), {}));

    // A long description is no problem once both separators are near the start.
    const QString longTail = u"n|u|"_s + filler(40000) + u"|tail"_s;
    QCOMPARE(splitRecordLine(longTail), fields(u"n"_s, u"u"_s, filler(40000) + u"|tail"_s));
}

QTEST_GUILESS_MAIN(CatalogueFileTest)
#include "tst_cataloguefile.moc"

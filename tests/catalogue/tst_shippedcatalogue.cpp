// The catalogue and start page shipped in data/: what the category bar and the category
// actions rely on, read back through the same reader the program uses.

#include "catalogue/cataloguefile.h"
#include "catalogue/recordsplit.h"
#include "support/testdata.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringEncoder>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

QByteArray rawBytes(const QString& name)
{
    QFile file(shippedDataDir() + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList shippedLines(const QString& name)
{
    const CatalogueFile file = CatalogueFile::read(shippedDataDir() + name);
    if (file.error)
        qWarning("%s", qPrintable(file.error->message()));
    return file.lines;
}

QSet<QString> categories(const QStringList& radiolist)
{
    QSet<QString> found;
    for (const QString& line : radiolist) {
        if (line.contains(u'#'))
            found.insert(line.mid(1));
    }
    return found;
}

} // namespace

class ShippedCatalogueTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void mapFitsTheCategoryBar();
    void filesAreCleanGbkWithCrLf_data();
    void filesAreCleanGbkWithCrLf();
    void everyStationCanBePlayed_data();
    void everyStationCanBePlayed();
    void startPageIsSelfContained();
};

void ShippedCatalogueTest::mapFitsTheCategoryBar()
{
    const QStringList map = shippedLines(u"map.cdb"_s);
    QCOMPARE(map.size(), 35);
    QCOMPARE(map[0], u"安徽"_s);
    QCOMPARE(map[18], u"吉林"_s);

    const QSet<QString> known = categories(shippedLines(u"radiolist.cdb"_s));
    for (int i = 0; i < map.size(); ++i) {
        // Lines 2 and 8 open web players and are only shown.
        if (i == 1 || i == 7)
            continue;
        QVERIFY2(known.contains(map[i]),
                 qPrintable(u"map.cdb line %1 \"%2\" lists nothing"_s.arg(i + 1).arg(map[i])));
    }
    QCOMPARE(QSet<QString>(map.cbegin(), map.cend()).size(), 35);
}

void ShippedCatalogueTest::filesAreCleanGbkWithCrLf_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"map.cdb", "radiolist.cdb", "fine.cdb", "NetRadio.cdb", "forin.cdb"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void ShippedCatalogueTest::filesAreCleanGbkWithCrLf()
{
    QFETCH(QString, name);
    const QByteArray raw = rawBytes(name);
    QVERIFY(!raw.isEmpty());
    const QStringList lines = shippedLines(name);

    // Encoding the decoded lines again must give the file byte for byte: nothing was lost in
    // decoding, and every line ends in CR LF with no stray CR or LF.
    QStringEncoder encoder("GBK");
    QByteArray again;
    for (const QString& line : lines) {
        QVERIFY2(!line.contains(u'\uFFFD'), qPrintable(line));
        QVERIFY2(!line.contains(u'\n'), qPrintable(line));
        again += QByteArray(encoder.encode(line)) + "\r\n";
    }
    QVERIFY(!encoder.hasError());
    QCOMPARE(again, raw);
}

void ShippedCatalogueTest::everyStationCanBePlayed_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minimum");
    QTest::newRow("radiolist.cdb") << u"radiolist.cdb"_s << 300;
    QTest::newRow("fine.cdb") << u"fine.cdb"_s << 10;
    QTest::newRow("NetRadio.cdb") << u"NetRadio.cdb"_s << 10;
    QTest::newRow("forin.cdb") << u"forin.cdb"_s << 10;
}

void ShippedCatalogueTest::everyStationCanBePlayed()
{
    QFETCH(QString, name);
    QFETCH(int, minimum);
    const bool hasCategories = name == u"radiolist.cdb"_s;
    const QStringList lines = shippedLines(name);
    if (hasCategories)
        QVERIFY2(lines.value(0).startsWith(u'#'), "a station before the first region");

    static const QRegularExpression address(u"^https?://[^\\s|]+$"_s);
    int records = 0;
    for (const QString& line : lines) {
        if (hasCategories && line.contains(u'#'))
            continue;
        const StationRecord f = splitRecordLine(line);
        QVERIFY2(!f.name.isEmpty() && f.name == f.name.trimmed(), qPrintable(line));
        QVERIFY2(address.match(f.streamAddress).hasMatch(), qPrintable(line));
        QVERIFY2(!f.description.contains(u'|'), qPrintable(line));
        ++records;
    }
    QVERIFY2(records >= minimum, qPrintable(QString::number(records)));
}

void ShippedCatalogueTest::startPageIsSelfContained()
{
    const QString page = QString::fromUtf8(rawBytes(u"index.htm"_s));
    QVERIFY(!page.isEmpty());
    QVERIFY(page.contains(u"<meta charset=\"utf-8\">"_s, Qt::CaseInsensitive));
    static const QRegularExpression title(u"<title>([^<]+)</title>"_s);
    QVERIFY(title.match(page).hasMatch());
    QVERIFY(!page.contains(u'\uFFFD'));
    // Nothing may be fetched from elsewhere: no external scripts, pictures, styles or frames.
    for (const QString& remote : {u"src="_s, u"href="_s, u"url("_s, u"@import"_s, u"//"_s})
        QVERIFY2(!page.contains(remote, Qt::CaseInsensitive), qPrintable(remote));
}

QTEST_GUILESS_MAIN(ShippedCatalogueTest)
#include "tst_shippedcatalogue.moc"

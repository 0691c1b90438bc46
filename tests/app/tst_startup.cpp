// The main window's load step: which catalogue steps have run when one of them fails, what
// the first list shows, and that a failed start never shows the window.

#include "app/form1.h"
#include "app/startup.h"
#include "catalogue/stationrecord.h"
#include "hosted/list/listcontrol.h"
#include "support/fakehosted.h"
#include "support/fifoguard.h"
#include "support/testdata.h"
#include "widgets/linklabel.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

QStringList mapLines()
{
    QStringList lines;
    for (int i = 1; i <= 35; ++i)
        lines << (i == 1 ? u"安徽"_s : i == 19 ? u"吉林"_s : u"地区%1"_s.arg(i));
    return lines;
}

struct Fixture
{
    QTemporaryDir dir;
    FakeHosted hosted;
    FakeReporter reporter;
    std::unique_ptr<Form1> form;

    Fixture()
    {
        writeCatalogue(path(u"map.cdb"_s), mapLines());
        writeCatalogue(path(u"radiolist.cdb"_s), {u"#安徽"_s, u"安徽之声|http://a/1|新闻"_s,
                                                  u"#吉林"_s, u"吉林音乐|http://j/1|音乐"_s});
        writeCatalogue(path(u"fine.cdb"_s),
                       {u"精选一|http://f/1|第一"_s, u"#精选二|http://f/2|第二"_s,
                        u"精选三|http://f/3|第三"_s});
        writeCatalogue(path(u"NetRadio.cdb"_s), {u"网台|http://n/1|网"_s});
        writeCatalogue(path(u"forin.cdb"_s), {u"BBC|http://b/1|英语"_s});
    }

    QString path(const QString& name) const { return dir.path() + u'/' + name; }

    Form1& create()
    {
        form = std::make_unique<Form1>(hosted, reporter, dir.path() + u'/');
        return *form;
    }

    FakeBrowser& web() const { return *hosted.browsers.first(); }
};

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void featuredStationsAreListedAndNumberedFromOne()
    {
        Fixture f;
        Form1& form = f.create();
        QCOMPARE(startMainWindow(form, f.reporter), 0);
        QVERIFY(f.reporter.reports.isEmpty());
        QVERIFY(form.isVisible());

        ListControl& list = *form.ListView1;
        QCOMPARE(list.ItemCount(), 3);
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(list.ItemText(row, columnIndex(StationColumn::Number)),
                     QString::number(row + 1));
            QCOMPARE(list.ItemText(row, columnIndex(StationColumn::Category)), u"精品"_s);
        }
        // A '#' in the featured file is part of an ordinary record there.
        QCOMPARE(readStation(list, 1)->name, u"#精选二"_s);
        QCOMPARE(readStation(list, 2)->streamAddress, u"http://f/3"_s);
        QCOMPARE(form.ListView2->ItemCount(), 2);
        QVERIFY(!form.web->isVisible());
        QVERIFY(list.isVisible());
    }

    void startPageIsRequestedLastFromTheDataFolder()
    {
        Fixture f;
        Form1& form = f.create();
        QVERIFY(!form.load());
        QCOMPARE(f.web().navigated, QStringList{f.path(u"index.htm"_s)});
    }

    void masterTableHoldsEveryRecordUnderItsCategory()
    {
        Fixture f;
        Form1& form = f.create();
        QVERIFY(!form.load());
        QCOMPARE(form.ListView1->ColumnCount(), 5);
        QCOMPARE(form.ListView2->ColumnCount(), 5);
        QCOMPARE(readStation(*form.ListView2, 0)->category, u"安徽"_s);
        QCOMPARE(readStation(*form.ListView2, 1)->name, u"吉林音乐"_s);
    }

    void aMissingFileStopsTheLoadAtItsStep_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<bool>("barBuilt");
        QTest::addColumn<int>("masterRows");
        // map.cdb is read before the master table, and the master table before the featured
        // list; what a failure leaves behind shows that order.
        QTest::newRow("map.cdb") << u"map.cdb"_s << false << 0;
        QTest::newRow("radiolist.cdb") << u"radiolist.cdb"_s << true << 0;
        QTest::newRow("fine.cdb") << u"fine.cdb"_s << true << 2;
    }

    void aMissingFileStopsTheLoadAtItsStep()
    {
        QFETCH(QString, missing);
        QFETCH(bool, barBuilt);
        QFETCH(int, masterRows);

        Fixture f;
        QVERIFY(QFile::remove(f.path(missing)));
        Form1& form = f.create();
        QCOMPARE_NE(startMainWindow(form, f.reporter), 0);

        QCOMPARE(f.reporter.reports.size(), 1);
        const RuntimeError& error = f.reporter.reports.first();
        QCOMPARE(error.number, 53);
        QCOMPARE(error.description, u"File not found"_s);
        QCOMPARE(error.path, f.path(missing));
        QVERIFY(error.message().contains(f.path(missing)));
        QVERIFY(!form.isVisible());
        QCOMPARE(form.Link[2]->GetCaption() == u"地区3"_s, barBuilt);
        QCOMPARE(form.ListView2->ItemCount(), masterRows);
        QCOMPARE(form.ListView1->ItemCount(), 0);
        QVERIFY(f.web().navigated.isEmpty());
    }

    void aFifoInPlaceOfACatalogueIsReportedNotWaitedOn()
    {
        Fixture f;
        QVERIFY(QFile::remove(f.path(u"fine.cdb"_s)));
        const FifoGuard fifo(f.path(u"fine.cdb"_s));
        QVERIFY(fifo.isMade());
        Form1& form = f.create();
        QCOMPARE_NE(startMainWindow(form, f.reporter), 0);
        QVERIFY2(!fifo.hadToRelease(), "the start waited for a writer");
        QCOMPARE(f.reporter.reports.size(), 1);
        QCOMPARE(f.reporter.reports.first().number, 75);
        QCOMPARE(f.reporter.reports.first().path, f.path(u"fine.cdb"_s));
        QVERIFY(!form.isVisible());
        QCOMPARE(form.ListView2->ItemCount(), 2);
    }

    void anUnreadableFileIsReportedWithItsOwnNumber()
    {
        Fixture f;
        QVERIFY(QFile::remove(f.path(u"radiolist.cdb"_s)));
        QVERIFY(QDir(f.dir.path()).mkdir(u"radiolist.cdb"_s));
        Form1& form = f.create();
        QCOMPARE_NE(startMainWindow(form, f.reporter), 0);
        QCOMPARE(f.reporter.reports.size(), 1);
        QCOMPARE_NE(f.reporter.reports.first().number, 53);
        QVERIFY(!form.isVisible());
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"

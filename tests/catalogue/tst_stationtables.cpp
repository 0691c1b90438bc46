// The master table and the visible list: columns, numbering, reading radiolist.cdb and the
// other catalogue files, and the copies the category actions make.

#include "catalogue/stationtables.h"
#include "hosted/list/listcontrol.h"
#include "hosted/list/listcontrolmodel.h"
#include "support/testdata.h"

#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

struct Tables
{
    QTemporaryDir dir;
    ListControl visible;
    ListControl master;
    StationTables tables{visible, master, dir.path() + u'/'};

    Tables() { tables.AddListViewColumn(); }

    bool write(const QString& name, const QStringList& lines)
    {
        return writeCatalogue(dir.filePath(name), lines);
    }
};

//! Columns 0..4 of one row, as the painter and playback read them.
QStringList row(const ListControl& list, int r)
{
    QStringList cells;
    for (int c = 0; c < 5; ++c)
        cells << list.ItemText(r, c);
    return cells;
}

QStringList column(const ListControl& list, int c)
{
    QStringList cells;
    for (int r = 0; r < list.ItemCount(); ++r)
        cells << list.ItemText(r, c);
    return cells;
}

} // namespace

class StationTablesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void columnsOfBothLists();
    void rowsAreNumberedFromOneAgainAfterClear();
    void masterCatalogueCategories();
    void masterCatalogueWithPipeTrailBytes();
    void recordFilesHaveNoCategoryLines();
    void missingFilesReport53WithThePathAndAddNothing();
    void unreadableFileReportsAnotherNumber();
    void categoryMatchIsExact();
    void copyAllStations();
    void copyAllStationsStopsWhenAsked();
};

void StationTablesTest::columnsOfBothLists()
{
    Tables t;
    const struct
    {
        ListControl* list;
        QList<int> widths;
    } expected[] = {{&t.visible, {40, 80, 150, 430, 10}}, {&t.master, {40, 80, 150, 200, 200}}};
    const QStringList captions{u"编号"_s, u"地区"_s, u"电台名称"_s, u"电台介绍"_s, u"地址"_s};

    for (const auto& e : expected) {
        QCOMPARE(e.list->ColumnCount(), 5);
        QHeaderView* header = e.list->view()->horizontalHeader();
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(e.list->view()->model()->headerData(c, Qt::Horizontal).toString(),
                     captions[c]);
            QCOMPARE(header->sectionSize(c), e.widths[c]);
        }
    }
    // The stream address rides along in the visible list but must stay out of the way.
    QCOMPARE(t.visible.view()->horizontalHeader()->sectionResizeMode(4), QHeaderView::Fixed);
    QCOMPARE(t.master.view()->horizontalHeader()->sectionResizeMode(4), QHeaderView::Interactive);
}

void StationTablesTest::rowsAreNumberedFromOneAgainAfterClear()
{
    Tables t;
    t.tables.addlist(u"c"_s, u"n1"_s, u"d1"_s, u"u1"_s);
    t.tables.addlist(u"c"_s, u"n2"_s, u"d2"_s, u"u2"_s);
    QCOMPARE(row(t.visible, 1), (QStringList{u"2"_s, u"c"_s, u"n2"_s, u"d2"_s, u"u2"_s}));
    QCOMPARE(t.master.ItemCount(), 0);

    t.visible.Clear();
    t.tables.addlist(u"c"_s, u"n3"_s, u"d3"_s, u"u3"_s);
    QCOMPARE(row(t.visible, 0), (QStringList{u"1"_s, u"c"_s, u"n3"_s, u"d3"_s, u"u3"_s}));

    t.tables.addlist2(u"m"_s, u"n"_s, u"d"_s, u"u"_s);
    QCOMPARE(row(t.master, 0), (QStringList{u"1"_s, u"m"_s, u"n"_s, u"d"_s, u"u"_s}));
    QCOMPARE(t.visible.ItemCount(), 1);
}

void StationTablesTest::masterCatalogueCategories()
{
    Tables t;
    QVERIFY(t.write(u"radiolist.cdb"_s, {
                                            u"无类|http://0|在任何类别之前"_s,
                                            u"#北京"_s,
                                            u"北京新闻|http://1|新闻"_s,
                                            u""_s,
                                            u"北京#"_s,
                                            u"怪|http://2|类别是京井"_s,
                                            u"#"_s,
                                            u"空类|http://3|"_s,
                                            u"名称#井号|http://4|整行成了类别行"_s,
                                            u"末行无分隔符"_s,
                                        }));
    QVERIFY(!t.tables.LoadMasterCatalogue());

    QCOMPARE(t.master.ItemCount(), 6);
    QCOMPARE(column(t.master, 0), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s}));
    QCOMPARE(column(t.master, 1), (QStringList{QString(), u"北京"_s, u"北京"_s, u"京#"_s, QString(),
                                               u"称#井号|http://4|整行成了类别行"_s}));
    QCOMPARE(row(t.master, 0),
             (QStringList{u"1"_s, QString(), u"无类"_s, u"在任何类别之前"_s, u"http://0"_s}));
    // A blank line is a row of its own with three empty fields.
    QCOMPARE(row(t.master, 2), (QStringList{u"3"_s, u"北京"_s, QString(), QString(), QString()}));
    QCOMPARE(row(t.master, 5), (QStringList{u"6"_s, u"称#井号|http://4|整行成了类别行"_s, QString(),
                                            u"末行无分隔符"_s, QString()}));
    QCOMPARE(t.visible.ItemCount(), 0);

    // Rows before the first category line answer only to the empty caption.
    t.tables.CopyStationsOfCategory(QString());
    QCOMPARE(column(t.visible, 2), (QStringList{u"无类"_s, u"空类"_s}));
}

void StationTablesTest::masterCatalogueWithPipeTrailBytes()
{
    Tables t;
    // 億 and 墊 end in the byte 0x7C; splitting the raw bytes would cut them apart.
    QVERIFY(t.write(u"radiolist.cdb"_s, {u"#墊江"_s, u"億台|http://y/億|墊"_s}));
    QVERIFY(!t.tables.LoadMasterCatalogue());
    QCOMPARE(row(t.master, 0),
             (QStringList{u"1"_s, u"墊江"_s, u"億台"_s, u"墊"_s, u"http://y/億"_s}));
}

void StationTablesTest::recordFilesHaveNoCategoryLines()
{
    Tables t;
    QVERIFY(t.write(u"fine.cdb"_s,
                    {u"#精品一|http://f/1|首行以井号开头"_s, u"二|http://f/2|#"_s, u"#"_s}));
    t.tables.addlist(u"旧"_s, u"已有"_s, QString(), QString());
    QVERIFY(!t.tables.AppendCatalogueFile(u"fine.cdb"_s, u"精品"_s));

    // Appending does not clear: the rows follow what was there and keep counting.
    QCOMPARE(t.visible.ItemCount(), 4);
    QCOMPARE(row(t.visible, 1),
             (QStringList{u"2"_s, u"精品"_s, u"#精品一"_s, u"首行以井号开头"_s, u"http://f/1"_s}));
    QCOMPARE(row(t.visible, 2), (QStringList{u"3"_s, u"精品"_s, u"二"_s, u"#"_s, u"http://f/2"_s}));
    QCOMPARE(row(t.visible, 3), (QStringList{u"4"_s, u"精品"_s, QString(), u"#"_s, QString()}));
    QCOMPARE(t.master.ItemCount(), 0);
}

void StationTablesTest::missingFilesReport53WithThePathAndAddNothing()
{
    Tables t;
    const std::optional<RuntimeError> master = t.tables.LoadMasterCatalogue();
    QVERIFY(master);
    QCOMPARE(master->number, 53);
    QCOMPARE(master->path, t.dir.filePath(u"radiolist.cdb"_s));

    t.tables.addlist(u"c"_s, u"n"_s, u"d"_s, u"u"_s);
    const std::optional<RuntimeError> net =
        t.tables.AppendCatalogueFile(u"NetRadio.cdb"_s, u"网络电台"_s);
    QVERIFY(net);
    QCOMPARE(net->number, 53);
    QCOMPARE(net->path, t.dir.filePath(u"NetRadio.cdb"_s));
    QVERIFY(net->message().contains(u"File not found"_s));
    QCOMPARE(t.visible.ItemCount(), 1);
    QCOMPARE(t.master.ItemCount(), 0);
}

void StationTablesTest::unreadableFileReportsAnotherNumber()
{
    Tables t;
    QVERIFY(QDir(t.dir.path()).mkdir(u"radiolist.cdb"_s));
    const std::optional<RuntimeError> error = t.tables.LoadMasterCatalogue();
    QVERIFY(error);
    QVERIFY(error->number != 53);
    QCOMPARE(error->path, t.dir.filePath(u"radiolist.cdb"_s));
    QCOMPARE(t.master.ItemCount(), 0);
}

void StationTablesTest::categoryMatchIsExact()
{
    Tables t;
    QVERIFY(t.write(u"radiolist.cdb"_s, {
                                            u"#Hebei"_s,
                                            u"a|http://a|"_s,
                                            u"#北京"_s,
                                            u"b|http://b|"_s,
                                            u"#北京 "_s,
                                            u"c|http://c|"_s,
                                            u"#hebei"_s,
                                            u"d|http://d|"_s,
                                            u"#北京"_s,
                                            u"e|http://e|"_s,
                                        }));
    QVERIFY(!t.tables.LoadMasterCatalogue());

    t.tables.CopyStationsOfCategory(u"北京"_s);
    QCOMPARE(column(t.visible, 2), (QStringList{u"b"_s, u"e"_s}));
    QCOMPARE(column(t.visible, 0), (QStringList{u"1"_s, u"2"_s}));
    QCOMPARE(row(t.visible, 1), (QStringList{u"2"_s, u"北京"_s, u"e"_s, QString(), u"http://e"_s}));

    t.visible.Clear();
    t.tables.CopyStationsOfCategory(u"Hebei"_s);
    QCOMPARE(column(t.visible, 2), QStringList{u"a"_s});

    t.visible.Clear();
    t.tables.CopyStationsOfCategory(u"HEBEI"_s);
    t.tables.CopyStationsOfCategory(u"北"_s);
    t.tables.CopyStationsOfCategory(u" 北京"_s);
    QCOMPARE(t.visible.ItemCount(), 0);
    QCOMPARE(t.master.ItemCount(), 5);
}

void StationTablesTest::copyAllStations()
{
    Tables t;
    QVERIFY(t.tables.CopyAllStations());
    QCOMPARE(t.visible.ItemCount(), 0);

    for (int i = 0; i < 3; ++i)
        t.tables.addlist2(u"c%1"_s.arg(i), u"n%1"_s.arg(i), u"d%1"_s.arg(i), u"u%1"_s.arg(i));
    t.tables.addlist(u"x"_s, u"x"_s, u"x"_s, u"x"_s);
    QVERIFY(t.tables.CopyAllStations([] { return true; }));
    QCOMPARE(t.visible.ItemCount(), 4);
    QCOMPARE(row(t.visible, 3), (QStringList{u"4"_s, u"c2"_s, u"n2"_s, u"d2"_s, u"u2"_s}));
    QCOMPARE(t.master.ItemCount(), 3);
}

void StationTablesTest::copyAllStationsStopsWhenAsked()
{
    Tables t;
    constexpr int kRows = 100;
    for (int i = 0; i < kRows; ++i)
        t.tables.addlist2(u"c"_s, QString::number(i), QString(), QString());
    // A clock that moves a millisecond each time it is read: the copy breathes after a fixed
    // number of rows, whatever the machine.
    qint64 now = 0;
    t.tables.setCopyClock([&] { return ++now; });

    int calls = 0;
    int rowsAtTheBreath = -1;
    // The user picks another category mid-copy: the list is cleared and the copy must stop
    // rather than pour the rest of the stations into the new category's list.
    const bool finished = t.tables.CopyAllStations([&] {
        ++calls;
        rowsAtTheBreath = t.visible.ItemCount();
        t.visible.Clear();
        return false;
    });
    QCOMPARE(calls, 1);
    QVERIFY(!finished);
    QVERIFY(rowsAtTheBreath > 0 && rowsAtTheBreath < kRows);
    QCOMPARE(t.visible.ItemCount(), 0);

    // Yielding does not reorder or skip rows.
    int yields = 0;
    QVERIFY(t.tables.CopyAllStations([&] {
        ++yields;
        return true;
    }));
    QVERIFY(yields > 1);
    QCOMPARE(t.visible.ItemCount(), kRows);
    for (int row = 0; row < kRows; ++row) {
        QCOMPARE(t.visible.ItemText(row, 2), QString::number(row));
        QCOMPARE(t.visible.ItemText(row, 0), QString::number(row + 1));
    }

    // The copy breathes by the time it has taken, not by rows: without time passing it
    // never does.
    t.visible.Clear();
    t.tables.setCopyClock([] { return qint64(7); });
    yields = 0;
    QVERIFY(t.tables.CopyAllStations([&] {
        ++yields;
        return true;
    }));
    QCOMPARE(yields, 0);
    QCOMPARE(t.visible.ItemCount(), kRows);
}

QTEST_MAIN(StationTablesTest)
#include "tst_stationtables.moc"

// The colours of the station list's cells, and the number column that follows the row index.

#include "catalogue/rowpainter.h"
#include "catalogue/stationrecord.h"
#include "hosted/list/listcontrol.h"

#include <QTableView>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;

Q_DECLARE_METATYPE(qiravon::BgrColor)

namespace {

// A list of five columns and `rows` rows whose number cells hold something other than the
// row number, as they do after rows were removed or written over.
void fill(ListControl& list, int rows)
{
    for (int c = 0; c < kStationColumnCount; ++c)
        list.AddColumn(QString::number(c), QString::number(c), 0, 60, true, true);
    for (int r = 0; r < rows; ++r) {
        list.AddItem();
        list.SetItemText(r, columnIndex(StationColumn::Number), u"stale"_s);
    }
}

} // namespace

class RowPainterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colourTable_data()
    {
        QTest::addColumn<bool>("highlighted");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("row");
        QTest::addColumn<BgrColor>("fore");
        QTest::addColumn<BgrColor>("back");     // columns 1, 3 and 4
        QTest::addColumn<BgrColor>("backDark"); // columns 0 and 2

        // The integers are the ones the colour table gives, so a slip in a triple shows.
        for (int row : {0, 1, 6, 7}) {
            const QByteArray parity = row % 2 == 0 ? "even " : "odd ";
            QTest::newRow((parity + QByteArray::number(row) + " selected").constData())
                << false << true << row << BgrColor(16777215) << BgrColor(109311)
                << BgrColor(105704);
            QTest::newRow((parity + QByteArray::number(row) + " selected highlighted").constData())
                << true << true << row << BgrColor(16777215) << BgrColor(16373111)
                << BgrColor(15646515);
        }
        for (int row : {0, 2, 100}) {
            QTest::newRow(("even " + QByteArray::number(row)).constData())
                << false << false << row << BgrColor(0) << BgrColor(16250871) << BgrColor(15066597);
            QTest::newRow(("even highlighted " + QByteArray::number(row)).constData())
                << true << false << row << BgrColor(13866789) << BgrColor(16707519)
                << BgrColor(16311226);
        }
        for (int row : {1, 3, 101}) {
            QTest::newRow(("odd " + QByteArray::number(row)).constData())
                << false << false << row << BgrColor(0) << BgrColor(16448250) << BgrColor(15263976);
            QTest::newRow(("odd highlighted " + QByteArray::number(row)).constData())
                << true << false << row << BgrColor(13866789) << BgrColor(16706740)
                << BgrColor(16113325);
        }
    }

    void colourTable()
    {
        QFETCH(bool, highlighted);
        QFETCH(bool, selected);
        QFETCH(int, row);
        QFETCH(BgrColor, fore);
        QFETCH(BgrColor, back);
        QFETCH(BgrColor, backDark);
        for (int column = 0; column < 5; ++column) {
            const bool dark = column == 0 || column == 2;
            const CellColours expected{dark ? backDark : back, fore};
            QCOMPARE(stationCellColours(highlighted, selected, row, column), expected);
        }
    }

    void paintsFromTheListsRowState()
    {
        ListControl list;
        fill(list, 3);
        list.SetItemSelected(1, 1);

        const auto paint = [&list](int row, int column) {
            BgrColor back = 0x123456;
            BgrColor fore = 0x654321;
            const bool done = paintStationCell(list, row, column, back, fore);
            return std::make_tuple(done, back, fore);
        };
        QCOMPARE(paint(0, 2), std::make_tuple(true, BgrColor(15066597), BgrColor(0)));
        QCOMPARE(paint(0, 4), std::make_tuple(true, BgrColor(16250871), BgrColor(0)));
        QCOMPARE(paint(1, 0), std::make_tuple(true, BgrColor(105704), BgrColor(16777215)));
        QCOMPARE(paint(1, 3), std::make_tuple(true, BgrColor(109311), BgrColor(16777215)));
        QCOMPARE(paint(2, 1), std::make_tuple(true, BgrColor(16250871), BgrColor(0)));
    }

    void numberCellFollowsTheRowIndex()
    {
        ListControl list;
        fill(list, 3);
        BgrColor back = 0;
        BgrColor fore = 0;
        QVERIFY(paintStationCell(list, 2, 0, back, fore));
        QVERIFY(paintStationCell(list, 0, 0, back, fore));
        QCOMPARE(list.ItemText(0, columnIndex(StationColumn::Number)), u"1"_s);
        QCOMPARE(list.ItemText(2, columnIndex(StationColumn::Number)), u"3"_s);
        // Only number cells are rewritten.
        QVERIFY(paintStationCell(list, 1, 1, back, fore));
        QCOMPARE(list.ItemText(1, columnIndex(StationColumn::Number)), u"stale"_s);
    }

    void failedReadLeavesTheColoursAlone()
    {
        ListControl list;
        fill(list, 2);
        for (int row : {-1, 2, 1000}) {
            for (int column : {0, 2}) {
                BgrColor back = 0x010203;
                BgrColor fore = 0x040506;
                QVERIFY(!paintStationCell(list, row, column, back, fore));
                QCOMPARE(back, BgrColor(0x010203));
                QCOMPARE(fore, BgrColor(0x040506));
            }
        }
    }

    void failedNumberWriteLeavesTheColoursAlone()
    {
        // A row without columns can be read but its number cannot be written.
        ListControl list;
        list.AddItem();
        BgrColor back = 7;
        BgrColor fore = 8;
        QVERIFY(!paintStationCell(list, 0, 0, back, fore));
        QCOMPARE(back, BgrColor(7));
        QCOMPARE(fore, BgrColor(8));
    }

    void hoveredRowPaintsBlue()
    {
        ListControl list;
        fill(list, 4);
        list.SetItemSelected(1, 1);
        list.resize(400, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCoreApplication::processEvents(); // the appended rows reach the view in one batch

        QWidget* viewport = list.view()->viewport();
        const auto hover = [&](int row) {
            const QPoint at = list.view()->visualRect(list.view()->model()->index(row, 1)).center();
            QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &move);
        };
        BgrColor back = 0;
        BgrColor fore = 0;
        hover(2);
        QVERIFY(paintStationCell(list, 2, 1, back, fore));
        QCOMPARE(back, BgrColor(16707519));
        QCOMPARE(fore, BgrColor(13866789));
        hover(1); // the played row under the pointer: highlight outranks the orange
        QVERIFY(paintStationCell(list, 1, 1, back, fore));
        QCOMPARE(back, BgrColor(16373111));
        QVERIFY(paintStationCell(list, 2, 1, back, fore));
        QCOMPARE(back, BgrColor(16250871));
    }
};

QTEST_MAIN(RowPainterTest)
#include "tst_rowpainter.moc"

// The list control behind both station lists: its row and cell operations, what reaches the
// view (and how cheaply), the user's mouse, and the custom-draw callback.

#include "hosted/list/listfixture.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

class ListControlTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addItemReturnsConsecutiveIndexes();
    void cellAccessOutOfRangeChangesNothing();
    void selectionFlags();
    void rowsReachTheViewInOneBatch();
    void theHeaderIsLaidOutAsIfItWereThereFromTheStart();
    void cellWriteNotifiesOnlyThatCell();
    void clearResetsRowsButKeepsColumns();
    void clearWhileRowsArePending();
    void userSelectionAndDoubleClick();
    void hoverHighlightsTheRowUnderThePointer();
    void customDrawColoursTheCell();
    void writingFromCustomDrawDoesNotRepaintForever();
};

void ListControlTest::addItemReturnsConsecutiveIndexes()
{
    List l;
    QCOMPARE(l.control.ItemCount(), 0);
    QCOMPARE(l.control.AddItem(), 0);
    QCOMPARE(l.control.AddItem(), 1);
    QCOMPARE(l.control.AddItem(), 2);
    QCOMPARE(l.control.ItemCount(), 3);
    QCOMPARE(l.control.ItemText(2, 4), QString());
}

void ListControlTest::cellAccessOutOfRangeChangesNothing()
{
    List l(2);
    const QList<QPoint> outside{{-1, 0}, {2, 0}, {0, -1}, {0, 5}, {INT_MIN, INT_MAX}};
    for (const QPoint& at : outside) {
        bool ok = true;
        QCOMPARE(l.control.ItemText(at.x(), at.y(), &ok), QString());
        QVERIFY(!ok);
        QVERIFY(!l.control.SetItemText(at.x(), at.y(), u"x"_s));
    }
    bool ok = false;
    QCOMPARE(l.control.ItemText(1, 0, &ok), u"2"_s);
    QVERIFY(ok);
    QCOMPARE(l.control.ItemCount(), 2);
}

void ListControlTest::selectionFlags()
{
    List l(3);
    QCOMPARE(l.control.ItemSelected(1), 0);
    QVERIFY(l.control.SetItemSelected(1, 1));
    QCOMPARE(l.control.ItemSelected(1), 1);
    QCOMPARE(l.control.ItemSelected(0), 0);
    QVERIFY(l.control.SetItemSelected(1, 0));
    QCOMPARE(l.control.ItemSelected(1), 0);

    // Whatever true looks like to the caller, the flag reads back as 1.
    QVERIFY(l.control.SetItemSelected(2, -1));
    QCOMPARE(l.control.ItemSelected(2), 1);

    bool ok = true;
    QCOMPARE(l.control.ItemSelected(3, &ok), 0);
    QVERIFY(!ok);
    QVERIFY(!l.control.SetItemSelected(-1, 1));
    QVERIFY(!l.control.SetItemSelected(3, 1));
}

// Columns are added before the list is shown (or to a list that is never shown) without the
// header measuring itself each time; once shown, nothing may tell it from a header that was
// there, measuring, all along.
void ListControlTest::theHeaderIsLaidOutAsIfItWereThereFromTheStart()
{
    const QFont font(u"WenQuanYi Micro Hei"_s, 9);
    List measuredOnce(0, 0);
    List measuredAlong(0, 0);
    measuredAlong.control.view()->horizontalHeader()->show();
    for (List* l : {&measuredOnce, &measuredAlong}) {
        l->control.setFont(font);
        for (int c = 0; c < 5; ++c)
            l->control.AddColumn(u"k%1"_s.arg(c), u"编号%1"_s.arg(c), 0, 40 + 20 * c, true, true);
        for (int r = 0; r < 20; ++r)
            l->control.AddItem();
    }
    QVERIFY(!measuredOnce.control.view()->horizontalHeader()->isVisibleTo(&measuredOnce.control));
    measuredOnce.show();
    measuredAlong.show();

    const QTableView* once = measuredOnce.control.view();
    const QTableView* along = measuredAlong.control.view();
    QVERIFY(once->horizontalHeader()->isVisible());
    QVERIFY(once->horizontalHeader()->height() > 0);
    QCOMPARE(once->horizontalHeader()->geometry(), along->horizontalHeader()->geometry());
    QCOMPARE(once->viewport()->geometry(), along->viewport()->geometry());
    QCOMPARE(once->visualRect(measuredOnce.model->index(3, 2)),
             along->visualRect(measuredAlong.model->index(3, 2)));
    // Hidden and shown again, it stays.
    measuredOnce.control.hide();
    measuredOnce.control.show();
    QVERIFY(once->horizontalHeader()->isVisible());
}

void ListControlTest::rowsReachTheViewInOneBatch()
{
    List l;
    QSignalSpy inserted(l.model, &QAbstractItemModel::rowsInserted);
    for (int r = 0; r < 1000; ++r)
        l.control.SetItemText(l.control.AddItem(), 1, u"row"_s);
    QCOMPARE(l.control.ItemCount(), 1000);
    QCOMPARE(l.control.ItemText(999, 1), u"row"_s);

    QTRY_COMPARE(l.model->rowCount(), 1000);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted[0][1].toInt(), 0);
    QCOMPARE(inserted[0][2].toInt(), 999);
    QCOMPARE(l.model->index(999, 1).data().toString(), u"row"_s);
}

void ListControlTest::cellWriteNotifiesOnlyThatCell()
{
    List l(100000);
    QCOMPARE(l.model->rowCount(), 100000);
    QSignalSpy changed(l.model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(l.model, &QAbstractItemModel::modelReset);
    QSignalSpy layout(l.model, &QAbstractItemModel::layoutChanged);

    QVERIFY(l.control.SetItemText(54321, 3, u"新"_s));
    QCOMPARE(changed.size(), 1);
    const auto topLeft = changed[0][0].value<QModelIndex>();
    const auto bottomRight = changed[0][1].value<QModelIndex>();
    QCOMPARE(topLeft, l.model->index(54321, 3));
    QCOMPARE(bottomRight, topLeft);
    QCOMPARE(l.model->index(54321, 3).data().toString(), u"新"_s);

    // The painter writes row numbers back while painting; an unchanged write must be free.
    QVERIFY(l.control.SetItemText(54321, 3, u"新"_s));
    QVERIFY(l.control.SetItemText(0, 0, u"1"_s));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(reset.size(), 0);
    QCOMPARE(layout.size(), 0);
}

void ListControlTest::clearResetsRowsButKeepsColumns()
{
    List l(10);
    l.control.SetItemSelected(3, 1);
    QSignalSpy reset(l.model, &QAbstractItemModel::modelReset);
    l.control.Clear();
    QCOMPARE(reset.size(), 1);
    QCOMPARE(l.control.ItemCount(), 0);
    QCOMPARE(l.model->rowCount(), 0);
    QCOMPARE(l.control.ColumnCount(), 5);
    QCOMPARE(l.model->headerData(4, Qt::Horizontal).toString(), u"C4"_s);

    QCOMPARE(l.control.AddItem(), 0);
    QCOMPARE(l.control.ItemSelected(0), 0);
    QCOMPARE(l.control.ItemText(0, 0), QString());
}

void ListControlTest::clearWhileRowsArePending()
{
    List l;
    for (int r = 0; r < 5; ++r)
        l.control.AddItem();
    l.control.Clear();
    QSignalSpy inserted(l.model, &QAbstractItemModel::rowsInserted);
    l.control.AddItem();
    l.control.AddItem();
    QTRY_COMPARE(l.model->rowCount(), 2);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted[0][2].toInt(), 1);
    QTest::qWait(20);
    QCOMPARE(l.model->rowCount(), 2);
}

void ListControlTest::userSelectionAndDoubleClick()
{
    List l(5);
    l.show();
    l.control.SetItemSelected(4, 1);
    QSignalSpy selection(&l.control, &ListControl::SelectionChange);
    QSignalSpy doubleClick(&l.control, &ListControl::ItemDblClick);
    QWidget* viewport = l.control.view()->viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, l.cellCentre(2, 1));
    QCOMPARE(selection.size(), 1);
    QCOMPARE(l.control.ItemSelected(2), 1);
    QCOMPARE(l.control.ItemSelected(4), 0);

    // A real double-click starts with an ordinary click on the same row.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, l.cellCentre(3, 2));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, l.cellCentre(3, 2));
    QCOMPARE(doubleClick.size(), 1);
    QCOMPARE(doubleClick[0][0].toInt(), 3);
    QCOMPARE(selection.size(), 2);
    QCOMPARE(l.control.ItemSelected(3), 1);
    QCOMPARE(l.control.ItemSelected(2), 0);
}

void ListControlTest::hoverHighlightsTheRowUnderThePointer()
{
    List l(5);
    l.show();
    QWidget* viewport = l.control.view()->viewport();
    const QPoint at = l.cellCentre(1, 1);
    // Sent directly: the offscreen platform has no pointer to move.
    QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    QVERIFY(l.control.ItemHighlighted(1));
    QVERIFY(!l.control.ItemHighlighted(0));
    QVERIFY(!l.control.ItemHighlighted(-1));

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(viewport, &leave);
    QVERIFY(!l.control.ItemHighlighted(1));
}

void ListControlTest::customDrawColoursTheCell()
{
    List l(3);
    l.control.SetBaseColor(bgr(240, 240, 240));
    Painter painter(l.control);
    l.control.SetCustomDrawHandler(&painter);
    l.show();

    const QRect cell = l.control.view()->visualRect(l.model->index(0, 3));
    const QRect other = l.control.view()->visualRect(l.model->index(1, 3));
    // Not enabled yet: the list's own colours.
    QImage image = l.control.view()->viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(cell.topLeft() + QPoint(2, 2)), QColor(240, 240, 240));

    l.control.SetCustomDrawEnabled(true);
    image = l.control.view()->viewport()->grab().toImage();
    QVERIFY(painter.calls > 0);
    // 0x00BBGGRR: the handler's bgr(255, 255, 0) is yellow, not cyan.
    QCOMPARE(image.pixelColor(cell.topLeft() + QPoint(2, 2)), QColor(255, 255, 0));
    // A false result leaves the cell in the list's colours.
    QCOMPARE(image.pixelColor(other.topLeft() + QPoint(2, 2)), QColor(240, 240, 240));
    l.control.SetCustomDrawHandler(nullptr);
}

void ListControlTest::writingFromCustomDrawDoesNotRepaintForever()
{
    List l(20);
    Painter painter(l.control);
    painter.rewrite = true;
    l.control.SetCustomDrawHandler(&painter);
    l.control.SetCustomDrawEnabled(true);
    l.show();
    QTRY_VERIFY(painter.calls > 0);
    QTest::qWait(50);
    const int settled = painter.calls;
    QTest::qWait(200);
    QCOMPARE(painter.calls, settled);
    l.control.SetCustomDrawHandler(nullptr);
}

QTEST_MAIN(ListControlTest)
#include "tst_listcontrol.moc"

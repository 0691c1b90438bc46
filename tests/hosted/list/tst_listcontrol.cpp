// The list control behind both station lists: its row and cell operations, what reaches the
// view (and how cheaply), selection by the user with the mouse, the keyboard and assistive
// technologies, and the custom-draw callback.

#include "hosted/list/listcontrol.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;

namespace {

struct List
{
    ListControl control;
    QAbstractItemModel* model = control.view()->model();

    explicit List(int rows = 0, int columns = 5)
    {
        for (int c = 0; c < columns; ++c)
            control.AddColumn(u"k%1"_s.arg(c), u"C%1"_s.arg(c), 0, 60, true, true);
        for (int r = 0; r < rows; ++r) {
            control.AddItem();
            control.SetItemText(r, 0, QString::number(r + 1));
        }
        QCoreApplication::processEvents();
    }

    void show()
    {
        control.resize(400, 300);
        control.show();
        QVERIFY(QTest::qWaitForWindowExposed(&control));
    }

    QPoint cellCentre(int row, int column) const
    {
        return control.view()->visualRect(model->index(row, column)).center();
    }

    //! Shows the list with the keyboard focus in it.
    void focus()
    {
        show();
        control.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&control));
        control.setFocus();
        QVERIFY(control.view()->hasFocus());
    }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(control.view(), key, modifiers);
    }

    [[nodiscard]] int current() const { return control.view()->currentIndex().row(); }

    [[nodiscard]] QAccessibleTableInterface* accessibleTable() const
    {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control.view());
        return iface ? iface->tableInterface() : nullptr;
    }
};

//! A list of named rows: the names go to column 2, as in the station lists.
struct NamedList : List
{
    explicit NamedList(const QStringList& names) : List(static_cast<int>(names.size()))
    {
        for (int r = 0; r < names.size(); ++r)
            control.SetItemText(r, 2, names[r]);
        control.SetSearchColumn(2);
    }
};

//! Paints row 0 blue-on-yellow and counts calls; may rewrite the cell it paints.
class Painter final : public ICustomDraw
{
public:
    explicit Painter(ListControl& list) : m_list(list) {}
    bool CustomDraw(int row, int column, BgrColor& back, BgrColor& fore) override
    {
        ++calls;
        if (rewrite)
            m_list.SetItemText(row, 0, QString::number(row + 1));
        if (row != 0)
            return false;
        back = bgr(255, 255, 0);
        fore = bgr(0, 0, 255);
        return column >= 0;
    }
    int calls = 0;
    bool rewrite = false;

private:
    ListControl& m_list;
};

} // namespace

class ListControlTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addItemReturnsConsecutiveIndexes();
    void cellAccessOutOfRangeChangesNothing();
    void selectionFlags();
    void rowsReachTheViewInOneBatch();
    void cellWriteNotifiesOnlyThatCell();
    void clearResetsRowsButKeepsColumns();
    void clearWhileRowsArePending();
    void userSelectionAndDoubleClick();
    void selectionIsTheViewsOwn();
    void aRowFilledThisPassCanBeSelected();
    void keysMoveTheSelection_data();
    void keysMoveTheSelection();
    void returnActivatesTheCurrentRow_data();
    void returnActivatesTheCurrentRow();
    void typingANameJumpsToIt_data();
    void typingANameJumpsToIt();
    void assistiveTechnologiesSeeTheSelection();
    void aSelectedRowIsPaintedByTheHandlerNotTheStyle();
    void theFocusedRowCarriesAFocusMark();
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

void ListControlTest::selectionIsTheViewsOwn()
{
    List l(6);
    QItemSelectionModel* selection = l.control.view()->selectionModel();
    // The program's marks are not the user's changes.
    QSignalSpy changes(&l.control, &ListControl::SelectionChange);
    QVERIFY(l.control.SetItemSelected(2, 1));
    QVERIFY(selection->isRowSelected(2, {}));
    QCOMPARE(l.current(), 2);
    QCOMPARE(l.control.SelectedItem(), 2);

    // One row at a time: marking another takes the mark off the first.
    QVERIFY(l.control.SetItemSelected(4, 7));
    QCOMPARE(l.control.ItemSelected(2), 0);
    QCOMPARE(l.control.ItemSelected(4), 1);
    QCOMPARE(selection->selectedRows().size(), 1);

    // Unmarking another row leaves the selected one alone.
    QVERIFY(l.control.SetItemSelected(1, 0));
    QCOMPARE(l.control.SelectedItem(), 4);
    QVERIFY(l.control.SetItemSelected(4, 0));
    QCOMPARE(l.control.SelectedItem(), -1);
    QVERIFY(!selection->hasSelection());
    l.control.SetItemSelected(3, 1);
    l.control.Clear();
    QCOMPARE(l.control.SelectedItem(), -1);
    QCOMPARE(changes.size(), 0);
}

void ListControlTest::aRowFilledThisPassCanBeSelected()
{
    List l;
    for (int r = 0; r < 3; ++r)
        l.control.AddItem();
    // No event-loop pass yet: the view has not heard of these rows.
    QVERIFY(l.control.SetItemSelected(2, 1));
    QCOMPARE(l.control.ItemSelected(2), 1);
    QCOMPARE(l.model->rowCount(), 3);
}

void ListControlTest::keysMoveTheSelection_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    QTest::newRow("down") << 10 << int(Qt::Key_Down) << 11 << 11;
    QTest::newRow("up") << 10 << int(Qt::Key_Up) << 9 << 9;
    // A plain table keeps Home and End within the row; a list goes to its ends.
    QTest::newRow("home") << 10 << int(Qt::Key_Home) << 0 << 0;
    QTest::newRow("end") << 10 << int(Qt::Key_End) << 99 << 99;
    // A page is what the view shows, some ten rows here.
    QTest::newRow("page down") << 10 << int(Qt::Key_PageDown) << 15 << 30;
    QTest::newRow("page up") << 40 << int(Qt::Key_PageUp) << 20 << 35;
    QTest::newRow("up at the top") << 0 << int(Qt::Key_Up) << 0 << 0;
}

void ListControlTest::keysMoveTheSelection()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    List l(100);
    l.focus();
    l.control.SetItemSelected(start, 1);
    QSignalSpy selection(&l.control, &ListControl::SelectionChange);

    l.key(Qt::Key(key));
    const int now = l.control.SelectedItem();
    QVERIFY2(now >= lowest && now <= highest, qPrintable(QString::number(now)));
    QCOMPARE(l.current(), now);
    QCOMPARE(l.control.ItemSelected(now), 1);
    QCOMPARE(selection.size(), now == start ? 0 : 1);
}

void ListControlTest::returnActivatesTheCurrentRow_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

void ListControlTest::returnActivatesTheCurrentRow()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    List l(20);
    l.focus();
    QSignalSpy doubleClick(&l.control, &ListControl::ItemDblClick);
    l.control.SetItemSelected(6, 1);
    l.key(Qt::Key_Down);
    l.key(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(doubleClick.size(), 1);
    QCOMPARE(doubleClick[0][0].toInt(), 7);

    // A held key would restart the station at the repeat rate.
    QKeyEvent repeat(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), QString(), true);
    QCoreApplication::sendEvent(l.control.view(), &repeat);
    QCOMPARE(doubleClick.size(), 1);
}

void ListControlTest::typingANameJumpsToIt_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pauses"); // between the characters
    QTest::addColumn<int>("row");
    QTest::newRow("first letter") << u"b"_s << false << 1;
    QTest::newRow("letters add up") << u"bbc w"_s << false << 3;
    QTest::newRow("case is ignored") << u"BBC W"_s << false << 3;
    QTest::newRow("chinese") << u"北京交"_s << false << 6;
    // The same letter again steps through the names it starts, round to the first.
    QTest::newRow("same letter") << u"bb"_s << false << 3;
    QTest::newRow("same letter wraps") << u"bbb"_s << false << 1;
    // After a pause a new search starts, from the row after the current one.
    QTest::newRow("pauses start again") << u"bw"_s << true << 4;
    QTest::newRow("no match stays") << u"x"_s << false << 0;
}

void ListControlTest::typingANameJumpsToIt()
{
    QFETCH(QString, typed);
    QFETCH(bool, pauses);
    QFETCH(int, row);
    NamedList l({u"Alpha"_s, u"BBC Radio"_s, u"北京新闻"_s, u"BBC World"_s, u"Wave"_s,
                 u"北京音乐"_s, u"北京交通"_s});
    l.focus();
    l.control.SetItemSelected(0, 1);
    // The pauses outlast a 1 ms interval whatever the machine; a minute's interval keeps the
    // characters together however slowly it runs.
    const int interval = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(pauses ? 1 : 60 * 1000);
    QSignalSpy selection(&l.control, &ListControl::SelectionChange);
    if (pauses) {
        for (const QChar c : typed) {
            QTest::qWait(20);
            QTest::keyClicks(l.control.view(), QString(c));
        }
    } else if (typed.front().unicode() < 128) {
        QTest::keyClicks(l.control.view(), typed);
    } else {
        // Chinese comes from an input method, which the view must accept although its
        // cells cannot be edited.
        QVERIFY(l.control.view()->testAttribute(Qt::WA_InputMethodEnabled));
        QInputMethodEvent commit;
        commit.setCommitString(typed);
        QCoreApplication::sendEvent(l.control.view(), &commit);
    }
    QApplication::setKeyboardInputInterval(interval);

    QCOMPARE(l.control.SelectedItem(), row);
    QCOMPARE(l.current(), row);
    QCOMPARE(selection.isEmpty(), row == 0);
}

void ListControlTest::assistiveTechnologiesSeeTheSelection()
{
    List l(8);
    l.show();
    QAccessibleTableInterface* table = l.accessibleTable();
    QVERIFY(table);
    QCOMPARE(table->selectedRowCount(), 0);

    l.control.SetItemSelected(5, 1);
    QCOMPARE(table->selectedRowCount(), 1);
    QCOMPARE(table->selectedRows(), QList<int>{5});
    QVERIFY(table->isRowSelected(5));
    QVERIFY(table->cellAt(5, 2)->state().selected);
    QVERIFY(!table->cellAt(4, 2)->state().selected);

    // Selecting through the technology is the user's choice, and the list says so.
    QSignalSpy selection(&l.control, &ListControl::SelectionChange);
    QVERIFY(table->selectRow(2));
    QCOMPARE(l.control.SelectedItem(), 2);
    QCOMPARE(l.control.ItemSelected(5), 0);
    QVERIFY(!selection.isEmpty());
}

void ListControlTest::aSelectedRowIsPaintedByTheHandlerNotTheStyle()
{
    List l(3);
    l.control.SetBaseColor(bgr(240, 240, 240));
    l.control.SetAccentColor(bgr(142, 217, 253));
    Painter painter(l.control);
    l.control.SetCustomDrawHandler(&painter);
    l.control.SetCustomDrawEnabled(true);
    l.control.SetItemSelected(0, 1);
    l.control.SetItemSelected(1, 1);
    l.show();

    const QImage image = l.control.view()->viewport()->grab().toImage();
    const auto inside = [&](int row) {
        return l.control.view()->visualRect(l.model->index(row, 3)).topLeft() + QPoint(2, 2);
    };
    // Row 1 is selected now; the handler leaves it to the list, which paints its accent.
    QCOMPARE(image.pixelColor(inside(1)), QColor(142, 217, 253));
    QCOMPARE(image.pixelColor(inside(0)), QColor(255, 255, 0));
    l.control.SetCustomDrawHandler(nullptr);
}

void ListControlTest::theFocusedRowCarriesAFocusMark()
{
    List l(5);
    l.focus();
    l.control.SetItemSelected(2, 1);
    const QRect row = l.control.view()->visualRect(l.model->index(2, 1));
    const auto topEdge = [&] {
        const QImage image = l.control.view()->viewport()->grab().toImage();
        QList<QColor> colours;
        for (int x = row.left(); x < row.right(); ++x)
            colours << image.pixelColor(x, row.top());
        return colours;
    };
    const QList<QColor> focused = topEdge();
    QVERIFY(focused.contains(QColor(Qt::black)));
    l.control.view()->clearFocus();
    QVERIFY(!topEdge().contains(QColor(Qt::black)));
}

QTEST_MAIN(ListControlTest)
#include "tst_listcontrol.moc"

// Selection in the list control: it is the view's own, so the keyboard, the mark the window
// paints and assistive technologies agree; keys move it, Return activates, typing jumps.

#include "hosted/list/listfixture.h"

#include <QAccessible>
#include <QItemSelectionModel>
#include <QSignalSpy>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

class ListSelectionTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
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
};

void ListSelectionTest::selectionIsTheViewsOwn()
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

void ListSelectionTest::aRowFilledThisPassCanBeSelected()
{
    List l;
    for (int r = 0; r < 3; ++r)
        l.control.AddItem();
    // No event-loop pass yet: the view has not heard of these rows.
    QVERIFY(l.control.SetItemSelected(2, 1));
    QCOMPARE(l.control.ItemSelected(2), 1);
    QCOMPARE(l.model->rowCount(), 3);
}

void ListSelectionTest::keysMoveTheSelection_data()
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

void ListSelectionTest::keysMoveTheSelection()
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

void ListSelectionTest::returnActivatesTheCurrentRow_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

void ListSelectionTest::returnActivatesTheCurrentRow()
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

void ListSelectionTest::typingANameJumpsToIt_data()
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

void ListSelectionTest::typingANameJumpsToIt()
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

void ListSelectionTest::assistiveTechnologiesSeeTheSelection()
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

void ListSelectionTest::aSelectedRowIsPaintedByTheHandlerNotTheStyle()
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

void ListSelectionTest::theFocusedRowCarriesAFocusMark()
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

QTEST_MAIN(ListSelectionTest)
#include "tst_listselection.moc"

#pragma once

// A list control in a window, as the station list is, with helpers that act as the user does.

#include "hosted/list/listcontrol.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QHeaderView>
#include <QTableView>
#include <QtTest>

namespace qiravon::test {

using namespace Qt::StringLiterals;

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

} // namespace qiravon::test

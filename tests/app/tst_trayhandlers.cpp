// The tray icon's events and its menu: which button opens the menu, where, on which window,
// and what its items do to the main window.

#include "app/form1.h"
#include "app/form2.h"
#include "support/fakehosted.h"
#include "support/testdata.h"

#include <QMenu>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

struct Window
{
    FakeHosted hosted;
    FakeReporter reporter;
    Form1 form{hosted, reporter, shippedDataDir()};

    Window() { form.show(); }

    FakeTray& tray() const { return *hosted.tray; }

    //! Raises `button` on the icon and runs `inMenu` on the menu it pops up, which must then
    //! close it. Returns whether a menu came up at all.
    bool pressIcon(int button, const std::function<void(QMenu&)>& inMenu)
    {
        bool popped = false;
        QTimer::singleShot(0, &form, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                popped = true;
                inMenu(*menu);
                if (menu->isVisible())
                    menu->close();
            }
        });
        Q_EMIT tray().IconButton(button);
        // The menu runs its own loop; without one the check above still has to run.
        QCoreApplication::processEvents();
        return popped;
    }

    void choose(QMenu& menu, QAction* action)
    {
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(action).center());
    }
};

int windowsNamedForm2()
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += w->objectName() == u"Form2"_s ? 1 : 0;
    return count;
}

} // namespace

class TrayHandlersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rightButtonPopsUpTheMenuOfForm2AtThePointer()
    {
        Window w;
        QVERIFY(!w.form.form2());
        QCOMPARE(windowsNamedForm2(), 0);

        const QPoint pointer(300, 200);
        QCursor::setPos(pointer);
        QMenu* shown = nullptr;
        QStringList captions;
        QVERIFY(w.pressIcon(2, [&](QMenu& menu) {
            shown = &menu;
            for (QAction* action : menu.actions())
                captions << (action->isSeparator() ? u"-"_s : action->text());
            QCOMPARE(menu.pos(), QCursor::pos());
        }));
        Form2* form2 = w.form.form2();
        QVERIFY(form2);
        QCOMPARE(shown, form2->pop);
        QCOMPARE(captions, (QStringList{u"恢复窗口"_s, u"-"_s, u"退出"_s}));
        QCOMPARE(form2->windowTitle(), u"Form2"_s);
        QCOMPARE(form2->pop->title(), u"popup"_s);
        QVERIFY(form2->a1->isSeparator());
        QVERIFY(!form2->isVisible());

        // The window lives on for later menus: there is only ever one.
        QVERIFY(w.pressIcon(2, [](QMenu&) {}));
        QCOMPARE(w.form.form2(), form2);
        QCOMPARE(windowsNamedForm2(), 1);
    }

    void otherButtonsOpenNoMenu()
    {
        Window w;
        for (int button : {1, 4, 0, 3}) {
            QVERIFY(!w.pressIcon(button, [](QMenu&) {}));
            QVERIFY(w.form.isVisible());
        }
        QVERIFY(!w.form.form2());
    }

    void restoreShowsTheHiddenWindow()
    {
        Window w;
        w.form.hide();
        QVERIFY(w.pressIcon(2, [&](QMenu& menu) { w.choose(menu, w.form.form2()->free); }));
        QVERIFY(w.form.isVisible());

        // On a window already shown it changes nothing.
        const QPoint place = w.form.pos();
        QVERIFY(w.pressIcon(2, [&](QMenu& menu) { w.choose(menu, w.form.form2()->free); }));
        QVERIFY(w.form.isVisible());
        QCOMPARE(w.form.pos(), place);
    }

    void dismissingOrClickingTheSeparatorChangesNothing()
    {
        Window w;
        w.form.hide();
        // The separator is no item: a click on it at most closes the menu.
        QVERIFY(w.pressIcon(2, [&](QMenu& menu) { w.choose(menu, w.form.form2()->a1); }));
        QVERIFY(!w.form.isVisible());
        QVERIFY(w.pressIcon(2, [&](QMenu& menu) { QTest::keyClick(&menu, Qt::Key_Escape); }));
        QVERIFY(!w.form.isVisible());
    }

    void activationShowsTheWindowAndKeepsItsState()
    {
        Window w;
        w.form.hide();
        Q_EMIT w.tray().IconActivate();
        QVERIFY(w.form.isVisible());

        Q_EMIT w.tray().IconActivate();
        QVERIFY(w.form.isVisible());

        // A minimised window comes back through the task bar, not through the tray.
        w.form.setWindowState(Qt::WindowMinimized);
        Q_EMIT w.tray().IconActivate();
        QVERIFY(w.form.windowState() & Qt::WindowMinimized);
    }
};

QTEST_MAIN(TrayHandlersTest)
#include "tst_trayhandlers.moc"

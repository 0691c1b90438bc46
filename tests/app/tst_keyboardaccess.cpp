// The main window without a mouse: where Tab goes, what Space and Return do on each kind of
// control, and what assistive technologies are told the controls are called.

#include "app/form1.h"
#include "hosted/ibrowser.h"
#include "hosted/list/listcontrol.h"
#include "support/fakehosted.h"
#include "support/testdata.h"
#include "widgets/linklabel.h"
#include "widgets/mouselabel.h"

#include <QAccessible>
#include <QTableView>
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

    Window()
    {
        QVERIFY(!form.load());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }

    //! The object name of the focused control; the list's view answers for the list.
    [[nodiscard]] QString focused() const
    {
        QWidget* focus = QApplication::focusWidget();
        if (focus == form.ListView1->view())
            return u"ListView1"_s;
        return focus ? focus->objectName() : QString();
    }

    void key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
};

QString accessibleName(QObject* object)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QString();
}

} // namespace

class KeyboardAccessTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tabGoesRoundTheWindowInReadingOrder()
    {
        Window w;
        // The list holds the focus from the start.
        QCOMPARE(w.focused(), u"ListView1"_s);

        QStringList expected{u"LinkMain"_s, u"LinkBlog"_s, u"btn_Mini"_s,  u"Btn_End"_s,
                             u"HsrlBtn2"_s, u"Image2"_s,   u"LinkLabel4"_s};
        // Link(0) and Link(18) lie under LinkLabel4 and LinkLabel5, which take their place.
        for (int i = 1; i < 18; ++i)
            expected << u"Link(%1)"_s.arg(i);
        expected << u"LinkLabel2"_s << u"LinkLabel1"_s << u"LinkLabel5"_s;
        for (int i = 19; i < 35; ++i)
            expected << u"Link(%1)"_s.arg(i);
        expected << u"LinkLabel3"_s << u"Links"_s << u"ListView1"_s;

        QStringList visited;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            w.key(Qt::Key_Tab);
            visited << w.focused();
        }
        QCOMPARE(visited, expected);

        // Backwards the same way.
        w.key(Qt::Key_Backtab);
        QCOMPARE(w.focused(), u"Links"_s);
    }

    void tabReachesTheBrowserInTheListsPlace()
    {
        Window w;
        w.form.web->setVisible(true);
        w.form.ListView1->setVisible(false);
        w.form.Links->setFocus();
        w.key(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.form.web->widget());
        w.key(Qt::Key_Tab);
        QCOMPARE(w.focused(), u"LinkMain"_s);
    }

    void spaceAndReturnPressThePictureButtons()
    {
        Window w;
        w.form.Image2->setFocus();
        w.key(Qt::Key_Space);
        QVERIFY(w.form.web->isVisible());
        QCOMPARE(w.form.Label2->text(), u"网络电台"_s);
        w.key(Qt::Key_Return);
        QVERIFY(!w.form.web->isVisible());

        w.form.Btn_End->setFocus();
        w.key(Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(w.form.isHidden());
    }

    void everyShownControlHasAName()
    {
        Window w;
        for (QWidget* child : w.form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isHidden())
                continue;
            // The list speaks through its view; the container only holds it.
            QObject* spoken =
                child == w.form.ListView1 ? static_cast<QObject*>(w.form.ListView1->view()) : child;
            QVERIFY2(!accessibleName(spoken).isEmpty(), qPrintable(child->objectName()));
        }
    }

    void picturesAreNamedByTheirRole_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        QTest::newRow("close") << u"Btn_End"_s << u"关闭"_s << int(QAccessible::Button);
        QTest::newRow("minimise") << u"btn_Mini"_s << u"最小化"_s << int(QAccessible::Button);
        QTest::newRow("volume") << u"HsrlBtn2"_s << u"音量"_s << int(QAccessible::Slider);
        QTest::newRow("toggle") << u"Image2"_s << u"电台列表"_s << int(QAccessible::Button);
        QTest::newRow("link") << u"LinkLabel1"_s << u"全部电台"_s << int(QAccessible::Link);
        QTest::newRow("region") << u"Link(34)"_s << u"中央"_s << int(QAccessible::Link);
        QTest::newRow("label") << u"lblText"_s << u"没有播放的广播."_s
                               << int(QAccessible::StaticText);
    }

    void picturesAreNamedByTheirRole()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(int, role);
        Window w;
        auto* widget = w.form.findChild<QWidget*>(control, Qt::FindDirectChildrenOnly);
        QVERIFY(widget);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(iface);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(int(iface->role()), role);
    }

    void pressActionsClickLikeTheMouse()
    {
        Window w;
        QAccessibleInterface* toggle = QAccessible::queryAccessibleInterface(w.form.Image2);
        QVERIFY(toggle->actionInterface());
        toggle->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(w.form.web->isVisible());
        // The toggle goes by the caption drawn over it.
        QCOMPARE(toggle->text(QAccessible::Name), u"网络电台"_s);

        QAccessibleInterface* link = QAccessible::queryAccessibleInterface(w.form.LinkLabel3);
        // The text inside is the link's name, not a second thing to read.
        QCOMPARE(link->childCount(), 0);
        link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(w.form.ListView1->ItemText(0, 1), u"外文电台"_s);
    }
};

QTEST_MAIN(KeyboardAccessTest)
#include "tst_keyboardaccess.moc"

// Ending the program from the tray menu: every window goes, in order, and the event loop
// ends with status 0. Ending the loop ends every later loop of the process too, so this
// lives apart from the other tray tests.

#include "app/form1.h"
#include "app/form2.h"
#include "app/shutdown.h"
#include "app/trayhandlers.h"
#include "navigation/categoryactions.h"
#include "navigation/form3.h"
#include "support/fakehosted.h"
#include "support/testdata.h"

#include <QEventLoop>
#include <QtTest>

using namespace qiravon;
using namespace qiravon::test;

class ShutdownTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsGoInOrder()
    {
        FakeHosted hosted;
        FakeReporter reporter;
        Form1 form(hosted, reporter, shippedDataDir());
        form.show();
        form.navigation().regionClicked(regions::kPlayerInOwnWindow);
        QVERIFY(form.form3() && form.form3()->isVisible());
        form.trayHandlers().ensureForm2();

        // Which windows are left after each step: main window, menu window, web radio window.
        QStringList left;
        const auto snapshot = [&] {
            QString state;
            state += form.isVisible() ? u'1' : u'-';
            state += form.form2() ? u'2' : u'-';
            state += form.form3() && form.form3()->isVisible() ? u'3' : u'-';
            left << state;
        };
        ShutdownSteps steps = form.trayHandlers().shutdownSteps();
        for (auto* step : {&steps.unloadForm1, &steps.unloadForm2, &steps.unloadForm3})
            *step = [snapshot, real = *step] {
                real();
                snapshot();
            };
        steps.endProgram = [&] { left << QStringLiteral("end"); };
        runShutdown(steps);
        QCOMPARE(left, (QStringList{QStringLiteral("-23"), QStringLiteral("--3"),
                                    QStringLiteral("---"), QStringLiteral("end")}));
    }

    // Last: once the program has been told to end, no event loop of this process runs again.
    void exitItemEndsTheProgramWithStatusZero()
    {
        FakeHosted hosted;
        FakeReporter reporter;
        Form1 form(hosted, reporter, shippedDataDir());
        form.show();
        QVERIFY(!form.form3()); // the web radio window was never opened
        QPointer<Form2> form2 = &form.trayHandlers().ensureForm2();

        QEventLoop loop;
        QTimer::singleShot(0, &form, [&] { form2->exit->trigger(); });
        QTimer::singleShot(5000, &loop, [&] { loop.exit(99); });
        QCOMPARE(loop.exec(), 0);
        QVERIFY(!form.isVisible());
        QVERIFY(!form.form2());
        QVERIFY(!form.form3());
        QVERIFY(!form2 || !form2->isVisible());
    }
};

QTEST_MAIN(ShutdownTest)
#include "tst_shutdown.moc"

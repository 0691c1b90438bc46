// The tray adapter: which gestures on the icon become which events.

#include "hosted/tray/systemtray.h"

#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QtTest>

using namespace qiravon;

class SystemTrayTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gesturesBecomeEvents_data()
    {
        QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
        QTest::addColumn<QList<int>>("buttons");
        QTest::addColumn<int>("activations");
        QTest::newRow("right button") << QSystemTrayIcon::Context << QList<int>{2} << 0;
        QTest::newRow("left button") << QSystemTrayIcon::Trigger << QList<int>{1} << 1;
        QTest::newRow("double click") << QSystemTrayIcon::DoubleClick << QList<int>{1} << 1;
        QTest::newRow("middle button") << QSystemTrayIcon::MiddleClick << QList<int>{4} << 0;
        QTest::newRow("unknown") << QSystemTrayIcon::Unknown << QList<int>{} << 0;
    }

    void gesturesBecomeEvents()
    {
        QFETCH(QSystemTrayIcon::ActivationReason, reason);
        QFETCH(QList<int>, buttons);
        QFETCH(int, activations);
        SystemTray tray;
        QSignalSpy buttonSpy(&tray, &ITray::IconButton);
        QSignalSpy activateSpy(&tray, &ITray::IconActivate);
        auto* icon = tray.findChild<QSystemTrayIcon*>();
        QVERIFY(icon);
        Q_EMIT icon->activated(reason);
        QList<int> raised;
        for (const QList<QVariant>& args : buttonSpy)
            raised << args.at(0).toInt();
        QCOMPARE(raised, buttons);
        QCOMPARE(activateSpy.size(), activations);
    }

    void iconAndTipReachTheTray()
    {
        SystemTray tray;
        auto* icon = tray.findChild<QSystemTrayIcon*>();
        QPixmap picture(32, 32);
        picture.fill(Qt::red);
        tray.setTrayIcon(QIcon(picture));
        tray.setTrayTip(QStringLiteral("Qiravon"));
        QCOMPARE(icon->toolTip(), QStringLiteral("Qiravon"));
        QVERIFY(!icon->icon().isNull());
        QVERIFY(!tray.intray());
        tray.setIntray(true);
        tray.setIntray(true);
        QVERIFY(tray.intray());
    }
};

QTEST_MAIN(SystemTrayTest)
#include "tst_systemtray.moc"

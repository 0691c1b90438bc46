// Who runs: the first start claims the desktop, a later one asks it for its window and
// ends. Over a real private session bus, over the runtime folder's lock and socket without
// one, and across the two.

#include "session/busname.h"
#include "session/fakecontrols.h"
#include "session/instanceguard.h"
#include "session/localinstance.h"
#include "session/mprisservice.h"
#include "support/privatebus.h"

#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <future>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

using Claim = InstanceGuard::Claim;

class InstanceGuardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_first.isValid() && m_second.isValid());
        m_busError = m_bus.start();
    }

    void theSessionBusIsLookedForWhereLibdbusLooks_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("busFile");  // what lies at <runtime>/bus
        QTest::addColumn<QString>("expected"); // "socket" for unix:path=<runtime>/bus

        QTest::newRow("the variable wins") << u"unix:path=/x"_s << u"socket"_s << u"unix:path=/x"_s;
        QTest::newRow("the runtime folder's socket") << QString() << u"socket"_s << u"socket"_s;
        QTest::newRow("a plain file is no bus") << QString() << u"file"_s << QString();
        QTest::newRow("nothing: no autolaunch") << QString() << QString() << QString();
    }
    void theSessionBusIsLookedForWhereLibdbusLooks()
    {
        QFETCH(QString, variable);
        QFETCH(QString, busFile);
        QFETCH(QString, expected);
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        const QString bus = runtime.filePath(u"bus"_s);
        QLocalServer server;
        if (busFile == u"socket"_s) {
            server.setSocketOptions(QLocalServer::UserAccessOption);
            QVERIFY(server.listen(bus));
        } else if (busFile == u"file"_s) {
            QFile file(bus);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        if (expected == u"socket"_s)
            expected = u"unix:path="_s + bus;
        QCOMPARE(sessionBusAddress(variable, runtime.path()), expected);
    }

    void withoutABusTheLockDecides()
    {
        const QDBusConnection none = noBus();
        InstanceGuard first(places(m_first));
        QCOMPARE(first.claim(none), Claim::First);
        QSignalSpy raised(&first, &InstanceGuard::raiseRequested);
        InstanceGuard second(places(m_first));
        QCOMPARE(second.claim(none), Claim::AlreadyRunning);
        QVERIFY(raised.wait());

        // Another display is another desktop.
        InstanceGuard elsewhere(places(m_first, u":7"_s));
        QCOMPARE(elsewhere.claim(none), Claim::First);
    }

    void aSocketLeftByAVanishedPlayerDoesNotBlock()
    {
        const InstancePlaces here = places(m_first);
        const QString socket = LocalInstance(here.runtimeFolder, here.display).socketPath();
        QFile stale(socket);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        InstanceGuard first(here);
        QCOMPARE(first.claim(noBus()), Claim::First);
        QSignalSpy raised(&first, &InstanceGuard::raiseRequested);
        QVERIFY(LocalInstance(here.runtimeFolder, here.display).askToRaise());
        QVERIFY(raised.wait());
    }

    void overTheBusTheRunningPlayerIsRaised()
    {
        if (!m_busError.isEmpty())
            QSKIP(qPrintable(m_busError));
        const QDBusConnection firstBus = m_bus.connect(u"first"_s);
        InstanceGuard first(places(m_first));
        QCOMPARE(first.claim(firstBus), Claim::First);
        FakeControls controls;
        MprisService service(controls);
        QVERIFY(!service.registerOn(firstBus).isEmpty());

        // A separate runtime folder, so only the bus can tell. The second start waits for the
        // answer to Raise, which this thread gives: it asks from a thread of its own.
        const InstancePlaces elsewhere = places(m_second);
        const QDBusConnection secondBus = m_bus.connect(u"second"_s);
        auto second = std::async(std::launch::async,
                                 [&] { return InstanceGuard(elsewhere).claim(secondBus); });
        QTRY_VERIFY(second.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        QCOMPARE(second.get(), Claim::AlreadyRunning);
        QCOMPARE(controls.calls, QStringList{u"raise"_s});
    }

    void aPlayerWithoutTheBusIsFoundByOneWithIt()
    {
        if (!m_busError.isEmpty())
            QSKIP(qPrintable(m_busError));
        InstanceGuard first(places(m_first));
        QCOMPARE(first.claim(noBus()), Claim::First);
        QSignalSpy raised(&first, &InstanceGuard::raiseRequested);
        InstanceGuard second(places(m_first));
        QCOMPARE(second.claim(m_bus.connect(u"third"_s)), Claim::AlreadyRunning);
        QVERIFY(raised.wait());
    }

private:
    static InstancePlaces places(const QTemporaryDir& folder, const QString& display = u":5"_s)
    {
        return {folder.path(), display};
    }

    static QDBusConnection noBus()
    {
        return QDBusConnection::connectToBus(u"unix:path=/nonexistent/bus"_s, u"none"_s);
    }

    QTemporaryDir m_first;
    QTemporaryDir m_second;
    PrivateBus m_bus;
    QString m_busError;
};

QTEST_GUILESS_MAIN(InstanceGuardTest)
#include "tst_instanceguard.moc"

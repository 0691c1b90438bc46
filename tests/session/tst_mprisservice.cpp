// The media controls on a real session bus of the test's own, seen by a second connection as
// a desktop's media widget sees them: names, properties, methods and PropertiesChanged.

#include "session/fakecontrols.h"
#include "session/mprisservice.h"
#include "session/mprisvalues.h"
#include "support/privatebus.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QtTest>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

//! Collects the PropertiesChanged signals the client receives.
class ChangeLog : public QObject
{
    Q_OBJECT
public:
    QList<QVariantMap> changes;

public Q_SLOTS:
    void record(const QString& interface, const QVariantMap& changed, const QStringList&)
    {
        if (interface == mpris::kPlayerInterface)
            changes.append(changed);
    }
};

} // namespace

class MprisServiceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString error = m_bus.start();
        if (!error.isEmpty())
            QSKIP(qPrintable(error));
        m_client.emplace(m_bus.connect(u"client"_s));
        QVERIFY(m_client->isConnected());
        m_serviceBus.emplace(m_bus.connect(u"service"_s));
    }

    void init()
    {
        // A new object each time on one connection, which keeps the name between tests.
        m_controls = std::make_unique<FakeControls>();
        m_service = std::make_unique<MprisService>(*m_controls);
        QCOMPARE(m_service->registerOn(*m_serviceBus), mpris::kServiceName);
    }

    void cleanup()
    {
        m_service.reset();
        m_controls.reset();
    }

    void rootTellsWhoThePlayerIs()
    {
        const QVariantMap all = getAll(mpris::kRootInterface);
        QCOMPARE(all.value(u"Identity"_s), QVariant(u"Qiravon"_s));
        QCOMPARE(all.value(u"DesktopEntry"_s), QVariant(u"qiravon"_s));
        for (const char* yes : {"CanQuit", "CanRaise"})
            QCOMPARE(all.value(QLatin1String(yes)), QVariant(true));
        QCOMPARE(all.value(u"HasTrackList"_s), QVariant(false));
        QVERIFY(all.contains(u"SupportedUriSchemes"_s) && all.contains(u"SupportedMimeTypes"_s));
    }

    void methodsReachTheControls_data()
    {
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("method");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<QStringList>("calls");
        const QString root = mpris::kRootInterface;
        const QString player = mpris::kPlayerInterface;
        QTest::newRow("Raise") << root << u"Raise"_s << false << QStringList{u"raise"_s};
        QTest::newRow("Quit, after the reply")
            << root << u"Quit"_s << false << QStringList{u"quit"_s};
        QTest::newRow("Play when stopped")
            << player << u"Play"_s << false << QStringList{u"play"_s};
        QTest::newRow("Play when playing") << player << u"Play"_s << true << QStringList{};
        QTest::newRow("PlayPause when stopped")
            << player << u"PlayPause"_s << false << QStringList{u"play"_s};
        QTest::newRow("PlayPause when playing")
            << player << u"PlayPause"_s << true << QStringList{u"stop"_s};
        QTest::newRow("Pause when playing")
            << player << u"Pause"_s << true << QStringList{u"stop"_s};
        QTest::newRow("Pause when stopped") << player << u"Pause"_s << false << QStringList{};
        QTest::newRow("Stop") << player << u"Stop"_s << true << QStringList{u"stop"_s};
        QTest::newRow("Next") << player << u"Next"_s << true << QStringList{u"next"_s};
        QTest::newRow("Previous") << player << u"Previous"_s << true << QStringList{u"previous"_s};
    }

    void methodsReachTheControls()
    {
        QFETCH(QString, interface);
        QFETCH(QString, method);
        QFETCH(bool, playing);
        QFETCH(QStringList, calls);
        m_controls->playing = playing;
        const QDBusMessage reply = call(interface, method);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QCoreApplication::processEvents();
        QCOMPARE(m_controls->calls, calls);
    }

    void playerReportsTheControlsState()
    {
        m_controls->playing = true;
        m_controls->now = {3, u"中国之声"_s, u"新闻"_s, u"http://127.0.0.1/cnr"_s};
        m_controls->level = 37;
        const QVariantMap all = getAll(mpris::kPlayerInterface);
        QCOMPARE(all.value(u"PlaybackStatus"_s), QVariant(u"Playing"_s));
        QCOMPARE(all.value(u"Volume"_s).toDouble(), 0.37);
        QCOMPARE(all.value(u"CanGoNext"_s), QVariant(true));
        QCOMPARE(all.value(u"CanGoPrevious"_s), QVariant(false));
        QCOMPARE(all.value(u"CanSeek"_s), QVariant(false));
        QCOMPARE(all.value(u"CanPause"_s), QVariant(true));
        const auto metadata = qdbus_cast<QVariantMap>(all.value(u"Metadata"_s));
        QCOMPARE(metadata.value(u"xesam:title"_s), QVariant(u"新闻"_s));
        QCOMPARE(metadata.value(u"xesam:album"_s), QVariant(u"中国之声"_s));
        // Desktops index tracks by it: it must arrive as an object path, not as a string.
        QCOMPARE(metadata.value(u"mpris:trackid"_s).metaType(),
                 QMetaType::fromType<QDBusObjectPath>());
    }

    void volumeWritesReachTheSlider_data()
    {
        QTest::addColumn<double>("written");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("half") << 0.5 << QStringList{u"volume 50"_s};
        QTest::newRow("below silence") << -0.4 << QStringList{u"volume 0"_s};
        QTest::newRow("above full") << 1.5 << QStringList{u"volume 100"_s};
        QTest::newRow("not a number") << std::nan("") << QStringList{};
    }

    void volumeWritesReachTheSlider()
    {
        QFETCH(double, written);
        QFETCH(QStringList, calls);
        QDBusMessage set =
            QDBusMessage::createMethodCall(mpris::kServiceName, mpris::kObjectPath,
                                           u"org.freedesktop.DBus.Properties"_s, u"Set"_s);
        set << mpris::kPlayerInterface << u"Volume"_s << QVariant::fromValue(QDBusVariant(written));
        QCOMPARE(m_client->call(set, QDBus::BlockWithGui).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(m_controls->calls, calls);
    }

    void changesAreAnnouncedOnceEachAndOnlyWhenReal()
    {
        ChangeLog log;
        QVERIFY(m_client->connect(mpris::kServiceName, mpris::kObjectPath,
                                  u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s,
                                  &log, SLOT(record(QString, QVariantMap, QStringList))));
        getAll(mpris::kRootInterface); // the match is in place once this returns
        // Several changes in one turn of the event loop, as a drag makes them: one signal
        // with the last values.
        m_controls->playing = true;
        for (const int level : {80, 60, 40}) {
            m_controls->level = level;
            Q_EMIT m_controls->changed();
        }
        QTRY_COMPARE(log.changes.size(), 1);
        QCOMPARE(log.changes.at(0),
                 (QVariantMap{{u"PlaybackStatus"_s, u"Playing"_s}, {u"Volume"_s, 0.4}}));
        // A hint with nothing changed says nothing: the next signal is the next real change.
        Q_EMIT m_controls->changed();
        QCoreApplication::processEvents();
        m_controls->now = {1, u"Station"_s, {}, u"http://127.0.0.1/s"_s};
        m_controls->hasNext = false;
        Q_EMIT m_controls->changed();
        QTRY_COMPARE(log.changes.size(), 2);
        const QVariantMap second = log.changes.at(1);
        QCOMPARE(second.keys(), (QStringList{u"CanGoNext"_s, u"Metadata"_s}));
        QCOMPARE(qdbus_cast<QVariantMap>(second.value(u"Metadata"_s)).value(u"xesam:title"_s),
                 QVariant(u"Station"_s));
    }

    void aTakenNameLeavesAnInstanceName()
    {
        FakeControls other;
        MprisService second(other);
        const QString name = second.registerOn(m_bus.connect(u"second"_s));
        QCOMPARE(name, mpris::kServiceName + u".instance"_s +
                           QString::number(QCoreApplication::applicationPid()));
        QDBusMessage raise = QDBusMessage::createMethodCall(name, mpris::kObjectPath,
                                                            mpris::kRootInterface, u"Raise"_s);
        QCOMPARE(m_client->call(raise, QDBus::BlockWithGui).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(other.calls, QStringList{u"raise"_s});
        QVERIFY(m_controls->calls.isEmpty());
    }

private:
    QDBusMessage call(const QString& interface, const QString& method)
    {
        const QDBusMessage message = QDBusMessage::createMethodCall(
            mpris::kServiceName, mpris::kObjectPath, interface, method);
        return m_client->call(message, QDBus::BlockWithGui);
    }

    QVariantMap getAll(const QString& interface)
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(mpris::kServiceName, mpris::kObjectPath,
                                           u"org.freedesktop.DBus.Properties"_s, u"GetAll"_s);
        message << interface;
        const QDBusMessage reply = m_client->call(message, QDBus::BlockWithGui);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    }

    PrivateBus m_bus;
    std::optional<QDBusConnection> m_client;
    std::optional<QDBusConnection> m_serviceBus;
    std::unique_ptr<FakeControls> m_controls;
    std::unique_ptr<MprisService> m_service;
};

QTEST_GUILESS_MAIN(MprisServiceTest)
#include "tst_mprisservice.moc"

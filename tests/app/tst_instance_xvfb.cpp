// Two real starts of the program on one display: the second brings back the first one's
// hidden window and ends with status 0, having read no catalogue and started no GStreamer;
// over a private session bus, and without any bus.

#include "support/privatebus.h"
#include "support/realprogram.h"

#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon::test;

namespace {

// The close button stands at the window's top right, 10 x 31 pixels from (720, 0).
const QPoint kCloseButton(725, 15);

} // namespace

class InstanceXvfbTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (const QString missing = missingDesktopTool(); !missing.isEmpty())
            QSKIP(qPrintable(u"needs %1"_s.arg(missing)));
        QVERIFY(m_folder.isValid());
        // A copy without a catalogue beside it or in a share folder above: if the second
        // start went on to load the window, it would stop at the missing file.
        m_secondProgram = m_folder.filePath(u"bare/bin/qiravon"_s);
        QVERIFY(QDir().mkpath(m_folder.filePath(u"bare/bin"_s)));
        QVERIFY(QFile::copy(QStringLiteral(QIRAVON_EXE), m_secondProgram));
        const QString busError = m_bus.start();
        QVERIFY2(busError.isEmpty(), qPrintable(busError));
        m_desktop = startDesktop();
        QVERIFY2(!m_desktop.empty(), "openbox or trayer did not come up");
    }

    void cleanupTestCase()
    {
        for (auto& p : m_desktop)
            endProgram(p.get());
    }

    void cleanup() { endProgram(m_first.get()); }

    void aSecondStartRaisesTheFirstAndEnds_data()
    {
        QTest::addColumn<bool>("withBus");
        QTest::newRow("session bus") << true;
        QTest::newRow("no session bus") << false;
    }

    void aSecondStartRaisesTheFirstAndEnds()
    {
        QFETCH(bool, withBus);
        const QString bus = withBus ? m_bus.address() : QString();
        const QString window = startFirst(runtimeFolder(u"first"_s), bus);
        QVERIFY(!window.isEmpty());
        clickAt(windowGeometry(window).topLeft() + kCloseButton, 1);
        QVERIFY2(waitUntil([&] { return !isViewable(window); }, kProgramStepTimeoutMs),
                 "the close button did not hide the window");

        // With the bus, a runtime folder of its own: only the bus can tell it of the first.
        QProcessEnvironment env =
            programEnvironment(runtimeFolder(withBus ? u"second"_s : u"first"_s), bus);
        const QString registry = m_folder.filePath(u"second-registry.bin"_s);
        env.insert(u"GST_REGISTRY"_s, registry);
        auto second = startProgram(m_secondProgram, env);
        QVERIFY2(second->waitForFinished(kProgramStepTimeoutMs), "the second start did not end");
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QVERIFY2(!QFile::exists(registry), "the second start initialised GStreamer");

        QVERIFY2(waitUntil([&] { return isViewable(window); }, kProgramStepTimeoutMs),
                 "the first window did not come back");
        QCOMPARE(qiravonMainWindows(), QStringList{window});

        if (withBus) {
            // The desktop's media controls end it as the tray menu's exit does.
            QDBusConnection client = m_bus.connect(u"client"_s);
            const QDBusMessage quit = QDBusMessage::createMethodCall(
                u"org.mpris.MediaPlayer2.qiravon"_s, u"/org/mpris/MediaPlayer2"_s,
                u"org.mpris.MediaPlayer2"_s, u"Quit"_s);
            QCOMPARE(client.call(quit).type(), QDBusMessage::ReplyMessage);
            QVERIFY2(m_first->waitForFinished(kProgramStepTimeoutMs), "Quit did not end it");
            QCOMPARE(m_first->exitCode(), 0);
        }
    }

    void aKilledPlayerDoesNotKeepTheNextFromStarting()
    {
        const QString folder = runtimeFolder(u"killed"_s);
        QVERIFY(!startFirst(folder, {}).isEmpty());
        m_first->kill();
        QVERIFY(m_first->waitForFinished(kProgramStepTimeoutMs));
        QVERIFY2(!startFirst(folder, {}).isEmpty(), "no window after a killed player");
    }

private:
    QString runtimeFolder(const QString& name)
    {
        const QString path = m_folder.filePath(name);
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    QString startFirst(const QString& folder, const QString& bus)
    {
        endProgram(m_first.get());
        m_first = startProgram(QStringLiteral(QIRAVON_EXE), programEnvironment(folder, bus));
        return waitForMainWindow();
    }

    QTemporaryDir m_folder;
    QString m_secondProgram;
    PrivateBus m_bus;
    std::vector<std::unique_ptr<QProcess>> m_desktop;
    std::unique_ptr<QProcess> m_first;
};

QTEST_GUILESS_MAIN(InstanceXvfbTest)
#include "tst_instance_xvfb.moc"

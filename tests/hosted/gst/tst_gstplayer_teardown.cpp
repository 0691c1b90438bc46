// What an old pipeline leaves behind once the player has moved on: nothing. A leak here grows
// with every double-click and every reconnect of a flaky station.

#include "hosted/gst/gstfixture.h"
#include "hosted/gst/gstsetup.h"
#include "streamserver/localradio.h"
#include "streamserver/mediafixtures.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

qsizetype openDescriptors()
{
    return QDir(u"/proc/self/fd"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size();
}

} // namespace

class TestGstPlayerTeardown : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = setUpPlayerTest(m_dir, m_media);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        m_mp3 = readFixture(m_media.mp3);
        QVERIFY(!m_mp3.isEmpty());
    }

    void oldPipelinesLeaveNoDescriptorsBehind_data()
    {
        QTest::addColumn<bool>("serverDrops");
        QTest::addColumn<int>("times");
        // A double-click on another station, and a station that keeps dropping its
        // listeners; each gives up one pipeline for a new one.
        QTest::newRow("station switches") << false << 50;
        QTest::newRow("reconnects") << true << 3;
    }

    void oldPipelinesLeaveNoDescriptorsBehind()
    {
        QFETCH(bool, serverDrops);
        QFETCH(int, times);
        LocalRadio radio;
        radio.addStream(u"/one"_s, {m_mp3, "audio/mpeg", 16000, 16000, {}, -1});
        radio.addStream(u"/two"_s, {m_mp3, "audio/mpeg", 16000, 16000, {}, -1});
        QVERIFY(radio.start());
        const quint16 port = radio.port();
        auto player = makeTestPlayer();
        QSignalSpy started(player.get(), &GstMediaPlayer::audioStarted);

        player->setURL(radio.url(u"/one"_s).toString());
        QTRY_COMPARE_WITH_TIMEOUT(started.size(), 1, kPlayTimeoutMs);
        // One pipeline playing and none being torn down: what every later moment must come
        // back to. The server's end of each connection is in this process too.
        const qsizetype playing = openDescriptors();

        for (int i = 1; i <= times; ++i) {
            if (serverDrops) {
                radio.stop();
                QVERIFY(radio.start(port));
            } else {
                player->setURL(radio.url(i % 2 ? u"/two"_s : u"/one"_s).toString());
            }
            QTRY_COMPARE_WITH_TIMEOUT(started.size(), i + 1, kPlayTimeoutMs);
            // Old pipelines stop on GStreamer's thread pool, so their descriptors close a
            // moment after the new one plays; waiting for the count rather than for a time
            // keeps this exact on a slow machine.
            if (i == 1 || i == times) {
                QTRY_VERIFY2_WITH_TIMEOUT(
                    openDescriptors() <= playing,
                    qPrintable(u"%1 open after %2, %3 at the start"_s.arg(openDescriptors())
                                   .arg(i)
                                   .arg(playing)),
                    kPlayTimeoutMs);
            }
        }
        QCOMPARE(player->state().phase, PlayerPhase::Playing);
    }

private:
    QTemporaryDir m_dir;
    MediaFixtures m_media;
    QByteArray m_mp3;
};

QTEST_GUILESS_MAIN(TestGstPlayerTeardown)
#include "tst_gstplayer_teardown.moc"

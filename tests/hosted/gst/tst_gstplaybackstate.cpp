// What the real player tells the desktop's media controls: whether it plays, and the title
// the stream sends, each change told once, against a local radio server.

#include "hosted/gst/gstfixture.h"
#include "hosted/gst/gstsetup.h"
#include "streamserver/icecastserver.h"
#include "streamserver/localradio.h"
#include "streamserver/mediafixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

class GstPlaybackStateTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = setUpPlayerTest(m_dir, m_media);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        m_radio.addStream(u"/titled"_s, {readFixture(m_media.mp3), "audio/mpeg", 16000, 16000,
                                         u"晚间新闻"_s.toUtf8(), -1});
        QVERIFY(m_radio.start());
    }

    void aStationPlaysWithItsTitleAndStopsWithout()
    {
        auto player = makeTestPlayer();
        QSignalSpy states(player.get(), &IMediaPlayer::playbackStateChanged);
        QSignalSpy titles(player.get(), &IMediaPlayer::streamTitleChanged);
        player->setURL(m_radio.url(u"/titled"_s).toString());
        QCOMPARE(player->playbackState(), PlaybackState::Opening);
        QTRY_COMPARE_WITH_TIMEOUT(player->streamTitle(), u"晚间新闻"_s, kPlayTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(player->playbackState(), PlaybackState::Playing, kPlayTimeoutMs);
        // The same title arrives again with every metadata block; it is told once.
        QTest::qWait(1500);
        QCOMPARE(titles.size(), 1);

        player->setURL(QString());
        QCOMPARE(player->playbackState(), PlaybackState::Stopped);
        QCOMPARE(player->streamTitle(), QString());
        QCOMPARE(titles.size(), 2);
        QList<PlaybackState> told;
        for (const QList<QVariant>& signal : std::as_const(states))
            told.append(signal.at(0).value<PlaybackState>());
        QCOMPARE(told.first(), PlaybackState::Opening);
        QCOMPARE(told.last(), PlaybackState::Stopped);
        QVERIFY(told.contains(PlaybackState::Playing));
        QVERIFY(std::adjacent_find(told.cbegin(), told.cend()) == told.cend());
    }

    void anAddressNothingAnswersFails()
    {
        auto player = makeTestPlayer();
        player->setURL(u"http://127.0.0.1:%1/gone"_s.arg(freePort()));
        QTRY_COMPARE_WITH_TIMEOUT(player->playbackState(), PlaybackState::Failed, kPlayTimeoutMs);
    }

private:
    QTemporaryDir m_dir;
    MediaFixtures m_media;
    LocalRadio m_radio;
};

QTEST_GUILESS_MAIN(GstPlaybackStateTest)
#include "tst_gstplaybackstate.moc"

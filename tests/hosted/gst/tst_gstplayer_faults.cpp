// The real player when things go wrong: what the status line says, and how it recovers.

#include "hosted/gst/gstfixture.h"
#include "hosted/gst/gstsetup.h"
#include "streamserver/icecastserver.h"
#include "streamserver/localradio.h"
#include "streamserver/mediafixtures.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

class TestGstPlayerFaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = setUpPlayerTest(m_dir, m_media);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        m_mp3 = readFixture(m_media.mp3);
        QVERIFY(!m_mp3.isEmpty());
        m_radio.addStream(u"/mp3"_s, {m_mp3, "audio/mpeg", 16000, 16000, {}, -1});
        // One second of audio, then silence on an open connection.
        m_radio.addStream(u"/stall"_s, {m_mp3, "audio/mpeg", 16000, 16000, {}, 16000});
        QByteArray noise(64 * 1024, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919) ^ (i >> 3));
        m_radio.addStream(u"/noise"_s, {noise, "audio/mpeg", 16000, 64 * 1024, {}, -1});
        m_radio.addFile(u"/page"_s, "<!DOCTYPE html><html><body>Radio</body></html>",
                        "text/html; charset=utf-8");
        m_radio.addStream(u"/radio.pls"_s, {m_mp3, "audio/mpeg", 16000, 16000, {}, -1});
        m_radio.addFile(u"/empty.pls"_s, "[playlist]\nNumberOfEntries=0\n", "audio/x-scpls");
        m_radio.addDirectory(u"/hls/"_s, m_media.hlsDir);
        // Three seconds of a file, and two seconds of an HLS recording that ends.
        m_radio.addFile(u"/clip.mp3"_s, m_mp3.left(48000), "audio/mpeg");
        m_radio.addFile(u"/short.m3u8"_s,
                        "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:1\n#EXTINF:1.0,\n"
                        "/hls/seg00000.ts\n#EXTINF:1.0,\n/hls/seg00001.ts\n#EXT-X-ENDLIST\n",
                        "application/vnd.apple.mpegurl");
        // A file sent at its own pace: whole, and cut off after a third, as a server that
        // dies mid-file does.
        m_radio.addStream(u"/paced.mp3"_s,
                          {m_mp3, "audio/mpeg", 16000, 16000, {}, -1, 48000, 48000});
        m_radio.addStream(u"/cut.mp3"_s,
                          {m_mp3, "audio/mpeg", 16000, 16000, {}, -1, 144000, 48000});
        QByteArray many;
        for (int i = 1; i <= 25; ++i)
            many += "/dead" + QByteArray::number(i) + "\n";
        m_radio.addFile(u"/many.m3u"_s, many, "audio/x-mpegurl");
        QVERIFY(m_radio.start());
    }

    void failuresGetAClearText_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("text");
        QTest::newRow("refused port")
            << u"http://127.0.0.1:%1/radio"_s.arg(freePort()) << u"无法连接:服务器拒绝连接"_s;
        QTest::newRow("404") << m_radio.url(u"/nothing"_s).toString()
                             << u"无法播放:电台地址不存在(404)"_s;
        QTest::newRow("html instead of audio")
            << m_radio.url(u"/page"_s).toString() << u"无法播放:该地址是网页,不是音频流"_s;
        QTest::newRow("noise sent as audio")
            << m_radio.url(u"/noise"_s).toString() << u"无法播放:不支持的流格式"_s;
        QTest::newRow("empty playlist")
            << m_radio.url(u"/empty.pls"_s).toString() << u"无法播放:播放列表里没有可用的地址"_s;
        QTest::newRow("mms") << u"mms://media.example/live"_s << u"无法播放:不支持 mms:// 地址"_s;
        QTest::newRow("not an address") << u"电台"_s << u"无法播放:电台地址无效"_s;
        QTest::newRow("empty address") << QString() << u"已停止"_s;
    }

    void failuresGetAClearText()
    {
        QFETCH(QString, url);
        QFETCH(QString, text);
        auto player = makeTestPlayer();
        player->setURL(url);
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), text, kPlayTimeoutMs);
        // A failure to open is final: nothing is retried behind the user's back.
        QTest::qWait(1500);
        QCOMPARE(player->status(), text);
        QCOMPARE(player->URL(), url);
    }

    void aStreamNamedLikeAPlaylistPlaysAfterAFailedAddress()
    {
        auto player = makeTestPlayer();
        player->setURL(m_radio.url(u"/page"_s).toString());
        QTRY_COMPARE_WITH_TIMEOUT(player->state().phase, PlayerPhase::Failed, kPlayTimeoutMs);
        // What the last address taught must not decide about this one.
        player->setURL(m_radio.url(u"/radio.pls"_s).toString());
        QTRY_VERIFY2_WITH_TIMEOUT(player->state().phase == PlayerPhase::Playing,
                                  qPrintable(player->status()), kPlayTimeoutMs);
        QCOMPARE(player->currentStream(), m_radio.url(u"/radio.pls"_s));
    }

    void aServerThatGoesAwayIsReconnectedWithGrowingDelays()
    {
        LocalRadio radio;
        radio.addStream(u"/live"_s, {m_mp3, "audio/mpeg", 16000, 16000, {}, -1});
        QVERIFY(radio.start());
        const quint16 port = radio.port();
        auto player = makeTestPlayer();
        player->setURL(radio.url(u"/live"_s).toString());
        QTRY_VERIFY_WITH_TIMEOUT(player->state().phase == PlayerPhase::Playing, kPlayTimeoutMs);

        radio.stop();
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), u"连接中断,1秒后重新连接..."_s, kPlayTimeoutMs);
        // The first retry finds the port closed; the next waits longer.
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), u"连接中断,2秒后重新连接..."_s, kPlayTimeoutMs);

        QVERIFY(radio.start(port));
        QTRY_VERIFY2_WITH_TIMEOUT(player->state().phase == PlayerPhase::Playing,
                                  qPrintable(player->status()), kPlayTimeoutMs);

        // Setting the address anew starts the delays over.
        player->setURL(radio.url(u"/live"_s).toString());
        QTRY_VERIFY_WITH_TIMEOUT(player->state().phase == PlayerPhase::Playing, kPlayTimeoutMs);
        radio.stop();
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), u"连接中断,1秒后重新连接..."_s, kPlayTimeoutMs);
    }

    void aStalledStreamIsReconnected()
    {
        auto player = makeTestPlayer();
        player->setURL(m_radio.url(u"/stall"_s).toString());
        QTRY_VERIFY_WITH_TIMEOUT(player->state().phase == PlayerPhase::Playing, kPlayTimeoutMs);
        const int before = m_radio.requests(u"/stall"_s);
        QTRY_VERIFY2_WITH_TIMEOUT(player->state().phase == PlayerPhase::Retrying,
                                  qPrintable(player->status()), kPlayTimeoutMs);
        QVERIFY(player->status().contains(u"重新连接"_s));
        QTRY_VERIFY_WITH_TIMEOUT(m_radio.requests(u"/stall"_s) > before, kPlayTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(player->state().phase == PlayerPhase::Playing, kPlayTimeoutMs);
    }

    void aFiniteStreamEndsStopped_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("file read to its Content-Length") << u"/clip.mp3"_s;
        QTest::newRow("file sent at its pace") << u"/paced.mp3"_s;
        QTest::newRow("HLS playlist with an end") << u"/short.m3u8"_s;
    }

    void aFiniteStreamEndsStopped()
    {
        QFETCH(QString, path);
        auto player = makeTestPlayer(10);
        QSignalSpy statuses(player.get(), &IMediaPlayer::statusChanged);
        player->setURL(m_radio.url(path).toString());
        QTRY_VERIFY_WITH_TIMEOUT(player->state().phase == PlayerPhase::Playing, kPlayTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), u"播放结束"_s, kPlayTimeoutMs);
        const int requests = m_radio.requests(path);
        // A reconnect would be due 10 ms after the end; half a second shows one for sure.
        QTest::qWait(500);
        QCOMPARE(player->status(), u"播放结束"_s);
        QCOMPARE(m_radio.requests(path), requests);
        for (const QList<QVariant>& status : std::as_const(statuses))
            QVERIFY2(!status.first().toString().contains(u"重新连接"_s),
                     qPrintable(status.first().toString()));
    }

    void aFileCutShortIsReconnectedNotEnded()
    {
        auto player = makeTestPlayer(10);
        QSignalSpy statuses(player.get(), &IMediaPlayer::statusChanged);
        player->setURL(m_radio.url(u"/cut.mp3"_s).toString());
        QTRY_VERIFY_WITH_TIMEOUT(player->state().phase == PlayerPhase::Playing, kPlayTimeoutMs);
        const auto reconnected = [&statuses] {
            return std::any_of(statuses.cbegin(), statuses.cend(), [](const QList<QVariant>& s) {
                return s.first().toString().startsWith(u"连接中断"_s);
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(reconnected(), kPlayTimeoutMs);
        QVERIFY(player->status() != u"播放结束"_s);
    }

    void aFailingEntryGivesWayToTheNextAndThenToAFreshPlaylist()
    {
        LocalRadio radio;
        for (const QString& path : {u"/a"_s, u"/b"_s, u"/c"_s})
            radio.addStream(path, {m_mp3, "audio/mpeg", 16000, 16000, {}, -1});
        radio.addFile(u"/rotate.m3u"_s, "/a\n/b\n", "audio/x-mpegurl");
        QVERIFY(radio.start());
        auto player = makeTestPlayer(10);
        const auto playing = [&](const QString& path) {
            return player->state().phase == PlayerPhase::Playing &&
                   player->currentStream() == radio.url(path);
        };
        player->setURL(radio.url(u"/rotate.m3u"_s).toString());
        QTRY_VERIFY2_WITH_TIMEOUT(playing(u"/a"_s), qPrintable(player->status()), kPlayTimeoutMs);

        // The playing entry goes off the air: three reconnects, then the next entry.
        const int a = radio.requests(u"/a"_s);
        radio.setBroken(u"/a"_s, true);
        QTRY_VERIFY2_WITH_TIMEOUT(playing(u"/b"_s), qPrintable(player->status()), kPlayTimeoutMs);
        QCOMPARE(radio.requests(u"/a"_s), a + kAttemptsPerEntry);

        // The last entry fails too: the playlist is fetched anew, and its addresses have moved.
        radio.addFile(u"/rotate.m3u"_s, "/c\n", "audio/x-mpegurl");
        const int b = radio.requests(u"/b"_s);
        radio.setBroken(u"/b"_s, true);
        QTRY_VERIFY2_WITH_TIMEOUT(playing(u"/c"_s), qPrintable(player->status()), kPlayTimeoutMs);
        QCOMPARE(radio.requests(u"/b"_s), b + kAttemptsPerEntry);
        QCOMPARE(radio.requests(u"/rotate.m3u"_s), 2);
    }

    void aLongPlaylistIsTriedOnlyToItsTwentiethEntry()
    {
        auto player = makeTestPlayer(10);
        player->setURL(m_radio.url(u"/many.m3u"_s).toString());
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), u"无法播放:电台地址不存在(404)"_s,
                                  kPlayTimeoutMs);
        QCOMPARE(m_radio.requests(u"/dead20"_s), 1);
        QCOMPARE(m_radio.requests(u"/dead21"_s), 0);
    }

private:
    QTemporaryDir m_dir;
    MediaFixtures m_media;
    QByteArray m_mp3;
    LocalRadio m_radio;
};

QTEST_GUILESS_MAIN(TestGstPlayerFaults)
#include "tst_gstplayer_faults.moc"

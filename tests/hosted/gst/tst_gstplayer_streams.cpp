// The real player on real streams: Icecast for MP3 and Ogg Opus, our own server for AAC, HLS,
// playlists and ICY titles.

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

class TestGstPlayerStreams : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = setUpPlayerTest(m_dir, m_media);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QString icecast = m_icecast.start();
        QVERIFY2(icecast.isEmpty(), qPrintable(icecast));

        const QByteArray mp3 = readFixture(m_media.mp3);
        m_radio.addStream(u"/mp3"_s, {mp3, "audio/mpeg", 16000, 16000, {}, -1});
        m_radio.addStream(u"/aac"_s, {readFixture(m_media.aac), "audio/aac", 16000, 16000, {}, -1});
        // "测试电台 - 晚间节目" in GBK, as Chinese stations send it.
        m_radio.addStream(u"/gbk"_s, {mp3, "audio/mpeg", 16000, 16000,
                                      "\xB2\xE2\xCA\xD4\xB5\xE7\xCC\xA8 - \xCD\xED\xBC\xE4"
                                      "\xBD\xDA\xC4\xBF",
                                      -1});
        m_radio.addStream(u"/utf8"_s,
                          {mp3, "audio/mpeg", 16000, 16000, u"测试电台 - Ünïcode"_s.toUtf8(), -1});
        // A right-to-left override and a terminal escape, which must not reach the window.
        m_radio.addStream(u"/tricks"_s, {mp3, "audio/mpeg", 16000, 16000,
                                         u"\u202E电台\u001B[2J - 节目\u2066"_s.toUtf8(), -1});
        m_radio.addDirectory(u"/hls/"_s, m_media.hlsDir);
        QVERIFY(m_radio.start());

        const QByteArray stream = m_radio.url(u"/mp3"_s).toEncoded();
        const QByteArray refused = "http://127.0.0.1:" + QByteArray::number(freePort()) + "/gone";
        m_radio.addFile(u"/list.pls"_s,
                        "[playlist]\nNumberOfEntries=2\nFile1=" + refused + "\nFile2=" + stream +
                            "\nVersion=2\n",
                        "audio/x-scpls");
        m_radio.addFile(u"/list.m3u"_s, "#EXTM3U\n#EXTINF:-1,Local\n/mp3\n", "audio/x-mpegurl");
        m_radio.addFile(u"/listen"_s, "[playlist]\nFile1=" + stream + "\n", "audio/x-scpls");
    }

    void cleanupTestCase() { m_icecast.stop(); }

    void playsEachFormat_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mp3 from icecast") << m_icecast.url(u"/mp3"_s) << u"正在播放:128K/s"_s;
        QTest::newRow("ogg opus from icecast") << m_icecast.url(u"/opus"_s) << u"正在播放"_s;
        QTest::newRow("aac") << m_radio.url(u"/aac"_s) << u"正在播放"_s;
        QTest::newRow("hls") << m_radio.url(u"/hls/radio.m3u8"_s) << u"正在播放"_s;
    }

    void playsEachFormat()
    {
        QFETCH(QUrl, url);
        QFETCH(QString, expected);
        auto player = makeTestPlayer();
        QSignalSpy started(player.get(), &GstMediaPlayer::audioStarted);
        player->setURL(url.toString());
        QCOMPARE(player->status(), u"正在连接..."_s);
        QTRY_VERIFY_WITH_TIMEOUT(!started.isEmpty(), kPlayTimeoutMs);
        QTRY_VERIFY2_WITH_TIMEOUT(player->status().startsWith(expected),
                                  qPrintable(player->status()), 5000);
        QCOMPARE(player->URL(), url.toString());
    }

    void playlistsPlayTheirFirstPlayableEntry_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("pls, first entry refused") << u"/list.pls"_s;
        QTest::newRow("m3u with a relative entry") << u"/list.m3u"_s;
        QTest::newRow("pls known only by its Content-Type") << u"/listen"_s;
    }

    void playlistsPlayTheirFirstPlayableEntry()
    {
        QFETCH(QString, path);
        auto player = makeTestPlayer();
        player->setURL(m_radio.url(path).toString());
        QTRY_VERIFY2_WITH_TIMEOUT(player->state().phase == PlayerPhase::Playing,
                                  qPrintable(player->status()), kPlayTimeoutMs);
        QCOMPARE(player->currentStream(), m_radio.url(u"/mp3"_s));
        QCOMPARE(player->URL(), m_radio.url(path).toString());
    }

    void icyTitlesDecode_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("gbk") << u"/gbk"_s << u"测试电台 - 晚间节目"_s;
        QTest::newRow("utf-8 still utf-8") << u"/utf8"_s << u"测试电台 - Ünïcode"_s;
        QTest::newRow("controls and bidi marks dropped") << u"/tricks"_s << u"电台[2J - 节目"_s;
    }

    void icyTitlesDecode()
    {
        QFETCH(QString, path);
        QFETCH(QString, title);
        auto player = makeTestPlayer();
        player->setURL(m_radio.url(path).toString());
        QTRY_COMPARE_WITH_TIMEOUT(player->state().title, title, kPlayTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), u"正在播放:128K/s "_s + title, 5000);
    }

    void aNewAddressReplacesTheStreamAndTheSameAddressReopensIt()
    {
        auto player = makeTestPlayer();
        player->setURL(m_radio.url(u"/aac"_s).toString());
        // Switch before the first stream has settled: its late messages must not leak in.
        player->setURL(m_radio.url(u"/mp3"_s).toString());
        QTRY_VERIFY_WITH_TIMEOUT(player->state().phase == PlayerPhase::Playing, kPlayTimeoutMs);
        QCOMPARE(player->currentStream(), m_radio.url(u"/mp3"_s));
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), u"正在播放:128K/s"_s, 5000);

        const int before = m_radio.requests(u"/mp3"_s);
        player->setURL(m_radio.url(u"/mp3"_s).toString());
        QCOMPARE(player->status(), u"正在连接..."_s);
        QTRY_VERIFY_WITH_TIMEOUT(player->state().phase == PlayerPhase::Playing, kPlayTimeoutMs);
        QCOMPARE(m_radio.requests(u"/mp3"_s), before + 1);
    }

    void volumeIsClampedAndSurvivesANewAddress()
    {
        auto player = makeTestPlayer();
        QCOMPARE(player->volume(), 50);
        player->setVolume(130);
        QCOMPARE(player->volume(), 100);
        player->setVolume(-4);
        QCOMPARE(player->volume(), 0);
        player->setURL(m_radio.url(u"/mp3"_s).toString());
        QCOMPARE(player->volume(), 0);
    }

private:
    QTemporaryDir m_dir;
    MediaFixtures m_media;
    IcecastServer m_icecast;
    LocalRadio m_radio;
};

QTEST_GUILESS_MAIN(TestGstPlayerStreams)
#include "tst_gstplayer_streams.moc"

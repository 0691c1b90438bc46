// The real player when things go wrong: what the status line says, and how it recovers.

#include "hosted/gst/gstfixture.h"
#include "hosted/gst/gstsetup.h"
#include "streamserver/icecastserver.h"
#include "streamserver/localradio.h"
#include "streamserver/mediafixtures.h"

#include <QFile>
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
        initGStreamer(nullptr, nullptr);
        QVERIFY(m_dir.isValid());
        const QString error = makeMediaFixtures(m_dir.path(), m_media);
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

private:
    QTemporaryDir m_dir;
    MediaFixtures m_media;
    QByteArray m_mp3;
    LocalRadio m_radio;
};

QTEST_GUILESS_MAIN(TestGstPlayerFaults)
#include "tst_gstplayer_faults.moc"

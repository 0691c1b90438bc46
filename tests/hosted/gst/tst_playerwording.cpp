#include "hosted/gst/playerstatus.h"
#include "hosted/gst/streamfailure.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace qiravon;

class TestPlayerWording : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void idleSaysNothingSoTheWindowShowsItsOwnText()
    {
        QCOMPARE(statusText(PlayerState{}), QString());
    }

    void playingShowsBitrateInTheLabelsStyleAndTheTitle()
    {
        PlayerState s;
        s.phase = PlayerPhase::Playing;
        QCOMPARE(statusText(s), u"正在播放"_s);
        s.bitrateKbps = 128;
        QCOMPARE(statusText(s), u"正在播放:128K/s"_s);
        s.title = u"夜色 - 歌手"_s;
        QCOMPARE(statusText(s), u"正在播放:128K/s 夜色 - 歌手"_s);
        s.bitrateKbps = 0;
        QCOMPARE(statusText(s), u"正在播放:夜色 - 歌手"_s);
    }

    void transientPhasesSayWhatIsHappening()
    {
        PlayerState s;
        s.phase = PlayerPhase::Connecting;
        QCOMPARE(statusText(s), u"正在连接..."_s);
        s.phase = PlayerPhase::Buffering;
        s.bufferPercent = 140; // queue2 never reports this, but the text must stay sane
        QCOMPARE(statusText(s), u"正在缓冲:100%"_s);
        s.phase = PlayerPhase::Retrying;
        s.retrySeconds = 4;
        QCOMPARE(statusText(s), u"连接中断,4秒后重新连接..."_s);
        s.phase = PlayerPhase::Stopped;
        QCOMPARE(statusText(s), u"已停止"_s);
    }

    void everyFailureHasItsOwnText()
    {
        QSet<QString> seen;
        for (int e = int(PlayerError::Refused); e <= int(PlayerError::AudioOutput); ++e) {
            PlayerState s;
            s.phase = PlayerPhase::Failed;
            s.error = PlayerError(e);
            s.httpStatus = 503;
            const QString text = statusText(s);
            QVERIFY2(text.startsWith(u"无法"_s), qPrintable(text));
            QVERIFY2(!seen.contains(text), qPrintable(text));
            seen.insert(text);
        }
        PlayerState s;
        s.phase = PlayerPhase::Failed;
        s.error = PlayerError::HttpStatus;
        s.httpStatus = 503;
        QVERIFY(statusText(s).contains(u"503"_s));
        s.error = PlayerError::MissingPlugin;
        s.missingPlugin = u"AAC decoder"_s;
        QVERIFY(statusText(s).contains(u"AAC decoder"_s));
    }

    void reconnectDelaysDoubleUpToAMinute()
    {
        QList<int> delays;
        for (int attempt = 0; attempt < 9; ++attempt)
            delays.append(reconnectDelaySeconds(attempt));
        QCOMPARE(delays, (QList<int>{1, 2, 4, 8, 16, 32, 60, 60, 60}));
        QCOMPARE(reconnectDelaySeconds(1000), 60);
        QCOMPARE(reconnectDelaySeconds(-1), 1);
    }

    void failureVerdicts_data()
    {
        QTest::addColumn<int>("httpStatus");
        QTest::addColumn<bool>("sawResponse");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("missingCaps");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("tryAsPlaylist");
        QTest::addColumn<bool>("diagnose");
        QTest::newRow("404") << 404 << true << QByteArray("text/html") << QByteArray()
                             << int(PlayerError::NotFound) << false << false;
        QTest::newRow("503") << 503 << true << QByteArray() << QByteArray()
                             << int(PlayerError::HttpStatus) << false << false;
        QTest::newRow("no response") << 0 << false << QByteArray() << QByteArray()
                                     << int(PlayerError::Refused) << false << true;
        QTest::newRow("html page")
            << 200 << true << QByteArray("text/html; charset=utf-8") << QByteArray("text/html")
            << int(PlayerError::NotAudio) << true << false;
        QTest::newRow("pls without suffix")
            << 200 << true << QByteArray("audio/x-scpls") << QByteArray("audio/x-scpls")
            << int(PlayerError::Unsupported) << true << false;
    }

    void failureVerdicts()
    {
        QFETCH(int, httpStatus);
        QFETCH(bool, sawResponse);
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, missingCaps);
        FailureFacts facts;
        facts.isHttp = true;
        facts.httpStatus = httpStatus;
        facts.sawResponse = sawResponse;
        facts.contentType = contentType;
        facts.missingCaps = missingCaps;
        facts.missingPlugin = !missingCaps.isEmpty();
        const FailureVerdict v = classifyFailure(facts);
        QTEST(int(v.error), "error");
        QTEST(v.tryAsPlaylist, "tryAsPlaylist");
        QTEST(v.diagnose, "diagnose");
    }

    void aMissingDecoderForAudioIsAMissingPluginNotAPlaylist()
    {
        FailureFacts facts;
        facts.isHttp = true;
        facts.sawResponse = true;
        facts.httpStatus = 200;
        facts.contentType = "audio/aac";
        facts.missingPlugin = true;
        facts.missingCaps = "audio/mpeg";
        const FailureVerdict v = classifyFailure(facts);
        QCOMPARE(v.error, PlayerError::MissingPlugin);
        QVERIFY(!v.tryAsPlaylist);
    }
};

QTEST_GUILESS_MAIN(TestPlayerWording)
#include "tst_playerwording.moc"

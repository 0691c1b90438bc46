#include "hosted/gst/playerstatus.h"
#include "hosted/gst/retrypolicy.h"
#include "hosted/gst/sourceguard.h"
#include "hosted/gst/streamfailure.h"
#include "hosted/gst/streamtitle.h"

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
        s.ended = true;
        QCOMPARE(statusText(s), u"播放结束"_s);
    }

    void everyFailureHasItsOwnText()
    {
        QSet<QString> seen;
        for (int e = int(PlayerError::Refused); e < int(PlayerError::Other); ++e) {
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
        // souphttpsrc gives up after 20 redirects with the last 3xx as its status.
        QTest::newRow("redirect loop") << 302 << true << QByteArray("text/plain") << QByteArray()
                                       << int(PlayerError::RedirectLoop) << false << false;
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

    void retrySteps_data()
    {
        QTest::addColumn<bool>("everPlayed");
        QTest::addColumn<bool>("fromPlaylist");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("failedAttempts");
        QTest::addColumn<bool>("hasNextEntry");
        QTest::addColumn<RetryStep>("step");
        using S = RetryStep;
        QTest::newRow("never played: next entry")
            << false << true << false << 1 << true << S::NextEntry;
        QTest::newRow("never played, last entry")
            << false << true << false << 1 << false << S::GiveUp;
        QTest::newRow("never played, a stream")
            << false << false << false << 1 << false << S::GiveUp;
        QTest::newRow("dropped while playing")
            << true << true << false << 0 << true << S::Reconnect;
        QTest::newRow("second failed reconnect")
            << true << true << false << 2 << true << S::Reconnect;
        QTest::newRow("third failed reconnect")
            << true << true << false << 3 << true << S::NextEntry;
        QTest::newRow("third, no entry left")
            << true << true << false << 3 << false << S::FetchPlaylistAgain;
        QTest::newRow("a stream keeps reconnecting")
            << true << false << false << 40 << false << S::Reconnect;
        QTest::newRow("refused: another entry")
            << true << true << true << 0 << true << S::NextEntry;
        QTest::newRow("refused: nothing else") << true << true << true << 0 << false << S::GiveUp;
        QTest::newRow("refused before playing")
            << false << false << true << 1 << false << S::GiveUp;
    }

    void retrySteps()
    {
        RetryFacts facts;
        QFETCH(bool, everPlayed);
        QFETCH(bool, fromPlaylist);
        QFETCH(bool, refused);
        QFETCH(int, failedAttempts);
        QFETCH(bool, hasNextEntry);
        facts.everPlayed = everPlayed;
        facts.fromPlaylist = fromPlaylist;
        facts.refused = refused;
        facts.failedAttempts = failedAttempts;
        facts.hasNextEntry = hasNextEntry;
        QTEST(nextRetryStep(facts), "step");
    }

    void streamTitlesAreShownAsPlainCappedText_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << u"夜色 - 歌手"_s << u"夜色 - 歌手"_s;
        QTest::newRow("bidi override") << u"abc\u202Egnp.exe"_s << u"abcgnp.exe"_s;
        QTest::newRow("isolates and marks")
            << u"\u2066A\u2069\u200E\u200F\u061CB\u2067C\u2068"_s << u"ABC"_s;
        QTest::newRow("zero width and BOM") << u"A\u200B\u200D\uFEFFB\u00AD"_s << u"AB"_s;
        QTest::newRow("C0, DEL and C1")
            << u"A\u0007\u001B[31mB\u007F\u0085C\u009B"_s << u"A[31mB C"_s;
        QTest::newRow("line breaks fold to one space")
            << u" Artist\r\n\tTitle\u2028 "_s << u"Artist Title"_s;
        QTest::newRow("tag characters (astral Cf)") << u"A\U000E0041\U000E007FB"_s << u"AB"_s;
        QTest::newRow("astral letters stay") << u"\U0001F3B5 音乐"_s << u"\U0001F3B5 音乐"_s;
        QTest::newRow("a broken surrogate pair") << (u"A"_s + QChar(0xD800) + u"B"_s) << u"AB"_s;
        QTest::newRow("only controls") << u"\u202E\u0001"_s << QString();
        QTest::newRow("capped") << QString(kMaxTitleChars + 30, u'长')
                                << QString(kMaxTitleChars, u'长') + u'…';
        QTest::newRow("exactly at the cap")
            << QString(kMaxTitleChars, u'x') << QString(kMaxTitleChars, u'x');
        // The cap counts characters, so a pair is never split.
        QString astral;
        for (int i = 0; i < kMaxTitleChars + 1; ++i)
            astral += u"\U0001F3B5"_s;
        QTest::newRow("capped between pairs") << astral << astral.left(2 * kMaxTitleChars) + u'…';
    }

    void streamTitlesAreShownAsPlainCappedText()
    {
        QFETCH(QString, raw);
        QTEST(displayTitle(raw), "shown");
    }

    void onlyNetworkUrisAreNetwork_data()
    {
        QTest::addColumn<QByteArray>("uri");
        QTest::addColumn<bool>("network");
        QTest::newRow("HTTPS") << QByteArray("HTTPS://h/s.ts") << true;
        QTest::newRow("rtsp's own packets") << QByteArray("udp://0.0.0.0:5004") << true;
        QTest::newRow("file") << QByteArray("file:///tmp/fifo") << false;
        QTest::newRow("fd") << QByteArray("fd://0") << false;
        QTest::newRow("no slashes") << QByteArray("http:/h/s") << false;
        QTest::newRow("a scheme that only starts like one") << QByteArray("httpx://h/") << false;
    }

    void onlyNetworkUrisAreNetwork()
    {
        QFETCH(QByteArray, uri);
        QTEST(gst::isNetworkUri(uri), "network");
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

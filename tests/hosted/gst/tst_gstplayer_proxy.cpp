// The real player behind a proxy: playlists, streams and the diagnosis of a silent server all
// go where the desktop's proxy settings say. The settings come from http_proxy, set here for
// this process alone.

#include "hosted/gst/gstfixture.h"
#include "hosted/gst/gstsetup.h"
#include "streamserver/icecastserver.h"
#include "streamserver/localproxy.h"
#include "streamserver/localradio.h"
#include "streamserver/mediafixtures.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

// Only the proxy knows this name (.invalid never resolves), so whatever reaches it went
// through the proxy.
const QString kHost = u"http://radio.invalid"_s;

void useProxy(quint16 port)
{
    qputenv("http_proxy", "http://127.0.0.1:" + QByteArray::number(port));
}

} // namespace

class TestGstPlayerProxy : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        qunsetenv("no_proxy");
        qunsetenv("NO_PROXY");
        const QString error = setUpPlayerTest(m_dir, m_media);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        m_radio.addStream(u"/mp3"_s,
                          {readFixture(m_media.mp3), "audio/mpeg", 16000, 16000, {}, -1});
        m_radio.addFile(u"/list.pls"_s, "[playlist]\nFile1=" + kHost.toUtf8() + "/mp3\n",
                        "audio/x-scpls");
        QVERIFY(m_radio.start());
        m_proxy = std::make_unique<LocalProxy>(m_radio.port());
        QVERIFY(m_proxy->start());
    }

    void init() { useProxy(m_proxy->port()); }

    void cleanupTestCase() { qunsetenv("http_proxy"); }

    void aPlaylistAndItsStreamGoThroughTheProxy()
    {
        auto player = makeTestPlayer();
        player->setURL(kHost + u"/list.pls"_s);
        QTRY_VERIFY2_WITH_TIMEOUT(player->state().phase == PlayerPhase::Playing,
                                  qPrintable(player->status()), kPlayTimeoutMs);
        QCOMPARE(player->currentStream(), QUrl(kHost + u"/mp3"_s));
        QVERIFY(m_proxy->requests().contains(kHost.toUtf8() + "/list.pls"));
        QVERIFY(m_proxy->requests().contains(kHost.toUtf8() + "/mp3"));
    }

    void aProxyThatRefusesIsNamed_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("stream") << u"/mp3"_s;
        QTest::newRow("playlist") << u"/list.pls"_s;
    }

    void aProxyThatRefusesIsNamed()
    {
        QFETCH(QString, path);
        useProxy(freePort());
        auto player = makeTestPlayer();
        player->setURL(kHost + path);
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), u"无法连接:代理服务器拒绝连接"_s,
                                  kPlayTimeoutMs);
    }

private:
    QTemporaryDir m_dir;
    MediaFixtures m_media;
    LocalRadio m_radio;
    std::unique_ptr<LocalProxy> m_proxy;
};

QTEST_GUILESS_MAIN(TestGstPlayerProxy)
#include "tst_gstplayer_proxy.moc"

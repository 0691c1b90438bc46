// The real player against servers that mean harm or have lost their way: network streams that
// name local files, playlists that expand or name themselves, redirects in circles.

#include "hosted/gst/gstfixture.h"
#include "hosted/gst/gstsetup.h"
#include "streamserver/localradio.h"
#include "streamserver/mediafixtures.h"

#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

// A reader blocked in open() on a FIFO counts as one, and stays blocked until a writer comes:
// once anything opened it, this sees it. Opening it here also lets such a reader go.
bool fifoHasReader(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
    if (fd < 0)
        return false; // ENXIO: nobody has it open for reading
    ::close(fd);
    return true;
}

} // namespace

class TestGstPlayerHostile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = setUpPlayerTest(m_dir, m_media);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        m_fifo = m_dir.path() + u"/segment.ts"_s;
        QCOMPARE(::mkfifo(QFile::encodeName(m_fifo).constData(), 0600), 0);
        m_radio.addDirectory(u"/hls/"_s, m_media.hlsDir);
        QVERIFY(m_radio.start());

        const QByteArray fifo = QUrl::fromLocalFile(m_fifo).toEncoded();
        const QByteArray segment = m_radio.url(u"/hls/seg00000.ts"_s).toEncoded();
        const QByteArray hls = "application/vnd.apple.mpegurl";
        // As the issue found it: a remote .m3u naming an HLS playlist whose second segment is
        // local, so the refusal comes while it plays.
        m_radio.addFile(u"/station.m3u"_s, "/segment.m3u8\n", "audio/x-mpegurl");
        m_radio.addFile(u"/segment.m3u8"_s,
                        "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\n" + segment +
                            "\n#EXTINF:1,\n" + fifo + "\n#EXT-X-ENDLIST\n",
                        hls);
        m_radio.addFile(u"/variant.m3u8"_s,
                        "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=128000\n" + fifo + "\n", hls);
        m_radio.addFile(u"/key.m3u8"_s,
                        "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXT-X-KEY:METHOD=AES-128,URI=\"" +
                            fifo + "\"\n#EXTINF:1,\n" + segment + "\n#EXT-X-ENDLIST\n",
                        hls);

        m_radio.addFile(u"/dtd.xspf"_s,
                        "<?xml version=\"1.0\"?><!DOCTYPE playlist [<!ENTITY e \"" +
                            QByteArray(4000, 'a') +
                            "\">]><playlist><trackList><track><location>http://h/&e;&e;&e;"
                            "</location></track></trackList></playlist>",
                        "application/xspf+xml");
        m_radio.addRedirect(u"/loop"_s, "/loop");
        m_radio.addRedirect(u"/loop.pls"_s, "/loop.pls");
        m_radio.addFile(u"/self.m3u"_s, "#EXTM3U\n/self.m3u\n", "audio/x-mpegurl");
        m_radio.addFile(u"/selfish"_s,
                        "[playlist]\nFile1=" + m_radio.url(u"/selfish"_s).toEncoded() + "\n",
                        "audio/x-scpls");
    }

    void cleanup()
    {
        // Lets go of anything a failing run left blocked on the FIFO.
        fifoHasReader(m_fifo);
    }

    void aNetworkStreamNeverOpensALocalFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("segment") << u"/station.m3u"_s;
        QTest::newRow("variant playlist") << u"/variant.m3u8"_s;
        QTest::newRow("decryption key") << u"/key.m3u8"_s;
    }

    void aNetworkStreamNeverOpensALocalFile()
    {
        QFETCH(QString, path);
        auto player = makeTestPlayer();
        player->setURL(m_radio.url(path).toString());
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), u"无法播放:电台试图打开本机文件,已拒绝"_s,
                                  kPlayTimeoutMs);
        // Gone, with its pipelines wound down: whatever it was going to open, it has.
        player.reset();
        QVERIFY2(!fifoHasReader(m_fifo), "the player opened the FIFO");
    }

    void failuresOfTheirOwnKindSaySo_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        QTest::newRow("playlist declaring entities")
            << u"/dtd.xspf"_s << u"无法播放:播放列表含有不安全的内容,已拒绝"_s;
        QTest::newRow("stream redirected in a circle")
            << u"/loop"_s << u"无法播放:电台地址循环重定向"_s;
        QTest::newRow("playlist redirected in a circle")
            << u"/loop.pls"_s << u"无法播放:电台地址循环重定向"_s;
        QTest::newRow("playlist naming itself")
            << u"/self.m3u"_s << u"无法播放:播放列表循环引用自身"_s;
        QTest::newRow("playlist known by its type naming itself")
            << u"/selfish"_s << u"无法播放:播放列表循环引用自身"_s;
    }

    void failuresOfTheirOwnKindSaySo()
    {
        QFETCH(QString, path);
        QFETCH(QString, text);
        auto player = makeTestPlayer();
        player->setURL(m_radio.url(path).toString());
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), text, kPlayTimeoutMs);
    }

private:
    QTemporaryDir m_dir;
    MediaFixtures m_media;
    QString m_fifo;
    LocalRadio m_radio;
};

QTEST_GUILESS_MAIN(TestGstPlayerHostile)
#include "tst_gstplayer_hostile.moc"

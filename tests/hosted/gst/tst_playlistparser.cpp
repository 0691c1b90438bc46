#include "hosted/gst/playlistparser.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace qiravon;

namespace {

const QUrl kBase(u"http://radio.example/lists/station.pls"_s);

QStringList parsed(PlaylistKind kind, const QByteArray& body)
{
    QStringList out;
    for (const QUrl& url : parsePlaylist(kind, body, kBase))
        out.append(url.toString(QUrl::FullyEncoded));
    return out;
}

} // namespace

class TestPlaylistParser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void kindFromName()
    {
        QCOMPARE(playlistKindFromUrl(QUrl(u"http://h/a.M3U"_s)), PlaylistKind::M3u);
        QCOMPARE(playlistKindFromUrl(QUrl(u"http://h/live.m3u8?token=1"_s)), PlaylistKind::Hls);
        QCOMPARE(playlistKindFromUrl(QUrl(u"http://h/a.pls"_s)), PlaylistKind::Pls);
        QCOMPARE(playlistKindFromUrl(QUrl(u"http://h/a.asx"_s)), PlaylistKind::Asx);
        QCOMPARE(playlistKindFromUrl(QUrl(u"http://h/a.xspf"_s)), PlaylistKind::Xspf);
        QCOMPARE(playlistKindFromUrl(QUrl(u"http://h/stream?f=a.pls"_s)), PlaylistKind::None);
        QCOMPARE(playlistKindFromUrl(QUrl(u"http://h/stream.mp3"_s)), PlaylistKind::None);
    }

    void kindFromContentTypeIgnoresParameters()
    {
        QCOMPARE(playlistKindFromContentType("audio/x-scpls; charset=UTF-8"), PlaylistKind::Pls);
        QCOMPARE(playlistKindFromContentType("Audio/X-MpegURL"), PlaylistKind::M3u);
        QCOMPARE(playlistKindFromContentType("application/xspf+xml"), PlaylistKind::Xspf);
        QCOMPARE(playlistKindFromContentType("video/x-ms-asf"), PlaylistKind::Asx);
        QCOMPARE(playlistKindFromContentType("audio/mpeg"), PlaylistKind::None);
    }

    void sniffTellsHlsFromAPlainM3u()
    {
        QCOMPARE(sniffPlaylist("#EXTM3U\n#EXTINF:-1,Radio\nhttp://h/s\n"), PlaylistKind::M3u);
        QCOMPARE(sniffPlaylist("\xEF\xBB\xBF#EXTM3U\r\n#EXT-X-TARGETDURATION:10\r\n"),
                 PlaylistKind::Hls);
        QCOMPARE(sniffPlaylist("  [playlist]\nFile1=http://h/s"), PlaylistKind::Pls);
        QCOMPARE(sniffPlaylist("<ASX version=\"3.0\">"), PlaylistKind::Asx);
        QCOMPARE(sniffPlaylist("<?xml version=\"1.0\"?><playlist "
                               "xmlns=\"http://xspf.org/ns/0/\">"),
                 PlaylistKind::Xspf);
        QCOMPARE(sniffPlaylist("<!DOCTYPE html><html>"), PlaylistKind::None);
        QCOMPARE(sniffPlaylist("\xFF\xFB\x90\x00 mp3 frame"), PlaylistKind::None);
    }

    void m3uKeepsOrderSkipsCommentsAndResolvesRelativeEntries()
    {
        const QByteArray body = "#EXTM3U\r\n#EXTINF:-1,一台\r\nhttp://a.example/one\r\n\r\n"
                                "two.mp3\rhttps://b.example:8443/three?x=1&y=2\n";
        QCOMPARE(parsed(PlaylistKind::M3u, body),
                 (QStringList{u"http://a.example/one"_s, u"http://radio.example/lists/two.mp3"_s,
                              u"https://b.example:8443/three?x=1&y=2"_s}));
    }

    void entriesThatWouldOpenLocalFilesAreDropped()
    {
        const QByteArray body = "file:///etc/passwd\n/etc/shadow\njavascript:alert(1)\n"
                                "mms://media.example/live\nhttp://ok.example/s\n";
        const QStringList urls = parsed(PlaylistKind::M3u, body);
        // "/etc/shadow" resolves against the playlist's own server, which is harmless.
        QCOMPARE(urls, (QStringList{u"http://radio.example/etc/shadow"_s,
                                    u"mms://media.example/live"_s, u"http://ok.example/s"_s}));
    }

    void nonAsciiBytesAreSentBackAsTheyStand()
    {
        // GBK for "电台" in a path: the server must get its own bytes back.
        const QStringList urls = parsed(PlaylistKind::M3u, "http://h.example/\xB5\xE7\xCC\xA8.mp3");
        QCOMPARE(urls, QStringList{u"http://h.example/%B5%E7%CC%A8.mp3"_s});
    }

    void plsOrdersByNumberAndToleratesCaseAndGaps()
    {
        const QByteArray body = "[playlist]\r\nNumberOfEntries=3\r\nfile3=http://h/three\r\n"
                                "Title3=x\r\nFILE1 = http://h/one \r\nFile10=http://h/ten\r\n"
                                "File1=http://h/duplicate\r\nFileX=http://h/bad\r\nVersion=2\r\n";
        QCOMPARE(parsed(PlaylistKind::Pls, body),
                 (QStringList{u"http://h/one"_s, u"http://h/three"_s, u"http://h/ten"_s}));
    }

    void asxEntitiesAreDecodedOnce()
    {
        const QByteArray body = "<asx><ref href=\"http://h/a?q=&amp;lt;b&amp;c=1\"/></asx>";
        QCOMPARE(parsed(PlaylistKind::Asx, body), QStringList{u"http://h/a?q=&lt;b&c=1"_s});
    }

    void asxTagsEndOutsideQuotes()
    {
        const QByteArray body = "<ref foo=\"a>b\" href=\"http://h/one\"><Ref\nhref = 'http://h/two'"
                                "/><ref href=\"http://h/never-closed";
        QCOMPARE(parsed(PlaylistKind::Asx, body),
                 (QStringList{u"http://h/one"_s, u"http://h/two"_s}));
    }

    void documentTypesAndEntitiesAreRefused_data()
    {
        QTest::addColumn<PlaylistKind>("kind");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("xspf, internal entity")
            << PlaylistKind::Xspf
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE playlist [<!ENTITY e \"aaaa\">]>"
                          "<playlist><trackList><track><location>http://h/&e;&e;</location>"
                          "</track></trackList></playlist>");
        QTest::newRow("xspf, bare doctype")
            << PlaylistKind::Xspf
            << QByteArray("<!DOCTYPE playlist><playlist><trackList><track><location>http://h/a"
                          "</location></track></trackList></playlist>");
        QTest::newRow("asx, entity")
            << PlaylistKind::Asx << QByteArray("<!ENTITY e \"x\"><asx><ref href=\"http://h/a\"/>");
        QTest::newRow("asx, doctype in any case")
            << PlaylistKind::Asx << QByteArray("<!doctype asx><ASX><REF HREF=\"http://h/a\"/>");
    }

    void documentTypesAndEntitiesAreRefused()
    {
        QFETCH(PlaylistKind, kind);
        QFETCH(QByteArray, body);
        const PlaylistRead read = readPlaylist(kind, body, kBase);
        QVERIFY(read.refused);
        QVERIFY(read.entries.isEmpty());
    }

    void overlongEntriesAreDropped()
    {
        const QByteArray longest = "http://h/" + QByteArray(kMaxEntryBytes - 9, 'a');
        const QByteArray tooLong = longest + 'a';
        QCOMPARE(parsePlaylist(PlaylistKind::M3u, tooLong + "\n" + longest + "\nhttp://h/b", kBase)
                     .size(),
                 2);
        const QByteArray xspf = "<playlist><trackList><track><location>" + tooLong +
                                "</location></track><track><location>http://h/b</location>"
                                "</track></trackList></playlist>";
        QCOMPARE(parsed(PlaylistKind::Xspf, xspf), QStringList{u"http://h/b"_s});
    }

    void readingStopsAtTheCap()
    {
        QByteArray m3u;
        for (int i = 0; i < 50; ++i)
            m3u += "file:///x\nhttp://h/" + QByteArray::number(i) + '\n';
        const PlaylistRead read = readPlaylist(PlaylistKind::M3u, m3u, kBase, 3);
        QCOMPARE(read.entries, (QList<QUrl>{QUrl(u"http://h/0"_s), QUrl(u"http://h/1"_s),
                                            QUrl(u"http://h/2"_s)}));
        // PLS orders by number before the cap applies.
        const PlaylistRead pls = readPlaylist(
            PlaylistKind::Pls, "File9=http://h/9\nFile2=http://h/2\nFile5=http://h/5\n", kBase, 2);
        QCOMPARE(pls.entries, (QList<QUrl>{QUrl(u"http://h/2"_s), QUrl(u"http://h/5"_s)}));
    }

    void asxAcceptsTheLooseMarkupFoundInTheWild()
    {
        const QByteArray body = "<ASX Version=\"3.0\"><Entry><Ref HREF=\"mms://h/live\"/>"
                                "<ref href='http://h/a?x=1&amp;y=2'></Entry>"
                                "<entry><REF href=http://h/b></entry>"
                                "<ENTRYREF href=\"http://h/more.asx\"/></ASX>";
        QCOMPARE(parsed(PlaylistKind::Asx, body),
                 (QStringList{u"mms://h/live"_s, u"http://h/a?x=1&y=2"_s, u"http://h/b"_s,
                              u"http://h/more.asx"_s}));
    }

    void xspfReadsTrackLocationsAndKeepsThoseBeforeAnError()
    {
        const QByteArray body =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
            "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\"><location>http://h/self"
            "</location><trackList><track><title>A</title><location>http://h/a</location>"
            "</track><track><location> http://h/b </location></track><track><location>x<";
        QCOMPARE(parsed(PlaylistKind::Xspf, body), (QStringList{u"http://h/a"_s, u"http://h/b"_s}));
    }

    void emptyOrGarbageGivesNoEntries()
    {
        QVERIFY(parsed(PlaylistKind::Pls, QByteArray()).isEmpty());
        QVERIFY(parsed(PlaylistKind::M3u, QByteArray("\xFF\xFB\x90\x00\x01\x02", 6)).isEmpty());
        QVERIFY(parsed(PlaylistKind::Xspf, "<html><body>no</body></html>").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPlaylistParser)
#include "tst_playlistparser.moc"

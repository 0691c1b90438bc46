// GStreamer set up behind the window's back: nothing of it before the first frame, a station
// double-clicked while it warms up still plays, and MP3 and AAC are decoded without libav's
// weight.
// The order of the cases matters: the first needs a process where nothing set GStreamer up.

#include "hosted/gst/gstfixture.h"
#include "hosted/gst/gstsetup.h"
#include "streamserver/localradio.h"
#include "streamserver/mediafixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gst/gst.h>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

// What decodebin picks for `caps`: decoders that take them, the highest rank first.
QString firstDecoderFor(const char* caps)
{
    GstCaps* wanted = gst_caps_from_string(caps);
    GList* decoders =
        gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_DECODER, GST_RANK_MARGINAL);
    GList* taking = gst_element_factory_list_filter(decoders, wanted, GST_PAD_SINK, FALSE);
    taking = g_list_sort(taking, gst_plugin_feature_rank_compare_func);
    const QString name = taking ? QString::fromUtf8(GST_OBJECT_NAME(taking->data)) : QString();
    gst_plugin_feature_list_free(taking);
    gst_plugin_feature_list_free(decoders);
    gst_caps_unref(wanted);
    return name;
}

} // namespace

class TestGstSetup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString error = makeMediaFixtures(m_dir.path(), m_media);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        m_mp3 = readFixture(m_media.mp3);
        QVERIFY(!m_mp3.isEmpty());
    }

    void stationPlaysWhileGStreamerWarmsUp()
    {
        // As main() does: the window comes up with GStreamer's registry not yet read.
        prepareGStreamer(nullptr, nullptr);
        QVERIFY(!gst_is_initialized());

        LocalRadio radio;
        radio.addStream(u"/mp3"_s, {m_mp3, "audio/mpeg", 16000, 16000, {}, -1});
        QVERIFY(radio.start());
        auto player = makeTestPlayer();
        QSignalSpy started(player.get(), &GstMediaPlayer::audioStarted);
        // The first frame starts the warm-up; a double-click right after it races the
        // set-up and the plug-ins loading on the other thread.
        prewarmGStreamer();
        player->setURL(radio.url(u"/mp3"_s).toString());
        QTRY_COMPARE_WITH_TIMEOUT(started.size(), 1, kPlayTimeoutMs);
        QCOMPARE(player->state().phase, PlayerPhase::Playing);
        // A second warm-up (another first paint) starts nothing new.
        prewarmGStreamer();
    }

    void commonCodecsAreDecodedWithoutLibav_data()
    {
        QTest::addColumn<QByteArray>("caps");
        QTest::addColumn<QString>("decoder");
        QTest::newRow("mp3") << QByteArray("audio/mpeg, mpegversion=(int)1, layer=(int)3, "
                                           "rate=(int)44100, channels=(int)2, parsed=(boolean)true")
                             << u"mpg123audiodec"_s;
        QTest::newRow("aac") << QByteArray("audio/mpeg, mpegversion=(int)4, stream-format=(string)"
                                           "adts, rate=(int)44100, channels=(int)2, "
                                           "framed=(boolean)true")
                             << u"faad"_s;
    }
    void commonCodecsAreDecodedWithoutLibav()
    {
        QFETCH(QByteArray, caps);
        QFETCH(QString, decoder);
        initGStreamer(nullptr, nullptr);
        // libav decodes both as well and ranks alike, but brings some 80 libraries and 25 MB
        // along; the light decoders must win the tie.
        if (!gst_registry_check_feature_version(gst_registry_get(), decoder.toUtf8().constData(), 1,
                                                0, 0))
            QSKIP("that decoder is not installed");
        QCOMPARE(firstDecoderFor(caps.constData()), decoder);
    }

    void playingMp3AndHlsNeverLoadsLibav()
    {
        initGStreamer(nullptr, nullptr);
        LocalRadio radio;
        radio.addStream(u"/mp3"_s, {m_mp3, "audio/mpeg", 16000, 16000, {}, -1});
        radio.addDirectory(u"/hls/"_s, m_media.hlsDir);
        QVERIFY(radio.start());
        for (const QString& path : {u"/mp3"_s, u"/hls/radio.m3u8"_s}) {
            auto player = makeTestPlayer();
            QSignalSpy started(player.get(), &GstMediaPlayer::audioStarted);
            player->setURL(radio.url(path).toString());
            QTRY_COMPARE_WITH_TIMEOUT(started.size(), 1, kPlayTimeoutMs);
        }
        GstPlugin* libav = gst_registry_find_plugin(gst_registry_get(), "libav");
        if (!libav)
            QSKIP("libav is not installed, so nothing can load it");
        const bool loaded = gst_plugin_is_loaded(libav);
        gst_object_unref(libav);
        QVERIFY(!loaded);
    }

private:
    QTemporaryDir m_dir;
    MediaFixtures m_media;
    QByteArray m_mp3;
};

QTEST_GUILESS_MAIN(TestGstSetup)
#include "tst_gstsetup.moc"

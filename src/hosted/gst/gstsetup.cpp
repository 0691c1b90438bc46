#include "hosted/gst/gstsetup.h"

#include "hosted/gst/log.h"
#include "hosted/gst/playbintuning.h"
#include "hosted/gst/sourceguard.h"

#include <QByteArray>
#include <atomic>
#include <gst/gst.h>
#include <mutex>

namespace qiravon {

namespace {

std::once_flag g_initOnce;

void setUp(int* argc, char*** argv)
{
    gst_init(argc, argv);
    // Before any plug-in loads or pipeline runs, as GStreamer's hooks require.
    gst::installSourceGuard();
    gst::preferLightDecoders();
}

bool hasGstOption(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrncmp(argv[i], "--gst-", 6) == 0)
            return true;
    }
    return false;
}

gpointer prewarm(gpointer)
{
    // Reading the registry takes about 10 ms, and seconds when a plug-in changed since the
    // last run; off the window's thread either way.
    gst::ensureGStreamer();
    // In the order a station needs them, so a double-click that comes meanwhile waits for
    // little: loading holds a lock that a pipeline needing an unloaded plug-in waits for.
    static const char* const plugins[] = {
        // Every stream: playbin, type finding, HTTP with ICY titles, MP3, the output.
        "coreelements", "playback", "typefindfunctions", "soup", "icydemux", "audioparsers",
        "mpg123", "audioconvert", "audioresample", "volume", "autodetect", "pulseaudio", "alsa",
        // HLS, which most stations send, and the AAC in nearly every HLS stream.
        "hls", "adaptivedemux2", "mpegtsdemux", "faad",
        // The rest. Not libav: it is loaded only for a stream that needs it (see
        // preferLightDecoders), as it costs the process 25 MB or more.
        "ogg", "opus", "vorbis"};
    for (const char* name : plugins) {
        if (GstPlugin* plugin = gst_plugin_load_by_name(name))
            gst_object_unref(plugin);
    }
    qCDebug(lcPlayer, "GStreamer is warm");
    return nullptr;
}

void prepareEnvironment()
{
    // Chinese stations send their ICY titles in GBK; valid UTF-8 is still taken as UTF-8.
    if (qEnvironmentVariableIsEmpty("GST_ICY_TAG_ENCODING"))
        qputenv("GST_ICY_TAG_ENCODING", "GBK");
}

} // namespace

void initGStreamer(int* argc, char*** argv)
{
    prepareEnvironment();
    std::call_once(g_initOnce, setUp, argc, argv);
}

void prepareGStreamer(int* argc, char*** argv)
{
    prepareEnvironment();
    if (argc && argv && hasGstOption(*argc, *argv))
        std::call_once(g_initOnce, setUp, argc, argv);
}

void prewarmGStreamer()
{
    static std::atomic<bool> started{false};
    if (started.exchange(true))
        return;
    qCDebug(lcPlayer, "warming GStreamer up");
    g_thread_unref(g_thread_new("qiravon-prewarm", prewarm, nullptr));
}

namespace gst {

void ensureGStreamer()
{
    std::call_once(g_initOnce, setUp, nullptr, nullptr);
}

} // namespace gst

} // namespace qiravon

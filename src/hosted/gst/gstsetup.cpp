#include "hosted/gst/gstsetup.h"

#include "hosted/gst/sourceguard.h"

#include <QByteArray>
#include <gst/gst.h>

namespace qiravon {

void initGStreamer(int* argc, char*** argv)
{
    // Chinese stations send their ICY titles in GBK; valid UTF-8 is still taken as UTF-8.
    if (qEnvironmentVariableIsEmpty("GST_ICY_TAG_ENCODING"))
        qputenv("GST_ICY_TAG_ENCODING", "GBK");
    gst_init(argc, argv);
    // Before any plug-in loads or pipeline runs, as GStreamer's hooks require.
    gst::installSourceGuard();

    // Loading the plug-ins a station needs costs a cold start a quarter of a second (libav
    // alone about 170 ms); done on a thread of its own while the window comes up, the first
    // double-click no longer pays it. Loading is thread-safe and idempotent.
    g_thread_unref(g_thread_new(
        "qiravon-preload",
        [](gpointer) -> gpointer {
            static const char* const plugins[] = {
                "coreelements", "playback",     "typefindfunctions",
                "soup",         "icydemux",     "audioparsers",
                "libav",        "ogg",          "opus",
                "vorbis",       "hls",          "adaptivedemux2",
                "mpegtsdemux",  "audioconvert", "audioresample",
                "volume",       "autodetect",   "pulseaudio",
                "alsa"};
            for (const char* name : plugins)
                if (GstPlugin* plugin = gst_plugin_load_by_name(name))
                    gst_object_unref(plugin);
            return nullptr;
        },
        nullptr));
}

} // namespace qiravon

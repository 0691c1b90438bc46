#include "hosted/gst/playbintuning.h"

#include "hosted/gst/gstptr.h"

#include <QtGlobal>
#include <cstring>

namespace qiravon::gst {

namespace {

// The queue between a network source and its decoder. playbin sizes it for two seconds, but
// we start playing at once instead of waiting for it to fill (start-up is what listeners
// notice), so what a server sends ahead at connect (the burst, usually two seconds or more)
// is split between this queue and the decoded-audio queue of one second after it, and this
// one never fills. A queue that never fills reads every network packet the moment it
// arrives, each read a round trip through libsoup's thread: about a quarter of the CPU
// of playing a 128 kbps stream. Shorter than what the burst leaves it, the queue stays full,
// the source reads only as fast as audio plays, several packets at a time, and what the
// burst sent beyond it waits in the socket, just as available when the network stalls.
constexpr guint64 kNetworkQueue = 500 * GST_MSECOND;

bool madeBy(GstElement* element, const char* factoryName)
{
    GstElementFactory* factory = element ? gst_element_get_factory(element) : nullptr;
    return factory && std::strcmp(GST_OBJECT_NAME(factory), factoryName) == 0;
}

void onElementSetup(GstElement*, GstElement* element, gpointer)
{
    // uridecodebin puts its queue2 only behind a network source that is not HLS or DASH:
    // adaptive streams buffer whole segments elsewhere and are left alone.
    if (madeBy(element, "queue2") && madeBy(GST_ELEMENT_PARENT(element), "uridecodebin"))
        g_object_set(element, "max-size-time", kNetworkQueue, nullptr);
}

} // namespace

void limitNetworkQueue(GstElement* playbin)
{
    // uridecodebin sizes its queue before adding it; this runs after, so it has the last word.
    g_signal_connect(playbin, "element-setup", G_CALLBACK(onElementSetup), nullptr);
}

void preferLightDecoders()
{
    // libav decodes MP3 and AAC as well as mpg123 and faad do, but loading it maps some 80
    // libraries (video codecs, filters, speech voices) and 25 MB or more that a radio never
    // uses. With the light decoders one rank above it, libav is loaded only for a stream
    // nothing else decodes (WMA, say). mpg123 also takes about a fifth less CPU. A user's own
    // GST_PLUGIN_FEATURE_RANK has the last word.
    if (qEnvironmentVariableIsSet("GST_PLUGIN_FEATURE_RANK"))
        return;
    for (const char* name : {"mpg123audiodec", "faad"}) {
        GstPluginFeature* feature =
            gst_registry_find_feature(gst_registry_get(), name, GST_TYPE_ELEMENT_FACTORY);
        if (!feature)
            continue;
        if (gst_plugin_feature_get_rank(feature) <= GST_RANK_PRIMARY)
            gst_plugin_feature_set_rank(feature, GST_RANK_PRIMARY + 1);
        gst_object_unref(feature);
    }
}

} // namespace qiravon::gst

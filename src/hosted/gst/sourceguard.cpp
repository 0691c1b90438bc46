#include "hosted/gst/sourceguard.h"

#include "hosted/gst/log.h"

#include <algorithm>
#include <gst/gst.h>
#include <mutex>
#include <vector>

namespace qiravon::gst {

namespace {

// udp and rtp are here for what RTSP's source makes inside itself; like srt and rist they
// read packets from the network and nothing else.
bool isNetworkScheme(QByteArrayView scheme)
{
    static constexpr const char* network[] = {
        "http",   "https",  "icy",    "icyx", "rtsp",  "rtspu", "rtspt", "rtsph", "rtsps",
        "rtspsu", "rtspst", "rtspsh", "rtmp", "rtmps", "rtmpt", "rtmpe", "rtmfp", "rtmpte",
        "rtmpts", "mms",    "mmsh",   "mmst", "mmsu",  "udp",   "rtp",   "srt",   "rist"};
    return std::any_of(std::begin(network), std::end(network), [scheme](const char* name) {
        return scheme.compare(QByteArrayView(name), Qt::CaseInsensitive) == 0;
    });
}

bool isSourceElement(GstElement* element)
{
    if (GST_IS_URI_HANDLER(element) &&
        gst_uri_handler_get_uri_type(GST_URI_HANDLER(element)) == GST_URI_SRC)
        return true;
    // A bin carries the flag of the sources inside it, which are checked themselves.
    return GST_OBJECT_FLAG_IS_SET(element, GST_ELEMENT_FLAG_SOURCE) && !GST_IS_BIN(element);
}

// The URI a source would open; for a URI source not told one yet, its protocols stand for it.
// A source that is no URI handler reads something of its own choosing: never the network.
bool mayOpen(GstElement* element, QByteArray& uri)
{
    if (!GST_IS_URI_HANDLER(element)) {
        uri = G_OBJECT_TYPE_NAME(element);
        return false;
    }
    GstURIHandler* handler = GST_URI_HANDLER(element);
    gchar* current = gst_uri_handler_get_uri(handler);
    uri = QByteArray(current ? current : "");
    g_free(current);
    if (!uri.isEmpty())
        return isNetworkUri(uri);
    const gchar* const* protocols = gst_uri_handler_get_protocols(handler);
    for (; protocols && *protocols; ++protocols) {
        if (!isNetworkScheme(QByteArrayView(*protocols))) {
            uri = QByteArray(*protocols) + ':';
            return false;
        }
    }
    return true;
}

gboolean refuseActivation(GstPad*, GstObject*)
{
    return FALSE;
}

gboolean refuseActivationMode(GstPad*, GstObject*, GstPadMode, gboolean active)
{
    return !active; // going down is always allowed
}

void blankString(GstElement* element, const char* name)
{
    GParamSpec* property = g_object_class_find_property(G_OBJECT_GET_CLASS(element), name);
    if (property && G_PARAM_SPEC_VALUE_TYPE(property) == G_TYPE_STRING &&
        (property->flags & G_PARAM_WRITABLE))
        g_object_set(element, name, "", nullptr);
}

// Three locks on one door: a parent's state changes pass it by, a state change of its own
// fails where sources open (activating their pads), and sources that open on the way to
// READY find nothing to open.
void stop(GstElement* element)
{
    gst_element_set_locked_state(element, TRUE);
    GstIterator* it = gst_element_iterate_pads(element);
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
        GstPad* pad = GST_PAD(g_value_get_object(&item));
        gst_pad_set_activate_function(pad, refuseActivation);
        gst_pad_set_activatemode_function(pad, refuseActivationMode);
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    blankString(element, "location");
    blankString(element, "device");
}

std::mutex g_scopesMutex;
std::vector<const NetworkScope*> g_scopes;

bool insidePipeline(GstElement* element)
{
    GstObject* top = GST_OBJECT(gst_object_ref(element));
    while (GstObject* parent = gst_object_get_parent(top)) {
        gst_object_unref(top);
        top = parent;
    }
    const bool inside = GST_IS_PIPELINE(top);
    gst_object_unref(top);
    return inside;
}

void onStateChange(GObject*, GstClockTime, GstElement* element, GstStateChange transition)
{
    if (transition != GST_STATE_CHANGE_NULL_TO_READY &&
        transition != GST_STATE_CHANGE_READY_TO_PAUSED)
        return;
    // Elements inside a pipeline are checked by their pipeline, which knows its station.
    if (!isSourceElement(element) || insidePipeline(element))
        return;
    std::lock_guard lock(g_scopesMutex);
    if (g_scopes.empty())
        return;
    const QByteArray uri = refuseLocalSource(element);
    if (uri.isEmpty())
        return;
    qCWarning(lcPlayer, "refused a source outside the pipeline: %s", uri.constData());
    for (const NetworkScope* scope : g_scopes)
        scope->tell(uri);
}

} // namespace

bool isNetworkUri(QByteArrayView uri)
{
    const qsizetype colon = uri.indexOf(':');
    return colon > 0 && uri.sliced(colon).startsWith("://") && isNetworkScheme(uri.first(colon));
}

QByteArray refuseLocalSource(GstElement* element)
{
    // Stopped once is stopped for good; its blanked location would only confuse a second look.
    static const GQuark stopped = g_quark_from_static_string("qiravon-source-refused");
    if (!isSourceElement(element) || g_object_get_qdata(G_OBJECT(element), stopped))
        return {};
    QByteArray uri;
    if (mayOpen(element, uri))
        return {};
    stop(element);
    g_object_set_qdata(G_OBJECT(element), stopped, GINT_TO_POINTER(1));
    return uri.isEmpty() ? QByteArray("?") : uri;
}

void installSourceGuard()
{
    static const bool installed = [] {
        // A tracer of our own, registered for the one hook it needs; GStreamer keeps it.
        GTypeInfo info{};
        info.class_size = sizeof(GstTracerClass);
        info.instance_size = sizeof(GstTracer);
        const GType type =
            g_type_register_static(GST_TYPE_TRACER, "QiravonSourceGuard", &info, GTypeFlags(0));
        auto* tracer = static_cast<GstTracer*>(gst_object_ref_sink(g_object_new(type, nullptr)));
        gst_tracing_register_hook(tracer, "element-change-state-pre", G_CALLBACK(onStateChange));
        gst_object_unref(tracer);
        return true;
    }();
    Q_UNUSED(installed);
}

NetworkScope::NetworkScope(Refused refused) : m_refused(std::move(refused))
{
    std::lock_guard lock(g_scopesMutex);
    g_scopes.push_back(this);
}

NetworkScope::~NetworkScope()
{
    std::lock_guard lock(g_scopesMutex);
    g_scopes.erase(std::remove(g_scopes.begin(), g_scopes.end(), this), g_scopes.end());
}

} // namespace qiravon::gst

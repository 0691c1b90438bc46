#include "hosted/gst/pipeline.h"

#include "hosted/gst/gstptr.h"
#include "hosted/gst/gstsetup.h"
#include "hosted/gst/log.h"
#include "hosted/gst/playbintuning.h"
#include "hosted/gst/sourceguard.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <atomic>
#include <cstring>
#include <gst/audio/streamvolume.h>
#include <mutex>
#include <optional>

namespace qiravon::gst {

//! Shared by the bus handler and the sink probe of one pipeline, which run on GStreamer's
//! threads, and the player, which detaches it before letting the pipeline go so nothing is
//! posted to a player that is gone.
class Relay
{
public:
    Relay(QObject* target, quint64 generation) : m_target(target), m_generation(generation) {}
    // The scope calls back into this relay; it goes first, before what it would use.
    ~Relay() { scope.reset(); }
    Relay(const Relay&) = delete;
    Relay& operator=(const Relay&) = delete;
    void post(QEvent* event);
    void detach();
    [[nodiscard]] quint64 generation() const { return m_generation; }

    std::atomic<quint64> buffers{0}; //!< decoded buffers that reached the sink
    std::atomic<qint64> firstNs{-1}; //!< g_get_monotonic_time() of the first, in ns
    //! Of the second: a synchronising sink holds the first until the pipeline plays.
    std::atomic<qint64> secondNs{-1};
    //! Orders the start and the teardown, which the thread pool may run side by side.
    std::mutex stateMutex;
    bool stopped = false;
    //! The element whose ts-offset moves the first audio to the start; set once, before
    //! the pipeline starts.
    ElementPtr syncElement;

    //! Set before the pipeline starts: it plays a network address, so nothing it adds may
    //! open a local file or device.
    bool network = false;
    //! An adaptive demuxer (HLS, DASH) plays: it ends the stream only at its playlist's end.
    std::atomic<bool> adaptive{false};
    std::atomic<quint64> bodyBytes{0}; //!< bytes the main source delivered
    //! The main source delivered all the bytes its response announced.
    std::atomic<bool> bodyComplete{false};
    //! Registers a network pipeline with the guard of sources made outside any pipeline.
    std::optional<NetworkScope> scope;
    //! Says once that a source was refused; later refusals of the same attempt add nothing.
    void refuse(const QByteArray& uri);

private:
    std::mutex m_mutex;
    QObject* m_target;
    const quint64 m_generation;
    std::atomic<bool> m_refused{false};
};

namespace {

// playbin's GstPlayFlags are not in a public header.
constexpr guint kPlayFlagAudio = 1u << 1;
constexpr guint kPlayFlagSoftVolume = 1u << 4;

std::atomic<int> g_teardowns{0};

using RelayRef = std::shared_ptr<Relay>;

void deleteRelayRef(gpointer data)
{
    delete static_cast<RelayRef*>(data);
}

void deleteRelayRefClosure(gpointer data, GClosure*)
{
    deleteRelayRef(data);
}

GstBusSyncReply onBusMessage(GstBus*, GstMessage* message, gpointer data)
{
    // A sync handler that answers DROP owns the message. Each message holds its source
    // element, so one never released keeps that element, and through the pipeline's own
    // messages the whole playbin with its bus and sockets, alive after teardown.
    const MessagePtr owned{message};
    const RelayRef& relay = *static_cast<RelayRef*>(data);
    // Only what the player acts on crosses to its thread. queue2 reports its level many
    // times a second while a network stream plays, and the player ignores it once audio
    // flows, so waking the UI thread for it would only cost CPU.
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_BUFFERING:
        if (relay->buffers.load() > 0)
            return GST_BUS_DROP;
        break;
    case GST_MESSAGE_ERROR:
    case GST_MESSAGE_EOS:
    case GST_MESSAGE_TAG:
    case GST_MESSAGE_ELEMENT:
        break;
    default:
        return GST_BUS_DROP;
    }
    // Decoded here, on the thread that posted it: the message itself never leaves GStreamer.
    if (std::optional<BusReport> report = decodeBusMessage(message)) {
        if (report->kind == BusReport::Kind::EndOfStream)
            report->finite = relay->adaptive.load() || relay->bodyComplete.load();
        relay->post(new BusEvent(relay->generation(), std::move(*report)));
    }
    return GST_BUS_DROP;
}

// Every element playbin adds, however deep, passes here before it changes state: the one
// place where a demuxer's own sources (HLS segments) can be stopped before they open.
void onElementSetup(GstElement*, GstElement* element, gpointer data)
{
    Relay& relay = **static_cast<RelayRef*>(data);
    if (GstElementFactory* factory = gst_element_get_factory(element)) {
        const gchar* klass = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS);
        if (klass && std::strstr(klass, "Demuxer/Adaptive"))
            relay.adaptive = true;
    }
    if (!relay.network)
        return;
    if (const QByteArray uri = refuseLocalSource(element); !uri.isEmpty()) {
        qCWarning(lcPlayer, "refused a source of a network stream: %s", uri.constData());
        relay.refuse(uri);
    }
}

// Counts what the main source delivers, and at its end whether that was all its response
// announced: an HTTP body read to its Content-Length is a finished file, one cut short or
// without a length is a stream that dropped.
GstPadProbeReturn onSourceData(GstPad* pad, GstPadProbeInfo* info, gpointer data)
{
    Relay& relay = **static_cast<RelayRef*>(data);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) {
        relay.bodyBytes += gst_buffer_get_size(GST_PAD_PROBE_INFO_BUFFER(info));
    } else if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER_LIST) {
        relay.bodyBytes += gst_buffer_list_calculate_size(GST_PAD_PROBE_INFO_BUFFER_LIST(info));
    } else if (GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
               event && GST_EVENT_TYPE(event) == GST_EVENT_EOS) {
        gint64 size = -1;
        if (ElementPtr source{gst_pad_get_parent_element(pad)};
            source && gst_element_query_duration(source.get(), GST_FORMAT_BYTES, &size) &&
            size > 0 && relay.bodyBytes.load() >= static_cast<quint64>(size))
            relay.bodyComplete = true;
    }
    return GST_PAD_PROBE_OK;
}

void onSourceSetup(GstElement*, GstElement* source, gpointer data)
{
    const RelayRef& relay = *static_cast<RelayRef*>(data);
    if (PadPtr pad{gst_element_get_static_pad(source, "src")}) {
        gst_pad_add_probe(pad.get(),
                          static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER |
                                                       GST_PAD_PROBE_TYPE_BUFFER_LIST |
                                                       GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                          onSourceData, new RelayRef(relay), deleteRelayRef);
    }
}

// Streams often begin with a timestamp past the segment's start (HLS segments by 125 ms or
// more), which a synchronising sink would sit out in silence. Starting the clock at the first
// decoded audio is what a listener expects; later timing is untouched.
void skipLeadingGap(GstPad* pad, GstBuffer* buffer, GstElement* sink)
{
    if (!sink || !GST_BUFFER_PTS_IS_VALID(buffer))
        return;
    GstEvent* event = gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0);
    if (!event)
        return;
    const GstSegment* segment = nullptr;
    gst_event_parse_segment(event, &segment);
    if (segment->format == GST_FORMAT_TIME) {
        const guint64 runningTime =
            gst_segment_to_running_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
        // A gap of seconds is a stream's own business, not start-up slack.
        if (runningTime != GST_CLOCK_TIME_NONE && runningTime > 0 && runningTime < GST_SECOND)
            g_object_set(sink, "ts-offset", -static_cast<gint64>(runningTime), nullptr);
    }
    gst_event_unref(event);
}

GstPadProbeReturn onSinkBuffer(GstPad* pad, GstPadProbeInfo* info, gpointer data)
{
    const RelayRef& relay = *static_cast<RelayRef*>(data);
    const quint64 seen = relay->buffers.fetch_add(1);
    if (seen == 0) {
        skipLeadingGap(pad, GST_PAD_PROBE_INFO_BUFFER(info), relay->syncElement.get());
        const qint64 now = g_get_monotonic_time() * 1000;
        relay->firstNs.store(now);
        relay->post(new FirstAudioEvent(relay->generation(), now));
        qCDebug(lcPlayer, "first decoded audio reached the output");
    } else if (seen == 1) {
        relay->secondNs.store(g_get_monotonic_time() * 1000);
        // A synchronising sink takes its second buffer only once it plays: sound is heard.
        qCDebug(lcPlayer, "audio plays");
    }
    return GST_PAD_PROBE_OK;
}

bool hasTsOffset(GstElement* element)
{
    return g_object_class_find_property(G_OBJECT_GET_CLASS(element), "ts-offset") != nullptr;
}

// autoaudiosink and plain sinks have ts-offset themselves; a bin from a description has it
// on the sink inside.
GstElement* findSyncElement(GstElement* sink)
{
    if (hasTsOffset(sink) || !GST_IS_BIN(sink))
        return hasTsOffset(sink) ? GST_ELEMENT(gst_object_ref(sink)) : nullptr;
    GstIterator* it = gst_bin_iterate_sinks(GST_BIN(sink));
    GValue item = G_VALUE_INIT;
    GstElement* found = nullptr;
    while (!found && gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
        auto* element = GST_ELEMENT(g_value_get_object(&item));
        if (hasTsOffset(element))
            found = GST_ELEMENT(gst_object_ref(element));
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    return found;
}

GstElement* makeSink(const QString& description)
{
    const QByteArray text = description.toUtf8();
    if (GstElement* sink = gst_element_factory_make(text.constData(), nullptr))
        return sink;
    // A description such as "fakesink sync=true" for tests and measurements.
    GError* error = nullptr;
    GstElement* bin = gst_parse_bin_from_description(text.constData(), TRUE, &error);
    if (error)
        g_error_free(error);
    return bin;
}

double linearVolume(int volume)
{
    // The cubic scale makes equal steps of the slider sound like equal steps of loudness.
    return gst_stream_volume_convert_volume(GST_STREAM_VOLUME_FORMAT_CUBIC,
                                            GST_STREAM_VOLUME_FORMAT_LINEAR, volume / 100.0);
}

} // namespace

QEvent::Type BusEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

BusEvent::BusEvent(quint64 generation_, BusReport report_)
    : QEvent(eventType()), generation(generation_), report(std::move(report_))
{
}

QEvent::Type FirstAudioEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

FirstAudioEvent::FirstAudioEvent(quint64 generation_, qint64 monotonicNs_)
    : QEvent(eventType()), generation(generation_), monotonicNs(monotonicNs_)
{
}

void Relay::post(QEvent* event)
{
    std::lock_guard lock(m_mutex);
    if (m_target)
        QCoreApplication::postEvent(m_target, event);
    else
        delete event;
}

void Relay::refuse(const QByteArray& uri)
{
    if (m_refused.exchange(true))
        return;
    BusReport report;
    report.kind = BusReport::Kind::LocalRefused;
    report.errorText = QString::fromUtf8(uri);
    post(new BusEvent(m_generation, std::move(report)));
}

void Relay::detach()
{
    std::lock_guard lock(m_mutex);
    m_target = nullptr;
}

Pipeline::Pipeline(QObject* target, quint64 generation, const QString& uri,
                   const QString& sinkDescription, int volume)
    : m_relay(std::make_shared<Relay>(target, generation))
{
    // The window's process sets GStreamer up in the background; a station played before that
    // is done waits for it here.
    ensureGStreamer();
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin) {
        qCWarning(lcPlayer, "GStreamer has no playbin element");
        return;
    }
    ElementPtr owned{GST_ELEMENT(gst_object_ref_sink(playbin))};
    GstElement* sink = makeSink(sinkDescription);
    if (!sink) {
        qCWarning(lcPlayer, "cannot make the audio output %ls", qUtf16Printable(sinkDescription));
        return;
    }
    m_playbin = owned.release();
    // Audio only: a radio has nothing to show, and no video sink means no window.
    g_object_set(m_playbin, "flags", kPlayFlagAudio | kPlayFlagSoftVolume, "audio-sink", sink,
                 "volume", linearVolume(volume), "uri", uri.toUtf8().constData(), nullptr);

    limitNetworkQueue(m_playbin);

    m_relay->syncElement.reset(findSyncElement(sink));
    if (PadPtr pad{gst_element_get_static_pad(sink, "sink")}) {
        gst_pad_add_probe(pad.get(), GST_PAD_PROBE_TYPE_BUFFER, onSinkBuffer, new RelayRef(m_relay),
                          deleteRelayRef);
    }
    BusPtr bus{gst_element_get_bus(m_playbin)};
    gst_bus_set_sync_handler(bus.get(), onBusMessage, new RelayRef(m_relay), deleteRelayRef);

    m_relay->network = isNetworkUri(uri.toUtf8());
    if (m_relay->network) {
        Relay* relay = m_relay.get();
        m_relay->scope.emplace([relay](const QByteArray& refused) { relay->refuse(refused); });
    }
    g_signal_connect_data(m_playbin, "element-setup", G_CALLBACK(onElementSetup),
                          new RelayRef(m_relay), deleteRelayRefClosure, GConnectFlags(0));
    g_signal_connect_data(m_playbin, "source-setup", G_CALLBACK(onSourceSetup),
                          new RelayRef(m_relay), deleteRelayRefClosure, GConnectFlags(0));
}

Pipeline::~Pipeline()
{
    m_relay->detach();
    if (!m_playbin)
        return;
    // Ours goes when this returns; the thread pool holds its own reference until the state
    // change is done, so a source stuck on a dead connection delays only that thread.
    const ElementPtr ours{m_playbin};
    ++g_teardowns;
    gst_element_call_async(
        m_playbin,
        [](GstElement* element, gpointer data) {
            Relay& relay = **static_cast<RelayRef*>(data);
            {
                std::lock_guard lock(relay.stateMutex);
                relay.stopped = true;
                gst_element_set_state(element, GST_STATE_NULL);
                // The sink's pad holds the relay through its probe; letting go of the sink
                // here breaks that cycle. Nothing streams any more to read it.
                relay.syncElement.reset();
            }
            --g_teardowns;
        },
        new RelayRef(m_relay), deleteRelayRef);
}

void Pipeline::start()
{
    if (!m_playbin)
        return;
    // Straight to PLAYING and never paused for buffering: a live stream starts as soon as
    // audio decodes, and the queue fills while it plays.
    gst_element_call_async(
        m_playbin,
        [](GstElement* element, gpointer data) {
            Relay& relay = **static_cast<RelayRef*>(data);
            std::lock_guard lock(relay.stateMutex);
            if (!relay.stopped)
                gst_element_set_state(element, GST_STATE_PLAYING);
        },
        new RelayRef(m_relay), deleteRelayRef);
}

void Pipeline::setVolume(int volume)
{
    if (m_playbin)
        g_object_set(m_playbin, "volume", linearVolume(volume), nullptr);
}

quint64 Pipeline::generation() const
{
    return m_relay->generation();
}

quint64 Pipeline::buffersAtSink() const
{
    return m_relay->buffers.load();
}

qint64 Pipeline::firstAudioNs() const
{
    return m_relay->firstNs.load();
}

qint64 Pipeline::secondAudioNs() const
{
    return m_relay->secondNs.load();
}

void Pipeline::drainTeardowns(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (g_teardowns.load() > 0 && !deadline.hasExpired())
        QThread::msleep(5);
}

} // namespace qiravon::gst

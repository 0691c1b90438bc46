#include "gstmediaplayer.h"

#include "connectprobe.h"
#include "gstptr.h"
#include "pipeline.h"
#include "playlistfetcher.h"

#include <gst/pbutils/missing-plugins.h>

#include <QtGlobal>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

// A playlist naming playlists naming playlists is a loop or a mistake.
constexpr int kMaxPlaylistFetches = 4;

bool isHttp(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == u"http"_s || scheme == u"https"_s;
}

bool isMms(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == u"mms"_s || scheme == u"mmsh"_s || scheme == u"mmst"_s
           || scheme == u"mmsu"_s;
}

bool isPlaylistName(PlaylistKind kind)
{
    return kind != PlaylistKind::None && kind != PlaylistKind::Hls;
}

QString audioSinkFor(const GstPlayerOptions& options)
{
    if (!options.audioSink.isEmpty())
        return options.audioSink;
    const QString fromEnv = qEnvironmentVariable("QIRAVON_AUDIO_SINK");
    return fromEnv.isEmpty() ? u"autoaudiosink"_s : fromEnv;
}

FailureFacts::Domain domainOf(GQuark domain)
{
    if (domain == GST_CORE_ERROR)
        return FailureFacts::Domain::Core;
    if (domain == GST_LIBRARY_ERROR)
        return FailureFacts::Domain::Library;
    if (domain == GST_RESOURCE_ERROR)
        return FailureFacts::Domain::Resource;
    if (domain == GST_STREAM_ERROR)
        return FailureFacts::Domain::Stream;
    return FailureFacts::Domain::Other;
}

QByteArray headerValue(const GstStructure* headers, const char* wanted)
{
    const int n = gst_structure_n_fields(headers);
    for (int i = 0; i < n; ++i) {
        const char* name = gst_structure_nth_field_name(headers, static_cast<guint>(i));
        if (g_ascii_strcasecmp(name, wanted) != 0)
            continue;
        const GValue* value = gst_structure_get_value(headers, name);
        if (G_VALUE_HOLDS_STRING(value))
            return QByteArray(g_value_get_string(value));
    }
    return {};
}

} // namespace

void initGStreamer(int* argc, char*** argv)
{
    // Chinese stations send their ICY titles in GBK; valid UTF-8 is still taken as UTF-8.
    if (qEnvironmentVariableIsEmpty("GST_ICY_TAG_ENCODING"))
        qputenv("GST_ICY_TAG_ENCODING", "GBK");
    gst_init(argc, argv);

    // Loading the plug-ins a station needs costs a cold start a quarter of a second (libav
    // alone about 170 ms); done on a thread of its own while the window comes up, the first
    // double-click no longer pays it. Loading is thread-safe and idempotent.
    g_thread_unref(g_thread_new(
        "qiravon-preload",
        [](gpointer) -> gpointer {
            static const char* const plugins[] = {
                "coreelements", "playback", "typefindfunctions", "soup", "icydemux",
                "audioparsers", "libav", "ogg", "opus", "vorbis", "hls", "adaptivedemux2",
                "mpegtsdemux", "audioconvert", "audioresample", "volume", "autodetect",
                "pulseaudio", "alsa"};
            for (const char* name : plugins)
                if (GstPlugin* plugin = gst_plugin_load_by_name(name))
                    gst_object_unref(plugin);
            return nullptr;
        },
        nullptr));
}

GstMediaPlayer::GstMediaPlayer(QObject* parent) : GstMediaPlayer(GstPlayerOptions{}, parent) {}

GstMediaPlayer::GstMediaPlayer(const GstPlayerOptions& options, QObject* parent)
    : IMediaPlayer(parent),
      m_options(options),
      m_fetcher(new PlaylistFetcher(this)),
      m_probe(new ConnectProbe(this))
{
    m_options.audioSink = audioSinkFor(options);
    m_fetcher->setTimeout(m_options.playlistTimeoutMs);
    connect(m_fetcher, &PlaylistFetcher::finished, this, &GstMediaPlayer::onFetched);
    connect(m_probe, &ConnectProbe::finished, this,
            [this](PlayerError error) { attemptFailed(error); });

    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, [this] { startAttempt(m_current); });
    m_stableTimer.setSingleShot(true);
    connect(&m_stableTimer, &QTimer::timeout, this, [this] { m_retryAttempt = 0; });
    m_watchdog.setInterval(250);
    connect(&m_watchdog, &QTimer::timeout, this, &GstMediaPlayer::checkProgress);
}

GstMediaPlayer::~GstMediaPlayer()
{
    m_pipeline.reset();
    // Let the last pipelines reach NULL before GStreamer's plug-ins are unloaded at exit.
    gst::Pipeline::drainTeardowns(2000);
}

void GstMediaPlayer::setURL(const QString& url)
{
    m_url = url;
    dropPipeline();
    m_fetcher->cancel();
    m_probe->cancel();
    m_retryTimer.stop();
    m_stableTimer.stop();
    m_retryAttempt = 0;
    m_everPlayed = false;
    m_candidates.clear();
    m_fetched.clear();
    m_failedInPlaybin.clear();
    m_fetchCount = 0;
    m_facts = FailureFacts{};
    m_current.clear();
    m_state = PlayerState{};

    const QString text = url.trimmed();
    if (text.isEmpty()) {
        setPhase(PlayerPhase::Stopped);
        return;
    }
    QUrl address(text, QUrl::TolerantMode);
    if (address.scheme().isEmpty() && text.startsWith(u'/'))
        address = QUrl::fromLocalFile(text);
    if (isMms(address)) {
        m_state.error = PlayerError::MmsUnsupported;
        setPhase(PlayerPhase::Failed);
        return;
    }
    if (!address.isValid() || address.scheme().isEmpty()) {
        m_state.error = PlayerError::InvalidAddress;
        setPhase(PlayerPhase::Failed);
        return;
    }
    openAddress(address);
}

void GstMediaPlayer::setVolume(int volume)
{
    m_volume = qBound(0, volume, 100);
    if (m_pipeline)
        m_pipeline->setVolume(m_volume);
}

qint64 GstMediaPlayer::firstAudioNs() const
{
    return m_pipeline ? m_pipeline->firstAudioNs() : -1;
}

qint64 GstMediaPlayer::secondAudioNs() const
{
    return m_pipeline ? m_pipeline->secondAudioNs() : -1;
}

void GstMediaPlayer::openAddress(const QUrl& url)
{
    if (isMms(url)) {
        attemptFailed(PlayerError::MmsUnsupported);
        return;
    }
    if (isHttp(url) && isPlaylistName(playlistKindFromUrl(url)) && !m_fetched.contains(url)
        && m_fetchCount < kMaxPlaylistFetches) {
        m_current = url;
        m_fetched.insert(url);
        ++m_fetchCount;
        setPhase(PlayerPhase::Connecting);
        m_fetcher->fetch(url, playlistKindFromUrl(url));
        return;
    }
    startAttempt(url);
}

void GstMediaPlayer::startAttempt(const QUrl& url)
{
    dropPipeline();
    m_current = url;
    m_facts = FailureFacts{};
    m_facts.isHttp = isHttp(url);
    m_attemptHasAudio = false;
    m_state.bitrateKbps = 0;
    m_state.title.clear();
    m_pipeline = std::make_unique<gst::Pipeline>(this, ++m_generation,
                                                 QString::fromUtf8(url.toEncoded()),
                                                 m_options.audioSink, m_volume);
    if (!m_pipeline->isValid()) {
        m_pipeline.reset();
        m_state.missingPlugin = u"playbin"_s;
        attemptFailed(PlayerError::MissingPlugin);
        return;
    }
    setPhase(PlayerPhase::Connecting);
    m_attemptClock.start();
    m_lastProgress.start();
    m_lastBuffers = 0;
    m_watchdog.start();
    m_pipeline->start();
}

void GstMediaPlayer::dropPipeline()
{
    // Anything the old pipeline still posts carries its generation and is ignored.
    m_pipeline.reset();
    m_watchdog.stop();
}

void GstMediaPlayer::customEvent(QEvent* event)
{
    if (event->type() == gst::BusEvent::eventType()) {
        auto* bus = static_cast<gst::BusEvent*>(event);
        if (m_pipeline && bus->generation == m_pipeline->generation())
            handleMessage(bus->message.get());
    } else if (event->type() == gst::FirstAudioEvent::eventType()) {
        auto* first = static_cast<gst::FirstAudioEvent*>(event);
        if (m_pipeline && first->generation == m_pipeline->generation())
            onFirstAudio();
    }
}

void GstMediaPlayer::handleMessage(GstMessage* message)
{
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR: onError(message); break;
    case GST_MESSAGE_EOS: onEndOfStream(); break;
    case GST_MESSAGE_BUFFERING:
        // Once audio flows the queue's level says little (a live stream's burst may never
        // fill it); a real stall is caught by the watchdog instead.
        if (!m_attemptHasAudio) {
            gint percent = 0;
            gst_message_parse_buffering(message, &percent);
            m_state.bufferPercent = percent;
            setPhase(PlayerPhase::Buffering);
        }
        break;
    case GST_MESSAGE_TAG: {
        GstTagList* tags = nullptr;
        gst_message_parse_tag(message, &tags);
        gchar* title = nullptr;
        if (gst_tag_list_get_string(tags, GST_TAG_TITLE, &title)) {
            m_state.title = QString::fromUtf8(title).simplified();
            g_free(title);
        }
        guint bitrate = 0;
        if (gst_tag_list_get_uint(tags, GST_TAG_BITRATE, &bitrate)
            || gst_tag_list_get_uint(tags, GST_TAG_NOMINAL_BITRATE, &bitrate)) {
            if (bitrate > 0)
                m_state.bitrateKbps = static_cast<int>((bitrate + 500) / 1000);
        }
        gst_tag_list_unref(tags);
        publish();
        break;
    }
    case GST_MESSAGE_ELEMENT: {
        const GstStructure* s = gst_message_get_structure(message);
        if (gst_is_missing_plugin_message(message)) {
            m_facts.missingPlugin = true;
            const GstCaps* caps = nullptr;
            if (gst_structure_get(s, "detail", GST_TYPE_CAPS, &caps, nullptr) && caps) {
                if (!gst_caps_is_empty(caps) && !gst_caps_is_any(caps))
                    m_facts.missingCaps = gst_structure_get_name(gst_caps_get_structure(caps, 0));
                gst_caps_unref(const_cast<GstCaps*>(caps));
            }
            gst::CharPtr description{gst_missing_plugin_message_get_description(message)};
            m_state.missingPlugin = QString::fromUtf8(description.get());
        } else if (s && gst_structure_has_name(s, "http-headers")) {
            guint code = 0;
            if (gst_structure_get_uint(s, "http-status-code", &code) && code > 0) {
                m_facts.sawResponse = true;
                m_facts.httpStatus = static_cast<int>(code);
            }
            GstStructure* headers = nullptr;
            if (gst_structure_get(s, "response-headers", GST_TYPE_STRUCTURE, &headers, nullptr)
                && headers) {
                m_facts.contentType = headerValue(headers, "Content-Type");
                gst_structure_free(headers);
            }
        }
        break;
    }
    default: break;
    }
}

void GstMediaPlayer::onError(GstMessage* message)
{
    GError* raw = nullptr;
    gst_message_parse_error(message, &raw, nullptr);
    const gst::ErrorPtr error{raw};
    if (error) {
        m_facts.domain = domainOf(error->domain);
        if (error->domain == GST_RESOURCE_ERROR && error->code == GST_RESOURCE_ERROR_NOT_FOUND)
            m_facts.notFound = true;
        if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN)
            m_facts.missingPlugin = true;
        if (error->domain == GST_RESOURCE_ERROR
            && (error->code == GST_RESOURCE_ERROR_OPEN_WRITE
                || error->code == GST_RESOURCE_ERROR_OPEN_READ_WRITE
                || error->code == GST_RESOURCE_ERROR_WRITE))
            m_facts.outputFailed = true;
        if (error->domain == GST_STREAM_ERROR
            && (error->code == GST_STREAM_ERROR_TYPE_NOT_FOUND
                || error->code == GST_STREAM_ERROR_CODEC_NOT_FOUND
                || error->code == GST_STREAM_ERROR_WRONG_TYPE))
            m_facts.typeNotFound = true;
    }
    const FailureFacts facts = m_facts;
    dropPipeline();
    if (m_everPlayed) {
        scheduleRetry();
        return;
    }
    const FailureVerdict verdict = classifyFailure(facts);
    if (verdict.tryAsPlaylist && !m_fetched.contains(m_current)
        && m_fetchCount < kMaxPlaylistFetches) {
        m_fetched.insert(m_current);
        m_failedInPlaybin.insert(m_current, verdict.error);
        ++m_fetchCount;
        m_fetcher->fetch(m_current, PlaylistKind::None);
        return;
    }
    if (verdict.diagnose) {
        m_probe->start(m_current);
        return;
    }
    attemptFailed(verdict.error, facts.httpStatus);
}

void GstMediaPlayer::onEndOfStream()
{
    dropPipeline();
    if (m_everPlayed && isHttp(m_current)) {
        // A radio stream has no end: the server hung up.
        scheduleRetry();
    } else if (m_everPlayed) {
        setPhase(PlayerPhase::Stopped);
    } else {
        attemptFailed(PlayerError::Unsupported);
    }
}

void GstMediaPlayer::onFirstAudio()
{
    m_attemptHasAudio = true;
    m_everPlayed = true;
    m_lastProgress.start();
    m_stableTimer.start(m_options.stableAfterMs);
    setPhase(PlayerPhase::Playing);
    Q_EMIT audioStarted();
}

void GstMediaPlayer::onFetched(const QUrl& url, const PlaylistResult& result)
{
    if (result.isStream) {
        // The address is a stream after all. If playbin already failed on it, the fetch was
        // the last idea, and playbin's verdict stands.
        if (const auto failed = m_failedInPlaybin.constFind(url);
            failed != m_failedInPlaybin.constEnd())
            attemptFailed(failed.value());
        else
            startAttempt(url);
        return;
    }
    if (result.error != PlayerError::None) {
        attemptFailed(result.error, result.httpStatus);
        return;
    }
    // Entries of a nested playlist go before the remaining entries of the outer one.
    m_candidates = result.entries + m_candidates;
    openAddress(m_candidates.takeFirst());
}

void GstMediaPlayer::attemptFailed(PlayerError error, int httpStatus)
{
    dropPipeline();
    if (m_everPlayed) {
        scheduleRetry();
        return;
    }
    if (!m_candidates.isEmpty()) {
        openAddress(m_candidates.takeFirst());
        return;
    }
    m_state.error = error;
    m_state.httpStatus = httpStatus;
    setPhase(PlayerPhase::Failed);
}

void GstMediaPlayer::scheduleRetry()
{
    dropPipeline();
    m_stableTimer.stop();
    m_state.retrySeconds = reconnectDelaySeconds(m_retryAttempt++);
    setPhase(PlayerPhase::Retrying);
    m_retryTimer.start(m_state.retrySeconds * 1000);
}

void GstMediaPlayer::checkProgress()
{
    if (!m_pipeline)
        return;
    if (m_attemptHasAudio) {
        const quint64 buffers = m_pipeline->buffersAtSink();
        if (buffers != m_lastBuffers) {
            m_lastBuffers = buffers;
            m_lastProgress.start();
        } else if (m_lastProgress.elapsed() > m_options.stallTimeoutMs) {
            scheduleRetry();
        }
    } else if (m_attemptClock.elapsed() > m_options.connectTimeoutMs) {
        attemptFailed(PlayerError::Timeout);
    }
}

void GstMediaPlayer::setPhase(PlayerPhase phase)
{
    m_state.phase = phase;
    publish();
}

void GstMediaPlayer::publish()
{
    const QString text = statusText(m_state);
    if (text == m_status)
        return;
    m_status = text;
    Q_EMIT statusChanged(m_status);
}

} // namespace qiravon

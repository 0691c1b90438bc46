#include "hosted/gst/gstmediaplayer.h"

#include "hosted/gst/busreport.h"
#include "hosted/gst/connectprobe.h"
#include "hosted/gst/log.h"
#include "hosted/gst/pipeline.h"
#include "hosted/gst/playlistfetcher.h"

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
    return scheme == u"mms"_s || scheme == u"mmsh"_s || scheme == u"mmst"_s || scheme == u"mmsu"_s;
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

PlaybackState playbackStateFor(PlayerPhase phase)
{
    switch (phase) {
    case PlayerPhase::Connecting:
    case PlayerPhase::Buffering:
    case PlayerPhase::Retrying:
        return PlaybackState::Opening;
    case PlayerPhase::Playing:
        return PlaybackState::Playing;
    case PlayerPhase::Failed:
        return PlaybackState::Failed;
    case PlayerPhase::Idle:
    case PlayerPhase::Stopped:
        break;
    }
    return PlaybackState::Stopped;
}

} // namespace

GstMediaPlayer::GstMediaPlayer(QObject* parent) : GstMediaPlayer(GstPlayerOptions{}, parent) {}

GstMediaPlayer::GstMediaPlayer(const GstPlayerOptions& options, QObject* parent)
    : IMediaPlayer(parent), m_options(options), m_fetcher(new PlaylistFetcher(this)),
      m_probe(new ConnectProbe(this))
{
    m_options.audioSink = audioSinkFor(options);
    m_fetcher->setTimeout(m_options.playlistTimeoutMs);
    connect(m_fetcher, &PlaylistFetcher::finished, this, &GstMediaPlayer::onFetched);
    connect(m_probe, &ConnectProbe::finished, this,
            [this](PlayerError error) { attemptFailed(error); });

    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, [this] { startAttempt(m_work.current); });
    m_stableTimer.setSingleShot(true);
    connect(&m_stableTimer, &QTimer::timeout, this, [this] { m_work.retryAttempt = 0; });
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
    m_work = AddressWork{};
    m_attempt = AttemptWork{};
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
    if (isHttp(url) && isPlaylistName(playlistKindFromUrl(url)) && !m_work.fetched.contains(url) &&
        m_work.fetchCount < kMaxPlaylistFetches) {
        m_work.current = url;
        m_work.fetched.insert(url);
        ++m_work.fetchCount;
        setPhase(PlayerPhase::Connecting);
        qCDebug(lcPlayer) << "fetching playlist" << url;
        m_fetcher->fetch(url, playlistKindFromUrl(url));
        return;
    }
    startAttempt(url);
}

void GstMediaPlayer::startAttempt(const QUrl& url)
{
    dropPipeline();
    m_work.current = url;
    m_attempt = AttemptWork{};
    m_attempt.facts.isHttp = isHttp(url);
    m_state.bitrateKbps = 0;
    m_state.title.clear();
    qCDebug(lcPlayer) << "opening" << url;
    m_pipeline = std::make_unique<gst::Pipeline>(
        this, ++m_generation, QString::fromUtf8(url.toEncoded()), m_options.audioSink, m_volume);
    if (!m_pipeline->isValid()) {
        m_pipeline.reset();
        m_state.missingPlugin = u"playbin"_s;
        attemptFailed(PlayerError::MissingPlugin);
        return;
    }
    setPhase(PlayerPhase::Connecting);
    m_attemptClock.start();
    m_lastProgress.start();
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
        const auto* bus = static_cast<gst::BusEvent*>(event);
        if (m_pipeline && bus->generation == m_pipeline->generation())
            handleReport(bus->report);
    } else if (event->type() == gst::FirstAudioEvent::eventType()) {
        const auto* first = static_cast<gst::FirstAudioEvent*>(event);
        if (m_pipeline && first->generation == m_pipeline->generation())
            onFirstAudio();
    }
}

void GstMediaPlayer::handleReport(const gst::BusReport& report)
{
    using Kind = gst::BusReport::Kind;
    FailureFacts& facts = m_attempt.facts;
    switch (report.kind) {
    case Kind::Error:
        onError(report);
        break;
    case Kind::EndOfStream:
        onEndOfStream();
        break;
    case Kind::Buffering:
        // Once audio flows the queue's level says little (a live stream's burst may never
        // fill it); a real stall is caught by the watchdog instead.
        if (!m_attempt.hasAudio) {
            m_state.bufferPercent = report.bufferPercent;
            setPhase(PlayerPhase::Buffering);
        }
        break;
    case Kind::Tags:
        if (report.title)
            m_state.title = report.title->simplified();
        if (report.bitrateKbps > 0)
            m_state.bitrateKbps = report.bitrateKbps;
        publish();
        break;
    case Kind::MissingPlugin:
        facts.missingPlugin = true;
        if (!report.failure.missingCaps.isEmpty())
            facts.missingCaps = report.failure.missingCaps;
        m_state.missingPlugin = report.missingPlugin;
        break;
    case Kind::HttpHeaders:
        if (report.failure.sawResponse) {
            facts.sawResponse = true;
            facts.httpStatus = report.failure.httpStatus;
        }
        facts.contentType = report.failure.contentType;
        break;
    }
}

void GstMediaPlayer::onError(const gst::BusReport& report)
{
    qCDebug(lcPlayer).nospace() << "GStreamer error on " << m_work.current << ": "
                                << report.errorText << " (" << report.debugText << ")";
    FailureFacts& facts = m_attempt.facts;
    const FailureFacts& told = report.failure;
    facts.domain = told.domain;
    facts.notFound = facts.notFound || told.notFound;
    facts.missingPlugin = facts.missingPlugin || told.missingPlugin;
    facts.outputFailed = facts.outputFailed || told.outputFailed;
    facts.typeNotFound = facts.typeNotFound || told.typeNotFound;
    const FailureFacts failed = facts;
    dropPipeline();
    if (m_work.everPlayed) {
        scheduleRetry();
        return;
    }
    const FailureVerdict verdict = classifyFailure(failed);
    if (verdict.tryAsPlaylist && !m_work.fetched.contains(m_work.current) &&
        m_work.fetchCount < kMaxPlaylistFetches) {
        qCDebug(lcPlayer) << "trying" << m_work.current << "as a playlist";
        m_work.fetched.insert(m_work.current);
        m_work.failedInPlaybin.insert(m_work.current, verdict.error);
        ++m_work.fetchCount;
        m_fetcher->fetch(m_work.current, PlaylistKind::None);
        return;
    }
    if (verdict.diagnose) {
        qCDebug(lcPlayer) << "no HTTP response; connecting to" << m_work.current.host()
                          << "to find out why";
        m_probe->start(m_work.current);
        return;
    }
    attemptFailed(verdict.error, failed.httpStatus);
}

void GstMediaPlayer::onEndOfStream()
{
    dropPipeline();
    if (m_work.everPlayed && isHttp(m_work.current)) {
        // A radio stream has no end: the server hung up.
        scheduleRetry();
    } else if (m_work.everPlayed) {
        setPhase(PlayerPhase::Stopped);
    } else {
        attemptFailed(PlayerError::Unsupported);
    }
}

void GstMediaPlayer::onFirstAudio()
{
    m_attempt.hasAudio = true;
    m_work.everPlayed = true;
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
        if (const auto failed = m_work.failedInPlaybin.constFind(url);
            failed != m_work.failedInPlaybin.constEnd())
            attemptFailed(failed.value());
        else
            startAttempt(url);
        return;
    }
    if (result.error != PlayerError::None) {
        attemptFailed(result.error, result.httpStatus);
        return;
    }
    qCDebug(lcPlayer) << "playlist" << url << "names" << result.entries.size() << "entries";
    // Entries of a nested playlist go before the remaining entries of the outer one.
    m_work.candidates = result.entries + m_work.candidates;
    openAddress(m_work.candidates.takeFirst());
}

void GstMediaPlayer::attemptFailed(PlayerError error, int httpStatus)
{
    dropPipeline();
    if (m_work.everPlayed) {
        scheduleRetry();
        return;
    }
    if (!m_work.candidates.isEmpty()) {
        qCDebug(lcPlayer) << m_work.current << "failed with" << static_cast<int>(error)
                          << "; trying the next entry";
        openAddress(m_work.candidates.takeFirst());
        return;
    }
    qCDebug(lcPlayer) << m_work.current << "failed with" << static_cast<int>(error) << "http status"
                      << httpStatus << "; giving up";
    m_state.error = error;
    m_state.httpStatus = httpStatus;
    setPhase(PlayerPhase::Failed);
}

void GstMediaPlayer::scheduleRetry()
{
    dropPipeline();
    m_stableTimer.stop();
    m_state.retrySeconds = reconnectDelaySeconds(m_work.retryAttempt++);
    qCDebug(lcPlayer) << "reconnecting to" << m_work.current << "in" << m_state.retrySeconds
                      << "s (attempt" << m_work.retryAttempt << ")";
    setPhase(PlayerPhase::Retrying);
    m_retryTimer.start(m_state.retrySeconds * 1000);
}

void GstMediaPlayer::checkProgress()
{
    if (!m_pipeline)
        return;
    if (m_attempt.hasAudio) {
        const quint64 buffers = m_pipeline->buffersAtSink();
        if (buffers != m_attempt.lastBuffers) {
            m_attempt.lastBuffers = buffers;
            m_lastProgress.start();
        } else if (m_lastProgress.elapsed() > m_options.stallTimeoutMs) {
            qCDebug(lcPlayer) << "no audio for" << m_options.stallTimeoutMs << "ms: stalled";
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
    // Every change of the state goes through here, so the state and the title are told here.
    if (const PlaybackState playback = playbackStateFor(m_state.phase);
        playback != m_playbackState) {
        m_playbackState = playback;
        Q_EMIT playbackStateChanged(playback);
    }
    if (m_state.title != m_streamTitle) {
        m_streamTitle = m_state.title;
        Q_EMIT streamTitleChanged(m_streamTitle);
    }
    const QString text = statusText(m_state);
    if (text == m_status)
        return;
    m_status = text;
    Q_EMIT statusChanged(m_status);
}

} // namespace qiravon

#include "hosted/gst/gstmediaplayer.h"

#include "hosted/gst/busreport.h"
#include "hosted/gst/connectprobe.h"
#include "hosted/gst/log.h"
#include "hosted/gst/pipeline.h"
#include "hosted/gst/playlistfetcher.h"
#include "hosted/gst/streamtitle.h"

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
    connect(&m_retryTimer, &QTimer::timeout, this, [this] { runStep(m_pendingStep); });
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
    m_work.address = address;
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
    m_work.current = url;
    if (isMms(url)) {
        attemptFailed(PlayerError::MmsUnsupported);
        return;
    }
    // Reached again from a playlist: the playlist names itself, or one that names it.
    if (m_work.fetched.contains(url)) {
        attemptFailed(PlayerError::PlaylistLoop);
        return;
    }
    if (isHttp(url) && isPlaylistName(playlistKindFromUrl(url))) {
        if (m_work.fetchCount >= kMaxPlaylistFetches) {
            attemptFailed(PlayerError::PlaylistLoop);
            return;
        }
        m_work.fetched.insert(url);
        ++m_work.fetchCount;
        fetchPlaylist(url, playlistKindFromUrl(url));
        return;
    }
    startAttempt(url);
}

void GstMediaPlayer::openNextEntry()
{
    ++m_work.entriesTried;
    m_work.failedAttempts = 0;
    openAddress(m_work.candidates.takeFirst());
}

void GstMediaPlayer::fetchPlaylist(const QUrl& url, PlaylistKind hint)
{
    dropPipeline();
    m_work.current = url;
    m_work.fetchingCurrent = true;
    m_work.fetchHint = hint;
    m_attempt = AttemptWork{};
    setPhase(PlayerPhase::Connecting);
    qCDebug(lcPlayer) << "fetching playlist" << url;
    m_fetcher->fetch(url, hint);
}

void GstMediaPlayer::startAttempt(const QUrl& url)
{
    dropPipeline();
    m_work.current = url;
    m_work.fetchingCurrent = false;
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
        onEndOfStream(report.finite);
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
            m_state.title = displayTitle(*report.title);
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
    case Kind::LocalRefused:
        qCWarning(lcPlayer).nospace()
            << m_work.current << " asked to open " << report.errorText << "; refused";
        attemptFailed(PlayerError::LocalAccess);
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
    const FailureVerdict verdict = classifyFailure(failed);
    // Once the address has played, the station is only away: no second guesses about what
    // the address is.
    if (!m_work.everPlayed) {
        if (verdict.tryAsPlaylist && !m_work.fetched.contains(m_work.current)) {
            if (m_work.fetchCount >= kMaxPlaylistFetches) {
                attemptFailed(PlayerError::PlaylistLoop);
                return;
            }
            qCDebug(lcPlayer) << "trying" << m_work.current << "as a playlist";
            m_work.fetched.insert(m_work.current);
            m_work.failedInPlaybin.insert(m_work.current, verdict.error);
            ++m_work.fetchCount;
            fetchPlaylist(m_work.current, PlaylistKind::None);
            return;
        }
        if (verdict.diagnose) {
            qCDebug(lcPlayer) << "no HTTP response; connecting to" << m_work.current.host()
                              << "to find out why";
            m_probe->start(m_work.current);
            return;
        }
    }
    attemptFailed(verdict.error, failed.httpStatus);
}

void GstMediaPlayer::onEndOfStream(bool finite)
{
    // A radio stream over HTTP has no end: unless it was a file read to its end, the server
    // hung up.
    if (m_attempt.hasAudio && (finite || !isHttp(m_work.current))) {
        dropPipeline();
        m_stableTimer.stop();
        m_state.ended = true;
        setPhase(PlayerPhase::Stopped);
        return;
    }
    attemptFailed(m_work.everPlayed ? PlayerError::Other : PlayerError::Unsupported);
}

void GstMediaPlayer::onFirstAudio()
{
    m_attempt.hasAudio = true;
    m_work.everPlayed = true;
    m_work.failedAttempts = 0;
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
    m_work.fromPlaylist = true;
    openNextEntry();
}

bool GstMediaPlayer::hasNextEntry() const
{
    return !m_work.candidates.isEmpty() && m_work.entriesTried < PlaylistFetcher::kMaxEntries;
}

void GstMediaPlayer::attemptFailed(PlayerError error, int httpStatus)
{
    const bool played = m_attempt.hasAudio;
    dropPipeline();
    m_work.failedAttempts = played ? 0 : m_work.failedAttempts + 1;
    RetryFacts facts;
    facts.everPlayed = m_work.everPlayed;
    facts.fromPlaylist = m_work.fromPlaylist;
    facts.refused = error == PlayerError::LocalAccess;
    facts.failedAttempts = m_work.failedAttempts;
    facts.hasNextEntry = hasNextEntry();
    const RetryStep step = nextRetryStep(facts);
    qCDebug(lcPlayer) << m_work.current << "failed with" << static_cast<int>(error) << "http status"
                      << httpStatus << "; next step" << static_cast<int>(step);
    if (step == RetryStep::GiveUp) {
        m_state.error = error;
        m_state.httpStatus = httpStatus;
        setPhase(PlayerPhase::Failed);
    } else if (m_work.everPlayed) {
        scheduleStep(step);
    } else {
        runStep(step);
    }
}

void GstMediaPlayer::scheduleStep(RetryStep step)
{
    m_stableTimer.stop();
    m_pendingStep = step;
    m_state.retrySeconds = reconnectDelaySeconds(m_work.retryAttempt++);
    qCDebug(lcPlayer) << "next try of" << m_work.address << "in" << m_state.retrySeconds
                      << "s (attempt" << m_work.retryAttempt << ")";
    setPhase(PlayerPhase::Retrying);
    m_retryTimer.start(m_state.retrySeconds * m_options.retryUnitMs);
}

void GstMediaPlayer::runStep(RetryStep step)
{
    switch (step) {
    case RetryStep::Reconnect:
        if (m_work.fetchingCurrent)
            fetchPlaylist(m_work.current, m_work.fetchHint);
        else
            startAttempt(m_work.current);
        break;
    case RetryStep::NextEntry:
        openNextEntry();
        break;
    case RetryStep::FetchPlaylistAgain:
        m_work.candidates.clear();
        m_work.fetched = {m_work.address};
        m_work.failedInPlaybin.clear();
        m_work.fetchCount = 1;
        m_work.entriesTried = 0;
        m_work.failedAttempts = 0;
        m_work.fromPlaylist = false;
        fetchPlaylist(m_work.address, playlistKindFromUrl(m_work.address));
        break;
    case RetryStep::GiveUp:
        break;
    }
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
            attemptFailed(PlayerError::Timeout);
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

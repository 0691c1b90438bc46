#pragma once

#include "hosted/gst/playerstatus.h"
#include "hosted/gst/playlistparser.h"
#include "hosted/gst/retrypolicy.h"
#include "hosted/gst/streamfailure.h"
#include "hosted/imediaplayer.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSet>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace qiravon {

namespace gst {
class Pipeline;
struct BusReport;
} // namespace gst
class ConnectProbe;
class PlaylistFetcher;
struct PlaylistResult;

//! Knobs that tests and measurements turn; the defaults are what users get.
struct GstPlayerOptions
{
    //! Element name or bin description of the output; empty: $QIRAVON_AUDIO_SINK, else
    //! autoaudiosink.
    QString audioSink;
    //! No audio reaching the output for this long, once playing, counts as a dropped stream.
    int stallTimeoutMs = 8000;
    //! No audio this long after opening an address counts as a failure to connect.
    int connectTimeoutMs = 20000;
    int playlistTimeoutMs = 10000;
    //! Playing this long without a drop starts the reconnect delays over at 1 s.
    int stableAfterMs = 30000;
    //! What one second of the reconnect delays (1, 2, 4 … 60 s) lasts; the status line still
    //! counts seconds. Tests shorten it.
    int retryUnitMs = 1000;
};

//! Plays station streams through GStreamer's playbin, one pipeline per attempt, with
//! playlists resolved first and dropped streams reconnected after a growing delay. This is
//! the policy; the pipeline decodes what GStreamer says and hands it over as plain values.
class GstMediaPlayer final : public IMediaPlayer
{
    Q_OBJECT
public:
    explicit GstMediaPlayer(QObject* parent = nullptr);
    explicit GstMediaPlayer(const GstPlayerOptions& options, QObject* parent = nullptr);
    ~GstMediaPlayer() override;

    void setURL(const QString& url) override;
    [[nodiscard]] QString URL() const override { return m_url; }
    [[nodiscard]] QString status() const override { return m_status; }
    void setVolume(int volume) override;
    [[nodiscard]] int volume() const override { return m_volume; }
    [[nodiscard]] PlaybackState playbackState() const override { return m_playbackState; }
    [[nodiscard]] QString streamTitle() const override { return m_streamTitle; }

    [[nodiscard]] const PlayerState& state() const { return m_state; }
    //! The stream address being played or tried (a playlist's entry, not the playlist).
    [[nodiscard]] QUrl currentStream() const { return m_work.current; }
    //! g_get_monotonic_time() in ns when the current attempt's first buffer reached the
    //! output, or -1; read on the UI thread after audioStarted().
    [[nodiscard]] qint64 firstAudioNs() const;
    //! Likewise for the second buffer, which a clock-synchronised sink only takes once the
    //! pipeline plays: the moment the listener hears something. -1 until then.
    [[nodiscard]] qint64 secondAudioNs() const;

Q_SIGNALS:
    //! The first decoded audio of an attempt reached the output.
    void audioStarted();

protected:
    void customEvent(QEvent* event) override;

private:
    void openAddress(const QUrl& url);
    void openNextEntry();
    void fetchPlaylist(const QUrl& url, PlaylistKind hint);
    void startAttempt(const QUrl& url);
    void dropPipeline();
    void handleReport(const gst::BusReport& report);
    void onError(const gst::BusReport& report);
    void onEndOfStream(bool finite);
    void onFirstAudio();
    void onFetched(const QUrl& url, const PlaylistResult& result);
    void attemptFailed(PlayerError error, int httpStatus = 0);
    [[nodiscard]] bool hasNextEntry() const;
    void scheduleStep(RetryStep step);
    void runStep(RetryStep step);
    void checkProgress();
    void setPhase(PlayerPhase phase);
    void publish();

    GstPlayerOptions m_options;
    QString m_url;
    QString m_status;
    int m_volume = 50;
    PlayerState m_state;
    // What was last told through the signals, so each change is told once.
    PlaybackState m_playbackState = PlaybackState::Stopped;
    QString m_streamTitle;

    std::unique_ptr<gst::Pipeline> m_pipeline;
    quint64 m_generation = 0;
    PlaylistFetcher* m_fetcher;
    ConnectProbe* m_probe;

    //! Everything learnt while working through one address set with setURL(); a new
    //! address starts it over at once.
    struct AddressWork
    {
        QUrl address;                 //!< what setURL() named
        QUrl current;                 //!< the stream or playlist being tried
        bool fetchingCurrent = false; //!< `current` is being fetched as a playlist
        PlaylistKind fetchHint = PlaylistKind::None;
        QList<QUrl> candidates; //!< playlist entries still to try
        QSet<QUrl> fetched;     //!< addresses already fetched as playlists
        //! Addresses playbin failed on before they were fetched as playlists, with its verdict.
        QHash<QUrl, PlayerError> failedInPlaybin;
        int fetchCount = 0;
        bool fromPlaylist = false; //!< `current` is a playlist's entry
        int entriesTried = 0;      //!< playlist entries opened since the playlist was fetched
        bool everPlayed = false;   //!< it played once: failures now mean reconnect
        int retryAttempt = 0;      //!< reconnects since the last steady play
        int failedAttempts = 0;    //!< failed attempts on `current` since it last played
    };
    //! What the current attempt (one pipeline) has shown so far.
    struct AttemptWork
    {
        FailureFacts facts;
        bool hasAudio = false;
        quint64 lastBuffers = 0;
    };
    AddressWork m_work;
    AttemptWork m_attempt;

    QTimer m_retryTimer;
    RetryStep m_pendingStep = RetryStep::Reconnect; //!< what m_retryTimer starts
    QTimer m_stableTimer;
    QTimer m_watchdog;
    QElapsedTimer m_attemptClock;
    QElapsedTimer m_lastProgress;
};

} // namespace qiravon

#pragma once

#include "imediaplayer.h"
#include "playerstatus.h"
#include "streamfailure.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSet>
#include <QTimer>
#include <QUrl>

#include <memory>

// The same typedef as GStreamer's, so this header needs none of its headers.
typedef struct _GstMessage GstMessage; // NOLINT(modernize-use-using)

namespace qiravon {

namespace gst {
class Pipeline;
}
class ConnectProbe;
class PlaylistFetcher;
struct PlaylistResult;

//! Sets up GStreamer once for the process; call from main() before any player exists.
void initGStreamer(int* argc, char*** argv);

//! Knobs that tests and measurements turn; the defaults are what users get.
struct GstPlayerOptions {
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
};

//! Plays station streams through GStreamer's playbin, one pipeline per attempt, with
//! playlists resolved first and dropped streams reconnected after a growing delay.
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

    [[nodiscard]] const PlayerState& state() const { return m_state; }
    //! The stream address being played or tried (a playlist's entry, not the playlist).
    [[nodiscard]] QUrl currentStream() const { return m_current; }
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
    void startAttempt(const QUrl& url);
    void dropPipeline();
    void handleMessage(GstMessage* message);
    void onError(GstMessage* message);
    void onEndOfStream();
    void onFirstAudio();
    void onFetched(const QUrl& url, const PlaylistResult& result);
    void attemptFailed(PlayerError error, int httpStatus = 0);
    void scheduleRetry();
    void checkProgress();
    void setPhase(PlayerPhase phase);
    void publish();

    GstPlayerOptions m_options;
    QString m_url;
    QString m_status;
    int m_volume = 50;
    PlayerState m_state;

    std::unique_ptr<gst::Pipeline> m_pipeline;
    quint64 m_generation = 0;
    PlaylistFetcher* m_fetcher;
    ConnectProbe* m_probe;

    // The address being worked through: entries still to try, and what was already tried.
    QUrl m_current;
    QList<QUrl> m_candidates;
    QSet<QUrl> m_fetched;
    //! Addresses playbin failed on before they were fetched as playlists, with its verdict.
    QHash<QUrl, PlayerError> m_failedInPlaybin;
    int m_fetchCount = 0;
    FailureFacts m_facts;
    bool m_attemptHasAudio = false;
    bool m_everPlayed = false; //!< this address played once: failures now mean reconnect

    int m_retryAttempt = 0;
    QTimer m_retryTimer;
    QTimer m_stableTimer;
    QTimer m_watchdog;
    QElapsedTimer m_attemptClock;
    QElapsedTimer m_lastProgress;
    quint64 m_lastBuffers = 0;
};

} // namespace qiravon

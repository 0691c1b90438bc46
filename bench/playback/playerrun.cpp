#include "playerrun.h"

#include "hosted/gst/gstmediaplayer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <ctime>

namespace qiravon::bench {

namespace {

// The clock g_get_monotonic_time() reads, so the player's stamps compare with ours.
qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    return done();
}

bool measure(GstMediaPlayer& player, const QString& url, const char* prefix)
{
    const qint64 start = monotonicNs();
    player.setURL(url);
    if (!waitFor([&] { return player.secondAudioNs() >= 0; }, 30000)) {
        QTextStream(stdout) << prefix << "error=" << player.status() << '\n';
        return false;
    }
    QTextStream(stdout) << prefix << "first=" << (player.firstAudioNs() - start) / 1e6 << ' '
                        << prefix << "playing=" << (player.secondAudioNs() - start) / 1e6
                        << Qt::endl;
    return true;
}

} // namespace

int runPlayer(const QString& url, const QString& switchTo, int holdSeconds, int idleMs)
{
    GstPlayerOptions options;
    options.audioSink = QStringLiteral("fakesink sync=true");
    GstMediaPlayer player(options);
    // The window starts the player at full volume, as the slider shows; the comparison with
    // gst-launch (whose volume is 1.0) is then like for like.
    player.setVolume(100);
    if (idleMs > 0)
        waitFor([] { return false; }, idleMs);
    if (!measure(player, url, ""))
        return 1;
    if (!switchTo.isEmpty()) {
        waitFor([] { return false; }, 500);
        if (!measure(player, switchTo, "switch_"))
            return 1;
    }
    if (holdSeconds > 0) {
        // An idle event loop, so the CPU figure is the player's and not this loop's.
        QTimer::singleShot(holdSeconds * 1000, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
    }
    return 0;
}

} // namespace qiravon::bench

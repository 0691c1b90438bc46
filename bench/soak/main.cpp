// Switches station, or lets a station drop and reconnect, many times in one process, and says
// how many descriptors and how much memory the process holds after the first and after the
// last. What one pipeline leaves behind shows up here multiplied.

#include "hosted/gst/gstmediaplayer.h"
#include "hosted/gst/gstsetup.h"
#include "hosted/gst/pipeline.h"
#include "streamserver/localradio.h"
#include "streamserver/mediafixtures.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

QTextStream out(stdout);

struct Usage
{
    int fds = 0;
    double rssMb = 0;
};

Usage usage()
{
    Usage u;
    u.fds = static_cast<int>(
        QDir(u"/proc/self/fd"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
    QFile status(u"/proc/self/status"_s);
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                u.rssMb = line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return u;
}

//! Runs the event loop until `done` holds or `timeoutMs` passes; false on the timeout.
template <typename F> bool waitFor(F done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        // The server's pacing timer wakes this every 50 ms at the latest.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A settled figure: the old pipeline's teardown done, its last events delivered.
Usage settled()
{
    gst::Pipeline::drainTeardowns(10000);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return usage();
}

void print(const char* label, const Usage& u)
{
    out << label << u.fds << " descriptors, " << QString::number(u.rssMb, 'f', 1) << " MB RSS\n";
    out.flush();
}

} // namespace

int main(int argc, char* argv[])
{
    initGStreamer(&argc, &argv);
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Descriptors and RSS after many switches or reconnects"_s);
    parser.addHelpOption();
    const QCommandLineOption countOption(u"count"_s, u"Switches or reconnects (default 100)."_s,
                                         u"n"_s, u"100"_s);
    const QCommandLineOption modeOption(
        u"mode"_s, u"switch: a new address each time; reconnect: the server drops the stream."_s,
        u"mode"_s, u"switch"_s);
    const QCommandLineOption holdOption(
        u"hold"_s, u"Milliseconds each attempt plays before the next (default 1000)."_s, u"ms"_s,
        u"1000"_s);
    parser.addOptions({countOption, modeOption, holdOption});
    parser.process(app);
    const int count = qMax(1, parser.value(countOption).toInt());
    const int holdMs = qMax(0, parser.value(holdOption).toInt());
    const bool reconnect = parser.value(modeOption) == u"reconnect"_s;
    if (!reconnect && parser.value(modeOption) != u"switch"_s) {
        out << "unknown mode " << parser.value(modeOption) << '\n';
        return 2;
    }

    QTemporaryDir dir;
    MediaFixtures media;
    if (const QString error = makeMediaFixtures(dir.path(), media); !error.isEmpty()) {
        out << "fixtures: " << error << '\n';
        return 1;
    }
    QFile mp3File(media.mp3);
    if (!mp3File.open(QIODevice::ReadOnly)) {
        out << "cannot read " << media.mp3 << '\n';
        return 1;
    }
    const QByteArray mp3 = mp3File.readAll();
    LocalRadio radio;
    radio.addStream(u"/a"_s, {mp3, "audio/mpeg", 16000, 16000, {}, -1});
    radio.addStream(u"/b"_s, {mp3, "audio/mpeg", 16000, 16000, {}, -1});
    if (!radio.start()) {
        out << "cannot listen on 127.0.0.1\n";
        return 1;
    }
    const quint16 port = radio.port();

    GstPlayerOptions options;
    options.audioSink = u"fakesink sync=true"_s;
    // Every reconnect after the one-second delay, not after growing ones.
    options.stableAfterMs = 1;
    GstMediaPlayer player(options);
    int started = 0;
    QObject::connect(&player, &GstMediaPlayer::audioStarted, [&started] { ++started; });

    // One step: a switch to the other address, or the server dropping every listener and
    // coming back on the same port; done once audio flows again.
    int step = 0;
    auto runStep = [&]() -> bool {
        const int before = started;
        if (reconnect) {
            radio.stop();
            if (!radio.start(port))
                return false;
        } else {
            player.setURL(radio.url(step % 2 ? u"/a"_s : u"/b"_s).toString());
        }
        ++step;
        if (!waitFor([&] { return started > before; }, 60000))
            return false;
        // Long enough for the queue to fill, as it has when a listener moves on.
        QDeadlineTimer hold(holdMs);
        waitFor([&] { return hold.hasExpired(); }, holdMs + 1000);
        return true;
    };

    player.setURL(radio.url(u"/a"_s).toString());
    if (!waitFor([&] { return started > 0; }, 60000)) {
        out << "no audio: " << player.status() << '\n';
        return 1;
    }
    out << (reconnect ? "reconnects" : "switches") << ": " << count << ", each playing " << holdMs
        << " ms\n";
    if (!runStep()) {
        out << "step 1 did not play again: " << player.status() << '\n';
        return 1;
    }
    const Usage first = settled();
    print("after the first: ", first);
    for (int i = 1; i < count; ++i) {
        if (!runStep()) {
            out << "step " << i + 1 << " did not play again: " << player.status() << '\n';
            return 1;
        }
    }
    const Usage last = settled();
    print("after the last:  ", last);
    out << "growth: " << last.fds - first.fds << " descriptors, "
        << QString::number(last.rssMb - first.rssMb, 'f', 1) << " MB RSS over " << count - 1
        << '\n';
    return 0;
}

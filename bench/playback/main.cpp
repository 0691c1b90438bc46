// Measures how fast the player starts a station, switches station, and what it costs in CPU,
// beside gst-launch-1.0 playbin and mpv on the same local servers in the same run.

#include "contenders.h"
#include "hosted/gst/gstmediaplayer.h"
#include "hosted/gst/gstsetup.h"
#include "playerrun.h"
#include "streamserver/icecastserver.h"
#include "streamserver/localradio.h"
#include "streamserver/mediafixtures.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>

using namespace qiravon;
using namespace qiravon::bench;

namespace {

QTextStream out(stdout);

double median(QList<double> values)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const auto n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString fmt(double ms)
{
    return ms < 0 ? QStringLiteral("   -  ") : QString::number(ms, 'f', 0).rightJustified(6);
}

struct Row
{
    QString name;
    QUrl url;
};

} // namespace

int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--play") == 0) {
            initGStreamer(&argc, &argv);
            QCoreApplication app(argc, argv);
            const QStringList args = app.arguments();
            const auto value = [&](const QString& key) {
                const auto at = args.indexOf(key);
                return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
            };
            return runPlayer(value(QStringLiteral("--play")), value(QStringLiteral("--switch")),
                             value(QStringLiteral("--hold")).toInt(),
                             value(QStringLiteral("--idle")).toInt());
        }
    }

    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("runs"), QStringLiteral("Runs per contender."),
                      QStringLiteral("n"), QStringLiteral("5")});
    parser.addOption({QStringLiteral("cpu-seconds"),
                      QStringLiteral("Length of the CPU measurement (0: skip)."),
                      QStringLiteral("s"), QStringLiteral("30")});
    parser.process(app);
    const int runs = qMax(1, parser.value(QStringLiteral("runs")).toInt());
    const int cpuSecondsWanted = parser.value(QStringLiteral("cpu-seconds")).toInt();
    const QString self = QCoreApplication::applicationFilePath();

    QTemporaryDir dir;
    test::MediaFixtures media;
    if (QString error = test::makeMediaFixtures(dir.path(), media); !error.isEmpty()) {
        out << error << Qt::endl;
        return 1;
    }
    const QString opus = dir.path() + QStringLiteral("/tone.opus");
    if (QString error = test::runGstLaunch(
            QStringLiteral(
                "audiotestsrc num-buffers=3000 samplesperbuffer=960 wave=sine volume=0.3 ! "
                "audio/x-raw,rate=48000,channels=2 ! opusenc bitrate=64000 ! oggmux ! filesink "
                "location=") +
            opus);
        !error.isEmpty()) {
        out << error << Qt::endl;
        return 1;
    }

    // The server runs on its own thread so the contenders can be waited for here.
    QThread serverThread;
    serverThread.start();
    QObject inThread;
    inThread.moveToThread(&serverThread);
    test::LocalRadio* radio = nullptr;
    QMetaObject::invokeMethod(
        &inThread,
        [&] {
            radio = new test::LocalRadio;
            radio->addStream(QStringLiteral("/mp3"),
                             {readAll(media.mp3), "audio/mpeg", 16000, 32768, {}, -1});
            radio->addStream(QStringLiteral("/aac"),
                             {readAll(media.aac), "audio/aac", 16000, 32768, {}, -1});
            radio->addStream(QStringLiteral("/opus"),
                             {readAll(opus), "application/ogg", 8000, 32768, {}, -1});
            radio->addDirectory(QStringLiteral("/hls/"), media.hlsDir);
            radio->start();
        },
        Qt::BlockingQueuedConnection);

    test::IcecastServer icecast;
    const QString icecastError = icecast.start();
    if (!icecastError.isEmpty())
        out << "icecast rows skipped: " << icecastError << Qt::endl;

    QList<Row> rows{{QStringLiteral("MP3"), radio->url(QStringLiteral("/mp3"))},
                    {QStringLiteral("AAC"), radio->url(QStringLiteral("/aac"))},
                    {QStringLiteral("Ogg Opus"), radio->url(QStringLiteral("/opus"))},
                    {QStringLiteral("HLS"), radio->url(QStringLiteral("/hls/radio.m3u8"))}};
    if (icecastError.isEmpty()) {
        rows.append({QStringLiteral("MP3 icecast"), icecast.url(QStringLiteral("/mp3"))});
        rows.append({QStringLiteral("Opus icecast"), icecast.url(QStringLiteral("/opus"))});
    }

    out << "Start-up in ms from handing over the address, median of " << runs << " runs.\n"
        << "first: first decoded buffer at the sink; play: audio playing. Ours cold: address set\n"
        << "at process start; ours warm: set 1 s later, as from the window.\n"
        << "format        | ours cold first  play | ours warm first  play | gst-launch first  "
           "play | mpv play | warm/faster  cold/faster\n";
    for (const Row& row : rows) {
        QList<double> coldFirst, coldPlaying, oursFirst, oursPlaying, gstFirst, gstPlaying,
            mpvPlaying;
        for (int run = 0; run < runs; ++run) {
            const QString url = row.url.toString();
            if (auto t = runOurs(self, url, 0)) {
                coldFirst.append(t->first);
                coldPlaying.append(t->playing);
            }
            if (auto t = runOurs(self, url, 1000)) {
                oursFirst.append(t->first);
                oursPlaying.append(t->playing);
            }
            if (auto t = runGstLaunch(url)) {
                gstFirst.append(t->first);
                gstPlaying.append(t->playing);
            }
            if (auto t = runMpv(url))
                mpvPlaying.append(t->playing);
        }
        const double ours = median(oursPlaying);
        double faster = median(gstPlaying);
        const double mpv = median(mpvPlaying);
        if (faster < 0 || (mpv >= 0 && mpv < faster))
            faster = mpv;
        const double cold = median(coldPlaying);
        const auto ratio = [faster](double v) {
            return v > 0 && faster > 0 ? QString::number(v / faster, 'f', 2) + u'x'
                                       : QStringLiteral("-");
        };
        out << row.name.leftJustified(13) << " |      " << fmt(median(coldFirst)) << " "
            << fmt(cold) << " |      " << fmt(median(oursFirst)) << " " << fmt(ours) << " |       "
            << fmt(median(gstFirst)) << " " << fmt(median(gstPlaying)) << " | " << fmt(mpv)
            << "   | " << ratio(ours).rightJustified(10) << " " << ratio(cold).rightJustified(11)
            << Qt::endl;
    }

    QList<double> switchFirst, switchPlaying;
    for (int run = 0; run < runs; ++run) {
        StartTimes switched;
        if (runOurs(self, radio->url(QStringLiteral("/aac")).toString(), 1000, &switched,
                    radio->url(QStringLiteral("/mp3")).toString())) {
            switchFirst.append(switched.first);
            switchPlaying.append(switched.playing);
        }
    }
    out << "\nSwitch station (AAC -> MP3, same process): first " << fmt(median(switchFirst))
        << " ms, playing " << fmt(median(switchPlaying)) << " ms" << Qt::endl;

    if (cpuSecondsWanted > 0) {
        const QString mp3 = radio->url(QStringLiteral("/mp3")).toString();
        constexpr int settle = 5;
        const auto ours = cpuSeconds(self,
                                     {QStringLiteral("--play"), mp3, QStringLiteral("--hold"),
                                      QString::number(cpuSecondsWanted + settle + 5)},
                                     settle, cpuSecondsWanted);
        const auto gst = cpuSeconds(QStringLiteral("gst-launch-1.0"),
                                    {QStringLiteral("playbin"), QStringLiteral("uri=") + mp3,
                                     QStringLiteral("audio-sink=fakesink sync=true")},
                                    settle, cpuSecondsWanted);
        const auto show = [](const std::optional<CpuUse>& a, const std::optional<CpuUse>& b,
                             double CpuUse::*part) {
            QString text = QStringLiteral("ours %1 s, gst-launch %2 s")
                               .arg(a ? QString::number((*a).*part, 'f', 2) : QStringLiteral("-"),
                                    b ? QString::number((*b).*part, 'f', 2) : QStringLiteral("-"));
            if (a && b && (*b).*part > 0)
                text += QStringLiteral(", ratio %1x").arg((*a).*part / (*b).*part, 0, 'f', 2);
            return text;
        };
        out << "\nCPU of 128 kbps MP3 at full volume (ours, as the window starts it, and "
               "gst-launch):\n"
            << "  while playing, " << cpuSecondsWanted << " s after " << settle
            << " s of start-up: " << show(ours, gst, &CpuUse::playing) << "\n"
            << "  whole run including start-up: " << show(ours, gst, &CpuUse::total) << Qt::endl;
    }

    icecast.stop();
    QMetaObject::invokeMethod(
        &inThread, [&] { delete radio; }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    return 0;
}

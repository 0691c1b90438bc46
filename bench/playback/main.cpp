// Measures how fast the player starts a station, switches station, and what it costs in CPU,
// beside gst-launch-1.0 playbin and mpv on the same local servers in the same run; and the
// real program's first play in a fresh process, from its window.

#include "contenders.h"
#include "hosted/gst/gstmediaplayer.h"
#include "hosted/gst/gstsetup.h"
#include "playerrun.h"
#include "procstats.h"
#include "streamserver/icecastserver.h"
#include "streamserver/localradio.h"
#include "streamserver/mediafixtures.h"
#include "windowrun.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>

using namespace qiravon;
using namespace qiravon::bench;
using namespace Qt::StringLiterals;

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

QString ratio(double value, double baseline)
{
    return value > 0 && baseline > 0 ? QString::number(value / baseline, 'f', 2) + u'x'
                                     : QStringLiteral("-");
}

QString mb(double kb)
{
    return kb < 0 ? QStringLiteral("-") : QString::number(kb / 1024.0, 'f', 1) + u" MB"_s;
}

struct Row
{
    QString name;
    QUrl url;
};

struct Settings
{
    QString self;
    QString program; //!< the real program, for the window rows
    QString tempDir;
    int runs = 5;
    int cpuSeconds = 30;
};

void startupTable(const Settings& s, const QList<Row>& rows)
{
    out << "Start-up in ms from handing over the address, median of " << s.runs << " runs.\n"
        << "first: first decoded buffer at the sink; play: audio playing. Ours cold: address set\n"
        << "at process start; ours warm: set 1 s later, as from the window.\n"
        << "format        | ours cold first  play | ours warm first  play | gst-launch first  "
           "play | mpv play | warm/faster  cold/faster\n";
    for (const Row& row : rows) {
        QList<double> coldFirst, coldPlaying, oursFirst, oursPlaying, gstFirst, gstPlaying,
            mpvPlaying;
        for (int run = 0; run < s.runs; ++run) {
            const QString url = row.url.toString();
            if (auto t = runOurs(s.self, url, 0)) {
                coldFirst.append(t->first);
                coldPlaying.append(t->playing);
            }
            if (auto t = runOurs(s.self, url, 1000)) {
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
        out << row.name.leftJustified(13) << " |      " << fmt(median(coldFirst)) << " "
            << fmt(cold) << " |      " << fmt(median(oursFirst)) << " " << fmt(ours) << " |       "
            << fmt(median(gstFirst)) << " " << fmt(median(gstPlaying)) << " | " << fmt(mpv)
            << "   | " << ratio(ours, faster).rightJustified(10) << " "
            << ratio(cold, faster).rightJustified(11) << Qt::endl;
    }
}

void switchRow(const Settings& s, const QUrl& from, const QUrl& to)
{
    QList<double> switchFirst, switchPlaying;
    for (int run = 0; run < s.runs; ++run) {
        StartTimes switched;
        if (runOurs(s.self, from.toString(), 1000, &switched, to.toString())) {
            switchFirst.append(switched.first);
            switchPlaying.append(switched.playing);
        }
    }
    out << "\nSwitch station (AAC -> MP3, same process): first " << fmt(median(switchFirst))
        << " ms, playing " << fmt(median(switchPlaying)) << " ms" << Qt::endl;
}

// gst-launch as the baseline, and once more with the MP3 decoder our player prefers, so the
// decoder's share of the difference shows.
std::optional<CpuUse> gstLaunchCpu(const QUrl& mp3, bool ourDecoder, int settle, int seconds)
{
    QStringList arguments{QStringLiteral("playbin"), QStringLiteral("uri=") + mp3.toString(),
                          QStringLiteral("audio-sink=fakesink sync=true")};
    if (!ourDecoder)
        return cpuSeconds(QStringLiteral("gst-launch-1.0"), arguments, settle, seconds);
    arguments.prepend(QStringLiteral("gst-launch-1.0"));
    arguments.prepend(QStringLiteral("GST_PLUGIN_FEATURE_RANK=mpg123audiodec:primary"));
    return cpuSeconds(QStringLiteral("env"), arguments, settle, seconds);
}

void cpuRows(const Settings& s, const QUrl& mp3)
{
    constexpr int settle = 5;
    QList<double> ours, gst, gstMpg123, oursTotal, gstTotal, oursPss;
    for (int run = 0; run < s.runs; ++run) {
        if (auto use =
                cpuSeconds(s.self,
                           {QStringLiteral("--play"), mp3.toString(), QStringLiteral("--hold"),
                            QString::number(s.cpuSeconds + settle + 5)},
                           settle, s.cpuSeconds)) {
            ours.append(use->playing);
            oursTotal.append(use->total);
            oursPss.append(double(use->pssKb));
        }
        if (auto use = gstLaunchCpu(mp3, false, settle, s.cpuSeconds)) {
            gst.append(use->playing);
            gstTotal.append(use->total);
        }
        if (auto use = gstLaunchCpu(mp3, true, settle, s.cpuSeconds))
            gstMpg123.append(use->playing);
    }
    const auto sec = [](double v) {
        return v < 0 ? QStringLiteral("-") : QString::number(v, 'f', 3) + u" s"_s;
    };
    out << "\nCPU of 128 kbps MP3 at full volume on fakesink sync=true, median of " << s.runs
        << " runs (ours: the player alone, as the window starts it):\n"
        << "  " << s.cpuSeconds << " s of playing after " << settle << " s of start-up: ours "
        << sec(median(ours)) << ", gst-launch " << sec(median(gst)) << ", ratio "
        << ratio(median(ours), median(gst)) << "\n"
        << "  gst-launch with the MP3 decoder ours prefers (mpg123): " << sec(median(gstMpg123))
        << "\n"
        << "  whole run including start-up: ours " << sec(median(oursTotal)) << ", gst-launch "
        << sec(median(gstTotal)) << ", ratio " << ratio(median(oursTotal), median(gstTotal))
        << "\n  PSS of ours while playing: " << mb(median(oursPss)) << Qt::endl;
}

// A bare window's PSS, the baseline of the memory figures, once it has settled.
qint64 bareWindowPssKb(const QString& program)
{
    const QString baseline =
        QFileInfo(program).dir().filePath(QStringLiteral("bench/idle/bench_idle_baseline"));
    QProcess bare;
    bare.start(baseline, {});
    if (!bare.waitForStarted(5000))
        return -1;
    bare.waitForFinished(5000);
    const qint64 pss = pssKbOf(bare.processId());
    bare.kill();
    bare.waitForFinished(3000);
    return pss;
}

void windowRows(const Settings& s, const QList<Row>& rows)
{
    if (const QString missing = WindowApp::missing(s.program); !missing.isEmpty()) {
        out << "\nwindow rows skipped: " << missing << Qt::endl;
        return;
    }
    out << "\nFirst play from the real window, a fresh process per run, median of " << s.runs
        << " runs (ms).\n"
        << "paint: process start to the window's first paint. cold: a row double-clicked as "
           "soon as\n"
        << "the window shows (xdotool, some 100 ms after the paint); warm: 2 s later. click: "
           "the window\n"
        << "taking the double-click to audio playing. paint+click: start to sound for one who "
           "double-\n"
        << "clicks at the first paint. mpv: a fresh process, start to \"starting audio "
           "playback\".\n"
        << "format        | paint | cold click paint+click | warm click |  mpv | "
           "cold/mpv paint+click/mpv warm/mpv\n";
    for (const Row& row : rows) {
        WindowApp app;
        const QString folder =
            s.tempDir + u"/window-"_s + row.name.simplified().replace(u' ', u'-');
        if (!QDir().mkpath(folder) || !app.prepare(s.program, folder, row.url)) {
            out << row.name << ": cannot make the program's folder" << Qt::endl;
            continue;
        }
        QList<double> paint, coldClick, paintClick, warmClick, mpv;
        for (int run = 0; run < s.runs; ++run) {
            if (auto t = app.run(0)) {
                paint.append(t->window);
                coldClick.append(t->clickPlay);
                paintClick.append(t->window + t->clickPlay);
            }
            if (auto t = app.run(2000))
                warmClick.append(t->clickPlay);
            if (auto t = runMpvFresh(row.url))
                mpv.append(*t);
        }
        const double m = median(mpv);
        out << row.name.leftJustified(13) << " | " << fmt(median(paint)) << "|     "
            << fmt(median(coldClick)) << "     " << fmt(median(paintClick)) << " |     "
            << fmt(median(warmClick)) << " |" << fmt(m) << "| "
            << ratio(median(coldClick), m).rightJustified(8) << " "
            << ratio(median(paintClick), m).rightJustified(15) << " "
            << ratio(median(warmClick), m).rightJustified(8);
        // A window re-created under the pointer loses the double-click; say how often.
        if (coldClick.size() < s.runs || warmClick.size() < s.runs)
            out << "  (lost: " << s.runs - coldClick.size() << " cold, "
                << s.runs - warmClick.size() << " warm)";
        out << Qt::endl;
    }
}

// Memory at rest and while playing, and CPU while playing, of the real program.
void memoryRows(const Settings& s, const QList<Row>& rows)
{
    if (const QString missing = WindowApp::missing(s.program); !missing.isEmpty()) {
        out << "\nmemory rows skipped: " << missing << Qt::endl;
        return;
    }
    if (s.cpuSeconds <= 0 || rows.isEmpty())
        return;
    WindowApp app;
    const QString folder = s.tempDir + u"/window-memory"_s;
    if (!QDir().mkpath(folder) || !app.prepare(s.program, folder, rows.first().url))
        return;
    constexpr int rest = 8000;
    constexpr int settle = 5000;
    QList<double> restPss, restTree, playPss, playTree, cpu, gst;
    for (int run = 0; run < s.runs; ++run) {
        if (auto t = app.run(rest, settle, s.cpuSeconds * 1000)) {
            restPss.append(double(t->restPssKb));
            restTree.append(double(t->restTreePssKb));
            playPss.append(double(t->playPssKb));
            playTree.append(double(t->playTreePssKb));
            cpu.append(t->playCpu);
        }
        if (auto use = gstLaunchCpu(rows.first().url, false, settle / 1000, s.cpuSeconds))
            gst.append(use->playing);
    }
    const qint64 bare = bareWindowPssKb(s.program);
    out << "\nThe real window playing " << rows.first().name << " (" << s.cpuSeconds << " s after "
        << settle / 1000 << " s), median of " << s.runs << " runs:\n"
        << "  CPU of its process: " << QString::number(median(cpu), 'f', 3) << " s, gst-launch "
        << QString::number(median(gst), 'f', 3) << " s, ratio " << ratio(median(cpu), median(gst))
        << "\n"
        << "  PSS of its process at rest (" << rest / 1000
        << " s after the window showed): " << mb(median(restPss)) << ", while playing "
        << mb(median(playPss)) << " (playing adds " << mb(median(playPss) - median(restPss))
        << ")\n"
        << "  PSS of its process tree at rest " << mb(median(restTree)) << ", while playing "
        << mb(median(playTree)) << "\n"
        << "  bare window (bench_idle_baseline): " << mb(double(bare)) << "; ratios at rest "
        << ratio(median(restTree), double(bare)) << ", while playing "
        << ratio(median(playTree), double(bare)) << Qt::endl;
}

} // namespace

int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--play") == 0) {
            // As the window's process: GStreamer set up in the background from the start (the
            // window starts that at its first paint).
            prepareGStreamer(&argc, &argv);
            QCoreApplication app(argc, argv);
            prewarmGStreamer();
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
    parser.addOption({QStringLiteral("only"),
                      QStringLiteral("Comma-separated parts to run: startup, switch, cpu, "
                                     "window, memory (default: all)."),
                      QStringLiteral("parts")});
    parser.addOption({QStringLiteral("program"),
                      QStringLiteral("The real program for the window rows (default: the "
                                     "build's qiravon)."),
                      QStringLiteral("path")});
    parser.addOption({QStringLiteral("serve"),
                      QStringLiteral("Only serve the test streams for this long, for profiling "
                                     "a player by hand; prints their addresses."),
                      QStringLiteral("s")});
    parser.process(app);
    Settings s;
    s.self = QCoreApplication::applicationFilePath();
    s.program = parser.isSet(QStringLiteral("program"))
                    ? parser.value(QStringLiteral("program"))
                    : QCoreApplication::applicationDirPath() + QStringLiteral("/../../qiravon");
    s.runs = qMax(1, parser.value(QStringLiteral("runs")).toInt());
    s.cpuSeconds = parser.value(QStringLiteral("cpu-seconds")).toInt();
    const QStringList only = parser.value(QStringLiteral("only")).split(u',', Qt::SkipEmptyParts);
    const auto wanted = [&only](const char* part) {
        return only.isEmpty() || only.contains(QLatin1String(part));
    };

    QTemporaryDir dir;
    s.tempDir = dir.path();
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

    const QUrl mp3 = radio->url(QStringLiteral("/mp3"));
    const QUrl hls = radio->url(QStringLiteral("/hls/radio.m3u8"));
    QList<Row> rows{{QStringLiteral("MP3"), mp3},
                    {QStringLiteral("AAC"), radio->url(QStringLiteral("/aac"))},
                    {QStringLiteral("Ogg Opus"), radio->url(QStringLiteral("/opus"))},
                    {QStringLiteral("HLS"), hls}};
    QList<Row> windowStations{{QStringLiteral("MP3"), mp3}, {QStringLiteral("HLS"), hls}};
    if (icecastError.isEmpty()) {
        rows.append({QStringLiteral("MP3 icecast"), icecast.url(QStringLiteral("/mp3"))});
        rows.append({QStringLiteral("Opus icecast"), icecast.url(QStringLiteral("/opus"))});
        windowStations.append(rows[4]);
    }

    if (const int serveSeconds = parser.value(QStringLiteral("serve")).toInt(); serveSeconds > 0) {
        for (const Row& row : rows)
            out << row.name << ' ' << row.url.toString() << Qt::endl;
        QThread::sleep(serveSeconds);
    } else {
        if (wanted("startup"))
            startupTable(s, rows);
        if (wanted("switch"))
            switchRow(s, radio->url(QStringLiteral("/aac")), mp3);
        if (wanted("cpu") && s.cpuSeconds > 0)
            cpuRows(s, mp3);
        if (wanted("window"))
            windowRows(s, windowStations);
        if (wanted("memory"))
            memoryRows(s, windowStations);
    }

    icecast.stop();
    QMetaObject::invokeMethod(
        &inThread, [&] { delete radio; }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    return 0;
}

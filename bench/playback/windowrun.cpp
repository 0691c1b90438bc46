#include "windowrun.h"

#include "procstats.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextStream>
#include <ctime>
#include <unistd.h>

namespace qiravon::bench {

namespace {

constexpr int kTimeoutMs = 20000;
// A point inside the station list, below its header, at scale 1: every row plays the station.
constexpr int kRowX = 200;
constexpr int kRowY = 260;

// The clock the program's log stamps ("%{time boot}") read.
double monotonicMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

QString output(const QString& program, const QStringList& arguments)
{
    QProcess child;
    child.start(program, arguments);
    if (!child.waitForFinished(5000)) {
        child.kill();
        child.waitForFinished(1000);
        return {};
    }
    return QString::fromUtf8(child.readAllStandardOutput()).trimmed();
}

// The program's log, read as it comes.
class LogReader
{
public:
    explicit LogReader(QProcess& process) : m_process(process) {}
    //! Reads for up to `ms`; returns early when something came.
    void pump(int ms)
    {
        m_process.waitForReadyRead(ms);
        m_text += QString::fromUtf8(m_process.readAll());
    }
    //! The log stamp, in ms, of the first line containing `text`, or -1.
    [[nodiscard]] double stampOf(const QString& text) const
    {
        static const QRegularExpression line(QStringLiteral(R"(^\s*(\d+\.\d+) (.*)$)"),
                                             QRegularExpression::MultilineOption);
        for (auto it = line.globalMatch(m_text); it.hasNext();) {
            const auto match = it.next();
            if (match.captured(2).contains(text))
                return match.captured(1).toDouble() * 1000.0;
        }
        return -1;
    }

    [[nodiscard]] const QString& text() const { return m_text; }

private:
    QProcess& m_process;
    QString m_text;
};

QString findWindow(const QString& pid)
{
    return output(QStringLiteral("xdotool"),
                  {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                   QStringLiteral("--pid"), pid, QStringLiteral("--name"),
                   QStringLiteral("^Qiravon$")})
        .section(u'\n', -1);
}

void stop(QProcess& process)
{
    process.kill();
    process.waitForFinished(5000);
}

} // namespace

QString WindowApp::missing(const QString& program)
{
    if (!QFileInfo(program).isExecutable())
        return QStringLiteral("no program at %1 (build the qiravon target)").arg(program);
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return QStringLiteral("xdotool is not installed");
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return QStringLiteral("no X display (run the benchmark under xvfb-run -a)");
    return {};
}

bool WindowApp::prepare(const QString& program, const QString& folder, const QUrl& station)
{
    const QDir source = QFileInfo(program).dir();
    const QDir target(folder);
    if (!target.mkpath(QStringLiteral("data")))
        return false;
    // The rest of the shipped catalogue as it is, so the window loads what a user's does.
    const QDir data(source.filePath(QStringLiteral("data")));
    for (const QString& name : data.entryList(QDir::Files)) {
        if (name != QStringLiteral("fine.cdb") &&
            !QFile::copy(data.filePath(name), target.filePath(QStringLiteral("data/") + name)))
            return false;
    }
    QFile featured(target.filePath(QStringLiteral("data/fine.cdb")));
    if (!featured.open(QIODevice::WriteOnly))
        return false;
    for (int row = 1; row <= 30; ++row)
        featured.write(QStringLiteral("Bench %1|%2|local test stream\r\n")
                           .arg(row)
                           .arg(station.toString())
                           .toLatin1());
    featured.close();
    // The program finds its data beside itself, so it runs from the folder: a hard link, or
    // a copy on another file system.
    m_program = target.filePath(QStringLiteral("qiravon"));
    return ::link(QFile::encodeName(program).constData(),
                  QFile::encodeName(m_program).constData()) == 0 ||
           QFile::copy(program, m_program);
}

std::optional<WindowTimes> WindowApp::run(int clickAfterMs, int settleMs, int holdMs) const
{
    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QIRAVON_AUDIO_SINK"), QStringLiteral("fakesink sync=true"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"),
               QStringLiteral("qiravon.player.debug=true;qiravon.playback.debug=true"));
    env.insert(QStringLiteral("QT_MESSAGE_PATTERN"),
               QStringLiteral("%{time boot} %{category}: %{message}"));
    if (!env.contains(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS")))
        env.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"), QStringLiteral("--disable-gpu"));
    app.setProcessEnvironment(env);
    app.setProcessChannelMode(QProcess::MergedChannels);
    app.setWorkingDirectory(QFileInfo(m_program).path());
    LogReader log(app);

    const double started = monotonicMs();
    app.start(m_program, {});
    if (!app.waitForStarted(5000))
        return std::nullopt;
    const QString pid = QString::number(app.processId());

    QString window;
    const QDeadlineTimer shown(kTimeoutMs);
    while (window.isEmpty() && !shown.hasExpired() && app.state() == QProcess::Running) {
        window = findWindow(pid);
        if (window.isEmpty())
            log.pump(10);
    }
    const double windowAt = monotonicMs();
    if (window.isEmpty()) {
        stop(app);
        return std::nullopt;
    }
    const auto waitFor = [&log](int ms) {
        for (const QDeadlineTimer wait(ms); !wait.hasExpired();)
            log.pump(static_cast<int>(qMax<qint64>(1, wait.remainingTime())));
    };
    const auto treePss = [&app] {
        qint64 sum = 0;
        for (const qint64 process : processTree(app.processId()))
            sum += qMax<qint64>(0, pssKbOf(process));
        return sum;
    };
    waitFor(clickAfterMs);
    WindowTimes times;
    if (holdMs > 0) {
        times.restPssKb = pssKbOf(app.processId());
        times.restTreePssKb = treePss();
    }

    // Again: a window that was re-created meanwhile has a new id.
    if (const QString now = findWindow(pid); !now.isEmpty())
        window = now;
    // One xdotool for both presses: two would be too far apart for a double-click on a busy
    // machine.
    output(QStringLiteral("xdotool"),
           {QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(kRowX),
            QString::number(kRowY), QStringLiteral("click"), QStringLiteral("--repeat"),
            QStringLiteral("2"), QStringLiteral("--delay"), QStringLiteral("60"),
            QStringLiteral("1")});

    // A double-click that never reached the list (the window was re-created under it) shows
    // no activation; such a run is lost rather than waited for.
    double playing = -1;
    for (const QDeadlineTimer heard(kTimeoutMs), activated(3000);
         playing < 0 && !heard.hasExpired();) {
        log.pump(50);
        if (activated.hasExpired() && log.stampOf(QStringLiteral("playing row")) < 0)
            break;
        playing = log.stampOf(QStringLiteral("qiravon.player: audio plays"));
    }
    if (playing >= 0 && holdMs > 0) {
        waitFor(settleMs);
        const double before = cpuSecondsOf(app.processId());
        waitFor(holdMs);
        times.playCpu = cpuSecondsOf(app.processId()) - before;
        times.playPssKb = pssKbOf(app.processId());
        times.playTreePssKb = treePss();
    }
    stop(app);
    if (qEnvironmentVariableIsSet("QIRAVON_BENCH_LOG"))
        QTextStream(stderr) << log.text() << Qt::endl;
    if (playing < 0)
        return std::nullopt;
    // The first paint as the program logs it, where it does; else when xdotool saw the window.
    const double painted = log.stampOf(QStringLiteral("warming GStreamer up"));
    times.window = (painted >= 0 ? painted : windowAt) - started;
    // xdotool takes a tenth of a second to send a click and exit, so when the press went out
    // is not known here; the moment the program took the double-click is.
    times.clickPlay = playing - log.stampOf(QStringLiteral("playing row"));
    return times;
}

std::optional<double> runMpvFresh(const QUrl& url)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    const double started = monotonicMs();
    child.start(QStringLiteral("mpv"),
                {QStringLiteral("--no-config"), QStringLiteral("--ytdl=no"),
                 QStringLiteral("--load-scripts=no"), QStringLiteral("--no-video"),
                 QStringLiteral("--ao=null"), QStringLiteral("--msg-level=all=v"), url.toString()});
    QByteArray seen;
    double playing = -1;
    for (const QDeadlineTimer deadline(kTimeoutMs);
         playing < 0 && !deadline.hasExpired() && child.state() != QProcess::NotRunning;) {
        child.waitForReadyRead(20);
        seen += child.readAll();
        if (seen.contains("starting audio playback"))
            playing = monotonicMs() - started;
    }
    stop(child);
    if (playing < 0)
        return std::nullopt;
    return playing;
}

} // namespace qiravon::bench

#include "contenders.h"

#include "procstats.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

namespace qiravon::bench {

namespace {

constexpr int kTimeoutMs = 30000;

double field(const QString& text, const QString& name)
{
    const QRegularExpression re(QStringLiteral("(?:^|\\s)%1=([0-9.]+)").arg(name));
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

} // namespace

std::optional<StartTimes> runOurs(const QString& self, const QString& url, int idleMs,
                                  StartTimes* switched, const QString& switchTo)
{
    QProcess child;
    QStringList args{QStringLiteral("--play"), url, QStringLiteral("--idle"),
                     QString::number(idleMs)};
    if (!switchTo.isEmpty())
        args << QStringLiteral("--switch") << switchTo;
    child.start(self, args);
    if (!child.waitForFinished(2 * kTimeoutMs) || child.exitCode() != 0)
        return std::nullopt;
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    if (switched) {
        switched->first = field(out, QStringLiteral("switch_first"));
        switched->playing = field(out, QStringLiteral("switch_playing"));
    }
    return StartTimes{field(out, QStringLiteral("first")), field(out, QStringLiteral("playing"))};
}

std::optional<StartTimes> runGstLaunch(const QString& url)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("gst-launch-1.0"),
                {QStringLiteral("-v"), QStringLiteral("playbin"), QStringLiteral("uri=") + url,
                 QStringLiteral("audio-sink=fakesink sync=true silent=false")});
    QElapsedTimer clock;
    clock.start();
    qint64 paused = -1;
    QList<qint64> chains;
    QByteArray pending;
    while (chains.size() < 2 && clock.elapsed() < kTimeoutMs &&
           child.state() != QProcess::NotRunning) {
        child.waitForReadyRead(100);
        pending += child.readAll();
        const qint64 now = clock.nsecsElapsed();
        qsizetype eol;
        while ((eol = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(eol);
            pending.remove(0, eol + 1);
            if (paused < 0 && line.contains("Setting pipeline to PAUSED"))
                paused = now;
            else if (paused >= 0 && line.contains("last-message = chain"))
                chains.append(now);
        }
    }
    child.kill();
    child.waitForFinished(3000);
    if (paused < 0 || chains.size() < 2)
        return std::nullopt;
    return StartTimes{(chains[0] - paused) / 1e6, (chains[1] - paused) / 1e6};
}

std::optional<StartTimes> runMpv(const QString& url)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("mpv"),
                {QStringLiteral("--no-config"), QStringLiteral("--ytdl=no"),
                 QStringLiteral("--load-scripts=no"), QStringLiteral("--no-video"),
                 QStringLiteral("--ao=null"), QStringLiteral("--msg-level=all=v"),
                 QStringLiteral("--msg-time"), QStringLiteral("--length=1"), url});
    if (!child.waitForFinished(kTimeoutMs)) {
        child.kill();
        child.waitForFinished(3000);
        return std::nullopt;
    }
    const QString log = QString::fromUtf8(child.readAll());
    const QRegularExpression opening(QStringLiteral(R"(\[\s*([0-9.]+)\] \[ffmpeg\] Opening )"));
    const QRegularExpression started(
        QStringLiteral(R"(\[\s*([0-9.]+)\] \[cplayer\] starting audio playback)"));
    const auto a = opening.match(log);
    const auto b = started.match(log);
    if (!a.hasMatch() || !b.hasMatch())
        return std::nullopt;
    const double ms = (b.captured(1).toDouble() - a.captured(1).toDouble()) * 1000;
    return StartTimes{ms, ms};
}

std::optional<CpuUse> cpuSeconds(const QString& program, const QStringList& arguments, int settle,
                                 int seconds)
{
    QProcess child;
    child.start(program, arguments);
    if (!child.waitForStarted(5000))
        return std::nullopt;
    const qint64 pid = child.processId();
    child.waitForFinished(settle * 1000);
    const double settled = cpuSecondsOf(pid);
    child.waitForFinished(seconds * 1000);
    const double end = cpuSecondsOf(pid);
    const qint64 pss = pssKbOf(pid);
    child.kill();
    child.waitForFinished(3000);
    if (settled < 0 || end < 0)
        return std::nullopt;
    return CpuUse{end, end - settled, pss};
}

} // namespace qiravon::bench

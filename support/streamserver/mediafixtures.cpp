#include "streamserver/mediafixtures.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>

namespace qiravon::test {

QString runGstLaunch(const QString& pipeline, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("gst-launch-1.0"),
                  QStringList{QStringLiteral("-q")} + QProcess::splitCommand(pipeline));
    if (!process.waitForFinished(timeoutMs) || process.exitCode() != 0)
        return QStringLiteral("gst-launch-1.0 %1 failed: %2")
            .arg(pipeline, QString::fromLocal8Bit(process.readAll()));
    return {};
}

QString makeMediaFixtures(const QString& dir, MediaFixtures& out)
{
    // 1024-sample buffers at 44.1 kHz: 431 of them make ten seconds.
    const QString tone = QStringLiteral(
        "audiotestsrc num-buffers=431 samplesperbuffer=1024 wave=sine freq=440 volume=0.3 "
        "! audio/x-raw,rate=44100,channels=2 ! audioconvert ");
    out.mp3 = dir + QStringLiteral("/tone.mp3");
    out.aac = dir + QStringLiteral("/tone.aac");
    out.hlsDir = dir + QStringLiteral("/hls");
    QDir().mkpath(out.hlsDir);
    const QStringList pipelines{
        tone +
            QStringLiteral("! lamemp3enc target=bitrate bitrate=128 cbr=true ! filesink "
                           "location=") +
            out.mp3,
        tone +
            QStringLiteral("! voaacenc bitrate=128000 ! aacparse ! "
                           "audio/mpeg,stream-format=adts ! filesink location=") +
            out.aac,
    };
    for (const QString& pipeline : pipelines)
        if (QString error = runGstLaunch(pipeline); !error.isEmpty())
            return error;

    // hlssink2 writes the end of its playlist at end of stream but never lets gst-launch
    // exit, so the playlist's last line is the signal to stop it.
    const QString playlist = out.hlsDir + QStringLiteral("/radio.m3u8");
    QProcess hls;
    hls.start(QStringLiteral("gst-launch-1.0"),
              QStringList{QStringLiteral("-q")} +
                  QProcess::splitCommand(
                      tone +
                      QStringLiteral("! voaacenc bitrate=128000 ! aacparse ! hlssink2 "
                                     "target-duration=1 playlist-length=0 max-files=0 "
                                     "location=") +
                      out.hlsDir + QStringLiteral("/seg%05d.ts playlist-location=") + playlist));
    QDeadlineTimer deadline(60000);
    bool ended = false;
    while (!ended && !deadline.hasExpired() && hls.state() != QProcess::NotRunning) {
        hls.waitForFinished(50);
        QFile file(playlist);
        ended = file.open(QIODevice::ReadOnly) && file.readAll().contains("#EXT-X-ENDLIST");
    }
    hls.kill();
    hls.waitForFinished(5000);
    return ended ? QString() : QStringLiteral("hlssink2 did not finish the playlist");
}

} // namespace qiravon::test

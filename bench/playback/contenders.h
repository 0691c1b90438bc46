#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace qiravon::bench {

//! Start-up of one run, in milliseconds from the moment the address was handed over.
struct StartTimes
{
    double first = 0;   //!< first decoded buffer at the output
    double playing = 0; //!< audio actually playing
};

//! Our player in a fresh process (the benchmark binary itself in child mode).
//! `idleMs` after start-up before the address is set (0: at once, a cold start).
std::optional<StartTimes> runOurs(const QString& self, const QString& url, int idleMs,
                                  StartTimes* switched = nullptr, const QString& switchTo = {});
//! gst-launch-1.0 playbin on a synchronising fakesink: from "Setting pipeline to PAUSED"
//! (playbin made, state change asked) to its first and second buffers.
std::optional<StartTimes> runGstLaunch(const QString& url);
//! mpv on its null output: from "Opening" to "starting audio playback" (both times).
std::optional<StartTimes> runMpv(const QString& url);

//! CPU seconds (user + system) of the process `program arguments`, read from /proc.
struct CpuUse
{
    double total = 0;   //!< from its start to `settle + seconds`
    double playing = 0; //!< in the last `seconds` only, after `settle` seconds of start-up
    qint64 pssKb = 0;   //!< at the end
};
std::optional<CpuUse> cpuSeconds(const QString& program, const QStringList& arguments, int settle,
                                 int seconds);

} // namespace qiravon::bench

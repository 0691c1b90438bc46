#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace qiravon::bench {

//! One start of the real program, in milliseconds.
struct WindowTimes
{
    double window = 0;    //!< process start to its window's first paint
    double clickPlay = 0; //!< the program taking the double-click to audio playing
    // With a hold (run()'s `holdMs`), what the program uses; -1 when not measured.
    qint64 restPssKb = -1;     //!< the program's process just before the double-click
    qint64 restTreePssKb = -1; //!< it and the processes it started
    qint64 playPssKb = -1;     //!< the program's process after playing for the hold
    qint64 playTreePssKb = -1;
    double playCpu = -1; //!< CPU seconds of the program's process during the hold
};

//! The real program, started afresh on the current X display as a user starts it: its window
//! comes up, and a station row is double-clicked. A copy of the program lives in a folder of
//! its own whose featured list holds only the one station, so any row plays it.
class WindowApp
{
public:
    //! Empty text when `program`, xdotool and an X display are there; otherwise why not.
    [[nodiscard]] static QString missing(const QString& program);

    //! Makes the copy in `folder` (which must exist) for `station`; false when it cannot.
    [[nodiscard]] bool prepare(const QString& program, const QString& folder, const QUrl& station);

    //! Starts the copy, double-clicks a row `clickAfterMs` after its window shows, and waits
    //! for the audio; with `holdMs`, lets it play for `settleMs` and then `holdMs` more to
    //! measure memory and CPU. Nothing when the window or the audio does not come.
    [[nodiscard]] std::optional<WindowTimes> run(int clickAfterMs, int settleMs = 0,
                                                 int holdMs = 0) const;

private:
    QString m_program;
};

//! A fresh mpv on its null output: from starting the process to its "starting audio
//! playback", the counterpart of starting the program and playing a station.
std::optional<double> runMpvFresh(const QUrl& url);

} // namespace qiravon::bench

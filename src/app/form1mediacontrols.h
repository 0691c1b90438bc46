#pragma once

#include "session/mediacontrols.h"

#include <optional>

namespace qiravon {

class Form1;
struct StationRecord;

//! The desktop's media controls acting on the main window as its user would: play, stop
//! and the next or previous station go through the station list's own row activation, the
//! volume through the slider, raise and quit through the tray's handlers.
class Form1MediaControls final : public MediaControls
{
    Q_OBJECT
public:
    explicit Form1MediaControls(Form1& form1, QObject* parent = nullptr);

    void raise() override;
    void quit() override;
    //! The marked row again, as a double-click on it; when the list was refilled since and
    //! no row is marked, the station last started.
    void play() override;
    //! An empty address for the player, which then says it has stopped.
    void stop() override;
    void next() override;
    void previous() override;

    [[nodiscard]] bool isPlaying() const override;
    [[nodiscard]] bool canPlay() const override;
    [[nodiscard]] bool canGoNext() const override;
    [[nodiscard]] bool canGoPrevious() const override;
    [[nodiscard]] NowPlaying nowPlaying() const override;
    [[nodiscard]] int volume() const override;
    void setVolume(int volume) override;

private:
    void onStationStarted(const StationRecord& station);
    //! PlayingIndex() + `step` when that is a row of the list.
    [[nodiscard]] std::optional<int> neighbour(int step) const;
    [[nodiscard]] bool markedRowIsListed() const;

    Form1& m_form1;
    NowPlaying m_now;
};

} // namespace qiravon

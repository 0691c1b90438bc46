#pragma once

#include "catalogue/stationrecord.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QLabel;
class QTimer;

namespace qiravon {

class IBrowser;
class IMediaPlayer;
class ListControl;

//! The controls station playback reads and writes; none is owned.
struct StationPlaybackControls
{
    ListControl* list = nullptr;  //!< the visible station list
    QLabel* nowPlaying = nullptr; //!< names the station or page last started
    QLabel* status = nullptr;     //!< the player's or the browser's status text
    QTimer* statusPoll = nullptr; //!< started and stopped by the view switch, not here
    IBrowser* browser = nullptr;  //!< the main window's own browser; no other is listened to
};

//! The now-playing caption for a station: category, name and description.
[[nodiscard]] QString nowPlayingCaption(const QString& category, const QString& name,
                                        const QString& description);
//! What the status line shows for a player status text.
[[nodiscard]] QString statusLine(const QString& playerStatus);

//! Starts the station of an activated row and keeps the status and now-playing lines current.
//! Runs on the UI thread.
class StationPlayback : public QObject
{
    Q_OBJECT
public:
    StationPlayback(const StationPlaybackControls& controls, IMediaPlayer& player,
                    QObject* parent = nullptr);

    //! The row that carries the playing mark, as last remembered. Refilling the list does not
    //! change it, so it may name another station's row, or no row at all.
    [[nodiscard]] int PlayingIndex() const { return m_playingIndex; }

    //! Marks `row`, plays its address and names it in the now-playing line. Never fails:
    //! a step the list rejects is skipped and the rest still run.
    void activateRow(int row);
    //! Remembers the first selected row, if any.
    void rememberSelection();
    //! Shows the player's status; the poll timer calls it.
    void pollStatus();

Q_SIGNALS:
    //! A row was activated and its station's address went to the player.
    void stationStarted(int row, const qiravon::StationRecord& station);

private:
    void showBrowserStatus(const QString& text);
    void showBrowserTitle(const QString& title);

    StationPlaybackControls m_controls;
    QPointer<IMediaPlayer> m_player;
    int m_playingIndex = 0;
};

} // namespace qiravon

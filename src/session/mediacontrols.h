#pragma once

#include <QObject>
#include <QString>

namespace qiravon {

//! What the desktop's media controls show of the station started last.
struct NowPlaying
{
    //! Counts the stations started since the program began; 0 before the first.
    int serial = 0;
    QString station;     //!< the station's name
    QString streamTitle; //!< what the stream says it plays now; often empty
    QString address;     //!< the stream address the station was started with
};

//! The player as the desktop's media controls (the session bus) drive it. The application
//! implements it over its windows; the bus side knows nothing else of them. All members are
//! called on the UI thread, and changed() is emitted there.
class MediaControls : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~MediaControls() override = default;

    //! Shows the main window, as activating the tray icon does.
    virtual void raise() = 0;
    //! Ends the program, as the tray menu's exit does.
    virtual void quit() = 0;
    //! Plays the marked station again, from the start of its stream.
    virtual void play() = 0;
    //! Stops playing; the station stays marked, so play() starts it again.
    virtual void stop() = 0;
    //! Starts the station below (above) the marked one; nothing at the list's end.
    virtual void next() = 0;
    virtual void previous() = 0;

    //! Whether the player plays or is trying to (connecting, buffering, reconnecting).
    [[nodiscard]] virtual bool isPlaying() const = 0;
    [[nodiscard]] virtual bool canPlay() const = 0;
    [[nodiscard]] virtual bool canGoNext() const = 0;
    [[nodiscard]] virtual bool canGoPrevious() const = 0;
    [[nodiscard]] virtual NowPlaying nowPlaying() const = 0;
    //! The volume slider's value, 0..100.
    [[nodiscard]] virtual int volume() const = 0;
    //! Moves the volume slider to `volume` (0..100) as a drag would.
    virtual void setVolume(int volume) = 0;

Q_SIGNALS:
    //! Something the members above report may have changed; listeners read them again.
    void changed();
};

} // namespace qiravon

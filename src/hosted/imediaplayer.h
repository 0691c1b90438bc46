#pragma once

#include <QObject>
#include <QString>

namespace qiravon {

//! What the player is doing, in the terms of a desktop's media controls.
enum class PlaybackState
{
    Stopped, //!< nothing asked of it yet, an empty address, or a finite stream that ended
    Opening, //!< connecting, buffering or reconnecting: playing as far as the user is concerned
    Playing, //!< audio reaches the output
    Failed,  //!< the address cannot be played; status() says why
};

//! The hidden media player that plays a station's stream.
//! All members are called on the UI thread, and all signals are emitted there.
class IMediaPlayer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~IMediaPlayer() override = default;

    //! Closes whatever plays, opens `url` and starts it at once, even when it is empty
    //! or the same address as before. Never blocks on the network; failures show in status().
    virtual void setURL(const QString& url) = 0;
    //! The address last written with setURL().
    [[nodiscard]] virtual QString URL() const = 0;
    //! A short display text of the player's state; empty when there is nothing to report.
    [[nodiscard]] virtual QString status() const = 0;
    //! Loudness 0..100; values outside are clamped.
    virtual void setVolume(int volume) = 0;
    [[nodiscard]] virtual int volume() const = 0;
    [[nodiscard]] virtual PlaybackState playbackState() const = 0;
    //! The title the stream sends for what it plays now (untrusted text); empty when it sends
    //! none, and again whenever a new address is set.
    [[nodiscard]] virtual QString streamTitle() const = 0;

Q_SIGNALS:
    //! Emitted whenever status() changes.
    void statusChanged(const QString& status);
    //! Emitted whenever playbackState() changes.
    void playbackStateChanged(qiravon::PlaybackState state);
    //! Emitted whenever streamTitle() changes.
    void streamTitleChanged(const QString& title);
};

} // namespace qiravon

#pragma once

#include <QObject>
#include <QString>

namespace qiravon {

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

Q_SIGNALS:
    //! Emitted whenever status() changes.
    void statusChanged(const QString& status);
};

} // namespace qiravon

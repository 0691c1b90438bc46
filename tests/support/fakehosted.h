#pragma once

#include "common/runtimeerror.h"
#include "hosted/hostedfactory.h"
#include "hosted/ibrowser.h"
#include "hosted/imediaplayer.h"
#include "hosted/itray.h"

#include <QList>
#include <QPointer>
#include <QStringList>

namespace qiravon::test {

//! Records what the program asks of its browser; tests raise its events by hand.
class FakeBrowser final : public IBrowser
{
    Q_OBJECT
public:
    explicit FakeBrowser(QWidget* parent);
    QWidget* widget() override { return m_widget; }
    void Navigate(const QString& address) override { navigated.append(address); }
    void setVisible(bool visible) override;
    bool isVisible() const override { return m_visible; }

    QStringList navigated;

private:
    QWidget* m_widget;
    bool m_visible = false;
};

//! Records URL and volume writes; tests set the status text, the state and the title.
class FakeMediaPlayer final : public IMediaPlayer
{
    Q_OBJECT
public:
    using IMediaPlayer::IMediaPlayer;
    void setURL(const QString& url) override
    {
        m_url = url;
        urls.append(url);
    }
    QString URL() const override { return m_url; }
    QString status() const override { return m_status; }
    void setVolume(int volume) override
    {
        m_volume = volume;
        volumes.append(volume);
    }
    int volume() const override { return m_volume; }
    PlaybackState playbackState() const override { return m_playbackState; }
    QString streamTitle() const override { return m_streamTitle; }
    void setStatus(const QString& status)
    {
        m_status = status;
        Q_EMIT statusChanged(status);
    }
    void setPlaybackState(PlaybackState state)
    {
        m_playbackState = state;
        Q_EMIT playbackStateChanged(state);
    }
    void setStreamTitle(const QString& title)
    {
        m_streamTitle = title;
        Q_EMIT streamTitleChanged(title);
    }

    QStringList urls;
    QList<int> volumes;

private:
    QString m_url;
    QString m_status;
    int m_volume = 50;
    PlaybackState m_playbackState = PlaybackState::Stopped;
    QString m_streamTitle;
};

//! Records intray writes; tests raise the icon's events by hand.
class FakeTray final : public ITray
{
    Q_OBJECT
public:
    using ITray::ITray;
    void setIntray(bool inTray) override
    {
        m_inTray = inTray;
        intrayWrites.append(inTray);
    }
    bool intray() const override { return m_inTray; }
    void setTrayIcon(const QIcon& newIcon) override { icon = newIcon; }
    void setTrayTip(const QString& newTip) override { tip = newTip; }
    bool isAvailable() const override { return available; }

    QList<bool> intrayWrites;
    QIcon icon;
    QString tip;
    bool available = true;

private:
    bool m_inTray = false;
};

//! Hands out fakes and keeps track of them.
class FakeHosted final : public HostedFactory
{
public:
    IBrowser* createBrowser(QWidget* parent) override;
    IMediaPlayer* createMediaPlayer(QObject* parent) override;
    ITray* createTray(QObject* parent) override;

    QList<QPointer<FakeBrowser>> browsers;
    QPointer<FakeMediaPlayer> player;
    QPointer<FakeTray> tray;
};

//! Collects reports instead of showing a modal box.
class FakeReporter final : public IErrorReporter
{
public:
    void report(const RuntimeError& error) override { reports.append(error); }
    QList<RuntimeError> reports;
};

} // namespace qiravon::test

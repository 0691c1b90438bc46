#pragma once

#include "session/mediacontrols.h"

#include <QStringList>

namespace qiravon::test {

//! Media controls that record what they are asked to do; tests set what they report.
class FakeControls final : public MediaControls
{
    Q_OBJECT
public:
    void raise() override { calls.append(QStringLiteral("raise")); }
    void quit() override { calls.append(QStringLiteral("quit")); }
    void play() override { calls.append(QStringLiteral("play")); }
    void stop() override { calls.append(QStringLiteral("stop")); }
    void next() override { calls.append(QStringLiteral("next")); }
    void previous() override { calls.append(QStringLiteral("previous")); }
    bool isPlaying() const override { return playing; }
    bool canPlay() const override { return playable; }
    bool canGoNext() const override { return hasNext; }
    bool canGoPrevious() const override { return hasPrevious; }
    NowPlaying nowPlaying() const override { return now; }
    int volume() const override { return level; }
    void setVolume(int volume) override
    {
        calls.append(QStringLiteral("volume %1").arg(volume));
        level = volume;
    }

    QStringList calls;
    bool playing = false;
    bool playable = true;
    bool hasNext = true;
    bool hasPrevious = false;
    NowPlaying now;
    int level = 100;
};

} // namespace qiravon::test

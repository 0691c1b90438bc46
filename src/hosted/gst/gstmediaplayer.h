#pragma once

#include "imediaplayer.h"

namespace qiravon {

//! Sets up GStreamer once for the process; call from main() before any player exists.
void initGStreamer(int* argc, char*** argv);

//! Plays station streams through GStreamer's playbin.
class GstMediaPlayer final : public IMediaPlayer
{
    Q_OBJECT
public:
    explicit GstMediaPlayer(QObject* parent = nullptr);
    ~GstMediaPlayer() override;

    void setURL(const QString& url) override;
    [[nodiscard]] QString URL() const override { return m_url; }
    [[nodiscard]] QString status() const override { return m_status; }
    void setVolume(int volume) override;
    [[nodiscard]] int volume() const override { return m_volume; }

private:
    QString m_url;
    QString m_status;
    int m_volume = 50;
};

} // namespace qiravon

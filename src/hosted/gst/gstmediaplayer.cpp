#include "gstmediaplayer.h"

#include <gst/gst.h>

namespace qiravon {

void initGStreamer(int* argc, char*** argv)
{
    gst_init(argc, argv);
}

GstMediaPlayer::GstMediaPlayer(QObject* parent) : IMediaPlayer(parent) {}

GstMediaPlayer::~GstMediaPlayer() = default;

void GstMediaPlayer::setURL(const QString& url)
{
    m_url = url;
}

void GstMediaPlayer::setVolume(int volume)
{
    m_volume = qBound(0, volume, 100);
}

} // namespace qiravon

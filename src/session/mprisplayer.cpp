#include "session/mprisplayer.h"

#include "session/mediacontrols.h"
#include "session/mprisvalues.h"

using namespace Qt::StringLiterals;

namespace qiravon {

MprisPlayer::MprisPlayer(QObject* object, MediaControls& controls)
    : QDBusAbstractAdaptor(object), m_controls(&controls)
{
}

QString MprisPlayer::playbackStatus() const
{
    return m_controls && m_controls->isPlaying() ? u"Playing"_s : u"Stopped"_s;
}

QVariantMap MprisPlayer::metadata() const
{
    return m_controls ? mpris::metadata(m_controls->nowPlaying()) : QVariantMap();
}

double MprisPlayer::volume() const
{
    return m_controls ? m_controls->volume() / 100.0 : 0.0;
}

void MprisPlayer::setVolume(double volume)
{
    if (const std::optional<int> wanted = mpris::volumeFromBus(volume); wanted && m_controls)
        m_controls->setVolume(*wanted);
}

bool MprisPlayer::canGoNext() const
{
    return m_controls && m_controls->canGoNext();
}

bool MprisPlayer::canGoPrevious() const
{
    return m_controls && m_controls->canGoPrevious();
}

bool MprisPlayer::canPlay() const
{
    return m_controls && m_controls->canPlay();
}

bool MprisPlayer::canPause() const
{
    return canPlay();
}

QVariantMap MprisPlayer::announcedProperties() const
{
    return {{u"PlaybackStatus"_s, playbackStatus()},
            {u"Metadata"_s, metadata()},
            {u"Volume"_s, volume()},
            {u"CanGoNext"_s, canGoNext()},
            {u"CanGoPrevious"_s, canGoPrevious()},
            {u"CanPlay"_s, canPlay()},
            {u"CanPause"_s, canPause()}};
}

void MprisPlayer::Next()
{
    if (m_controls)
        m_controls->next();
}

void MprisPlayer::Previous()
{
    if (m_controls)
        m_controls->previous();
}

void MprisPlayer::Pause()
{
    if (m_controls && m_controls->isPlaying())
        m_controls->stop();
}

void MprisPlayer::PlayPause()
{
    if (!m_controls)
        return;
    if (m_controls->isPlaying())
        m_controls->stop();
    else
        m_controls->play();
}

void MprisPlayer::Stop()
{
    if (m_controls)
        m_controls->stop();
}

void MprisPlayer::Play()
{
    // Playing already: starting the stream over would only interrupt it.
    if (m_controls && !m_controls->isPlaying())
        m_controls->play();
}

void MprisPlayer::Seek(qlonglong /*Offset*/) {}

void MprisPlayer::SetPosition(const QDBusObjectPath& /*TrackId*/, qlonglong /*Position*/) {}

void MprisPlayer::OpenUri(const QString& /*Uri*/) {}

} // namespace qiravon

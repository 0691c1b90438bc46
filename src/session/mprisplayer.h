#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QPointer>
#include <QVariantMap>

namespace qiravon {

class MediaControls;

//! org.mpris.MediaPlayer2.Player on the object it is made for. Live radio cannot pause or
//! seek: Pause stops, and PlayPause toggles between playing and stopped.
class MprisPlayer final : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)

public:
    MprisPlayer(QObject* object, MediaControls& controls);

    [[nodiscard]] QString playbackStatus() const;
    [[nodiscard]] double rate() const { return 1.0; }
    void setRate(double /*rate*/) {} // the only rate is 1.0
    [[nodiscard]] QVariantMap metadata() const;
    [[nodiscard]] double volume() const;
    void setVolume(double volume);
    //! A live stream has no position worth telling; 0 keeps widgets from drawing a bar.
    [[nodiscard]] qlonglong position() const { return 0; }
    [[nodiscard]] bool canGoNext() const;
    [[nodiscard]] bool canGoPrevious() const;
    [[nodiscard]] bool canPlay() const;
    //! As canPlay(): desktop widgets offer their pause button only when this holds, and
    //! pausing a radio is stopping it.
    [[nodiscard]] bool canPause() const;
    [[nodiscard]] bool canSeek() const { return false; }
    [[nodiscard]] bool canControl() const { return true; }

    //! The properties whose changes are announced, by their names on the bus.
    [[nodiscard]] QVariantMap announcedProperties() const;

public Q_SLOTS:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    // Nothing seeks, and nothing opens an address from outside; the arguments are named as
    // the interface names them, since the bus shows these names.
    void Seek(qlonglong Offset);
    void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position);
    void OpenUri(const QString& Uri);

Q_SIGNALS:
    //! Never emitted: nothing can seek. Part of the interface all the same.
    void Seeked(qlonglong Position);

private:
    QPointer<MediaControls> m_controls;
};

} // namespace qiravon

#pragma once

#include <QDBusAbstractAdaptor>
#include <QPointer>
#include <QStringList>

namespace qiravon {

class MediaControls;

//! org.mpris.MediaPlayer2 on the object it is made for: who the player is, and raising or
//! ending it.
class MprisRoot final : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)

public:
    MprisRoot(QObject* object, MediaControls& controls);

    [[nodiscard]] bool canQuit() const { return true; }
    [[nodiscard]] bool canRaise() const { return true; }
    [[nodiscard]] bool hasTrackList() const { return false; }
    [[nodiscard]] QString identity() const;
    [[nodiscard]] QString desktopEntry() const;
    // Nothing can be opened from outside: the player plays the stations of its own list.
    [[nodiscard]] QStringList supportedUriSchemes() const { return {}; }
    [[nodiscard]] QStringList supportedMimeTypes() const { return {}; }

public Q_SLOTS:
    void Raise();
    void Quit();

private:
    QPointer<MediaControls> m_controls;
};

} // namespace qiravon

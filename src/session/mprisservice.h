#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QVariantMap>
#include <optional>

namespace qiravon {

class MediaControls;
class MprisPlayer;

//! The player on the session bus as MPRIS 2.2 describes a media player: the object
//! /org/mpris/MediaPlayer2 with its two interfaces, and PropertiesChanged whenever what the
//! controls report changes. Runs on the UI thread.
class MprisService final : public QObject
{
    Q_OBJECT
public:
    explicit MprisService(MediaControls& controls, QObject* parent = nullptr);
    ~MprisService() override;

    //! Puts the object on `bus` and takes org.mpris.MediaPlayer2.qiravon, or, while another
    //! connection holds that, a name of its own with this process's id. Returns the name
    //! taken; empty when the bus has no room for the player, which then runs without.
    QString registerOn(const QDBusConnection& bus);
    //! The name taken by registerOn(); empty before.
    [[nodiscard]] QString serviceName() const { return m_serviceName; }

private:
    void scheduleAnnouncement();
    void announceChanges();

    QPointer<MediaControls> m_controls;
    MprisPlayer* m_player; // adaptor, child of this object
    std::optional<QDBusConnection> m_bus;
    QString m_serviceName;
    QVariantMap m_announced;
    bool m_announcementDue = false;
};

} // namespace qiravon

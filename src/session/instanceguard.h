#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <optional>

namespace qiravon {

class LocalInstance;

//! Where a player looks for another one running on the same desktop.
struct InstancePlaces
{
    QString runtimeFolder; //!< the user's private runtime folder, for the lock and socket
    QString display;       //!< names the desktop the windows go to
};

//! One player per desktop. The first start claims the session bus name org.qiravon.Qiravon
//! and a lock in the runtime folder; a later start finds either, asks the running player to
//! show its window (over the bus as an MPRIS Raise, else over the lock's socket) and ends.
//! Without a session bus the lock alone decides.
class InstanceGuard final : public QObject
{
    Q_OBJECT
public:
    enum class Claim
    {
        First,         //!< no other player runs; this one goes on
        AlreadyRunning //!< another one was asked to show its window; this one should end
    };

    explicit InstanceGuard(const InstancePlaces& places, QObject* parent = nullptr);
    //! Gives up what claim() took.
    ~InstanceGuard() override;

    //! Decides, with short timeouts on the bus. `bus` may be disconnected.
    [[nodiscard]] Claim claim(const QDBusConnection& bus);

    //! The runtime folder and display of this process's environment.
    [[nodiscard]] static InstancePlaces defaultPlaces();

Q_SIGNALS:
    //! A later start asked, over the socket, for the window. (Over the bus the ask arrives as
    //! the media controls' Raise.)
    void raiseRequested();

private:
    LocalInstance* m_local;               // child of this object
    std::optional<QDBusConnection> m_bus; // while it holds the name
};

} // namespace qiravon

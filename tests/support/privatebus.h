#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace qiravon::test {

//! A session bus of the test's own: a dbus-daemon started for it and ended with it.
class PrivateBus
{
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    //! Starts the daemon; empty on success, else why it could not.
    QString start();
    //! What DBUS_SESSION_BUS_ADDRESS names for a program on this bus.
    [[nodiscard]] QString address() const { return m_address; }
    //! A connection of its own to the bus, closed with the bus.
    QDBusConnection connect(const QString& name);

private:
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};

} // namespace qiravon::test

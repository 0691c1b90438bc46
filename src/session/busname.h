#pragma once

#include <QDBusConnection>
#include <QString>

namespace qiravon {

//! The answer of the bus to a request for a well-known name.
enum class BusNameResult
{
    Owned, //!< this connection owns the name now (or did already)
    Taken, //!< another connection owns it
    Failed //!< no bus, no answer in time, or a refusal
};

//! Where the session bus is: DBUS_SESSION_BUS_ADDRESS, else the socket `bus` in the runtime
//! folder, as libdbus looks for it. Empty when neither is there.
[[nodiscard]] QString sessionBusAddress(const QString& addressVariable,
                                        const QString& runtimeFolder);

//! The session bus if the session has one; else a connection that is not connected. Without
//! an address libdbus would "autolaunch": start a bus daemon of its own for this display,
//! which no desktop component listens on, costing the start a process spawn for nothing.
[[nodiscard]] QDBusConnection sessionBusIfAny();

//! Asks `bus` for `name` without queueing for it, waiting at most `timeoutMs` for the answer,
//! so a bus that does not answer cannot hold up the start.
[[nodiscard]] BusNameResult requestBusName(const QDBusConnection& bus, const QString& name,
                                           int timeoutMs);
//! Gives `name` back, waiting at most `timeoutMs`, so the next owner can have it at once.
void releaseBusName(const QDBusConnection& bus, const QString& name, int timeoutMs);

} // namespace qiravon

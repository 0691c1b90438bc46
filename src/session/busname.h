#pragma once

#include <QString>

class QDBusConnection;

namespace qiravon {

//! The answer of the bus to a request for a well-known name.
enum class BusNameResult
{
    Owned, //!< this connection owns the name now (or did already)
    Taken, //!< another connection owns it
    Failed //!< no bus, no answer in time, or a refusal
};

//! Asks `bus` for `name` without queueing for it, waiting at most `timeoutMs` for the answer,
//! so a bus that does not answer cannot hold up the start.
[[nodiscard]] BusNameResult requestBusName(const QDBusConnection& bus, const QString& name,
                                           int timeoutMs);
//! Gives `name` back, waiting at most `timeoutMs`, so the next owner can have it at once.
void releaseBusName(const QDBusConnection& bus, const QString& name, int timeoutMs);

} // namespace qiravon

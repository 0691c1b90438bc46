#include "session/instanceguard.h"

#include "session/busname.h"
#include "session/localinstance.h"
#include "session/log.h"
#include "session/mprisvalues.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

// The program's own name on the bus, held from the start: the media controls' name only
// appears once the window is up, and a second start may come before.
const QString kInstanceName = u"org.qiravon.Qiravon"_s;
constexpr int kNameTimeoutMs = 1500;
constexpr int kRaiseTimeoutMs = 3000;

void raiseOverBus(const QDBusConnection& bus)
{
    const QDBusMessage call = QDBusMessage::createMethodCall(kInstanceName, mpris::kObjectPath,
                                                             mpris::kRootInterface, u"Raise"_s);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kRaiseTimeoutMs);
    // A player still loading has no media controls yet; it shows its window by itself.
    if (reply.type() == QDBusMessage::ErrorMessage)
        qCInfo(lcSession) << "the running player did not take Raise:" << reply.errorName();
}

} // namespace

InstanceGuard::InstanceGuard(const InstancePlaces& places, QObject* parent)
    : QObject(parent), m_local(new LocalInstance(places.runtimeFolder, places.display, this))
{
    connect(m_local, &LocalInstance::raiseRequested, this, &InstanceGuard::raiseRequested);
}

InstanceGuard::~InstanceGuard()
{
    if (m_bus)
        releaseBusName(*m_bus, kInstanceName, kNameTimeoutMs);
}

InstanceGuard::Claim InstanceGuard::claim(const QDBusConnection& bus)
{
    switch (requestBusName(bus, kInstanceName, kNameTimeoutMs)) {
    case BusNameResult::Taken:
        raiseOverBus(bus);
        return Claim::AlreadyRunning;
    case BusNameResult::Owned:
        m_bus = bus;
        break;
    case BusNameResult::Failed:
        break;
    }
    // Also with the bus name in hand: a player started without the bus holds only the lock.
    if (m_local->claim() == LocalInstance::Claim::Running)
        return Claim::AlreadyRunning;
    return Claim::First;
}

InstancePlaces InstanceGuard::defaultPlaces()
{
    InstancePlaces places;
    places.runtimeFolder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    places.display = qEnvironmentVariable("WAYLAND_DISPLAY") + qEnvironmentVariable("DISPLAY");
    return places;
}

} // namespace qiravon

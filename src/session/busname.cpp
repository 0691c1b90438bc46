#include "session/busname.h"

#include "session/log.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

// The flag and the answers of the bus's RequestName call.
constexpr uint kDoNotQueue = 0x4;
constexpr uint kPrimaryOwner = 1;
constexpr uint kExists = 3;
constexpr uint kAlreadyOwner = 4;

} // namespace

QString sessionBusAddress(const QString& addressVariable, const QString& runtimeFolder)
{
    if (!addressVariable.isEmpty())
        return addressVariable;
    if (runtimeFolder.isEmpty())
        return {};
    const QString socket = runtimeFolder + u"/bus"_s;
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(socket).constData(), &info) != 0 || !S_ISSOCK(info.st_mode))
        return {};
    return u"unix:path="_s + socket;
}

QDBusConnection sessionBusIfAny()
{
    if (sessionBusAddress(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"),
                          qEnvironmentVariable("XDG_RUNTIME_DIR"))
            .isEmpty()) {
        qCInfo(lcSession, "no session bus: media controls off, one instance by the local lock");
        return QDBusConnection(u"qiravon-no-session-bus"_s);
    }
    return QDBusConnection::sessionBus();
}

namespace {

QDBusMessage busCall(const QString& method)
{
    return QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_s, u"/org/freedesktop/DBus"_s,
                                          u"org.freedesktop.DBus"_s, method);
}

} // namespace

BusNameResult requestBusName(const QDBusConnection& bus, const QString& name, int timeoutMs)
{
    if (!bus.isConnected())
        return BusNameResult::Failed;
    QDBusMessage request = busCall(u"RequestName"_s);
    request << name << kDoNotQueue;
    const QDBusMessage reply = bus.call(request, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qCWarning(lcSession) << "the session bus did not give" << name << ":"
                             << reply.errorMessage();
        return BusNameResult::Failed;
    }
    switch (reply.arguments().constFirst().toUInt()) {
    case kPrimaryOwner:
    case kAlreadyOwner:
        return BusNameResult::Owned;
    case kExists:
        return BusNameResult::Taken;
    default:
        return BusNameResult::Failed;
    }
}

void releaseBusName(const QDBusConnection& bus, const QString& name, int timeoutMs)
{
    if (!bus.isConnected())
        return;
    QDBusMessage release = busCall(u"ReleaseName"_s);
    release << name;
    bus.call(release, QDBus::Block, timeoutMs);
}

} // namespace qiravon

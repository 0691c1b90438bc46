#include "session/mprisservice.h"

#include "session/busname.h"
#include "session/log.h"
#include "session/mediacontrols.h"
#include "session/mprisplayer.h"
#include "session/mprisroot.h"
#include "session/mprisvalues.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

constexpr int kNameTimeoutMs = 1500;

} // namespace

MprisService::MprisService(MediaControls& controls, QObject* parent)
    : QObject(parent), m_controls(&controls), m_player(new MprisPlayer(this, controls))
{
    new MprisRoot(this, controls);
    m_announced = m_player->announcedProperties();
    connect(&controls, &MediaControls::changed, this, &MprisService::scheduleAnnouncement);
}

MprisService::~MprisService()
{
    // Gone at once for the desktop, not only when the process has ended.
    if (!m_bus)
        return;
    releaseBusName(*m_bus, m_serviceName, kNameTimeoutMs);
    m_bus->unregisterObject(mpris::kObjectPath);
}

QString MprisService::registerOn(const QDBusConnection& bus)
{
    if (!bus.isConnected())
        return {};
    m_bus = bus;
    // The object first: a desktop that sees the name appear asks for the properties at once.
    if (!m_bus->registerObject(mpris::kObjectPath, this, QDBusConnection::ExportAdaptors)) {
        qCWarning(lcSession) << "cannot put the media controls on the session bus:"
                             << m_bus->lastError().message();
        m_bus.reset();
        return {};
    }
    const QString instanceName =
        mpris::kServiceName + u".instance"_s + QString::number(QCoreApplication::applicationPid());
    for (const QString& name : {mpris::kServiceName, instanceName}) {
        if (requestBusName(*m_bus, name, kNameTimeoutMs) == BusNameResult::Owned) {
            m_serviceName = name;
            qCDebug(lcSession) << "media controls on the session bus as" << name;
            return name;
        }
    }
    m_bus->unregisterObject(mpris::kObjectPath);
    m_bus.reset();
    return {};
}

void MprisService::scheduleAnnouncement()
{
    // A drag or a long list fill changes things many times in a row; one look once the
    // event loop is back tells each change once, and only real ones.
    if (m_announcementDue)
        return;
    m_announcementDue = true;
    QTimer::singleShot(0, this, &MprisService::announceChanges);
}

void MprisService::announceChanges()
{
    m_announcementDue = false;
    const QVariantMap now = m_player->announcedProperties();
    QVariantMap changed;
    for (auto it = now.constBegin(); it != now.constEnd(); ++it) {
        if (m_announced.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    m_announced = now;
    if (changed.isEmpty() || !m_bus)
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        mpris::kObjectPath, u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s);
    signal << mpris::kPlayerInterface << changed << QStringList();
    m_bus->send(signal);
}

} // namespace qiravon

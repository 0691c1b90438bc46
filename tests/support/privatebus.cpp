#include "support/privatebus.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace qiravon::test {

PrivateBus::~PrivateBus()
{
    for (const QString& name : std::as_const(m_connections))
        QDBusConnection::disconnectFromBus(name);
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) {
            m_daemon.kill();
            m_daemon.waitForFinished();
        }
    }
}

QString PrivateBus::start()
{
    if (QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty())
        return u"dbus-daemon is not installed"_s;
    m_daemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
    if (!m_daemon.waitForStarted())
        return u"dbus-daemon did not start"_s;
    while (!m_daemon.canReadLine()) {
        if (!m_daemon.waitForReadyRead(10000))
            return u"dbus-daemon printed no address"_s;
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    return {};
}

QDBusConnection PrivateBus::connect(const QString& name)
{
    m_connections.append(name);
    return QDBusConnection::connectToBus(m_address, name);
}

} // namespace qiravon::test

#include "hosted/tray/systemtray.h"

#include "hosted/tray/log.h"

#include <QSystemTrayIcon>

namespace qiravon {

SystemTray::SystemTray(QObject* parent) : ITray(parent), m_icon(new QSystemTrayIcon(this))
{
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                switch (reason) {
                case QSystemTrayIcon::Context:
                    Q_EMIT IconButton(2);
                    break;
                case QSystemTrayIcon::Trigger:
                case QSystemTrayIcon::DoubleClick:
                    Q_EMIT IconButton(1);
                    Q_EMIT IconActivate();
                    break;
                case QSystemTrayIcon::MiddleClick:
                    Q_EMIT IconButton(4);
                    break;
                case QSystemTrayIcon::Unknown:
                    break;
                }
            });
}

SystemTray::~SystemTray() = default;

void SystemTray::setIntray(bool inTray)
{
    if (inTray && !m_icon->isVisible())
        qCDebug(lcTray) << "showing the tray icon; a tray is"
                        << (isAvailable() ? "available" : "not available");
    m_icon->setVisible(inTray);
}

bool SystemTray::intray() const
{
    return m_icon->isVisible();
}

void SystemTray::setTrayIcon(const QIcon& icon)
{
    m_icon->setIcon(icon);
}

void SystemTray::setTrayTip(const QString& tip)
{
    m_icon->setToolTip(tip);
}

bool SystemTray::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace qiravon

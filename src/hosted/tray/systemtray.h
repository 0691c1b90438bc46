#pragma once

#include "hosted/itray.h"

class QSystemTrayIcon;

namespace qiravon {

//! The notification-area icon over QSystemTrayIcon.
class SystemTray final : public ITray
{
    Q_OBJECT
public:
    explicit SystemTray(QObject* parent = nullptr);
    ~SystemTray() override;

    void setIntray(bool inTray) override;
    [[nodiscard]] bool intray() const override;
    void setTrayIcon(const QIcon& icon) override;
    void setTrayTip(const QString& tip) override;
    [[nodiscard]] bool isAvailable() const override;

private:
    QSystemTrayIcon* m_icon = nullptr;
};

} // namespace qiravon

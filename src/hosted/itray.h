#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

namespace qiravon {

//! The notification-area icon. All members are called on the UI thread, and all signals
//! are emitted there.
class ITray : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~ITray() override = default;

    //! True puts the icon in the notification area; writing true again keeps exactly one icon.
    virtual void setIntray(bool inTray) = 0;
    [[nodiscard]] virtual bool intray() const = 0;
    virtual void setTrayIcon(const QIcon& icon) = 0;
    virtual void setTrayTip(const QString& tip) = 0;
    //! Whether the desktop has a notification area at all.
    [[nodiscard]] virtual bool isAvailable() const = 0;

Q_SIGNALS:
    //! A mouse button acted on the icon; 1 left, 2 right, 4 middle.
    void IconButton(int button);
    //! The user activated the icon (a left click or a double-click).
    void IconActivate();
};

} // namespace qiravon

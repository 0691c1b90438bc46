#pragma once

#include "app/form2.h"
#include "app/shutdown.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace qiravon {

class ITray;

//! What the tray icon and its menu do: the right button pops up the menu of Form2, created
//! on first use; activating the icon or choosing "恢复窗口" shows the main window; "退出"
//! ends the program.
class TrayHandlers final : public QObject
{
    Q_OBJECT
public:
    //! `closeForm3` closes the web radio window when it is open.
    TrayHandlers(QWidget* mainWindow, ITray* tray, std::function<void()> closeForm3,
                 QObject* parent);
    ~TrayHandlers() override;

    //! The menu's window while it exists, else null.
    [[nodiscard]] Form2* form2() const { return m_form2; }
    //! Creates the menu's window, hidden, when it does not exist yet.
    Form2& ensureForm2();

    //! A mouse button acted on the icon: the right one (2) pops up the menu at the pointer
    //! and returns when the menu has closed; any other does nothing.
    void iconButton(int button);
    //! Makes the main window visible without touching its state: a minimised window stays
    //! minimised, and a visible one is left as it is.
    void showWindow();
    //! Unloads every window and ends the program.
    void shutdown();
    //! The steps shutdown() runs, in its order.
    [[nodiscard]] ShutdownSteps shutdownSteps();

private:
    QPointer<QWidget> m_mainWindow;
    std::function<void()> m_closeForm3;
    QPointer<Form2> m_form2;         // owned; top-level like every form
    QPointer<Form2> m_unloadedForm2; // owned until its deferred deletion runs
};

} // namespace qiravon

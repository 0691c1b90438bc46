#include "app/trayhandlers.h"

#include "app/form2.h"
#include "hosted/itray.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMenu>

namespace qiravon {

TrayHandlers::TrayHandlers(QWidget* mainWindow, ITray* tray, std::function<void()> closeForm3,
                           QObject* parent)
    : QObject(parent), m_mainWindow(mainWindow), m_closeForm3(std::move(closeForm3))
{
    connect(tray, &ITray::IconButton, this, &TrayHandlers::iconButton);
    connect(tray, &ITray::IconActivate, this, &TrayHandlers::showWindow);
}

TrayHandlers::~TrayHandlers()
{
    // The shutdown could only schedule the deletion, from inside the window's own menu; the
    // event loop has stopped since, so nothing else may delete it.
    delete m_unloadedForm2.data();
    delete m_form2.data();
}

Form2& TrayHandlers::ensureForm2()
{
    if (!m_form2) {
        m_form2 = new Form2();
        connect(m_form2->free, &QAction::triggered, this, &TrayHandlers::showWindow);
        connect(m_form2->exit, &QAction::triggered, this, &TrayHandlers::shutdown);
    }
    return *m_form2;
}

void TrayHandlers::iconButton(int button)
{
    if (button != 2)
        return;
    ensureForm2().pop->exec(QCursor::pos());
}

void TrayHandlers::showWindow()
{
    if (m_mainWindow)
        m_mainWindow->setVisible(true);
}

ShutdownSteps TrayHandlers::shutdownSteps()
{
    ShutdownSteps steps;
    steps.unloadForm1 = [this] {
        if (m_mainWindow)
            m_mainWindow->close();
    };
    steps.unloadForm2 = [this] {
        if (!m_form2)
            return;
        m_form2->close();
        // Its menu is still running the choice that led here; it must outlive this call.
        m_form2->deleteLater();
        m_unloadedForm2 = m_form2;
        m_form2 = nullptr;
    };
    steps.unloadForm3 = m_closeForm3;
    steps.endProgram = [] { QCoreApplication::exit(0); };
    return steps;
}

void TrayHandlers::shutdown()
{
    runShutdown(shutdownSteps());
}

} // namespace qiravon

// The composition root: sets up the process, creates the real hosted components and hands
// them to the main window.

#include "app/form1.h"
#include "app/messageboxreporter.h"
#include "app/realhosted.h"
#include "app/startup.h"
#include "hosted/gst/gstsetup.h"
#include "hosted/web/webengineenv.h"

#include <QApplication>
#include <QDir>
#include <cstdlib>

namespace {

// Everything the process needs before Qt starts; each variable only where the user left it unset.
void prepareEnvironment()
{
    qiravon::prepareWebEngineEnvironment();
}

} // namespace

int main(int argc, char* argv[])
{
    prepareEnvironment();
    qiravon::initGStreamer(&argc, &argv);
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Qiravon"));
    app.setDesktopFileName(QStringLiteral("qiravon"));
    // The window hides to the tray; only the tray menu ends the program.
    app.setQuitOnLastWindowClosed(false);

    qiravon::RealHosted hosted;
    qiravon::MessageBoxReporter reporter;
    const QString dataDir = QCoreApplication::applicationDirPath() + QStringLiteral("/data/");
    qiravon::Form1 form1(hosted, reporter, dataDir);
    if (const int status = qiravon::startMainWindow(form1, reporter))
        return status;
    return app.exec();
}

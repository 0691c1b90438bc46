// The composition root: sets up the process, creates the real hosted components and hands
// them to the main window.

#include "errorreport.h"
#include "form1.h"
#include "gstmediaplayer.h"
#include "realhosted.h"
#include "startup.h"

#include <QApplication>
#include <QDir>

#include <cstdlib>

#include <unistd.h>

namespace {

// Sets a variable only where the user has not, so a user's own choice always wins.
void setDefaultEnv(const char* name, const char* value)
{
    if (qEnvironmentVariableIsEmpty(name))
        qputenv(name, value);
}

void prepareEnvironment()
{
    // Chromium refuses to start its sandbox as root; desktop users are not root, so this
    // changes nothing for them.
    if (::geteuid() == 0)
        setDefaultEnv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // A virtual X server has no GPU; asking Chromium for one only produces errors there.
    if (qEnvironmentVariable("DISPLAY").size() > 0 && !qEnvironmentVariableIsEmpty("QIRAVON_XVFB"))
        setDefaultEnv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
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

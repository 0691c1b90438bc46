// The composition root: sets up the process, creates the real hosted components and hands
// them to the main window.

#include "app/datadir.h"
#include "app/form1.h"
#include "app/form1mediacontrols.h"
#include "app/messageboxreporter.h"
#include "app/realhosted.h"
#include "app/startup.h"
#include "app/trayhandlers.h"
#include "hosted/gst/gstsetup.h"
#include "hosted/web/webengineenv.h"
#include "resources/resources.h"
#include "session/busname.h"
#include "session/instanceguard.h"
#include "session/mprisservice.h"

#include <QApplication>
#include <cstdlib>

namespace {

// Everything the process needs before Qt starts; each variable only where the user left it unset.
void prepareEnvironment()
{
    qiravon::prepareWebEngineEnvironment();
}

QString dataDir()
{
    return qiravon::locateDataDir(QCoreApplication::applicationDirPath(),
                                  QStringLiteral(QIRAVON_INSTALLED_DATA));
}

// GStreamer reads its registry and loads its plug-ins after the first frame, on a thread of its
// own, so the window waits for none of it and the first double-click finds them ready.
void prewarmPlayer(qiravon::Form1& form1)
{
    QObject::connect(&form1, &qiravon::Form1::firstPainted, &form1,
                     [] { qiravon::prewarmGStreamer(); });
}

} // namespace

int main(int argc, char* argv[])
{
    prepareEnvironment();
    // The window's fonts and pictures are made ready on other threads while Qt connects to
    // the display and the window is put together: they are most of what a first frame waits
    // for.
    qiravon::resources::startFontSetUp();
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Qiravon"));
    app.setDesktopFileName(QStringLiteral("qiravon"));
    // The window hides to the tray; only the tray menu ends the program.
    app.setQuitOnLastWindowClosed(false);

    // Settled before anything is read or played: a second start only brings the first one's
    // window back, and ends.
    const QDBusConnection bus = qiravon::sessionBusIfAny();
    qiravon::InstanceGuard guard(qiravon::InstanceGuard::defaultPlaces());
    if (guard.claim(bus) == qiravon::InstanceGuard::Claim::AlreadyRunning)
        return EXIT_SUCCESS;

    // Only now: a second start ends above, and must not end with pictures half decoded.
    qiravon::resources::startDecoding();
    qiravon::prepareGStreamer(&argc, &argv);
    qiravon::RealHosted hosted;
    qiravon::MessageBoxReporter reporter;
    qiravon::Form1 form1(hosted, reporter, dataDir());
    QObject::connect(&guard, &qiravon::InstanceGuard::raiseRequested, &form1.trayHandlers(),
                     &qiravon::TrayHandlers::showWindow);
    prewarmPlayer(form1);
    if (const int status = qiravon::startMainWindow(form1, reporter))
        return status;

    // On the bus only once the window is up, so a desktop never lists a player that fails
    // to start; without a session bus the program runs as before.
    qiravon::Form1MediaControls controls(form1);
    qiravon::MprisService mpris(controls);
    mpris.registerOn(bus);
    return app.exec();
}

#pragma once

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace qiravon::test {

// Generous: WebEngine starts slowly on a loaded machine, and nothing here is timed.
constexpr int kProgramStartTimeoutMs = 60000;
constexpr int kProgramStepTimeoutMs = 15000;

//! Runs a command-line tool and returns what it printed, trimmed; empty when it fails to
//! finish within 10 s.
QString runTool(const QString& program, const QStringList& args);
//! Polls `condition` every 200 ms, running events, until it holds or `timeoutMs` passed.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs);

// The X server of the test, seen through xdotool and xwininfo.
[[nodiscard]] QRect windowGeometry(const QString& window);
[[nodiscard]] bool isViewable(const QString& window);
//! Clicks `button` at `at` on the screen.
void clickAt(QPoint at, int button);
//! The ids of the shown main windows: named "Qiravon" and as wide as its skin.
[[nodiscard]] QStringList qiravonMainWindows();
//! The tools the functions above need, or the first that is missing.
[[nodiscard]] QString missingDesktopTool();
//! Starts openbox, as the window's own buttons rely on the activation a window manager gives,
//! and the tray host trayer, without which the close button minimises instead of hiding.
//! Returns both, or nothing when either did not come up.
std::vector<std::unique_ptr<QProcess>> startDesktop();

//! The environment for a real Qiravon on the test's display, alone in `runtimeFolder`, on
//! the session bus at `busAddress`, or on none when that is empty.
[[nodiscard]] QProcessEnvironment programEnvironment(const QString& runtimeFolder,
                                                     const QString& busAddress);
//! Starts `program` in `environment`; its standard error goes to the test's.
std::unique_ptr<QProcess> startProgram(const QString& program,
                                       const QProcessEnvironment& environment,
                                       const QString& workingFolder = {});
//! Waits until one main window has stood still for three seconds (the browser creates it
//! anew once on its first paint) and returns it; empty if none came.
QString waitForMainWindow();
//! Ends `process` if it still runs.
void endProgram(QProcess* process);

} // namespace qiravon::test

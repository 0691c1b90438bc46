#pragma once

#include <QString>

namespace qiravon {

//! True when `display` (an X11 DISPLAY value) names a local X server that is a virtual frame
//! buffer (Xvfb). The server is found through the lock file it keeps in `lockDir` and its
//! process entry in `procDir`; a remote or unreadable display counts as a real one.
[[nodiscard]] bool isVirtualXServer(const QString& display,
                                    const QString& lockDir = QStringLiteral("/tmp"),
                                    const QString& procDir = QStringLiteral("/proc"));

//! Prepares the process for Qt WebEngine without loading it. Runs before the QApplication is
//! created, while the process has one thread: the variables are read when the engine and Qt
//! Quick start, and changing the environment later races with threads that read it.
//! Sets a variable only where the user has not set it.
void prepareWebEngineEnvironment();

} // namespace qiravon

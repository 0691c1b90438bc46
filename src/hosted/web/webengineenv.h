#pragma once

#include <QString>

namespace qiravon {

//! True when `display` (an X11 DISPLAY value) names a local X server that is a virtual frame
//! buffer (Xvfb). The server is found through the lock file it keeps in `lockDir` and its
//! process entry in `procDir`; a remote or unreadable display counts as a real one.
[[nodiscard]] bool isVirtualXServer(const QString& display,
                                    const QString& lockDir = QStringLiteral("/tmp"),
                                    const QString& procDir = QStringLiteral("/proc"));

//! Prepares the process for Qt WebEngine. Must run before the QApplication is created, because
//! both the application attributes and Chromium's switches are read once, at start-up.
//! Sets a variable only where the user has not set it.
void prepareWebEngineEnvironment();

} // namespace qiravon

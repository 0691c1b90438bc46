#pragma once

namespace qiravon {

class Form1;
class IErrorReporter;

//! Runs the main window's load step and shows the window. When a step fails, the failure is
//! reported, the window is never shown, and the exit status for the process is returned;
//! 0 means the window is up and the event loop should run.
[[nodiscard]] int startMainWindow(Form1& form1, IErrorReporter& reporter);

} // namespace qiravon

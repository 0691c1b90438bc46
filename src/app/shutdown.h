#pragma once

#include <functional>

namespace qiravon {

//! What ending the program does, one window at a time. No window saves anything as it goes.
struct ShutdownSteps
{
    std::function<void()> unloadForm1;
    std::function<void()> unloadForm2;
    //! Closes the web radio window when it is open; opens nothing.
    std::function<void()> unloadForm3;
    //! Ends the program once no window is left; the event loop returns 0.
    std::function<void()> endProgram;
};

//! Runs the steps in order: the main window, the menu's window, the web radio window, then
//! the end of the program. A missing step is skipped.
void runShutdown(const ShutdownSteps& steps);

} // namespace qiravon

#include "app/shutdown.h"

namespace qiravon {

void runShutdown(const ShutdownSteps& steps)
{
    for (const auto* step :
         {&steps.unloadForm1, &steps.unloadForm2, &steps.unloadForm3, &steps.endProgram}) {
        if (*step)
            (*step)();
    }
}

} // namespace qiravon

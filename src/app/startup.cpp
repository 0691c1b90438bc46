#include "app/startup.h"

#include "app/form1.h"
#include "common/runtimeerror.h"

#include <cstdlib>

namespace qiravon {

int startMainWindow(Form1& form1, IErrorReporter& reporter)
{
    if (const auto error = form1.load()) {
        reporter.report(*error);
        return EXIT_FAILURE;
    }
    form1.show();
    // Without a window manager nothing activates a new window; ask for it, as a desktop
    // would give it to a freshly started program.
    form1.activateWindow();
    return EXIT_SUCCESS;
}

} // namespace qiravon

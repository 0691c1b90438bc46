// The main window's station playback, status lines and volume slider.

#include "form1.h"

namespace qiravon {

void Form1::wirePlayback() {}

} // namespace qiravon

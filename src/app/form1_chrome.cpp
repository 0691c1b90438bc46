// The main window's frameless behaviour, row painting and tray icon.

#include "form1.h"

namespace qiravon {

void Form1::applyRoundedRegion() {}

bool Form1::CustomDraw(int /*row*/, int /*column*/, BgrColor& /*backColor*/,
                       BgrColor& /*foreColor*/)
{
    return false;
}

void Form1::wireChrome() {}

} // namespace qiravon

// The main window's frameless behaviour, row painting and tray icon.

#include "form1.h"

#include "form2.h"
#include "roundedregion.h"
#include "rowpainter.h"
#include "trayhandlers.h"
#include "windowchrome.h"

namespace qiravon {

namespace {

constexpr int kCornerWidth = 12;
constexpr int kCornerHeight = 21;

} // namespace

void Form1::applyRoundedRegion()
{
    ApplyRoundedRegion(this, kCornerWidth, kCornerHeight);
}

bool Form1::CustomDraw(int row, int column, BgrColor& backColor, BgrColor& foreColor)
{
    // Whichever list asks, the colours and numbers are those of the visible list.
    return paintStationCell(*ListView1, row, column, backColor, foreColor);
}

Form2* Form1::form2() const
{
    return m_trayHandlers->form2();
}

void Form1::wireChrome()
{
    ChromeControls controls;
    controls.window = this;
    controls.Label1 = Label1;
    controls.Btn_End = Btn_End;
    controls.btn_Mini = btn_Mini;
    controls.ends = ends;
    controls.endpoint = endpoint;
    controls.endDown = endDown;
    controls.mini = mini;
    controls.miniPoint = miniPoint;
    controls.miniDown = miniDown;
    controls.tray = ST1;
    m_chrome = new WindowChrome(controls, this);
    m_trayHandlers = new TrayHandlers(this, ST1, [this] { closeForm3(); }, this);
}

} // namespace qiravon

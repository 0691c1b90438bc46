// The window design: every control of the main window with its name, place, visibility and
// initial content. Controls are created bottom-most first, because in Qt a later sibling
// lies above an earlier one; the list in the design reads topmost first.

#include "app/form1.h"
#include "common/twips.h"
#include "hosted/hostedfactory.h"
#include "hosted/ibrowser.h"
#include "hosted/imediaplayer.h"
#include "hosted/itray.h"
#include "hosted/list/listcontrol.h"
#include "resources/resources.h"
#include "widgets/linklabel.h"
#include "widgets/mouselabel.h"

#include <QTableView>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

void place(QWidget* w, const QString& name, int left, int top, int width, int height, bool visible)
{
    w->setObjectName(name);
    w->setGeometry(twipsToPx(left), twipsToPx(top), twipsToPx(width), twipsToPx(height));
    w->setVisible(visible);
}

MouseLabel* picture(QWidget* parent, const QString& name, int left, int top, int width, int height,
                    bool visible, const QPixmap& pixmap, bool stretched = false)
{
    auto* label = new MouseLabel(parent);
    place(label, name, left, top, width, height, visible);
    label->setPicture(pixmap);
    label->setStretched(stretched);
    // The hidden sources only hold a picture; they must never take the mouse, even under it.
    if (!visible)
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

MouseLabel* caption(QWidget* parent, const QString& name, int left, int top, int width, int height,
                    const QString& text)
{
    auto* label = new MouseLabel(parent);
    place(label, name, left, top, width, height, true);
    label->setText(text);
    return label;
}

void setForeColor(QWidget* w, BgrColor color)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, toQColor(color));
    w->setPalette(pal);
}

LinkLabel* link(QWidget* parent, const QString& name, int left, int top, bool visible)
{
    auto* label = new LinkLabel(parent);
    place(label, name, left, top, 810, 195, visible);
    return label;
}

} // namespace

void Form1::createControls()
{
    // The skin leaves the window's last column and row uncovered. The window fills them
    // from its background role; a role no child paints with keeps the colour to the window
    // alone, where the window's base colour would spread into the lists and scroll bars.
    QPalette pal = palette();
    pal.setColor(QPalette::LinkVisited, QColor(resources::kSkinEdge));
    setPalette(pal);
    setBackgroundRole(QPalette::LinkVisited);
    setAutoFillBackground(true);

    const QPixmap closeNormal = resources::pixmap(resources::CloseNormal);
    const QPixmap miniNormal = resources::pixmap(resources::MiniNormal);
    const QPixmap toggleNormal = resources::pixmap(resources::ToggleNormal);

    HsrlBack3 = picture(this, u"HsrlBack3"_s, 360, 600, 945, 75, true,
                        resources::pixmap(resources::SliderTrack), true);
    HsrlBack3->setAccessibleName(u"音量轨道"_s);
    Label1 = caption(this, u"Label1"_s, 480, 120, 9495, 255, u"Qiravon"_s);
    miniPoint = picture(this, u"miniPoint"_s, 8040, 0, 150, 465, false,
                        resources::pixmap(resources::MiniHover));
    endpoint = picture(this, u"endpoint"_s, 8040, 480, 150, 465, false,
                       resources::pixmap(resources::CloseHover));
    miniDown = picture(this, u"miniDown"_s, 8280, 0, 150, 465, false,
                       resources::pixmap(resources::MiniPressed));
    endDown = picture(this, u"endDown"_s, 8280, 480, 150, 465, false,
                      resources::pixmap(resources::ClosePressed));
    mini = picture(this, u"mini"_s, 7800, 0, 150, 465, false, miniNormal);
    ends = picture(this, u"ends"_s, 7800, 480, 150, 465, false, closeNormal);
    Btn_End = picture(this, u"Btn_End"_s, 10800, 0, 150, 465, true, closeNormal);
    btn_Mini = picture(this, u"btn_Mini"_s, 10200, 0, 150, 465, true, miniNormal);
    lblStatus = caption(this, u"lblStatus"_s, 120, 6240, 3135, 165, u"正在播放:128K/s"_s);

    wmp = m_hosted.createMediaPlayer(this);
    wmp->setObjectName(u"wmp"_s);

    lblText = caption(this, u"lblText"_s, 3240, 6240, 6255, 255, u"没有播放的广播."_s);
    HsrlBack4 = picture(this, u"HsrlBack4"_s, 360, 600, 960, 75, true,
                        resources::pixmap(resources::SliderFill), true);
    HsrlBack4->setAccessibleName(u"当前音量"_s);
    HsrlBtn2 = picture(this, u"HsrlBtn2"_s, 1080, 585, 240, 135, true,
                       resources::pixmap(resources::SliderKnob));
    imgvolume = picture(this, u"imgvolume"_s, 1440, 555, 195, 165, true,
                        resources::pixmap(resources::SpeakerWaves));
    imgvolume->setAccessibleName(u"大声"_s);
    PlayerBtn7 = picture(this, u"PlayerBtn(7)"_s, 120, 560, 180, 165, true,
                         resources::pixmap(resources::Speaker));
    PlayerBtn7->setAccessibleName(u"小声"_s);
    vol = caption(this, u"vol"_s, 1800, 555, 270, 180, u"100"_s);
    vol->adjustSize();
    // Drawn for the screen's pixels, so the emblem stays sharp on a doubled screen.
    Image1 = picture(this, u"Image1"_s, 60, 60, 360, 360, true,
                     resources::appEmblem(24, devicePixelRatio()), true);
    Image1->setAccessibleName(u"Qiravon"_s);
    Image2 = picture(this, u"Image2"_s, 120, 1080, 915, 570, true, toggleNormal, true);
    BtnDown = picture(this, u"BtnDown"_s, 5880, 360, 795, 570, false,
                      resources::pixmap(resources::TogglePressed));
    Label2 = caption(this, u"Label2"_s, 225, 1305, 720, 180, u"电台列表"_s);
    setForeColor(Label2, bgr(0, 0, 255));
    Label2->adjustSize();
    btnnor = picture(this, u"btnnor"_s, 5160, 360, 795, 570, false, toggleNormal);
    Links = link(this, u"Links"_s, 10200, 1440, true);
    for (std::size_t i = Link.size(); i-- > 0;)
        Link[i] = link(this, u"Link(%1)"_s.arg(i), 0, 0, false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(1);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(u"Timer2"_s);
    Timer2->setInterval(100);

    ListView1 = new ListControl(this);
    place(ListView1, u"ListView1"_s, 160, 1660, 10815, 4455, true);
    ListView1->SetBorderStyle(0);
    ListView1->setFont(resources::songti(9.0));
    ListView1->SetPictureSize(16, 16);
    // Named as the view toggle names the two views.
    ListView1->view()->setAccessibleName(u"电台列表"_s);
    ListView2 = new ListControl(this);
    place(ListView2, u"ListView2"_s, 10080, 600, 975, 375, false);
    ListView2->setFont(resources::songti(8.25));
    ListView2->SetPictureSize(16, 16);

    LinkLabel1 = link(this, u"LinkLabel1"_s, 10200, 1080, true);

    ST1 = m_hosted.createTray(this);
    ST1->setObjectName(u"ST1"_s);
    ST1->setTrayIcon(resources::trayIcon());
    ST1->setTrayTip(u"Qiravon"_s);

    LinkBlog = link(this, u"LinkBlog"_s, 9480, 6360, true);
    LinkMain = link(this, u"LinkMain"_s, 9480, 6165, true);

    web = m_hosted.createBrowser(this);
    web->setObjectName(u"web"_s);
    place(web->widget(), u"web"_s, 160, 1680, 10815, 4455, false);
    web->setVisible(false);
    web->widget()->setAccessibleName(u"网络电台"_s);

    LinkLabel2 = link(this, u"LinkLabel2"_s, 9240, 1080, true);
    LinkLabel3 = link(this, u"LinkLabel3"_s, 9240, 1440, true);
    LinkLabel4 = link(this, u"LinkLabel4"_s, 1080, 1080, true);
    LinkLabel5 = link(this, u"LinkLabel5"_s, 1080, 1440, true);
}

} // namespace qiravon

#include "app/form1.h"

#include "app/focuschain.h"
#include "app/form2.h"
#include "app/roundedregion.h"
#include "app/trayhandlers.h"
#include "app/windowchrome.h"
#include "catalogue/rowpainter.h"
#include "catalogue/stationrecord.h"
#include "catalogue/stationtables.h"
#include "common/twips.h"
#include "hosted/hostedfactory.h"
#include "hosted/ibrowser.h"
#include "hosted/itray.h"
#include "hosted/list/listcontrol.h"
#include "navigation/categoryactions.h"
#include "navigation/categorybar.h"
#include "navigation/form3.h"
#include "playback/stationplayback.h"
#include "playback/volumeslider.h"
#include "resources/resources.h"
#include "widgets/linklabel.h"
#include "widgets/mouselabel.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

// The corners of the window's outline: an ellipse this wide and this high.
constexpr int kCornerWidth = 12;
constexpr int kCornerHeight = 21;

} // namespace

Form1::Form1(HostedFactory& hosted, IErrorReporter& reporter, const QString& dataDir,
             QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_hosted(hosted), m_reporter(reporter)
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Qiravon"_s);
    // The icon in every size takes as long to decode as the rest of the window's artwork; the
    // window manager can have it a frame later.
    connect(this, &Form1::firstPainted, this, [this] { setWindowIcon(resources::appIcon()); });
    setFixedSize(twipsToPx(11130), twipsToPx(6585));
    createControls();
    // After the controls: the skin is the picture that takes longest to decode.
    m_skin = resources::pixmap(resources::WindowSkin);
    m_tables = std::make_unique<StationTables>(*ListView1, *ListView2, dataDir);
    wireNavigation();
    wirePlayback();
    wireChrome();
    // The status poll runs from creation, as the window design has it.
    Timer2->start();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

Form1::~Form1() = default;

std::optional<RuntimeError> Form1::load()
{
    AddListViewColumn();
    ListView1->SetBaseColor(bgr(240, 240, 240));
    ListView1->SetAccentColor(bgr(142, 217, 253));
    ListView1->SetCustomDrawHandler(this);
    ListView1->SetCustomDrawEnabled(true);
    ListView1->SetSearchColumn(columnIndex(StationColumn::Name));
    if (auto error = BuildCategoryBar(categoryBarLinks(), m_tables->dataPath(u"map.cdb"_s)))
        return error;
    if (auto error = m_tables->LoadMasterCatalogue())
        return error;
    if (auto error = m_navigation->showFeatured())
        return error;
    web->Navigate(m_tables->dataPath(u"index.htm"_s));
    ListView1->setFocus();
    return std::nullopt;
}

void Form1::activate()
{
    ApplyRoundedRegion(this, kCornerWidth, kCornerHeight);
    ST1->setIntray(true);
}

void Form1::AddListViewColumn()
{
    m_tables->AddListViewColumn();
}

void Form1::addlist(const QString& category, const QString& name, const QString& description,
                    const QString& streamAddress)
{
    m_tables->addlist(category, name, description, streamAddress);
}

void Form1::addlist2(const QString& category, const QString& name, const QString& description,
                     const QString& streamAddress)
{
    m_tables->addlist2(category, name, description, streamAddress);
}

bool Form1::CustomDraw(int row, int column, BgrColor& backColor, BgrColor& foreColor)
{
    // Whichever list asks, the colours and numbers are those of the visible list.
    return paintStationCell(*ListView1, row, column, backColor, foreColor);
}

Form3* Form1::form3() const
{
    return m_navigation->form3();
}

void Form1::closeForm3()
{
    m_navigation->closeForm3();
}

int Form1::PlayingIndex() const
{
    return m_playback->PlayingIndex();
}

Form2* Form1::form2() const
{
    return m_trayHandlers->form2();
}

CategoryBarLinks Form1::categoryBarLinks() const
{
    CategoryBarLinks links;
    links.regions = Link;
    links.featured = Links;
    links.allStations = LinkLabel1;
    links.netStations = LinkLabel2;
    links.foreignStations = LinkLabel3;
    links.rowOneStart = LinkLabel4;
    links.rowTwoStart = LinkLabel5;
    links.homePage = LinkMain;
    links.blog = LinkBlog;
    return links;
}

void Form1::wireNavigation()
{
    NavigationControls controls;
    controls.links = categoryBarLinks();
    controls.stationList = ListView1;
    controls.browser = web;
    controls.statusPoll = Timer2;
    controls.toggleCaption = Label2;
    controls.toggleFace = Image2;
    controls.toggleNormal = btnnor;
    controls.togglePressed = BtnDown;
    m_navigation = new CategoryActions(controls, *m_tables, m_hosted, m_reporter, this);
}

void Form1::wirePlayback()
{
    StationPlaybackControls playback;
    playback.list = ListView1;
    playback.nowPlaying = lblText;
    playback.status = lblStatus;
    playback.statusPoll = Timer2;
    playback.browser = web;
    m_playback = new StationPlayback(playback, *wmp, this);

    VolumeSliderControls slider;
    slider.knob = HsrlBtn2;
    slider.fill = HsrlBack4;
    slider.caption = vol;
    slider.dragTimer = Timer1;
    slider.window = this;
    m_volumeSlider = new VolumeSlider(slider, *wmp, this);
}

void Form1::wireChrome()
{
    ChromeControls controls;
    controls.window = this;
    controls.title = Label1;
    controls.closeButton = Btn_End;
    controls.minimiseButton = btn_Mini;
    controls.closeNormal = ends;
    controls.closeHover = endpoint;
    controls.closePressed = endDown;
    controls.minimiseNormal = mini;
    controls.minimiseHover = miniPoint;
    controls.minimisePressed = miniDown;
    controls.tray = ST1;
    m_chrome = new WindowChrome(controls, this);
    m_trayHandlers = new TrayHandlers(
        this, ST1, [this] { closeForm3(); }, this);
}

bool Form1::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // Activation is the window system's to give; a desktop without a window manager never
    // activates anything, so the first show counts as the first activation too.
    if (event->type() == QEvent::WindowActivate || (event->type() == QEvent::Show && !m_shown)) {
        m_shown = true;
        activate();
    }
    return handled;
}

bool Form1::focusNextPrevChild(bool next)
{
    QWidget* target = nextInReadingOrder(this, focusWidget(), next);
    if (!target)
        return QWidget::focusNextPrevChild(next);
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void Form1::closeEvent(QCloseEvent* event)
{
    // An all-stations copy running further down the stack would otherwise go on copying,
    // and keep the program from ending, after the window is gone.
    m_navigation->stopAllStationsCopy();
    QWidget::closeEvent(event);
}

void Form1::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), m_skin);
    if (!m_painted) {
        m_painted = true;
        // Queued, so the first frame reaches the screen before slow parts start.
        QTimer::singleShot(0, this, &Form1::firstPainted);
    }
}

} // namespace qiravon

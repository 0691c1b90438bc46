#include "navigation/categoryactions.h"

#include "catalogue/stationtables.h"
#include "hosted/ibrowser.h"
#include "hosted/list/listcontrol.h"
#include "navigation/form3.h"
#include "widgets/linklabel.h"
#include "widgets/mouselabel.h"

#include <QApplication>
#include <QTimer>
#include <utility>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

const QString kListViewCaption = u"电台列表"_s;
const QString kWebViewCaption = u"网络电台"_s;

void setToggleCaption(const NavigationControls& c, const QString& text)
{
    c.toggleCaption->setText(text);
    c.toggleCaption->adjustSize();
    // The face takes the keyboard; it goes by the caption drawn over it.
    c.toggleFace->setAccessibleName(text);
}

} // namespace

CategoryActions::CategoryActions(const NavigationControls& controls, StationTables& tables,
                                 HostedFactory& hosted, IErrorReporter& reporter, QObject* parent,
                                 RegionalPlayers players)
    : QObject(parent), m_c(controls), m_tables(tables), m_hosted(hosted), m_reporter(reporter),
      m_players(std::move(players))
{
    m_c.toggleFace->makeButton(m_c.toggleCaption->text());
    connectControls();
}

CategoryActions::~CategoryActions()
{
    delete m_form3.data();
}

void CategoryActions::connectControls()
{
    const CategoryBarLinks& l = m_c.links;
    connect(l.featured, &LinkLabel::Click, this, &CategoryActions::featuredClicked);
    connect(l.allStations, &LinkLabel::Click, this, &CategoryActions::allStationsClicked);
    connect(l.netStations, &LinkLabel::Click, this, &CategoryActions::netStationsClicked);
    connect(l.foreignStations, &LinkLabel::Click, this, &CategoryActions::foreignStationsClicked);
    for (LinkLabel* fixed : {l.rowOneStart, l.rowTwoStart})
        connect(fixed, &LinkLabel::Click, this, [this, fixed] { fixedRegionClicked(fixed); });
    for (std::size_t i = 0; i < l.regions.size(); ++i) {
        connect(l.regions[i], &LinkLabel::Click, this,
                [this, i] { regionClicked(static_cast<int>(i)); });
    }
    for (MouseLabel* part : {m_c.toggleFace, m_c.toggleCaption}) {
        connect(part, &MouseLabel::clicked, this, &CategoryActions::toggleView);
        connect(part, &MouseLabel::mouseDown, this, &CategoryActions::toggleDown);
        connect(part, &MouseLabel::mouseUp, this, &CategoryActions::toggleUp);
    }
}

namespace {

bool holdsFocus(const QWidget* widget)
{
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == widget || widget->isAncestorOf(focus));
}

} // namespace

void CategoryActions::showListOrBrowser(bool showList)
{
    QWidget* list = m_c.stationList;
    QWidget* browser = m_c.browser->widget();
    // Hiding the view that has the focus hands it to whatever comes next in the tab chain, a
    // caption button as it happens, where Space would minimise the window. The view that
    // takes the same place takes the focus instead.
    const bool passFocus = holdsFocus(showList ? browser : list);
    list->setVisible(showList);
    m_c.browser->setVisible(!showList);
    if (passFocus)
        (showList ? list : browser)->setFocus(Qt::OtherFocusReason);
}

void CategoryActions::ShowStationList(bool showList)
{
    showListOrBrowser(showList);
    // Starting a running timer would restart its interval, and repeated switches would keep
    // postponing the poll.
    if (showList && !m_c.statusPoll->isActive())
        m_c.statusPoll->start();
    else if (!showList)
        m_c.statusPoll->stop();
    setToggleCaption(m_c, showList ? kListViewCaption : kWebViewCaption);
}

void CategoryActions::startRefill()
{
    ++m_generation;
    m_c.stationList->Clear();
}

void CategoryActions::reportIfFailed(const std::optional<RuntimeError>& error)
{
    // A catalogue file that went away while the program runs costs the user one list, not
    // the program: the list stays as the failing step left it and playback goes on.
    if (error)
        m_reporter.report(*error);
}

std::optional<RuntimeError> CategoryActions::showFeatured()
{
    startRefill();
    return m_tables.AppendCatalogueFile(u"fine.cdb"_s, u"精品"_s);
}

void CategoryActions::featuredClicked()
{
    reportIfFailed(showFeatured());
}

void CategoryActions::allStationsClicked()
{
    startRefill();
    if (m_copying) {
        // This click arrived while a copy further down the stack let events run. Copying here
        // would nest a whole copy inside that one; the running copy stops at its next breath
        // and starts over for this click instead.
        m_copyAgainFor = m_generation;
        return;
    }
    const QPointer<CategoryActions> alive(this);
    quint64 generation = m_generation;
    // The copy lets the user go on working. An action started meanwhile owns the list from
    // then on, so this copy must not add to it any more.
    const auto keepGoing = [this, alive, &generation] {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return alive && m_generation == generation;
    };
    m_copying = true;
    bool finished = m_tables.CopyAllStations(keepGoing);
    while (alive && !finished && m_copyAgainFor == m_generation) {
        generation = m_generation;
        finished = m_tables.CopyAllStations(keepGoing);
    }
    if (!alive)
        return;
    m_copying = false;
    if (!finished)
        return;
    // The foreign-language file is read once: a second pass would list each of its stations
    // twice.
    reportIfFailed(m_tables.AppendCatalogueFile(u"forin.cdb"_s, u"外文电台"_s));
}

void CategoryActions::stopAllStationsCopy()
{
    ++m_generation;
}

void CategoryActions::netStationsClicked()
{
    startRefill();
    reportIfFailed(m_tables.AppendCatalogueFile(u"NetRadio.cdb"_s, u"网络电台"_s));
}

void CategoryActions::foreignStationsClicked()
{
    startRefill();
    reportIfFailed(m_tables.AppendCatalogueFile(u"forin.cdb"_s, u"外文电台"_s));
}

void CategoryActions::fixedRegionClicked(const LinkLabel* link)
{
    ShowStationList(true);
    startRefill();
    m_tables.CopyStationsOfCategory(link->GetCaption());
}

void CategoryActions::regionClicked(int index)
{
    const auto region = static_cast<std::size_t>(index);
    if (region >= m_c.links.regions.size())
        return;
    if (region == regions::kPlayerInMainWindow) {
        ShowStationList(false);
        m_c.browser->Navigate(m_players.inMainWindow);
        return;
    }
    if (region == regions::kPlayerInOwnWindow) {
        ShowStationList(true);
        openOwnWindowPlayer();
        return;
    }
    startRefill();
    m_tables.CopyStationsOfCategory(m_c.links.regions[region]->GetCaption());
    ShowStationList(true);
}

void CategoryActions::openOwnWindowPlayer()
{
    if (!m_form3)
        m_form3 = new Form3(m_hosted);
    m_form3->web->Navigate(m_players.inOwnWindow);
    m_form3->showAgain();
}

Form3* CategoryActions::form3() const
{
    return m_form3;
}

void CategoryActions::closeForm3()
{
    if (m_form3)
        m_form3->close();
}

void CategoryActions::toggleView()
{
    // The list's own flag, not whether it is on screen: the window may be hidden in the tray.
    const bool showList = m_c.stationList->isHidden();
    showListOrBrowser(showList);
    setToggleCaption(m_c, showList ? kListViewCaption : kWebViewCaption);
}

void CategoryActions::toggleDown()
{
    if (m_c.toggleFace->pictureHandle() != m_c.togglePressed->pictureHandle())
        m_c.toggleFace->setPicture(m_c.togglePressed->picture());
}

void CategoryActions::toggleUp()
{
    if (m_c.toggleFace->pictureHandle() != m_c.toggleNormal->pictureHandle())
        m_c.toggleFace->setPicture(m_c.toggleNormal->picture());
}

} // namespace qiravon

#pragma once

#include "common/runtimeerror.h"
#include "navigation/categorybar.h"
#include "navigation/weblinks.h"

#include <QObject>
#include <QPointer>
#include <optional>

class QTimer;

namespace qiravon {

class Form3;
class HostedFactory;
class IBrowser;
class ListControl;
class MouseLabel;
class StationTables;

//! The controls of the main window that the category actions read and change.
struct NavigationControls
{
    CategoryBarLinks links;
    ListControl* stationList = nullptr; //!< the visible list; shares its place with the browser
    IBrowser* browser = nullptr;
    QTimer* statusPoll = nullptr;        //!< follows the view only through ShowStationList
    MouseLabel* toggleCaption = nullptr; //!< names the view the toggle shows
    MouseLabel* toggleFace = nullptr;    //!< the toggle's picture
    MouseLabel* toggleNormal = nullptr;  //!< hidden source of the toggle's normal picture
    MouseLabel* togglePressed = nullptr; //!< hidden source of the toggle's pressed picture
};

//! Where the two regional web players live.
struct RegionalPlayers
{
    QString inMainWindow = weblinks::kRegionalPlayerMain;
    QString inOwnWindow = weblinks::kRegionalPlayerWindow;
};

//! What every link of the category bar does, the switch between the list and the browser,
//! and the web radio window. Everything runs on the UI thread.
class CategoryActions : public QObject
{
    Q_OBJECT
public:
    //! Connects itself to the links and the toggle button. The controls, the tables and the
    //! factory must outlive this object.
    CategoryActions(const NavigationControls& controls, StationTables& tables,
                    HostedFactory& hosted, IErrorReporter& reporter, QObject* parent = nullptr,
                    RegionalPlayers players = {});
    //! Discards the web radio window, which has no owner to do it.
    ~CategoryActions() override;

    //! Shows the list (true) or the browser (false), and runs the status poll with the list.
    void ShowStationList(bool showList);

    //! The featured list, as the featured link fills it; startup uses it too and handles the
    //! error itself, since a failure there must end the program.
    [[nodiscard]] std::optional<RuntimeError> showFeatured();

    // The links' handlers. A failure to read a catalogue file is reported, not fatal.
    void featuredClicked();
    void allStationsClicked();
    void netStationsClicked();
    void foreignStationsClicked();
    void fixedRegionClicked(const LinkLabel* link);
    void regionClicked(int index);

    //! Stops an all-stations copy that is running, if any; the program is ending.
    void stopAllStationsCopy();

    // The view-toggle button.
    void toggleView();
    void toggleDown();
    void toggleUp();

    //! The web radio window while it exists.
    [[nodiscard]] Form3* form3() const;
    //! Closes the web radio window if it is open; nothing happens otherwise.
    void closeForm3();

private:
    void connectControls();
    //! Shows the list or the browser in their shared place; the focus goes with the place.
    void showListOrBrowser(bool showList);
    //! Empties the visible list for a new action; any all-stations copy still running stops.
    void startRefill();
    void reportIfFailed(const std::optional<RuntimeError>& error);
    void openOwnWindowPlayer();

    NavigationControls m_c;
    StationTables& m_tables;
    HostedFactory& m_hosted;
    IErrorReporter& m_reporter;
    RegionalPlayers m_players;
    QPointer<Form3> m_form3;
    //! Counts the actions that refilled the list, and the stops; a copy started under another
    //! count than the current one stops appending.
    quint64 m_generation = 0;
    //! True while an all-stations copy runs (and lets events run) further down the stack.
    bool m_copying = false;
    //! The count of the all-stations click that came during a running copy, for it to start
    //! over; a later action changes the count and cancels the restart.
    quint64 m_copyAgainFor = 0;
};

} // namespace qiravon

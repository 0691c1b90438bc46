#pragma once

#include "common/runtimeerror.h"
#include "hosted/icustomdraw.h"
#include "navigation/regions.h"

#include <QWidget>
#include <array>
#include <memory>
#include <optional>

class QLabel;
class QTimer;

namespace qiravon {

class CategoryActions;
struct CategoryBarLinks;
class Form2;
class Form3;
class HostedFactory;
class IBrowser;
class IMediaPlayer;
class ITray;
class LinkLabel;
class ListControl;
class MouseLabel;
class StationPlayback;
class StationTables;
class VolumeSlider;
class TrayHandlers;
class WindowChrome;

//! The main window: a frameless, skinned window holding the category bar, the station list,
//! the browser, the status lines and the volume slider. Its hosted components come from the
//! factory, so every behaviour can run against fakes.
class Form1 : public QWidget, public ICustomDraw
{
    Q_OBJECT
public:
    //! Creates every control of the window; `dataDir` holds the catalogue files and ends
    //! with a separator.
    Form1(HostedFactory& hosted, IErrorReporter& reporter, const QString& dataDir,
          QWidget* parent = nullptr);
    ~Form1() override;

    //! The load step, run once before the window is first shown. On error the window must
    //! not be shown; the caller reports the error and ends the program.
    [[nodiscard]] std::optional<RuntimeError> load();
    //! Runs on every activation of the window, the first one included.
    void activate();

    // The catalogue operations other parts of the program call by name.
    void AddListViewColumn();
    void addlist(const QString& category, const QString& name, const QString& description,
                 const QString& streamAddress);
    void addlist2(const QString& category, const QString& name, const QString& description,
                  const QString& streamAddress);

    bool CustomDraw(int row, int column, BgrColor& backColor, BgrColor& foreColor) override;

    [[nodiscard]] StationTables& tables() { return *m_tables; }
    [[nodiscard]] IErrorReporter& reporter() { return m_reporter; }
    [[nodiscard]] HostedFactory& hosted() { return m_hosted; }

    //! The category actions, the view switch and the web radio window.
    [[nodiscard]] CategoryActions& navigation() { return *m_navigation; }
    //! The web radio window while it exists, else null.
    [[nodiscard]] Form3* form3() const;
    //! Closes the web radio window if it is open; part of the program's shutdown.
    void closeForm3();

    //! The row of the visible list that carries the playing mark, as last remembered.
    [[nodiscard]] int PlayingIndex() const;
    //! Row activation, the status poll and the browser's status and title lines.
    [[nodiscard]] StationPlayback& playback() { return *m_playback; }
    [[nodiscard]] VolumeSlider& volumeSlider() { return *m_volumeSlider; }

    //! The tray menu's window while it exists, else null.
    [[nodiscard]] Form2* form2() const;
    //! The caption buttons, the drag and the close and minimise actions.
    [[nodiscard]] WindowChrome& chrome() { return *m_chrome; }
    //! What the tray icon and its menu do, the program's shutdown included.
    [[nodiscard]] TrayHandlers& trayHandlers() { return *m_trayHandlers; }

    // Controls, named as in the window design. Owned through Qt parenting (the hosted
    // components through their widgets or this window).
    LinkLabel* LinkLabel5 = nullptr;
    LinkLabel* LinkLabel4 = nullptr;
    LinkLabel* LinkLabel3 = nullptr;
    LinkLabel* LinkLabel2 = nullptr;
    IBrowser* web = nullptr;
    LinkLabel* LinkMain = nullptr;
    LinkLabel* LinkBlog = nullptr;
    ITray* ST1 = nullptr;
    LinkLabel* LinkLabel1 = nullptr;
    ListControl* ListView2 = nullptr;
    ListControl* ListView1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer1 = nullptr;
    std::array<LinkLabel*, regions::kCount> Link{};
    LinkLabel* Links = nullptr;
    MouseLabel* btnnor = nullptr;
    MouseLabel* Label2 = nullptr;
    MouseLabel* BtnDown = nullptr;
    MouseLabel* Image2 = nullptr;
    MouseLabel* Image1 = nullptr;
    MouseLabel* vol = nullptr;
    MouseLabel* PlayerBtn7 = nullptr; //!< the one element, index 7, of the array PlayerBtn
    MouseLabel* imgvolume = nullptr;
    MouseLabel* HsrlBtn2 = nullptr;
    MouseLabel* HsrlBack4 = nullptr;
    MouseLabel* lblText = nullptr;
    IMediaPlayer* wmp = nullptr;
    MouseLabel* lblStatus = nullptr;
    MouseLabel* btn_Mini = nullptr;
    MouseLabel* Btn_End = nullptr;
    MouseLabel* ends = nullptr;
    MouseLabel* mini = nullptr;
    MouseLabel* endDown = nullptr;
    MouseLabel* miniDown = nullptr;
    MouseLabel* endpoint = nullptr;
    MouseLabel* miniPoint = nullptr;
    MouseLabel* Label1 = nullptr;
    MouseLabel* HsrlBack3 = nullptr;

Q_SIGNALS:
    //! The window has painted itself for the first time; slow hosted parts may start now.
    void firstPainted();

protected:
    bool event(QEvent* event) override;
    //! Only the program's own unload gets here; the chrome turns the window system's close
    //! requests into the close button's action.
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    //! Tab and Shift+Tab go through the controls in reading order.
    bool focusNextPrevChild(bool next) override;

private:
    void createControls();
    void wireNavigation();
    void wirePlayback();
    void wireChrome();
    [[nodiscard]] CategoryBarLinks categoryBarLinks() const;

    HostedFactory& m_hosted;
    IErrorReporter& m_reporter;
    std::unique_ptr<StationTables> m_tables;
    CategoryActions* m_navigation = nullptr; // child of this window
    StationPlayback* m_playback = nullptr;   // child of this window
    VolumeSlider* m_volumeSlider = nullptr;  // child of this window
    WindowChrome* m_chrome = nullptr;        // child of this window
    TrayHandlers* m_trayHandlers = nullptr;  // child of this window
    QPixmap m_skin;
    bool m_painted = false;
    bool m_shown = false;
};

} // namespace qiravon

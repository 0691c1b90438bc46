#pragma once

#include "app/windowdrag.h"
#include "hosted/itray.h"
#include "widgets/mouselabel.h"

#include <QObject>
#include <QPointer>

class QCloseEvent;

namespace qiravon {

class CaptionButton;

//! The controls of a skinned window that stand in for its missing frame.
struct ChromeControls
{
    QWidget* window = nullptr;
    MouseLabel* title = nullptr; //!< drags the window like its background
    MouseLabel* closeButton = nullptr;
    MouseLabel* minimiseButton = nullptr;
    // Hidden holders of each button's normal, hover and pressed pictures.
    MouseLabel* closeNormal = nullptr;
    MouseLabel* closeHover = nullptr;
    MouseLabel* closePressed = nullptr;
    MouseLabel* minimiseNormal = nullptr;
    MouseLabel* minimiseHover = nullptr;
    MouseLabel* minimisePressed = nullptr;
    ITray* tray = nullptr; //!< where the window goes when closed
};

//! What the missing caption would do for a frameless window: dragging by the window's own
//! surface or by its title with any mouse button, and the close and minimise buttons with
//! their normal, hover and pressed pictures.
//!
//! A close request from the window system does what the close button does; only the
//! program's own unload really closes the window.
//!
//! The window's surface counts only where no control lies: a control that ignores an event
//! passes it on to the window, but the window must not act on it.
class WindowChrome final : public QObject
{
    Q_OBJECT
public:
    WindowChrome(const ChromeControls& controls, QObject* parent);
    ~WindowChrome() override;

    [[nodiscard]] CaptionButton& closeButton() const { return *m_close; }
    [[nodiscard]] CaptionButton& minimiseButton() const { return *m_minimise; }
    [[nodiscard]] WindowDrag& drag() { return m_drag; }

    //! Hides the window; the tray icon brings it back. Without a tray icon to come back from,
    //! the window is minimised instead, so it can still be reached from the task bar.
    void closeWindow();
    void minimiseWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool filterClose(QCloseEvent* event);
    bool filterWindow(QEvent* event);
    void filterTitle(QEvent* event);
    [[nodiscard]] bool isBackground(QPointF position) const;

    QPointer<QWidget> m_window;
    QPointer<MouseLabel> m_title;
    QPointer<ITray> m_tray;
    CaptionButton* m_close = nullptr;    // child of this
    CaptionButton* m_minimise = nullptr; // child of this
    WindowDrag m_drag;
};

} // namespace qiravon

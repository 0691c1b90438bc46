#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace qiravon {

//! Moves a frameless window with the mouse, as grabbing a caption would.
//!
//! The window manager's own move is preferred: it snaps, respects panels and works where a
//! program may not place its windows. Qt can only start it for the left button (it always
//! tells the manager the left button is held, and a manager then waits for that button to
//! come up), and not every desktop offers it; in those cases the window follows the pointer
//! from the mouse moves until the button is released.
class WindowDrag
{
public:
    //! Asks the window system to move the window; false when it will not.
    using SystemMove = std::function<bool(QWidget& window)>;

    explicit WindowDrag(QWidget* window);

    //! Replaces the window system's move, so the fallback can be exercised.
    void setSystemMove(SystemMove systemMove) { m_systemMove = std::move(systemMove); }

    //! A mouse button went down on a part of the window that drags it.
    void press(Qt::MouseButton button, QPoint globalPos);
    //! The pointer moved, with `buttons` held, while the drag may run; returns true when it
    //! moved the window. A move without the dragging button ends the drag: its release went
    //! elsewhere (a popup or another program took the mouse).
    bool move(QPoint globalPos, Qt::MouseButtons buttons);
    //! A mouse button came up, or the window lost the mouse.
    void release();
    //! True while the window follows the pointer by the program's own moves.
    [[nodiscard]] bool isFollowing() const { return m_following; }

private:
    [[nodiscard]] static bool startSystemMove(QWidget& window);

    QPointer<QWidget> m_window;
    SystemMove m_systemMove = &WindowDrag::startSystemMove;
    bool m_following = false;
    Qt::MouseButton m_button = Qt::NoButton; // the button that started the drag
    QPoint m_grabOffset; // from the window's top-left corner to the pointer, at the press
};

} // namespace qiravon

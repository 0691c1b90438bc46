#include "app/windowchrome.h"

#include "app/captionbutton.h"
#include "app/log.h"
#include "hosted/itray.h"
#include "widgets/mouselabel.h"

#include <QCloseEvent>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace qiravon {

WindowChrome::WindowChrome(const ChromeControls& controls, QObject* parent)
    : QObject(parent), m_window(controls.window), m_title(controls.title), m_tray(controls.tray),
      m_close(new CaptionButton(controls.closeButton, controls.closeNormal, controls.closeHover,
                                controls.closePressed, this)),
      m_minimise(new CaptionButton(controls.minimiseButton, controls.minimiseNormal,
                                   controls.minimiseHover, controls.minimisePressed, this)),
      m_drag(controls.window)
{
    // Moves over the bare surface come without a button held; they reset the caption buttons.
    m_window->setMouseTracking(true);
    m_window->installEventFilter(this);
    m_title->installEventFilter(this);
    controls.closeButton->makeButton(u"关闭"_s);
    controls.minimiseButton->makeButton(u"最小化"_s);
    connect(controls.closeButton, &MouseLabel::clicked, this, &WindowChrome::closeWindow);
    connect(controls.minimiseButton, &MouseLabel::clicked, this, &WindowChrome::minimiseWindow);
}

WindowChrome::~WindowChrome() = default;

void WindowChrome::closeWindow()
{
    if (!m_window)
        return;
    if (m_tray && m_tray->isAvailable() && m_tray->intray()) {
        m_window->hide();
        return;
    }
    qCDebug(lcApp) << "no tray to hide the window in; minimising it instead";
    minimiseWindow();
}

void WindowChrome::minimiseWindow()
{
    // The window stays visible: it goes to its task-bar entry, not away.
    if (m_window)
        m_window->setWindowState(m_window->windowState() | Qt::WindowMinimized);
}

bool WindowChrome::eventFilter(QObject* watched, QEvent* event)
{
    // Only the mouse matters; looking at anything else would also meet the title while it
    // is being destroyed, no longer a MouseLabel.
    const QEvent::Type type = event->type();
    if (watched == m_window && type == QEvent::Close)
        return filterClose(static_cast<QCloseEvent*>(event));
    if (watched == m_window && (type == QEvent::WindowDeactivate || type == QEvent::Hide)) {
        // Whatever took the focus or hid the window has the mouse now; the release will not
        // come here.
        m_drag.release();
        return false;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    if (watched == m_window)
        return filterWindow(event);
    if (watched == m_title)
        filterTitle(event);
    return false;
}

bool WindowChrome::filterClose(QCloseEvent* event)
{
    // The program's own unload closes the window directly; a close that comes from the window
    // system (Alt+F4, a task bar's or dock's Close) is the user's, and does what the close
    // button does. Closing for real would leave no way back without a tray, and the station
    // would play on unseen.
    if (!event->spontaneous())
        return false;
    event->ignore();
    closeWindow();
    return true;
}

bool WindowChrome::isBackground(QPointF position) const
{
    return m_window->childAt(position.toPoint()) == nullptr;
}

bool WindowChrome::filterWindow(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (!isBackground(press->position()))
            return false;
        m_drag.press(press->button(), press->globalPosition().toPoint());
        return true;
    }
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (m_drag.move(move->globalPosition().toPoint(), move->buttons()))
            return true;
        if (!isBackground(move->position()))
            return false;
        m_close->handle(CaptionEvent::MoveOnBackground);
        m_minimise->handle(CaptionEvent::MoveOnBackground);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!m_drag.isFollowing())
            return false;
        m_drag.release();
        return true;
    default:
        return false;
    }
}

void WindowChrome::filterTitle(QEvent* event)
{
    // The title keeps its own events; the drag only rides along.
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* press = static_cast<QMouseEvent*>(event);
        m_drag.press(press->button(), press->globalPosition().toPoint());
        break;
    }
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        m_drag.move(move->globalPosition().toPoint(), move->buttons());
        break;
    }
    case QEvent::MouseButtonRelease:
        m_drag.release();
        break;
    default:
        break;
    }
}

} // namespace qiravon

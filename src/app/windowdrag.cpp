#include "app/windowdrag.h"

#include <QWindow>

namespace qiravon {

WindowDrag::WindowDrag(QWidget* window) : m_window(window) {}

bool WindowDrag::startSystemMove(QWidget& window)
{
    QWindow* handle = window.windowHandle();
    return handle && handle->startSystemMove();
}

void WindowDrag::press(Qt::MouseButton button, QPoint globalPos)
{
    m_following = false;
    if (!m_window)
        return;
    if (button == Qt::LeftButton && m_systemMove && m_systemMove(*m_window))
        return;
    m_following = true;
    m_button = button;
    m_grabOffset = globalPos - m_window->pos();
}

bool WindowDrag::move(QPoint globalPos, Qt::MouseButtons buttons)
{
    if (!m_following || !m_window)
        return false;
    if (!(buttons & m_button)) {
        release();
        return false;
    }
    m_window->move(globalPos - m_grabOffset);
    return true;
}

void WindowDrag::release()
{
    m_following = false;
}

} // namespace qiravon

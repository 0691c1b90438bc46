#include "widgets/leavepoll.h"

#include "widgets/linklabel.h"

#include <QApplication>
#include <QCursor>
#include <algorithm>

namespace qiravon {

LeavePoll& LeavePoll::instance()
{
    // Owned by the application so it goes with it; a later application (tests make several
    // in a row only in theory, but cheaply) gets a fresh one.
    static QPointer<LeavePoll> poll;
    if (!poll)
        poll = new LeavePoll(qApp);
    return *poll;
}

LeavePoll::LeavePoll(QObject* parent) : QObject(parent)
{
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &LeavePoll::tick);
}

bool LeavePoll::isOver(const QWidget* under, const LinkLabel* label)
{
    // The text has no window of its own in the design, so over the text the window found is
    // the control's: the text and the strip below it are one place.
    return under && (under == label || label->isAncestorOf(under));
}

void LeavePoll::watch(LinkLabel* label)
{
    if (std::find(m_waiting.begin(), m_waiting.end(), label) == m_waiting.end())
        m_waiting.emplace_back(label);
    if (!m_timer.isActive())
        m_timer.start();
}

void LeavePoll::tick()
{
    const QWidget* under = QApplication::widgetAt(QCursor::pos());
    std::erase_if(m_waiting, [under](const QPointer<LinkLabel>& label) {
        if (!label)
            return true;
        if (isOver(under, label))
            return false;
        label->restoreRestColor();
        return true;
    });
    if (m_waiting.empty())
        m_timer.stop();
}

} // namespace qiravon

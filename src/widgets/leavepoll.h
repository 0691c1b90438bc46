#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <vector>

class QWidget;

namespace qiravon {

class LinkLabel;

//! One 100 ms poll for every link label of the process, instead of a timer in each: a
//! label away from its rest colour goes back to it once the pointer is no longer over the
//! label (text and control count as one). The timer runs only while some label waits, so
//! the idle window with its 43 links wakes nobody.
class LeavePoll final : public QObject
{
public:
    static constexpr int kIntervalMs = 100;

    [[nodiscard]] static LeavePoll& instance();
    //! Whether the pointer over `under` counts as over `label`.
    [[nodiscard]] static bool isOver(const QWidget* under, const LinkLabel* label);

    //! `label` shows another colour than its rest colour now.
    void watch(LinkLabel* label);
    [[nodiscard]] bool isRunning() const { return m_timer.isActive(); }

private:
    explicit LeavePoll(QObject* parent);
    void tick();

    QTimer m_timer;
    std::vector<QPointer<LinkLabel>> m_waiting;
};

} // namespace qiravon

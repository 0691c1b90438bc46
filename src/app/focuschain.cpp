#include "app/focuschain.h"

#include <QList>
#include <QWidget>
#include <algorithm>

namespace qiravon {

namespace {

bool takesTab(const QWidget* w)
{
    // A control that hands its focus on (the list to its view) is judged by the one taking it.
    while (const QWidget* proxy = w->focusProxy())
        w = proxy;
    return w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) != 0;
}

//! `window`'s controls that Tab stops at now, in reading order.
QList<QWidget*> tabStops(QWidget* window)
{
    // Children come in stacking order, bottom-most first.
    const QList<QWidget*> children = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QList<QWidget*> stops;
    for (qsizetype i = 0; i < children.size(); ++i) {
        QWidget* child = children[i];
        if (child->isWindow() || !child->isVisibleTo(window) || !takesTab(child))
            continue;
        const bool covered =
            std::any_of(children.begin() + i + 1, children.end(), [child, window](QWidget* above) {
                return !above->isWindow() && above->isVisibleTo(window) && takesTab(above) &&
                       above->geometry().contains(child->geometry());
            });
        if (!covered)
            stops.append(child);
    }
    std::stable_sort(stops.begin(), stops.end(), [](const QWidget* a, const QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    return stops;
}

} // namespace

QWidget* nextInReadingOrder(QWidget* window, const QWidget* from, bool forward)
{
    const QList<QWidget*> stops = tabStops(window);
    if (stops.isEmpty())
        return nullptr;
    // The focus may sit deep inside a control, as in the browser's page.
    while (from && from->parentWidget() != window)
        from = from->parentWidget();
    const qsizetype at = from ? stops.indexOf(from) : -1;
    const qsizetype count = stops.size();
    if (at < 0)
        return forward ? stops.constFirst() : stops.constLast();
    return stops[(at + (forward ? 1 : count - 1)) % count];
}

} // namespace qiravon

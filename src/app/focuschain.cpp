#include "app/focuschain.h"

#include <QWidget>
#include <algorithm>

namespace qiravon {

namespace {

//! The widget that really takes the focus for `w`: a list takes it in its view.
QWidget* focusTarget(QWidget* w)
{
    while (QWidget* proxy = w->focusProxy())
        w = proxy;
    return w;
}

bool takesTab(QWidget* w)
{
    return (focusTarget(w)->focusPolicy() & Qt::TabFocus) != 0;
}

} // namespace

QList<QWidget*> inReadingOrder(QList<QWidget*> widgets)
{
    std::stable_sort(widgets.begin(), widgets.end(), [](const QWidget* a, const QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    return widgets;
}

void chainTabOrderInReadingOrder(QWidget* window)
{
    // Children come in stacking order, bottom-most first.
    QList<QWidget*> controls;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && takesTab(child))
            controls.append(child);
    }
    for (qsizetype below = 0; below < controls.size(); ++below) {
        QWidget* lower = controls[below];
        const bool covered =
            std::any_of(controls.begin() + below + 1, controls.end(), [lower](QWidget* upper) {
                return !lower->isHidden() && !upper->isHidden() &&
                       upper->geometry().contains(lower->geometry());
            });
        if (covered)
            focusTarget(lower)->setFocusPolicy(Qt::NoFocus);
    }
    controls.removeIf([](QWidget* w) { return !takesTab(w); });

    const QList<QWidget*> ordered = inReadingOrder(controls);
    for (qsizetype i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(focusTarget(ordered[i - 1]), focusTarget(ordered[i]));
}

} // namespace qiravon

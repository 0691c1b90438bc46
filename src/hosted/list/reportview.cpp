#include "hosted/list/reportview.h"

#include "hosted/list/listcontrolmodel.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

namespace qiravon {

ReportView::ReportView(ListControlModel* model, QWidget* parent)
    : QTableView(parent), m_model(model)
{
    setModel(model);
}

QModelIndex ReportView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    if (cursorAction != MoveHome && cursorAction != MoveEnd)
        return QTableView::moveCursor(cursorAction, modifiers);
    const int rows = m_model->rowCount();
    if (rows == 0)
        return {};
    const QModelIndex current = currentIndex();
    return m_model->index(cursorAction == MoveHome ? 0 : rows - 1,
                          current.isValid() ? current.column() : 0);
}

void ReportView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QTableView::keyPressEvent(event);
        return;
    }
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        event->ignore();
        return;
    }
    event->accept();
    // A held key would restart the station at the keyboard's repeat rate.
    if (!event->isAutoRepeat())
        Q_EMIT rowActivated(current.row());
}

void ReportView::keyboardSearch(const QString& search)
{
    const int column = m_searchColumn;
    if (column < 0 || column >= m_model->columnCount()) {
        QTableView::keyboardSearch(search);
        return;
    }
    const bool fresh =
        !m_typedAt.isValid() || m_typedAt.elapsed() > QApplication::keyboardInputInterval();
    m_typedAt.start();
    m_typed = fresh ? search : m_typed + search;
    if (m_typed.isEmpty() || m_model->rowCount() == 0)
        return;

    // Typing one character again and again steps through the names it starts.
    const bool sameKey = m_typed.size() > 1 && m_typed.count(m_typed.back()) == m_typed.size();
    const QString prefix = sameKey ? m_typed.right(1) : m_typed;
    const QModelIndex current = currentIndex();
    int from = 0;
    if (current.isValid())
        from = fresh || sameKey ? current.row() + 1 : current.row();
    const int row = findRow(prefix, from, column);
    if (row >= 0)
        setCurrentIndex(m_model->index(row, column));
}

int ReportView::findRow(const QString& prefix, int from, int column) const
{
    const int rows = m_model->rowCount();
    for (int i = 0; i < rows; ++i) {
        const int row = (from + i) % rows;
        if (m_model->cell(row, column).startsWith(prefix, Qt::CaseInsensitive))
            return row;
    }
    return -1;
}

void ReportView::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    // The view turns input methods off for cells that cannot be edited; type-ahead needs
    // them on, or station names could not be typed in Chinese.
    setAttribute(Qt::WA_InputMethodEnabled);
}

void ReportView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    setAttribute(Qt::WA_InputMethodEnabled);
    // The base repaints the current cells only; the focus mark spans the row.
    if (previous.isValid())
        viewport()->update(rowRect(previous.row()));
    if (current.isValid())
        viewport()->update(rowRect(current.row()));
}

QRect ReportView::rowRect(int row) const
{
    return {-horizontalOffset(), rowViewportPosition(row), horizontalHeader()->length(),
            rowHeight(row)};
}

void ReportView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !current.isValid())
        return;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
    painter.drawRect(rowRect(current.row()).adjusted(0, 0, -1, -1));
}

} // namespace qiravon

#pragma once

#include <QElapsedTimer>
#include <QTableView>

namespace qiravon {

class ListControlModel;

//! The table behind a ListControl, with the keyboard a station list needs: Home and End go to
//! the first and last row (a plain table keeps them within the row), Return and Enter
//! activate the current row, and typing a name's first characters jumps to it in the search
//! column. The current row carries a dotted focus mark while the view has the focus.
class ReportView final : public QTableView
{
    Q_OBJECT
public:
    ReportView(ListControlModel* model, QWidget* parent);

    //! The column that type-ahead searches; -1 (the default) searches the current column.
    void setSearchColumn(int column) { m_searchColumn = column; }
    [[nodiscard]] int searchColumn() const { return m_searchColumn; }

    //! Finds the next row whose search-column text starts with what has been typed (case
    //! ignored, wrapping at the end) and makes it current and selected. Characters typed
    //! within the desktop's keyboard-input interval add to the text; the same character
    //! typed again steps through the rows it starts.
    void keyboardSearch(const QString& search) override;

Q_SIGNALS:
    //! Return or Enter on `row`, the current row.
    void rowActivated(int row);

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    [[nodiscard]] QRect rowRect(int row) const;
    [[nodiscard]] int findRow(const QString& prefix, int from, int column) const;

    ListControlModel* m_model;
    int m_searchColumn = -1;
    QString m_typed;
    QElapsedTimer m_typedAt;
};

} // namespace qiravon

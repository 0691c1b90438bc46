#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <memory>
#include <vector>

namespace qiravon {

//! The cells behind a ListControl. Which rows are selected is the view's selection model's
//! business, so the keyboard, the mouse and assistive technologies all see one selection.
//!
//! Rows appended by AddItem() are stored at once but announced to views in one batch on the
//! next event-loop pass, so a fill of many rows costs one insert notification instead of one
//! per row. rowCount() tells what views have been told; size() tells what is stored.
class ListControlModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ListControlModel(QObject* parent = nullptr);

    void addColumn(const QString& caption);
    [[nodiscard]] int columns() const { return static_cast<int>(m_captions.size()); }
    int appendRow();
    void clear();
    [[nodiscard]] int size() const { return m_rows; }

    [[nodiscard]] bool contains(int row, int column) const;
    [[nodiscard]] const QString& cell(int row, int column) const;
    void setCell(int row, int column, const QString& text);
    //! Repaints every column of `row` that views know of.
    void touchRow(int row);
    //! Tells views about rows stored since the last announcement.
    void announceRows();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // Rows live in fixed-size blocks so that appending never moves what is stored: one
    // growing array of every cell spent most of a 100,000-row load copying itself.
    static constexpr int kBlockRows = 1024;
    [[nodiscard]] QString& cellRef(int row, int column) const;

    QStringList m_captions;
    std::vector<std::unique_ptr<QString[]>> m_blocks; // row-major, columns() cells a row
    int m_rows = 0;
    int m_announced = 0;
    bool m_announcePending = false;
};

} // namespace qiravon

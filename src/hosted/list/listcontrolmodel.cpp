#include "hosted/list/listcontrolmodel.h"

namespace qiravon {

ListControlModel::ListControlModel(QObject* parent) : QAbstractTableModel(parent) {}

void ListControlModel::addColumn(const QString& caption)
{
    const int oldColumns = columns();
    beginInsertColumns({}, oldColumns, oldColumns);
    m_captions.append(caption);
    // Columns are defined before rows in practice; should one come later, widen every row.
    const auto newColumns = static_cast<std::size_t>(columns());
    for (std::unique_ptr<QString[]>& block : m_blocks) {
        auto widened = std::make_unique<QString[]>(kBlockRows * newColumns);
        for (std::size_t row = 0; row < kBlockRows; ++row) {
            for (std::size_t c = 0; c < static_cast<std::size_t>(oldColumns); ++c)
                widened[row * newColumns + c] =
                    std::move(block[row * static_cast<std::size_t>(oldColumns) + c]);
        }
        block = std::move(widened);
    }
    endInsertColumns();
}

int ListControlModel::appendRow()
{
    const int row = m_rows++;
    if (row % kBlockRows == 0)
        m_blocks.push_back(
            std::make_unique<QString[]>(kBlockRows * static_cast<std::size_t>(columns())));
    if (!m_announcePending) {
        m_announcePending = true;
        QMetaObject::invokeMethod(this, &ListControlModel::announceRows, Qt::QueuedConnection);
    }
    return row;
}

QString& ListControlModel::cellRef(int row, int column) const
{
    const auto inBlock = static_cast<std::size_t>(row % kBlockRows);
    return m_blocks[static_cast<std::size_t>(row / kBlockRows)]
                   [inBlock * static_cast<std::size_t>(columns()) +
                    static_cast<std::size_t>(column)];
}

void ListControlModel::announceRows()
{
    m_announcePending = false;
    if (m_announced >= size())
        return;
    beginInsertRows({}, m_announced, size() - 1);
    m_announced = size();
    endInsertRows();
}

void ListControlModel::clear()
{
    beginResetModel();
    m_blocks.clear();
    m_rows = 0;
    m_announced = 0;
    endResetModel();
}

bool ListControlModel::contains(int row, int column) const
{
    return row >= 0 && row < size() && column >= 0 && column < columns();
}

const QString& ListControlModel::cell(int row, int column) const
{
    return cellRef(row, column);
}

void ListControlModel::setCell(int row, int column, const QString& text)
{
    QString& target = cellRef(row, column);
    // An unchanged write must not repaint: the painter rewrites the number cells while painting.
    if (target == text)
        return;
    target = text;
    if (row < m_announced) {
        const QModelIndex changed = index(row, column);
        Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
    }
}

void ListControlModel::touchRow(int row)
{
    if (row >= 0 && row < m_announced && columns() > 0)
        Q_EMIT dataChanged(index(row, 0), index(row, columns() - 1), {Qt::BackgroundRole});
}

int ListControlModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_announced;
}

int ListControlModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns();
}

QVariant ListControlModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || !contains(index.row(), index.column()))
        return {};
    return cell(index.row(), index.column());
}

QVariant ListControlModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section >= 0 &&
        section < columns())
        return m_captions[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace qiravon

#include "stationlistmodel.h"

namespace qiravon {

StationListModel::StationListModel(QObject* parent) : QAbstractTableModel(parent) {}

void StationListModel::addColumn(const QString& caption)
{
    const int oldColumns = columns();
    beginInsertColumns({}, oldColumns, oldColumns);
    m_captions.append(caption);
    // Columns are defined before rows in practice; should one come later, widen every row.
    if (!m_selected.empty()) {
        std::vector<QString> widened;
        widened.reserve(m_selected.size() * static_cast<std::size_t>(columns()));
        for (std::size_t row = 0; row < m_selected.size(); ++row) {
            for (int c = 0; c < oldColumns; ++c)
                widened.push_back(std::move(m_cells[row * static_cast<std::size_t>(oldColumns) + static_cast<std::size_t>(c)]));
            widened.emplace_back();
        }
        m_cells = std::move(widened);
    }
    endInsertColumns();
}

int StationListModel::appendRow()
{
    const int row = size();
    m_selected.push_back(0);
    m_cells.resize(m_cells.size() + static_cast<std::size_t>(columns()));
    if (!m_announcePending) {
        m_announcePending = true;
        QMetaObject::invokeMethod(this, &StationListModel::announceRows, Qt::QueuedConnection);
    }
    return row;
}

void StationListModel::announceRows()
{
    m_announcePending = false;
    if (m_announced >= size())
        return;
    beginInsertRows({}, m_announced, size() - 1);
    m_announced = size();
    endInsertRows();
}

void StationListModel::clear()
{
    beginResetModel();
    m_cells.clear();
    m_selected.clear();
    m_announced = 0;
    endResetModel();
}

bool StationListModel::contains(int row, int column) const
{
    return row >= 0 && row < size() && column >= 0 && column < columns();
}

const QString& StationListModel::cell(int row, int column) const
{
    return m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns()) +
                   static_cast<std::size_t>(column)];
}

void StationListModel::setCell(int row, int column, const QString& text)
{
    QString& target = m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns()) +
                              static_cast<std::size_t>(column)];
    // An unchanged write must not repaint: the painter rewrites the number cells while painting.
    if (target == text)
        return;
    target = text;
    if (row < m_announced) {
        const QModelIndex changed = index(row, column);
        Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
    }
}

void StationListModel::setSelected(int row, int value)
{
    int& flag = m_selected[static_cast<std::size_t>(row)];
    if (flag == value)
        return;
    flag = value;
    touchRow(row);
}

void StationListModel::touchRow(int row)
{
    if (row >= 0 && row < m_announced && columns() > 0)
        Q_EMIT dataChanged(index(row, 0), index(row, columns() - 1), {Qt::BackgroundRole});
}

int StationListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_announced;
}

int StationListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns();
}

QVariant StationListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || !contains(index.row(), index.column()))
        return {};
    return cell(index.row(), index.column());
}

QVariant StationListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section >= 0 &&
        section < columns())
        return m_captions[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace qiravon

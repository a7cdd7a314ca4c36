#include "portfolio/GridModel.h"

GridModel::GridModel(const QStringList &titles, const QList<int> &rightAligned, QObject *parent)
    : QAbstractTableModel(parent), m_titles(titles), m_right(rightAligned)
{
}

void GridModel::setRows(const QList<QStringList> &rows, int minimumRows)
{
    beginResetModel();
    m_rows = rows;
    m_shown = std::max<int>(minimumRows, int(rows.size()) + 1);
    endResetModel();
}

void GridModel::removeShown(int row)
{
    if (row < 0 || row >= m_rows.size()) return;
    m_rows.removeAt(row);
    emit dataChanged(index(row, 0), index(m_shown - 1, columnCount() - 1));
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_titles.size());
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return m_rows.value(index.row()).value(index.column());
    if (role == Qt::TextAlignmentRole)
        return int((m_right.contains(index.column()) ? Qt::AlignRight : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return m_titles.value(section);
    if (role == Qt::TextAlignmentRole)
        return int((m_right.contains(section) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

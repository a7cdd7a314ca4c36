#include "quotes/QuoteListModel.h"

#include "base/formats.h"

QuoteListModel::QuoteListModel(QObject *parent) : QAbstractTableModel(parent) {}

void QuoteListModel::setLines(QuoteLines lines, QList<qsizetype> positions)
{
    beginResetModel();
    m_lines = std::move(lines);
    m_positions = std::move(positions);
    endResetModel();
}

qsizetype QuoteListModel::position(int row) const
{
    return row >= 0 && row < m_positions.size() ? m_positions.at(row) : -1;
}

QString QuoteListModel::cell(int row, int column) const
{
    if (row < 0 || row >= m_lines.size() || column < 0 || column > 4) return {};
    QString rest = m_lines.at(row);
    QString field;
    for (int i = 0; i <= column; ++i)
        field = nextField(rest);
    return column == 0 ? storedToShown(field) : field;
}

int QuoteListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

int QuoteListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 5;
}

QVariant QuoteListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return cell(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignVCenter | (index.column() >= 3 ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}

QVariant QuoteListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) {
        static const char16_t *const titles[5] = {u"Date", u"Code", u"Nom", u"Cours", u"Volume"};
        return section >= 0 && section < 5 ? QString::fromUtf16(titles[section]) : QString();
    }
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignVCenter | (section >= 3 ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}

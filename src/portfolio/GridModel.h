#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// The rows of a portfolio window's grid ("StringGrid1"): text cells under a
// title row, some columns right-aligned. At least `minimumRows` rows are
// shown, the rest blank.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    GridModel(const QStringList &titles, const QList<int> &rightAligned, QObject *parent = nullptr);

    void setRows(const QList<QStringList> &rows, int minimumRows);
    const QList<QStringList> &rows() const { return m_rows; }
    const QStringList &titles() const { return m_titles; }
    // Every row from `row` on takes the content of the row below it.
    void removeShown(int row);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_titles;
    QList<int> m_right;
    QList<QStringList> m_rows;
    int m_shown = 0;
};

#pragma once

#include "quotes/quotelines.h"
#include <QAbstractTableModel>

// The rows of a quotation list (monthly or security view): each row is a
// quotation line, shown as date "dd/mm/yyyy", code, name, price and volume.
// Lines are kept as their bytes, decoded when a row is shown, so filling a view
// costs no per-row objects, together with the position each came from in the store, so that a
// command on a row reaches exactly that line.
class QuoteListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit QuoteListModel(QObject *parent = nullptr);

    // The lines and, for each, its position in the store.
    void setLines(QuoteLines lines, QList<qsizetype> positions = {});
    const QuoteLines &lines() const { return m_lines; }
    // The store position a row was read from; -1 when unknown.
    qsizetype position(int row) const;
    // The text of one cell, as shown.
    QString cell(int row, int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QuoteLines m_lines;
    QList<qsizetype> m_positions;
};

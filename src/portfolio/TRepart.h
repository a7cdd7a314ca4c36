#pragma once

#include "portfolio/valuation.h"

#include <QDialog>

class QLabel;
class QWidget;

// "Répartition du portefeuille au dd/mm/yyyy": the value of the portfolio
// over the securities held, a pie "PaintBox1" and a legend of at most 15
// rows ("Shape1".., "Pourcent1".., "Nom1"..). Controls: "SpeedButton8"
// (Imprimer), "Button1" (Fermer).
class TRepart : public QDialog
{
    Q_OBJECT
public:
    explicit TRepart(QWidget *parent = nullptr);

    // The store is expected sorted. The lines that do not read are left
    // out (see unreadable).
    void Init(const QStringList &portfolio, const QStringList &index, const QuoteLines &store);
    // The lines Init could not read (ptf::unreadableReport); empty when none.
    QString unreadable() const { return m_unreadable; }
    // The legend rows shown: the percentage and the name of each.
    const QList<ptf::LegendRow> &legend() const { return m_legend; }
    // Draws the pie from the legend's percentages.
    void Dessine(QPainter &painter) const;
    void SpeedButton8Click();

private:
    void Valorise(const QList<ptf::Valuation::Row> &rows);

    QWidget *m_paintBox;
    QList<QLabel *> m_squares;
    QList<QLabel *> m_percents;
    QList<QLabel *> m_names;
    QList<ptf::LegendRow> m_legend;
    QString m_unreadable;
};

#pragma once

#include "portfolio/portfolio.h"

#include <QColor>
#include <QList>
#include <QString>

// The positions rebuilt from the portfolio lines in their order, valued at
// the last prices (net-cost method: a purchase adds its amount to the cost,
// a sale subtracts it). Every figure is kept as the text shown.
namespace ptf
{

class Valuation
{
public:
    struct Row {
        QString code;
        QString name;
        QString quantity; // "Nbr"
        QString cost;     // "Coût net": "#.00", or the amount text of the first line
        QString unit;     // "Prix Unit."
        QString last;     // "Dern.cours": the price field as stored; empty when none
        QString total;    // "Total"; empty without a price
        QString percent;  // "(%)": empty when it cannot be computed
        // What build adds after the written columns:
        QString priceDate; // "Date cours": "dd/mm/yyyy" of the price used
        QString realised;  // "Réalisé": what sold-out holdings of the security gained
        QString dividends; // "Dividendes": dividends and tax credits
        QString fees;      // "Frais"
        QString annual;    // "Rdt annuel": its money-weighted return, or "—"
    };

    // The row of `code`, or -1. When found, `amount` and `quantity` become
    // the position's new cost ("#.00") and quantity after a line of `kind`.
    int Cumul(const QString &code, QString &amount, QString &quantity, QChar kind) const;
    // Applies one line. `price` is the last price of its code (empty when
    // the store has none), `name` the name to show. A dividend changes
    // nothing; a sale first met opens a negative position; a position whose
    // quantity falls to zero is closed (no row; a later purchase opens it
    // anew).
    void Ajoute(const Operation &op, const QString &price, const QString &name);
    // Totals over the rows that have a value: "Evaluation" and the gain.
    void Valorise();

    const QList<Row> &rows() const { return m_rows; }
    QString evaluation() const { return m_evaluation; }
    QString gain() const { return m_gain; }
    // "Moins value" instead of "Plus value".
    bool loss() const { return m_loss; }

    // What the portfolio earned, over every line ("#.00"): the gains realised
    // when a holding is sold out (net-cost method: what the sales brought
    // less what the purchases cost, the soulte of an exchange included), the
    // dividends and the tax credits, the fees; and the annualised
    // money-weighted return (see annualReturn) of the flows (a purchase
    // pays its amount and fees, a sale brings its amount less fees, a
    // dividend brings its amount and tax credit) with the holdings sold at
    // their prices on the valuation date: "—" when a holding has no price.
    QString realised() const { return m_realised; }
    QString dividends() const { return m_dividends; }
    QString credits() const { return m_credits; }
    QString fees() const { return m_fees; }
    QString annual() const { return m_annual; }
    // The newest date among the operations and the prices of the rows.
    QDate valuationDate() const { return m_valuationDate; }
    // The oldest and newest dates of the prices of the rows.
    QDate oldestPrice() const { return m_oldestPrice; }
    QDate newestPrice() const { return m_newestPrice; }

    // Init's replay: every line, each row named from the index (its code
    // when the index does not know it), then what each security earned.
    static Valuation build(const QList<Operation> &ops, const QuoteLines &store,
                           const QStringList &index, bool capitalisedNames);

private:
    void compute(Row &row) const;
    void earn(const QList<Operation> &ops, const LastPrices &prices);

    QList<Row> m_rows;
    QString m_evaluation = QStringLiteral(",00");
    QString m_gain = QStringLiteral(",00");
    bool m_loss = false;
    QString m_realised = QStringLiteral(",00");
    QString m_dividends = QStringLiteral(",00");
    QString m_credits = QStringLiteral(",00");
    QString m_fees = QStringLiteral(",00");
    QString m_annual = QStringLiteral("\u2014");
    QDate m_valuationDate;
    QDate m_oldestPrice;
    QDate m_newestPrice;
};

// The distribution of the value over the positions held (quantity above
// zero, with a value): at most 15 legend rows, in the order of the rows.
struct LegendRow {
    QString percent; // "0.00" followed by "%"
    QString name;
};
QList<LegendRow> distribution(const QList<Valuation::Row> &rows);

// The fifteen slice colours, in legend order.
QList<QColor> sliceColours();

// One slice of the pie: counter-clockwise from three o'clock, angles in
// sixteenths of a degree as QPainter takes them, drawn from the two-decimal
// percentage texts.
struct Slice {
    int start;
    int span;
};
// Throws the conversion error of a percentage text that is not a number.
QList<Slice> pieSlices(const QList<LegendRow> &legend);

} // namespace ptf

#include "portfolio/valuation.h"

#include "base/formats.h"

#include <QColor>
#include <QSet>

#include <cmath>

namespace ptf
{

int Valuation::Cumul(const QString &code, QString &amount, QString &quantity, QChar kind) const
{
    for (int r = 0; r < m_rows.size(); ++r) {
        const Row &row = m_rows[r];
        if (row.code != code) continue;
        const int sign = kind == QLatin1Char('A') ? 1 : kind == QLatin1Char('V') ? -1 : 0;
        qint64 held = 0, moved = 0;
        if (!tryReadInteger(row.quantity, &held) || !tryReadInteger(quantity, &moved)) return r;
        quantity = QString::number(sign == 0 ? 0 : held + sign * moved);
        double cost = 0, paid = 0;
        if (!tryReadDecimal(row.cost, &cost) || !tryReadDecimal(amount, &paid)) return r;
        amount = formatAmount(sign == 0 ? 0 : cost + sign * paid);
        return r;
    }
    return -1;
}

void Valuation::Ajoute(const Operation &op, const QString &price, const QString &name)
{
    if (op.kind != QLatin1Char('A') && op.kind != QLatin1Char('V')) return;
    QString amount = op.amount;
    QString quantity = op.quantity;
    int r = Cumul(op.code, amount, quantity, op.kind);
    if (r < 0 && op.kind == QLatin1Char('V')) {
        // A sale recorded before its purchase: a negative position.
        amount = formatAmount(-op.amountValue);
        quantity = QString::number(-op.quantityValue);
    }
    if (quantity == QLatin1String("0")) {
        if (r >= 0) m_rows.removeAt(r);
        return;
    }
    if (r < 0) {
        r = int(m_rows.size());
        m_rows.append(Row{op.code, name, {}, {}, {}, {}, {}, {}});
    }
    Row &row = m_rows[r];
    row.quantity = quantity;
    row.cost = amount;
    row.last = price;
    compute(row);
}

void Valuation::compute(Row &row) const
{
    row.unit.clear();
    row.total.clear();
    row.percent.clear();
    // Each figure needs the ones before it: the first that fails leaves the
    // rest empty.
    double cost = 0, last = 0;
    qint64 qty = 0;
    if (!tryReadDecimal(row.cost, &cost) || !tryReadInteger(row.quantity, &qty) || qty == 0) return;
    row.unit = formatAmount(cost / double(qty));
    if (row.last.isEmpty() || !tryReadDecimal(row.last, &last)) return;
    row.total = formatAmount(last * double(qty));
    double total = 0;
    tryReadDecimal(row.total, &total);
    if (cost == 0) return;
    row.percent = formatAmount((total - cost) / cost * 100);
}

void Valuation::Valorise()
{
    double costs = 0, totals = 0;
    for (const Row &row : std::as_const(m_rows)) {
        double cost = 0, total = 0;
        if (row.total.isEmpty() || !tryReadDecimal(row.total, &total) ||
            !tryReadDecimal(row.cost, &cost))
            continue; // no price: out of the totals
        costs += cost;
        totals += total;
    }
    // Sums of cents: rounded to the cent, so that no "-,00" appears.
    const double gain = std::round((totals - costs) * 100) / 100;
    m_evaluation = formatAmount(std::round(totals * 100) / 100 + 0.0);
    m_loss = gain < 0;
    m_gain = formatAmount(gain == 0 ? 0.0 : gain);
}

Valuation Valuation::build(const QList<Operation> &ops, const QuoteLines &store,
                           const QStringList &index, bool capitalisedNames)
{
    QStringList codes;
    QSet<QString> seen;
    for (const Operation &op : ops)
        if (!seen.contains(op.code)) {
            seen.insert(op.code);
            codes.append(op.code);
        }
    const LastPrices prices(store, codes);
    const SecurityNames names(index);
    Valuation v;
    for (const Operation &op : ops) {
        const QString name = names.NomTitre(op.code);
        v.Ajoute(op, prices.price(op.code), capitalisedNames ? capitalised(name) : name);
    }
    v.Valorise();
    return v;
}

QList<LegendRow> distribution(const QList<Valuation::Row> &rows)
{
    QList<std::pair<double, QString>> held;
    double sum = 0;
    for (const Valuation::Row &row : rows) {
        double total = 0;
        qint64 qty = 0;
        if (row.total.isEmpty() || !tryReadDecimal(row.total, &total) ||
            !tryReadInteger(row.quantity, &qty) || qty <= 0)
            continue;
        held.append({total, row.name});
        sum += total;
    }
    QList<LegendRow> legend;
    if (sum <= 0) return legend;
    for (const auto &[total, name] : held) {
        if (legend.size() == 15) break;
        legend.append({formatPrice(total / sum * 100) + QLatin1Char('%'), name});
    }
    return legend;
}

QList<QColor> sliceColours()
{
    return {QColor(0, 0, 255),     QColor(255, 0, 0),     QColor(0, 255, 0),
            QColor(255, 255, 0),   QColor(128, 0, 128),   QColor(128, 0, 0),
            QColor(0, 128, 128),   QColor(255, 0, 255),   QColor(0, 255, 255),
            QColor(128, 128, 128), QColor(143, 255, 143), QColor(143, 143, 255),
            QColor(255, 143, 143), QColor(143, 223, 255), QColor(255, 207, 207)};
}

QList<Slice> pieSlices(const QList<LegendRow> &legend)
{
    QList<Slice> slices;
    double angle = 0; // degrees
    int start = 0;
    for (const LegendRow &row : legend) {
        angle += readDecimal(row.percent.chopped(1)) * 0.01 * 360;
        const int end = int(std::lround(angle * 16));
        slices.append({start, end - start});
        start = end;
    }
    return slices;
}

} // namespace ptf

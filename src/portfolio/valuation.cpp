#include "portfolio/valuation.h"

#include "base/formats.h"
#include "portfolio/earnings.h"

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
        m_rows.append(Row{op.code, name, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}});
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
        v.Ajoute(op, prices.price(op.code),
                 name.isEmpty()     ? op.code
                 : capitalisedNames ? capitalised(name)
                                    : name);
    }
    v.Valorise();
    v.earn(ops, prices);
    return v;
}

namespace
{

// A sum of cents as "#.00", never "-,00".
QString cents(double value)
{
    const double rounded = std::round(value * 100) / 100;
    return formatAmount(rounded == 0 ? 0.0 : rounded);
}

} // namespace

void Valuation::earn(const QList<Operation> &ops, const LastPrices &prices)
{
    // Replayed apart from the rows: a holding sold out leaves the rows but
    // keeps what it realised.
    struct Earned {
        qint64 held = 0;
        double cost = 0, realised = 0, dividends = 0, fees = 0;
        QList<Flow> flows;
    };
    QHash<QString, Earned> earned;
    QList<Flow> all;
    double realised = 0, dividends = 0, credits = 0, fees = 0;
    for (const Operation &op : ops) {
        Earned &e = earned[op.code];
        const QDate date = storedToDate(op.date);
        if (!m_valuationDate.isValid() || date > m_valuationDate) m_valuationDate = date;
        double flow = 0;
        if (op.kind == QLatin1Char('D')) {
            e.dividends += op.amountValue + op.fifthValue;
            dividends += op.amountValue;
            credits += op.fifthValue;
            flow = op.amountValue + op.fifthValue;
        } else {
            const int sign = op.kind == QLatin1Char('A') ? 1 : -1;
            e.held += sign * op.quantityValue;
            e.cost += sign * op.amountValue;
            e.fees += op.fifthValue;
            fees += op.fifthValue;
            flow = -sign * op.amountValue - op.fifthValue;
            if (e.held == 0) {
                e.realised -= e.cost;
                realised -= e.cost;
                e.cost = 0;
            }
        }
        e.flows.append({date, flow});
        all.append({date, flow});
    }
    for (const Row &row : std::as_const(m_rows)) {
        const QDate priced = storedToDate(prices.date(row.code));
        if (!priced.isValid()) continue;
        if (!m_oldestPrice.isValid() || priced < m_oldestPrice) m_oldestPrice = priced;
        if (!m_newestPrice.isValid() || priced > m_newestPrice) m_newestPrice = priced;
        if (priced > m_valuationDate) m_valuationDate = priced;
    }
    bool allPriced = true;
    double value = 0;
    for (Row &row : m_rows) {
        const Earned &e = earned[row.code];
        const QDate priced = storedToDate(prices.date(row.code));
        row.priceDate = priced.isValid() ? toShown(priced) : QString();
        row.realised = cents(e.realised);
        row.dividends = cents(e.dividends);
        row.fees = cents(e.fees);
        double total = 0;
        if (row.total.isEmpty() || !tryReadDecimal(row.total, &total)) {
            allPriced = false;
            row.annual = returnText(std::nullopt);
            continue;
        }
        value += total;
        QList<Flow> flows = e.flows;
        flows.append({m_valuationDate, total});
        row.annual = returnText(annualReturn(flows));
    }
    m_realised = cents(realised);
    m_dividends = cents(dividends);
    m_credits = cents(credits);
    m_fees = cents(fees);
    if (allPriced) {
        all.append({m_valuationDate, value});
        m_annual = returnText(annualReturn(all));
    }
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

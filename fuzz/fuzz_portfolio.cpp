// A portfolio file (".ptf") read as the portfolio commands read it, then
// the valuation, the distribution pie, the journal of every year it holds
// and the fees, over a small fixed quotation store.

#include "fuzzkit.h"

#include "base/errors.h"
#include "base/textfile.h"
#include "portfolio/portfolio.h"
#include "portfolio/valuation.h"
#include "quotes/store.h"

#include <QSet>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzkit::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList store = fuzzkit::sampleStore();
    static const QStringList index = buildIndex(store);
    const QString name = QStringLiteral("portefeuille.ptf");
    fuzzkit::write(name, fuzzkit::bytes(data, size));
    const QStringList lines = readLines(fuzzkit::dir() + QLatin1Char('/') + name);

    // Every line that is not blank either reads or is set aside with its
    // reason, in the order of the file; nothing is read twice or lost.
    const ptf::Reading reading = ptf::readPortfolio(lines);
    const QList<ptf::Operation> &ops = reading.ops;
    qsizetype blank = 0;
    for (const QString &line : lines)
        if (line.trimmed().isEmpty()) ++blank;
    fuzzkit::check(ops.size() + reading.unreadable.size() + blank == lines.size(),
                   "each line read, set aside or blank");
    for (const ptf::Unreadable &u : reading.unreadable)
        fuzzkit::check(!u.reason.isEmpty(), "a line set aside says why", u.text);
    for (qsizetype i = 1; i < ops.size(); ++i)
        fuzzkit::check(ops[i - 1].line < ops[i].line, "operations in file order");
    if (!reading.unreadable.isEmpty())
        fuzzkit::check(!ptf::unreadableReport(reading.unreadable).isEmpty(),
                       "lines set aside are reported");

    for (bool capitalised : {false, true}) {
        const ptf::Valuation v = ptf::Valuation::build(ops, store, index, capitalised);
        for (const auto &row : v.rows())
            fuzzkit::check(!row.quantity.isEmpty() && row.quantity != QStringLiteral("0"),
                           "a closed position has no row", row.code);
        try {
            const QList<ptf::LegendRow> legend = ptf::distribution(v.rows());
            fuzzkit::check(legend.size() <= 15, "at most fifteen legend rows");
            ptf::pieSlices(legend);
        } catch (const VError &) {
        }
    }

    const ptf::SecurityNames names(index);
    QSet<int> years;
    for (const ptf::Operation &op : ops)
        if (years.size() < 4) years.insert(op.date.left(4).toInt());
    for (int year : years) {
        try {
            ptf::cessions(ptf::journalRows(ops, names, year));
        } catch (const VError &) {
        }
    }
    ptf::feeRows(ops, names);
    for (const ptf::Operation &op : ops) {
        QString price;
        ptf::lastPrice(store, op.code, &price);
    }
    return 0;
}

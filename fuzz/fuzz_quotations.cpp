// The quotation file "Cours.vmq": loaded into the document, then the index,
// the month and security views, the charts, the indicators, the statistics
// and the hit-parade over what was read.

#include "fuzzkit.h"

#include "base/errors.h"
#include "charts/chartdraw.h"
#include "charts/series.h"
#include "quotes/BourseData.h"
#include "quotes/store.h"

#include <QSet>

namespace
{

// The exchange sort the index order is defined by, for small indexes.
QStringList exchangeSorted(QStringList index)
{
    for (qsizetype i = 0; i < index.size(); ++i)
        for (qsizetype j = i + 1; j < index.size(); ++j)
            if (compareWindows1252(QStringView(index[i]).mid(6), QStringView(index[j]).mid(6)) > 0)
                index.swapItemsAt(i, j);
    return index;
}

// The positions of the lines a view shows, read from every line's text.
QList<qsizetype> linesWhere(const BourseData &data, const std::function<bool(const QString &)> &in)
{
    QList<qsizetype> out;
    const Period p = data.period();
    const QStringList &store = data.store();
    for (qsizetype i = 0; i < store.size(); ++i)
        if (in(store.at(i)) && p.contains(store.at(i))) out.append(i);
    return out;
}

// Two lists of line positions alike. An empty list may hold no data at all;
// QList's own comparison would hand that null pointer to memcmp.
bool sameLines(const QList<qsizetype> &a, const QList<qsizetype> &b)
{
    return a.isEmpty() ? b.isEmpty() : a == b;
}

void month(const BourseData &data, const QDate &month)
{
    if (!month.isValid()) return;
    const QList<qsizetype> positions = data.monthLines(month);
    const QString prefix = month.toString(QStringLiteral("yyyyMMdd")).left(6);
    if (month.year() >= 1000 && month.year() <= 9999)
        fuzzkit::check(
            sameLines(positions,
                      linesWhere(data, [&](const QString &l) { return l.startsWith(prefix); })),
            "the month view holds the lines of its month", prefix);
    for (qsizetype p : positions) {
        const QString &line = data.store().at(p);
        fuzzkit::check(quote::fields(line).size() <= 5, "a line shows at most five fields", line);
        quote::priceOf(line);
        quote::nameOf(line);
    }
    monthEntry(month);
}

void charts(const History &h)
{
    const TextMeasure m = fuzzkit::measure();
    try {
        for (int maSwitch : {0, 1}) {
            int maLength = 8;
            priceChart(QSize(600, 300), h, maSwitch, maLength, m);
        }
        const PriceSeries s = priceSeries(h);
        movingAverage(s.prices, 3);
        if (h.size() >= 6) {
            const Indicator rsi = rsiOf(h, 6);
            indicatorChart(QSize(400, 200), rsi, m);
            indicatorLabels(rsi);
            const Indicator moment = momentumOf(h, 6);
            indicatorChart(QSize(400, 200), moment, m);
            largestMove(moment);
        }
        if (h.size() >= 10) {
            const Indicator zz = zigzagOf(h, 5);
            indicatorChart(QSize(400, 200), zz, m);
        }
    } catch (const VError &) {
    }
    try {
        statisticsOf(h);
    } catch (const VError &) {
    }
}

void security(const BourseData &data, const QString &code)
{
    const QList<qsizetype> positions = data.codeLines(code);
    fuzzkit::check(
        sameLines(positions,
                  linesWhere(data, [&](const QString &l) { return quote::codeOf(l) == code; })),
        "the security view holds the lines of its code", code);
    QStringList lines;
    for (qsizetype p : positions)
        lines.append(data.store().at(p));
    charts(historyOf(lines));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzkit::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzkit::write(QStringLiteral("Cours.vmq"), fuzzkit::bytes(data, size));
    BourseData doc(fuzzkit::dir());
    try {
        doc.Init();
    } catch (const VError &) {
        return 0;
    }
    const QStringList &store = doc.store();
    fuzzkit::check(!store.contains(QString()), "no empty line is kept");
    qsizetype bad = -1;
    const QDate first = BourseData::storeDate(doc.store(), false, &bad);
    const QDate last = BourseData::storeDate(doc.store(), true, &bad);
    fuzzkit::check(first == doc.firstDate() && last == doc.lastDate(), "period dates of the store");

    const QStringList index = buildIndex(doc.store());
    QSet<QString> codes;
    for (const QString &entry : index)
        codes.insert(entry.left(6));
    fuzzkit::check(codes.size() == index.size(), "one index entry per code");
    if (index.size() <= 300)
        fuzzkit::check(index == exchangeSorted(index), "the index in the exchange sort's order");
    doc.setIndex(index);
    if (!index.isEmpty()) indexHasPrefix(index, index.last().left(3));

    for (int pass = 0; pass < 2; ++pass) {
        month(doc, doc.firstDate());
        month(doc, doc.lastDate());
        if (!store.isEmpty())
            month(doc, QDate::fromString(quote::dateOf(store.at(store.size() / 2)),
                                         QStringLiteral("yyyyMMdd")));
        for (qsizetype i = 0; i < index.size() && i < 4; ++i)
            security(doc, index.at(i).left(6));
        // The second pass inside a period of the first half of the store.
        if (store.size() < 2) break;
        doc.setPeriod(1, first,
                      QDate::fromString(quote::dateOf(store.at(store.size() / 2)),
                                        QStringLiteral("yyyyMMdd")));
    }

    if (first.isValid() && last.isValid() && first.daysTo(last) < 366 * 50)
        monthEntries(first, last);
    if (!store.isEmpty()) {
        const QList<Rise> rises = hitParade(index, doc.store(), quote::dateOf(store.first()),
                                            quote::dateOf(store.last()));
        fuzzkit::check(rises.size() == index.size(), "one hit-parade row per security");
        for (const Rise &r : rises)
            riseText(r);
    }
    return 0;
}

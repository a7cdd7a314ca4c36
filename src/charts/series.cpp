#include "charts/series.h"

#include "base/errors.h"
#include "base/formats.h"
#include "base/parallel.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

History historyOf(const QuoteLines &lines)
{
    History h;
    const qsizetype n = lines.size();
    h.dates.reserve(n);
    h.prices.reserve(n);
    h.volumes.reserve(n);
    QuoteLines::Buffer buffer;
    for (qsizetype i = 0; i < n; ++i) {
        // Date, code, name, price, volume: each up to the next tab, those
        // missing empty.
        std::array<QStringView, 5> fields;
        std::size_t k = 0;
        for (const QStringView field : lines.mid(i, 0, -1, buffer).tokenize(u'\t')) {
            fields[k] = field;
            if (++k == fields.size()) break;
        }
        const QStringView date = fields[0];
        if (h.dates.isEmpty()) h.name = fields[2].toString();
        QString shown;
        shown.reserve(10);
        shown.append(date.mid(6, 2))
            .append(u'/')
            .append(date.mid(4, 2))
            .append(u'/')
            .append(date.left(4));
        h.dates.append(std::move(shown));
        h.prices.append(fields[3].toString());
        h.volumes.append(fields[4].toString());
    }
    return h;
}

QDate newestDate(const History &history)
{
    QDate newest;
    for (const QString &text : history.dates) {
        QDate date;
        if (tryReadShownDate(text, &date) && (!newest.isValid() || date > newest)) newest = date;
    }
    return newest;
}

History since(const History &history, const QDate &start)
{
    History h;
    h.name = history.name;
    h.from = history.from;
    h.to = history.to;
    QDate from;
    if (!tryReadShownDate(h.from, &from) || from < start) h.from = toShown(start);
    for (int i = 0; i < history.size(); ++i) {
        QDate date;
        if (tryReadShownDate(history.dates[i], &date) && date < start) continue;
        h.dates.append(history.dates[i]);
        h.prices.append(history.prices[i]);
        h.volumes.append(history.volumes[i]);
    }
    return h;
}

QString shownDate(const QDate &date)
{
    return toShown(date);
}

QString History::periodText() const
{
    if (dates.isEmpty()) return {};
    return QStringLiteral("du ") + dates.first() + QStringLiteral(" au ") + dates.last();
}

QString History::emptyText() const
{
    if (from.isEmpty()) return QStringLiteral("Aucune cotation");
    return QStringLiteral("Aucune cotation du ") + from + QStringLiteral(" au ") + to;
}

int decimalsOf(const QStringList &texts)
{
    int most = 0;
    for (const QString &t : texts) {
        const qsizetype comma = t.indexOf(QLatin1Char(','));
        if (comma < 0) continue;
        qsizetype end = comma + 1;
        while (end < t.size() && t[end].isDigit())
            ++end;
        // Trailing zeros say nothing of the precision.
        qsizetype last = end;
        while (last > comma + 1 && t[last - 1] == QLatin1Char('0'))
            --last;
        most = std::max(most, int(last - comma - 1));
    }
    return std::min(most, 4);
}

PriceSeries priceSeries(const History &history)
{
    PriceSeries s;
    for (int i = 0; i < history.size(); ++i) {
        double price = 0;
        if (!tryReadDecimal(history.prices.at(i), &price) || !std::isfinite(price)) continue;
        double volume = 0;
        if (!tryReadDecimal(history.volumes.at(i), &volume) || !std::isfinite(volume)) volume = 0;
        s.dates.append(history.dates.at(i));
        s.priceTexts.append(history.prices.at(i));
        s.volumeTexts.append(history.volumes.at(i));
        s.prices.append(price);
        s.volumes.append(volume);
    }
    if (s.prices.isEmpty()) return s;
    const auto [lo, hi] = std::minmax_element(s.prices.begin(), s.prices.end());
    s.lowest = *lo;
    s.highest = *hi;
    s.largestVolume = std::max(0.0, *std::max_element(s.volumes.begin(), s.volumes.end()));
    s.decimals = decimalsOf(s.priceTexts);
    return s;
}

QList<double> movingAverage(const QList<double> &y, int length)
{
    QList<double> m(y.size(), 0);
    if (length < 1) return m;
    // Summed afresh at each point: no drift from a running sum.
    for (int k = length; k < y.size(); ++k) {
        double sum = 0;
        for (int j = k - length; j < k; ++j)
            sum += y[j];
        m[k] = sum / length;
    }
    return m;
}

QList<double> exactPrices(const History &history)
{
    QList<double> p;
    p.reserve(history.size());
    for (const QString &t : history.prices)
        p.append(readDecimal(t));
    return p;
}

Indicator rsiOf(const History &history, int length)
{
    const QList<double> p = exactPrices(history);
    Indicator r;
    r.kind = Indicator::Rsi;
    r.title = history.name + QStringLiteral(" - RI-Index ") + QString::number(length) +
              QStringLiteral(" bourses");
    const int n = int(p.size());
    QList<double> c;
    for (int j = 0; j + 1 < n; ++j) {
        r.dates.append(history.dates.at(j + 1));
        c.append(p[j + 1] - p[j]);
    }
    r.values = QList<double>(c.size(), 0);
    r.period = history.periodText();
    r.first = length;
    for (int i = length; i < c.size(); ++i) {
        double gain = 0, loss = 0;
        for (int k = i - length; k < i; ++k) {
            if (c[k] > 0) gain += c[k];
            if (c[k] < 0) loss -= c[k];
        }
        const double avgGain = gain / length;
        double avgLoss = loss / length;
        if (avgLoss < 0.1) avgLoss = 0.1;
        r.values[i] = double(roundToInt(100 - 100 / (avgGain / avgLoss + 1)));
    }
    return r;
}

Indicator momentumOf(const History &history, int length)
{
    const QList<double> p = exactPrices(history);
    Indicator m;
    m.kind = Indicator::Moment;
    m.title = history.name + QStringLiteral(" - Momentum ") + QString::number(length) +
              QStringLiteral(" bourses");
    m.dates = history.dates;
    m.period = history.periodText();
    m.values = QList<double>(p.size(), 0);
    m.first = 0;
    for (int i = length; i < p.size(); ++i)
        m.values[i] = p[i - length] == 0
                          ? 0
                          : double(roundToInt(100 * (p[i] - p[i - length]) / p[i - length]));
    return m;
}

Indicator zigzagOf(const History &history, int percent)
{
    const QList<double> p = exactPrices(history);
    Indicator z;
    z.kind = Indicator::Zigzag;
    z.title = history.name + QStringLiteral(" - ZigZag ") + QString::number(percent) +
              QStringLiteral("%");
    z.dates = history.dates;
    z.period = history.periodText();
    z.percent = percent;
    z.values = p;
    z.decimals = decimalsOf(history.prices);
    return z;
}

double largestMove(const Indicator &indicator)
{
    double m = 0;
    for (double v : indicator.values)
        m = std::max(m, std::abs(v));
    return m;
}

QList<int> zigzagPoints(const QList<double> &v, int percent)
{
    QList<int> kept;
    if (v.isEmpty()) return kept;
    kept.append(0);
    double reference = v[0] < 2 && v.size() > 1 ? v[1] : v[0];
    for (int i = 1; i < v.size(); ++i) {
        // With a reference of 0 every other price is a move.
        const bool move = reference == 0
                              ? v[i] != 0
                              : std::abs(v[i] - reference) / std::abs(reference) * 100 > percent;
        if (move) {
            kept.append(i);
            reference = v[i];
        }
    }
    return kept;
}

Statistics statisticsOf(const History &history)
{
    Statistics s;
    const QList<double> x = exactPrices(history);
    if (x.isEmpty()) return s;
    s.firstDate = history.dates.first();
    s.lastDate = history.dates.last();
    double sum = 0, squares = 0;
    for (int i = 0; i < x.size(); ++i) {
        if (x[i] > s.highest) {
            s.highest = x[i];
            s.highestDate = history.dates[i];
        }
        if (x[i] < s.lowest) {
            s.lowest = x[i];
            s.lowestDate = history.dates[i];
        }
        sum += x[i];
        squares += x[i] * x[i];
    }
    const double n = double(x.size());
    s.mean = sum / n;
    s.deviation = std::sqrt(std::abs(squares / n - s.mean * s.mean));
    QList<double> sorted = x;
    std::sort(sorted.begin(), sorted.end());
    const qsizetype m = sorted.size() - 1;
    s.q1 = sorted[m / 4];
    s.q2 = sorted[m / 2];
    s.q3 = sorted[3 * m / 4];
    if (s.mean != 0) s.variation = s.deviation / s.mean * 100;
    return s;
}

namespace
{
// Six digits as a number; -1 otherwise.
int sixDigits(QByteArrayView text)
{
    int n = 0;
    for (int k = 0; k < 6; ++k) {
        if (text[k] < '0' || text[k] > '9') return -1;
        n = n * 10 + (text[k] - '0');
    }
    return n;
}
int sixDigits(QStringView text)
{
    int n = 0;
    for (int k = 0; k < 6; ++k) {
        const char16_t c = text[k].unicode();
        if (c < u'0' || c > u'9') return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}
} // namespace

QList<Rise> hitParade(const QStringList &index, const QuoteLines &store, const QString &start,
                      const QString &end)
{
    struct Found {
        double first = 0;
        double last = 0;
        bool hasLast = false;
        int within = 0; // quotations between the two dates
    };
    // The entries of each code (the first six characters of an entry): codes
    // of six digits found through a table, the others through a hash.
    QList<QList<int>> groups;
    std::vector<qint32> digitGroup(1000000, -1);
    QHash<QString, qint32> otherGroup;
    for (int i = 0; i < index.size(); ++i) {
        const QString code = index[i].left(6);
        const int digits = code.size() == 6 ? sixDigits(QStringView(code)) : -1;
        qint32 &group = digits >= 0 ? digitGroup[size_t(digits)]
                                    : otherGroup.insert(code, otherGroup.value(code, -1)).value();
        if (group < 0) {
            group = qint32(groups.size());
            groups.append(QList<int>());
        }
        groups[group].append(i);
    }
    // A price read from line l: 0 when it has none or it does not read.
    const auto priceOf = [&store](qsizetype l, QuoteLines::Buffer &buffer) {
        double price = 0;
        qsizetype from = 0, to = 0;
        if (store.field(l, 3, &from, &to) &&
            !tryReadDecimal(store.mid(l, from, to - from, buffer), &price))
            price = 0;
        return price;
    };
    // The dates as bytes, when they are digits: each line's date is then
    // compared as its bytes stand.
    const QByteArray startBytes = start.toLatin1(), endBytes = end.toLatin1();
    const auto digitsOnly = [](const QString &text) {
        return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    };
    const bool byteDates = digitsOnly(start) && digitsOnly(end);
    // Each part of the store on a core of its own. A line's code and date are
    // read from its bytes or decoded into buffers: no allocation. The price is
    // read for the first quotation only; the last is read once at the end.
    struct Part {
        QList<Found> found;
        std::vector<qsizetype> lastLine;
    };
    std::vector<Part> parts(size_t(parallel::parts(store.size(), 200000)));
    parallel::forParts(store.size(), 200000, [&](int p, qsizetype begin, qsizetype past) {
        QList<Found> &found = parts[size_t(p)].found;
        std::vector<qsizetype> &lastLine = parts[size_t(p)].lastLine;
        found.resize(index.size());
        lastLine.assign(size_t(index.size()), -1);
        QuoteLines::Buffer codeText, dateText, priceText;
        for (qsizetype l = begin; l < past; ++l) {
            if (l + QuoteLines::kAhead < past) store.prefetch(l + QuoteLines::kAhead);
            if (store.length(l) < 15) continue;
            const bool aside = store.isAside(l);
            const QByteArrayView bytes = store.bytes(l);
            const int digits = aside ? -1 : sixDigits(bytes.sliced(9, 6));
            qint32 group = -1;
            if (digits >= 0)
                group = digitGroup[size_t(digits)];
            else if (!otherGroup.isEmpty())
                group = otherGroup.value(store.mid(l, 9, 6, codeText).toString(), -1);
            if (group < 0) continue;
            bool afterStart, beforeEnd;
            const QByteArrayView dateBytes = bytes.first(8);
            if (!aside && byteDates &&
                std::all_of(dateBytes.begin(), dateBytes.end(), [](char c) { return c >= 0; })) {
                afterStart = dateBytes.compare(startBytes) >= 0;
                beforeEnd = dateBytes.compare(endBytes) <= 0;
            } else {
                const QStringView date = store.mid(l, 0, 8, dateText);
                afterStart = date.compare(start) >= 0;
                beforeEnd = date.compare(end) <= 0;
            }
            if (!afterStart && !beforeEnd) continue;
            for (int i : std::as_const(groups)[group]) {
                Found &f = found[i];
                if (afterStart && f.first == 0) f.first = priceOf(l, priceText);
                if (afterStart && beforeEnd) ++f.within;
                if (beforeEnd) {
                    lastLine[size_t(i)] = l;
                    f.hasLast = true;
                }
            }
        }
    });
    // The parts put together in the store's order.
    QList<Found> found(index.size());
    QuoteLines::Buffer priceText;
    for (int i = 0; i < index.size(); ++i) {
        Found &f = found[i];
        qsizetype last = -1;
        for (const Part &part : parts) {
            const Found &g = part.found.at(i);
            if (f.first == 0) f.first = g.first;
            f.within += g.within;
            if (g.hasLast) {
                f.hasLast = true;
                last = part.lastLine[size_t(i)];
            }
        }
        if (last >= 0) f.last = priceOf(last, priceText);
    }
    // Between two dates in order, a rise needs two quotations within them.
    const int needed = start.compare(end) <= 0 ? 2 : 0;
    QList<Rise> rows;
    rows.reserve(index.size());
    for (int i = 0; i < index.size(); ++i) {
        Rise r;
        r.name = index[i].mid(6);
        if (found[i].first != 0 && found[i].hasLast && found[i].within >= needed)
            r.rise = (found[i].last - found[i].first) / found[i].first * 100;
        rows.append(r);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Rise &a, const Rise &b) {
        if (!a.rise || !b.rise) return a.rise.has_value() && !b.rise.has_value();
        return *a.rise > *b.rise;
    });
    return rows;
}

QString riseText(const Rise &rise)
{
    return rise.rise ? formatPrice(*rise.rise) + QStringLiteral("%") : QString();
}

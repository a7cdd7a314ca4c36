#include "quotes/store.h"

#include "base/errors.h"
#include "base/formats.h"
#include "base/parallel.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <deque>
#include <numeric>
#include <vector>

namespace quote
{

QString nameOf(const QString &line)
{
    const qsizetype tab = line.indexOf(QLatin1Char('\t'), 16);
    return tab < 0 ? line.mid(16) : line.mid(16, tab - 16);
}

bool priceField(const QString &line, qsizetype *from, qsizetype *to)
{
    qsizetype tab = -1;
    for (int i = 0; i < 3; ++i) {
        tab = line.indexOf(QLatin1Char('\t'), tab + 1);
        if (tab < 0) return false;
    }
    const qsizetype end = line.indexOf(QLatin1Char('\t'), tab + 1);
    *from = tab + 1;
    *to = end < 0 ? line.size() : end;
    return true;
}

double priceOf(const QString &line)
{
    qsizetype from = 0, to = 0;
    if (!priceField(line, &from, &to)) return 0;
    double v = 0;
    return tryReadDecimal(QStringView(line).mid(from, to - from), &v) ? v : 0;
}

void setPrice(QString &line, double value)
{
    qsizetype from = 0, to = 0;
    if (!priceField(line, &from, &to)) return;
    // The new line in one allocation: most lines are shared with the undo
    // copy, so that changing them in place would copy them first.
    const QString price = formatPrice(value);
    QString out(line.size() - (to - from) + price.size(), Qt::Uninitialized);
    QChar *d = out.data();
    const QChar *s = line.constData();
    std::copy(s, s + from, d);
    std::copy(price.constData(), price.constData() + price.size(), d + from);
    std::copy(s + to, s + line.size(), d + from + price.size());
    line = std::move(out);
}

QStringList fields(const QString &line)
{
    QString rest = line;
    QStringList out;
    out.reserve(5);
    for (int i = 0; i < 5; ++i)
        out.append(nextField(rest));
    return out;
}

} // namespace quote

void Settings::read(const QStringList &lines)
{
    auto integer = [&](int index, int &target) {
        if (index >= lines.size()) return;
        // The number at the start of the line, as a reader of integers takes it.
        const QString s = lines[index].trimmed();
        qsizetype n = 0;
        if (n < s.size() && (s[n] == QLatin1Char('-') || s[n] == QLatin1Char('+'))) ++n;
        while (n < s.size() && s[n].isDigit())
            ++n;
        qint64 v = 0;
        if (tryReadInteger(s.left(n), &v) && v >= INT_MIN && v <= INT_MAX) target = int(v);
    };
    if (!lines.isEmpty()) {
        bool ok = false;
        const double rate = lines[0].trimmed().toDouble(&ok);
        if (ok && std::isfinite(rate)) euroRate = rate;
    }
    if (lines.size() > 1) portfolioPath = lines[1];
    integer(2, maSwitch);
    integer(3, maLength);
    integer(4, rsiLength);
    integer(5, momentumLength);
    integer(6, zigzagPercent);
    integer(7, autoOpen);
    integer(8, logScale);
    if (euroRate < 6 || euroRate > 10) euroRate = 6.55957;
}

QStringList Settings::lines() const
{
    QStringList lines = {formatIniReal(euroRate),        portfolioPath,
                         QString::number(maSwitch),      QString::number(maLength),
                         QString::number(rsiLength),     QString::number(momentumLength),
                         QString::number(zigzagPercent), QString::number(autoOpen)};
    // A file of a user who never chose it stays as it was.
    if (logScale != 0) lines.append(QString::number(logScale));
    return lines;
}

QString formatIniReal(double value)
{
    // One digit, 14 decimals, exponent with sign and four digits.
    const QString e = QString::number(std::fabs(value), 'E', 14); // "6.55957000000000E+00"
    const qsizetype ep = e.indexOf(QLatin1Char('E'));
    const QString mantissa = e.left(ep);
    const int exponent = e.mid(ep + 1).toInt();
    return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + mantissa + QLatin1Char('E') +
           (exponent < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QStringLiteral("%1").arg(std::abs(exponent), 4, 10, QLatin1Char('0'));
}

QString monthEntry(const QDate &date)
{
    return monthName(date.month()) + QLatin1Char(' ') + QString::number(date.year());
}

QStringList monthEntries(const QDate &first, const QDate &last)
{
    QStringList out;
    if (!first.isValid() || !last.isValid()) return out;
    QDate m(first.year(), first.month(), 1);
    const QDate end(last.year(), last.month(), 1);
    while (m <= end) {
        out.append(monthEntry(m));
        m = m.addMonths(1);
    }
    return out;
}

QDate readMonthEntry(const QString &text)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    const QString yearText = blank < 0 ? QString() : text.mid(blank + 1, 4);
    qint64 year = 0;
    if (!tryReadInteger(yearText, &year)) throw VError::badInteger(yearText);
    const int month = monthNumber(text.left(blank));
    const QDate d(int(year), month, 1);
    if (!d.isValid()) throw VError::badDate(text);
    return d;
}

namespace
{

// Characters of bytes 0x80 to 0x9F (the five holes of the code page hold the
// C1 control of the same value).
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte a character has in the file; one the code page lacks is written '?'.
inline uchar windows1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return uchar(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c) return uchar(0x80 + i);
    return '?';
}

bool blank(QStringView text)
{
    for (const QChar c : text)
        if (!c.isSpace()) return false;
    return true;
}

// Counts of marked positions, by prefix.
class Fenwick
{
public:
    explicit Fenwick(size_t n) : m_tree(n + 1, 0) {}
    void mark(size_t pos)
    {
        for (size_t i = pos + 1; i < m_tree.size(); i += i & (~i + 1))
            ++m_tree[i];
    }
    // Marked positions below `pos`.
    int below(size_t pos) const
    {
        int sum = 0;
        for (size_t i = pos; i > 0; i -= i & (~i + 1))
            sum += m_tree[i];
        return sum;
    }

private:
    std::vector<int> m_tree;
};

} // namespace

int compareWindows1252(QStringView a, QStringView b)
{
    const qsizetype len = std::min(a.size(), b.size());
    for (qsizetype k = 0; k < len; ++k) {
        const uchar x = windows1252Byte(a[k].unicode());
        const uchar y = windows1252Byte(b[k].unicode());
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

namespace
{
// Where a code appears first, and its six digits (-1: a code of another kind).
struct First {
    qsizetype line;
    int digits;
};

// The code of a line (bytes 9 to 15) as a number; -1 when not six digits.
int sixDigitsOf(QByteArrayView line)
{
    return quote::sixDigits(line.sliced(9, 6));
}

// The index from the first line of each code, in the store's order.
QStringList indexOf(const QuoteLines &store, const std::vector<std::vector<First>> &parts);
} // namespace

QStringList buildIndex(const QuoteLines &store)
{
    // First each part of the store on a core of its own: the lines where a
    // code appears for the first time in the part, in order. Codes of six
    // digits read from the bytes are marked in a table, the others kept in a
    // set.
    std::vector<std::vector<First>> parts(size_t(parallel::parts(store.size(), 500000)));
    parallel::forParts(store.size(), 500000, [&](int p, qsizetype begin, qsizetype end) {
        std::vector<bool> seen(1000000, false);
        QSet<QString> others;
        QuoteLines::Buffer buffer;
        std::vector<First> &firsts = parts[size_t(p)];
        for (qsizetype i = begin; i < end; ++i) {
            if (i + QuoteLines::kAhead < end) store.prefetch(i + QuoteLines::kAhead);
            const int digits =
                !store.isAside(i) && store.length(i) >= 15 ? sixDigitsOf(store.bytes(i)) : -1;
            if (digits >= 0) {
                if (seen[size_t(digits)]) continue;
                seen[size_t(digits)] = true;
            } else {
                const QStringView code = store.mid(i, 9, 6, buffer);
                if (blank(code) || others.contains(code.toString())) continue;
                others.insert(code.toString());
            }
            firsts.push_back({i, digits});
        }
    });
    return indexOf(store, parts);
}

QStringList buildIndex(const QuoteLines &store, const std::vector<qsizetype> &firstLines)
{
    std::vector<std::vector<First>> parts(1);
    parts[0].reserve(firstLines.size());
    for (const qsizetype line : firstLines)
        parts[0].push_back({line, store.isAside(line) || store.length(line) < 15
                                      ? -1
                                      : sixDigitsOf(store.bytes(line))});
    return indexOf(store, parts);
}

namespace
{
QStringList indexOf(const QuoteLines &store, const std::vector<std::vector<First>> &parts)
{
    // Then in the store's order. `starts` holds every beginning of fewer than
    // six characters of the codes kept: a short code is skipped when it
    // begins a code kept (or is one), which is when some entry begins with it.
    QStringList index;
    std::vector<bool> digitCodes(1000000, false);
    QSet<QString> codes, starts;
    QuoteLines::Buffer buffer;
    for (const std::vector<First> &firsts : parts) {
        for (const First &f : firsts) {
            const QStringView code = store.mid(f.line, 9, 6, buffer);
            if (f.digits >= 0) {
                if (digitCodes[size_t(f.digits)]) continue;
                digitCodes[size_t(f.digits)] = true;
            } else {
                const QString text = code.toString();
                if (code.size() < 6 ? starts.contains(text) : codes.contains(text)) continue;
                codes.insert(text);
            }
            for (qsizetype k = 1; k <= std::min<qsizetype>(code.size(), 5); ++k)
                starts.insert(code.left(k).toString());
            index.append(code.toString() + quote::nameOf(store.at(f.line)));
        }
    }
    sortIndexByName(index);
    return index;
}
} // namespace

// The exchange sort finishes one place at a time: place i gets the smallest
// name left, the first entry met holding it after a chain of exchanges. The
// entries named x keep an order that only the entries named below x change:
// among those, while an x is the first entry left, it moves to the place of
// the first smaller entry after it, which takes the finished place. So the xs
// up to a gap of b smaller entries turn left b times, then the next xs join
// them; after the last smaller entry they keep their order. The gaps are
// counted with a Fenwick tree over the places, names taken in rising order,
// and the turns cost at most half a group each: O(n sqrt n) at worst.
void sortIndexByName(QStringList &index)
{
    const size_t n = size_t(index.size());
    if (n < 2) return;
    const QStringList &entries = index;
    auto name = [&](int i) { return QStringView(entries[i]).mid(6); };
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return compareWindows1252(name(a), name(b)) < 0; });

    QStringList out;
    out.reserve(qsizetype(n));
    Fenwick smaller(n);
    std::deque<int> run;
    for (size_t g = 0; g < n;) {
        size_t end = g + 1;
        while (end < n && compareWindows1252(name(order[g]), name(order[end])) == 0)
            ++end;
        // order[g..end) holds one name, in the places' order.
        run.clear();
        for (size_t k = g; k < end; ++k) {
            run.push_back(order[k]);
            const int next = k + 1 < end ? order[k + 1] : int(n);
            const size_t gap =
                size_t(smaller.below(size_t(next)) - smaller.below(size_t(order[k]) + 1));
            const size_t turn = gap % run.size();
            if (turn <= run.size() / 2) {
                for (size_t t = 0; t < turn; ++t) {
                    run.push_back(run.front());
                    run.pop_front();
                }
            } else {
                for (size_t t = turn; t < run.size(); ++t) {
                    run.push_front(run.back());
                    run.pop_back();
                }
            }
        }
        for (size_t k = g; k < end; ++k)
            smaller.mark(size_t(order[k]));
        for (const int i : run)
            out.append(entries[i]);
        g = end;
    }
    index = std::move(out);
}

bool indexHasPrefix(const QStringList &index, const QString &text)
{
    for (const QString &entry : index)
        if (entry.startsWith(text)) return true;
    return false;
}

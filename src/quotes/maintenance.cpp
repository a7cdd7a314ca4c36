#include "quotes/maintenance.h"

#include "base/errors.h"
#include "base/formats.h"
#include "base/textfile.h"
#include "quotes/store.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace maintenance
{

namespace
{

// A cheap hash (FNV-1a) for the short byte texts of a line: codes, names.
struct BytesHash {
    size_t operator()(std::string_view text) const noexcept
    {
        quint64 h = 14695981039346656037ull;
        for (const char c : text)
            h = (h ^ uchar(c)) * 1099511628211ull;
        return size_t(h);
    }
};

// Negative, 0 or positive as `a` is below, equal to or above `b`, character
// by character, as texts compare.
int compareText(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype k = 0; k < n; ++k)
        if (a[k] != b[k]) return a[k].unicode() < b[k].unicode() ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// True when the "0.00" pattern writes the value as a plain number. Below
// 1e15 it always does; above, the text is looked at (a value near the
// largest double overflows once scaled to cents).
bool plainPrice(double value)
{
    if (!std::isfinite(value)) return false;
    if (std::fabs(value) < 1e15) return true;
    for (const QChar c : formatPrice(value))
        if (!c.isDigit() && c != QLatin1Char(',') && c != QLatin1Char('-')) return false;
    return true;
}

} // namespace

int rewritePrices(QuoteLines &store, int direction, const QString &dateFrom, const QString &dateTo,
                  const QString &codeFrom, const QString &codeTo, double factor)
{
    if (direction != 1 && direction != 2) return 0;
    if (factor == 0 || !std::isfinite(factor)) return 0;
    QuoteLines::Buffer codeText, dateText, priceText;
    auto inRange = [&](qsizetype i) {
        const QStringView code = store.mid(i, 9, 6, codeText);
        const QStringView date = store.mid(i, 0, 8, dateText);
        return compareText(code, codeFrom) >= 0 && compareText(code, codeTo) <= 0 &&
               compareText(date, dateFrom) >= 0 && compareText(date, dateTo) <= 0;
    };
    // Every new price is checked before the first is written.
    struct Price {
        qsizetype line;
        double value;
        qsizetype from, to; // the field
    };
    std::vector<Price> prices;
    prices.reserve(size_t(store.size()));
    for (qsizetype i = 0; i < store.size(); ++i) {
        if (i + QuoteLines::kAhead < store.size()) store.prefetch(i + QuoteLines::kAhead);
        qsizetype from = 0, to = 0;
        if (!inRange(i) || !store.field(i, 3, &from, &to)) continue;
        double price = 0;
        if (!tryReadDecimal(store.mid(i, from, to - from, priceText), &price)) price = 0;
        const double value = direction == 1 ? price / factor : price * factor;
        if (!plainPrice(value))
            throw VError(
                QStringLiteral(
                    "Conversion impossible : le cours de la ligne %1 deviendrait trop grand")
                    .arg(i + 1));
        prices.push_back({i, value, from, to});
    }
    char buffer[32];
    char *const bufferEnd = buffer + sizeof buffer;
    QByteArray large;
    for (size_t k = 0; k < prices.size(); ++k) {
        const auto [i, value, from, to] = prices[k];
        if (k + QuoteLines::kAhead < prices.size())
            store.prefetch(prices[k + QuoteLines::kAhead].line);
        if (store.isAside(i)) {
            QString text = store.at(i);
            quote::setPrice(text, value);
            store.set(i, text);
            continue;
        }
        // The new line: the bytes around the field, the new price between.
        const QByteArrayView old = store.bytes(i);
        QByteArrayView price;
        if (const char *b = priceBytes(value, bufferEnd)) {
            price = QByteArrayView(b, bufferEnd - b);
        } else {
            large = formatPrice(value).toLatin1();
            price = large;
        }
        char *d = store.rewrite(i, from + price.size() + old.size() - to);
        std::memcpy(d, old.data(), size_t(from));
        std::memcpy(d + from, price.data(), size_t(price.size()));
        std::memcpy(d + from + price.size(), old.data() + to, size_t(old.size() - to));
    }
    return int(prices.size());
}

int rewritePrices(QStringList &store, int direction, const QString &dateFrom, const QString &dateTo,
                  const QString &codeFrom, const QString &codeTo, double factor)
{
    QuoteLines lines(store);
    const int n = rewritePrices(lines, direction, dateFrom, dateTo, codeFrom, codeTo, factor);
    store = lines.toStringList();
    return n;
}

int removeSecurity(QuoteLines &store, const QString &code)
{
    QuoteLines::Buffer text;
    return int(store.keepIf([&](qsizetype i) { return store.mid(i, 9, 6, text) != code; }));
}

int removeSecurity(QStringList &store, const QString &code)
{
    QuoteLines lines(store);
    const int n = removeSecurity(lines, code);
    store = lines.toStringList();
    return n;
}

// --- Sorts --------------------------------------------------------------------
//
// Both sorts order the lines as a case-insensitive French collation of a key
// would: "Date + code" the whole line, "Date + nom" the date, the name, a tab
// and the whole line; equal keys fall back to the whole line, compared
// ordinally. Collating a million whole lines is far too slow, so a line of the
// regular shape is compared field by field:
//  - the date (8 digits) as a number: digits collate in their natural order;
//  - code and name by their rank among the distinct codes and names, ranked
//    once through collation sort keys (there are only hundreds of them);
//  - the rest of the line (price and volume) through a small table of the
//    collation order of digits and separators, or the collator otherwise.
// A tab collates below every other character, so this is the order of the
// whole key, with one deliberate difference: names that differ only by their
// accents are ordered by the name ("Elan" before "Élan") instead of by the
// price that follows. Lines of another shape are ordered by the collator on
// their whole key and merged in.

namespace
{

enum class SortKind { Code, Name };

QCollator frenchCollator()
{
    QCollator collator{QLocale(QLocale::French)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// The collation order of the characters that make up prices and volumes;
// -1 for every other character.
std::array<int, 128> separatorRanks(const QCollator &collator)
{
    std::array<int, 128> ranks;
    ranks.fill(-1);
    QList<QChar> chars;
    for (const char c : std::string_view("\t ,.-+0123456789"))
        chars.append(QLatin1Char(c));
    std::sort(chars.begin(), chars.end(),
              [&](QChar a, QChar b) { return collator.compare(QString(a), QString(b)) < 0; });
    int rank = 0;
    for (qsizetype i = 0; i < chars.size(); ++i) {
        if (i > 0 && collator.compare(QString(chars[i - 1]), QString(chars[i])) != 0) ++rank;
        ranks[chars[i].unicode()] = rank;
    }
    return ranks;
}

// Distinct texts (codes or names, as bytes) with their identifiers in order
// of arrival.
struct Dictionary {
    std::unordered_map<std::string_view, quint32, BytesHash> ids;
    std::vector<std::string_view> texts;

    quint32 id(std::string_view text)
    {
        const auto [it, added] = ids.try_emplace(text, quint32(texts.size()));
        if (added) texts.push_back(text);
        return it->second;
    }

    // The collation rank of each identifier; texts the collator finds equal
    // share a rank.
    std::vector<quint32> ranks(const QCollator &collator) const
    {
        struct Entry {
            QCollatorSortKey key;
            quint32 id;
        };
        std::vector<Entry> entries;
        entries.reserve(texts.size());
        for (size_t i = 0; i < texts.size(); ++i)
            entries.push_back(
                {collator.sortKey(decodeWindows1252(texts[i].data(), qsizetype(texts[i].size()))),
                 quint32(i)});
        std::sort(entries.begin(), entries.end(),
                  [](const Entry &a, const Entry &b) { return a.key.compare(b.key) < 0; });
        std::vector<quint32> out(texts.size());
        quint32 rank = 0;
        for (size_t i = 0; i < entries.size(); ++i) {
            if (i > 0 && entries[i - 1].key.compare(entries[i].key) != 0) ++rank;
            out[entries[i].id] = rank;
        }
        return out;
    }
};

// A line of the regular shape, reduced to what orders it.
struct Item {
    quint32 date;
    quint32 first;  // rank of the code ("Date + code") or of the name ("Date + nom")
    quint32 second; // rank of the other one
    quint32 index;
};

// "yyyymmdd", tab, six characters without a tab, tab: the shape the program
// writes. Fills the date and the views of code and name, and where the rest
// begins (the tab after the name; the line's size when there is none).
bool parseRegular(QByteArrayView line, quint32 &date, std::string_view &code,
                  std::string_view &name, qsizetype &rest)
{
    if (line.size() < 16) return false;
    const char *d = line.data();
    quint32 value = 0;
    for (int i = 0; i < 8; ++i) {
        if (d[i] < '0' || d[i] > '9') return false;
        value = value * 10 + quint32(d[i] - '0');
    }
    if (d[8] != '\t' || d[15] != '\t') return false;
    for (int i = 9; i < 15; ++i)
        if (d[i] == '\t') return false;
    const qsizetype tab = line.indexOf('\t', 16);
    date = value;
    code = std::string_view(d + 9, 6);
    rest = tab < 0 ? line.size() : tab;
    name = std::string_view(d + 16, size_t(rest - 16));
    return true;
}

// The rest of a regular line: from the tab after the name.
QByteArrayView restOf(QByteArrayView line)
{
    const qsizetype tab = line.indexOf('\t', 16);
    return tab < 0 ? QByteArrayView() : line.sliced(tab);
}

// Orders the items by date, first and second rank, keeping the order of
// equal ones: a radix sort, least significant digits first, over the bits
// the three take (the date counted from the earliest).
void radixSort(std::vector<Item> &items)
{
    if (items.size() < 2) return;
    quint32 minDate = items[0].date, maxDate = 0, maxFirst = 0, maxSecond = 0;
    for (const Item &t : items) {
        minDate = std::min(minDate, t.date);
        maxDate = std::max(maxDate, t.date);
        maxFirst = std::max(maxFirst, t.first);
        maxSecond = std::max(maxSecond, t.second);
    }
    const int secondBits = std::bit_width(maxSecond);
    const int low = std::bit_width(maxFirst) + secondBits; // at most 64
    const int total = low + std::bit_width(maxDate - minDate);
    if (total == 0) return;
    // The bits of the key (date, first, second) from `shift` on.
    auto bitsAt = [&](const Item &t, int shift) {
        const quint64 lo = (quint64(t.first) << secondBits) | t.second;
        const quint64 hi = t.date - minDate;
        if (shift >= low) return hi >> (shift - low);
        quint64 v = lo >> shift;
        if (low - shift < 64) v |= hi << (low - shift);
        return v;
    };
    const int passes = (total + 11) / 12; // digits of at most 12 bits
    const int width = (total + passes - 1) / passes;
    const quint64 mask = (quint64(1) << width) - 1;
    // The counts of every digit of every pass, in one reading of the items.
    std::vector<std::vector<size_t>> counts(size_t(passes),
                                            std::vector<size_t>(size_t(1) << width, 0));
    for (const Item &t : items)
        for (int p = 0; p < passes; ++p)
            ++counts[size_t(p)][bitsAt(t, p * width) & mask];
    std::vector<Item> other(items.size());
    for (int p = 0; p < passes; ++p) {
        std::vector<size_t> &count = counts[size_t(p)];
        const int shift = p * width;
        if (count[bitsAt(items[0], shift) & mask] == items.size()) continue; // one digit
        size_t sum = 0;
        for (size_t &c : count)
            sum += std::exchange(c, sum);
        for (const Item &t : items)
            other[count[bitsAt(t, shift) & mask]++] = t;
        items.swap(other);
    }
}

QString collationKey(SortKind kind, const QString &line)
{
    if (kind == SortKind::Code) return line;
    return quote::dateOf(line) + quote::nameOf(line) + QLatin1Char('\t') + line;
}

void sortLines(QuoteLines &lines, SortKind kind)
{
    const qsizetype n = lines.size();
    if (n < 2) return;
    const QCollator collator = frenchCollator();
    const std::array<int, 128> charRank = separatorRanks(collator);

    Dictionary codes, names;
    // Codes of six digits find their identifier by their value; the name of
    // the previous line of a code is nearly always the name of the next one.
    std::vector<qint32> digitCodes(n >= 4096 ? 1000000 : 0, -1);
    std::vector<std::pair<std::string_view, qint64>> lastName;
    auto codeId = [&](std::string_view code) {
        if (digitCodes.empty()) return codes.id(code);
        int value = 0;
        for (const char c : code) {
            if (c < '0' || c > '9') return codes.id(code);
            value = value * 10 + (c - '0');
        }
        qint32 &id = digitCodes[size_t(value)];
        if (id < 0) id = qint32(codes.id(code));
        return quint32(id);
    };
    std::vector<Item> items;
    items.reserve(size_t(n));
    std::vector<quint32> odd; // lines of another shape
    for (qsizetype i = 0; i < n; ++i) {
        if (i + QuoteLines::kAhead < n) lines.prefetch(i + QuoteLines::kAhead);
        quint32 date = 0;
        std::string_view code, name;
        qsizetype rest = 0;
        if (lines.isAside(i) || !parseRegular(lines.bytes(i), date, code, name, rest)) {
            odd.push_back(quint32(i));
            continue;
        }
        const quint32 cid = codeId(code);
        if (cid >= lastName.size()) lastName.resize(size_t(cid) + 1, {std::string_view(), -1});
        auto &[lastText, lastId] = lastName[cid];
        if (lastId < 0 || lastText != name) {
            lastText = name;
            lastId = names.id(name);
        }
        if (kind == SortKind::Code)
            items.push_back({date, cid, quint32(lastId), quint32(i)});
        else
            items.push_back({date, quint32(lastId), cid, quint32(i)});
    }
    {
        const std::vector<quint32> codeRank = codes.ranks(collator);
        const std::vector<quint32> nameRank = names.ranks(collator);
        const std::vector<quint32> &firstRank = kind == SortKind::Code ? codeRank : nameRank;
        const std::vector<quint32> &secondRank = kind == SortKind::Code ? nameRank : codeRank;
        for (Item &item : items) {
            item.first = firstRank[item.first];
            item.second = secondRank[item.second];
        }
    }
    radixSort(items);

    // Runs of equal date and ranks: by the rest of the line, then the whole
    // line compared ordinally.
    auto compareRest = [&](quint32 a, quint32 b) {
        const QByteArrayView ra = restOf(lines.bytes(a)), rb = restOf(lines.bytes(b));
        auto plain = [&](QByteArrayView rest) {
            for (const char c : rest)
                if (uchar(c) >= 128 || charRank[uchar(c)] < 0) return false;
            return true;
        };
        if (!plain(ra) || !plain(rb))
            return collator.compare(decodeWindows1252(ra.data(), ra.size()),
                                    decodeWindows1252(rb.data(), rb.size()));
        const qsizetype len = std::min(ra.size(), rb.size());
        for (qsizetype k = 0; k < len; ++k) {
            const int x = charRank[uchar(ra[k])], y = charRank[uchar(rb[k])];
            if (x != y) return x < y ? -1 : 1;
        }
        return ra.size() == rb.size() ? 0 : (ra.size() < rb.size() ? -1 : 1);
    };
    auto ordinalLess = [&](quint32 a, quint32 b) { return lines.compare(a, b) < 0; };
    auto same = [](const Item &a, const Item &b) {
        return a.date == b.date && a.first == b.first && a.second == b.second;
    };
    for (size_t k = 0; k < items.size();) {
        size_t end = k + 1;
        while (end < items.size() && same(items[k], items[end]))
            ++end;
        if (end - k > 1)
            std::sort(items.begin() + qsizetype(k), items.begin() + qsizetype(end),
                      [&](const Item &a, const Item &b) {
                          if (const int c = compareRest(a.index, b.index)) return c < 0;
                          return ordinalLess(a.index, b.index);
                      });
        k = end;
    }

    std::vector<quint32> order;
    order.reserve(size_t(n));
    if (odd.empty()) {
        for (const Item &item : items)
            order.push_back(item.index);
        lines.reorder(order);
        return;
    }

    // Lines of another shape: sorted by the collator on their whole key, then
    // placed among the others by a galloping merge (few comparisons when they
    // are few, linear at worst).
    struct Odd {
        QCollatorSortKey key;
        quint32 index;
    };
    std::vector<Odd> others;
    others.reserve(odd.size());
    for (const quint32 i : odd)
        others.push_back({collator.sortKey(collationKey(kind, lines.at(i))), i});
    std::sort(others.begin(), others.end(), [&](const Odd &a, const Odd &b) {
        if (const int c = a.key.compare(b.key)) return c < 0;
        return ordinalLess(a.index, b.index);
    });
    const size_t count = items.size();
    size_t r = 0;
    for (const Odd &o : others) {
        // True when the odd line sorts before the regular line at p.
        auto before = [&](size_t p) {
            const quint32 other = items[p].index;
            const int c = o.key.compare(collator.sortKey(collationKey(kind, lines.at(other))));
            return c != 0 ? c < 0 : ordinalLess(o.index, other);
        };
        size_t lo = r, hi = count, step = 1;
        for (;;) {
            const size_t probe = lo + step - 1;
            if (probe >= count) break;
            if (before(probe)) {
                hi = probe;
                break;
            }
            lo = probe + 1;
            step *= 2;
        }
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            if (before(mid))
                hi = mid;
            else
                lo = mid + 1;
        }
        for (; r < lo; ++r)
            order.push_back(items[r].index);
        order.push_back(o.index);
    }
    for (; r < count; ++r)
        order.push_back(items[r].index);
    lines.reorder(order);
}

// Runs a change of the lines on a list of texts.
template <typename Edit> auto onTexts(QStringList &store, Edit edit)
{
    QuoteLines lines(store);
    const auto result = edit(lines);
    store = lines.toStringList();
    return result;
}

} // namespace

void sortByCode(QuoteLines &store)
{
    sortLines(store, SortKind::Code);
}

void sortByCode(QStringList &store)
{
    onTexts(store, [](QuoteLines &lines) { return sortByCode(lines), 0; });
}

void sortByName(QuoteLines &store)
{
    sortLines(store, SortKind::Name);
}

void sortByName(QStringList &store)
{
    onTexts(store, [](QuoteLines &lines) { return sortByName(lines), 0; });
}

int reorganise(QuoteLines &store, const QString &cutoff, int keep)
{
    if (keep < 1 || keep >= store.size()) return -1;
    const qsizetype removable = store.size() - keep;
    sortByCode(store);
    QuoteLines::Buffer date;
    qsizetype k = 0;
    while (k < removable && store.mid(k, 0, 8, date).compare(cutoff) < 0)
        ++k;
    store.remove(0, k);
    return int(k);
}

int reorganise(QStringList &store, const QString &cutoff, int keep)
{
    return onTexts(store, [&](QuoteLines &lines) { return reorganise(lines, cutoff, keep); });
}

} // namespace maintenance

#include "quotes/maintenance.h"

#include "base/errors.h"
#include "base/formats.h"
#include "quotes/store.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace maintenance
{

namespace
{

// A cheap hash (FNV-1a) for the short texts of a line: codes, names, keys.
struct ViewHash {
    size_t operator()(QStringView text) const noexcept
    {
        quint64 h = 14695981039346656037ull;
        for (const QChar c : text)
            h = (h ^ c.unicode()) * 1099511628211ull;
        return size_t(h);
    }
};
template <typename T> using ViewMap = std::unordered_map<QStringView, T, ViewHash>;

// The text of a line in a large store is rarely in the cache: ask for it a
// few lines ahead.
inline void prefetch(const QString &line)
{
#if defined(__GNUC__)
    __builtin_prefetch(line.constData());
#else
    Q_UNUSED(line);
#endif
}
constexpr qsizetype kAhead = 16;

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

// Keeps the lines `keep` says yes to, in order, in one pass.
template <typename Keep> int compact(QStringList &store, Keep keep)
{
    const qsizetype n = store.size();
    qsizetype out = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (i + kAhead < n) prefetch(std::as_const(store)[i + kAhead]);
        if (!keep(std::as_const(store)[i])) continue;
        if (out != i) store[out] = std::move(store[i]);
        ++out;
    }
    store.resize(out);
    return int(n - out);
}

} // namespace

int rewritePrices(QStringList &store, int direction, const QString &dateFrom, const QString &dateTo,
                  const QString &codeFrom, const QString &codeTo, double factor)
{
    if (direction != 1 && direction != 2) return 0;
    if (factor == 0 || !std::isfinite(factor)) return 0;
    auto inRange = [&](const QString &text) {
        const QStringView line(text);
        const QStringView code = line.mid(9, 6);
        const QStringView date = line.left(8);
        return code.compare(codeFrom) >= 0 && code.compare(codeTo) <= 0 &&
               date.compare(dateFrom) >= 0 && date.compare(dateTo) <= 0;
    };
    // Every new price is checked before the first is written.
    std::vector<std::pair<qsizetype, double>> prices;
    for (qsizetype i = 0; i < store.size(); ++i) {
        const QString &line = std::as_const(store)[i];
        qsizetype from = 0, to = 0;
        if (!inRange(line) || !quote::priceField(line, &from, &to)) continue;
        const double price = quote::priceOf(line);
        const double value = direction == 1 ? price / factor : price * factor;
        if (!plainPrice(value))
            throw VError(
                QStringLiteral(
                    "Conversion impossible : le cours de la ligne %1 deviendrait trop grand")
                    .arg(i + 1));
        prices.emplace_back(i, value);
    }
    for (const auto &[i, value] : prices)
        quote::setPrice(store[i], value);
    return int(prices.size());
}

int removeSecurity(QStringList &store, const QString &code)
{
    return compact(store, [&](const QString &line) { return QStringView(line).mid(9, 6) != code; });
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

// Distinct texts (codes or names) with their identifiers in order of arrival.
struct Dictionary {
    ViewMap<int> ids;
    std::vector<QStringView> texts;

    int id(QStringView text)
    {
        const auto [it, added] = ids.try_emplace(text, int(texts.size()));
        if (added) texts.push_back(text);
        return it->second;
    }

    // The collation rank of each identifier; texts the collator finds equal
    // share a rank.
    std::vector<int> ranks(const QCollator &collator) const
    {
        struct Entry {
            QCollatorSortKey key;
            int id;
        };
        std::vector<Entry> entries;
        entries.reserve(texts.size());
        for (size_t i = 0; i < texts.size(); ++i)
            entries.push_back({collator.sortKey(texts[i].toString()), int(i)});
        std::sort(entries.begin(), entries.end(),
                  [](const Entry &a, const Entry &b) { return a.key.compare(b.key) < 0; });
        std::vector<int> out(texts.size());
        int rank = 0;
        for (size_t i = 0; i < entries.size(); ++i) {
            if (i > 0 && entries[i - 1].key.compare(entries[i].key) != 0) ++rank;
            out[size_t(entries[i].id)] = rank;
        }
        return out;
    }
};

// A line of the regular shape, reduced to what orders it.
struct Item {
    quint32 date;
    int first;  // rank of the code ("Date + code") or of the name ("Date + nom")
    int second; // rank of the other one
    int index;
    QStringView rest; // from the tab after the name; empty when there is none
    bool plainRest;   // the rest holds only digits and separators
};

// "yyyymmdd", tab, six characters without a tab, tab: the shape the program
// writes. Fills the date and the views of code, name and rest.
bool parseRegular(const QString &line, quint32 &date, QStringView &code, QStringView &name,
                  QStringView &rest)
{
    if (line.size() < 16) return false;
    const QChar *d = line.constData();
    quint32 value = 0;
    for (int i = 0; i < 8; ++i) {
        const char16_t c = d[i].unicode();
        if (c < u'0' || c > u'9') return false;
        value = value * 10 + quint32(c - u'0');
    }
    if (d[8] != QLatin1Char('\t') || d[15] != QLatin1Char('\t')) return false;
    for (int i = 9; i < 15; ++i)
        if (d[i] == QLatin1Char('\t')) return false;
    const QStringView view(line);
    const qsizetype tab = line.indexOf(QLatin1Char('\t'), 16);
    date = value;
    code = view.mid(9, 6);
    name = tab < 0 ? view.mid(16) : view.mid(16, tab - 16);
    rest = tab < 0 ? QStringView() : view.mid(tab);
    return true;
}

QString collationKey(SortKind kind, const QString &line)
{
    if (kind == SortKind::Code) return line;
    return quote::dateOf(line) + quote::nameOf(line) + QLatin1Char('\t') + line;
}

void sortLines(QStringList &store, SortKind kind)
{
    const qsizetype n = store.size();
    if (n < 2) return;
    const QStringList &lines = store;
    const QCollator collator = frenchCollator();
    const std::array<int, 128> charRank = separatorRanks(collator);

    Dictionary codes, names;
    // In a large store, codes of six digits find their identifier by their
    // value; the name of the previous line of a code is nearly always the
    // name of the next one.
    std::vector<int> digitCodes(n >= 4096 ? 1000000 : 0, -1);
    std::vector<std::pair<QStringView, int>> lastName;
    auto codeId = [&](QStringView code) {
        if (digitCodes.empty()) return codes.id(code);
        int value = 0;
        for (const QChar c : code) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return codes.id(code);
            value = value * 10 + (c.unicode() - u'0');
        }
        int &id = digitCodes[size_t(value)];
        if (id < 0) id = codes.id(code);
        return id;
    };
    std::vector<Item> items;
    items.reserve(size_t(n));
    std::vector<int> odd; // lines of another shape
    for (qsizetype i = 0; i < n; ++i) {
        if (i + kAhead < n) prefetch(lines[i + kAhead]);
        quint32 date = 0;
        QStringView code, name, rest;
        if (!parseRegular(lines[i], date, code, name, rest)) {
            odd.push_back(int(i));
            continue;
        }
        bool plain = true;
        for (const QChar c : rest) {
            if (c.unicode() >= 128 || charRank[c.unicode()] < 0) {
                plain = false;
                break;
            }
        }
        const int cid = codeId(code);
        if (size_t(cid) >= lastName.size()) lastName.resize(size_t(cid) + 1, {QStringView(), -1});
        auto &[lastText, lastId] = lastName[size_t(cid)];
        if (lastId < 0 || lastText != name) {
            lastText = name;
            lastId = names.id(name);
        }
        if (kind == SortKind::Code)
            items.push_back({date, cid, lastId, int(i), rest, plain});
        else
            items.push_back({date, lastId, cid, int(i), rest, plain});
    }
    {
        const std::vector<int> codeRank = codes.ranks(collator);
        const std::vector<int> nameRank = names.ranks(collator);
        const std::vector<int> &firstRank = kind == SortKind::Code ? codeRank : nameRank;
        const std::vector<int> &secondRank = kind == SortKind::Code ? nameRank : codeRank;
        for (Item &item : items) {
            item.first = firstRank[size_t(item.first)];
            item.second = secondRank[size_t(item.second)];
        }
    }

    auto compareRest = [&](const Item &a, const Item &b) {
        if (!a.plainRest || !b.plainRest) return collator.compare(a.rest, b.rest);
        const qsizetype len = std::min(a.rest.size(), b.rest.size());
        for (qsizetype k = 0; k < len; ++k) {
            const int ra = charRank[a.rest[k].unicode()];
            const int rb = charRank[b.rest[k].unicode()];
            if (ra != rb) return ra < rb ? -1 : 1;
        }
        return a.rest.size() == b.rest.size() ? 0 : (a.rest.size() < b.rest.size() ? -1 : 1);
    };
    auto ordinalLess = [&](int a, int b) {
        return QStringView(lines[a]).compare(QStringView(lines[b])) < 0;
    };
    std::sort(items.begin(), items.end(), [&](const Item &a, const Item &b) {
        if (a.date != b.date) return a.date < b.date;
        if (a.first != b.first) return a.first < b.first;
        if (a.second != b.second) return a.second < b.second;
        if (const int c = compareRest(a, b)) return c < 0;
        return ordinalLess(a.index, b.index);
    });

    QStringList out;
    out.reserve(n);
    if (odd.empty()) {
        for (size_t k = 0; k < items.size(); ++k) {
            if (k + kAhead < items.size()) prefetch(lines[items[k + kAhead].index]);
            out.append(lines[items[k].index]);
        }
        store = std::move(out);
        return;
    }

    // Lines of another shape: sorted by the collator on their whole key, then
    // placed among the others by a galloping merge (few comparisons when they
    // are few, linear at worst).
    struct Odd {
        QCollatorSortKey key;
        int index;
    };
    std::vector<Odd> others;
    others.reserve(odd.size());
    for (const int i : odd)
        others.push_back({collator.sortKey(collationKey(kind, lines[i])), i});
    std::sort(others.begin(), others.end(), [&](const Odd &a, const Odd &b) {
        if (const int c = a.key.compare(b.key)) return c < 0;
        return ordinalLess(a.index, b.index);
    });
    const size_t count = items.size();
    size_t r = 0;
    for (const Odd &o : others) {
        // True when the odd line sorts before the regular line at p.
        auto before = [&](size_t p) {
            const int other = items[p].index;
            const int c = o.key.compare(collator.sortKey(collationKey(kind, lines[other])));
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
            out.append(lines[items[r].index]);
        out.append(lines[o.index]);
    }
    for (; r < count; ++r)
        out.append(lines[items[r].index]);
    store = std::move(out);
}

} // namespace

void sortByCode(QStringList &store)
{
    sortLines(store, SortKind::Code);
}

void sortByName(QStringList &store)
{
    sortLines(store, SortKind::Name);
}

int reorganise(QStringList &store, const QString &cutoff, int keep)
{
    if (keep < 1 || keep >= store.size()) return -1;
    const qsizetype removable = store.size() - keep;
    sortByCode(store);
    qsizetype k = 0;
    while (k < removable && QStringView(std::as_const(store)[k]).left(8).compare(cutoff) < 0)
        ++k;
    store.remove(0, k);
    return int(k);
}

} // namespace maintenance

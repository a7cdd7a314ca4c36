#include "quotes/maintenance.h"

#include "base/errors.h"
#include "base/formats.h"
#include "base/largepages.h"
#include "base/parallel.h"
#include "base/textfile.h"
#include "quotes/store.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <numeric>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>
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

// compareText for bytes of the code page.
int compareBytes(QByteArrayView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype k = 0; k < n; ++k) {
        const char16_t c = windows1252Char(uchar(a[k]));
        if (c != b[k].unicode()) return c < b[k].unicode() ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Room for n values, left uninitialised, in large pages where possible.
template <typename T> std::unique_ptr<T[]> freshRoom(size_t n)
{
    std::unique_ptr<T[]> room(new T[n]);
    preferLargePages(room.get(), n * sizeof(T));
    return room;
}

// A number for each code of six digits, by its value: -1 until set. For
// stores of a few thousand lines or more, where it spares looking codes up.
std::unique_ptr<qint32[]> byDigits()
{
    constexpr size_t kDigitCodes = 1000000;
    std::unique_ptr<qint32[]> table = freshRoom<qint32>(kDigitCodes);
    std::fill_n(table.get(), kDigitCodes, -1);
    return table;
}

// Room for n bytes, left uninitialised, in large pages where possible.
QByteArray roomOfBytes(qsizetype n)
{
    QByteArray room(n, Qt::Uninitialized);
    preferLargePages(room.constData(), size_t(n));
    return room;
}

// Below this many lines, a change runs on one thread: starting others would
// cost more than they spare.
constexpr qsizetype kSplitFloor = 100000;

// The number of threads a change of `n` lines runs on: `asked` when it is
// given, otherwise as many as the machine runs at once (at most eight), and
// one for a small store.
int threadsFor(int asked, qsizetype n)
{
    if (asked > 0) return asked;
    if (n < kSplitFloor) return 1;
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

// Where slice p of `slices` of n lines begins (slice `slices` is the end).
qsizetype sliceBegin(qsizetype n, int slices, int p)
{
    return qsizetype(qint64(n) * p / slices);
}

using parallel::onThreads;

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

namespace
{

// Which lines a rewriting of prices changes, and their new prices.
struct PriceRule {
    int direction;
    const QString &dateFrom, &dateTo, &codeFrom, &codeTo;
    double factor;

    bool valid() const
    {
        return (direction == 1 || direction == 2) && factor != 0 && std::isfinite(factor);
    }
    // The new price of line i of `lines`, or false when the line keeps its
    // price; the field's place in `from` and `to`.
    bool newPrice(const QuoteLines &lines, qsizetype i, QuoteLines::Buffer &text, double *value,
                  qsizetype *from, qsizetype *to) const
    {
        if (lines.isAside(i)) {
            const QStringView code = lines.mid(i, 9, 6, text);
            if (compareText(code, codeFrom) < 0 || compareText(code, codeTo) > 0) return false;
            const QStringView date = lines.mid(i, 0, 8, text);
            if (compareText(date, dateFrom) < 0 || compareText(date, dateTo) > 0) return false;
        } else {
            const QByteArrayView line = lines.bytes(i);
            const QByteArrayView code = line.sliced(std::min<qsizetype>(9, line.size()))
                                            .first(std::clamp<qsizetype>(line.size() - 9, 0, 6));
            if (compareBytes(code, codeFrom) < 0 || compareBytes(code, codeTo) > 0) return false;
            const QByteArrayView date = line.first(std::min<qsizetype>(8, line.size()));
            if (compareBytes(date, dateFrom) < 0 || compareBytes(date, dateTo) > 0) return false;
        }
        if (!lines.field(i, 3, from, to)) return false;
        double price = 0;
        if (!tryReadDecimal(lines.mid(i, *from, *to - *from, text), &price)) price = 0;
        *value = direction == 1 ? price / factor : price * factor;
        return true;
    }
    // Calls write(i, from, to, value, price) for each line from `begin` to
    // `end` whose price changes, `price` the new price's bytes (null for a
    // line held aside). Stops at the first price that would not be written
    // plainly, its line given to `refused`. Returns the number of lines told.
    template <typename Write>
    qsizetype forEachPrice(const QuoteLines &lines, qsizetype begin, qsizetype end,
                           qsizetype &refused, const Write &write) const
    {
        QuoteLines::Buffer text;
        char buffer[32];
        char *const bufferEnd = buffer + sizeof buffer;
        qsizetype count = 0; // counted here: the counts of the threads share a cache line
        for (qsizetype i = begin; i < end; ++i) {
            if (i + QuoteLines::kAhead < end) lines.prefetch(i + QuoteLines::kAhead);
            double value = 0;
            qsizetype from = 0, to = 0;
            if (!newPrice(lines, i, text, &value, &from, &to)) continue;
            if (!plainPrice(value)) {
                refused = i;
                break;
            }
            ++count;
            const char *b = lines.isAside(i) ? nullptr : priceBytes(value, bufferEnd);
            write(i, from, to, value, b ? QByteArrayView(b, bufferEnd - b) : QByteArrayView());
        }
        return count;
    }
};

VError priceRefused(qsizetype i)
{
    return VError(
        QStringLiteral("Conversion impossible : le cours de la ligne %1 deviendrait trop grand")
            .arg(i + 1));
}

// The lines of a rewriting too long for a writer, or held aside, with their
// new prices: set one by one after the threads.
using Alone = std::vector<std::vector<std::pair<qsizetype, double>>>;

// Sets the lines left alone, with `keep` called before each.
template <typename Keep> void setAlone(QuoteLines &store, const Alone &alone, Keep keep)
{
    for (const auto &lines : alone) {
        for (const auto &[i, value] : lines) {
            keep(i);
            QString line = store.at(i);
            quote::setPrice(line, value);
            store.set(i, line);
        }
    }
}

} // namespace

int rewritePrices(QuoteLines &store, int direction, const QString &dateFrom, const QString &dateTo,
                  const QString &codeFrom, const QString &codeTo, double factor, int threads)
{
    const PriceRule rule{direction, dateFrom, dateTo, codeFrom, codeTo, factor};
    if (!rule.valid()) return 0;
    const qsizetype n = store.size();
    const int slices = threadsFor(threads, n);

    // Each slice of the lines, on a thread of its own, writes the new lines
    // into blocks of its own as it checks their prices; lines held aside, and
    // prices too large for the short form, are written after, on this
    // thread. A refused price puts the lines back as they were.
    const QuoteLines source = store;
    std::vector<QuoteLines::Writer> writers = store.writers(slices, store.heldBytes());
    std::vector<qsizetype> refused(size_t(slices), -1), counted(size_t(slices), 0);
    Alone alone(static_cast<size_t>(slices));
    onThreads(slices, [&](int p) {
        QuoteLines::Writer &w = writers[size_t(p)];
        counted[size_t(p)] = rule.forEachPrice(
            source, sliceBegin(n, slices, p), sliceBegin(n, slices, p + 1), refused[size_t(p)],
            [&](qsizetype i, qsizetype from, qsizetype to, double value, QByteArrayView price) {
                const QByteArrayView old = source.bytes(i);
                const qsizetype rest = old.size() - to;
                if (price.isNull() || !QuoteLines::Writer::takes(from + price.size() + rest)) {
                    alone[size_t(p)].push_back({i, value});
                    return;
                }
                char *d = w.line(i, from + price.size() + rest);
                std::memcpy(d, old.data(), size_t(from));
                std::memcpy(d + from, price.data(), size_t(price.size()));
                std::memcpy(d + from + price.size(), old.data() + to, size_t(rest));
            });
    });
    for (const qsizetype i : refused) {
        if (i < 0) continue;
        store = source;
        throw priceRefused(i);
    }
    store.adopt(writers);
    setAlone(store, alone, [](qsizetype) {});
    return int(std::accumulate(counted.begin(), counted.end(), qsizetype(0)));
}

void checkPrices(const QuoteLines &store, int direction, const QString &dateFrom,
                 const QString &dateTo, const QString &codeFrom, const QString &codeTo,
                 double factor, int threads)
{
    const PriceRule rule{direction, dateFrom, dateTo, codeFrom, codeTo, factor};
    if (!rule.valid()) return;
    const qsizetype n = store.size();
    const int slices = threadsFor(threads, n);
    std::vector<qsizetype> refused(size_t(slices), -1);
    onThreads(slices, [&](int p) {
        rule.forEachPrice(store, sliceBegin(n, slices, p), sliceBegin(n, slices, p + 1),
                          refused[size_t(p)],
                          [](qsizetype, qsizetype, qsizetype, double, QByteArrayView) {});
    });
    for (const qsizetype i : refused)
        if (i >= 0) throw priceRefused(i);
}

int overwritePrices(QuoteLines &store, QuoteLines::Former &former, int direction,
                    const QString &dateFrom, const QString &dateTo, const QString &codeFrom,
                    const QString &codeTo, double factor, int threads)
{
    former = QuoteLines::Former();
    if (!store.ownsBytes())
        return rewritePrices(store, direction, dateFrom, dateTo, codeFrom, codeTo, factor, threads);
    const PriceRule rule{direction, dateFrom, dateTo, codeFrom, codeTo, factor};
    if (!rule.valid()) return 0;
    const qsizetype n = store.size();
    const int slices = threadsFor(threads, n);

    // Each slice writes the new prices over its lines' bytes as it checks
    // them; a price longer than the one it replaces goes to the lines set
    // after, on this thread, as do lines held aside. A refused price puts
    // back what was written over.
    std::vector<QuoteLines::Overwriter> overwriters = store.overwriters(slices, n / slices + 1);
    std::vector<qsizetype> refused(size_t(slices), -1), counted(size_t(slices), 0);
    Alone alone(static_cast<size_t>(slices));
    const QuoteLines &lines = store;
    try {
        onThreads(slices, [&](int p) {
            QuoteLines::Overwriter &o = overwriters[size_t(p)];
            counted[size_t(p)] = rule.forEachPrice(
                lines, sliceBegin(n, slices, p), sliceBegin(n, slices, p + 1), refused[size_t(p)],
                [&](qsizetype i, qsizetype from, qsizetype to, double value, QByteArrayView price) {
                    if (price.isNull() || !o.replace(i, from, to, price))
                        alone[size_t(p)].push_back({i, value});
                });
        });
        former = store.former(overwriters);
        for (const qsizetype i : refused)
            if (i >= 0) throw priceRefused(i);
        setAlone(store, alone, [&](qsizetype i) { store.keepPlace(i, former); });
    } catch (...) {
        if (former.isEmpty()) former = store.former(overwriters);
        store.restore(former);
        former = QuoteLines::Former();
        throw;
    }
    return int(std::accumulate(counted.begin(), counted.end(), qsizetype(0)));
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
// The journal sorts order the lines as a case-insensitive French collation of
// a key would: "Date + code" the whole line, "Date + nom" the date, the name, a
// tab and the whole line; equal keys fall back to the whole line, compared
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
//
// The valuation's sort (ignoring case) is ordinal on the case-folded
// characters. A byte of the code page is one character, so the lines compare
// byte by byte through a table of the rank of each byte's folded character;
// the regular lines are ordered by date, the rank of their code, then the rest
// of the line and their place. Lines held aside go through lessIgnoringCase
// itself.

bool lessIgnoringCase(const QString &a, const QString &b)
{
    // Lines mostly differ within their date and code: plain characters are
    // compared at once, the first other one hands over to the full rule.
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= 0x80 || y >= 0x80) return a.compare(b, Qt::CaseInsensitive) < 0;
        if (x >= u'A' && x <= u'Z') x += 32;
        if (y >= u'A' && y <= u'Z') y += 32;
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

namespace
{

enum class SortKind { Code, Name, IgnoringCase };

// The rank of each byte's character once case-folded, in the order
// QString::compare(Qt::CaseInsensitive) gives single characters: bytes whose
// characters fold alike share a rank ('A' and 'a', 'É' and 'é').
const std::array<quint8, 256> &foldedRanks()
{
    static const std::array<quint8, 256> ranks = [] {
        std::array<QString, 256> chars;
        std::array<int, 256> bytes;
        for (int b = 0; b < 256; ++b) {
            chars[size_t(b)] = QString(QChar(windows1252Char(uchar(b))));
            bytes[size_t(b)] = b;
        }
        auto compare = [&](int x, int y) {
            return chars[size_t(x)].compare(chars[size_t(y)], Qt::CaseInsensitive);
        };
        std::sort(bytes.begin(), bytes.end(), [&](int x, int y) { return compare(x, y) < 0; });
        std::array<quint8, 256> out;
        int rank = 0;
        for (size_t k = 0; k < bytes.size(); ++k) {
            if (k > 0 && compare(bytes[k - 1], bytes[k]) != 0) ++rank;
            out[size_t(bytes[k])] = quint8(rank);
        }
        return out;
    }();
    return ranks;
}

// Negative, 0 or positive as the bytes `a` are below, equal to or above `b`
// ignoring case: byte by byte through foldedRanks, then the shorter first.
int compareFolded(QByteArrayView a, QByteArrayView b)
{
    const std::array<quint8, 256> &rank = foldedRanks();
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype k = 0; k < n; ++k) {
        if (a[k] == b[k]) continue;
        const quint8 x = rank[uchar(a[k])], y = rank[uchar(b[k])];
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Lines i and j compared ignoring case: on their bytes, or as lessIgnoringCase
// does for a line held aside.
int compareIgnoringCase(const QuoteLines &lines, qsizetype i, qsizetype j)
{
    if (!lines.isAside(i) && !lines.isAside(j))
        return compareFolded(lines.bytes(i), lines.bytes(j));
    const QString a = lines.at(i), b = lines.at(j);
    return lessIgnoringCase(a, b) ? -1 : (lessIgnoringCase(b, a) ? 1 : 0);
}

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

    // The rank of each identifier in the order of the keys `keyOf` makes of
    // the texts, as `compare` (negative, 0 or positive) orders them; texts of
    // equal keys share a rank.
    template <typename KeyOf, typename Compare>
    std::vector<quint32> ranks(const KeyOf &keyOf, const Compare &compare) const
    {
        struct Entry {
            decltype(keyOf(std::string_view())) key;
            quint32 id;
        };
        std::vector<Entry> entries;
        entries.reserve(texts.size());
        for (size_t i = 0; i < texts.size(); ++i)
            entries.push_back({keyOf(texts[i]), quint32(i)});
        std::sort(entries.begin(), entries.end(),
                  [&](const Entry &a, const Entry &b) { return compare(a.key, b.key) < 0; });
        std::vector<quint32> out(texts.size());
        quint32 rank = 0;
        for (size_t i = 0; i < entries.size(); ++i) {
            if (i > 0 && compare(entries[i - 1].key, entries[i].key) != 0) ++rank;
            out[entries[i].id] = rank;
        }
        return out;
    }

    // The collation rank of each identifier; texts the collator finds equal
    // share a rank.
    std::vector<quint32> ranks(const QCollator &collator) const
    {
        return ranks(
            [&](std::string_view text) {
                return collator.sortKey(decodeWindows1252(text.data(), qsizetype(text.size())));
            },
            [](const QCollatorSortKey &a, const QCollatorSortKey &b) { return a.compare(b); });
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

// Orders the n items by date, first and second rank, keeping the order of
// equal ones: a radix sort, least significant digits first, over the bits
// the three take (the date counted from the earliest). Each pass splits the
// items into `slices` slices, each counted and moved by a thread of its own
// to the places the slices before it leave; `other` is the room of a second
// copy. Returns where the sorted items are: `items` or `other`.
Item *radixSort(Item *items, size_t n, Item *other, int slices)
{
    if (n < 2) return items;
    struct Span {
        quint32 minDate = std::numeric_limits<quint32>::max(), maxDate = 0, maxFirst = 0,
                maxSecond = 0;
    };
    std::vector<Span> spans(static_cast<size_t>(slices));
    onThreads(slices, [&](int p) {
        Span &s = spans[size_t(p)];
        for (size_t k = size_t(sliceBegin(qsizetype(n), slices, p)),
                    end = size_t(sliceBegin(qsizetype(n), slices, p + 1));
             k < end; ++k) {
            const Item &t = items[k];
            s.minDate = std::min(s.minDate, t.date);
            s.maxDate = std::max(s.maxDate, t.date);
            s.maxFirst = std::max(s.maxFirst, t.first);
            s.maxSecond = std::max(s.maxSecond, t.second);
        }
    });
    Span all;
    for (const Span &s : spans) {
        all.minDate = std::min(all.minDate, s.minDate);
        all.maxDate = std::max(all.maxDate, s.maxDate);
        all.maxFirst = std::max(all.maxFirst, s.maxFirst);
        all.maxSecond = std::max(all.maxSecond, s.maxSecond);
    }
    const quint32 minDate = all.minDate;
    const int secondBits = std::bit_width(all.maxSecond);
    const int low = std::bit_width(all.maxFirst) + secondBits; // at most 64
    const int total = low + std::bit_width(all.maxDate - minDate);
    if (total == 0) return items;
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
    const size_t digits = size_t(1) << width;
    std::vector<std::vector<size_t>> counts(static_cast<size_t>(slices),
                                            std::vector<size_t>(digits));
    for (int pass = 0; pass < passes; ++pass) {
        const int shift = pass * width;
        onThreads(slices, [&](int p) {
            std::vector<size_t> &count = counts[size_t(p)];
            std::fill(count.begin(), count.end(), 0);
            for (size_t k = size_t(sliceBegin(qsizetype(n), slices, p)),
                        end = size_t(sliceBegin(qsizetype(n), slices, p + 1));
                 k < end; ++k)
                ++count[bitsAt(items[k], shift) & mask];
        });
        const size_t first = bitsAt(items[0], shift) & mask;
        size_t same = 0;
        for (const std::vector<size_t> &count : counts)
            same += count[first];
        if (same == n) continue; // one digit: the order holds
        // Where each slice puts each digit: after the smaller digits, and
        // after the same digit of the slices before.
        size_t sum = 0;
        for (size_t d = 0; d < digits; ++d)
            for (std::vector<size_t> &count : counts)
                sum += std::exchange(count[d], sum);
        onThreads(slices, [&](int p) {
            std::vector<size_t> &place = counts[size_t(p)];
            for (size_t k = size_t(sliceBegin(qsizetype(n), slices, p)),
                        end = size_t(sliceBegin(qsizetype(n), slices, p + 1));
                 k < end; ++k)
                other[place[bitsAt(items[k], shift) & mask]++] = items[k];
        });
        std::swap(items, other);
    }
    return items;
}

// Where each of `slices` slices of n places begins (and, last, n): about
// evenly, each at the first place of a run `same(k - 1, k)` says goes on.
template <typename Same> std::vector<size_t> cutBetweenRuns(size_t n, int slices, const Same &same)
{
    std::vector<size_t> cut(size_t(slices) + 1, n);
    cut[0] = 0;
    for (int p = 1; p < slices; ++p) {
        size_t k = std::max(cut[size_t(p) - 1], size_t(sliceBegin(qsizetype(n), slices, p)));
        while (k > 0 && k < n && same(k - 1, k))
            ++k;
        cut[size_t(p)] = k;
    }
    return cut;
}

// When the n items are in date order: orders each day's items by first and
// second rank, then place (as the radix sort would), the days cut into
// `slices` slices each ordered by a thread of its own, and returns true.
// Returns false, the items untouched, otherwise.
bool orderByDay(Item *items, size_t n, int slices)
{
    std::vector<char> inOrder(size_t(slices), 1);
    onThreads(slices, [&](int p) {
        const size_t begin = std::max<size_t>(size_t(sliceBegin(qsizetype(n), slices, p)), 1),
                     end = size_t(sliceBegin(qsizetype(n), slices, p + 1));
        for (size_t k = begin; k < end; ++k)
            if (items[k - 1].date > items[k].date) {
                inOrder[size_t(p)] = 0;
                return;
            }
    });
    if (std::find(inOrder.begin(), inOrder.end(), 0) != inOrder.end()) return false;
    auto less = [](const Item &a, const Item &b) {
        return a.first != b.first
                   ? a.first < b.first
                   : (a.second != b.second ? a.second < b.second : a.index < b.index);
    };
    // Each slice starts at the first item of a day.
    const std::vector<size_t> cut = cutBetweenRuns(
        n, slices, [&](size_t a, size_t b) { return items[a].date == items[b].date; });
    onThreads(slices, [&](int p) {
        const size_t last = cut[size_t(p) + 1];
        for (size_t k = cut[size_t(p)]; k < last;) {
            size_t end = k + 1;
            while (end < last && items[end].date == items[k].date)
                ++end;
            if (!std::is_sorted(items + k, items + end, less))
                std::sort(items + k, items + end, less);
            k = end;
        }
    });
    return true;
}

QString collationKey(SortKind kind, const QString &line)
{
    if (kind == SortKind::Code) return line;
    return quote::dateOf(line) + quote::nameOf(line) + QLatin1Char('\t') + line;
}

// The order of the lines: the `count` sorted regular items, with the lines of
// another shape (`odd`, in their own order) placed among them, where
// `before(k, p)` says whether odd line k goes before the item at p. A
// galloping merge: few comparisons when the odd lines are few, linear at
// worst.
template <typename Before>
std::vector<quint32> placeOdd(const Item *sorted, size_t count, const std::vector<quint32> &odd,
                              const Before &before)
{
    std::vector<quint32> order;
    order.reserve(count + odd.size());
    size_t r = 0;
    for (size_t k = 0; k < odd.size(); ++k) {
        size_t lo = r, hi = count, step = 1;
        for (;;) {
            const size_t probe = lo + step - 1;
            if (probe >= count) break;
            if (before(k, probe)) {
                hi = probe;
                break;
            }
            lo = probe + 1;
            step *= 2;
        }
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            if (before(k, mid))
                hi = mid;
            else
                lo = mid + 1;
        }
        for (; r < lo; ++r)
            order.push_back(sorted[r].index);
        order.push_back(odd[k]);
    }
    for (; r < count; ++r)
        order.push_back(sorted[r].index);
    return order;
}

// The code of each rank of the codes (in `codes`, ranked by `codeRank`), as
// the keys tell it: six digits as a number, kByText for a code to be read
// from its line (of another shape, or one of several texts of one rank).
constexpr qint32 kByText = -2;
std::vector<qint32> codesOfRanks(const Dictionary &codes, const std::vector<quint32> &codeRank)
{
    constexpr qint32 kUnset = -3;
    std::vector<qint32> out;
    for (size_t id = 0; id < codes.texts.size(); ++id) {
        const std::string_view text = codes.texts[id];
        const qint32 digits = quote::sixDigits(QByteArrayView(text.data(), qsizetype(text.size())));
        const qint32 value = digits >= 0 ? digits : kByText;
        const size_t rank = codeRank[id];
        if (rank >= out.size()) out.resize(rank + 1, kUnset);
        qint32 &known = out[rank];
        known = known == kUnset || known == value ? value : kByText;
    }
    return out;
}

// Tells `keys` the month and code of each sorted item, a part at a time: the
// code through its rank.
void tellKeys(const Item *sorted, size_t count, bool codeFirst, const Dictionary &codes,
              const std::vector<quint32> &codeRank, const KeysOfSorted &keys)
{
    const std::vector<qint32> codeOfRank = codesOfRanks(codes, codeRank);
    constexpr size_t kAtOnce = size_t(1) << 18;
    std::vector<qint32> months, lineCodes;
    for (size_t from = 0; from < count; from += kAtOnce) {
        const size_t n = std::min(kAtOnce, count - from);
        months.resize(n);
        lineCodes.resize(n);
        for (size_t k = 0; k < n; ++k) {
            const Item &t = sorted[from + k];
            months[k] = qint32(t.date / 100);
            lineCodes[k] = codeOfRank[codeFirst ? t.first : t.second];
        }
        keys(qsizetype(from), months, lineCodes);
    }
}

// Orders items of one date and the same ranks: by the rest of the line, then
// the whole line compared ordinally; ignoring case, by the rest from the code
// on, then the place. One for each thread: it keeps a collator of its own for
// the rests the table of separators does not cover.
class RestOrder
{
public:
    RestOrder(const QuoteLines &lines, bool folded, const std::array<int, 128> &charRank)
        : m_lines(lines), m_folded(folded), m_charRank(charRank)
    {
    }

    bool operator()(const Item &a, const Item &b)
    {
        if (m_folded) {
            // A regular line has a tab after its code: its rest is there.
            if (const int c = compareFolded(m_lines.bytes(a.index).sliced(15),
                                            m_lines.bytes(b.index).sliced(15)))
                return c < 0;
            return a.index < b.index;
        }
        if (const int c = compareRest(a.index, b.index)) return c < 0;
        return m_lines.compare(a.index, b.index) < 0;
    }

private:
    bool plain(QByteArrayView rest) const
    {
        for (const char c : rest)
            if (uchar(c) >= 128 || m_charRank[uchar(c)] < 0) return false;
        return true;
    }

    int compareRest(quint32 a, quint32 b)
    {
        const QByteArrayView ra = restOf(m_lines.bytes(a)), rb = restOf(m_lines.bytes(b));
        if (!plain(ra) || !plain(rb)) {
            if (!m_own) m_own = std::make_unique<QCollator>(frenchCollator());
            return m_own->compare(decodeWindows1252(ra.data(), ra.size()),
                                  decodeWindows1252(rb.data(), rb.size()));
        }
        const qsizetype len = std::min(ra.size(), rb.size());
        for (qsizetype k = 0; k < len; ++k) {
            const int x = m_charRank[uchar(ra[k])], y = m_charRank[uchar(rb[k])];
            if (x != y) return x < y ? -1 : 1;
        }
        return ra.size() == rb.size() ? 0 : (ra.size() < rb.size() ? -1 : 1);
    }

    const QuoteLines &m_lines;
    const bool m_folded;
    const std::array<int, 128> &m_charRank;
    std::unique_ptr<QCollator> m_own;
};

// Orders the items of a day. When their first ranks are few beside the
// items (the securities of a market, a day holding most of them), the items
// are placed by counting them, and only items of an equal first rank are
// compared; otherwise they are sorted.
template <typename Less>
void orderDayItems(std::vector<Item> &day, size_t ranks, std::vector<quint32> &count,
                   std::vector<Item> &room, Less &less)
{
    if (std::is_sorted(day.begin(), day.end(), less)) return;
    if (ranks > 16 * day.size() + 1024) {
        std::sort(day.begin(), day.end(), less);
        return;
    }
    count.assign(ranks + 1, 0);
    for (const Item &t : day)
        ++count[t.first + 1];
    for (size_t r = 1; r <= ranks; ++r)
        count[r] += count[r - 1];
    room.resize(day.size());
    for (const Item &t : day)
        room[count[t.first]++] = t;
    for (size_t k = 0; k < room.size();) {
        size_t end = k + 1;
        while (end < room.size() && room[end].first == room[k].first)
            ++end;
        if (end - k > 1)
            std::sort(room.begin() + qsizetype(k), room.begin() + qsizetype(end), less);
        k = end;
    }
    day.swap(room);
}

// Orders lines all of the regular shape and in date order, whose codes and
// names the dictionaries hold with their ranks: each day's lines are read
// again and ordered among themselves, on `slices` threads, each a run of days
// of its own. No line's item outlives its day: the order is all that is kept,
// and, when every code is six digits, the rank of each line's code, from which
// `keys` are told once the lines are in order (otherwise their keeper reads
// them again from the lines).
void orderDays(QuoteLines &lines, SortKind kind, int slices, const Dictionary &codes,
               const std::vector<quint32> &codeRank, const Dictionary &names,
               const std::vector<quint32> &nameRank, const std::array<int, 128> &charRank,
               const KeysOfSorted &keys, Reordered *reordered)
{
    const qsizetype n = lines.size();
    const bool folded = kind == SortKind::IgnoringCase;
    // Codes of six digits find their rank by their value.
    std::unique_ptr<qint32[]> digitRank;
    if (n >= 4096) {
        digitRank = byDigits();
        for (size_t id = 0; id < codes.texts.size(); ++id) {
            const std::string_view text = codes.texts[id];
            const qint32 value =
                quote::sixDigits(QByteArrayView(text.data(), qsizetype(text.size())));
            if (value >= 0) digitRank[size_t(value)] = qint32(codeRank[id]);
        }
    }
    auto rankOfCode = [&](std::string_view code) {
        if (digitRank) {
            const qint32 value =
                quote::sixDigits(QByteArrayView(code.data(), qsizetype(code.size())));
            if (value >= 0) return quint32(digitRank[size_t(value)]);
        }
        return codeRank[codes.ids.find(code)->second];
    };
    QByteArray orderRoom = roomOfBytes(n * qsizetype(sizeof(quint32)));
    quint32 *const order = reinterpret_cast<quint32 *>(orderRoom.data());
    std::vector<qint32> codeOf;
    if (keys) codeOf = codesOfRanks(codes, codeRank);
    std::unique_ptr<quint16[]> codeAt; // the rank of each line's code, in the new order
    if (keys && codeOf.size() <= 0x10000 &&
        std::none_of(codeOf.begin(), codeOf.end(), [](qint32 c) { return c < 0; }))
        codeAt = freshRoom<quint16>(size_t(n));
    // Where each day begins, with its month, for each slice.
    std::vector<std::vector<std::pair<size_t, qint32>>> months(static_cast<size_t>(slices));
    // A regular line begins with its date.
    const std::vector<size_t> cut = cutBetweenRuns(size_t(n), slices, [&](size_t a, size_t b) {
        return lines.bytes(qsizetype(a)).first(8) == lines.bytes(qsizetype(b)).first(8);
    });
    onThreads(slices, [&](int p) {
        RestOrder rest(lines, folded, charRank);
        auto less = [&](const Item &a, const Item &b) {
            if (a.first != b.first) return a.first < b.first;
            if (a.second != b.second) return a.second < b.second;
            return rest(a, b);
        };
        // The name of the previous line of a code is nearly always the name
        // of the next one.
        std::vector<std::pair<std::string_view, qint64>> lastName(folded ? 0 : codes.texts.size(),
                                                                  {std::string_view(), -1});
        std::vector<Item> day, dayRoom;
        std::vector<quint32> count;
        size_t dayBegin = cut[size_t(p)];
        const bool codeFirst = kind != SortKind::Name;
        const size_t ranks = codeFirst ? codes.texts.size() : names.texts.size();
        auto orderDay = [&] {
            orderDayItems(day, ranks, count, dayRoom, less);
            for (size_t k = 0; k < day.size(); ++k)
                order[dayBegin + k] = day[k].index;
            if (codeAt) {
                for (size_t k = 0; k < day.size(); ++k)
                    codeAt[dayBegin + k] = quint16(codeFirst ? day[k].first : day[k].second);
                months[size_t(p)].emplace_back(dayBegin, qint32(day.front().date / 100));
            }
            dayBegin += day.size();
            day.clear();
        };
        const qsizetype end = qsizetype(cut[size_t(p) + 1]);
        for (qsizetype i = qsizetype(dayBegin); i < end; ++i) {
            if (i + QuoteLines::kAhead < end) lines.prefetch(i + QuoteLines::kAhead);
            quint32 date = 0;
            std::string_view code, name;
            qsizetype restAt = 0;
            parseRegular(lines.bytes(i), date, code, name, restAt);
            if (!day.empty() && date != day.front().date) orderDay();
            const quint32 codeAt = rankOfCode(code);
            quint32 nameAt = 0;
            if (!folded) {
                auto &[lastText, lastRank] = lastName[codeAt];
                if (lastRank < 0 || lastText != name) {
                    lastText = name;
                    lastRank = nameRank[names.ids.find(name)->second];
                }
                nameAt = quint32(lastRank);
            }
            day.push_back(
                {date, codeFirst ? codeAt : nameAt, codeFirst ? nameAt : codeAt, quint32(i)});
        }
        if (!day.empty()) orderDay();
    });
    // Each line stays inside its day: with no copy of the lines, they are
    // reordered where they stand, and the order is what puts them back.
    if (lines.ownsRefs()) {
        lines.reorderWhereTheyStand(order, cut);
        if (reordered) reordered->from = std::move(orderRoom);
    } else {
        if (reordered) reordered->before = lines;
        std::vector<QByteArray> room;
        room.push_back(std::move(orderRoom));
        lines.reorder(order, n, {}, std::move(room));
    }
    if (!codeAt) return;
    constexpr size_t kAtOnce = size_t(1) << 18;
    std::vector<std::pair<size_t, qint32>> days;
    for (const auto &mine : months)
        days.insert(days.end(), mine.begin(), mine.end());
    std::vector<qint32> monthOf, lineCodes;
    size_t d = 0;
    for (size_t from = 0; from < size_t(n); from += kAtOnce) {
        const size_t count = std::min(kAtOnce, size_t(n) - from);
        monthOf.resize(count);
        lineCodes.resize(count);
        for (size_t k = 0; k < count; ++k) {
            while (d + 1 < days.size() && days[d + 1].first <= from + k)
                ++d;
            monthOf[k] = days[d].second;
            lineCodes[k] = codeOf[codeAt[from + k]];
        }
        keys(qsizetype(from), monthOf, lineCodes);
    }
}

void sortLines(QuoteLines &lines, SortKind kind, int threads, const KeysOfSorted &keys = {},
               Reordered *reordered = nullptr)
{
    const qsizetype n = lines.size();
    if (n < 2) {
        if (reordered) reordered->before = lines;
        return;
    }
    const int slices = threadsFor(threads, n);
    // The valuation's sort reads no name and needs no collator.
    const bool folded = kind == SortKind::IgnoringCase;
    std::optional<QCollator> collator;
    std::array<int, 128> charRank{};
    if (!folded) {
        collator.emplace(frenchCollator());
        charRank = separatorRanks(*collator);
    }

    // The items of the regular lines, each slice of the lines read by a
    // thread of its own into its place, with dictionaries of its own.
    struct Slice {
        Dictionary codes, names;
        // Codes of six digits find their identifier by their value; the
        // name of the previous line of a code is nearly always the name of
        // the next one.
        std::unique_ptr<qint32[]> digitCodes; // in large pages: read at random

        std::vector<std::pair<std::string_view, qint64>> lastName;
        std::vector<quint32> odd;              // lines of another shape
        size_t count = 0;                      // items written
        std::vector<quint32> codeIds, nameIds; // in the dictionaries of slice 0
        quint32 firstDate = 0, lastDate = 0;   // of a slice read in date order
    };
    std::vector<Slice> slice(static_cast<size_t>(slices));
    // Reads each slice of the lines into dictionaries of its own and, given
    // `items`, into its place of them. Given `outOfOrder`, every slice stops
    // at the first line before the date of the line before it or of another
    // shape, and sets it.
    auto read = [&](Item *items, std::atomic<bool> *outOfOrder) {
        onThreads(slices, [&](int p) {
            Slice &my = slice[size_t(p)];
            const qsizetype begin = sliceBegin(n, slices, p), end = sliceBegin(n, slices, p + 1);
            if (end - begin >= 4096) my.digitCodes = byDigits();
            auto codeId = [&](std::string_view code) {
                // A regular line's code is six characters.
                const qint32 value =
                    my.digitCodes
                        ? quote::sixDigits(QByteArrayView(code.data(), qsizetype(code.size())))
                        : -1;
                if (value < 0) return my.codes.id(code);
                qint32 &id = my.digitCodes[size_t(value)];
                if (id < 0) id = qint32(my.codes.id(code));
                return quint32(id);
            };
            Item *out = items ? items + begin : nullptr;
            for (qsizetype i = begin; i < end; ++i) {
                if (outOfOrder && i % 4096 == 0 && outOfOrder->load(std::memory_order_relaxed))
                    break;
                if (i + QuoteLines::kAhead < end) lines.prefetch(i + QuoteLines::kAhead);
                quint32 date = 0;
                std::string_view code, name;
                qsizetype rest = 0;
                const bool regular =
                    !lines.isAside(i) && parseRegular(lines.bytes(i), date, code, name, rest);
                if (outOfOrder && (!regular || (i > begin && date < my.lastDate))) {
                    outOfOrder->store(true);
                    break;
                }
                if (!regular) {
                    my.odd.push_back(quint32(i));
                    continue;
                }
                if (i == begin) my.firstDate = date;
                my.lastDate = date;
                const quint32 cid = codeId(code);
                quint32 nid = 0;
                if (!folded) {
                    if (cid >= my.lastName.size())
                        my.lastName.resize(size_t(cid) + 1, {std::string_view(), -1});
                    auto &[lastText, lastId] = my.lastName[cid];
                    if (lastId < 0 || lastText != name) {
                        lastText = name;
                        lastId = my.names.id(name);
                    }
                    nid = quint32(lastId);
                }
                if (out) *out++ = {date, cid, nid, quint32(i)};
            }
            my.count = out ? size_t(out - (items + begin)) : 0;
            my.digitCodes.reset();
        });
    };
    // Lines all of the regular shape and in date order (as both sorts leave
    // them, and as a file grows day by day) are read without items: each
    // day's lines are ordered among themselves after, a day at a time.
    // Otherwise every line's item is kept.
    std::atomic<bool> outOfOrder{false};
    read(nullptr, &outOfOrder);
    bool byDay = !outOfOrder;
    quint32 latest = 0;
    for (int p = 0; p < slices && byDay; ++p) {
        if (sliceBegin(n, slices, p) == sliceBegin(n, slices, p + 1)) continue;
        byDay = slice[size_t(p)].firstDate >= latest;
        latest = slice[size_t(p)].lastDate;
    }
    // The room of the items and of their second copy: once the lines are in
    // order, a copy of scattered lines writes into it.
    QByteArray itemsRoom, otherRoom;
    Item *items = nullptr;
    if (!byDay) {
        slice = std::vector<Slice>(static_cast<size_t>(slices));
        itemsRoom = roomOfBytes(n * qsizetype(sizeof(Item)));
        items = reinterpret_cast<Item *>(itemsRoom.data());
        read(items, nullptr);
    }
    // One dictionary of each: the texts of the other slices join slice 0's.
    Dictionary &codes = slice[0].codes, &names = slice[0].names;
    for (Slice &my : slice) {
        my.codeIds.reserve(my.codes.texts.size());
        for (const std::string_view text : my.codes.texts)
            my.codeIds.push_back(&my == &slice[0] ? quint32(my.codeIds.size()) : codes.id(text));
        my.nameIds.reserve(my.names.texts.size());
        for (const std::string_view text : my.names.texts)
            my.nameIds.push_back(&my == &slice[0] ? quint32(my.nameIds.size()) : names.id(text));
    }
    const std::vector<quint32> codeRank =
        folded
            ? codes.ranks([](std::string_view text) { return text; },
                          [](std::string_view a, std::string_view b) {
                              return compareFolded(QByteArrayView(a.data(), qsizetype(a.size())),
                                                   QByteArrayView(b.data(), qsizetype(b.size())));
                          })
            : codes.ranks(*collator);
    const std::vector<quint32> nameRank = folded ? std::vector<quint32>() : names.ranks(*collator);
    if (byDay) {
        orderDays(lines, kind, slices, codes, codeRank, names, nameRank, charRank, keys, reordered);
        return;
    }
    // The identifiers of each slice become ranks, and its items move up
    // behind the slices before it.
    std::vector<size_t> placed(size_t(slices) + 1, 0);
    for (int p = 0; p < slices; ++p)
        placed[size_t(p) + 1] = placed[size_t(p)] + slice[size_t(p)].count;
    const size_t count = placed.back();
    onThreads(slices, [&](int p) {
        const Slice &my = slice[size_t(p)];
        Item *const begin = items + sliceBegin(n, slices, p);
        for (Item *t = begin; t < begin + my.count; ++t) {
            const quint32 code = codeRank[my.codeIds[t->first]];
            if (folded) {
                t->first = code;
                continue;
            }
            const quint32 name = nameRank[my.nameIds[t->second]];
            t->first = kind == SortKind::Code ? code : name;
            t->second = kind == SortKind::Code ? name : code;
        }
    });
    // A slice moves only down, never over the slices after it.
    for (int p = 1; p < slices; ++p)
        std::memmove(items + placed[size_t(p)], items + sliceBegin(n, slices, p),
                     slice[size_t(p)].count * sizeof(Item));
    // Items in date order (lines of another shape among them) are ordered
    // date by date, each day's few hundred items among themselves; otherwise
    // by a radix sort of them all, which needs a second copy of the items.
    Item *sorted = items;
    if (!orderByDay(items, count, slices)) {
        otherRoom = roomOfBytes(n * qsizetype(sizeof(Item)));
        sorted = radixSort(items, count, reinterpret_cast<Item *>(otherRoom.data()),
                           count >= 2 * size_t(slices) ? slices : 1);
    }

    // Runs of equal date and ranks: each slice of the items, cut between runs,
    // is ordered by a thread of its own.
    auto same = [](const Item &a, const Item &b) {
        return a.date == b.date && a.first == b.first && a.second == b.second;
    };
    const std::vector<size_t> cut = cutBetweenRuns(
        count, slices, [&](size_t a, size_t b) { return same(sorted[a], sorted[b]); });
    onThreads(slices, [&](int p) {
        RestOrder rest(lines, folded, charRank);
        auto less = [&](const Item &a, const Item &b) { return rest(a, b); };
        const size_t last = cut[size_t(p) + 1];
        for (size_t k = cut[size_t(p)]; k < last;) {
            size_t end = k + 1;
            while (end < last && same(sorted[k], sorted[end]))
                ++end;
            if (end - k > 1) std::sort(sorted + k, sorted + end, less);
            k = end;
        }
    });

    std::vector<quint32> odd;
    for (const Slice &my : slice)
        odd.insert(odd.end(), my.odd.begin(), my.odd.end());
    if (odd.empty()) {
        // The order is written into the room of the items the sort left
        // (the memory is in use already), or into room of its own.
        QByteArray orderRoom;
        quint32 *order = &items->date;
        if (sorted == items) {
            if (otherRoom.isNull()) orderRoom = roomOfBytes(n * qsizetype(sizeof(quint32)));
            order = reinterpret_cast<quint32 *>(otherRoom.isNull() ? orderRoom.data()
                                                                   : otherRoom.data());
        }
        onThreads(slices, [&](int p) {
            for (size_t k = size_t(sliceBegin(n, slices, p)),
                        end = size_t(sliceBegin(n, slices, p + 1));
                 k < end; ++k)
                order[k] = sorted[k].index;
        });
        if (reordered) reordered->before = lines;
        std::vector<QByteArray> room;
        room.push_back(std::move(itemsRoom));
        if (!otherRoom.isNull()) room.push_back(std::move(otherRoom));
        if (!orderRoom.isNull()) room.push_back(std::move(orderRoom));
        lines.reorder(
            order, n,
            [&] {
                if (keys) tellKeys(sorted, count, kind != SortKind::Name, codes, codeRank, keys);
            },
            std::move(room));
        return;
    }

    // Lines of another shape: ordered among themselves, then placed among the
    // others; ignoring case by their comparison and their place, otherwise by
    // the collator on their whole key, then the whole line.
    if (folded) {
        auto less = [&](quint32 a, quint32 b) {
            const int c = compareIgnoringCase(lines, a, b);
            return c != 0 ? c < 0 : a < b;
        };
        std::sort(odd.begin(), odd.end(), less); // already in their places' order
        if (reordered) reordered->before = lines;
        lines.reorder(placeOdd(sorted, count, odd,
                               [&](size_t k, size_t p) { return less(odd[k], sorted[p].index); }));
        return;
    }
    auto ordinalLess = [&](quint32 a, quint32 b) { return lines.compare(a, b) < 0; };
    struct Odd {
        QCollatorSortKey key;
        quint32 index;
    };
    std::vector<Odd> others;
    others.reserve(odd.size());
    for (const quint32 i : odd)
        others.push_back({collator->sortKey(collationKey(kind, lines.at(i))), i});
    std::sort(others.begin(), others.end(), [&](const Odd &a, const Odd &b) {
        if (const int c = a.key.compare(b.key)) return c < 0;
        return ordinalLess(a.index, b.index);
    });
    for (size_t k = 0; k < others.size(); ++k)
        odd[k] = others[k].index;
    if (reordered) reordered->before = lines;
    lines.reorder(placeOdd(sorted, count, odd, [&](size_t k, size_t p) {
        const quint32 other = sorted[p].index;
        const int c = others[k].key.compare(collator->sortKey(collationKey(kind, lines.at(other))));
        return c != 0 ? c < 0 : ordinalLess(others[k].index, other);
    }));
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

void sortByCode(QuoteLines &store, int threads, const KeysOfSorted &keys, Reordered *reordered)
{
    sortLines(store, SortKind::Code, threads, keys, reordered);
}

void sortByCode(QStringList &store)
{
    onTexts(store, [](QuoteLines &lines) { return sortByCode(lines), 0; });
}

void sortByName(QuoteLines &store, int threads, const KeysOfSorted &keys, Reordered *reordered)
{
    sortLines(store, SortKind::Name, threads, keys, reordered);
}

void sortByName(QStringList &store)
{
    onTexts(store, [](QuoteLines &lines) { return sortByName(lines), 0; });
}

void sortIgnoringCase(QuoteLines &store, int threads, const KeysOfSorted &keys,
                      Reordered *reordered)
{
    sortLines(store, SortKind::IgnoringCase, threads, keys, reordered);
}

void sortIgnoringCase(QStringList &store)
{
    onTexts(store, [](QuoteLines &lines) { return sortIgnoringCase(lines), 0; });
}

bool sortedIgnoringCase(const QuoteLines &store, int threads)
{
    const qsizetype n = store.size();
    const int slices = threadsFor(threads, n);
    // Each slice checks its lines against the line before them; the first
    // pair out of order stops them all.
    std::atomic<bool> sorted{true};
    onThreads(slices, [&](int p) {
        const qsizetype end = sliceBegin(n, slices, p + 1);
        for (qsizetype i = std::max<qsizetype>(1, sliceBegin(n, slices, p)); i < end; ++i) {
            if (i + QuoteLines::kAhead < end) store.prefetch(i + QuoteLines::kAhead);
            if (compareIgnoringCase(store, i - 1, i) > 0) {
                sorted.store(false, std::memory_order_relaxed);
                return;
            }
            if ((i & 4095) == 0 && !sorted.load(std::memory_order_relaxed)) return;
        }
    });
    return sorted.load();
}

int reorganise(QuoteLines &store, const QString &cutoff, int keep, int threads)
{
    if (keep < 1 || keep >= store.size()) return -1;
    const qsizetype removable = store.size() - keep;
    sortByCode(store, threads);
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

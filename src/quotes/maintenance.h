#pragma once

#include "quotes/quotelines.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Bulk changes of the quotation store: price rewriting over a range (euro
// conversion and split), deletion of a security, deletion of lines by key,
// reorganisation, the two journal sorts and the valuation's sort. Every
// operation is linear in the number of lines (the sorts too: they rank the
// lines by their fields). Each works on the lines' bytes; the forms taking a
// list of texts convert it, run the same work and give the texts back.
namespace maintenance
{

// The work of the changes on a QuoteLines is split over `threads` threads;
// 0 (the program's choice) takes as many as the machine runs at once, and
// one below a hundred thousand lines. The lines come out the same whatever
// the count.

// Rewrites the price of every line whose code (characters 10 to 15) lies
// between `codeFrom` and `codeTo` and whose date (characters 1 to 8) lies
// between `dateFrom` and `dateTo`, all compared as texts. Direction 1 divides
// the price by `factor`, direction 2 multiplies it; the new price is written
// "0.00". A line without a price field (fewer than three tabs) is left as it
// is. A zero or non-finite factor, or another direction, changes nothing.
// Returns the number of lines rewritten.
// Throws VError ("Conversion impossible : le cours de la ligne %1 deviendrait
// trop grand", the line counted from 1) when a new price would not be a
// finite number written plainly, and leaves the store unchanged.
int rewritePrices(QuoteLines &store, int direction, const QString &dateFrom, const QString &dateTo,
                  const QString &codeFrom, const QString &codeTo, double factor, int threads = 0);
// The same in two steps, so that what the change replaces is let go of only
// once the change is known to succeed: checkPrices throws what rewritePrices
// would throw and changes nothing; overwritePrices writes the new prices
// over the lines' bytes, in place, when the store's bytes are its own,
// `former` then keeping what they held (QuoteLines::restore puts it back),
// and does as rewritePrices otherwise (`former` left empty). A refused price
// leaves the store as it was.
void checkPrices(const QuoteLines &store, int direction, const QString &dateFrom,
                 const QString &dateTo, const QString &codeFrom, const QString &codeTo,
                 double factor, int threads = 0);
int overwritePrices(QuoteLines &store, QuoteLines::Former &former, int direction,
                    const QString &dateFrom, const QString &dateTo, const QString &codeFrom,
                    const QString &codeTo, double factor, int threads = 0);
int rewritePrices(QStringList &store, int direction, const QString &dateFrom, const QString &dateTo,
                  const QString &codeFrom, const QString &codeTo, double factor);

// Removes every line whose characters 10 to 15 equal `code`. Returns the
// number of lines removed.
int removeSecurity(QuoteLines &store, const QString &code);
int removeSecurity(QStringList &store, const QString &code);

// What a sort knows of the lines it has put in order, told a part at a time
// so that they need not be read again: for the lines `from`, `from` + 1...
// of the sorted store, the month of each ("yyyymm" as a number) and its code
// (six digits as a number; -2 for a code of another shape, to be read from
// the line). A sort that meets lines of another shape tells nothing.
using KeysOfSorted =
    std::function<void(qsizetype from, std::vector<qint32> &months, std::vector<qint32> &codes)>;

// What puts back the lines a sort reordered: where each line came from (the
// line now at k was at from[k], a quint32 a line) when it reordered them where
// they stood, no copy sharing them; otherwise the lines as they were.
struct Reordered {
    QByteArray from;
    QuoteLines before;
};

// "Date + code": the lines as whole texts, case-insensitive in the French
// collation; equal keys are ordered by the whole line, so the order is total.
// Given `reordered`, fills it.
void sortByCode(QuoteLines &store, int threads = 0, const KeysOfSorted &keys = {},
                Reordered *reordered = nullptr);
void sortByCode(QStringList &store);
// "Date + nom": by date, then name, then as "Date + code" does.
void sortByName(QuoteLines &store, int threads = 0, const KeysOfSorted &keys = {},
                Reordered *reordered = nullptr);
void sortByName(QStringList &store);

// The valuation's order: the lines as texts, ignoring case. Characters are
// compared one by one, ASCII letters lowered; from the first character at or
// above U+0080 on either side, the whole lines are compared as
// QString::compare(a, b, Qt::CaseInsensitive) does (case-folded characters
// one by one, then the shorter first). The reference the fast forms match.
bool lessIgnoringCase(const QString &a, const QString &b);
// Sorts the lines in that order, keeping the order of lines equal in it
// (as std::stable_sort with lessIgnoringCase would).
void sortIgnoringCase(QuoteLines &store, int threads = 0, const KeysOfSorted &keys = {},
                      Reordered *reordered = nullptr);
void sortIgnoringCase(QStringList &store);
// Whether the lines are in that order already; read on their bytes.
bool sortedIgnoringCase(const QuoteLines &store, int threads = 0);

// Sorts the store as sortByCode, then removes lines from the top while their
// date is earlier than `cutoff` ("yyyymmdd"), keeping at least `keep` lines.
// Does nothing (not even the sort) when `keep` is not below the line count or
// is negative. Returns the number of lines removed, -1 when nothing was done.
int reorganise(QuoteLines &store, const QString &cutoff, int keep, int threads = 0);
int reorganise(QStringList &store, const QString &cutoff, int keep);

} // namespace maintenance

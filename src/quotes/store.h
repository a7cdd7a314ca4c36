#pragma once

#include "quotes/quotelines.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The quotation line: "yyyymmdd", tab, 6-character code, tab, name, tab,
// price with a decimal comma, tab, volume. Date at characters 1 to 8, code at
// 10 to 15, name from 17.
namespace quote
{

// Six characters that are all digits, as a number (a code, or "yyyymm");
// -1 for any other text.
inline qint32 sixDigits(QByteArrayView text)
{
    if (text.size() != 6) return -1;
    qint32 n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

inline QString dateOf(const QString &line)
{
    return line.left(8);
}
inline QString codeOf(const QString &line)
{
    return line.mid(9, 6);
}
// The name field: from character 17 up to the next tab.
QString nameOf(const QString &line);

// Where the price field lies: after the 3rd tab, up to the 4th tab or the end
// of the line. False for a line with fewer than three tabs (no price field).
bool priceField(const QString &line, qsizetype *from, qsizetype *to);
// The price field read with a decimal comma; 0 when the line has none or it is
// empty or not a number.
double priceOf(const QString &line);
// Rewrites the price field with the "0.00" pattern, whether or not a volume
// follows. A line without a price field is left as it is.
void setPrice(QString &line, double value);

// The five fields, split as the views show them (date still "yyyymmdd").
QStringList fields(const QString &line);

} // namespace quote

// The settings file "Valmeq.ini": eight lines.
struct Settings {
    double euroRate = 6.55957;
    QString portfolioPath;
    int maSwitch = 1;
    int maLength = 8;
    int rsiLength = 6;
    int momentumLength = 6;
    int zigzagPercent = 5;
    int autoOpen = 0;
    // Written after the eight lines above, only when on: 1 = the price chart
    // on a logarithmic scale.
    int logScale = 0;

    // Reads the lines over the current values: a missing or unreadable line
    // keeps its value. A euro rate outside 6 to 10 becomes 6.55957.
    void read(const QStringList &lines);
    QStringList lines() const;
};

// The euro rate as written on line 1: " 6.55957000000000E+0000".
QString formatIniReal(double value);

// Period filter: with `mode` 1 a line is inside when its first 8 characters
// lie between the two "yyyymmdd" keys, both included.
struct Period {
    int mode = 0;
    QString first; // "yyyymmdd"
    QString last;
    bool contains(const QString &line) const
    {
        if (mode != 1) return true;
        const QStringView key = QStringView(line).left(8);
        return key.compare(first) >= 0 && key.compare(last) <= 0;
    }
};

// The month list: "Janvier 1998" ... from the month of `first` to the month
// of `last`, both included.
QStringList monthEntries(const QDate &first, const QDate &last);
// "Mars 1999" -> the 1st of that month; throws the conversion error otherwise.
QDate readMonthEntry(const QString &text);
QString monthEntry(const QDate &date);

// The securities index: one entry per code (code, then the name of the first
// line met), sorted by name with the program's exchange sort so that equal
// names keep the order it gives them. A code shorter than six characters that
// begins a code already met adds no entry.
QStringList buildIndex(const QuoteLines &store);
// The same from the first line of each code, in store order, when every
// line's code is six digits of the code page (the store is not read again).
QStringList buildIndex(const QuoteLines &store, const std::vector<qsizetype> &firstLines);
// Names (from the 7th character) compare as their Windows-1252 bytes, as the
// file holds them. The order is the one of the exchange sort
//   for i, for j > i: if name(i) > name(j) swap i and j
// (not a stable one), reached in O(n sqrt n) at worst.
void sortIndexByName(QStringList &index);
// Negative, 0 or positive as `a` is below, equal to or above `b`, byte by
// byte in Windows-1252; a text that begins the other comes first.
int compareWindows1252(QStringView a, QStringView b);
// True when some entry begins with `text`.
bool indexHasPrefix(const QStringList &index, const QString &text);

#pragma once

#include <QDate>
#include <QString>

// Number, date and field helpers shared by every part of the program.
// Nothing here depends on the machine's locale: the decimal comma and the
// "dd/mm/yyyy" form are explicit.

// Rounds to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);
// The same as a whole number; beyond +-(2^63 - 1) the nearest of those, and
// 0 for what is not a number.
qint64 roundToInt(double value);

// "0.00": two decimals, at least one integer digit (0.5 -> "0,50").
QString formatPrice(double value);
// The same text as Latin-1 bytes (digits, a comma, a sign) ending at `end`,
// the end of a buffer of at least 32 bytes, for values below 1e10: returns
// where the text begins; null for larger values (formatPrice writes them).
const char *priceBytes(double value, char *end);
// "#.00": two decimals, no integer digit below one (0.5 -> ",50").
QString formatAmount(double value);
// "#.#####" style: at most `decimals` decimals, trailing zeros dropped,
// no integer digit below one (6.55957 -> "6,55957").
QString formatUpTo(double value, int decimals);
// General format: shortest form with at most 15 significant digits, decimal
// comma, no trailing zeros.
QString formatGeneral(double value);

// Reads a decimal number written with a decimal comma (a point is accepted
// too). Blanks around the number are ignored.
bool tryReadDecimal(const QString &text, double *value);
bool tryReadDecimal(QStringView text, double *value);
double readDecimal(const QString &text); // throws VError::badFloat
bool tryReadInteger(const QString &text, qint64 *value);
int readInteger(const QString &text); // throws VError::badInteger

// Date texts. Stored "yyyymmdd", shown and typed "dd/mm/yyyy".
QString storedToShown(const QString &stored); // by character positions
QString shownToStored(const QString &shown);  // by character positions
QString toStored(const QDate &date);
QString toShown(const QDate &date);
// Reads "dd/mm/yyyy" (or "d/m/yy": a two-digit year is in the current
// century) into a real calendar date; throws VError::badDate otherwise.
QDate readShownDate(const QString &text);
bool tryReadShownDate(const QString &text, QDate *date);
// "yyyymmdd" to a date; an invalid date when the text is not one.
QDate storedToDate(const QString &stored);

// Takes the first field off the front of `rest`: the text before the first
// tab; `rest` becomes the text after it, cut to `limit` characters. Without a
// tab the whole text is the field and `rest` becomes empty.
QString nextField(QString &rest, int limit = 255);

// Prefixes "00" and keeps the last six characters (12345 -> 012345).
QString normaliseCode(const QString &code);
// The same appended to `out`, without a text of its own.
void appendNormalisedCode(QString &out, QStringView code);

// Upper case of the letters a to z only.
QString upperAscii(const QString &text);

// Month names "Janvier" to "Décembre".
QString monthName(int month);         // empty outside 1..12
int monthNumber(const QString &name); // 0 when no name matches exactly

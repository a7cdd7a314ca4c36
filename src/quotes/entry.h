#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

// Rules of the entry page, of the correction of a stored quotation and of
// the value search, without any window.
namespace entry
{

// The price field once left: a readable number is rewritten "#.00"
// (0.5 -> ",50", 12 -> "12,00"); empty or unreadable text stays as typed.
QString leftPrice(const QString &text);

// True when the date field holds a whole calendar date "dd/mm/yyyy": two
// digits, "/", two digits, "/", four digits, and a day that exists.
bool isWholeDate(const QString &shown);

// The quotation line of one grid row: the date "dd/mm/yyyy" rewritten
// "yyyymmdd" by character positions, then code, name, price and volume.
QString lineOfRow(const QString &date, const QString &code, const QString &name,
                  const QString &price, const QString &volume);

// Code list typing: the name of the first index entry whose first n
// characters are the text (n its length). False when none is.
bool nameForCode(const QStringList &index, const QString &text, QString *name);

// Text the quotation file cannot hold: the message naming its characters
// (tabs and line breaks, which would split or merge records, other control
// characters, characters Windows-1252 lacks); empty when it can hold it.
QString unstorable(const QString &text);

// Why the fields of a quotation cannot go into the store, and the first
// faulty field (0 code, 1 name, 2 price, 3 volume): an empty code, text the
// file cannot hold, a price that is empty or not a number, a volume that
// is not a whole number.
struct Refusal {
    int field;
    QString message;
};
std::optional<Refusal> checkQuotation(const QString &code, const QString &name,
                                      const QString &price, const QString &volume);

// The code the value search looks for: the typed text in upper case; when it
// begins with a digit, the normalised code; otherwise the code of the first
// index entry whose name begins with it (upper case), or the text itself when
// no name does. Empty text stays empty.
QString searchCode(const QStringList &index, const QString &typed);

} // namespace entry

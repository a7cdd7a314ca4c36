#pragma once

#include "quotes/quotelines.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// The portfolio line: kind letter ("A" purchase, "V" sale, "D" dividend)
// immediately followed by "yyyymmdd", then tab-separated code, amount,
// quantity and fifth field (fees, or the tax credit of a dividend).
namespace ptf
{

struct Operation {
    QChar kind;
    QString date; // "yyyymmdd"
    QString code;
    QString amount; // as stored
    QString quantity;
    QString fifth;
    double amountValue = 0;
    qint64 quantityValue = 0;
};

// Reads every line. The first line that does not read (a field missing, a
// kind other than A, V or D, an amount that is not a number, a quantity
// that is not a whole number) throws its conversion error, prefixed with
// its number: nothing is half read.
QList<Operation> readOperations(const QStringList &portfolio);

// The line without its kind letter, as the operation dialogs give it; empty
// at the first empty field of amount, quantity and fifth field (trimmed).
QString operationText(const QDate &date, const QString &code, const QString &amount,
                      const QString &quantity, const QString &fifth);

// A code (normalised) shorter than six characters names no security:
// the message naming the field; empty when the code is sound.
QString codeRefusal(const QString &field, const QString &code);

// What a portfolio line cannot hold in a field: a tab or a line break
// (which would split or merge the lines), a control character, a character
// Windows-1252 lacks. The message naming the field and those characters;
// empty when the text can be stored.
QString textRefusal(const QString &field, const QString &text);

// The portfolio's path is remembered in the settings file, one line of
// Windows-1252: the message naming what that line cannot hold of the path;
// empty when it can hold it all.
QString pathRefusal(const QString &path);

// The last price of a code: the price field of its newest-dated quotation
// (of equal dates, the later line), whatever the order of the store. The
// code is compared whole. False when the store has no quotation of it.
bool lastPrice(const QuoteLines &store, const QString &code, QString *price);

// The last prices of many codes in one pass over the store.
class LastPrices
{
public:
    LastPrices(const QuoteLines &store, const QStringList &codes);
    // Empty when the store has no quotation of the code.
    QString price(const QString &code) const;

private:
    QHash<QString, QString> m_prices;
};

// The sale and purchase parts of an exchange (each without its kind
// letter); both empty when the soulte or the fees are empty. Throws the
// conversion error of a quantity that is not a whole number, or of a price
// (missing: the empty text) or soulte that is not a number.
std::pair<QString, QString> exchangeParts(const QDate &date, const QString &codeOut,
                                          const QString &codeIn, const QString &quantityOut,
                                          const QString &quantityIn, const QString &soulte,
                                          const QString &fees, const QuoteLines &store);

// Names of the securities index (code, then the name): the code is compared
// whole.
class SecurityNames
{
public:
    explicit SecurityNames(const QStringList &index);
    // `NomTitre`: the name of the first entry of that code; empty when none.
    QString NomTitre(const QString &code) const;

private:
    QHash<QString, QString> m_names;
};

// First letter in upper case, the rest (at most 244 characters) in lower
// case, accented letters included ("ACIÉRIES" -> "Aciéries").
QString capitalised(const QString &name);

// The journal of one year and the fees list: rows of six cells (date
// "dd/mm/yyyy", code, name or code, amount or fifth field, quantity, kind).
QList<QStringList> journalRows(const QList<Operation> &ops, const SecurityNames &names, int year);
QList<QStringList> feeRows(const QList<Operation> &ops, const SecurityNames &names);
// "Cessions": the sale amounts (column 3 of the "V" rows), "#.00". Throws
// the conversion error of an amount that is not a number.
QString cessions(const QList<QStringList> &rows);

} // namespace ptf

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
    double fifthValue = 0; // 0 when the fifth field is not a number
    qsizetype line = -1;   // its place in the portfolio, from 0
};

// A line that does not read: a field missing, a kind other than A, V or D,
// a date that is not one, an amount that is not a number, a quantity that
// is not a whole number.
struct Unreadable {
    qsizetype line; // from 0
    QString text;
    QString reason;
};

struct Reading {
    QList<Operation> ops;
    QList<Unreadable> unreadable;
};

// Reads every line it can; blank lines are passed over, the others that do
// not read are set aside with their reason.
Reading readPortfolio(const QStringList &portfolio);
// The operations of the lines that read.
QList<Operation> readOperations(const QStringList &portfolio);
// "Ligne 21 illisible : <text> (<reason>)", one a line, at most ten and then
// the count of the others; empty when every line reads.
QString unreadableReport(const QList<Unreadable> &lines);

// What the operation dialogs refuse in a field that must hold a number
// (an amount: digits and one decimal comma; a quantity: digits only) or
// that is empty: the message naming the field and the text; empty when
// the text is sound.
enum class Figure { Amount, Quantity };
QString figureRefusal(const QString &field, const QString &text, Figure figure);

// The shares of `code` held after every operation but the one of line
// `except` (purchases less sales).
qint64 heldQuantity(const QList<Operation> &ops, const QString &code, qsizetype except = -1);
// The questions to ask before recording an operation of `kind` ("A", "V",
// "D", or "E" for the shares given in an exchange): a sale or an exchange
// of more shares than held, a code the securities index does not know.
struct Warning {
    QString question;
    bool aboutQuantity; // else about the code
};
QList<Warning> recordWarnings(QChar kind, const QString &code, qint64 quantity,
                              const QStringList &index, const QList<Operation> &ops,
                              qsizetype except = -1);

// The year the journal opens on: the current year when it holds an
// operation, otherwise the year of the newest one.
int journalYear(const QList<Operation> &ops, int currentYear);

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
    // "yyyymmdd" of that quotation; empty when none.
    QString date(const QString &code) const;

private:
    QHash<QString, QString> m_prices;
    QHash<QString, QString> m_dates;
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
    bool contains(const QString &code) const { return m_names.contains(code); }

private:
    QHash<QString, QString> m_names;
};

// First letter in upper case, the rest (at most 244 characters) in lower
// case, accented letters included ("ACIÉRIES" -> "Aciéries").
QString capitalised(const QString &name);

// The journal of one year and the fees list: rows of six cells (date
// "dd/mm/yyyy", code, name or code, amount or fifth field, quantity, kind).
// `lines`, when given, receives the portfolio line of each journal row.
QList<QStringList> journalRows(const QList<Operation> &ops, const SecurityNames &names, int year,
                               QList<qsizetype> *lines = nullptr);
QList<QStringList> feeRows(const QList<Operation> &ops, const SecurityNames &names);
// "Cessions": the sale amounts (column 3 of the "V" rows), "#.00". Throws
// the conversion error of an amount that is not a number.
QString cessions(const QList<QStringList> &rows);

} // namespace ptf

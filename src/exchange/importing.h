#pragma once

#include "quotes/quotelines.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The import of quotation files, without windows: reading the file, the
// normalisation of its lines (Reformate), the Friday filter (Vendredi) and
// the choice of the lines that go to the store.
namespace importing
{

// The two orders of the fields in a file.
enum class Order { DateFirst, CodeFirst };

// The file's lines. A file that is valid UTF-8 and not plain ASCII (or that
// begins with a UTF-8 byte-order mark) is read as UTF-8, any other as
// Windows-1252. Only a regular file of at most importLimit() bytes (an
// eighth of the machine's memory) is read. Throws "Ne peut ouvrir le
// fichier %s", or the refusal of another kind of file or of a too big one.
qint64 importLimit();
QuoteLines readFile(const QString &path);
QuoteLines decodeLines(const QByteArray &bytes);
// Line i of `lines` as text, decoded into `buffer`: kept from line to line,
// it is not allocated again for each.
QStringView lineText(const QuoteLines &lines, qsizetype i, QString &buffer);

// The first five fields of a line as they stand, for the preview: split at
// tabs, or at semicolons when the line holds no tab; each cut to its first
// kPreviewField characters.
constexpr qsizetype kPreviewField = 255;
QStringList rawFields(const QString &line);

// Reads a date field: day, month and year separated by "/" (day and month of
// one or two digits, blanks around the numbers allowed), or "yyyy-mm-dd". A
// year of one or two digits is taken in the century of `today`, or in the
// one before when that would put the date after `today`; a date of day and
// month only is in the year of `today`. False when the text is none of these
// or not a real day.
bool readDate(QStringView text, const QDate &today, QDate *date);

// The threshold of the "Après le" field as "yyyymmdd": empty when the field
// holds no digit (every date passes). Throws "'%s' n'est pas une date
// correcte" for a date half typed or impossible.
QString threshold(const QString &field);

// Normalises the lines in place into "dd/mm/yyyy", code padded to six
// characters, name, price, volume (tab-separated). An empty line, and a
// first line that holds no date (a heading), become empty and are left out
// later. A price written with a decimal point and no comma gets a comma.
// Throws "'%s' n'est pas une date correcte" with the trimmed date field of
// the first other line without a date; the lines are then partly rewritten.
// Returns the number of headings left out (0 or 1).
int Reformate(QStringList &lines, Order order, const QDate &today);
// The same into new lines, the lines given unchanged; `headings` gets the
// number of headings left out.
QuoteLines reformated(const QuoteLines &lines, Order order, const QDate &today, int *headings);

// True when a normalised line passes the day filter: every line with
// `allDays`, otherwise a Friday (or a line whose date does not read).
bool Vendredi(const QString &line, bool allDays);

struct Selection {
    QuoteLines lines; // quotation lines to append, in file order
    int refused = 0;  // lines whose content cannot be imported
    // Why the other lines stay out.
    int before = 0;          // dated on or before the threshold
    int unknown = 0;         // of a code the index lacks
    int present = 0;         // already in the store, or earlier in the file
    int unreadable = 0;      // a price or volume that is no number, text the file cannot hold
    int firstUnreadable = 0; // line of the file (from 1) of the first of those; 0 when none
    int otherDays = 0;       // not a Friday, when only Fridays are taken
    QString after;           // the threshold the choice was made with
};

// Chooses, from normalised lines and in their order, the quotation lines to
// append: those that pass the day filter, are dated after `after`
// ("yyyymmdd"), are of a security of the index, have a number for a price
// (and for the volume when there is one), hold only text the quotation file
// can hold, and whose date and code are not yet in the store (nor earlier in
// the file). Lines of the last three kinds are counted as refused; the
// filtered ones are not.
Selection select(const QuoteLines &normalised, const QString &after, bool allDays,
                 const QuoteLines &store, const QStringList &index);

// The result of an import as the user reads it: "1 234 cotations importées ;
// refusées : 12 avant le 01/01/2008, 3 de codes inconnus, 112 déjà présentes,
// 1 illisible (ligne 57)", each kind of refusal named only when it occurs.
// `ahead`: said before the import ("1 234 cotations à importer ; ...").
QString summary(const Selection &s, bool ahead = false);
// A whole number with its thousands grouped by a no-break space (12 345).
QString grouped(qint64 n);

// A file whose first line names its columns: a date, a closing price, and
// perhaps a code, a name and a volume, in French or English, case and accents
// ignored; other columns are ignored.
struct Columns {
    QChar separator = QLatin1Char('\t'); // a tab, ";" or ","
    int date = -1;
    int code = -1;
    int name = -1;
    int price = -1;
    int volume = -1;
};
// The columns a heading line names; none when the line does not name both a
// date and a closing price.
std::optional<Columns> readHeading(const QString &line);
// The first line of the file that is not blank (its index), or -1.
qsizetype firstLine(const QuoteLines &lines);

// The fields of a line of a headed file; a field between double quotes may
// hold the separator ("" stands for one quote).
QStringList splitFields(const QString &line, QChar separator);

// Day and month in a date such as 03/04/2008: day first unless some date of
// the file has a number above 12 first and none has one second. `decided`
// is false when the file has such dates but none told, and day first was
// taken.
struct DayOrder {
    bool dayFirst = true;
    bool decided = false;
};
DayOrder dayOrder(const QuoteLines &lines, const Columns &columns);
// A date of a headed file: yyyy-mm-dd (also with "/" or "."), dd/mm/yyyy,
// dd.mm.yyyy, dd-mm-yyyy (month first when !dayFirst), yyyymmdd; a time after
// it is ignored. A year of two digits is read as readDate reads it.
bool readHeadedDate(QStringView text, bool dayFirst, const QDate &today, QDate *date);
// A number written with a decimal point or a decimal comma, thousands grouped
// or not, into the decimal-comma text the store holds ("1,234.50" and
// "1 234,50" give "1234,50"). False when the text is not a number.
bool decimalText(QStringView text, QString *out);

// The security of a file without a code column: code (six characters) and name.
struct Security {
    QString code;
    QString name;
};

// A headed file's lines normalised as Reformate does: the heading, blank lines
// and lines without a readable date become empty, the latter counted in
// `unreadable` with their line numbers. The code and name are the file's, or
// those of `security` when the file has no code column (a file with a code
// but no name column takes the name of the index).
// The date of the newest quotation of `code` in the store (the last line of
// that code); invalid when there is none.
QDate lastDateOf(const QuoteLines &store, const QString &code);

struct Headed {
    QuoteLines lines;
    QList<int> unreadable; // lines of the file, from 1
};
Headed reformateHeaded(const QuoteLines &lines, const Columns &columns, bool dayFirst,
                       const Security &security, const QStringList &index, const QDate &today);

} // namespace importing

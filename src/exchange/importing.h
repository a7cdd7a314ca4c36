#pragma once

#include "quotes/quotelines.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The import of quotation files, without windows: reading the file, the
// normalisation of its lines (Reformate), the Friday filter (Vendredi) and
// the choice of the lines that go to the store.
namespace importing
{

// The two orders of the fields in a file.
enum class Order { DateFirst, CodeFirst };

// The file's lines. A file that is valid UTF-8 and not plain ASCII (or that
// begins with a UTF-8 byte-order mark) is read as UTF-8, any other as
// Windows-1252. Throws "Ne peut ouvrir le fichier %s".
QStringList readFile(const QString &path);
QStringList decodeLines(const QByteArray &bytes);

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
bool readDate(const QString &text, const QDate &today, QDate *date);

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

// True when a normalised line passes the day filter: every line with
// `allDays`, otherwise a Friday (or a line whose date does not read).
bool Vendredi(const QString &line, bool allDays);

struct Selection {
    QStringList lines; // quotation lines to append, in file order
    int refused = 0;   // lines whose content cannot be imported
};

// Chooses, from normalised lines and in their order, the quotation lines to
// append: those that pass the day filter, are dated after `after`
// ("yyyymmdd"), are of a security of the index, have a number for a price
// (and for the volume when there is one), hold only text the quotation file
// can hold, and whose date and code are not yet in the store (nor earlier in
// the file). Lines of the last three kinds are counted as refused; the
// filtered ones are not.
Selection select(const QStringList &normalised, const QString &after, bool allDays,
                 const QuoteLines &store, const QStringList &index);

} // namespace importing

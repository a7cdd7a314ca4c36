#pragma once

#include <QByteArray>
#include <QChar>
#include <QStringList>

class QAbstractItemModel;

namespace exporting
{

// One line per row of a quotation list, in row order: the texts of its five
// columns as shown, separated by tabs, no tab at the end.
QStringList lines(const QAbstractItemModel &list);

// How an exported file is written. The default is the program's own file:
// tabs, Windows-1252, no heading line.
struct Options {
    QChar separator = QLatin1Char('\t');
    bool utf8 = false;
    bool heading = false;
    bool isDefault() const { return separator == QLatin1Char('\t') && !utf8 && !heading; }
};
// For a spreadsheet: semicolons, UTF-8, a heading line.
Options spreadsheet();

// The whole file for other options than the default: lines ended by CR LF,
// a heading "Date;Code;Nom;Cours;Volume" first when asked, a field holding
// the separator or a double quote written between double quotes, UTF-8
// after its byte-order mark (so that spreadsheets know it) or Windows-1252.
QByteArray bytes(const QAbstractItemModel &list, const Options &options);

} // namespace exporting

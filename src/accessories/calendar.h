#pragma once

#include <QDate>
#include <QString>

// The calendar's date arithmetic.
namespace calendar
{

// `months` months later (earlier when negative), the day kept but limited to
// the days of the new month.
QDate monthStep(const QDate &date, int months);
// "mmmmm  yyyy": the French month name in lower case, two blanks, the year.
QString heading(const QDate &date);

} // namespace calendar

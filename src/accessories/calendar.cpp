#include "accessories/calendar.h"

#include "base/formats.h"

#include <algorithm>

namespace calendar
{

QDate monthStep(const QDate &date, int months)
{
    const int index = date.year() * 12 + (date.month() - 1) + months;
    const int year = index / 12;
    const int month = index % 12 + 1;
    const int days = QDate(year, month, 1).daysInMonth();
    return QDate(year, month, std::min(date.day(), days));
}

QString heading(const QDate &date)
{
    return monthName(date.month()).toLower() + QStringLiteral("  ") +
           QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

} // namespace calendar

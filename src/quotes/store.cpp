#include "quotes/store.h"

#include "base/errors.h"
#include "base/formats.h"

#include <QSet>
#include <cmath>

namespace quote
{

QString nameOf(const QString &line)
{
    const qsizetype tab = line.indexOf(QLatin1Char('\t'), 16);
    return tab < 0 ? line.mid(16) : line.mid(16, tab - 16);
}

namespace
{
// Positions of the first four tabs; -1 where there is none.
void tabs(const QString &line, qsizetype pos[4])
{
    qsizetype from = 0;
    for (int i = 0; i < 4; ++i) {
        pos[i] = from < 0 ? -1 : line.indexOf(QLatin1Char('\t'), from);
        from = pos[i] < 0 ? -1 : pos[i] + 1;
    }
}
} // namespace

double priceOf(const QString &line)
{
    qsizetype t[4];
    tabs(line, t);
    if (t[2] < 0) return 0;
    const QString text = t[3] < 0 ? line.mid(t[2] + 1) : line.mid(t[2] + 1, t[3] - t[2] - 1);
    double v = 0;
    return tryReadDecimal(text, &v) ? v : 0;
}

void setPrice(QString &line, double value)
{
    qsizetype t[4];
    tabs(line, t);
    if (t[3] < 0) return;
    line = line.left(t[2] + 1) + formatPrice(value) + line.mid(t[3]);
}

QStringList fields(const QString &line)
{
    QString rest = line;
    QStringList out;
    out.reserve(5);
    for (int i = 0; i < 5; ++i)
        out.append(nextField(rest));
    return out;
}

} // namespace quote

void Settings::read(const QStringList &lines)
{
    auto integer = [&](int index, int &target) {
        if (index >= lines.size()) return;
        // The number at the start of the line, as a reader of integers takes it.
        const QString s = lines[index].trimmed();
        qsizetype n = 0;
        if (n < s.size() && (s[n] == QLatin1Char('-') || s[n] == QLatin1Char('+'))) ++n;
        while (n < s.size() && s[n].isDigit())
            ++n;
        qint64 v = 0;
        if (tryReadInteger(s.left(n), &v) && v >= INT_MIN && v <= INT_MAX) target = int(v);
    };
    if (!lines.isEmpty()) {
        bool ok = false;
        const double rate = lines[0].trimmed().toDouble(&ok);
        if (ok && std::isfinite(rate)) euroRate = rate;
    }
    if (lines.size() > 1) portfolioPath = lines[1];
    integer(2, maSwitch);
    integer(3, maLength);
    integer(4, rsiLength);
    integer(5, momentumLength);
    integer(6, zigzagPercent);
    integer(7, autoOpen);
    if (euroRate < 6 || euroRate > 10) euroRate = 6.55957;
}

QStringList Settings::lines() const
{
    return {formatIniReal(euroRate),        portfolioPath,
            QString::number(maSwitch),      QString::number(maLength),
            QString::number(rsiLength),     QString::number(momentumLength),
            QString::number(zigzagPercent), QString::number(autoOpen)};
}

QString formatIniReal(double value)
{
    // One digit, 14 decimals, exponent with sign and four digits.
    const QString e = QString::number(std::fabs(value), 'E', 14); // "6.55957000000000E+00"
    const qsizetype ep = e.indexOf(QLatin1Char('E'));
    const QString mantissa = e.left(ep);
    const int exponent = e.mid(ep + 1).toInt();
    return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + mantissa + QLatin1Char('E') +
           (exponent < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QStringLiteral("%1").arg(std::abs(exponent), 4, 10, QLatin1Char('0'));
}

QString monthEntry(const QDate &date)
{
    return monthName(date.month()) + QLatin1Char(' ') + QString::number(date.year());
}

QStringList monthEntries(const QDate &first, const QDate &last)
{
    QStringList out;
    if (!first.isValid() || !last.isValid()) return out;
    QDate m(first.year(), first.month(), 1);
    const QDate end(last.year(), last.month(), 1);
    while (m <= end) {
        out.append(monthEntry(m));
        m = m.addMonths(1);
    }
    return out;
}

QDate readMonthEntry(const QString &text)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    const QString yearText = blank < 0 ? QString() : text.mid(blank + 1, 4);
    qint64 year = 0;
    if (!tryReadInteger(yearText, &year)) throw VError::badInteger(yearText);
    const int month = monthNumber(text.left(blank));
    const QDate d(int(year), month, 1);
    if (!d.isValid()) throw VError::badDate(text);
    return d;
}

QStringList buildIndex(const QStringList &store)
{
    QStringList index;
    QSet<QString> codes;
    for (const QString &line : store) {
        const QString code = quote::codeOf(line);
        if (code.trimmed().isEmpty()) continue;
        // An entry "begins with" the code exactly when its code is that code,
        // except for a code shorter than six characters: then it is a prefix of
        // longer codes already met, so look for those too.
        if (codes.contains(code)) continue;
        if (code.size() < 6 && indexHasPrefix(index, code)) continue;
        codes.insert(code);
        index.append(code + quote::nameOf(line));
    }
    sortIndexByName(index);
    return index;
}

void sortIndexByName(QStringList &index)
{
    const qsizetype n = index.size();
    for (qsizetype i = 0; i + 1 < n; ++i)
        for (qsizetype j = i + 1; j < n; ++j)
            if (QStringView(index[i]).mid(6).compare(QStringView(index[j]).mid(6)) > 0)
                index.swapItemsAt(i, j);
}

bool indexHasPrefix(const QStringList &index, const QString &text)
{
    for (const QString &entry : index)
        if (entry.startsWith(text)) return true;
    return false;
}

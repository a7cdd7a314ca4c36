#include "base/formats.h"

#include "base/errors.h"

#include <QLocale>
#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

double roundHalfEven(double value)
{
    return std::nearbyint(value); // the default rounding mode is to nearest, ties to even
}

qint64 roundToInt(double value)
{
    // Beyond the range of the type (a price of a file with twenty digits) the
    // nearest whole number the type holds, the same both ways so that it can
    // be negated; nothing for what is not a number.
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    const double r = roundHalfEven(value);
    if (std::isnan(r)) return 0;
    if (r >= 9223372036854775808.0) return largest;
    if (r <= -9223372036854775808.0) return -largest;
    return std::max(qint64(r), -largest);
}

namespace
{

// Rounds to `decimals` places, halves away from zero, on the decimal value
// the number was meant to be: 2.675 counts as written, not as the binary
// 2.67499999... it is stored as.
struct Rounded {
    double scale;
    double rounded; // the absolute value times the scale, rounded
    bool minus;
};
Rounded roundFixed(double value, int decimals)
{
    if (!std::isfinite(value)) value = 0;
    static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    const double scale =
        decimals >= 0 && decimals <= 6 ? kPowers[decimals] : std::pow(10.0, decimals);
    const double a = std::fabs(value) * scale;
    const double whole = std::floor(a);
    // A few units of the last place of `a`, never near a half: beyond 10^14
    // those units grow past a half and a number already rounded would gain
    // one more hundredth at each formatting.
    const double slack = std::min(a * 8 * std::numeric_limits<double>::epsilon(), 0.25);
    const double rounded = (a - whole >= 0.5 - slack) ? whole + 1 : whole;
    return {scale, rounded, value < 0 && rounded != 0};
}

// The text of the common values (below 1e12, 1 to 6 decimals) as Latin-1
// bytes ending at `end`: the digits of the rounded whole number, a comma
// before the last `decimals` of them, without allocation. Returns where the
// text begins, or null for the other values.
const char *fixedBytes(const Rounded &r, int decimals, char *end)
{
    if (!(r.rounded < 1e12 && decimals > 0 && decimals <= 6)) return nullptr;
    char *b = end;
    auto n = quint64(r.rounded);
    for (int i = 0; i < decimals; ++i, n /= 10)
        *--b = char('0' + n % 10);
    *--b = ',';
    do {
        *--b = char('0' + n % 10);
        n /= 10;
    } while (n);
    if (r.minus) *--b = '-';
    return b;
}

QString fixed(double value, int decimals)
{
    const Rounded r = roundFixed(value, decimals);
    char buffer[32];
    char *e = buffer + sizeof buffer;
    if (const char *b = fixedBytes(r, decimals, e)) return QString::fromLatin1(b, e - b);
    QString out = QString::number(r.rounded / r.scale, 'f', decimals);
    if (r.minus) out.prepend(QLatin1Char('-'));
    out.replace(QLatin1Char('.'), QLatin1Char(','));
    return out;
}

} // namespace

QString formatPrice(double value)
{
    return fixed(value, 2);
}

const char *priceBytes(double value, char *end)
{
    return fixedBytes(roundFixed(value, 2), 2, end);
}

QString formatAmount(double value)
{
    QString s = fixed(value, 2);
    if (s.startsWith(QLatin1String("0,")))
        s.remove(0, 1);
    else if (s.startsWith(QLatin1String("-0,")))
        s.remove(1, 1);
    return s;
}

QString formatUpTo(double value, int decimals)
{
    QString s = fixed(value, decimals);
    if (s.contains(QLatin1Char(','))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char(','))) s.chop(1);
    }
    if (s.startsWith(QLatin1String("0,")))
        s.remove(0, 1);
    else if (s.startsWith(QLatin1String("-0,")))
        s.remove(1, 1);
    if (s == QLatin1String("0") || s == QLatin1String("-0")) return QStringLiteral("0");
    return s;
}

QString formatGeneral(double value)
{
    if (value == 0) return QStringLiteral("0");
    QString s = QString::number(value, 'g', 15);
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    s.replace(QLatin1String("e+"), QLatin1String("E+"));
    s.replace(QLatin1String("e-"), QLatin1String("E-"));
    return s;
}

namespace
{

// The common forms "-12345,67", "12,5", ",50" with at most 15 digits, read
// without allocating: the digits make an exact integer and one division by
// an exact power of ten rounds as a full reader does. False for any other
// form, which the full reader then takes.
bool readPlainDecimal(QStringView text, double *value)
{
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const QChar *p = text.begin();
    const QChar *end = text.end();
    const bool negative = p < end && *p == QLatin1Char('-');
    if (negative) ++p;
    quint64 digits = 0;
    int count = 0, decimals = 0;
    bool separator = false;
    for (; p < end; ++p) {
        const char16_t c = p->unicode();
        if (c >= u'0' && c <= u'9') {
            if (++count > 15) return false;
            digits = digits * 10 + (c - u'0');
            if (separator) ++decimals;
        } else if ((c == u',' || c == u'.') && !separator) {
            separator = true;
        } else {
            return false;
        }
    }
    if (count == 0 || (separator && decimals == 0)) return false;
    const double v = double(digits) / kPowers[decimals];
    *value = negative ? -v : v;
    return true;
}

} // namespace

bool tryReadDecimal(QStringView text, double *value)
{
    if (readPlainDecimal(text, value)) return true;
    return tryReadDecimal(text.toString(), value);
}

bool tryReadDecimal(const QString &text, double *value)
{
    if (readPlainDecimal(text, value)) return true;
    QString t = text.trimmed();
    if (t.isEmpty()) return false;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    // Only digits, one point, a leading sign and an exponent are numbers.
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

double readDecimal(const QString &text)
{
    double v = 0;
    if (!tryReadDecimal(text, &v)) throw VError::badFloat(text);
    return v;
}

bool tryReadInteger(const QString &text, qint64 *value)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok, 10);
    if (!ok) return false;
    *value = v;
    return true;
}

int readInteger(const QString &text)
{
    qint64 v = 0;
    if (!tryReadInteger(text, &v) || v < INT_MIN || v > INT_MAX) throw VError::badInteger(text);
    return int(v);
}

QString storedToShown(const QString &stored)
{
    return stored.mid(6, 2) + QLatin1Char('/') + stored.mid(4, 2) + QLatin1Char('/') +
           stored.left(4);
}

QString shownToStored(const QString &shown)
{
    return shown.mid(6, 4) + shown.mid(3, 2) + shown.left(2);
}

QString toStored(const QDate &date)
{
    return QStringLiteral("%1%2%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString toShown(const QDate &date)
{
    return QStringLiteral("%1/%2/%3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

bool tryReadShownDate(const QString &text, QDate *date)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('/'));
    if (parts.size() != 3) return false;
    int n[3];
    for (int i = 0; i < 3; ++i) {
        const QString p = parts[i].trimmed();
        if (p.isEmpty() || p.size() > 4) return false;
        for (QChar c : p)
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
        n[i] = p.toInt();
    }
    int year = n[2];
    if (parts[2].trimmed().size() <= 2) year += (QDate::currentDate().year() / 100) * 100;
    const QDate d(year, n[1], n[0]);
    if (!d.isValid() || year < 1) return false;
    *date = d;
    return true;
}

QDate readShownDate(const QString &text)
{
    QDate d;
    if (!tryReadShownDate(text, &d)) throw VError::badDate(text);
    return d;
}

QDate storedToDate(const QString &stored)
{
    if (stored.size() < 8) return {};
    bool oky = false, okm = false, okd = false;
    const int y = stored.left(4).toInt(&oky);
    const int m = stored.mid(4, 2).toInt(&okm);
    const int d = stored.mid(6, 2).toInt(&okd);
    if (!oky || !okm || !okd) return {};
    return QDate(y, m, d);
}

QString nextField(QString &rest, int limit)
{
    const qsizetype tab = rest.indexOf(QLatin1Char('\t'));
    if (tab < 0) {
        QString field = rest;
        rest.clear();
        return field;
    }
    QString field = rest.left(tab);
    rest = rest.mid(tab + 1, limit);
    return field;
}

QString normaliseCode(const QString &code)
{
    QString s;
    appendNormalisedCode(s, code);
    return s;
}

void appendNormalisedCode(QString &out, QStringView code)
{
    // "00" + code, its last six characters.
    out += QLatin1String("00", std::clamp<qsizetype>(6 - code.size(), 0, 2));
    out += code.right(6);
}

QString upperAscii(const QString &text)
{
    QString s = text;
    for (QChar &c : s)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 32);
    return s;
}

namespace
{
const char16_t *const kMonths[12] = {u"Janvier",   u"Février", u"Mars",     u"Avril",
                                     u"Mai",       u"Juin",    u"Juillet",  u"Août",
                                     u"Septembre", u"Octobre", u"Novembre", u"Décembre"};
}

QString monthName(int month)
{
    if (month < 1 || month > 12) return {};
    return QString::fromUtf16(kMonths[month - 1]);
}

int monthNumber(const QString &name)
{
    for (int i = 0; i < 12; ++i)
        if (name == QString::fromUtf16(kMonths[i])) return i + 1;
    return 0;
}

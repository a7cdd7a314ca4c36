#include "accessories/pocket.h"

#include "base/errors.h"
#include "base/formats.h"

#include <cmath>

namespace
{

const QString kDivisionByZero = QStringLiteral("Division flottante par zéro");
const QString kInvalid = QStringLiteral("Opération flottante incorrecte");
const QString kOverflow = QStringLiteral("Débordement flottant");

// The largest and smallest magnitudes of the stored reals (an 8-bit binary
// exponent beside the 40-bit mantissa).
constexpr double kLargest = 1.7e38;
constexpr double kSmallest = 2.9e-39;

} // namespace

PocketCalc &PocketCalc::shared()
{
    static PocketCalc calc;
    return calc;
}

void PocketCalc::reset()
{
    m_display.clear();
    m_accumulator = 0;
    m_operand = 0;
    m_pending = QChar();
    m_loaded = false;
}

bool PocketCalc::isKey(QChar key)
{
    return (key >= QLatin1Char('0') && key <= QLatin1Char('9')) ||
           QStringLiteral(",.+-*/=CcSsXx").contains(key);
}

bool PocketCalc::toStored(double value, double *stored)
{
    if (!std::isfinite(value) || std::fabs(value) > kLargest) return false;
    if (std::fabs(value) < kSmallest) {
        *stored = 0;
        return true;
    }
    int exponent = 0;
    const double mantissa = std::frexp(value, &exponent); // 0.5 <= |m| < 1
    *stored = std::ldexp(std::nearbyint(std::ldexp(mantissa, 40)), exponent - 40);
    return true;
}

namespace
{

// The general format with at most `digits` significant digits.
QString generalDigits(double value, int digits)
{
    if (value == 0) return QStringLiteral("0");
    QString s = QString::number(value, 'g', digits);
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    const qsizetype e = s.indexOf(QLatin1Char('e'));
    if (e < 0) return s;
    QString exponent = s.mid(e + 1);
    const bool negative = exponent.startsWith(QLatin1Char('-'));
    if (negative || exponent.startsWith(QLatin1Char('+'))) exponent.remove(0, 1);
    while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0')))
        exponent.remove(0, 1);
    return s.left(e) + (negative ? QStringLiteral("E-") : QStringLiteral("E")) + exponent;
}

} // namespace

QString PocketCalc::general(double value)
{
    return generalDigits(value, 15);
}

QString PocketCalc::shown(double value)
{
    return generalDigits(value, kDigits);
}

QString PocketCalc::fitDisplay(double value)
{
    const QString text = shown(value);
    if (!text.contains(QLatin1Char(',')) || text.size() <= 15) return text;
    if (!text.contains(QLatin1Char('E'))) return text.left(15);
    // Fewer significant digits until the whole text fits, exponent included.
    for (int digits = kDigits - 1; digits > 1; --digits) {
        const QString t = generalDigits(value, digits);
        if (t.size() <= 15) return t;
    }
    return generalDigits(value, 1);
}

void PocketCalc::digit(QChar d)
{
    if (m_newEntry) m_display.clear();
    m_display.append(d);
    m_newEntry = false;
}

void PocketCalc::comma()
{
    // After a result the comma starts a new number: ",5" is 0,5.
    if (m_newEntry) {
        m_display = QStringLiteral("0");
        m_newEntry = false;
    }
    m_display.append(QLatin1Char(','));
}

QString PocketCalc::equals()
{
    double value = 0;
    if (!m_loaded) {
        double stored = 0;
        if (!tryReadDecimal(m_display, &value) || !toStored(value, &stored)) {
            m_display.clear();
            return {};
        }
        m_accumulator = stored;
        m_loaded = true;
        m_newEntry = true;
        return {};
    }
    if (!tryReadDecimal(m_display, &value)) return VError::badFloat(m_display).message();
    double operand = 0;
    if (!toStored(value, &operand)) return kOverflow;
    double result = m_accumulator;
    if (m_pending == QLatin1Char('+'))
        result = m_accumulator + operand;
    else if (m_pending == QLatin1Char('-'))
        result = m_accumulator - operand;
    else if (m_pending == QLatin1Char('*'))
        result = m_accumulator * operand;
    else if (m_pending == QLatin1Char('/')) {
        if (operand == 0) return kDivisionByZero;
        result = m_accumulator / operand;
    }
    double stored = 0;
    if (!toStored(result, &stored)) return kOverflow;
    m_operand = operand;
    m_accumulator = stored;
    // Shown through a thousandfold and back, in extended precision.
    const long double shown = static_cast<long double>(m_accumulator) * 1000.0L * 0.001L;
    m_display = fitDisplay(static_cast<double>(shown));
    m_newEntry = true;
    return {};
}

QString PocketCalc::unary(bool reciprocal)
{
    double value = 0;
    if (!tryReadDecimal(m_display, &value)) {
        if (m_loaded) return VError::badFloat(m_display).message();
        m_display.clear();
        return {};
    }
    double operand = 0;
    if (!toStored(value, &operand)) return kOverflow;
    double result = 0;
    if (reciprocal) {
        if (operand == 0) return kDivisionByZero;
        result = 1 / operand;
    } else {
        if (operand < 0) return kInvalid;
        result = std::sqrt(operand);
    }
    double stored = 0;
    if (!toStored(result, &stored)) return kOverflow;
    m_operand = operand;
    m_accumulator = stored;
    m_display = shown(stored);
    m_loaded = true;
    m_newEntry = true;
    return {};
}

QString PocketCalc::press(QChar key)
{
    if (key >= QLatin1Char('0') && key <= QLatin1Char('9')) {
        digit(key);
        return {};
    }
    switch (key.toLatin1()) {
    case ',':
    case '.':
        comma();
        return {};
    case '=':
        return equals();
    case '+':
    case '-':
    case '*':
    case '/': {
        const QString error = equals();
        if (error.isEmpty()) m_pending = key;
        return error;
    }
    case 'C':
    case 'c':
        reset();
        return {};
    case 'S':
    case 's':
        return unary(false);
    case 'X':
    case 'x':
        return unary(true);
    default:
        return {};
    }
}

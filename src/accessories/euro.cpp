#include "accessories/euro.h"

#include "accessories/pocket.h"
#include "base/formats.h"

QString EuroConverter::rateText() const
{
    return PocketCalc::general(m_rate * 0.00001);
}

void EuroConverter::rateUp()
{
    ++m_rate;
}

void EuroConverter::rateDown()
{
    if (m_rate > 1) --m_rate;
}

void EuroConverter::clearShown()
{
    if (!m_resultShown) return;
    m_input.clear();
    m_result.clear();
    m_resultShown = false;
}

bool EuroConverter::type(QChar c)
{
    if (c == QLatin1Char('.')) c = QLatin1Char(',');
    if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char(',')) return false;
    clearShown();
    m_input.append(c);
    return true;
}

void EuroConverter::otherKey()
{
    clearShown();
}

QString EuroConverter::toEuros(double francs, int rate)
{
    const double euros = francs * 100000 / rate;
    return PocketCalc::shown(roundHalfEven(euros * 100) * 0.01);
}

QString EuroConverter::toFrancs(double euros, int rate)
{
    // A tenth of the amount in francs, rounded to tenths of a franc.
    const double x = euros * rate * 0.000001;
    return PocketCalc::shown(roundHalfEven(x * 100) * 0.1);
}

void EuroConverter::convert()
{
    m_resultShown = true;
    double v = 0;
    if (!tryReadDecimal(m_input, &v)) {
        m_input.clear();
        m_result.clear();
        return;
    }
    m_result = m_direction == FrancsToEuros ? toEuros(v, m_rate) : toFrancs(v, m_rate);
}

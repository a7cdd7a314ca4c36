#include "charts/chartview.h"

#include "charts/chartdraw.h"

#include <algorithm>
#include <cmath>

ShownRange wholeRange(int total)
{
    return {0, total - 1};
}

ShownRange zoomed(ShownRange range, int total, int anchor, double factor)
{
    if (total <= 0) return wholeRange(total);
    range.first = std::clamp(range.first, 0, total - 1);
    range.last = std::clamp(range.last, range.first, total - 1);
    const int n = range.count();
    int m = std::isfinite(factor) ? int(std::lround(n * std::clamp(factor, 0.0, 2.0 * total))) : n;
    if (factor < 1 && m >= n) m = n - 1;
    if (factor > 1 && m <= n) m = n + 1;
    m = std::clamp(m, std::min(kLeastShown, total), total);
    // The anchor keeps its place across the chart.
    anchor = std::clamp(anchor, range.first, range.last);
    const double at = n > 1 ? double(anchor - range.first) / (n - 1) : 0.5;
    const int first = std::clamp(int(std::lround(anchor - at * (m - 1))), 0, total - m);
    return {first, first + m - 1};
}

ShownRange panned(ShownRange range, int total, int points)
{
    if (total <= 0) return wholeRange(total);
    const int n = std::clamp(range.count(), 1, total);
    const int first = int(std::clamp(qint64(range.first) + points, qint64(0), qint64(total - n)));
    return {first, first + n - 1};
}

int pointsDragged(int dx, const Spread &spread)
{
    if (spread.count < 2 || spread.right <= spread.left) return 0;
    return -int(std::lround(double(dx) * (spread.count - 1) / (spread.right - spread.left)));
}

int pointAt(int x, const Spread &spread)
{
    if (spread.count < 1) return -1;
    if (spread.count < 2 || spread.right <= spread.left) return 0;
    const double k = double(x - spread.left) * (spread.count - 1) / (spread.right - spread.left);
    return int(std::clamp(std::lround(k), 0L, long(spread.count - 1)));
}

PriceScale priceScale(double lowest, double highest, bool log)
{
    return {lowest, highest, log && lowest > 0 && highest > lowest};
}

double PriceScale::fraction(double price) const
{
    const double span = highest - lowest;
    if (!(span > 0)) return 0;
    if (log) return price > 0 ? std::log(price / lowest) / std::log(highest / lowest) : 0;
    return (price - lowest) / span;
}

double PriceScale::priceAt(double fraction) const
{
    if (log) return lowest * std::pow(highest / lowest, fraction);
    return lowest + fraction * (highest - lowest);
}

QString presetCaption(Preset preset)
{
    switch (preset) {
    case Preset::OneMonth:
        return QStringLiteral("1 mois");
    case Preset::SixMonths:
        return QStringLiteral("6 mois");
    case Preset::OneYear:
        return QStringLiteral("1 an");
    case Preset::FiveYears:
        return QStringLiteral("5 ans");
    case Preset::All:
        break;
    }
    return QStringLiteral("Tout");
}

QDate presetStart(Preset preset, const QDate &last)
{
    if (!last.isValid()) return {};
    switch (preset) {
    case Preset::OneMonth:
        return last.addMonths(-1).addDays(1);
    case Preset::SixMonths:
        return last.addMonths(-6).addDays(1);
    case Preset::OneYear:
        return last.addYears(-1).addDays(1);
    case Preset::FiveYears:
        return last.addYears(-5).addDays(1);
    case Preset::All:
        break;
    }
    return {};
}

#include "charts/printedcharts.h"

#include <algorithm>
#include <cmath>

namespace
{

// Pens on paper, in millimetres.
constexpr double kAxisPen = 0.5;
constexpr double kCurvePen = 0.35;
constexpr double kGridPen = 0.2;
constexpr double kBarPen = 0.4;

// A horizontal position of the chart, in millimetres, on the page.
int across(const PageMap &map, double mm)
{
    return map.Mh(mm * chartFit(map));
}

// The points of a curve between the two ends of the axes.
Spread spreadOn(const PageMap &map, int count)
{
    return {across(map, 15), across(map, 200), count};
}

// A level of the value axis: `part` (0 to 1) of the way from the axis at
// 100 mm to the top line at 20 mm.
int level(const PageMap &map, double part)
{
    if (!std::isfinite(part)) part = 0;
    return map.Mv(100 - std::clamp(part, -10.0, 10.0) * 80);
}

} // namespace

double chartFit(const PageMap &map)
{
    if (map.widthMm() <= 0) return 1;
    return std::clamp((map.widthMm() - 20) / 200.0, 0.2, 1.0);
}

void Trace2(DrawSteps &s, const PageMap &map, const QString &title, const QStringList &dates,
            const ValueLabels &labels, const QString &volumeLabel)
{
    const int left = across(map, 15), right = across(map, 200);
    s.font(printFont(), 12, true, true);
    s.text(across(map, 20), map.Mv(0), title);
    s.font(printFont(), 10, true, false);
    s.pen(Qt::black, map.pen(kAxisPen));
    const bool volumes = !volumeLabel.isEmpty();
    if (volumes) {
        s.line(left, map.Mv(150), right, map.Mv(150));
        s.line(left, map.Mv(150), left, map.Mv(110));
    }
    s.line(left, map.Mv(100), right, map.Mv(100));
    s.line(left, map.Mv(100), left, map.Mv(20));
    s.pen(Qt::black, 1);
    const int n = int(dates.size());
    if (n == 0) return; // the axes alone
    // Each date under its point; the last one ends at the end of the axis.
    const Spread at = spreadOn(map, n);
    const int top = map.Mv(102);
    s.text(left, top, dates[0]);
    s.textEnd(right, top, dates[n - 1]);
    s.text(at.x((n - 1) / 2), top, dates[(n - 1) / 2]);
    s.text(at.x((n - 1) / 4), top, dates[(n - 1) / 4]);
    s.text(at.x((3 * n - 3) / 4), top, dates[(3 * n - 3) / 4]);
    s.text(map.Mh(0), map.Mv(97), labels.bottom);
    s.text(map.Mh(0), map.Mv(20), labels.top);
    if (volumes) s.text(map.Mh(0), map.Mv(105), volumeLabel);
    s.pen(Qt::black, map.pen(kGridPen), true);
    s.line(left, map.Mv(20), right, map.Mv(20));
    s.text(map.Mh(0), map.Mv(60), labels.middle);
    s.line(left, map.Mv(60), right, map.Mv(60));
    s.text(map.Mh(0), map.Mv(40), labels.upperQuarter);
    s.line(left, map.Mv(40), right, map.Mv(40));
    s.text(map.Mh(0), map.Mv(80), labels.lowerQuarter);
    s.line(left, map.Mv(80), right, map.Mv(80));
    s.pen(Qt::black, 1);
}

DrawSteps printedPriceChart(const PageMap &map, const QString &name, const History &history,
                            int maSwitch, int &maLength)
{
    DrawSteps s;
    if (maLength < 2) maLength = 8;
    const PriceSeries p = priceSeries(history);
    const int n = p.size();
    const ValueLabels labels = n > 0 ? priceLabels(p.lowest, p.highest, p.decimals) : ValueLabels{};
    QString title = QStringLiteral("Graphique de ") + name;
    if (n > 0) title += QLatin1Char(' ') + history.periodText();
    Trace2(s, map, title, p.dates, labels, volumeLabel(p.largestVolume));
    s.font(printFont(), 10, true, false);
    if (n == 0) {
        s.text(across(map, 25), map.Mv(55), history.emptyText());
        return s;
    }
    const double span = p.highest - p.lowest;
    if (!(span > 0) || n < 2) return s;
    const Spread at = spreadOn(map, n);
    auto x = [&](int k) { return at.x(k); };
    auto y = [&](double v) { return level(map, (v - p.lowest) / span); };
    s.pen(Qt::blue, map.pen(kCurvePen));
    drawCurve(s, 0, n, x, [&](int k) { return y(p.prices[k]); });
    const int l = maLength;
    const QList<double> m = movingAverage(p.prices, l);
    if (maSwitch == 1 && l < n) {
        s.pen(averageColour(), map.pen(kCurvePen));
        drawCurve(s, l, n, x, [&](int k) { return y(m[k]); });
    }
    if (p.largestVolume > 0) {
        // Bars no wider than the room between two points.
        const int room = std::max(1, (at.right - at.left) / std::max(1, n - 1));
        s.pen(Qt::black, std::min(map.pen(kBarPen), room));
        for (int k = 0; k < n;) {
            const int cx = x(k);
            double v = p.volumes[k];
            while (k + 1 < n && x(k + 1) == cx)
                v = std::max(v, p.volumes[++k]);
            if (v > 0) s.line(cx, map.Mv(150), cx, map.Mv(150 - v * 40 / p.largestVolume));
            ++k;
        }
    }
    return s;
}

DrawSteps printedIndicator(const PageMap &map, const Indicator &ind)
{
    DrawSteps s;
    const int n = ind.size();
    QString title = ind.title;
    if (!ind.period.isEmpty()) title += QLatin1Char(' ') + ind.period;
    Trace2(s, map, title, ind.dates, indicatorLabels(ind), QString());
    s.font(printFont(), 10, true, false);
    if (n == 0) return s;
    const Spread at = spreadOn(map, n);
    auto x = [&](int i) { return at.x(i); };
    switch (ind.kind) {
    case Indicator::Rsi:
        s.pen(referenceColour(), map.pen(kGridPen));
        for (int reference : {kRsiHigh, kRsiLow}) {
            const int y = level(map, reference / 100.0);
            s.line(at.left, y, at.right, y);
            s.text(across(map, 202), map.Mv(98 - reference * 0.8), QString::number(reference));
        }
        s.pen(Qt::blue, map.pen(kCurvePen));
        drawCurve(s, ind.first, n, x, [&](int i) { return level(map, ind.values[i] / 100); });
        break;
    case Indicator::Moment: {
        // The scale of the labels: 0 on the middle line.
        const double m = largestMove(ind);
        s.pen(Qt::gray, map.pen(kGridPen));
        s.line(at.left, level(map, 0.5), at.right, level(map, 0.5));
        s.pen(Qt::blue, map.pen(kCurvePen));
        drawCurve(s, 0, n, x,
                  [&](int i) { return level(map, m > 0 ? 0.5 + ind.values[i] / (2 * m) : 0.5); });
        break;
    }
    case Indicator::Zigzag: {
        s.pen(Qt::blue, map.pen(kCurvePen));
        const auto [lo, hi] = std::minmax_element(ind.values.begin(), ind.values.end());
        const double lowest = *lo, span = *hi - *lo;
        auto y = [&](int i) { return level(map, span > 0 ? (ind.values[i] - lowest) / span : 0); };
        const QList<int> kept = zigzagPoints(ind.values, ind.percent);
        s.moveTo(x(0), y(0));
        for (int i : kept)
            if (i > 0) s.lineTo(x(i), y(i));
        if (kept.size() == 1) s.lineTo(x(0), y(0));
        break;
    }
    }
    return s;
}

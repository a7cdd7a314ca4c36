#include "charts/chartdraw.h"

#include <algorithm>
#include <cmath>

namespace
{

// A position on the surface from one computed in floating point: rounded,
// and kept within +-2^24 pixels (far off any surface).
int pixel(double v)
{
    constexpr double far = double(1 << 24);
    if (std::isnan(v)) return 0;
    return int(std::lround(std::clamp(v, -far, far)));
}

// A value label at the left of the vertical axis: from x = 10, or ending
// 4 pixels before the axis when it is too wide to start there.
void valueLabel(DrawSteps &s, int top, const QString &text, const TextMeasure &measure)
{
    if (measure.width && measure.width(text) > 46)
        s.textEnd(56, top, text);
    else
        s.text(10, top, text);
}

} // namespace

QString frenchNumber(double value, int decimals)
{
    if (!std::isfinite(value)) return QStringLiteral("0");
    QString s = QString::number(std::abs(value), 'f', decimals);
    const qsizetype dot = s.indexOf(QLatin1Char('.'));
    if (dot >= 0) s[dot] = QLatin1Char(',');
    for (qsizetype at = (dot >= 0 ? dot : s.size()) - 3; at > 0; at -= 3)
        s.insert(at, QChar(0x00A0));
    const bool zero =
        s.count(QLatin1Char('0')) + s.count(QLatin1Char(',')) + s.count(QChar(0x00A0)) == s.size();
    if (value < 0 && !zero) s.prepend(QLatin1Char('-'));
    return s;
}

QString volumeLabel(double volume)
{
    static const char16_t *const units[] = {u"", u" K", u" M", u" Md"};
    int unit = 0;
    double v = volume;
    while (std::abs(v) >= 999.5 && unit < 3) {
        v /= 1000;
        ++unit;
    }
    // One decimal below 100 of a unit when it says something.
    const bool tenth = unit > 0 && std::abs(v) < 99.95 && std::lround(v * 10) % 10 != 0;
    return frenchNumber(v, tenth ? 1 : 0) + QString::fromUtf16(units[unit]);
}

ValueLabels priceLabels(double lowest, double highest, int decimals)
{
    const double span = highest - lowest;
    // A level between two prices may take decimals the prices have not, up
    // to two, so that its label names it (17,5 between 10 and 20).
    const int most = std::max(decimals, 2);
    const auto at = [&](double part) {
        const double v = lowest + part;
        int d = decimals;
        while (d < most &&
               std::abs(v * std::pow(10.0, d) - std::round(v * std::pow(10.0, d))) > 1e-6)
            ++d;
        return frenchNumber(v, d);
    };
    return {at(0), frenchNumber(highest, decimals), at(span / 2), at(3 * span / 4), at(span / 4)};
}

int Spread::x(int k) const
{
    if (count < 2) return left;
    return left + int(std::lround(double(k) * (right - left) / (count - 1)));
}

void traceFrame(DrawSteps &steps, QSize size, int baseline, const QStringList &dates,
                const ValueLabels &labels, const QString &volumeLabel, const TextMeasure &measure)
{
    const int w = size.width();
    const int h = size.height();
    const int b = baseline;
    const int r = w - 40;
    const bool volumes = !volumeLabel.isEmpty();
    steps.pen(Qt::black, 2);
    steps.line(60, b, r, b);
    steps.line(60, b, 60, 40);
    if (volumes) {
        steps.line(60, h - 30, r, h - 30);
        steps.line(60, h - 30, 60, h - 110);
    }
    steps.pen(Qt::black, 1);
    const int n = int(dates.size());
    if (n == 0) return; // nothing to label: the axes alone
    // The dates under their labels: each label starts at its date's point,
    // the last one ends at the last point.
    const Spread at{60, r, n};
    steps.text(60, b + 5, dates[0]);
    steps.textEnd(r, b + 5, dates[n - 1]);
    const QString middle = dates[(n - 1) / 2];
    steps.text(at.x((n - 1) / 2), b + 5, middle);
    QString last = middle;
    if (7 * measure.width(middle) < w) {
        steps.text(at.x((n - 1) / 4), b + 5, dates[(n - 1) / 4]);
        last = dates[(3 * n - 3) / 4];
        steps.text(at.x((3 * n - 3) / 4), b + 5, last);
    }
    valueLabel(steps, b - 15, labels.bottom, measure);
    valueLabel(steps, 40, labels.top, measure);
    if (volumes) valueLabel(steps, b + 30, volumeLabel, measure);
    steps.pen(Qt::black, 1, true);
    steps.line(60, 50, r, 50);
    valueLabel(steps, b / 2 + 5, labels.middle, measure);
    steps.line(60, b / 2 + 15, r, b / 2 + 15);
    if (7 * measure.height(last) < h) {
        valueLabel(steps, b / 4 + 25, labels.upperQuarter, measure);
        steps.line(60, b / 4 + 35, r, b / 4 + 35);
        valueLabel(steps, 3 * b / 4 - 10, labels.lowerQuarter, measure);
        steps.line(60, 3 * b / 4, r, 3 * b / 4);
    }
    steps.pen(Qt::black, 1);
}

void drawCurve(DrawSteps &steps, int from, int count, const std::function<int(int)> &x,
               const std::function<int(int)> &y)
{
    if (from >= count) return;
    steps.moveTo(x(from), y(from));
    for (int k = from; k < count;) {
        const int cx = x(k);
        const int y0 = y(k);
        int lo = y0, hi = y0, yl = y0;
        int j = k;
        while (j + 1 < count && x(j + 1) == cx) {
            ++j;
            yl = y(j);
            lo = std::min(lo, yl);
            hi = std::max(hi, yl);
        }
        steps.lineTo(cx, y0);
        if (lo != hi) steps.line(cx, lo, cx, hi);
        steps.moveTo(cx, yl);
        k = j + 1;
    }
}

QString ChartDrawing::tipAt(int x) const
{
    if (points.isEmpty()) return {};
    // The points are in increasing x: the nearest by a binary search.
    auto it = std::lower_bound(points.begin(), points.end(), x,
                               [](const HoverPoint &p, int v) { return p.x < v; });
    const HoverPoint *best = nullptr;
    if (it != points.end()) best = &*it;
    if (it != points.begin() && (!best || std::abs((it - 1)->x - x) <= std::abs(best->x - x)))
        best = &*(it - 1);
    int half = 4;
    if (points.size() > 1) half = std::max(half, (points[1].x - points[0].x) / 2);
    return std::abs(best->x - x) <= half ? best->tip : QString();
}

QString chartFontFamily()
{
    return QStringLiteral("MS Sans Serif");
}

ChartDrawing priceChart(QSize size, const History &history, int maSwitch, int &maLength,
                        const TextMeasure &measure)
{
    ChartDrawing out;
    DrawSteps &s = out.steps;
    const int w = size.width();
    const int h = size.height();
    s.clear(w, h);
    s.font(chartFontFamily(), kChartFontPixels, false);
    if (maLength < 2) maLength = 8;
    const PriceSeries p = priceSeries(history);
    const int n = p.size();
    const int b = h - 140;
    const int r = w - 40;
    const ValueLabels labels = n > 0 ? priceLabels(p.lowest, p.highest, p.decimals) : ValueLabels{};
    traceFrame(s, size, b, p.dates, labels, volumeLabel(p.largestVolume), measure);
    if (n == 0) {
        s.text(70, (40 + b) / 2 - 6, history.emptyText());
        return out;
    }
    s.text(60, 15, history.periodText());
    const double span = p.highest - p.lowest;
    if (!(span > 0) || n < 2) return out;

    const double height = h - 180;
    auto y = [&](double v) { return pixel(b - (v - p.lowest) * height / span); };
    const Spread at{60, r, n};
    auto x = [&](int k) { return at.x(k); };
    s.pen(Qt::blue, 2);
    drawCurve(s, 0, n, x, [&](int k) { return y(p.prices[k]); });
    const int l = maLength;
    const QList<double> m = movingAverage(p.prices, l);
    if (maSwitch == 1 && l < n) {
        s.pen(averageColour(), 2);
        drawCurve(s, l, n, x, [&](int k) { return y(m[k]); });
    }
    // One bar under each pixel column of points: the largest of its volumes.
    if (p.largestVolume > 0) {
        s.pen(Qt::black, 3);
        for (int k = 0; k < n;) {
            const int cx = x(k);
            double v = p.volumes[k];
            while (k + 1 < n && x(k + 1) == cx)
                v = std::max(v, p.volumes[++k]);
            if (v > 0) s.line(cx, h - 32, cx, pixel(h - 32 - v * 80 / p.largestVolume));
            ++k;
        }
    }
    // One tip a pixel column: its last point.
    for (int k = 0; k < n; ++k) {
        if (k + 1 < n && x(k + 1) == x(k)) continue;
        QString tip = p.dates[k] + QStringLiteral("\nCours : ") + p.priceTexts[k];
        if (maSwitch == 1 && k >= l)
            tip += QStringLiteral("\nMoyenne mobile : ") + frenchNumber(m[k], p.decimals);
        tip += QStringLiteral("\nVolume : ") + frenchNumber(p.volumes[k], 0);
        out.points.append({x(k), tip});
    }
    return out;
}

ValueLabels indicatorLabels(const Indicator &ind)
{
    switch (ind.kind) {
    case Indicator::Rsi:
        return {QStringLiteral("0%"), QStringLiteral("100%"), QStringLiteral("50%"),
                QStringLiteral("75%"), QStringLiteral("25%")};
    case Indicator::Moment: {
        const double m = largestMove(ind);
        // Half of an odd whole percent keeps its decimal.
        const int d = std::fmod(m, 2) != 0 ? 1 : 0;
        return {frenchNumber(-m, 0), frenchNumber(m, 0), QStringLiteral("0"),
                frenchNumber(m / 2, d), frenchNumber(-m / 2, d)};
    }
    case Indicator::Zigzag:
        break;
    }
    if (ind.values.isEmpty()) return priceLabels(0, 0);
    const auto [lo, hi] = std::minmax_element(ind.values.begin(), ind.values.end());
    return priceLabels(*lo, *hi, ind.decimals);
}

QString indicatorValue(const Indicator &ind, int i)
{
    switch (ind.kind) {
    case Indicator::Rsi:
        return QStringLiteral("RSI : ") + frenchNumber(ind.values[i], 0) + QStringLiteral(" %");
    case Indicator::Moment:
        return QStringLiteral("Momentum : ") + frenchNumber(ind.values[i], 0) +
               QStringLiteral(" %");
    case Indicator::Zigzag:
        break;
    }
    return QStringLiteral("Cours : ") + frenchNumber(ind.values[i], ind.decimals);
}

ChartDrawing indicatorChart(QSize size, const Indicator &ind, const TextMeasure &measure)
{
    ChartDrawing out;
    DrawSteps &s = out.steps;
    const int w = size.width();
    const int h = size.height();
    s.clear(w, h);
    s.font(chartFontFamily(), kChartFontPixels, false);
    const int n = ind.size();
    const int b = h - 60;
    const int r = w - 40;
    traceFrame(s, size, b, ind.dates, indicatorLabels(ind), QString(), measure);
    if (n == 0) return out;
    const Spread at{60, r, n};
    auto x = [&](int i) { return at.x(i); };
    const double height = b - 40; // from the axis to the top label
    std::function<int(int)> y;
    int from = 0;
    switch (ind.kind) {
    case Indicator::Rsi:
        // Positions without a value yet are not drawn.
        from = ind.first;
        y = [&](int i) { return pixel(b - ind.values[i] * height / 100); };
        break;
    case Indicator::Moment: {
        // The scale of the labels: the largest move at the top, its
        // opposite on the axis, 0 half-way, where a line marks it.
        const double m = largestMove(ind);
        const double zero = (b + 40) / 2.0;
        s.pen(Qt::gray, 1);
        s.line(60, pixel(zero), r, pixel(zero));
        y = [&, m, zero](int i) {
            return pixel(m > 0 ? zero - ind.values[i] * height / (2 * m) : zero);
        };
        break;
    }
    case Indicator::Zigzag:
        break;
    }
    s.pen(Qt::blue, 2);
    if (ind.kind == Indicator::Zigzag) {
        const auto [lo, hi] = std::minmax_element(ind.values.begin(), ind.values.end());
        const double lowest = *lo, span = *hi - *lo;
        auto zy = [&](int i) {
            return pixel(b - (span > 0 ? (ind.values[i] - lowest) * height / span : 0));
        };
        const QList<int> kept = zigzagPoints(ind.values, ind.percent);
        s.moveTo(x(0), zy(0));
        for (int i : kept)
            if (i > 0) s.lineTo(x(i), zy(i));
        if (kept.size() == 1) s.lineTo(x(0), zy(0));
    } else {
        drawCurve(s, from, n, x, y);
    }
    s.pen(Qt::black, 1);
    for (int i = 0; i < n; ++i) {
        if (i + 1 < n && x(i + 1) == x(i)) continue;
        out.points.append({x(i), ind.dates[i] + QLatin1Char('\n') + indicatorValue(ind, i)});
    }
    return out;
}

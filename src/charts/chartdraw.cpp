#include "charts/chartdraw.h"

#include <algorithm>

namespace
{

// Values of a chart may be as large as a file's prices make them: the
// arithmetic of the positions is done on 128 bits, with the integer
// division's truncation, so that no product overflows.
using Wide = __int128;

// a * b / c, as a position: within +-2^24 pixels (far off any surface).
qint64 scaled(Wide a, Wide b, Wide c)
{
    constexpr Wide far = Wide(1) << 24;
    return qint64(std::clamp(a * b / c, -far, far));
}

// A position on the surface from one computed in 64 bits.
int pixel(qint64 v)
{
    constexpr qint64 far = qint64(1) << 24;
    return int(std::clamp(v, -far, far));
}

} // namespace

ValueLabels priceLabels(qint64 lowest, qint64 highest)
{
    // Every label lies between the two, so it fits once computed.
    const Wide span = Wide(highest) - lowest;
    const auto at = [&](Wide part) { return QString::number(qint64(lowest + part)); };
    return {QString::number(lowest), QString::number(highest), at(span / 2), at(3 * span / 4),
            at(span / 4)};
}

void traceFrame(DrawSteps &steps, QSize size, int baseline, const QStringList &dates,
                const ValueLabels &labels, const QString &volumeLabel, const TextMeasure &measure)
{
    const int w = size.width();
    const int h = size.height();
    const int b = baseline;
    const int r = w - 40;
    const int d = r - 120;
    const bool volumes = !volumeLabel.isEmpty();
    steps.pen(Qt::black, 2);
    steps.line(60, b, r, b);
    steps.line(60, b, 60, 40);
    if (volumes) {
        steps.line(60, h - 30, r, h - 30);
        steps.line(60, h - 30, 60, h - 110);
    }
    steps.pen(Qt::black, 1);
    const qsizetype n = dates.size();
    if (n == 0) return; // nothing to label: the axes alone
    steps.text(60, b + 5, dates[0]);
    steps.text(r - 60, b + 5, dates[n - 1]);
    const QString middle = dates[(n - 1) / 2];
    steps.text(d / 2 + 60, b + 5, middle);
    QString last = middle;
    if (7 * measure.width(middle) < w) {
        steps.text(d / 4 + 60, b + 5, dates[(n - 1) / 4]);
        last = dates[(3 * n - 3) / 4];
        steps.text(3 * d / 4 + 60, b + 5, last);
    }
    steps.text(10, b - 15, labels.bottom);
    steps.text(10, 40, labels.top);
    if (volumes) steps.text(10, b + 30, volumeLabel);
    steps.pen(Qt::black, 1, true);
    steps.line(60, 50, r, 50);
    steps.text(10, b / 2 + 5, labels.middle);
    steps.line(60, b / 2 + 15, r, b / 2 + 15);
    if (7 * measure.height(last) < h) {
        steps.text(10, b / 4 + 25, labels.upperQuarter);
        steps.line(60, b / 4 + 35, r, b / 4 + 35);
        steps.text(10, 3 * b / 4 - 10, labels.lowerQuarter);
        steps.line(60, 3 * b / 4, r, 3 * b / 4);
    }
    steps.pen(Qt::black, 1);
}

QString ChartDrawing::tipAt(int x) const
{
    if (points.isEmpty()) return {};
    const HoverPoint *best = nullptr;
    for (const HoverPoint &p : points)
        if (!best || std::abs(p.x - x) < std::abs(best->x - x)) best = &p;
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
    PriceSeries all = priceSeries(lastOf(history, kMaxPoints));
    const PriceSeries p = lastOf(all, pointsThatFit(all.size(), w - 100));
    const int n = p.size();
    const int b = h - 140;
    const ValueLabels labels = n > 0 ? priceLabels(p.lowest, p.highest) : ValueLabels{};
    traceFrame(s, size, b, p.dates, labels,
               QString::number(p.largestVolume / 1000) + QStringLiteral(" K"), measure);
    const Wide span = Wide(p.highest) - p.lowest;
    if (span <= 1 || n < 2) return out;

    QList<qint64> y(n), v(n);
    for (int k = 0; k < n; ++k) {
        y[k] = scaled(Wide(p.prices[k]) - p.lowest, h - 180, span);
        v[k] = p.largestVolume > 0 ? scaled(p.volumes[k], 80, p.largestVolume) : 0;
    }
    const int l = maLength;
    const QList<qint64> m = movingAverage(y, l);
    const int step = (w - 100) / (n - 1);
    auto x = [step](int k) { return 60 + k * step; };

    s.pen(Qt::blue, 2);
    s.moveTo(60, int(b - y[0]));
    for (int k = 0; k < n; ++k)
        s.lineTo(x(k), int(b - y[k]));
    if (maSwitch == 1 && l < n) {
        s.pen(Qt::yellow, 2);
        s.moveTo(x(l), int(b - m[l]));
        for (int k = l; k < n; ++k)
            s.lineTo(x(k), int(b - m[k]));
    }
    if (p.largestVolume > 0) {
        s.pen(Qt::black, 3);
        for (int k = 0; k < n; ++k)
            s.line(60 + (k + 1) * step, h - 32, 60 + (k + 1) * step, pixel(h - 32 - v[k]));
    }
    for (int k = 0; k < n; ++k)
        out.points.append({x(k), p.dates[k] + QStringLiteral("\nCours : ") + p.priceTexts[k] +
                                     QStringLiteral("\nVolume : ") + p.volumeTexts[k]});
    return out;
}

ValueLabels indicatorLabels(const Indicator &ind)
{
    switch (ind.kind) {
    case Indicator::Rsi:
        return {QStringLiteral("0%"), QStringLiteral("100%"), QStringLiteral("50%"),
                QStringLiteral("75%"), QStringLiteral("25%")};
    case Indicator::Moment: {
        const qint64 m = largestMove(ind);
        return {QString::number(-m), QString::number(m), QStringLiteral("0"),
                QString::number(m / 2), QString::number(-m / 2)};
    }
    case Indicator::Zigzag:
        break;
    }
    if (ind.values.isEmpty()) return priceLabels(0, 0);
    const auto [lo, hi] = std::minmax_element(ind.values.begin(), ind.values.end());
    return priceLabels(*lo, *hi);
}

namespace
{
QString valueTip(const Indicator &ind, int i)
{
    QString value;
    switch (ind.kind) {
    case Indicator::Rsi:
        value = QStringLiteral("RSI : ") + QString::number(ind.values[i]) + QStringLiteral(" %");
        break;
    case Indicator::Moment:
        value =
            QStringLiteral("Momentum : ") + QString::number(ind.values[i]) + QStringLiteral(" %");
        break;
    case Indicator::Zigzag:
        value = QStringLiteral("Cours : ") + QString::number(ind.values[i]);
        break;
    }
    return ind.dates[i] + QLatin1Char('\n') + value;
}
} // namespace

ChartDrawing indicatorChart(QSize size, const Indicator &indicator, const TextMeasure &measure)
{
    ChartDrawing out;
    DrawSteps &s = out.steps;
    const int w = size.width();
    const int h = size.height();
    s.clear(w, h);
    s.font(chartFontFamily(), kChartFontPixels, false);
    const Indicator ind = lastOf(indicator, pointsThatFit(indicator.size(), w - 100));
    const int n = ind.size();
    traceFrame(s, size, h - 60, ind.dates, indicatorLabels(ind), QString(), measure);
    if (n == 0) return out;
    const int step = n > 1 ? (w - 100) / (n - 1) : 0;
    auto x = [step](int i) { return 60 + i * step; };
    s.pen(Qt::blue, 2);
    switch (ind.kind) {
    case Indicator::Rsi: {
        // Positions without a value yet are not drawn.
        if (ind.first >= n) break;
        auto y = [&](int i) { return pixel(h - 60 - scaled(ind.values[i], h - 100, 100)); };
        s.moveTo(x(ind.first), y(ind.first));
        for (int i = ind.first; i < n; ++i)
            s.lineTo(x(i), y(i));
        break;
    }
    case Indicator::Moment: {
        const int z = (h - 60) / 2 + 5;
        s.moveTo(60, z);
        for (int i = 0; i < n; ++i)
            s.lineTo(x(i), pixel(z - scaled(ind.values[i], h - 60, 100)));
        break;
    }
    case Indicator::Zigzag: {
        const auto [lo, hi] = std::minmax_element(ind.values.begin(), ind.values.end());
        const qint64 lowest = *lo;
        const Wide span = Wide(*hi) - *lo;
        auto y = [&](int i) {
            return pixel(h - 60 -
                         (span > 0 ? scaled(Wide(ind.values[i]) - lowest, h - 90, span) : 0));
        };
        const QList<int> kept = zigzagPoints(ind.values, ind.percent);
        s.moveTo(x(0), y(0));
        for (int i : kept)
            if (i > 0) s.lineTo(x(i), y(i));
        if (kept.size() == 1) s.lineTo(x(0), y(0));
        break;
    }
    }
    s.pen(Qt::black, 1);
    for (int i = 0; i < n; ++i)
        out.points.append({x(i), valueTip(ind, i)});
    return out;
}

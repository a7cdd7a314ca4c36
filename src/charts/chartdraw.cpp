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

namespace
{
// The five labels from the price at each level (in quarters of the
// height): the lowest, the highest, then the levels at 1/2, 3/4 and 1/4.
ValueLabels labelsAt(double highest, int decimals, const std::function<double(int)> &levelPrice)
{
    // A level between two prices may take decimals the prices have not, up
    // to two, so that its label names it (17,5 between 10 and 20).
    const int most = std::max(decimals, 2);
    const auto at = [&](int level) {
        const double v = levelPrice(level);
        int d = decimals;
        while (d < most &&
               std::abs(v * std::pow(10.0, d) - std::round(v * std::pow(10.0, d))) > 1e-6)
            ++d;
        return frenchNumber(v, d);
    };
    return {at(0), frenchNumber(highest, decimals), at(2), at(3), at(1)};
}
} // namespace

ValueLabels priceLabels(double lowest, double highest, int decimals)
{
    const double span = highest - lowest;
    return labelsAt(highest, decimals, [&](int quarters) { return lowest + quarters * span / 4; });
}

ValueLabels priceLabels(const PriceScale &scale, int decimals)
{
    if (!scale.log) return priceLabels(scale.lowest, scale.highest, decimals);
    return labelsAt(scale.highest, decimals,
                    [&](int quarters) { return scale.priceAt(quarters / 4.0); });
}

int Spread::x(int k) const
{
    if (count < 2) return left;
    return left + int(std::lround(double(k) * (right - left) / (count - 1)));
}

PriceLayout priceLayout(int height)
{
    const int volume = std::clamp((height - 100) / 2, 0, 80);
    return {height - 60 - volume, volume};
}

namespace
{
// The spans a row of texts takes across, to keep new ones off them.
class Row
{
public:
    bool free(int left, int right) const
    {
        for (const auto &[l, r] : m_taken)
            if (left < r + kGap && l < right + kGap) return false;
        return true;
    }
    void take(int left, int right) { m_taken.append({left, right}); }

private:
    static constexpr int kGap = 4;
    QList<std::pair<int, int>> m_taken;
};
} // namespace

void traceFrame(DrawSteps &steps, QSize size, int baseline, const QStringList &dates,
                const ValueLabels &labels, const QString &volumeLabel, const TextMeasure &measure,
                int volumeHeight)
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
        steps.line(60, h - 30, 60, h - 30 - volumeHeight);
    }
    steps.pen(Qt::black, 1);
    const int n = int(dates.size());
    if (n == 0) return; // nothing to label: the axes alone
    // The dates under their labels: each label starts at its date's point,
    // the last one ends at the last point; one that would run into a label
    // already there is left out.
    const Spread at{60, r, n};
    Row row;
    steps.text(60, b + 5, dates[0]);
    row.take(60, 60 + measure.width(dates[0]));
    steps.textEnd(r, b + 5, dates[n - 1]);
    row.take(r - measure.width(dates[n - 1]), r);
    const auto date = [&](int k) {
        const int x = at.x(k), width = measure.width(dates[k]);
        if (!row.free(x, x + width)) return false;
        steps.text(x, b + 5, dates[k]);
        row.take(x, x + width);
        return true;
    };
    const QString middle = dates[(n - 1) / 2];
    QString last = middle;
    date((n - 1) / 2);
    if (7 * measure.width(middle) < w) {
        date((n - 1) / 4);
        if (date((3 * n - 3) / 4)) last = dates[(3 * n - 3) / 4];
    }
    valueLabel(steps, b - 15, labels.bottom, measure);
    valueLabel(steps, 40, labels.top, measure);
    if (volumes) valueLabel(steps, b + 30, volumeLabel, measure);
    // The middle and quarter values only where they keep clear of their
    // neighbours.
    const int lh = measure.height(labels.top);
    const int mid = b / 2 + 5, upper = b / 4 + 25, lower = 3 * b / 4 - 10;
    const bool middleRoom = mid >= 40 + lh && mid + lh <= b - 15;
    const bool quarterRoom = middleRoom && upper >= 40 + lh && upper + lh <= mid &&
                             lower >= mid + lh && lower + lh <= b - 15;
    steps.pen(Qt::black, 1, true);
    steps.line(60, 50, r, 50);
    if (middleRoom) {
        valueLabel(steps, mid, labels.middle, measure);
        steps.line(60, b / 2 + 15, r, b / 2 + 15);
    }
    if (7 * measure.height(last) < h && quarterRoom) {
        valueLabel(steps, upper, labels.upperQuarter, measure);
        steps.line(60, b / 4 + 35, r, b / 4 + 35);
        valueLabel(steps, lower, labels.lowerQuarter, measure);
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

int ChartDrawing::pointAt(int x) const
{
    if (points.isEmpty()) return -1;
    // The points are in increasing x: the nearest by a binary search.
    const auto it = std::lower_bound(points.begin(), points.end(), x,
                                     [](const HoverPoint &p, int v) { return p.x < v; });
    qsizetype best = it - points.begin();
    if (best == points.size() || (best > 0 && x - points[best - 1].x <= points[best].x - x)) --best;
    return int(best);
}

QString ChartDrawing::tipAt(int x) const
{
    const int best = pointAt(x);
    if (best < 0) return {};
    int half = 4;
    if (points.size() > 1) half = std::max(half, (points[1].x - points[0].x) / 2);
    return std::abs(points[best].x - x) <= half ? points[best].tip : QString();
}

QString readOut(const HoverPoint &point)
{
    return QString(point.tip).replace(QLatin1Char('\n'), QStringLiteral("   "));
}

DrawSteps chartOverlay(const ChartDrawing &d, int index, const TextMeasure &measure)
{
    DrawSteps s;
    s.font(chartFontFamily(), kChartFontPixels, false);
    s.pen(Qt::black, 1);
    if (index < 0 || index >= d.points.size()) {
        if (!d.caption.isEmpty()) s.text(60, 15, d.caption);
        return s;
    }
    const HoverPoint &p = d.points[index];
    s.pen(crosshairColour(), 1, true);
    s.line(p.x, d.crossTop, p.x, d.crossBottom);
    if (p.y) s.line(d.spread.left, *p.y, d.spread.right, *p.y);
    s.pen(Qt::black, 1);
    const QString text = readOut(p);
    const int room = d.spread.right - 60;
    if (!d.caption.isEmpty() && measure.width(d.caption) + 24 + measure.width(text) <= room) {
        s.text(60, 15, d.caption);
        s.textEnd(d.spread.right, 15, text);
    } else {
        s.text(60, 15, text);
    }
    return s;
}

QString chartFontFamily()
{
    return QStringLiteral("MS Sans Serif");
}

namespace
{
// The points of a series within a range, their extremes taken again.
PriceSeries slice(const PriceSeries &all, ShownRange range)
{
    PriceSeries p;
    const int n = range.count();
    p.decimals = all.decimals;
    if (n <= 0) return p;
    p.dates = all.dates.mid(range.first, n);
    p.priceTexts = all.priceTexts.mid(range.first, n);
    p.volumeTexts = all.volumeTexts.mid(range.first, n);
    p.prices = all.prices.mid(range.first, n);
    p.volumes = all.volumes.mid(range.first, n);
    const auto [lo, hi] = std::minmax_element(p.prices.begin(), p.prices.end());
    p.lowest = *lo;
    p.highest = *hi;
    p.largestVolume = *std::max_element(p.volumes.begin(), p.volumes.end());
    return p;
}

ShownRange within(const std::optional<ShownRange> &range, int total)
{
    if (!range || total <= 0) return wholeRange(total);
    const int first = std::clamp(range->first, 0, total - 1);
    return {first, std::clamp(range->last, first, total - 1)};
}
} // namespace

ChartDrawing priceChart(QSize size, const History &history, int maSwitch, int &maLength,
                        const TextMeasure &measure, const ChartOptions &options)
{
    ChartDrawing out;
    DrawSteps &s = out.steps;
    const int w = size.width();
    const int h = size.height();
    s.clear(w, h);
    s.font(chartFontFamily(), kChartFontPixels, false);
    if (maLength < 2) maLength = 8;
    const PriceSeries all = priceSeries(history);
    const ShownRange shown = within(options.range, all.size());
    const PriceSeries p = options.range ? slice(all, shown) : all;
    const int n = p.size();
    const PriceLayout layout = priceLayout(h);
    const int b = layout.baseline;
    const int r = w - 40;
    const Spread at{60, r, n};
    out.spread = at;
    out.shown = shown;
    out.total = all.size();
    out.crossBottom = h - 30;
    const PriceScale scale = priceScale(p.lowest, p.highest, options.logScale);
    const ValueLabels labels = n > 0 ? priceLabels(scale, p.decimals) : ValueLabels{};
    traceFrame(s, size, b, p.dates, labels, volumeLabel(p.largestVolume), measure,
               layout.volumeHeight);
    if (n == 0) {
        s.text(70, (40 + b) / 2 - 6, history.emptyText());
        return out;
    }
    out.caption = QStringLiteral("du ") + p.dates.first() + QStringLiteral(" au ") + p.dates.last();
    const double span = p.highest - p.lowest;
    if (!(span > 0) || n < 2) return out;

    const double height = b - 40;
    auto y = [&](double v) { return pixel(b - scale.fraction(v) * height); };
    auto x = [&](int k) { return at.x(k); };
    s.pen(Qt::blue, 2);
    drawCurve(s, 0, n, x, [&](int k) { return y(p.prices[k]); });
    // The average of the points before each one, those left of the range
    // included.
    const int l = maLength;
    const QList<double> m = movingAverage(all.prices, l);
    const int firstAverage = std::max(0, l - shown.first);
    if (maSwitch == 1 && l < all.size()) {
        s.pen(averageColour(), 2);
        drawCurve(s, firstAverage, n, x, [&](int k) { return y(m[shown.first + k]); });
    }
    // One bar under each pixel column of points: the largest of its volumes.
    if (p.largestVolume > 0) {
        s.pen(Qt::black, 3);
        for (int k = 0; k < n;) {
            const int cx = x(k);
            double v = p.volumes[k];
            while (k + 1 < n && x(k + 1) == cx)
                v = std::max(v, p.volumes[++k]);
            if (v > 0)
                s.line(cx, h - 32, cx, pixel(h - 32 - v * layout.volumeHeight / p.largestVolume));
            ++k;
        }
    }
    // One point a pixel column for the crosshair: its last quotation.
    out.points.reserve(std::min(n, std::max(1, r - 59)));
    for (int k = 0; k < n; ++k) {
        if (k + 1 < n && x(k + 1) == x(k)) continue;
        QString tip = p.dates[k] + QStringLiteral("\nCours : ") + p.priceTexts[k];
        if (maSwitch == 1 && k >= firstAverage && l < all.size())
            tip += QStringLiteral("\nMoyenne mobile : ") +
                   frenchNumber(m[shown.first + k], p.decimals);
        tip += QStringLiteral("\nVolume : ") + frenchNumber(p.volumes[k], 0);
        out.points.append({x(k), y(p.prices[k]), tip});
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
    if (ind.kind == Indicator::Rsi) {
        // The levels of an overbought and an oversold security, under the
        // frame, named at the end of the axis.
        s.pen(referenceColour(), 1);
        for (int level : {kRsiHigh, kRsiLow}) {
            const int ly = pixel(b - level * (b - 40) / 100.0);
            s.line(60, ly, r, ly);
            s.text(r + 4, ly - 7, QString::number(level));
        }
    }
    traceFrame(s, size, b, ind.dates, indicatorLabels(ind), QString(), measure);
    const Spread at{60, r, n};
    out.spread = at;
    out.shown = wholeRange(n);
    out.total = n;
    out.crossBottom = b;
    if (n == 0) return out;
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
        auto zy = [&ind, b, height, lowest, span](int i) {
            return pixel(b - (span > 0 ? (ind.values[i] - lowest) * height / span : 0));
        };
        const QList<int> kept = zigzagPoints(ind.values, ind.percent);
        s.moveTo(x(0), zy(0));
        for (int i : kept)
            if (i > 0) s.lineTo(x(i), zy(i));
        if (kept.size() == 1) s.lineTo(x(0), zy(0));
        y = zy;
    } else {
        drawCurve(s, from, n, x, y);
    }
    s.pen(Qt::black, 1);
    for (int i = 0; i < n; ++i) {
        if (i + 1 < n && x(i + 1) == x(i)) continue;
        HoverPoint point{x(i), std::nullopt,
                         ind.dates[i] + QLatin1Char('\n') + indicatorValue(ind, i)};
        if (i >= from) point.y = y(i);
        out.points.append(point);
    }
    return out;
}

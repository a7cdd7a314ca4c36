#include "charts/printedcharts.h"

#include <algorithm>

void Trace2(DrawSteps &s, const PageMap &map, const QString &title, const QStringList &dates,
            const ValueLabels &labels, const QString &volumeLabel)
{
    s.font(printFont(), 12, true, true);
    s.text(map.Mh(20), map.Mv(0), title);
    s.font(printFont(), 10, true, false);
    s.pen(Qt::black, 2);
    const bool volumes = !volumeLabel.isEmpty();
    if (volumes) {
        s.line(map.Mh(15), map.Mv(150), map.Mh(200), map.Mv(150));
        s.line(map.Mh(15), map.Mv(150), map.Mh(15), map.Mv(110));
    }
    s.line(map.Mh(15), map.Mv(100), map.Mh(200), map.Mv(100));
    s.line(map.Mh(15), map.Mv(100), map.Mh(15), map.Mv(20));
    s.pen(Qt::black, 1);
    const qsizetype n = dates.size();
    if (n == 0) return; // the axes alone
    const int top = map.Mv(102);
    s.text(map.Mh(15), top, dates[0]);
    s.text(map.Mh(180), top, dates[n - 1]);
    s.text(map.Mh(95), top, dates[(n - 1) / 2]);
    s.text(map.Mh(55), top, dates[(n - 1) / 4]);
    s.text(map.Mh(135), top, dates[(3 * n - 3) / 4]);
    s.text(map.Mh(0), map.Mv(97), labels.bottom);
    s.text(map.Mh(0), map.Mv(20), labels.top);
    if (volumes) s.text(map.Mh(0), map.Mv(105), volumeLabel);
    s.pen(Qt::black, 1, true);
    s.line(map.Mh(15), map.Mv(20), map.Mh(200), map.Mv(20));
    s.text(map.Mh(0), map.Mv(60), labels.middle);
    s.line(map.Mh(15), map.Mv(60), map.Mh(200), map.Mv(60));
    s.text(map.Mh(0), map.Mv(40), labels.upperQuarter);
    s.line(map.Mh(15), map.Mv(40), map.Mh(200), map.Mv(40));
    s.text(map.Mh(0), map.Mv(80), labels.lowerQuarter);
    s.line(map.Mh(15), map.Mv(80), map.Mh(200), map.Mv(80));
    s.pen(Qt::black, 1);
}

DrawSteps printedPriceChart(const PageMap &map, const QString &name, const History &history,
                            int maSwitch, int &maLength)
{
    DrawSteps s;
    if (maLength < 2) maLength = 8;
    const PriceSeries all = priceSeries(lastOf(history, kMaxPoints));
    const PriceSeries p = lastOf(all, pointsThatFit(all.size(), 720));
    const int n = p.size();
    const ValueLabels labels = n > 0 ? priceLabels(p.lowest, p.highest) : ValueLabels{};
    Trace2(s, map, QStringLiteral("Graphique de ") + name, p.dates, labels,
           QString::number(p.largestVolume / 1000) + QStringLiteral(" K"));
    s.font(printFont(), 10, true, false);
    const qint64 span = p.highest - p.lowest;
    if (span <= 1 || n < 2) return s;
    QList<qint64> y(n), v(n);
    for (int k = 0; k < n; ++k) {
        y[k] = (p.prices[k] - p.lowest) * 80 / span;
        v[k] = p.largestVolume > 0 ? p.volumes[k] * 40 / p.largestVolume : 0;
    }
    const int l = maLength;
    const QList<qint64> m = movingAverage(y, l);
    const int step = 720 / (n - 1);
    s.pen(Qt::blue, 4);
    s.moveTo(map.Mh(90) / 4, map.Mv(95 - y[0]));
    for (int k = 0; k < n; ++k)
        s.lineTo(map.Mh(90 + k * step) / 4, map.Mv(95 - y[k]));
    if (maSwitch == 1 && l < n) {
        s.pen(Qt::red, 4);
        s.moveTo(map.Mh(80 + l * step) / 4, map.Mv(95 - m[l]));
        for (int k = l; k < n; ++k)
            s.lineTo(map.Mh(80 + k * step) / 4, map.Mv(95 - m[k]));
    }
    if (p.largestVolume > 0) {
        s.pen(Qt::black, 12);
        for (int k = 0; k < n; ++k) {
            const int x = map.Mh(80 + (k + 1) * step) / 4;
            s.line(x, map.Mv(150), x, map.Mv(150 - v[k]));
        }
    }
    return s;
}

DrawSteps printedIndicator(const PageMap &map, const Indicator &indicator)
{
    DrawSteps s;
    const Indicator ind = lastOf(indicator, pointsThatFit(indicator.size(), 720));
    const int n = ind.size();
    Trace2(s, map, ind.title, ind.dates, indicatorLabels(ind), QString());
    s.font(printFont(), 10, true, false);
    if (n == 0) return s;
    const int step = n > 1 ? 720 / (n - 1) : 0;
    auto x = [&](int i) { return map.Mh(90 + i * step) / 4; };
    s.pen(Qt::blue, 4);
    switch (ind.kind) {
    case Indicator::Rsi:
        if (ind.first >= n) break;
        s.moveTo(x(ind.first), map.Mv(95 - ind.values[ind.first] * 80 / 100));
        for (int i = ind.first; i < n; ++i)
            s.lineTo(x(i), map.Mv(95 - ind.values[i] * 80 / 100));
        break;
    case Indicator::Moment:
        s.moveTo(x(0), map.Mv(67 - ind.values[0] * 80 / 100));
        for (int i = 0; i < n; ++i)
            s.lineTo(x(i), map.Mv(67 - ind.values[i] * 80 / 100));
        break;
    case Indicator::Zigzag: {
        const auto [lo, hi] = std::minmax_element(ind.values.begin(), ind.values.end());
        const qint64 lowest = *lo, span = *hi - *lo;
        auto y = [&](int i) {
            return map.Mv(95 - (span > 0 ? (ind.values[i] - lowest) * 80 / span : 0));
        };
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

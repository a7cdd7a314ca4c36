#pragma once

#include "charts/series.h"
#include "print/drawsteps.h"

#include <QSize>

// The labels of a chart's value axis, from the bottom one to the quarters.
struct ValueLabels {
    QString bottom, top, middle, upperQuarter, lowerQuarter;
};

// Labels of a price range: lowest, highest, lowest + span / 2, lowest +
// 3 span / 4, lowest + span / 4 (integer divisions).
ValueLabels priceLabels(qint64 lowest, qint64 highest);

// `Trace`: the chart frame on a surface of `size`, baseline `baseline`,
// with the volume pane when `volumeLabel` is not empty.
void traceFrame(DrawSteps &steps, QSize size, int baseline, const QStringList &dates,
                const ValueLabels &labels, const QString &volumeLabel, const TextMeasure &measure);

// A point of a drawing under the mouse: its x and what its tooltip says.
struct HoverPoint {
    int x = 0;
    QString tip;
};

struct ChartDrawing {
    DrawSteps steps;
    QList<HoverPoint> points;
    // The tip of the point nearest to x, within half a step; empty elsewhere.
    QString tipAt(int x) const;
};

// The screen font of the charts.
QString chartFontFamily();
constexpr int kChartFontPixels = 13;

// `Dessine` of the price chart on a paint area of `size`. A moving-average
// length below 2 becomes 8, in `maLength` too.
ChartDrawing priceChart(QSize size, const History &history, int maSwitch, int &maLength,
                        const TextMeasure &measure);

// The frame and curve of an indicator window's paint area (`Trace` then
// `Dessine`).
ChartDrawing indicatorChart(QSize size, const Indicator &indicator, const TextMeasure &measure);

// The value labels of an indicator (the last `count` positions).
ValueLabels indicatorLabels(const Indicator &indicator);

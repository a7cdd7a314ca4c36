#pragma once

#include "charts/series.h"
#include "print/drawsteps.h"

#include <QColor>
#include <QSize>

// The labels of a chart's value axis, from the bottom one to the quarters.
struct ValueLabels {
    QString bottom, top, middle, upperQuarter, lowerQuarter;
};

// A number in French: decimal comma, the thousands grouped by no-break
// spaces ("6 768 414", "1 234,50"), `decimals` decimals.
QString frenchNumber(double value, int decimals);
// A volume on its axis: at most three figures before a unit ("850",
// "15,1 K", "128 M", "2,5 Md").
QString volumeLabel(double volume);

// Labels of a price range: lowest, highest, lowest + span / 2, lowest +
// 3 span / 4, lowest + span / 4, with `decimals` decimals.
ValueLabels priceLabels(double lowest, double highest, int decimals = 0);

// Where the points of a curve lie across the chart: n points spread over
// [left, right], several to a pixel column when they outnumber the pixels.
struct Spread {
    int left = 0;
    int right = 0;
    int count = 0;
    int x(int k) const;
};

// `Trace`: the chart frame on a surface of `size`, baseline `baseline`,
// with the volume pane when `volumeLabel` is not empty. The date labels
// name the dates under them: the first at the axis origin, the last ending
// at the end of the axis.
void traceFrame(DrawSteps &steps, QSize size, int baseline, const QStringList &dates,
                const ValueLabels &labels, const QString &volumeLabel, const TextMeasure &measure);

// A curve through the points k = from .. count - 1 at (x(k), y(k)): each
// pixel column holding several points draws the range of their values.
void drawCurve(DrawSteps &steps, int from, int count, const std::function<int(int)> &x,
               const std::function<int(int)> &y);

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

// The colour of the moving average, on the screen and on paper: a dark
// orange, readable on white.
inline QColor averageColour()
{
    return QColor(204, 85, 0);
}

// `Dessine` of the price chart on a paint area of `size`. A moving-average
// length below 2 becomes 8, in `maLength` too.
ChartDrawing priceChart(QSize size, const History &history, int maSwitch, int &maLength,
                        const TextMeasure &measure);

// The frame and curve of an indicator window's paint area (`Trace` then
// `Dessine`).
ChartDrawing indicatorChart(QSize size, const Indicator &indicator, const TextMeasure &measure);

// The value labels of an indicator.
ValueLabels indicatorLabels(const Indicator &indicator);
// The tooltip's value of a position of an indicator.
QString indicatorValue(const Indicator &indicator, int i);

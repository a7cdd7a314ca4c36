#pragma once

#include "charts/chartview.h"
#include "charts/series.h"
#include "print/drawsteps.h"

#include <QColor>
#include <QSize>

#include <optional>

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
// The same five levels on a price scale, straight or logarithmic: the
// prices at the fractions 0, 1, 1/2, 3/4 and 1/4 of its height.
ValueLabels priceLabels(const PriceScale &scale, int decimals);

// Where the points of a curve lie across the chart: n points spread over
// [left, right], several to a pixel column when they outnumber the pixels.
struct Spread {
    int left = 0;
    int right = 0;
    int count = 0;
    int x(int k) const;
};

// The price chart's panes on a paint area `height` pixels high: from 260
// pixels up, the price baseline at height - 140 and a volume pane 80 pixels
// high; lower, the volume pane gives up height first, never taller than
// the price pane (from the top line at 40 to the baseline).
struct PriceLayout {
    int baseline = 0;
    int volumeHeight = 80;
};
PriceLayout priceLayout(int height);

// `Trace`: the chart frame on a surface of `size`, baseline `baseline`,
// with a volume pane `volumeHeight` high when `volumeLabel` is not empty.
// The date labels name the dates under them: the first at the axis origin,
// the last ending at the end of the axis. A label that would run into
// another one is left out: the middle date and value, then the quarters.
void traceFrame(DrawSteps &steps, QSize size, int baseline, const QStringList &dates,
                const ValueLabels &labels, const QString &volumeLabel, const TextMeasure &measure,
                int volumeHeight = 80);

// A curve through the points k = from .. count - 1 at (x(k), y(k)): each
// pixel column holding several points draws the range of their values.
void drawCurve(DrawSteps &steps, int from, int count, const std::function<int(int)> &x,
               const std::function<int(int)> &y);

// A point of a drawing the crosshair can stand on: its x, the height of
// its value (none before an indicator has one) and what the read-out says
// of it, one line a figure.
struct HoverPoint {
    int x = 0;
    std::optional<int> y;
    QString tip;
};

struct ChartDrawing {
    DrawSteps steps;
    // One a pixel column, in increasing x.
    QList<HoverPoint> points;
    // The caption above the chart: the period drawn ("du ... au ...").
    QString caption;
    // Where the points lie across the chart, which of the series' points
    // are drawn, out of how many.
    Spread spread;
    ShownRange shown;
    int total = 0;
    // The height the crosshair's vertical line spans.
    int crossTop = 40;
    int crossBottom = 0;

    // The tip of the point nearest to x, within half a step; empty elsewhere.
    QString tipAt(int x) const;
    // The index in `points` of the point nearest to x; -1 without points.
    int pointAt(int x) const;
};

// Drawn over a chart: its caption, and with a point (`index` in
// `drawing.points`, -1 for none) the crosshair through it and its read-out
// on the caption's line (the read-out alone when both do not fit).
DrawSteps chartOverlay(const ChartDrawing &drawing, int index, const TextMeasure &measure);
// The read-out of a point: its tip on one line.
QString readOut(const HoverPoint &point);

// The screen font of the charts.
QString chartFontFamily();
constexpr int kChartFontPixels = 13;

// The colour of the moving average, on the screen and on paper: a dark
// orange, readable on white.
inline QColor averageColour()
{
    return QColor(204, 85, 0);
}

// How the price chart is drawn beyond its settings: the points shown (all
// when `range` is empty) and the price scale.
struct ChartOptions {
    std::optional<ShownRange> range;
    bool logScale = false;
};

// `Dessine` of the price chart on a paint area of `size`. A moving-average
// length below 2 becomes 8, in `maLength` too. The moving average of a
// point shown takes the points before it, shown or not.
ChartDrawing priceChart(QSize size, const History &history, int maSwitch, int &maLength,
                        const TextMeasure &measure, const ChartOptions &options = {});

// The frame and curve of an indicator window's paint area (`Trace` then
// `Dessine`).
ChartDrawing indicatorChart(QSize size, const Indicator &indicator, const TextMeasure &measure);

// The crosshair's dotted lines.
inline QColor crosshairColour()
{
    return QColor(96, 96, 96);
}

// The RSI's reference levels, drawn across its chart.
constexpr int kRsiLow = 30;
constexpr int kRsiHigh = 70;
inline QColor referenceColour()
{
    return QColor(128, 128, 128);
}

// The value labels of an indicator.
ValueLabels indicatorLabels(const Indicator &indicator);
// The tooltip's value of a position of an indicator.
QString indicatorValue(const Indicator &indicator, int i);

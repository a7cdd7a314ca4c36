#pragma once

#include <QDate>
#include <QString>

struct Spread;

// What the price chart shows of its series, and how: the points in view
// after a zoom or a drag, the point under the crosshair, the price scale,
// the period presets.

// The points first .. last (both included) of a series.
struct ShownRange {
    int first = 0;
    int last = -1;
    int count() const { return last - first + 1; }
    bool operator==(const ShownRange &) const = default;
};

// The fewest points a zoom closes in on (all of them when the series has
// fewer).
constexpr int kLeastShown = 10;

// The whole series of `total` points.
ShownRange wholeRange(int total);
// The range after a zoom by `factor` (below 1 closer, above 1 wider) that
// keeps the point `anchor` where it was across the chart; within the
// series, never fewer than kLeastShown points. A zoom closer always drops
// at least one point while it can.
ShownRange zoomed(ShownRange range, int total, int anchor, double factor);
// The range moved by `points` (positive: later dates), kept within the
// series with its size.
ShownRange panned(ShownRange range, int total, int points);
// The points a drag of `dx` pixels moves the range across an axis of
// `spread`: dragging to the right brings earlier dates in view.
int pointsDragged(int dx, const Spread &spread);
// The point whose position is nearest to x on an axis of `spread`, within
// 0 .. count - 1; -1 without points.
int pointAt(int x, const Spread &spread);

// The vertical scale of prices between the lowest and the highest:
// straight, or logarithmic (equal ratios at equal distances), which needs
// prices above 0 and is straight otherwise.
struct PriceScale {
    double lowest = 0;
    double highest = 0;
    bool log = false;
    // 0 at the lowest price, 1 at the highest.
    double fraction(double price) const;
    // The price at a fraction of the height.
    double priceAt(double fraction) const;
};
PriceScale priceScale(double lowest, double highest, bool log);

// The period presets of the chart page.
enum class Preset { OneMonth, SixMonths, OneYear, FiveYears, All };
// "1 mois", "6 mois", "1 an", "5 ans", "Tout".
QString presetCaption(Preset preset);
// The first day a preset shows when the period ends on `last`: the day
// after the same date one month, six months, one year or five years
// before; an invalid date for "Tout" (no limit).
QDate presetStart(Preset preset, const QDate &last);

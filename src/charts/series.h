#pragma once

#include "quotes/quotelines.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The history of a security as the charts read it: one entry per line of
// the security view, in list order.
struct History {
    QStringList dates; // "dd/mm/yyyy"
    QStringList prices;
    QStringList volumes;
    QString name; // the name of the first line
    int size() const { return int(dates.size()); }
};

// From quotation lines ("yyyymmdd", code, name, price, volume).
History historyOf(const QStringList &lines);
// The last `count` entries (all of them when there are fewer).
History lastOf(const History &history, int count);

// The most points a chart or an indicator holds.
constexpr int kMaxPoints = 751;

// The price chart's series: prices and volumes rounded to whole numbers
// (halves to even). A line whose price or volume does not convert is left
// out, date included.
struct PriceSeries {
    QStringList dates;
    QStringList priceTexts; // as written in the list, for the tooltips
    QStringList volumeTexts;
    QList<qint64> prices;
    QList<qint64> volumes;
    qint64 lowest = 2147483647;
    qint64 highest = 0;
    qint64 largestVolume = 0;
    int size() const { return int(prices.size()); }
};
PriceSeries priceSeries(const History &history);
// The last `count` points, with the extremes of those.
PriceSeries lastOf(const PriceSeries &series, int count);

// The moving average of `length` values before each point: m[k] for
// k >= length, the average of y[k - length] .. y[k - 1] (integer division);
// 0 below.
QList<qint64> movingAverage(const QList<qint64> &y, int length);

// The points that fit along `room` units at a whole number of units per
// step: every point when room / (count - 1) is at least 1, otherwise the
// last room + 1 of them. Returns the number of points kept.
int pointsThatFit(int count, int room);

// An indicator's series: one value per date text.
struct Indicator {
    enum Kind { Rsi, Moment, Zigzag };
    Kind kind = Rsi;
    QString title;
    QStringList dates;
    QList<qint64> values;
    // The first position holding a computed value (the RSI's positions
    // before it have none and are not drawn).
    int first = 0;
    int percent = 0; // ZigZag threshold
    int size() const { return int(values.size()); }
};

// The prices without rounding; throws "'%s' n'est pas une valeur flottante
// correcte" on a text that does not convert.
QList<double> exactPrices(const History &history);

// RSI of length n (>= 1): n - 1 positions, position j under the date of
// line j + 1; values from position n on.
Indicator rsiOf(const History &history, int length);
// Momentum of length n: one position per line, values from position n on;
// a reference price of 0 gives 0.
Indicator momentumOf(const History &history, int length);
// ZigZag: the rounded prices, with the threshold percentage.
Indicator zigzagOf(const History &history, int percent);
// The last `count` positions of an indicator (its first computed position
// follows).
Indicator lastOf(const Indicator &indicator, int count);

// Largest absolute value of the computed positions of a momentum.
qint64 largestMove(const Indicator &indicator);
// ZigZag: the indices of the retained points, from the first one.
QList<int> zigzagPoints(const QList<qint64> &v, int percent);

// Statistics of the prices of a history.
struct Statistics {
    QString firstDate, lastDate;
    double highest = 0, lowest = 999999;
    QString highestDate, lowestDate;
    double mean = 0, deviation = 0;
    // Not computed when the mean is 0.
    std::optional<double> variation;
    double q1 = 0, q2 = 0, q3 = 0;
};
Statistics statisticsOf(const History &history);

// One row of the hit-parade: the name and the rise in percent, none when
// the security has no first or no last price.
struct Rise {
    QString name;
    std::optional<double> rise;
};
// The rise of every security of the index between two dates ("yyyymmdd"),
// in one pass over the store, ranked by decreasing rise; rows without a
// rise after all others; equal rises in index order.
QList<Rise> hitParade(const QStringList &index, const QuoteLines &store, const QString &start,
                      const QString &end);
// "10,00%", or empty without a rise.
QString riseText(const Rise &rise);

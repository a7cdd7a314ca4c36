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
    // The period asked for ("dd/mm/yyyy"), said when it holds no quotation.
    QString from, to;
    int size() const { return int(dates.size()); }
    // "du 08/01/2004 au 29/12/2006": the first and last dates drawn.
    QString periodText() const;
    // "Aucune cotation du ... au ..." (the period asked for).
    QString emptyText() const;
};

// From quotation lines ("yyyymmdd", code, name, price, volume).
History historyOf(const QuoteLines &lines);
// The lines dated on or after `start`, the period asked for starting there
// when it started before.
History since(const History &history, const QDate &start);
// The newest date the history holds; invalid when it holds none.
QDate newestDate(const History &history);
// "dd/mm/yyyy" from "yyyymmdd" or a date.
QString shownDate(const QDate &date);

// The price chart's series: the prices and volumes as written, read as
// real numbers. A line whose price does not convert is left out, date
// included; a volume that does not convert counts as 0.
struct PriceSeries {
    QStringList dates;
    QStringList priceTexts; // as written in the list, for the tooltips
    QStringList volumeTexts;
    QList<double> prices;
    QList<double> volumes;
    double lowest = 0;
    double highest = 0;
    double largestVolume = 0;
    int decimals = 0; // the most decimals a price is written with (at most 4)
    int size() const { return int(prices.size()); }
};
PriceSeries priceSeries(const History &history);

// The moving average of `length` values before each point: m[k] for
// k >= length, the average of y[k - length] .. y[k - 1]; 0 below.
QList<double> movingAverage(const QList<double> &y, int length);

// An indicator's series: one value per date text.
struct Indicator {
    enum Kind { Rsi, Moment, Zigzag };
    Kind kind = Rsi;
    QString title;
    QStringList dates;
    QList<double> values; // RSI and momentum rounded to whole percents
    QString period;       // "du ... au ...": the dates of the history
    // The first position holding a computed value (the RSI's positions
    // before it have none and are not drawn).
    int first = 0;
    int percent = 0;  // ZigZag threshold
    int decimals = 0; // of the ZigZag's prices
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
// ZigZag: the prices as written, with the threshold percentage.
Indicator zigzagOf(const History &history, int percent);

// Largest absolute value of the computed positions of a momentum.
double largestMove(const Indicator &indicator);
// ZigZag: the indices of the retained points, from the first one.
QList<int> zigzagPoints(const QList<double> &v, int percent);
// The most decimals one of the texts is written with (at most 4).
int decimalsOf(const QStringList &texts);

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
// the security has no first or no last price, or has only one quotation
// between the two dates.
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

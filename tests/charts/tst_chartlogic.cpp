// The computations of the charts, indicators, statistics and hit-parade.
#include "base/errors.h"
#include "charts/chartdraw.h"
#include "charts/chartview.h"
#include "charts/series.h"
#include "testkit.h"

#include <QTest>

#include <limits>

namespace
{
// A history of prices (decimal comma texts), one line a day from 02/01/2001.
History hist(const QStringList &prices, const QStringList &volumes = {})
{
    QStringList lines;
    QDate d(2001, 1, 2);
    for (int i = 0; i < prices.size(); ++i, d = d.addDays(1))
        lines << qline(d.toString(u"yyyyMMdd"), u("012000"), u("ACIÉRIES"), prices[i],
                       volumes.value(i, u("100")));
    return historyOf(lines);
}

QStringList nums(std::initializer_list<double> v)
{
    QStringList out;
    for (double x : v)
        out << QString::number(x).replace(QLatin1Char('.'), QLatin1Char(','));
    return out;
}
} // namespace

class TestChartLogic : public QObject
{
    Q_OBJECT
private slots:
    void historyOf_readsEachField_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("read"); // date, price, volume, name
        QTest::newRow("usual") << u("20010102\t012000\tACIÉRIES\t10,50\t300")
                               << QStringList{u("02/01/2001"), u("10,50"), u("300"), u("ACIÉRIES")};
        QTest::newRow("no volume") << u("20010102\t012000\tA\t10,50")
                                   << QStringList{u("02/01/2001"), u("10,50"), QString(), u("A")};
        QTest::newRow("more fields") << u("20010102\t012000\tA\t1\t2\t3")
                                     << QStringList{u("02/01/2001"), u("1"), u("2"), u("A")};
        QTest::newRow("short date")
            << u("2001\t0\tB ☃\t1") << QStringList{u("//2001"), u("1"), QString(), u("B ☃")};
        QTest::newRow("empty") << QString()
                               << QStringList{u("//"), QString(), QString(), QString()};
    }
    void historyOf_readsEachField()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, read);
        const QString second = qline(u("20020304"), u("000002"), u("SECOND"), u("2,00"), u("7"));
        const History h = historyOf(QStringList{line, second});
        QCOMPARE(h.size(), 2);
        QCOMPARE((QStringList{h.dates[0], h.prices[0], h.volumes[0], h.name}), read);
        QCOMPARE((QStringList{h.dates[1], h.prices[1], h.volumes[1]}),
                 (QStringList{u("04/03/2002"), u("2,00"), u("7")}));
    }
    void priceSeries_keepsRealPricesAndSkipsBadOnes()
    {
        const PriceSeries s = priceSeries(
            hist({u("10,5"), u("11,5"), u("abc"), u("12,4")}, {u("2,5"), u(""), u("7"), u("3")}));
        QCOMPARE(s.prices, QList<double>({10.5, 11.5, 12.4}));
        QCOMPARE(s.volumes, QList<double>({2.5, 0, 3}));
        QCOMPARE(s.dates, QStringList({u("02/01/2001"), u("03/01/2001"), u("05/01/2001")}));
        QCOMPARE(s.lowest, 10.5);
        QCOMPARE(s.highest, 12.4);
        QCOMPARE(s.largestVolume, 3.0);
        QCOMPARE(s.decimals, 1);
        QCOMPARE(priceSeries(hist({u("3,08"), u("5,020"), u("4")})).decimals, 2);
    }

    void movingAverage_excludesThePointItself()
    {
        QCOMPARE(movingAverage({10, 20, 30, 40, 50}, 2), QList<double>({0, 0, 15, 25, 35}));
        QCOMPARE(movingAverage({1, 2}, 3), QList<double>({0, 0}));
        QCOMPARE(movingAverage({3.08, 3.1, 5.02}, 2), QList<double>({0, 0, 3.09}));
    }

    // Every point spread over the whole width: several to a pixel column
    // when they outnumber the pixels, the last one at the end.
    void spread_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("right");
        QTest::addColumn<QList<int>>("xs"); // of points 0, 1, count / 2, count - 1
        QTest::newRow("fits") << 101 << 560 << QList<int>({60, 65, 310, 560});
        QTest::newRow("one per pixel") << 517 << 576 << QList<int>({60, 61, 318, 576});
        QTest::newRow("751 in an indicator window") << 751 << 576 << QList<int>({60, 61, 318, 576});
        QTest::newRow("2529 on the screen") << 2529 << 1260 << QList<int>({60, 60, 660, 1260});
        QTest::newRow("single") << 1 << 576 << QList<int>({60, 60, 60, 60});
    }
    // The wheel: the point under the mouse keeps its place, the range stays
    // within the series and never closes in below ten points.
    void zoomed_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QList<int>>("expected"); // first, last
        QTest::newRow("closer around the middle")
            << 0 << 99 << 100 << 50 << 0.8 << QList<int>{10, 89};
        QTest::newRow("closer at the start") << 0 << 99 << 100 << 0 << 0.5 << QList<int>{0, 49};
        QTest::newRow("closer at the end") << 0 << 99 << 100 << 99 << 0.5 << QList<int>{50, 99};
        QTest::newRow("wider, kept within") << 80 << 99 << 100 << 99 << 2.0 << QList<int>{60, 99};
        QTest::newRow("wider than all") << 10 << 29 << 40 << 20 << 5.0 << QList<int>{0, 39};
        QTest::newRow("never below ten") << 40 << 49 << 100 << 45 << 0.5 << QList<int>{40, 49};
        QTest::newRow("small factor, one point less")
            << 0 << 19 << 100 << 0 << 0.99 << QList<int>{0, 18};
        QTest::newRow("fewer than ten points") << 0 << 5 << 6 << 2 << 0.5 << QList<int>{0, 5};
        QTest::newRow("range beyond the series")
            << 0 << 500 << 50 << 25 << 0.5 << QList<int>{13, 37};
    }
    void zoomed()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, total);
        QFETCH(int, anchor);
        QFETCH(double, factor);
        QFETCH(QList<int>, expected);
        const ShownRange r = ::zoomed({first, last}, total, anchor, factor);
        QCOMPARE(QList<int>({r.first, r.last}), expected);
    }

    void panned_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("expected"); // first; 20 points of 100 shown
        QTest::newRow("later") << 10 << 5 << 15;
        QTest::newRow("earlier") << 10 << -5 << 5;
        QTest::newRow("stops at the first") << 10 << -50 << 0;
        QTest::newRow("stops at the last") << 70 << 50 << 80;
        QTest::newRow("huge move") << 10 << std::numeric_limits<int>::max() << 80;
    }
    void panned()
    {
        QFETCH(int, first);
        QFETCH(int, points);
        QFETCH(int, expected);
        const ShownRange r = ::panned({first, first + 19}, 100, points);
        QCOMPARE(r.first, expected);
        QCOMPARE(r.count(), 20);
    }

    // Pixels to points: the crosshair's and the zoom's point under x, the
    // points a drag moves.
    void pixelsToPoints_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("point");
        QTest::addColumn<int>("dragged"); // by x - 60 pixels
        QTest::newRow("on a point") << 11 << 110 << 1 << -1;
        QTest::newRow("nearest") << 11 << 139 << 2 << -2;
        QTest::newRow("left of the axis") << 11 << 0 << 0 << 1;
        QTest::newRow("right of the axis") << 11 << 900 << 10 << -17;
        QTest::newRow("many to a pixel") << 5001 << 310 << 2500 << -2500;
        QTest::newRow("single point") << 1 << 300 << 0 << 0;
        QTest::newRow("no point") << 0 << 300 << -1 << 0;
    }
    void pixelsToPoints()
    {
        QFETCH(int, count);
        QFETCH(int, x);
        QFETCH(int, point);
        QFETCH(int, dragged);
        const Spread at{60, 560, count};
        QCOMPARE(pointAt(x, at), point);
        QCOMPARE(pointsDragged(x - 60, at), dragged);
        if (count > 1) QVERIFY(std::abs(at.x(point) - std::clamp(x, 60, 560)) <= 25);
    }

    // The price scale, straight or logarithmic, and back from a height.
    void priceScale_data()
    {
        QTest::addColumn<double>("lowest");
        QTest::addColumn<double>("highest");
        QTest::addColumn<bool>("log");
        QTest::addColumn<double>("price");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<bool>("logKept");
        QTest::newRow("straight") << 10.0 << 20.0 << false << 15.0 << 0.5 << false;
        QTest::newRow("log: tenfold steps") << 10.0 << 1000.0 << true << 100.0 << 0.5 << true;
        QTest::newRow("log: a doubling of four") << 1.0 << 16.0 << true << 4.0 << 0.5 << true;
        QTest::newRow("log: the lowest") << 3.08 << 5.02 << true << 3.08 << 0.0 << true;
        QTest::newRow("log: the highest") << 3.08 << 5.02 << true << 5.02 << 1.0 << true;
        QTest::newRow("log with a price of 0: straight")
            << 0.0 << 8.0 << true << 2.0 << 0.25 << false;
        QTest::newRow("log below 0: straight") << -4.0 << 4.0 << true << 0.0 << 0.5 << false;
        QTest::newRow("flat") << 5.0 << 5.0 << true << 5.0 << 0.0 << false;
    }
    void priceScale()
    {
        QFETCH(double, lowest);
        QFETCH(double, highest);
        QFETCH(bool, log);
        QFETCH(double, price);
        QFETCH(double, fraction);
        QFETCH(bool, logKept);
        const PriceScale scale = ::priceScale(lowest, highest, log);
        QCOMPARE(scale.log, logKept);
        QVERIFY(std::abs(scale.fraction(price) - fraction) < 1e-12);
        if (highest > lowest) QVERIFY(std::abs(scale.priceAt(fraction) - price) < 1e-9);
    }

    void presets_data()
    {
        QTest::addColumn<int>("preset");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QString>("caption");
        const QDate end(2006, 12, 29);
        QTest::newRow("1 mois") << int(Preset::OneMonth) << end << QDate(2006, 11, 30)
                                << u("1 mois");
        QTest::newRow("6 mois") << int(Preset::SixMonths) << end << QDate(2006, 6, 30)
                                << u("6 mois");
        QTest::newRow("1 an") << int(Preset::OneYear) << end << QDate(2005, 12, 30) << u("1 an");
        QTest::newRow("5 ans") << int(Preset::FiveYears) << end << QDate(2001, 12, 30)
                               << u("5 ans");
        QTest::newRow("Tout") << int(Preset::All) << end << QDate() << u("Tout");
        QTest::newRow("end of March, one month")
            << int(Preset::OneMonth) << QDate(2004, 3, 31) << QDate(2004, 3, 1) << u("1 mois");
        QTest::newRow("29 February, one year")
            << int(Preset::OneYear) << QDate(2004, 2, 29) << QDate(2003, 3, 1) << u("1 an");
        QTest::newRow("no period") << int(Preset::OneYear) << QDate() << QDate() << u("1 an");
    }
    void presets()
    {
        QFETCH(int, preset);
        QFETCH(QDate, last);
        QFETCH(QDate, start);
        QFETCH(QString, caption);
        QCOMPARE(presetStart(Preset(preset), last), start);
        QCOMPARE(presetCaption(Preset(preset)), caption);
    }

    void since_keepsTheLinesFromTheStart()
    {
        History h = hist(nums({10, 11, 12, 13, 14}));
        h.from = u("01/01/2001");
        h.to = u("31/01/2001");
        const History later = since(h, QDate(2001, 1, 4));
        QCOMPARE(later.dates, QStringList({u("04/01/2001"), u("05/01/2001"), u("06/01/2001")}));
        QCOMPARE(later.prices, nums({12, 13, 14}));
        QCOMPARE(later.from, u("04/01/2001"));
        QCOMPARE(later.to, u("31/01/2001"));
        QCOMPARE(later.name, h.name);
        // A start before the period's keeps the period's; past the last line,
        // the period said starts at the start.
        QCOMPARE(since(h, QDate(2000, 6, 1)).from, u("01/01/2001"));
        const History none = since(h, QDate(2001, 1, 20));
        QCOMPARE(none.size(), 0);
        QCOMPARE(none.emptyText(), u("Aucune cotation du 20/01/2001 au 31/01/2001"));

        // The newest date, whatever the order of the lines; none when empty.
        QCOMPARE(newestDate(h), QDate(2001, 1, 6));
        std::swap(h.dates.first(), h.dates.last());
        QCOMPARE(newestDate(h), QDate(2001, 1, 6));
        QCOMPARE(newestDate(none), QDate());
    }

    void spread()
    {
        QFETCH(int, count);
        QFETCH(int, right);
        QFETCH(QList<int>, xs);
        const Spread at{60, right, count};
        QCOMPARE(
            QList<int>({at.x(0), at.x(std::min(1, count - 1)), at.x(count / 2), at.x(count - 1)}),
            xs);
    }

    void frenchNumbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("volume");
        const QChar nb(0x00A0);
        QTest::newRow("grouped volume")
            << 6768414.0 << 0 << (u("6") + nb + u("768") + nb + u("414")) << u("6,8 M");
        QTest::newRow("price") << 3.08 << 2 << u("3,08") << u("3");
        QTest::newRow("thousands with decimals")
            << 1234.5 << 2 << (u("1") + nb + u("234,50")) << u("1,2 K");
        QTest::newRow("millions on the axis")
            << 15100000.0 << 0 << (u("15") + nb + u("100") + nb + u("000")) << u("15,1 M");
        QTest::newRow("hundreds of millions")
            << 128496000.0 << 0 << (u("128") + nb + u("496") + nb + u("000")) << u("128 M");
        QTest::newRow("negative") << -1500.0 << 0 << (u("-1") + nb + u("500")) << u("-1,5 K");
        QTest::newRow("no minus on zero") << -0.001 << 2 << u("0,00") << u("0");
    }
    void frenchNumbers()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, number);
        QFETCH(QString, volume);
        QCOMPARE(frenchNumber(value, decimals), number);
        QCOMPARE(volumeLabel(value), volume);
    }

    void rsi_data()
    {
        QTest::addColumn<QStringList>("prices");
        QTest::addColumn<int>("length");
        QTest::addColumn<QList<double>>("values");
        QTest::newRow("worked example")
            << nums({10, 11, 10, 12, 13, 12, 14, 15}) << 6 << QList<double>({0, 0, 0, 0, 0, 0, 75});
        QTest::newRow("only rises") << nums({1, 2, 3, 4}) << 2 << QList<double>({0, 0, 91});
        QTest::newRow("only falls") << nums({4, 3, 2, 1}) << 2 << QList<double>({0, 0, 0});
        QTest::newRow("flat") << nums({5, 5, 5, 5}) << 2 << QList<double>({0, 0, 0});
        QTest::newRow("shorter than the length")
            << nums({1, 2, 3, 4, 5, 6, 7}) << 6 << QList<double>(6, 0);
    }
    void rsi()
    {
        QFETCH(QStringList, prices);
        QFETCH(int, length);
        QFETCH(QList<double>, values);
        const Indicator r = rsiOf(hist(prices), length);
        QCOMPARE(r.values, values);
        QCOMPARE(r.first, length);
        QCOMPARE(r.dates.first(), u("03/01/2001")); // position 0: the second line's date
        QCOMPARE(r.title, u("ACIÉRIES - RI-Index ") + QString::number(length) + u(" bourses"));
    }

    void momentum_data()
    {
        QTest::addColumn<QStringList>("prices");
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<double>("largest");
        QTest::newRow("rise of 10")
            << nums({100, 1, 1, 1, 1, 1, 110}) << QList<double>({0, 0, 0, 0, 0, 0, 10}) << 10.0;
        QTest::newRow("fall to half")
            << nums({50, 1, 1, 1, 1, 1, 25}) << QList<double>({0, 0, 0, 0, 0, 0, -50}) << 50.0;
        QTest::newRow("rounded") << nums({3, 1, 1, 1, 1, 1, 3.1})
                                 << QList<double>({0, 0, 0, 0, 0, 0, 3}) << 3.0;
        QTest::newRow("reference 0") << nums({0, 1, 1, 1, 1, 1, 5}) << QList<double>(7, 0) << 0.0;
        QTest::newRow("as long as the length")
            << nums({1, 2, 3, 4, 5, 6}) << QList<double>(6, 0) << 0.0;
    }
    void momentum()
    {
        QFETCH(QStringList, prices);
        QFETCH(QList<double>, values);
        QFETCH(double, largest);
        const Indicator m = momentumOf(hist(prices), 6);
        QCOMPARE(m.values, values);
        QCOMPARE(largestMove(m), largest);
    }

    void zigzag_data()
    {
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<QList<int>>("kept");
        QTest::newRow("worked example")
            << QList<double>({100, 104, 106, 103, 100, 95}) << QList<int>({0, 2, 4});
        QTest::newRow("first price 1") << QList<double>({1, 100, 104, 106}) << QList<int>({0, 3});
        QTest::newRow("reference 0") << QList<double>({1, 0, 0, 3, 3}) << QList<int>({0, 3});
        QTest::newRow("flat") << QList<double>({7, 7, 7}) << QList<int>({0});
        QTest::newRow("moves beyond 64 bits")
            << QList<double>({-9e18, 9e18, -9e18}) << QList<int>({0, 2});
    }
    void zigzag()
    {
        QFETCH(QList<double>, values);
        QFETCH(QList<int>, kept);
        QCOMPARE(zigzagPoints(values, 5), kept);
    }

    void zigzag_keepsRealPrices()
    {
        // 10,4 to 10,6 is a move of 1.9 %, not 10 % as rounded prices made it.
        const Indicator z = zigzagOf(hist({u("10,4"), u("10,6")}), 5);
        QCOMPARE(z.values, QList<double>({10.4, 10.6}));
        QCOMPARE(zigzagPoints(z.values, 5), QList<int>({0}));
        QCOMPARE(z.title, u("ACIÉRIES - ZigZag 5%"));
        QCOMPARE(z.period, u("du 02/01/2001 au 03/01/2001"));
        QCOMPARE(z.decimals, 1);
    }

    void indicators_badPrice_throws()
    {
        QVERIFY_THROWS_EXCEPTION(VError, rsiOf(hist({u("1"), u("x,y")}), 2));
    }

    void statistics()
    {
        Statistics s = statisticsOf(hist(nums({10, 40, 30, 20})));
        QCOMPARE(s.mean, 25.0);
        QCOMPARE(qRound(s.deviation * 100), 1118);
        QCOMPARE(qRound(*s.variation * 100), 4472);
        QCOMPARE(QList<double>({s.q1, s.q2, s.q3}), QList<double>({10, 20, 30}));
        QCOMPARE(s.highestDate, u("03/01/2001"));
        s = statisticsOf(hist(nums({50, 10, 20, 30, 40})));
        QCOMPARE(QList<double>({s.q1, s.q2, s.q3}), QList<double>({20, 30, 40}));
        s = statisticsOf(hist(nums({5, 7, 7})));
        QCOMPARE(s.highestDate, u("03/01/2001")); // the first of equal highs
        s = statisticsOf(hist(nums({0, 0})));
        QVERIFY(!s.variation);
        QCOMPARE(s.highestDate, QString());
    }

    void hitParade()
    {
        const QStringList index = {u("000001UP"),   u("000002DOWN"), u("000003LATE"),
                                   u("000004ZERO"), u("000005NONE"), u("000006AFTER"),
                                   u("000007SOLO")};
        const QStringList store = {
            ql("20001229", "000001", "UP", "90"),   ql("20010102", "000001", "UP", "100"),
            ql("20010102", "000002", "DOWN", "50"), ql("20010102", "000004", "ZERO", "0"),
            ql("20010103", "000004", "ZERO", "20"), ql("20010104", "000001", "UP", "110"),
            ql("20010104", "000002", "DOWN", "40"), ql("20010105", "000004", "ZERO", "30"),
            ql("20010301", "000001", "UP", "500"),  ql("20010301", "000006", "AFTER", "10"),
            ql("20000101", "000003", "LATE", "10"), ql("20010110", "000007", "SOLO", "12"),
        };
        const QList<Rise> rows = ::hitParade(index, store, u("20010101"), u("20010228"));
        QStringList shown;
        for (const Rise &r : rows)
            shown << r.name + u("|") + riseText(r);
        QCOMPARE(shown, QStringList({u("ZERO|50,00%"), u("UP|10,00%"), u("DOWN|-20,00%"),
                                     u("LATE|"), u("NONE|"), u("AFTER|"), u("SOLO|")}));
        // Dates in the wrong order: the rise as computed, from 500 back to 90.
        const Rise first = ::hitParade(index, store, u("20010110"), u("20010101")).first();
        QCOMPARE(first.name + u("|") + riseText(first), u("UP|-82,00%"));

        // A store large enough to be read in parts at once: what each part
        // found is put together in the store's order (a first price of 0 in
        // one part and a real one in the next, quotations counted over parts,
        // the last price in an earlier part).
        QStringList large = {
            ql("20010102", "000001", "UP", "100"), ql("20010102", "000004", "ZERO", "0"),
            ql("20010102", "000002", "DOWN", "50"), ql("20010104", "000002", "DOWN", "40")};
        large += QStringList(450000, ql("20010103", "999999", "AUTRE", "1"));
        large += {ql("20010103", "000004", "ZERO", "20"), ql("20010104", "000001", "UP", "110"),
                  ql("20010105", "000004", "ZERO", "30"), ql("20000101", "000003", "LATE", "10")};
        shown.clear();
        for (const Rise &r : ::hitParade(index, QuoteLines(large), u("20010101"), u("20010228")))
            shown << r.name + u("|") + riseText(r);
        QCOMPARE(shown, QStringList({u("ZERO|50,00%"), u("UP|10,00%"), u("DOWN|-20,00%"),
                                     u("LATE|"), u("NONE|"), u("AFTER|"), u("SOLO|")}));
    }
};

QTEST_GUILESS_MAIN(TestChartLogic)
#include "tst_chartlogic.moc"

// The computations of the charts, indicators, statistics and hit-parade.
#include "base/errors.h"
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
    void priceSeries_roundsHalvesToEvenAndSkipsBadPrices()
    {
        const PriceSeries s = priceSeries(
            hist({u("10,5"), u("11,5"), u("abc"), u("12,4")}, {u("2,5"), u(""), u("7"), u("3")}));
        QCOMPARE(s.prices, QList<qint64>({10, 12, 12}));
        QCOMPARE(s.volumes, QList<qint64>({2, 0, 3}));
        QCOMPARE(s.dates, QStringList({u("02/01/2001"), u("03/01/2001"), u("05/01/2001")}));
        QCOMPARE(s.lowest, 10);
        QCOMPARE(s.highest, 12);
        QCOMPARE(s.largestVolume, 3);
    }

    void movingAverage_excludesThePointItself()
    {
        QCOMPARE(movingAverage({10, 20, 30, 40, 50}, 2), QList<qint64>({0, 0, 15, 25, 35}));
        QCOMPARE(movingAverage({1, 2}, 3), QList<qint64>({0, 0}));
        // Values whose sum goes beyond 64 bits.
        const qint64 big = std::numeric_limits<qint64>::max();
        QCOMPARE(movingAverage({big, big, big, -big}, 2), QList<qint64>({0, 0, big, big}));
    }

    void pointsThatFit_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("room");
        QTest::addColumn<int>("kept");
        QTest::newRow("fits") << 100 << 516 << 100;
        QTest::newRow("one per pixel") << 517 << 516 << 517;
        QTest::newRow("751 in an indicator window") << 751 << 516 << 517;
        QTest::newRow("751 on paper") << 751 << 720 << 721;
        QTest::newRow("single") << 1 << 10 << 1;
    }
    void pointsThatFit()
    {
        QFETCH(int, count);
        QFETCH(int, room);
        QFETCH(int, kept);
        QCOMPARE(::pointsThatFit(count, room), kept);
    }

    void rsi_data()
    {
        QTest::addColumn<QStringList>("prices");
        QTest::addColumn<int>("length");
        QTest::addColumn<QList<qint64>>("values");
        QTest::newRow("worked example")
            << nums({10, 11, 10, 12, 13, 12, 14, 15}) << 6 << QList<qint64>({0, 0, 0, 0, 0, 0, 75});
        QTest::newRow("only rises") << nums({1, 2, 3, 4}) << 2 << QList<qint64>({0, 0, 91});
        QTest::newRow("only falls") << nums({4, 3, 2, 1}) << 2 << QList<qint64>({0, 0, 0});
        QTest::newRow("flat") << nums({5, 5, 5, 5}) << 2 << QList<qint64>({0, 0, 0});
        QTest::newRow("shorter than the length")
            << nums({1, 2, 3, 4, 5, 6, 7}) << 6 << QList<qint64>(6, 0);
    }
    void rsi()
    {
        QFETCH(QStringList, prices);
        QFETCH(int, length);
        QFETCH(QList<qint64>, values);
        const Indicator r = rsiOf(hist(prices), length);
        QCOMPARE(r.values, values);
        QCOMPARE(r.first, length);
        QCOMPARE(r.dates.first(), u("03/01/2001")); // position 0: the second line's date
        QCOMPARE(r.title, u("ACIÉRIES - RI-Index ") + QString::number(length) + u(" bourses"));
    }

    void momentum_data()
    {
        QTest::addColumn<QStringList>("prices");
        QTest::addColumn<QList<qint64>>("values");
        QTest::addColumn<qint64>("largest");
        QTest::newRow("rise of 10") << nums({100, 1, 1, 1, 1, 1, 110})
                                    << QList<qint64>({0, 0, 0, 0, 0, 0, 10}) << qint64(10);
        QTest::newRow("fall to half") << nums({50, 1, 1, 1, 1, 1, 25})
                                      << QList<qint64>({0, 0, 0, 0, 0, 0, -50}) << qint64(50);
        QTest::newRow("rounded") << nums({3, 1, 1, 1, 1, 1, 3.1})
                                 << QList<qint64>({0, 0, 0, 0, 0, 0, 3}) << qint64(3);
        QTest::newRow("reference 0")
            << nums({0, 1, 1, 1, 1, 1, 5}) << QList<qint64>(7, 0) << qint64(0);
        QTest::newRow("as long as the length")
            << nums({1, 2, 3, 4, 5, 6}) << QList<qint64>(6, 0) << qint64(0);
    }
    void momentum()
    {
        QFETCH(QStringList, prices);
        QFETCH(QList<qint64>, values);
        QFETCH(qint64, largest);
        const Indicator m = momentumOf(hist(prices), 6);
        QCOMPARE(m.values, values);
        QCOMPARE(largestMove(m), largest);
    }

    void zigzag_data()
    {
        QTest::addColumn<QList<qint64>>("values");
        QTest::addColumn<QList<int>>("kept");
        QTest::newRow("worked example")
            << QList<qint64>({100, 104, 106, 103, 100, 95}) << QList<int>({0, 2, 4});
        QTest::newRow("first price 1") << QList<qint64>({1, 100, 104, 106}) << QList<int>({0, 3});
        QTest::newRow("reference 0") << QList<qint64>({1, 0, 0, 3, 3}) << QList<int>({0, 3});
        QTest::newRow("flat") << QList<qint64>({7, 7, 7}) << QList<int>({0});
        QTest::newRow("moves beyond 64 bits")
            << QList<qint64>({-9000000000000000000, 9000000000000000000, -9000000000000000000})
            << QList<int>({0, 2});
    }
    void zigzag()
    {
        QFETCH(QList<qint64>, values);
        QFETCH(QList<int>, kept);
        QCOMPARE(zigzagPoints(values, 5), kept);
    }

    void zigzag_roundsPricesFirst()
    {
        const Indicator z = zigzagOf(hist({u("10,4"), u("10,6")}), 5);
        QCOMPARE(z.values, QList<qint64>({10, 11}));
        QCOMPARE(zigzagPoints(z.values, 5), QList<int>({0, 1}));
        QCOMPARE(z.title, u("ACIÉRIES - ZigZag 5%"));
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
                                   u("000004ZERO"), u("000005NONE"), u("000006AFTER")};
        const QStringList store = {
            ql("20001229", "000001", "UP", "90"),   ql("20010102", "000001", "UP", "100"),
            ql("20010102", "000002", "DOWN", "50"), ql("20010102", "000004", "ZERO", "0"),
            ql("20010103", "000004", "ZERO", "20"), ql("20010104", "000001", "UP", "110"),
            ql("20010104", "000002", "DOWN", "40"), ql("20010105", "000004", "ZERO", "30"),
            ql("20010301", "000001", "UP", "500"),  ql("20010301", "000006", "AFTER", "10"),
            ql("20000101", "000003", "LATE", "10"),
        };
        const QList<Rise> rows = ::hitParade(index, store, u("20010101"), u("20010228"));
        QStringList shown;
        for (const Rise &r : rows)
            shown << r.name + u("|") + riseText(r);
        QCOMPARE(shown, QStringList({u("ZERO|50,00%"), u("UP|10,00%"), u("DOWN|-20,00%"),
                                     u("LATE|"), u("NONE|"), u("AFTER|")}));
    }
};

QTEST_GUILESS_MAIN(TestChartLogic)
#include "tst_chartlogic.moc"

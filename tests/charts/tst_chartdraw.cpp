// The drawing steps of the chart frame, the price chart, the indicators and
// the printed pages, in pixels and in millimetres.
#include "charts/chartdraw.h"
#include "charts/printedcharts.h"
#include "testkit.h"

#include <QSet>
#include <QTest>

namespace
{
// Texts 7 pixels a character and 13 high.
const TextMeasure kMeasure{[](const QString &s) { return int(7 * s.size()); },
                           [](const QString &) { return 13; }};

History hist(const QStringList &prices, const QStringList &volumes = {})
{
    QStringList lines;
    QDate d(2001, 1, 2);
    for (int i = 0; i < prices.size(); ++i, d = d.addDays(1))
        lines << qline(d.toString(u"yyyyMMdd"), u("012000"), u("ACIÉRIES"), prices[i],
                       volumes.value(i, u("1000")));
    return historyOf(lines);
}

History rising(int n)
{
    QStringList p;
    for (int i = 0; i < n; ++i)
        p << QString::number(100 + i % 37);
    return hist(p);
}

// The lines drawn with the pen of that colour (and width), in order.
QList<QLine> linesIn(const DrawSteps &s, const QColor &color, int width = -1)
{
    QList<QLine> out;
    bool in = false;
    for (const DrawStep &st : s.steps()) {
        if (st.kind == DrawStep::Pen)
            in = st.color == color && (width < 0 || st.width == width) && !st.dotted;
        else if (st.kind == DrawStep::Line && in)
            out << QLine(st.x, st.y, st.x2, st.y2);
    }
    return out;
}

QList<QLine> dottedLines(const DrawSteps &s)
{
    QList<QLine> out;
    bool in = false;
    for (const DrawStep &st : s.steps()) {
        if (st.kind == DrawStep::Pen)
            in = st.dotted;
        else if (st.kind == DrawStep::Line && in)
            out << QLine(st.x, st.y, st.x2, st.y2);
    }
    return out;
}

// "text@x,y" for each text drawn.
QStringList placed(const DrawSteps &s)
{
    QStringList out;
    for (const DrawStep &st : s.steps())
        if (st.kind == DrawStep::Text || st.kind == DrawStep::TextEnd)
            out << QStringLiteral("%1@%2,%3%4")
                       .arg(st.text)
                       .arg(st.x)
                       .arg(st.y)
                       .arg(st.kind == DrawStep::TextEnd ? u("<") : QString());
    return out;
}

// 10 pixels a millimetre.
const PageMap kMap(2100, 210, 2970, 297);
} // namespace

Q_DECLARE_METATYPE(QList<QLine>)

class TestChartDraw : public QObject
{
    Q_OBJECT
private slots:
    void frame_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<QLine>>("grid");
        const QStringList dates = {u("d0"), u("d1"), u("d2"), u("d3"), u("d4")};
        // 800 x 600: R = 760, D = 640, B = 460; 7 x 14 < 800 and 7 x 13 < 600.
        QTest::newRow("all labels")
            << QSize(800, 600)
            << QStringList({u("d0@60,465"), u("d4@760,465<"), u("d2@410,465"), u("d1@235,465"),
                            u("d3@585,465"), u("10@10,445"), u("20@10,40"), u("3 K@10,490"),
                            u("15@10,235"), u("17,5@10,140"), u("12,5@10,335")})
            << QList<QLine>({QLine(60, 50, 760, 50), QLine(60, 245, 760, 245),
                             QLine(60, 150, 760, 150), QLine(60, 345, 760, 345)});
        // 90 wide: 7 x 14 >= 90, no quarter dates, the middle one would run
        // into the first; 90 high: no room for the middle value either.
        QTest::newRow("small") << QSize(90, 90)
                               << QStringList({u("d0@60,-45"), u("d4@50,-45<"), u("10@10,-65"),
                                               u("20@10,40"), u("3 K@10,-20")})
                               << QList<QLine>({QLine(60, 50, 50, 50)});
        // 240 high (B = 100): the middle value keeps clear of the top and
        // bottom ones, the quarters would not.
        QTest::newRow("low") << QSize(800, 240)
                             << QStringList({u("d0@60,105"), u("d4@760,105<"), u("d2@410,105"),
                                             u("d1@235,105"), u("d3@585,105"), u("10@10,85"),
                                             u("20@10,40"), u("3 K@10,130"), u("15@10,55")})
                             << QList<QLine>({QLine(60, 50, 760, 50), QLine(60, 65, 760, 65)});
    }
    void frame()
    {
        QFETCH(QSize, size);
        QFETCH(QStringList, texts);
        QFETCH(QList<QLine>, grid);
        DrawSteps s;
        traceFrame(s, size, size.height() - 140, {u("d0"), u("d1"), u("d2"), u("d3"), u("d4")},
                   priceLabels(10, 20), u("3 K"), kMeasure);
        QCOMPARE(placed(s), texts);
        QCOMPARE(dottedLines(s), grid);
        const int h = size.height(), r = size.width() - 40, b = h - 140;
        QCOMPARE(linesIn(s, Qt::black, 2),
                 QList<QLine>({QLine(60, b, r, b), QLine(60, b, 60, 40),
                               QLine(60, h - 30, r, h - 30), QLine(60, h - 30, 60, h - 110)}));
    }

    // Small paint areas: the volume pane gives up height before the price
    // pane, which never gets lower than it.
    void priceLayout_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("baseline");
        QTest::addColumn<int>("volume");
        QTest::newRow("written layout") << 600 << 460 << 80;
        QTest::newRow("price pane as tall as the volumes") << 260 << 120 << 80;
        QTest::newRow("both shrink") << 200 << 90 << 50;
        QTest::newRow("420 x 330 frame") << 170 << 75 << 35;
        QTest::newRow("no room for volumes") << 90 << 30 << 0;
    }
    void priceLayout()
    {
        QFETCH(int, height);
        QFETCH(int, baseline);
        QFETCH(int, volume);
        const PriceLayout l = ::priceLayout(height);
        QCOMPARE(l.baseline, baseline);
        QCOMPARE(l.volumeHeight, volume);
        if (height >= 100) QVERIFY(l.baseline - 40 >= l.volumeHeight);
        // The tallest bar fills the volume pane; the price spans its pane.
        int length = 8;
        const ChartDrawing d = priceChart(
            QSize(420, height), hist({u("10"), u("20")}, {u("1"), u("2")}), 1, length, kMeasure);
        QCOMPARE(linesIn(d.steps, Qt::black, 3).last().y2(), height - 32 - volume);
        QCOMPARE(linesIn(d.steps, Qt::blue, 2).last(), QLine(60, baseline, 380, 40));
    }

    // Zoomed in: the points of the range over the whole axis, their period
    // in the caption, the moving average from the points before the range.
    void priceChart_range()
    {
        int length = 2;
        const QStringList p = {u("10"), u("12"), u("14"), u("16"), u("18"), u("20"),
                               u("22"), u("24"), u("26"), u("28"), u("30")};
        ChartOptions options;
        options.range = ShownRange{4, 8};
        const ChartDrawing d = priceChart(QSize(1100, 600), hist(p), 1, length, kMeasure, options);
        QCOMPARE(d.total, 11);
        QCOMPARE(d.shown, (ShownRange{4, 8}));
        QCOMPARE(d.caption, u("du 06/01/2001 au 10/01/2001"));
        // 18 to 26 over 420 pixels: the average of 14 and 16 (15) below the axis.
        QCOMPARE(linesIn(d.steps, Qt::blue, 2).last(), QLine(810, 145, 1060, 40));
        QCOMPARE(linesIn(d.steps, averageColour(), 2).first(), QLine(60, 618, 60, 618));
        QCOMPARE(d.tipAt(60), u("06/01/2001\nCours : 18\nMoyenne mobile : 15\nVolume : 1") +
                                  QChar(0x00A0) + u("000"));
        QVERIFY(placed(d.steps).contains(u("10/01/2001@1060,465<")));
    }

    void priceChart_logScale()
    {
        int length = 8;
        ChartOptions options;
        options.logScale = true;
        const ChartDrawing d = priceChart(QSize(800, 600), hist({u("10"), u("100"), u("1000")}), 1,
                                          length, kMeasure, options);
        // Equal ratios at equal heights: 100 half-way between 10 and 1000.
        QCOMPARE(linesIn(d.steps, Qt::blue, 2),
                 QList<QLine>({QLine(60, 460, 60, 460), QLine(60, 460, 410, 250),
                               QLine(410, 250, 760, 40)}));
        const QStringList texts = placed(d.steps);
        QVERIFY(texts.contains(u("100@10,235")));
        QVERIFY(texts.contains(u("316,23@10,140")));
        QVERIFY(texts.contains(u("31,62@10,335")));
    }

    // Over the chart: the caption alone, or the crosshair through the point
    // with its read-out beside the caption, alone when both do not fit.
    void overlay_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<QLine>>("lines");
        const QString caption = u("du 02/01/2001 au 03/01/2001");
        const QString second = u("03/01/2001   Cours : 20   Volume : 2") + QChar(0x00A0) + u("000");
        QTest::newRow("no crosshair")
            << 800 << -1 << QStringList({caption + u("@60,15")}) << QList<QLine>();
        QTest::newRow("both fit") << 800 << 1
                                  << QStringList({caption + u("@60,15"), second + u("@760,15<")})
                                  << QList<QLine>(
                                         {QLine(760, 40, 760, 570), QLine(60, 40, 760, 40)});
        QTest::newRow("read-out alone")
            << 500 << 0
            << QStringList(
                   {u("02/01/2001   Cours : 10   Volume : 1") + QChar(0x00A0) + u("000@60,15")})
            << QList<QLine>({QLine(60, 40, 60, 570), QLine(60, 460, 460, 460)});
        QTest::newRow("beyond the points")
            << 800 << 2 << QStringList({caption + u("@60,15")}) << QList<QLine>();
    }
    void overlay()
    {
        QFETCH(int, width);
        QFETCH(int, index);
        QFETCH(QStringList, texts);
        QFETCH(QList<QLine>, lines);
        int length = 8;
        const ChartDrawing d =
            priceChart(QSize(width, 600), hist({u("10"), u("20")}, {u("1000"), u("2000")}), 1,
                       length, kMeasure);
        const DrawSteps s = chartOverlay(d, index, kMeasure);
        QCOMPARE(placed(s), texts);
        QCOMPARE(dottedLines(s), lines);
        QCOMPARE(d.pointAt(width), 1);
        QCOMPARE(d.pointAt(0), 0);
    }

    void priceChart_twoQuotations()
    {
        int length = 8;
        const ChartDrawing d = priceChart(
            QSize(800, 600), hist({u("10"), u("20")}, {u("1000"), u("2000")}), 1, length, kMeasure);
        // step 700, B 460, y = (p - 10) * 420 / 10.
        QCOMPARE(linesIn(d.steps, Qt::blue, 2),
                 QList<QLine>({QLine(60, 460, 60, 460), QLine(60, 460, 760, 40)}));
        QCOMPARE(linesIn(d.steps, averageColour()), QList<QLine>()); // 8 >= 2 points
        // Each bar under its point.
        QCOMPARE(linesIn(d.steps, Qt::black, 3),
                 QList<QLine>({QLine(60, 568, 60, 528), QLine(760, 568, 760, 488)}));
        QCOMPARE(d.tipAt(758), u("03/01/2001\nCours : 20\nVolume : 2") + QChar(0x00A0) + u("000"));
        QCOMPARE(d.caption, u("du 02/01/2001 au 03/01/2001"));
        QCOMPARE(d.tipAt(-300), QString()); // more than half a step away
    }

    void priceChart_movingAverage()
    {
        int length = 1; // becomes 8
        const QStringList p = {u("10"), u("12"), u("14"), u("16"), u("18"), u("20"),
                               u("22"), u("24"), u("26"), u("28"), u("30")};
        ChartDrawing d = priceChart(QSize(1100, 600), hist(p), 1, length, kMeasure);
        QCOMPARE(length, 8);
        // step 100; y(k) = 2k * 420 / 20 = 42k; m(8) = 42 * 28 / 8 = 147.
        const QList<QLine> ma = linesIn(d.steps, averageColour(), 2);
        QCOMPARE(ma.size(), 3);
        QCOMPARE(ma.first(), QLine(860, 460 - 147, 860, 460 - 147));
        QCOMPARE(ma.last().p2(), QPoint(1060, 460 - 42 * 44 / 8));
        d = priceChart(QSize(1100, 600), hist(p), 0, length, kMeasure);
        QVERIFY(linesIn(d.steps, averageColour()).isEmpty());
    }

    void priceChart_framesOnly_data()
    {
        QTest::addColumn<QStringList>("prices");
        QTest::addColumn<int>("texts");
        // Frame texts (dates falling on one another drawn once), or the
        // empty period said.
        QTest::newRow("flat prices") << QStringList({u("10"), u("10"), u("10,0")}) << 9;
        QTest::newRow("one quotation") << QStringList({u("10")}) << 8;
        QTest::newRow("empty") << QStringList() << 1;
    }
    void priceChart_framesOnly()
    {
        QFETCH(QStringList, prices);
        QFETCH(int, texts);
        int length = 8;
        const ChartDrawing d = priceChart(QSize(800, 600), hist(prices), 1, length, kMeasure);
        QVERIFY(linesIn(d.steps, Qt::blue).isEmpty());
        QVERIFY(linesIn(d.steps, Qt::black, 3).isEmpty());
        QCOMPARE(d.steps.texts().size(), texts);
        if (prices.isEmpty())
            QCOMPARE(d.steps.texts().last(), u("Aucune cotation"));
        else
            QCOMPARE(d.caption, hist(prices).periodText());
        QCOMPARE(linesIn(d.steps, Qt::black, 2).size(), 4);
    }

    void priceChart_volumes()
    {
        int length = 8;
        // No bars when every volume is 0; a volume beyond 32 bits keeps its height.
        ChartDrawing d = priceChart(QSize(800, 600), hist({u("1"), u("9")}, {u("0"), u("0")}), 1,
                                    length, kMeasure);
        QVERIFY(linesIn(d.steps, Qt::black, 3).isEmpty());
        d = priceChart(QSize(800, 600),
                       hist({u("1"), u("9")}, {u("40000000000"), u("80000000000")}), 1, length,
                       kMeasure);
        QCOMPARE(linesIn(d.steps, Qt::black, 3).first(), QLine(60, 568, 60, 528));
        QVERIFY(d.steps.texts().contains(u("80 Md")));
    }

    // Prices of a file as large as the numbers go: every line stays where its
    // value puts it, nothing wraps round.
    void priceChart_extremePrices()
    {
        int length = 8;
        const ChartDrawing d =
            priceChart(QSize(800, 600), hist({u("-9000000000000000000"), u("9000000000000000000")}),
                       1, length, kMeasure);
        QCOMPARE(linesIn(d.steps, Qt::blue, 2),
                 QList<QLine>({QLine(60, 460, 60, 460), QLine(60, 460, 760, 40)}));
        QVERIFY(
            d.steps.texts().contains(u("-9 000 000 000 000 000 000").replace(u' ', QChar(0x00A0))));
        QVERIFY(d.steps.texts().contains(u("0")));
    }
    void momentumChart_extremeRise()
    {
        // A rise of 10^24 %: the top of the scale its label names.
        const Indicator m = momentumOf(
            hist({u("0,01"), u("1"), u("1"), u("1"), u("1"), u("1"), u("100000000000000000000")}),
            6);
        const ChartDrawing d = indicatorChart(QSize(600, 400), m, kMeasure);
        const QList<QLine> curve = linesIn(d.steps, Qt::blue, 2);
        QVERIFY(!curve.isEmpty());
        QCOMPARE(curve.last().y2(), 40);
    }

    void priceChart_neverCollapses()
    {
        int length = 8;
        // 900 quotations in 616 pixels: all of them, over every pixel column
        // from the axis origin to its end, the dates under them.
        const ChartDrawing d = priceChart(QSize(616, 600), rising(900), 1, length, kMeasure);
        const QList<QLine> price = linesIn(d.steps, Qt::blue, 2);
        QSet<int> columns;
        for (const QLine &l : price)
            columns << l.x1() << l.x2();
        QCOMPARE(columns.size(), 517);
        QCOMPARE(price.first().p1().x(), 60);
        QCOMPARE(price.last().p2().x(), 576);
        QCOMPARE(d.points.first().tip.left(10), rising(900).dates.first());
        QCOMPARE(d.points.last().tip.left(10), rising(900).dates.last());
        QVERIFY(placed(d.steps).contains(rising(900).dates.last() + u("@576,465<")));
    }

    void indicators_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QList<QLine>>("curve");
        // 616 x 343: B = 283, step (516 / (n - 1)).
        QTest::newRow("rsi, no false zeros")
            << int(Indicator::Rsi)
            << QStringList({u("0%@10,268"), u("100%@10,40"), u("50%@10,146"), u("75%@10,95"),
                            u("25%@10,202")})
            << QList<QLine>({QLine(576, 283 - 75 * 243 / 100, 576, 283 - 75 * 243 / 100)});
        QTest::newRow("momentum, scale of its labels")
            << int(Indicator::Moment)
            << QStringList(
                   {u("-40@10,268"), u("40@10,40"), u("0@10,146"), u("20@10,95"), u("-20@10,202")})
            << QList<QLine>();
        QTest::newRow("zigzag") << int(Indicator::Zigzag)
                                << QStringList({u("10@10,268"), u("15@10,40"), u("12,5@10,146"),
                                                u("13,75@10,95"), u("11,25@10,202")})
                                << QList<QLine>();
    }
    void indicators()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, labels);
        QFETCH(QList<QLine>, curve);
        const History h =
            hist({u("10"), u("11"), u("10"), u("12"), u("13"), u("12"), u("14"), u("15")});
        const Indicator ind = kind == Indicator::Rsi      ? rsiOf(h, 6)
                              : kind == Indicator::Moment ? momentumOf(h, 6)
                                                          : zigzagOf(h, 5);
        const ChartDrawing d = indicatorChart(QSize(616, 343), ind, kMeasure);
        const QStringList texts = placed(d.steps);
        QCOMPARE(texts.mid(texts.size() - 5),
                 QStringList({labels[0], labels[1], labels[2], labels[3], labels[4]}));
        const QList<QLine> blue = linesIn(d.steps, Qt::blue, 2);
        if (kind == Indicator::Rsi) {
            QCOMPARE(blue, curve);
            // 70 and 30 across the chart; no level before the first value.
            QCOMPARE(linesIn(d.steps, referenceColour(), 1),
                     QList<QLine>({QLine(60, 113, 576, 113), QLine(60, 210, 576, 210)}));
            QVERIFY(!d.points.first().y.has_value());
            QCOMPARE(d.points.last().y, std::optional<int>(283 - 75 * 243 / 100));
        }
        if (kind == Indicator::Moment) {
            // 10 - 11 ... over 6: (14 - 10) / 10 = 40 %, (15 - 11) / 11 = 36 %; 40 at
            // the top (40), -40 on the axis (283), 0 half-way (161.5).
            QCOMPARE(blue.first(), QLine(60, 162, 60, 162));
            QCOMPARE(blue.last().p2(), QPoint(576, 52));
            QCOMPARE(linesIn(d.steps, Qt::gray, 1), QList<QLine>({QLine(60, 162, 576, 162)}));
        }
        if (kind == Indicator::Zigzag) {
            // Retained: 11 (+10 %), 10, 12, 13? (+8.3 %), 12 (-7.7 %), 14, 15 (+7.1 %).
            QCOMPARE(blue.first().p1(), QPoint(60, 283));
            QCOMPARE(blue.last().p2(), QPoint(576, 40)); // the highest at the top label
        }
    }

    void indicators_singlePositionAndFlat()
    {
        Indicator m = momentumOf(hist({u("5"), u("5")}), 2);
        m.values = {0};
        m.dates = QStringList({u("d")});
        ChartDrawing d = indicatorChart(QSize(616, 343), m, kMeasure);
        QCOMPARE(linesIn(d.steps, Qt::blue, 2).last().p2().x(), 60);
        const Indicator z = zigzagOf(hist(QStringList(12, u("8"))), 5);
        d = indicatorChart(QSize(616, 343), z, kMeasure);
        const QList<QLine> flat = linesIn(d.steps, Qt::blue, 2);
        QCOMPARE(flat, QList<QLine>({QLine(60, 283, 60, 283)}));
    }

    void indicators_neverCollapse()
    {
        // 2529 positions in the 616-pixel window: all of them over the 517
        // pixel columns.
        const ChartDrawing d =
            indicatorChart(QSize(616, 343), momentumOf(rising(2529), 6), kMeasure);
        const QList<QLine> curve = linesIn(d.steps, Qt::blue, 2);
        QSet<int> columns;
        for (const QLine &l : curve)
            columns << l.x1() << l.x2();
        QCOMPARE(columns.size(), 517);
        QCOMPARE(curve.first().p1().x(), 60);
        QCOMPARE(curve.last().p2().x(), 576);
        QCOMPARE(d.points.last().tip.left(10), rising(2529).dates.last());
    }

    void printedList_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("heightMm");
        QTest::addColumn<QList<int>>("rowsPerPage");
        QTest::newRow("three rows") << 3 << 280 << QList<int>({3});
        QTest::newRow("breaks one row early") << 60 << 280 << QList<int>({53, 7});
        QTest::newRow("exactly a page") << 53 << 280 << QList<int>({53});
    }
    void printedList()
    {
        QFETCH(int, rows);
        QFETCH(int, heightMm);
        QFETCH(QList<int>, rowsPerPage);
        QList<QStringList> list;
        for (int i = 0; i < rows; ++i)
            list << QStringList(
                {u("02/01/2001"), u("012000"), u("ACIÉRIES"), QString::number(i), u("100")});
        const DrawSteps s = ::printedList({kMap, heightMm}, u("Journal de Janvier 2001"), list);
        QList<int> counted{0};
        for (const DrawStep &st : s.steps()) {
            if (st.kind == DrawStep::NewPage) counted << 0;
            if (st.kind == DrawStep::TextEnd && st.x == kMap.Mh(160) && st.text == u("100"))
                ++counted.last();
        }
        QCOMPARE(counted, rowsPerPage);
        const QStringList texts = placed(s);
        // Heading, then rows 18, 23 and 28 mm from the top (10 pixels a mm).
        QCOMPARE(texts.mid(0, 11),
                 QStringList({u("Journal de Janvier 2001@100,30"), u("Date@100,100"),
                              u("Code@300,100"), u("Nom@500,100"), u("Cours@1500,100<"),
                              u("Volume@1700,100<"), u("02/01/2001@100,180"), u("012000@300,180"),
                              u("ACIÉRIES@500,180"), u("0@1500,180<"), u("100@1700,180<")}));
        QVERIFY(texts.contains(u("ACIÉRIES@500,230")));
        QCOMPARE(s.only(DrawStep::Line).first(), [] {
            DrawStep rule;
            rule.x = 100;
            rule.y = 150;
            rule.x2 = 1700;
            rule.y2 = 150;
            return rule;
        }());
    }

    void printedPriceChart_fivePoints()
    {
        int length = 2;
        const DrawSteps s =
            printedPriceChart(kMap, u("ACIÉRIES"),
                              hist({u("10"), u("30"), u("20"), u("50"), u("40")},
                                   {u("1000"), u("2000"), u("4000"), u("3000"), u("500")}),
                              1, length);
        // 210 mm of paper: the chart narrowed to 0.95, from 14.25 to 190 mm
        // (the axes); the lowest price on the axis (100 mm), the highest on
        // the top line (20 mm); pens of 0.35 mm.
        QCOMPARE(linesIn(s, Qt::blue, 4),
                 QList<QLine>({QLine(242, 1030, 242, 1030), QLine(242, 1030, 682, 630),
                               QLine(682, 630, 1121, 830), QLine(1121, 830, 1561, 230),
                               QLine(1561, 230, 2000, 430)}));
        // Average of the two points before, under the third point.
        const QList<QLine> ma = linesIn(s, averageColour(), 4);
        QCOMPARE(ma.first().p1(), QPoint(1121, 830));
        const QList<QLine> bars = linesIn(s, Qt::black, 4);
        QCOMPARE(bars.first(), QLine(242, 1530, 242, 1530 - 100));
        QStringList texts = placed(s);
        QCOMPARE(texts.first(), u("Graphique de ACIÉRIES du 02/01/2001 au 06/01/2001@290,30"));
        QVERIFY(texts.contains(u("02/01/2001@242,1050")));
        QVERIFY(texts.contains(u("06/01/2001@2000,1050<")));
        QVERIFY(texts.contains(u("4 K@100,1080")));
        QVERIFY(texts.contains(u("30@100,630")));
    }

    void printedIndicator_positions()
    {
        const Indicator m = momentumOf(hist({u("10"), u("10"), u("11"), u("10"), u("12")}), 2);
        const DrawSteps s = printedIndicator(kMap, m);
        // Largest move 10 %: 0 on the middle line (60 mm), 10 on the top line
        // (20 mm), so the last value, 9 %, 36 mm above 0.
        const QList<QLine> curve = linesIn(s, Qt::blue, 4);
        QCOMPARE(curve.first().p1(), QPoint(242, kMap.Mv(60)));
        QCOMPARE(curve.last().p2(), QPoint(2000, kMap.Mv(24)));
        QCOMPARE(placed(s).first(), m.title + u(" du 02/01/2001 au 06/01/2001@290,30"));
        QVERIFY(linesIn(s, Qt::black, 5).size() == 2); // no volume pane
    }

    // The printed chart within the printable width, portrait or landscape,
    // dotted lines and pens wide enough to print.
    void printedChart_fitsThePage_data()
    {
        QTest::addColumn<int>("widthMm");
        QTest::addColumn<int>("heightMm");
        QTest::addColumn<int>("axisEnd"); // pixels
        QTest::newRow("portrait A4") << 200 << 287 << 24 * (10 + 180);
        QTest::newRow("landscape A4") << 287 << 200 << 24 * (10 + 200);
    }
    void printedChart_fitsThePage()
    {
        QFETCH(int, widthMm);
        QFETCH(int, heightMm);
        QFETCH(int, axisEnd);
        const PageMap map(24 * widthMm, widthMm, 24 * heightMm, heightMm);
        int length = 8;
        const DrawSteps s = printedPriceChart(map, u("ACIÉRIES"), rising(3000), 1, length);
        int right = 0;
        for (const DrawStep &st : s.steps()) {
            if (st.kind == DrawStep::Line) right = std::max({right, st.x, st.x2});
            if (st.kind == DrawStep::Pen && st.color != Qt::black)
                QVERIFY(st.width >= map.pen(0.3));
            if (st.kind == DrawStep::Pen && st.dotted) QVERIFY(st.width >= map.pen(0.2));
        }
        QCOMPARE(right, axisEnd);
        QVERIFY(right <= 24 * (widthMm - 10));
        QCOMPARE(dottedLines(s).size(), 4);
    }
};

QTEST_MAIN(TestChartDraw)
#include "tst_chartdraw.moc"

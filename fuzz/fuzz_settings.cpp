// The settings file "Valmeq.ini" read by the document at start, then the
// chart and indicator lengths it holds applied as the chart commands apply
// them, and the file written back and read again.

#include "fuzzkit.h"

#include "base/errors.h"
#include "charts/chartdraw.h"
#include "charts/series.h"
#include "quotes/BourseData.h"

namespace
{

// Forty days of one security, prices going up and down.
History sampleHistory()
{
    QStringList lines;
    for (int i = 0; i < 40; ++i) {
        const int cents = 10000 + (i % 7) * 350 - (i % 3) * 500 + i * 20;
        lines.append(QStringLiteral("202401%1\t120090\tAIR LIQUIDE\t%2,%3\t%4")
                         .arg(i + 1, 2, 10, QLatin1Char('0'))
                         .arg(cents / 100)
                         .arg(cents % 100, 2, 10, QLatin1Char('0'))
                         .arg(1000 + i * 37));
    }
    return historyOf(lines);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzkit::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzkit::write(QStringLiteral("Valmeq.ini"), fuzzkit::bytes(data, size));
    BourseData doc(fuzzkit::dir());
    doc.ChargeIni();
    Settings s = doc.settings();
    fuzzkit::check(s.euroRate >= 6 && s.euroRate <= 10, "the euro rate lies between 6 and 10");
    bool autoOpen = false;
    QString path;
    doc.GetIni(autoOpen, path);

    // Written at closing, read at the next start: the same settings.
    Settings again;
    again.read(s.lines());
    fuzzkit::check(again.lines().mid(1) == s.lines().mid(1), "the settings read back as written",
                   s.lines().join(QLatin1Char('|')));

    static const History h = sampleHistory();
    const TextMeasure m = fuzzkit::measure();
    try {
        int maLength = s.maLength;
        priceChart(QSize(640, 320), h, s.maSwitch, maLength, m);
        if (s.rsiLength < 2) s.rsiLength = 6;
        if (h.size() >= s.rsiLength) {
            const Indicator rsi = rsiOf(h, s.rsiLength);
            indicatorChart(QSize(400, 200), rsi, m);
        }
        if (s.momentumLength < 2) s.momentumLength = 6;
        if (h.size() >= s.momentumLength) {
            const Indicator mo = momentumOf(h, s.momentumLength);
            indicatorChart(QSize(400, 200), mo, m);
        }
        const Indicator zz = zigzagOf(h, s.zigzagPercent);
        indicatorChart(QSize(400, 200), zz, m);
        zigzagPoints(zz.values, s.zigzagPercent);
    } catch (const VError &) {
    }
    return 0;
}

// Bulk changes of the quotation store: price rewriting, deletion by keys,
// the two journal sorts and the valuation's sort (their speed is measured
// through the commands, in the bench).
#include "base/errors.h"
#include "base/formats.h"
#include "base/textfile.h"
#include "quotes/maintenance.h"
#include "quotes/store.h"
#include "testkit.h"

#include <QCollator>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <random>

using namespace Qt::StringLiterals;

namespace
{

QString dateText(int day) // day 0 = 4 January 1999
{
    return QDate(1999, 1, 4).addDays(day).toString(u"yyyyMMdd"_s);
}

// The straightforward sort the fast one must match: the whole key through the
// French collation, case-insensitive, then the whole line.
QStringList referenceSort(QStringList lines, bool byName)
{
    QCollator collator{QLocale(QLocale::French)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    auto key = [&](const QString &l) {
        return byName ? l.left(8) + quote::nameOf(l) + u'\t' + l : l;
    };
    std::sort(lines.begin(), lines.end(), [&](const QString &a, const QString &b) {
        const int c = collator.compare(key(a), key(b));
        return c != 0 ? c < 0 : a < b;
    });
    return lines;
}

// Names as a French investor's store holds them: accents, one name in two
// cases under two codes, apostrophes, hyphens, digits.
const char *const kNames[] = {
    "ACCOR",       "Air Liquide", "alcatel",         "Alcatel Alsthom", "AXA",
    "Bouygues",    "Carrefour",   "Crédit Agricole", "Éramet",          "France Télécom",
    "L'Oréal",     "LVMH Moët",   "Pernod-Ricard",   "Saint-Gobain",    "Société Générale",
    "3M France",   "Œuvres",      "eurotunnel",      "EUROTUNNEL",      "Gaz et Eaux",
    "Gaz-et-Eaux", "Ecco",        "éco SA",          "Zodiac"};
constexpr int kSecurities = int(std::size(kNames));

// Quotations in random order, with repeated lines, unusual price fields and
// lines of other shapes among them.
QStringList realisticStore(int count, quint32 seed)
{
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const char *const oddRests[] = {"1.234,50\t10", "-3,00\t", "12,00 \t5", "n/a\t", "7,10\tx"};
    const char *const oddLines[] = {"",
                                    "   ",
                                    "Total",
                                    "1999010\tcourt",
                                    "zzz",
                                    "19990105 000001 sans tabulation",
                                    "19990105\t000001",
                                    "19990105\t00001\tCOURT\t1,00\t",
                                    "1999O105\t012000\tACCOR\t2,00\t1"};
    QStringList lines;
    while (lines.size() < count) {
        const int roll = pick(100);
        if (roll < 2) {
            lines.append(QString::fromUtf8(oddLines[pick(int(std::size(oddLines)))]));
        } else if (roll < 5 && !lines.isEmpty()) {
            lines.append(lines[pick(int(lines.size()))]);
        } else {
            const int s = pick(kSecurities);
            const QString code = s == 5   ? u"00ABC1"_s
                                 : s == 6 ? u"00abc1"_s
                                          : u"%1"_s.arg(12000 + 37 * s, 6, 10, QLatin1Char('0'));
            const int cents = pick(200000);
            const QString rest =
                roll < 8 ? QString::fromUtf8(oddRests[pick(int(std::size(oddRests)))])
                         : (cents < 100 ? QString() : QString::number(cents / 100)) + u',' +
                               u"%1\t"_s.arg(cents % 100, 2, 10, QLatin1Char('0')) +
                               (pick(10) == 0 ? QString() : QString::number(pick(99999)));
            lines.append(dateText(pick(60)) + u'\t' + code + u'\t' + QString::fromUtf8(kNames[s]) +
                         u'\t' + rest);
        }
    }
    return lines;
}

// The lines of the regular shape (date, tab, six characters, tab), in date
// order: a file of the program's own.
QStringList regularByDate(const QStringList &lines)
{
    static const QRegularExpression shape(u"^\\d{8}\t[^\t]{6}\t"_s);
    QStringList out;
    for (const QString &line : lines)
        if (shape.match(line).hasMatch()) out.append(line);
    std::stable_sort(out.begin(), out.end(),
                     [](const QString &a, const QString &b) { return a.left(8) < b.left(8); });
    return out;
}

// The conversion as a plain reading of each line gives it: the price times
// `factor` in the lines of 012000 to 012300 from 10 January to 20 February.
QStringList plainConversion(QStringList lines, double factor, int *count)
{
    *count = 0;
    for (QString &l : lines) {
        const QString code = l.mid(9, 6), date = l.left(8);
        if (code < u"012000"_s || code > u"012300"_s || date < u"19990110"_s ||
            date > u"19990220"_s || l.count(u'\t') < 3)
            continue;
        double price = 0;
        if (!tryReadDecimal(quote::fields(l)[3], &price)) price = 0;
        quote::setPrice(l, price * factor);
        ++*count;
    }
    return lines;
}

// Lines of one security on one day, their rests in falling order: equal keys
// however the lines are cut into slices.
QStringList equalKeys(int count)
{
    QStringList lines;
    for (int k = count; k > 0; --k)
        lines.append(
            qline(u"19990120"_s, u"012000"_s, u"ACCOR"_s, u"%1,00"_s.arg(k), u"%1"_s.arg(k % 3)));
    return lines;
}

// The valuation's order as the straightforward stable sort gives it.
QStringList stableIgnoringCase(QStringList lines)
{
    std::stable_sort(lines.begin(), lines.end(), maintenance::lessIgnoringCase);
    return lines;
}

// Lines that differ by case and accents only, in code, name or rest: capitals
// and small letters of the code page (É/é, À/à, Œ/œ, Ÿ/ÿ), µ, the bytes
// 0x80 to 0x9F (€, “), repeated lines, lines held aside (☃) and lines of
// other shapes. With `oneDate`, every line is of one day.
QStringList foldingStore(int count, quint32 seed, bool oneDate = false)
{
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const char *const codes[] = {"00abc1", "00ABC1", "00Abc1", "012000", "0É0000",
                                 "0é0000", "€00001", "“00001", "ÿ00000", "Ÿ00000"};
    // No two names differ by their accents alone (the journal sorts order
    // those by the name on purpose).
    const char *const names[] = {"Élan",  "élan",  "ÉLAN", "À la carte", "à la carte",
                                 "Œuvre", "œuvre", "µ SA", "€uro",       "“Cité”",
                                 "ÿ",     "Ÿ",     "zeta", "Zeta",       "☃ neige"};
    const char *const odd[] = {"",
                               "z",
                               "Z",
                               "É",
                               "é",
                               "abc",
                               "ABC",
                               "19990105 sans tabulation",
                               "19990105\t00abc1",
                               "19990105\t00ABC1\t",
                               "1999010\tcourt",
                               "☃"};
    QStringList lines;
    while (lines.size() < count) {
        const int roll = pick(100);
        if (roll < 6) {
            lines.append(QString::fromUtf8(odd[pick(int(std::size(odd)))]));
        } else if (roll < 12 && !lines.isEmpty()) {
            lines.append(lines[pick(int(lines.size()))]);
        } else {
            const QString price = pick(2) ? u"1,00"_s : u"%1,%2"_s.arg(pick(20)).arg(pick(100));
            lines.append(qline(dateText(oneDate ? 7 : pick(4)),
                               QString::fromUtf8(codes[pick(int(std::size(codes)))]),
                               QString::fromUtf8(names[pick(int(std::size(names)))]), price,
                               pick(3) ? u"5"_s : u"É"_s));
        }
    }
    return lines;
}

// The regular lines of one day, their codes shuffled, some of them equal but
// for their case.
QStringList oneDayShuffled(int count, quint32 seed)
{
    std::mt19937 rng(seed);
    QStringList lines;
    for (int k = 0; k < count; ++k) {
        QString code = u"%1"_s.arg(k % 97 * 7919 % 1000000, 6, 10, QLatin1Char('0'));
        if (k % 5 == 0) code[2] = k % 10 ? u'x' : u'X';
        lines.append(qline(u"20050103"_s, code, u"TITRE %1"_s.arg(k % 97), u"1,00"_s, u"1"_s));
    }
    std::shuffle(lines.begin(), lines.end(), rng);
    return lines;
}

} // namespace

class TestMaintenance : public QObject
{
    Q_OBJECT

private slots:
    void rewritePrices_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("codeFrom");
        QTest::addColumn<QString>("codeTo");
        QTest::addColumn<QString>("dateFrom");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QStringList>("prices");
        // Lines: 012000 on 04/01 (65,60), 012000 on 05/01 (450,00), 013000 on
        // 05/01 (10,00), 999990 on 05/01 (65,60), 012000 on 06/01 (,50).
        const QString all0 = u"00000"_s, all9 = u"99999"_s;
        QTest::newRow("split of one security from 5 January")
            << 1 << u"012000"_s << u"012000"_s << u"19990105"_s << 10.0
            << QStringList{u"65,60"_s, u"45,00"_s, u"10,00"_s, u"65,60"_s, u"0,05"_s};
        QTest::newRow("factor 0 changes nothing")
            << 1 << all0 << all9 << u"19990101"_s << 0.0
            << QStringList{u"65,60"_s, u"450,00"_s, u"10,00"_s, u"65,60"_s, u",50"_s};
    }
    void rewritePrices()
    {
        QFETCH(int, direction);
        QFETCH(QString, codeFrom);
        QFETCH(QString, codeTo);
        QFETCH(QString, dateFrom);
        QFETCH(double, factor);
        QFETCH(QStringList, prices);
        const QStringList before{ql("19990104", "012000", "EXEMPLE SA", "65,60", "1200"),
                                 ql("19990105", "012000", "EXEMPLE SA", "450,00", "900"),
                                 ql("19990105", "013000", "AUTRE", "10,00"),
                                 ql("19990105", "999990", "HORS BORNES", "65,60", "7"),
                                 ql("19990106", "012000", "EXEMPLE SA", ",50", "3")};
        QStringList store = before;
        maintenance::rewritePrices(store, direction, dateFrom, u"19991231"_s, codeFrom, codeTo,
                                   factor);
        QCOMPARE(store.size(), before.size());
        for (int i = 0; i < store.size(); ++i) {
            QStringList f = quote::fields(before[i]);
            f[3] = prices[i]; // only the price moves
            QCOMPARE(store[i], f.join(u'\t'));
        }
    }

    // A line longer than 64 KB is rewritten whole, among lines of the usual length.
    void rewritePrices_longLine()
    {
        const QString volume(70000, u'9');
        QuoteLines store({ql("19990105", "012000", "COURT", "450,00"),
                          qline(u"19990105"_s, u"012000"_s, u"LONG"_s, u"450,00"_s, volume)});
        QCOMPARE(maintenance::rewritePrices(store, 1, u"19990101"_s, u"19991231"_s, u"012000"_s,
                                            u"012000"_s, 10.0),
                 2);
        QCOMPARE(store.at(0), ql("19990105", "012000", "COURT", "45,00"));
        QCOMPARE(store.at(1), qline(u"19990105"_s, u"012000"_s, u"LONG"_s, u"45,00"_s, volume));
    }

    // A new price that would not be written as a number refuses the whole
    // command, whatever line holds it.
    void rewritePrices_tooLarge_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("price");
        QTest::addColumn<int>("refusedLine"); // 0: accepted
        QTest::addColumn<QString>("written");
        QTest::newRow("multiplication overflows")
            << 2 << 1000.0 << u"1"_s + QString(306, u'0') + u",00"_s << 3 << QString();
        QTest::newRow("division by a tiny factor overflows")
            << 1 << 1e-10 << u"1e300"_s << 3 << QString();
        QTest::newRow("negative overflow") << 2 << 1e10 << u"-1e300"_s << 3 << QString();
        QTest::newRow("finite but too large in cents") << 2 << 10.0 << u"1e307"_s << 3 << QString();
        QTest::newRow("large but plain")
            << 2 << 100.0 << u"1e13"_s << 0 << u"1000000000000000,00"_s;
    }
    void rewritePrices_tooLarge()
    {
        QFETCH(int, direction);
        QFETCH(double, factor);
        QFETCH(QString, price);
        QFETCH(int, refusedLine);
        QFETCH(QString, written);
        // Line 1 is out of the range: its price is never computed.
        const QStringList before{ql("19990105", "999990", "HORS BORNES", "1e307", "1"),
                                 ql("19990105", "012000", "EXEMPLE SA", "10,00", "2"),
                                 u"19990106\t012000\tEXEMPLE SA\t"_s + price + u"\t3"_s};
        QStringList store = before;
        try {
            const int count = maintenance::rewritePrices(
                store, direction, u"19990101"_s, u"19991231"_s, u"012000"_s, u"012000"_s, factor);
            QVERIFY2(refusedLine == 0, qPrintable(u"written: "_s + store[2]));
            QCOMPARE(count, 2);
            QCOMPARE(quote::fields(store[2])[3], written);
        } catch (const VError &e) {
            QCOMPARE(e.message(), u"Conversion impossible : le cours de la ligne %1 deviendrait "
                                  u"trop grand"_s.arg(refusedLine));
            QCOMPARE(store, before);
        }
    }

    void rewritePrices_lineWithoutVolume()
    {
        QStringList store{u"19990105\t012000\tEX\t10,00\t5"_s, u"19990105\t012000\tEX\t10,00"_s,
                          u"19990105\t012000\tEX"_s, u"19990105\t012000"_s};
        QCOMPARE(maintenance::rewritePrices(store, 1, u"19990101"_s, u"19991231"_s, u"000000"_s,
                                            u"999999"_s, 4),
                 2);
        QCOMPARE(store,
                 (QStringList{u"19990105\t012000\tEX\t2,50\t5"_s, u"19990105\t012000\tEX\t2,50"_s,
                              u"19990105\t012000\tEX"_s, u"19990105\t012000"_s}));
    }

    // However many threads share the work, every bulk change gives the lines
    // a plain reading gives: stores too small to split, cut points inside
    // runs of equal keys, lines held aside and lines of other shapes.
    void splitWork_data()
    {
        QTest::addColumn<QStringList>("store");
        QTest::newRow("empty store") << QStringList();
        QTest::newRow("one line") << QStringList{ql("19990120", "012000", "ACCOR", "1,00", "5")};
        QTest::newRow("two lines") << realisticStore(2, 11);
        QTest::newRow("three lines") << realisticStore(3, 12);
        QTest::newRow("odd count") << realisticStore(101, 13);
        QTest::newRow("equal keys across every cut") << equalKeys(9);
        QTest::newRow("equal keys among others")
            << realisticStore(40, 14) + equalKeys(13) + realisticStore(40, 15);
        QStringList aside = realisticStore(60, 16);
        for (int i = 0; i < aside.size(); i += 7) // Ł and Ő: outside Windows-1252
            aside[i] = qline(dateText(i % 60), u"012037"_s, i % 2 ? u"Łódź SA"_s : u"Győr"_s,
                             u"2,50"_s, u"9"_s);
        QTest::newRow("lines held aside") << aside;
        QTest::newRow("lines of other shapes only")
            << QStringList{u"Total"_s, u"zzz"_s, u"19990105 000001 sans tabulation"_s,
                           u"19990105\t000001"_s, u"1999O105\t012000\tACCOR\t2,00\t1"_s};
        QTest::newRow("a larger store") << realisticStore(3001, 17);
        // In date order, as a file grows and as both sorts leave it: each
        // day is ordered among itself, a day across a cut included.
        QStringList byDate = realisticStore(2001, 18);
        std::stable_sort(byDate.begin(), byDate.end(),
                         [](const QString &a, const QString &b) { return a.left(8) < b.left(8); });
        QTest::newRow("in date order, each day as it came") << byDate;
        QTest::newRow("in date order, sorted by name") << referenceSort(byDate, true);
        QTest::newRow("in date order, sorted by code") << referenceSort(byDate, false);
        // The same, every line of the regular shape: each day read again
        // and ordered where it stands.
        const QStringList regular = regularByDate(realisticStore(2001, 19));
        QTest::newRow("regular, in date order, each day as it came") << regular;
        QTest::newRow("regular, in date order, sorted by name") << referenceSort(regular, true);
        QTest::newRow("regular, in date order, sorted by code") << referenceSort(regular, false);
        QTest::newRow("case only: equal lines keep their order")
            << QStringList{u"abc"_s, u"ABC"_s, u"Abc"_s, u"abC"_s, u"abc"_s};
        QTest::newRow("accented capitals and small letters") << foldingStore(300, 31);
        QTest::newRow("the same, more lines") << foldingStore(2000, 32);
        QTest::newRow("already in the valuation's order")
            << stableIgnoringCase(foldingStore(400, 33));
        QTest::newRow("one date, codes shuffled, cases mixed") << oneDayShuffled(500, 34);
        QTest::newRow("one date, cases and accents") << foldingStore(600, 35, true);
        QTest::newRow("every byte of the code page, alone and after a letter") << [] {
            QStringList lines;
            for (int b = 255; b > 0; --b) {
                const QChar c(windows1252Char(uchar(b)));
                lines << QString(c) << u"a"_s + c << u"A"_s + c + u'x';
            }
            return lines;
        }();
    }
    void splitWork()
    {
        QFETCH(QStringList, store);
        const QStringList byCode = referenceSort(store, false);
        const QStringList byName = referenceSort(store, true);
        const QStringList ignoringCase = stableIgnoringCase(store);
        const QString cutoff = u"19990120"_s;
        const int keep = int(store.size() / 2);
        qsizetype cut = 0;
        if (keep >= 1)
            while (cut < store.size() - keep &&
                   QStringView(byCode[cut]).left(8).compare(cutoff) < 0)
                ++cut;
        int converted = 0;
        const QStringList conversion = plainConversion(store, 3, &converted);
        for (const int threads : {1, 2, 3, 4, 7}) {
            const QByteArray as = "threads: " + QByteArray::number(threads);
            QuoteLines lines(store);
            maintenance::sortByCode(lines, threads);
            QVERIFY2(lines.toStringList() == byCode, as);
            maintenance::sortByName(lines, threads);
            QVERIFY2(lines.toStringList() == byName, as);

            // Sorted where the lines stand (lines in date order, no copy),
            // or into new references while a copy holds them: what the sort
            // kept puts them back, and the copy never changes.
            for (const bool held : {false, true}) {
                lines = QuoteLines(store);
                const QuoteLines copy = held ? lines : QuoteLines();
                maintenance::Reordered reordered;
                maintenance::sortByName(lines, threads, {}, &reordered);
                QVERIFY2(lines.toStringList() == byName, as);
                QCOMPARE(reordered.from.isEmpty(), reordered.before.size() == store.size());
                QuoteLines back = reordered.from.isEmpty() ? reordered.before : lines;
                if (!reordered.from.isEmpty())
                    back.putBack(reinterpret_cast<const quint32 *>(reordered.from.constData()));
                QVERIFY2(back.toStringList() == store, as);
                QVERIFY2(lines.toStringList() == byName, as);
                if (held) QVERIFY2(copy.toStringList() == store && reordered.from.isEmpty(), as);
            }

            lines = QuoteLines(store);
            QCOMPARE(maintenance::sortedIgnoringCase(lines, threads), store == ignoringCase);
            maintenance::sortIgnoringCase(lines, threads);
            QVERIFY2(lines.toStringList() == ignoringCase, as);
            QVERIFY2(maintenance::sortedIgnoringCase(lines, threads), as);

            lines = QuoteLines(store);
            const int removed = maintenance::reorganise(lines, cutoff, keep, threads);
            if (keep < 1) {
                QCOMPARE(removed, -1);
                QVERIFY2(lines.toStringList() == store, as);
            } else {
                QCOMPARE(removed, int(cut));
                QVERIFY2(lines.toStringList() == byCode.mid(cut), as);
            }

            lines = QuoteLines(store);
            const QuoteLines before = lines; // the undo copy keeps its lines
            QCOMPARE(maintenance::rewritePrices(lines, 2, u"19990110"_s, u"19990220"_s, u"012000"_s,
                                                u"012300"_s, 3, threads),
                     converted);
            QVERIFY2(lines.toStringList() == conversion, as);
            QVERIFY2(before.toStringList() == store, as);
            lines.append(u"après"_s); // after the lines the threads wrote
            QVERIFY2(lines.toStringList() == conversion + QStringList{u"après"_s}, as);

            // Written over in place, then put back: by a copy that shares
            // the bytes (into blocks of its own), then by the store alone.
            lines = QuoteLines(store);
            QuoteLines::Former former;
            QCOMPARE(maintenance::overwritePrices(lines, former, 2, u"19990110"_s, u"19990220"_s,
                                                  u"012000"_s, u"012300"_s, 3, threads),
                     converted);
            QVERIFY2(lines.toStringList() == conversion, as);
            {
                QuoteLines copy = lines;
                copy.restore(former);
                QVERIFY2(copy.toStringList() == store, as);
                QVERIFY2(lines.toStringList() == conversion, as);
            }
            const qsizetype held = lines.heldBytes();
            lines.restore(former);
            QVERIFY2(lines.toStringList() == store, as);
            QCOMPARE(lines.heldBytes(), held); // where the lines stood
        }
    }

    // The program's own count splits a store of more than a hundred thousand
    // lines: the same lines as on one thread.
    void splitWork_largeStore()
    {
        const QStringList store = realisticStore(120000, 21);
        for (const bool byName : {false, true}) {
            QuoteLines one(store), own(store);
            byName ? maintenance::sortByName(one, 1) : maintenance::sortByCode(one, 1);
            byName ? maintenance::sortByName(own) : maintenance::sortByCode(own);
            QVERIFY(one == own);
            // A store of regular lines in date order, held by no copy: sorted
            // where it stands.
            const QStringList regular = regularByDate(store);
            QuoteLines alone(regular);
            maintenance::Reordered reordered;
            byName ? maintenance::sortByName(alone, 0, {}, &reordered)
                   : maintenance::sortByCode(alone, 0, {}, &reordered);
            QVERIFY(alone.toStringList() == referenceSort(regular, byName));
            QCOMPARE(reordered.from.size(), regular.size() * qsizetype(sizeof(quint32)));
        }
        {
            QuoteLines one(store), own(store);
            maintenance::sortIgnoringCase(one, 1);
            maintenance::sortIgnoringCase(own);
            QVERIFY(one == own);
            QVERIFY(maintenance::sortedIgnoringCase(own));
            QVERIFY(!maintenance::sortedIgnoringCase(QuoteLines(store)));
        }
        QuoteLines one(store), own(store);
        QCOMPARE(maintenance::rewritePrices(own, 1, u"19990101"_s, u"19991231"_s, u"000000"_s,
                                            u"999999"_s, 6.55957),
                 maintenance::rewritePrices(one, 1, u"19990101"_s, u"19991231"_s, u"000000"_s,
                                            u"999999"_s, 6.55957, 1));
        QVERIFY(one == own);
        QVERIFY(own != QuoteLines(store));
    }

    // Prices too large in several slices: the first line in the store's order
    // is named, and nothing changes.
    void rewritePrices_firstRefusalNamed_data()
    {
        QTest::addColumn<QList<int>>("large"); // lines holding too large a price
        QTest::newRow("one, in the middle") << QList<int>{4};
        QTest::newRow("first and last") << QList<int>{0, 8};
        QTest::newRow("in every slice") << QList<int>{1, 3, 5, 7};
        QTest::newRow("the last only") << QList<int>{8};
    }
    void rewritePrices_firstRefusalNamed()
    {
        QFETCH(QList<int>, large);
        QStringList before;
        for (int i = 0; i < 9; ++i)
            before.append(
                ql("19990120", "012000", "ACCOR", large.contains(i) ? "1e307" : "10,00", "1"));
        for (const int threads : {1, 2, 3, 4, 9}) {
            // Written into new blocks, checked only, and written over in
            // place (what the slices before wrote is put back: with a factor
            // of 1 every price fits where it was).
            for (int way = 0; way < 6; ++way) {
                const double factor = way < 3 ? 10 : 1;
                QuoteLines lines(before);
                QuoteLines::Former former;
                try {
                    const QString from = u"19990101"_s, to = u"19991231"_s, code = u"012000"_s;
                    if (way % 3 == 0)
                        maintenance::rewritePrices(lines, 2, from, to, code, code, factor, threads);
                    else if (way % 3 == 1)
                        maintenance::checkPrices(lines, 2, from, to, code, code, factor, threads);
                    else
                        maintenance::overwritePrices(lines, former, 2, from, to, code, code, factor,
                                                     threads);
                    QFAIL("not refused");
                } catch (const VError &e) {
                    QCOMPARE(e.message(), u"Conversion impossible : le cours de la ligne %1 "
                                          u"deviendrait trop grand"_s.arg(large.first() + 1));
                }
                QCOMPARE(lines.toStringList(), before);
                QVERIFY(former.isEmpty());
            }
        }
    }

    void sort_data()
    {
        QTest::addColumn<bool>("byName");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("date + code: the code decides")
            << false
            << QStringList{ql("19990105", "000001", "ZETA", "1,00"),
                           ql("19990105", "000002", "ALPHA", "1,00")};
        QTest::newRow("date + name: the name decides, after the date")
            << true
            << QStringList{ql("19990104", "000009", "ZETA", "9,00"),
                           ql("19990105", "000002", "ALPHA", "1,00"),
                           ql("19990105", "000001", "ZETA", "1,00")};
        QTest::newRow("no case, accents with their letter, shorter first")
            << true
            << QStringList{ql("19990105", "000003", "alpha", "1,00"),
                           ql("19990105", "000001", "Beta", "1,00"),
                           ql("19990105", "000004", "Éramet", "1,00"),
                           ql("19990105", "000002", "Total", "1,00"),
                           ql("19990105", "000005", "Total Fina", "1,00")};
        QTest::newRow("equal keys: the rest, then the whole line")
            << false
            << QStringList{ql("19990105", "000001", "ALPHA", "10,00"),
                           ql("19990105", "000001", "ALPHA", "9,00"),
                           ql("19990105", "000001", "Alpha", "9,00"),
                           ql("19990105", "000001", "alpha", "9,00")};
        QTest::newRow("signs collate as in French, not as in ASCII")
            << false
            << QStringList{ql("19990105", "000001", "ALPHA", "-1,00"),
                           ql("19990105", "000001", "ALPHA", ",50")};
        // Our choice: a name that differs only by its accents decides before
        // the price that follows it.
        QTest::newRow("accents only: the name decides")
            << false
            << QStringList{ql("19990105", "000001", "Elan", "12,00"),
                           ql("19990105", "000001", "Élan", "11,00")};
    }
    void sort()
    {
        QFETCH(bool, byName);
        QFETCH(QStringList, sorted);
        for (int r = 0; r < sorted.size(); ++r) { // every rotation, and its reverse
            QStringList input = sorted.mid(r) + sorted.mid(0, r);
            for (int pass = 0; pass < 2; ++pass) {
                std::reverse(input.begin(), input.end());
                QStringList out = input;
                byName ? maintenance::sortByName(out) : maintenance::sortByCode(out);
                QCOMPARE(out, sorted);
            }
        }
    }

    void sort_matchesWholeKeyCollation_data()
    {
        QTest::addColumn<bool>("byName");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("date + code") << false << 1u;
        QTest::newRow("date + code, other draw") << false << 2u;
        QTest::newRow("date + name") << true << 3u;
        QTest::newRow("date + name, other draw") << true << 4u;
    }
    void sort_matchesWholeKeyCollation()
    {
        QFETCH(bool, byName);
        QFETCH(quint32, seed);
        QStringList store = realisticStore(8000, seed);
        const QStringList expected = referenceSort(store, byName);
        byName ? maintenance::sortByName(store) : maintenance::sortByCode(store);
        for (int i = 0; i < store.size(); ++i)
            QVERIFY2(store[i] == expected[i],
                     qPrintable(u"line %1: %2 instead of %3"_s.arg(i).arg(store[i], expected[i])));
    }

    // The valuation's order on a few lines, by hand: folded characters by
    // their code point (accented letters after every ASCII one), then the
    // shorter first; lines equal ignoring case keep their order.
    void sortIgnoringCase_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("case only") << QStringList{u"b"_s, u"A"_s, u"a"_s, u"B"_s, u"ab"_s}
                                   << QStringList{u"A"_s, u"a"_s, u"ab"_s, u"b"_s, u"B"_s};
        QTest::newRow("accents after ASCII, capitals with their small letter")
            << QStringList{u"é1"_s, u"Z"_s, u"É0"_s, u"e"_s, u"à"_s, u"À"_s}
            << QStringList{u"e"_s, u"Z"_s, u"à"_s, u"À"_s, u"É0"_s, u"é1"_s};
        QTest::newRow("beyond Latin-1: by the folded character")
            << QStringList{u"€"_s, u"µ"_s, u"Œ"_s, u"ÿ"_s, u"“"_s, u"Ÿ"_s, u"œ"_s}
            << QStringList{u"ÿ"_s, u"Ÿ"_s, u"Œ"_s, u"œ"_s, u"µ"_s, u"“"_s, u"€"_s};
        QTest::newRow("held aside among the others")
            << QStringList{u"☃"_s, u"µ"_s, u"Ω"_s, u"z"_s, u"€"_s, u"ω"_s}
            << QStringList{u"z"_s, u"µ"_s, u"Ω"_s, u"ω"_s, u"€"_s, u"☃"_s};
        QTest::newRow("regular lines: code ignoring case, then the name")
            << QStringList{ql("19990105", "00abc1", "Élan", "1,00"),
                           ql("19990105", "00ABC1", "elan", "2,00"),
                           ql("19990104", "00ABD1", "A", "1,00"),
                           ql("19990105", "00ABC1", "ELAN", "2,00")}
            << QStringList{ql("19990104", "00ABD1", "A", "1,00"),
                           ql("19990105", "00ABC1", "elan", "2,00"),
                           ql("19990105", "00ABC1", "ELAN", "2,00"),
                           ql("19990105", "00abc1", "Élan", "1,00")};
    }
    void sortIgnoringCase()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, sorted);
        QCOMPARE(maintenance::sortedIgnoringCase(QuoteLines(lines)), lines == sorted);
        QCOMPARE(stableIgnoringCase(lines), sorted); // the reference agrees
        maintenance::sortIgnoringCase(lines);
        QCOMPARE(lines, sorted);
        QVERIFY(maintenance::sortedIgnoringCase(QuoteLines(lines)));
    }
};

QTEST_GUILESS_MAIN(TestMaintenance)
#include "tst_maintenance.moc"

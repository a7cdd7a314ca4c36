// The document's data without windows: the rule of each change of the
// store (undo copy, modified flag), failed changes, undo, and when the
// index is out of date.
#include "base/errors.h"
#include "base/formats.h"
#include "quotes/BourseData.h"
#include "quotes/maintenance.h"
#include "quotes/store.h"
#include "testkit.h"

#include <QTest>

#include <optional>
#include <stdexcept>

using Change = BourseData::Change;
Q_DECLARE_METATYPE(BourseData::Change)

namespace
{
const QStringList kStore = {ql("19990301", "000001", "ALPHA", "10,00"),
                            ql("19990302", "000002", "BETA", "20,00")};
const QString kNewCode = ql("19990303", "000003", "GAMMA", "30,00");
// Two days of two securities, each day's lines out of the order of their
// codes; the first day's ALPHA named `alpha`.
QStringList twoDaysOfTwo(const char *alpha)
{
    return {ql("19990301", "000002", "BETA", "2,00"), ql("19990301", "000001", alpha, "1,00"),
            ql("19990401", "000002", "BETA", "2,10"), ql("19990401", "000001", "ALPHA", "1,10")};
}

} // namespace

class TestBourseData : public QObject
{
    Q_OBJECT
private slots:
    void change_followsItsRule_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("undoCopy");
        QTest::addColumn<bool>("modified");
        QTest::newRow("entry page left") << Change::Entry << false << true;
        QTest::newRow("Modifier ligne") << Change::Correction << false << true;
        QTest::newRow("Convertir en euros") << Change::Conversion << true << true;
        QTest::newRow("Diviser titre") << Change::Split << true << true;
        QTest::newRow("Supprimer titre") << Change::SecurityDeletion << true << true;
        QTest::newRow("Supprimer ligne(s)") << Change::LineDeletion << true << true;
        QTest::newRow("Réorganiser la base") << Change::Reorganisation << true << true;
        QTest::newRow("Date + nom") << Change::SortByName << true << true;
        QTest::newRow("Date + code") << Change::SortByCode << true << true;
        QTest::newRow("Importer") << Change::Import << true << true;
        QTest::newRow("valuation's sort") << Change::PortfolioSort << false << false;
    }
    void change_followsItsRule()
    {
        QFETCH(Change, change);
        QFETCH(bool, undoCopy);
        QFETCH(bool, modified);
        StartFixture env;
        BourseData data(env.dir.path());
        data.replaceStore(kStore);
        data.clearUndo();
        data.change(change, [](QStringList &store) { store.removeLast(); });
        QCOMPARE(data.store(), QStringList{kStore.first()});
        QCOMPARE(data.undo(), undoCopy ? kStore : QStringList());
        QCOMPARE(data.isModified(), modified);

        // A change that fails leaves everything as it was, the keys of the
        // lines built before it too.
        saveStore(data, env.prompts);
        const QStringList undo = data.undo();
        QCOMPARE(data.codeLines(u("000001")), (QList<qsizetype>{0}));
        const auto failing = [](QStringList &store) {
            store.clear();
            throw VError(u("refusé"));
        };
        bool thrown = false;
        try {
            data.change(change, failing);
        } catch (const VError &) {
            thrown = true;
        }
        QVERIFY(thrown);
        QCOMPARE(data.store(), QStringList{kStore.first()});
        QCOMPARE(data.undo(), undo);
        QVERIFY(!data.isModified());
        QCOMPARE(data.codeLines(u("000001")), (QList<qsizetype>{0}));
        QCOMPARE(data.monthLines(QDate(1999, 3, 1)), (QList<qsizetype>{0}));
    }

    void change_tellsWhenTheCodesChanged_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("codesChanged");
        QTest::newRow("a new security typed")
            << Change::Entry << (kStore + QStringList{kNewCode}) << true;
        QTest::newRow("a known security typed")
            << Change::Entry << (kStore + QStringList{kStore[0]}) << false;
        QTest::newRow("last line of a security deleted")
            << Change::LineDeletion << QStringList{kStore[0]} << true;
        QTest::newRow("a code corrected")
            << Change::Correction << QStringList{kStore[0], kNewCode} << true;
        QTest::newRow("a new security imported")
            << Change::Import << QStringList{kNewCode, kStore[0], kStore[1]} << true;
        QTest::newRow("sorted") << Change::SortByCode << QStringList{kStore[1], kStore[0]} << false;
        QTest::newRow("known securities imported after the store")
            << Change::Import << (kStore + QStringList{kStore[1], kStore[0]}) << false;
        QTest::newRow("a blank code imported")
            << Change::Import << (kStore + QStringList{ql("19990303", "      ", "SANS", "1,00")})
            << false;
        QTest::newRow("a new code of letters imported after a known one")
            << Change::Import
            << (kStore + QStringList{kStore[0], ql("19990303", "ABCDEF", "LETTRES", "1,00")})
            << true;
    }
    void change_tellsWhenTheCodesChanged()
    {
        QFETCH(Change, change);
        QFETCH(QStringList, after);
        QFETCH(bool, codesChanged);
        StartFixture env;
        BourseData data(env.dir.path());
        data.replaceStore(kStore);
        QCOMPARE(data.change(change, [&](QStringList &store) { store = after; }), codesChanged);
        // With the keys of the lines built before, which then tell the codes,
        // and the undo, which brings the keys back: the same answers.
        BourseData keyed(env.dir.path());
        keyed.replaceStore(kStore);
        QCOMPARE(keyed.codeLines(u("000002")), (QList<qsizetype>{1}));
        QCOMPARE(keyed.change(change, [&](QStringList &store) { store = after; }), codesChanged);
        if (BourseData::rule(change).undoCopy) {
            QCOMPARE(keyed.restoreUndo(), codesChanged);
            QCOMPARE(keyed.store(), kStore);
            QCOMPARE(keyed.codeLines(u("000002")), (QList<qsizetype>{1}));
            QCOMPARE(keyed.monthLines(QDate(1999, 3, 1)), (QList<qsizetype>{0, 1}));
        }
        // The same lines many times over, enough for both stores to be read
        // at once: the same answer.
        QStringList manyBefore, manyAfter;
        for (int k = 0; k < 120000; ++k) {
            manyBefore += kStore;
            manyAfter += after;
        }
        BourseData large(env.dir.path());
        large.replaceStore(manyBefore);
        QCOMPARE(large.change(change, [&](QuoteLines &store) { store = manyAfter; }), codesChanged);
        // Lines appended after the store, with its keys built: the same answer.
        if (after.mid(0, kStore.size()) == kStore) {
            BourseData appended(env.dir.path());
            appended.replaceStore(kStore);
            QCOMPARE(appended.codeLines(u("000001")), (QList<qsizetype>{0}));
            QCOMPARE(appended.appendLines(change, after.mid(kStore.size())), codesChanged);
            QCOMPARE(appended.store(), after);
            QCOMPARE(appended.undo(), kStore);
            QCOMPARE(appended.isModified(), BourseData::rule(change).modified);
        }
    }

    // The keys kept beside the store give the lines a reading of every line
    // gives, whatever the lines hold, and follow every change.
    void monthAndCodeLines_asAPlainReading_data()
    {
        QTest::addColumn<QStringList>("store");
        QTest::addColumn<QDate>("month");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QList<qsizetype>>("monthLines");
        QTest::addColumn<QList<qsizetype>>("codeLines");
        const QStringList odd = {ql("19990301", "000001", "ALPHA", "1,00"),
                                 u("199903xx\t000001\tMAUVAISE DATE\t1,00\t"),
                                 u("19990302\tAB1\tCOURT"),
                                 ql("19990401", "000001", "ALPHA", "2,00"),
                                 u("1999"),
                                 ql("19990331", "AB1\tC", "X", "3,00"),
                                 QString()};
        QTest::newRow("six-digit code")
            << odd << QDate(1999, 3, 15) << u("000001") << QList<qsizetype>{0, 1, 2, 5}
            << QList<qsizetype>{0, 1, 3};
        QTest::newRow("short code at the end of its line")
            << odd << QDate(1999, 4, 1) << u("AB1\tCO") << QList<qsizetype>{3}
            << QList<qsizetype>{2};
        const QStringList back = {ql("19990401", "000001", "ALPHA", "1,00"), u("1999"),
                                  ql("19990301", "000002", "BETA", "1,00"),
                                  ql("19981201", "000001", "ALPHA", "2,00"),
                                  ql("19990302", "000001", "ALPHA", "3,00")};
        QTest::newRow("months going back, one line without a month")
            << back << QDate(1999, 3, 1) << u("000001") << QList<qsizetype>{2, 4}
            << QList<qsizetype>{0, 3, 4};
        QTest::newRow("one line") << QStringList{back[0]} << QDate(1999, 4, 9) << u("000001")
                                  << QList<qsizetype>{0} << QList<qsizetype>{0};
        QTest::newRow("empty store") << QStringList() << QDate(1999, 3, 1) << u("000001")
                                     << QList<qsizetype>{} << QList<qsizetype>{};
        QTest::newRow("unknown code, empty month")
            << odd << QDate(2001, 1, 1) << u("999999") << QList<qsizetype>{} << QList<qsizetype>{};
        // Lines of one code far apart, and more lines than are keyed at once.
        QStringList far;
        QList<qsizetype> april;
        const QList<qsizetype> farCode = {0, 200, 17000, 280000};
        for (qsizetype i = 0; i < 300000; ++i) {
            const QDate day = QDate(1999, 3, 1).addDays(i / 5000);
            far.append(i == 200000 ? u("1999")
                                   : qline(toStored(day),
                                           farCode.contains(i) ? u("000001")
                                                               : QString::number(100000 + i % 500),
                                           u("X"), u("1,00")));
            if (day.month() == 4 && i != 200000) april.append(i);
        }
        QTest::newRow("far apart, many lines")
            << far << QDate(1999, 4, 1) << u("000001") << april << farCode;
        // Every code six digits: the keys kept follow the changes.
        QStringList regular = far;
        regular[200000] = ql("19990410", "100007", "X", "1,00");
        QList<qsizetype> aprilAll = april;
        aprilAll.insert(std::lower_bound(aprilAll.begin(), aprilAll.end(), 200000), 200000);
        QTest::newRow("far apart, every code six digits")
            << regular << QDate(1999, 4, 1) << u("000001") << aprilAll << farCode;
        // Codes of six characters that are not all digits, among others.
        const QStringList letters = {ql("19990302", "ABCDEF", "LETTRES", "1,00"),
                                     ql("19990301", "000002", "BETA", "1,00"),
                                     ql("19990301", "abcdef", "lettres", "1,00"),
                                     ql("19990301", "ABCDEF", "LETTRES", "2,00"),
                                     ql("19990402", "00000A", "MIXTE", "1,00"),
                                     ql("19990301", "000009", "AAA", "1,00"),
                                     ql("19990303", "000001", "ZZZ", "1,00")};
        QTest::newRow("codes of letters")
            << letters << QDate(1999, 3, 1) << u("ABCDEF") << QList<qsizetype>{0, 1, 2, 3, 5, 6}
            << QList<qsizetype>{0, 3};
    }
    void monthAndCodeLines_asAPlainReading()
    {
        QFETCH(QStringList, store);
        QFETCH(QDate, month);
        QFETCH(QString, code);
        QFETCH(QList<qsizetype>, monthLines);
        QFETCH(QList<qsizetype>, codeLines);
        StartFixture env;
        BourseData data(env.dir.path());
        data.replaceStore(kStore);
        QCOMPARE(data.monthLines(QDate(1999, 3, 1)), (QList<qsizetype>{0, 1}));
        data.change(Change::Import, [&](QStringList &lines) { lines = store; });
        QCOMPARE(data.monthLines(month), monthLines);
        QCOMPARE(data.codeLines(code), codeLines);
        // The period narrows both.
        data.setPeriod(1, QDate(1999, 3, 2), QDate(1999, 3, 31));
        QList<qsizetype> inside;
        for (const qsizetype i : monthLines)
            if (data.Dedans(store[i])) inside.append(i);
        QCOMPARE(data.monthLines(month), inside);
        // The keys built while the file is read: the same lines.
        env.dir.write(u("Cours.vmq"), store);
        BourseData loaded(env.dir.path());
        loaded.Init();
        QCOMPARE(loaded.monthLines(month), monthLines);
        QCOMPARE(loaded.codeLines(code), codeLines);
        // Sorted, each way, with the keys the sort tells: the lines a plain
        // reading of the sorted store gives.
        for (const bool byName : {true, false}) {
            BourseData sorted(env.dir.path());
            sorted.Init();
            sorted.changeWithKeys(Change::SortByName,
                                  [&](QuoteLines &lines, const maintenance::KeysOfSorted &keys,
                                      maintenance::Reordered *reordered) {
                                      byName ? maintenance::sortByName(lines, 2, keys, reordered)
                                             : maintenance::sortByCode(lines, 2, keys, reordered);
                                  });
            const QStringList after = sorted.store();
            QList<qsizetype> plainMonth, plainCode;
            for (qsizetype i = 0; i < after.size(); ++i) {
                if (after[i].startsWith(month.toString(u("yyyyMM")))) plainMonth.append(i);
                if (after[i].mid(9, 6) == code) plainCode.append(i);
            }
            QCOMPARE(sorted.monthLines(month), plainMonth);
            QCOMPARE(sorted.codeLines(code), plainCode);
            // A sort whose edit fails after it changes nothing; one that
            // succeeds is undone: the lines as loaded, and their keys.
            QVERIFY_THROWS_EXCEPTION(
                std::runtime_error,
                sorted.changeWithKeys(Change::SortByCode,
                                      [&](QuoteLines &lines, const maintenance::KeysOfSorted &,
                                          maintenance::Reordered *reordered) {
                                          maintenance::sortByCode(lines, 2, {}, reordered);
                                          throw std::runtime_error("after the sort");
                                      }));
            QCOMPARE(sorted.store(), after);
            QCOMPARE(sorted.monthLines(month), plainMonth);
            if (byName) QCOMPARE(sorted.undo(), loaded.store()); // built when asked for
            QVERIFY(!sorted.restoreUndo());
            QCOMPARE(sorted.store(), loaded.store());
            QCOMPARE(sorted.monthLines(month), monthLines);
            QCOMPARE(sorted.codeLines(code), codeLines);
        }
        // A change of prices keeps the keys; one that takes a line away
        // after all does not.
        loaded.change(Change::Conversion, [](QuoteLines &lines) {
            maintenance::rewritePrices(lines, 1, u("00000000"), u("99999999"), u("000000"),
                                       u("ZZZZZZ"), 2.0);
        });
        QCOMPARE(loaded.monthLines(month), monthLines);
        QCOMPARE(loaded.codeLines(code), codeLines);
        loaded.change(Change::Split, [](QStringList &lines) {
            if (!lines.isEmpty()) lines.removeFirst();
        });
        auto shifted = [](const QList<qsizetype> &lines) {
            QList<qsizetype> out;
            for (const qsizetype i : lines)
                if (i > 0) out.append(i - 1);
            return out;
        };
        QCOMPARE(loaded.monthLines(month), shifted(monthLines));
        QCOMPARE(loaded.codeLines(code), shifted(codeLines));
        // The keys extended by lines appended, whatever lines were stored
        // first: the same lines.
        for (qsizetype split = 0; split <= store.size();
             split += std::max<qsizetype>(1, store.size() / 7)) {
            BourseData appended(env.dir.path());
            appended.replaceStore(store.mid(0, split));
            appended.monthLines(month); // the keys are built
            appended.appendLines(Change::Import, store.mid(split));
            QCOMPARE(appended.monthLines(month), monthLines);
            QCOMPARE(appended.codeLines(code), codeLines);
        }
        // Lines taken away where they stand (every third one; the first line
        // and the month's; a run in the middle): the keys follow without a
        // line read again, and
        // give what a plain reading of the lines left gives, the first line
        // of each code in order too.
        const QString monthKey = month.toString(u"yyyyMM");
        for (const int round : {0, 1, 2}) {
            BourseData removing(env.dir.path());
            removing.Init();
            removing.codeLines(code); // the keys are built
            const QStringList before = removing.store();
            const qsizetype n = before.size();
            removing.removeLines(
                Change::LineDeletion, [&](QuoteLines &lines, std::vector<qint32> &removed) {
                    for (qsizetype i = 0; i < lines.size(); ++i)
                        if (round == 0   ? i % 3 == 1
                            : round == 1 ? i == 0 || lines.at(i).startsWith(monthKey)
                                         : i >= n / 3 && i < n / 2)
                            removed.push_back(qint32(i));
                    lines.keepIf([&](qsizetype i) {
                        return !std::binary_search(removed.begin(), removed.end(), qint32(i));
                    });
                });
            const QStringList after = removing.store();
            QList<qsizetype> plainMonth, plainCode;
            std::vector<qsizetype> plainFirsts;
            QSet<QString> seen;
            for (qsizetype i = 0; i < after.size(); ++i) {
                if (after[i].startsWith(monthKey)) plainMonth.append(i);
                if (after[i].mid(9, 6) == code) plainCode.append(i);
                if (!seen.contains(after[i].mid(9, 6))) plainFirsts.push_back(i);
                seen.insert(after[i].mid(9, 6));
            }
            QCOMPARE(removing.monthLines(month), plainMonth);
            QCOMPARE(removing.codeLines(code), plainCode);
            std::vector<qsizetype> firsts;
            if (removing.firstLineOfEachCode(&firsts)) QCOMPARE(firsts, plainFirsts);
            if (round == 0) { // undone: the lines and keys as loaded
                removing.restoreUndo();
                QCOMPARE(removing.store(), before);
                QCOMPARE(removing.monthLines(month), monthLines);
                QCOMPARE(removing.codeLines(code), codeLines);
            } else if (!plainCode.isEmpty()) { // a line of the code appended after
                removing.appendLines(Change::Import, QStringList{after[plainCode.first()]});
                QCOMPARE(removing.codeLines(code), plainCode + QList<qsizetype>{after.size()});
            }
        }
    }

    // The index from the keys is the index of a reading of the store, and the
    // keys give it only when every code is six digits of bytes.
    void firstLineOfEachCode_givesTheIndexOfAScan_data()
    {
        QTest::addColumn<QStringList>("store");
        QTest::addColumn<bool>("fromKeys");
        const QStringList digits = {ql("19990301", "000002", "BETA", "1,00"),
                                    ql("19990301", "000001", "ALPHA", "1,00"),
                                    ql("19990302", "000002", "BÊTA BIS", "2,00"),
                                    ql("19990302", "000003", "ALPHA", "2,00")};
        QTest::newRow("six digits, met again") << digits << true;
        QTest::newRow("empty store") << QStringList() << true;
        QTest::newRow("a code of letters")
            << digits + QStringList{ql("19990303", "ABC", "X", "1")} << false;
        QTest::newRow("a blank code")
            << digits + QStringList{ql("19990303", "      ", "X", "1")} << false;
        QTest::newRow("six digits held aside")
            << QStringList{ql("19990301", "000001", "NEIGE ☃", "1,00")} + digits << false;
        QTest::newRow("a short line") << QStringList{u("19990301\t0000")} + digits << false;
    }
    void firstLineOfEachCode_givesTheIndexOfAScan()
    {
        QFETCH(QStringList, store);
        QFETCH(bool, fromKeys);
        StartFixture env;
        BourseData data(env.dir.path());
        data.replaceStore(store);
        std::vector<qsizetype> firsts;
        QCOMPARE(data.firstLineOfEachCode(&firsts), fromKeys);
        if (fromKeys) QCOMPARE(buildIndex(data.store(), firsts), buildIndex(data.store()));
    }

    // A change of prices written over the store's bytes: the undo puts back
    // what it wrote over, whatever the undo copy was before and whoever else
    // holds the lines; a refused one changes nothing, the undo copy included.
    void changePrices_writtenOverAndPutBack_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("refused");
        for (const bool refused : {false, true}) {
            const char *tail = refused ? ", refused" : "";
            QTest::addRow("after loading%s", tail) << u("load") << refused;
            QTest::addRow("after a deletion%s", tail) << u("deletion") << refused;
            QTest::addRow("a copy of the lines held%s", tail) << u("held") << refused;
            QTest::addRow("after another conversion%s", tail) << u("conversion") << refused;
        }
        QTest::newRow("a correction after it") << u("correction") << false;
    }
    void changePrices_writtenOverAndPutBack()
    {
        QFETCH(QString, before);
        QFETCH(bool, refused);
        const QStringList lines = {ql("19990301", "000001", "ALPHA", "10,00"),
                                   ql("19990302", "000002", "BETA", "20,00"),
                                   ql("19990302", "000009", "ENORME", "1e307")};
        // Halves the prices of 000001 and 000002, or is refused on 000009.
        const auto convert = [](BourseData &data, bool refuse) {
            const int direction = refuse ? 2 : 1;
            const double factor = refuse ? 10 : 2;
            const QString from = u("00000000"), to = u("99999999"), first = u("000001"),
                          last = refuse ? u("000009") : u("000002");
            data.changePrices(
                Change::Conversion,
                [&](const QuoteLines &store) {
                    maintenance::checkPrices(store, direction, from, to, first, last, factor);
                },
                [&](QuoteLines &store, QuoteLines::Former &former) {
                    maintenance::overwritePrices(store, former, direction, from, to, first, last,
                                                 factor);
                });
        };
        StartFixture env;
        BourseData data(env.dir.path());
        data.replaceStore(lines);
        if (before == u("deletion"))
            data.change(Change::LineDeletion, [](QStringList &store) { store.removeFirst(); });
        if (before == u("conversion")) convert(data, false);
        std::optional<QuoteLines> held;
        if (before == u("held")) held = data.store();
        const QStringList storeBefore = data.store();
        const qsizetype heldBytes = data.store().heldBytes();
        const bool modifiedBefore = data.isModified();

        bool thrown = false;
        try {
            convert(data, refused);
        } catch (const VError &) {
            thrown = true;
        }
        QCOMPARE(thrown, refused);
        if (refused) {
            QCOMPARE(data.store(), storeBefore);
            QCOMPARE(data.undo(), before == u("load") || before == u("held") ? storeBefore : lines);
            QCOMPARE(data.isModified(), modifiedBefore);
            return;
        }
        QStringList converted = storeBefore;
        maintenance::rewritePrices(converted, 1, u("00000000"), u("99999999"), u("000001"),
                                   u("000002"), 2);
        QCOMPARE(data.store(), converted);
        QVERIFY(data.isModified());
        if (held) {
            QCOMPARE(*held, storeBefore); // the copy kept its lines
        } else {
            QCOMPARE(data.store().heldBytes(), heldBytes); // written where they stood
        }
        if (before == u("correction"))
            data.change(Change::Correction, [](QStringList &store) {
                store[0] = ql("19990301", "000001", "ALPHA", "7,00");
            });

        QVERIFY(!data.restoreUndo());
        QCOMPARE(data.store(), storeBefore);
        QCOMPARE(data.undo(), storeBefore); // kept
        const qsizetype beta = before == u("deletion") ? 0 : 1;
        QCOMPARE(data.codeLines(u("000002")), (QList<qsizetype>{beta}));
        // Again, with the undo copy read in between: the same lines.
        convert(data, false);
        QCOMPARE(data.undo(), storeBefore);
        QVERIFY(!data.restoreUndo());
        QCOMPARE(data.store(), storeBefore);
    }

    // Regular lines in date order are sorted where they stand: the undo copy
    // is built from where each line came from when it is asked for, when a
    // change keeps it (a correction), or by the undo itself.
    void sort_whereTheLinesStand_undone()
    {
        StartFixture env;
        BourseData data(env.dir.path());
        const QStringList store = twoDaysOfTwo("ALPHA");
        const QStringList sorted{store[1], store[0], store[3], store[2]};
        const QString corrected = ql("19990301", "000001", "ALPHA", "1,05");
        for (const int step : {0, 1, 2}) {
            data.replaceStore(store);
            data.changeWithKeys(Change::SortByCode,
                                [](QuoteLines &lines, const maintenance::KeysOfSorted &keys,
                                   maintenance::Reordered *reordered) {
                                    maintenance::sortByCode(lines, 2, keys, reordered);
                                });
            QCOMPARE(data.store(), sorted);
            QVERIFY(data.isModified());
            QCOMPARE(data.codeLines(u("000001")), (QList<qsizetype>{0, 2}));
            QCOMPARE(data.monthLines(QDate(1999, 4, 1)), (QList<qsizetype>{2, 3}));
            if (step == 1) QCOMPARE(data.undo(), store);
            if (step == 2) {
                data.change(Change::Correction, [&](QStringList &lines) { lines[0] = corrected; });
                QCOMPARE(data.store(), QStringList({corrected, store[0], store[3], store[2]}));
                QCOMPARE(data.undo(), store);
            }
            QVERIFY(!data.restoreUndo());
            QCOMPARE(data.store(), store);
            QCOMPARE(data.codeLines(u("000001")), (QList<qsizetype>{1, 3}));
        }
    }

    // The valuation's sort leaves the undo copy as it was: the store before
    // it when the copy was the store (the lines then sorted where they
    // stand), the older copy otherwise; a failing sort changes nothing.
    void valuationSort_leavesTheUndoAsItWas()
    {
        StartFixture env;
        BourseData data(env.dir.path());
        const QStringList store = twoDaysOfTwo("alpha");
        const QStringList sorted{store[1], store[0], store[3], store[2]};
        const auto sort = [](bool fail) {
            return [fail](QuoteLines &lines, const maintenance::KeysOfSorted &keys,
                          maintenance::Reordered *reordered) {
                maintenance::sortIgnoringCase(lines, 2, keys, reordered);
                if (fail) throw VError(u("refusé"));
            };
        };
        for (const bool imported : {false, true}) {
            data.replaceStore(store.mid(0, 3));
            if (imported)
                data.change(Change::Import, [&](QStringList &lines) { lines.append(store[3]); });
            else
                data.replaceStore(store);
            const QStringList undo = imported ? store.mid(0, 3) : store;
            bool thrown = false;
            try {
                data.changeWithKeys(Change::PortfolioSort, sort(true));
            } catch (const VError &) {
                thrown = true;
            }
            QVERIFY(thrown);
            QCOMPARE(data.store(), store);
            QCOMPARE(data.codeLines(u("000001")), (QList<qsizetype>{1, 3}));
            data.changeWithKeys(Change::PortfolioSort, sort(false));
            QCOMPARE(data.store(), sorted);
            QCOMPARE(data.isModified(), imported);
            QCOMPARE(data.codeLines(u("000001")), (QList<qsizetype>{0, 2}));
            QCOMPARE(data.monthLines(QDate(1999, 4, 1)), (QList<qsizetype>{2, 3}));
            QCOMPARE(data.undo(), undo);
            data.restoreUndo();
            QCOMPARE(data.store(), undo);
        }
    }

    void restoreUndo_keepsTheCopyAndTheFlag()
    {
        StartFixture env;
        BourseData data(env.dir.path());
        data.replaceStore(kStore);
        data.change(Change::Import, [](QStringList &store) { store.append(kNewCode); });
        QVERIFY(data.restoreUndo()); // GAMMA is gone again
        QCOMPARE(data.store(), kStore);
        QCOMPARE(data.undo(), kStore);
        QVERIFY(data.isModified());
        QCOMPARE(data.lastDate(), QDate(1999, 3, 2));
        QVERIFY(!data.restoreUndo()); // a second undo changes nothing more
        QCOMPARE(data.store(), kStore);
    }
};

QTEST_MAIN(TestBourseData)
#include "tst_bourse_data.moc"

// The quotation file, the settings file and the list files of the document.
#include "base/errors.h"
#include "base/formats.h"
#include "base/textfile.h"
#include "document/TBourse.h"
#include "quotes/BourseData.h"
#include "quotes/QuoteListModel.h"
#include "quotes/store.h"
#include "testkit.h"

#include <QComboBox>
#include <QTest>

#include <random>

using namespace Qt::StringLiterals;

namespace
{

// The program's exchange sort, literally, on the names' Windows-1252 bytes.
QStringList exchangeSort(QStringList index)
{
    QList<QByteArray> names;
    for (const QString &entry : std::as_const(index))
        names.append(encodeWindows1252(entry.mid(6)));
    for (qsizetype i = 0; i + 1 < index.size(); ++i)
        for (qsizetype j = i + 1; j < index.size(); ++j)
            if (names[i] > names[j]) {
                index.swapItemsAt(i, j);
                names.swapItemsAt(i, j);
            }
    return index;
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void priceOfLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<double>("price");
        QTest::newRow("regular") << qline(QStringLiteral("19990104"), QStringLiteral("012000"),
                                          QStringLiteral("EX"), QStringLiteral("45,30"),
                                          QStringLiteral("1200"))
                                 << 45.3;
        QTest::newRow("no volume field") << QStringLiteral("19990104\t012000\tEX\t,50") << 0.5;
        QTest::newRow("unreadable") << qline(QStringLiteral("19990104"), QStringLiteral("012000"),
                                             QStringLiteral("EX"), QStringLiteral("n/a"))
                                    << 0.0;
        QTest::newRow("too few fields") << QStringLiteral("19990104\t012000") << 0.0;
    }
    void priceOfLine()
    {
        QFETCH(QString, line);
        QFETCH(double, price);
        QCOMPARE(quote::priceOf(line), price);
    }

    void setPrice_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        const QString head = u"19990104\t012000\tEXEMPLE SA\t"_s;
        QTest::newRow("rounded to cents")
            << head + u"45,30\t1200"_s << 0.004 << head + u"0,00\t1200"_s;
        QTest::newRow("whole number") << head + u"45,30\t1200"_s << 12.0 << head + u"12,00\t1200"_s;
        QTest::newRow("empty volume") << head + u"1\t"_s << 1234.567 << head + u"1234,57\t"_s;
        QTest::newRow("fields after the volume")
            << head + u"1\t2\t3"_s << 2.5 << head + u"2,50\t2\t3"_s;
        QTest::newRow("no volume field") << head + u"1"_s << 3.0 << head + u"3,00"_s;
        QTest::newRow("no price field")
            << u"19990104\t012000\tEX"_s << 3.0 << u"19990104\t012000\tEX"_s;
    }
    void setPrice()
    {
        QFETCH(QString, line);
        QFETCH(double, value);
        QFETCH(QString, expected);
        quote::setPrice(line, value);
        QCOMPARE(line, expected);
    }

    void periodFilter()
    {
        Period p{1, QStringLiteral("19990105"), QStringLiteral("19990110")};
        QVERIFY(p.contains(QStringLiteral("19990105\t012000")));
        QVERIFY(p.contains(QStringLiteral("19990110\t012000")));
        QVERIFY(!p.contains(QStringLiteral("19990104\t012000")));
        QVERIFY(!p.contains(QStringLiteral("19990111\t012000")));
        p.mode = 0;
        QVERIFY(p.contains(QStringLiteral("19990111\t012000")));
    }

    void settingsFile_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("maLength");
        QTest::addColumn<int>("autoOpen");
        QTest::newRow("rate too high") << QStringList{QStringLiteral("12.5")} << 6.55957 << 8 << 0;
        QTest::newRow("rate 6 kept") << QStringList{QStringLiteral("6")} << 6.0 << 8 << 0;
        QTest::newRow("rate 10 kept")
            << QStringList{QStringLiteral(" 1.00000000000000E+0001")} << 10.0 << 8 << 0;
        QTest::newRow("rate below 6") << QStringList{QStringLiteral("5.99")} << 6.55957 << 8 << 0;
        QTest::newRow("full") << QStringList{QStringLiteral(" 6.55957000000000E+0000"),
                                             QStringLiteral("/p.ptf"),
                                             QStringLiteral("0"),
                                             QStringLiteral("20"),
                                             QStringLiteral("9"),
                                             QStringLiteral("7"),
                                             QStringLiteral("3"),
                                             QStringLiteral("1")}
                              << 6.55957 << 20 << 1;
        QTest::newRow("malformed numbers keep defaults") << QStringList{QStringLiteral("abc"),
                                                                        QString(),
                                                                        QStringLiteral("x"),
                                                                        QStringLiteral("douze"),
                                                                        QString(),
                                                                        QString(),
                                                                        QString(),
                                                                        QStringLiteral("oui")}
                                                         << 6.55957 << 8 << 0;
        QTest::newRow("number then text")
            << QStringList{QStringLiteral("7"), QString(), QString(), QStringLiteral("12 jours")}
            << 7.0 << 12 << 0;
        // A ninth line: the logarithmic price scale.
        const QStringList eight = {QStringLiteral(" 6.55957000000000E+0000"),
                                   QString(),
                                   QStringLiteral("1"),
                                   QStringLiteral("8"),
                                   QStringLiteral("6"),
                                   QStringLiteral("6"),
                                   QStringLiteral("5"),
                                   QStringLiteral("0")};
        QTest::newRow("log scale on")
            << (eight + QStringList{QStringLiteral("1")}) << 6.55957 << 8 << 0;
        QTest::newRow("log scale off")
            << (eight + QStringList{QStringLiteral("0")}) << 6.55957 << 8 << 0;
    }
    void settingsFile()
    {
        QFETCH(QStringList, lines);
        QFETCH(double, rate);
        QFETCH(int, maLength);
        QFETCH(int, autoOpen);
        Settings s;
        s.read(lines);
        QCOMPARE(s.euroRate, rate);
        QCOMPARE(s.maLength, maLength);
        QCOMPARE(s.autoOpen, autoOpen);
        // The log scale from its own line, 0 without it; written back after
        // the eight lines only when on, so that the eight stay as they were.
        const bool log = lines.value(8) == QStringLiteral("1");
        QCOMPARE(s.logScale, log ? 1 : 0);
        QCOMPARE(s.lines().size(), log ? 9 : 8);
        if (lines.size() >= 8 && lines[0].startsWith(QLatin1Char(' ')))
            QCOMPARE(s.lines().mid(0, 8), lines.mid(0, 8));
    }

    void iniRealForm()
    {
        QCOMPARE(formatIniReal(6.55957), QStringLiteral(" 6.55957000000000E+0000"));
        QCOMPARE(formatIniReal(10), QStringLiteral(" 1.00000000000000E+0001"));
        QCOMPARE(formatIniReal(-0.25), QStringLiteral("-2.50000000000000E-0001"));
        QCOMPARE(formatIniReal(6.55957).size(), 23);
    }

    void load_dropsEmptyLinesAndKeepsOrder()
    {
        TempStartDir dir;
        const QStringList lines{
            qline(QStringLiteral("19990310"), QStringLiteral("000001"), QStringLiteral("ALPHA"),
                  QStringLiteral("10,00"), QStringLiteral("5")),
            QString(), QStringLiteral("   "),
            qline(QStringLiteral("19990115"), QStringLiteral("000002"), QStringLiteral("ZETA"),
                  QStringLiteral("20,00"), QStringLiteral("6")),
            QString()};
        dir.write(QStringLiteral("Cours.vmq"), lines);
        ScriptedPrompts prompts;
        BourseData b(dir.path());
        b.ChargeIni();
        b.Init();
        QCOMPARE(b.store(), (QStringList{lines[0], lines[2], lines[3]}));
        QCOMPARE(b.undo(), b.store()); // an undo never brings the empty lines back
        QCOMPARE(b.firstDate(), QDate(1999, 3, 10));
        QCOMPARE(b.lastDate(), QDate(1999, 1, 15));
        QCOMPARE(b.currentMonth(), QDate(1999, 1, 15));
        QVERIFY(!b.isModified());
    }

    void load_emptyFile()
    {
        TempStartDir dir;
        dir.writeBytes(QStringLiteral("Cours.vmq"), QByteArray());
        TBourse b;
        b.Init();
        QVERIFY(b.data().store().isEmpty());
        QCOMPARE(b.data().currentMonth(), QDate(1998, 1, 1));
        QCOMPARE(b.journal().model()->rowCount(), 0);
        QVERIFY(b.data().index().isEmpty());
    }

    void settingsAndLists_readAtCreationWrittenWhole()
    {
        TempStartDir dir;
        dir.write(QStringLiteral("Valmeq.ini"),
                  {QStringLiteral("7.5"), QStringLiteral("C:\\Mes documents\\été.ptf"),
                   QStringLiteral("0"), QStringLiteral("12"), QStringLiteral("9"),
                   QStringLiteral("4"), QStringLiteral("8"), QStringLiteral("1")});
        dir.write(QStringLiteral("Valmeq.trt"), {QStringLiteral("012000\tFiche")});
        dir.write(QStringLiteral("Valmeq.sit"), {QStringLiteral("Site\thttp://h/f.txt\t/tmp/f")});
        BourseData b(dir.path());
        b.ChargeIni();
        bool autoOpen = false;
        QString path;
        b.GetIni(autoOpen, path);
        QVERIFY(autoOpen);
        QCOMPARE(path, QStringLiteral("C:\\Mes documents\\été.ptf"));
        QCOMPARE(b.settings().euroRate, 7.5);
        QCOMPARE(b.cards(), QStringList{QStringLiteral("012000\tFiche")});
        QVERIFY(b.pressNotes().isEmpty());

        b.SetIni(false);
        b.SauveIni();
        QCOMPARE(dir.bytes(QStringLiteral("Valmeq.ini")),
                 QByteArray(" 7.50000000000000E+0000\r\nC:\\Mes documents\\\xe9t\xe9.ptf\r\n"
                            "0\r\n12\r\n9\r\n4\r\n8\r\n0\r\n"));
        QCOMPARE(dir.bytes(QStringLiteral("Valmeq.trt")), QByteArray("012000\tFiche\r\n"));
        QCOMPARE(dir.bytes(QStringLiteral("Valmeq.prc")), QByteArray());
        QCOMPARE(dir.bytes(QStringLiteral("Valmeq.sit")),
                 QByteArray("Site\thttp://h/f.txt\t/tmp/f\r\n"));
        b.SetIni(true);
        b.SauveIni();
        QVERIFY(dir.bytes(QStringLiteral("Valmeq.ini")).endsWith("\r\n1\r\n"));
    }

    void listFiles_surviveAStartWithoutSettings()
    {
        TempStartDir dir;
        dir.write(QStringLiteral("Valmeq.prc"), {QStringLiteral("19990104\tNote")});
        BourseData b(dir.path());
        b.ChargeIni();
        QCOMPARE(b.settings().maLength, 8);
        b.SauveIni();
        QCOMPARE(dir.bytes(QStringLiteral("Valmeq.prc")), QByteArray("19990104\tNote\r\n"));
        QCOMPARE(dir.bytes(QStringLiteral("Valmeq.ini")),
                 QByteArray(" 6.55957000000000E+0000\r\n\r\n1\r\n8\r\n6\r\n6\r\n5\r\n0\r\n"));
    }

    void save_asksOnlyWhenModified()
    {
        TempStartDir dir;
        const QStringList lines{qline(QStringLiteral("19990104"), QStringLiteral("012000"),
                                      QStringLiteral("EXEMPLE SA"), QStringLiteral("45,30"),
                                      QStringLiteral("1200"))};
        dir.write(QStringLiteral("Cours.vmq"), lines);
        ScriptedPrompts prompts;
        BourseData b(dir.path());
        b.ChargeIni();
        b.Init();
        QVERIFY(b.Sauve());
        QVERIFY(prompts.log.isEmpty());

        b.change(BourseData::Change::Entry, [](QStringList &store) {
            store.append(qline(QStringLiteral("19990105"), QStringLiteral("012000"),
                               QStringLiteral("EXEMPLE SA"), QStringLiteral("46,00"), QString()));
        });
        prompts.answers = {Prompts::No, Prompts::Cancel, Prompts::Yes};
        QVERIFY(b.Sauve());
        QVERIFY(!b.Sauve()); // Cancel: the closing stops
        QCOMPARE(dir.lines(QStringLiteral("Cours.vmq")), lines);
        QVERIFY(b.Sauve());
        QCOMPARE(prompts.said(QStringLiteral("question")),
                 QStringList(3, QStringLiteral("Enregistrer le fichier des cotations ?")));
        QCOMPARE(dir.bytes(QStringLiteral("Cours.vmq")),
                 QByteArray("19990104\t012000\tEXEMPLE SA\t45,30\t1200\r\n"
                            "19990105\t012000\tEXEMPLE SA\t46,00\t\r\n"));
    }

    void save_failedWriteKeepsTheProgramOpen()
    {
        TempStartDir dir;
        ScriptedPrompts prompts;
        BourseData b(dir.path());
        b.ChargeIni();
        QDir(dir.path()).mkdir(QStringLiteral("Cours.vmq")); // a directory stands in the way
        b.change(BourseData::Change::Entry,
                 [](QStringList &store) { store.append(QStringLiteral("x")); });
        prompts.answers = {Prompts::Yes};
        QVERIFY(!b.Sauve());
        QCOMPARE(prompts.said(QStringLiteral("error")),
                 QStringList{QStringLiteral("Ne peut créer le fichier ") +
                             dir.file(QStringLiteral("Cours.vmq")) +
                             QStringLiteral(" : erreur E/S %1").arg(EISDIR)});
        QVERIFY(b.isModified());
    }

    void index_data()
    {
        QTest::addColumn<QStringList>("store");
        QTest::addColumn<QStringList>("index");
        QTest::addColumn<QString>("shownName");
        auto l = [](const char *code, const char *name) {
            return qline(QStringLiteral("19990104"), QString::fromLatin1(code),
                         QString::fromLatin1(name), QStringLiteral("1,00"));
        };
        QTest::newRow("sorted by name, first line's name shown")
            << QStringList{l("000002", "ZETA"), l("000001", "ALPHA")}
            << QStringList{QStringLiteral("000001ALPHA"), QStringLiteral("000002ZETA")}
            << QStringLiteral("ZETA");
        QTest::newRow("same name twice keeps both codes")
            << QStringList{l("000002", "SAME"), l("000001", "SAME")}
            << QStringList{QStringLiteral("000002SAME"), QStringLiteral("000001SAME")}
            << QStringLiteral("SAME");
        QTest::newRow("upper case before lower case")
            << QStringList{l("000001", "alpha"), l("000002", "Beta")}
            << QStringList{QStringLiteral("000002Beta"), QStringLiteral("000001alpha")}
            << QStringLiteral("alpha");
        QTest::newRow("first name met is kept")
            << QStringList{l("000001", "OLD"), l("000001", "NEW")}
            << QStringList{QStringLiteral("000001OLD")} << QStringLiteral("OLD");
        QTest::newRow("blank codes skipped")
            << QStringList{l("      ", "BLANK"), l("000003", "C")}
            << QStringList{QStringLiteral("000003C")} << QStringLiteral("C");
        // The exchange sort moves equal names around: C1, B, C2, A sorts to
        // A, B, C2, C1, not to the stable A, B, C1, C2.
        QTest::newRow("equal names in exchange-sort order")
            << QStringList{l("000001", "C"), l("000002", "B"), l("000003", "C"), l("000004", "A")}
            << QStringList{QStringLiteral("000004A"), QStringLiteral("000002B"),
                           QStringLiteral("000003C"), QStringLiteral("000001C")}
            << QStringLiteral("C");
    }
    void index()
    {
        QFETCH(QStringList, store);
        QFETCH(QStringList, index);
        QFETCH(QString, shownName);
        TempStartDir dir;
        dir.write(QStringLiteral("Cours.vmq"), store);
        TBourse b;
        b.Init();
        QCOMPARE(b.data().index(), index);
        auto *names = b.findChild<QComboBox *>(QStringLiteral("ComboBox2"));
        auto *chart = b.findChild<QComboBox *>(QStringLiteral("ComboBox3"));
        QCOMPARE(names->count(), index.size());
        for (int i = 0; i < index.size(); ++i) {
            QCOMPARE(names->itemText(i), index[i].mid(6));
            QCOMPARE(chart->itemText(i), index[i].mid(6));
        }
        QCOMPARE(names->currentText(), shownName);
        QCOMPARE(chart->currentText(), shownName);
        QVERIFY(b.Trouve(index.first().left(3)));
        QVERIFY(!b.Trouve(QStringLiteral("999999")));
    }

    void sortIndexByName_data()
    {
        QTest::addColumn<QStringList>("sorted");
        QTest::addColumn<QStringList>("input");
        // Bytes: Z 5A, € 80, … 85, Œ 8C, ’ 92, É C9, é E9.
        QTest::newRow("bytes 80 to 9F before accented letters")
            << QStringList{u"000006Zoo"_s,   u"000004€uro"_s,  u"000005…fin"_s,
                           u"000002Œuvre"_s, u"000003Éclat"_s, u"000001été"_s}
            << QStringList{u"000001été"_s,  u"000002Œuvre"_s, u"000003Éclat"_s,
                           u"000004€uro"_s, u"000005…fin"_s,  u"000006Zoo"_s};
        QTest::newRow("typographic apostrophe between ' and é")
            << QStringList{u"000003L'Oréal"_s, u"000001L’Oréal"_s, u"000002Lé"_s}
            << QStringList{u"000001L’Oréal"_s, u"000002Lé"_s, u"000003L'Oréal"_s};
    }
    void sortIndexByName()
    {
        QFETCH(QStringList, sorted);
        QFETCH(QStringList, input);
        ::sortIndexByName(input);
        QCOMPARE(input, sorted);
    }

    // Random indexes with few distinct names, against the exchange sort itself.
    void sortIndexByName_matchesExchangeSort_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("maxSize");
        QTest::addColumn<int>("draws");
        QTest::newRow("three names") << QStringList{u"A"_s, u"B"_s, u"C"_s} << 40 << 3000;
        QTest::newRow("empty name and prefixes")
            << QStringList{QString(), u"A"_s, u"AB"_s, u"B"_s} << 40 << 3000;
        QTest::newRow("Windows-1252 bytes")
            << QStringList{u"Zeta"_s, u"€uro"_s, u"Œuvre"_s, u"Ébène"_s} << 40 << 2000;
        QStringList many;
        for (int i = 0; i < 30; ++i)
            many.append(u"N%1"_s.arg(i % 10) + QString(i / 10, u'’'));
        QTest::newRow("thirty names, large") << many << 2500 << 4;
    }
    void sortIndexByName_matchesExchangeSort()
    {
        QFETCH(QStringList, names);
        QFETCH(int, maxSize);
        QFETCH(int, draws);
        for (int draw = 0; draw < draws; ++draw) {
            std::mt19937 rng{quint32(draw)};
            const int size = int(rng() % quint32(maxSize + 1));
            QStringList index;
            for (int i = 0; i < size; ++i)
                index.append(u"%1"_s.arg(i, 6, 10, QLatin1Char('0')) +
                             names[int(rng() % quint32(names.size()))]);
            const QStringList expected = exchangeSort(index);
            ::sortIndexByName(index);
            QVERIFY2(index == expected, qPrintable(u"draw %1 of size %2"_s.arg(draw).arg(size)));
        }
    }

    void buildIndex_data()
    {
        QTest::addColumn<QStringList>("store");
        QTest::addColumn<QStringList>("index");
        auto l = [](const QString &code, const QString &name) {
            return u"19990104\t"_s + code + u'\t' + name + u"\t1,00\t5"_s;
        };
        QTest::newRow("short code beginning a code met is skipped")
            << QStringList{l(u"012000"_s, u"EX"_s), u"19990104\t0120"_s}
            << QStringList{u"012000EX"_s};
        QTest::newRow("short code first, then the codes it begins")
            << QStringList{u"19990104\t0120"_s, u"19990104\t01"_s, l(u"012000"_s, u"EX"_s),
                           u"19990104\t0121"_s}
            << QStringList{u"0120"_s, u"0121"_s, u"012000EX"_s};
    }
    void buildIndex()
    {
        QFETCH(QStringList, store);
        QFETCH(QStringList, index);
        QCOMPARE(::buildIndex(store), index);
        // The same lines far apart in a store read in parts at once: what
        // each part met first is taken in the store's order.
        QStringList large;
        for (const QString &line : std::as_const(store))
            large += QStringList(500000, line);
        QCOMPARE(::buildIndex(large), index);
    }

    // A store of 100,000 codes: 90,000 of six digits under names drawn from
    // 300 (with bytes 80 to 9F), each met twice, and 10,000 of five characters.
    void buildIndex_manyCodes_sortedAndComplete()
    {
        std::mt19937 rng(7);
        QStringList names;
        for (int i = 0; i < 300; ++i)
            names.append(u"Aé’Œz"_s.at(i % 5) + QString::number(i / 5));
        QStringList codes;
        for (int i = 0; i < 90000; ++i)
            codes.append(u"%1"_s.arg(i * 7 + 3, 6, 10, QLatin1Char('0')));
        for (int i = 0; i < 10000; ++i)
            codes.append(u"S%1"_s.arg(i, 4, 10, QLatin1Char('0')));
        std::shuffle(codes.begin(), codes.end(), rng);
        QHash<QString, QString> firstName;
        QStringList store;
        for (int pass = 0; pass < 2; ++pass) {
            for (const QString &code : std::as_const(codes)) {
                if (code.size() < 6) {
                    store.append(u"19990104\t"_s + code);
                    firstName.insert(code, QString());
                    continue;
                }
                const QString name = names[int(rng() % 300)];
                store.append(u"1999010%1\t"_s.arg(4 + pass) + code + u'\t' + name + u"\t1,00\t5"_s);
                if (pass == 0) firstName.insert(code, name);
            }
        }
        const QStringList index = ::buildIndex(store);
        QCOMPARE(index.size(), codes.size());
        QHash<QString, QString> seen;
        for (const QString &entry : index)
            seen.insert(entry.left(6), entry.mid(6));
        QVERIFY(seen == firstName);
        for (qsizetype i = 1; i < index.size(); ++i)
            QVERIFY2(encodeWindows1252(index[i - 1].mid(6)) <= encodeWindows1252(index[i].mid(6)),
                     qPrintable(index[i - 1] + u" before "_s + index[i]));
    }

    void monthEntries_spanWholeMonths()
    {
        QCOMPARE(monthEntries(QDate(1999, 1, 31), QDate(1999, 3, 2)),
                 (QStringList{QStringLiteral("Janvier 1999"), QStringLiteral("Février 1999"),
                              QStringLiteral("Mars 1999")}));
        QCOMPARE(monthEntries(QDate(1998, 11, 5), QDate(1999, 1, 1)),
                 (QStringList{QStringLiteral("Novembre 1998"), QStringLiteral("Décembre 1998"),
                              QStringLiteral("Janvier 1999")}));
        QVERIFY(monthEntries(QDate(), QDate()).isEmpty());
        QCOMPARE(readMonthEntry(QStringLiteral("Août 2001")), QDate(2001, 8, 1));
        QVERIFY_THROWS_EXCEPTION(VError, readMonthEntry(QStringLiteral("Aout 2001")));
        QVERIFY_THROWS_EXCEPTION(VError, readMonthEntry(QStringLiteral("Mars")));
    }
};

QTEST_MAIN(TestStore)
#include "tst_store.moc"

// The portfolio's rules without windows: lines, last prices, exchange,
// valuation, journal, fees and distribution.
#include "base/errors.h"
#include "portfolio/earnings.h"
#include "portfolio/portfolio.h"
#include "portfolio/valuation.h"
#include "testkit.h"

#include <QTest>

using namespace ptf;

namespace
{

QString pline(const char *kindDate, const char *code, const char *amount, const char *qty,
              const char *fifth)
{
    return u(kindDate) + u"\t"_qs + u(code) + u"\t"_qs + u(amount) + u"\t"_qs + u(qty) + u"\t"_qs +
           u(fifth);
}

const QStringList kIndex = {u("012000ALPHA"), u("013000ACIÉRIES DU NORD"), u("014000GAMMA")};

// The rows as "code name qty cost unit last total percent".
QStringList rowsOf(const Valuation &v)
{
    QStringList out;
    for (const auto &r : v.rows())
        out.append(
            QStringList{r.code, r.name, r.quantity, r.cost, r.unit, r.last, r.total, r.percent}
                .join(u'|'));
    return out;
}

} // namespace

class TestPortfolioLogic : public QObject
{
    Q_OBJECT
private slots:
    void readPortfolio_badLine_setAsideWithItsNumber_data();
    void readPortfolio_badLine_setAsideWithItsNumber();
    void figureRefusal_data();
    void figureRefusal();
    void recordWarnings_data();
    void recordWarnings();
    void annualReturn_data();
    void annualReturn();
    void valuation_earned_data();
    void valuation_earned();
    void operationText_emptyField_abandons_data();
    void operationText_emptyField_abandons();
    void codeRefusal_data();
    void codeRefusal();
    void lastPrice_takesNewestDateWhateverTheOrder_data();
    void lastPrice_takesNewestDateWhateverTheOrder();
    void lastPrices_readInPartsAsInOnePass();
    void exchange_amounts();
    void exchange_errors_data();
    void exchange_errors();
    void valuation_data();
    void valuation();
    void valuation_noPrice_staysOutOfTotals();
    void journal_yearAndCessions_data();
    void journal_yearAndCessions();
    void fees_everyLineInOrder();
    void distribution_legend_data();
    void distribution_legend();
    void pie_anglesFromTwoDecimalPercentages_data();
    void pie_anglesFromTwoDecimalPercentages();
};

void TestPortfolioLogic::readPortfolio_badLine_setAsideWithItsNumber_data()
{
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("report"); // empty: reads
    QTest::newRow("sound") << pline("V20010102", "012000", "12,50", "3", "1") << QString();
    QTest::newRow("blank line passed over") << u("  ") << QString();
    QTest::newRow("field missing")
        << u("A20010102\t012000\t12,50\t3")
        << u("Ligne 2 illisible : A20010102 012000 12,50 3 (il manque des champs)");
    QTest::newRow("amount not a number")
        << pline("A20010102", "012000", "1,2,3", "3", "1")
        << u("Ligne 2 illisible : A20010102 012000 1,2,3 3 1 ('1,2,3' n'est pas une valeur "
             "flottante correcte)");
    QTest::newRow("quantity not whole")
        << pline("A20010102", "012000", "12,00", "3,5", "1")
        << u("Ligne 2 illisible : A20010102 012000 12,00 3,5 1 ('3,5' n'est pas une valeur "
             "entière correcte)");
    QTest::newRow("unknown kind")
        << pline("X20010102", "012000", "12,00", "3", "1")
        << u("Ligne 2 illisible : X20010102 012000 12,00 3 1 ('X' n'est pas une opération)");
    QTest::newRow("no such date")
        << pline("A20010231", "012000", "12,00", "3", "1")
        << u("Ligne 2 illisible : A20010231 012000 12,00 3 1 ('20010231' n'est pas une date "
             "correcte)");
}

void TestPortfolioLogic::readPortfolio_badLine_setAsideWithItsNumber()
{
    QFETCH(QString, second);
    QFETCH(QString, report);
    // The lines around the bad one are read all the same.
    const QStringList lines = {pline("A20010101", "012000", "100,00", "10", "2,00"), second,
                               pline("D20010103", "012000", "5,00", "10", "1,50")};
    const Reading read = readPortfolio(lines);
    QCOMPARE(unreadableReport(read.unreadable), report);
    const bool sound = report.isEmpty() && !second.trimmed().isEmpty();
    QCOMPARE(read.ops.size(), sound ? 3 : 2);
    QCOMPARE(read.ops.last().line, 2);
    QCOMPARE(read.ops.last().fifthValue, 1.5);
    if (sound) {
        QCOMPARE(read.ops[1].kind, QLatin1Char('V'));
        QCOMPARE(read.ops[1].date, u("20010102"));
        QCOMPARE(read.ops[1].amountValue, 12.5);
        QCOMPARE(read.ops[1].quantityValue, 3);
    }
}

void TestPortfolioLogic::figureRefusal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("quantity");
    QTest::addColumn<QString>("message"); // empty: sound
    QTest::newRow("amount") << u("1500,00") << false << QString();
    QTest::newRow("two commas") << u("1,2,3") << false
                                << u("Prix total : '1,2,3' n'est pas un nombre.");
    QTest::newRow("doubled comma")
        << u("1,,5") << false << u("Prix total : '1,,5' n'est pas un nombre.");
    QTest::newRow("empty") << u("  ") << false << u("Prix total : le champ est vide.");
    QTest::newRow("quantity with a comma")
        << u("3,5") << true << u("Prix total : '3,5' n'est pas un nombre entier.");
}

void TestPortfolioLogic::figureRefusal()
{
    QFETCH(QString, text);
    QFETCH(bool, quantity);
    QFETCH(QString, message);
    QCOMPARE(
        ptf::figureRefusal(u("Prix total"), text, quantity ? Figure::Quantity : Figure::Amount),
        message);
}

void TestPortfolioLogic::recordWarnings_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<int>("except");
    QTest::addColumn<QStringList>("questions");
    QTest::newRow("sale of what is held") << u("V") << u("012000") << 50 << -1 << QStringList{};
    QTest::newRow("sale beyond what is held")
        << u("V") << u("012000") << 200 << -1
        << QStringList{
               u("Vous vendez 200 titres 012000 et n'en détenez que 50. Enregistrer quand même ?")};
    QTest::newRow("sale of what is not held")
        << u("V") << u("013000") << 5 << -1
        << QStringList{
               u("Vous vendez 5 titres 013000 et n'en détenez aucun. Enregistrer quand même ?")};
    QTest::newRow("sale changed in place: its own line left out")
        << u("V") << u("012000") << 80 << 1 << QStringList{};
    QTest::newRow("unknown code")
        << u("D") << u("099999") << 5 << -1
        << QStringList{u("Le code 099999 n'est pas dans la base. Enregistrer quand même ?")};
}

void TestPortfolioLogic::recordWarnings()
{
    QFETCH(QString, kind);
    QFETCH(QString, code);
    QFETCH(int, quantity);
    QFETCH(int, except);
    QFETCH(QStringList, questions);
    const QStringList lines = {pline("A20010101", "012000", "1000,00", "80", "0"),
                               pline("V20010102", "012000", "300,00", "30", "0")};
    QStringList got;
    for (const Warning &w :
         ptf::recordWarnings(kind[0], code, quantity, kIndex, readOperations(lines), except))
        got.append(w.question);
    QCOMPARE(got, questions);
}

void TestPortfolioLogic::annualReturn_data()
{
    QTest::addColumn<QList<QDate>>("dates");
    QTest::addColumn<QList<double>>("amounts");
    QTest::addColumn<QString>("rate");
    const QDate d0(2001, 1, 1);
    QTest::newRow("one year at +10 %")
        << QList<QDate>{d0, QDate(2002, 1, 1)} << QList<double>{-100, 110} << u("10,00%");
    QTest::newRow("half lost in a year")
        << QList<QDate>{d0, QDate(2002, 1, 1)} << QList<double>{-100, 50} << u("-50,00%");
    QTest::newRow("irregular dates") << QList<QDate>{d0, QDate(2001, 7, 1), QDate(2002, 3, 15)}
                                     << QList<double>{-1000, -500, 1600} << u("6,43%");
    QTest::newRow("a dividend and a second purchase between")
        << QList<QDate>{d0, QDate(2001, 4, 10), QDate(2001, 9, 20), QDate(2002, 6, 30)}
        << QList<double>{-1000, 30, -200, 1300} << u("7,93%");
    QTest::newRow("payments only: none")
        << QList<QDate>{d0, QDate(2002, 1, 1)} << QList<double>{-100, -50} << u("—");
    QTest::newRow("all on one day: none")
        << QList<QDate>{d0, d0} << QList<double>{-100, 110} << u("—");
    QTest::newRow("beyond +1000 %: none")
        << QList<QDate>{d0, QDate(2002, 1, 1)} << QList<double>{-100, 1200} << u("—");
}

void TestPortfolioLogic::annualReturn()
{
    QFETCH(QList<QDate>, dates);
    QFETCH(QList<double>, amounts);
    QFETCH(QString, rate);
    QList<Flow> flows;
    for (qsizetype i = 0; i < dates.size(); ++i)
        flows.append({dates[i], amounts[i]});
    QCOMPARE(returnText(ptf::annualReturn(flows)), rate);
}

void TestPortfolioLogic::valuation_earned_data()
{
    QTest::addColumn<QStringList>("lines");
    // realised|dividends|credits|fees|annual of the whole, then each row's
    // price date|realised|dividends|fees|annual.
    QTest::addColumn<QStringList>("earned");
    QTest::newRow("partly sold: nothing realised, carried in the cost")
        << QStringList{pline("A20010101", "012000", "1000,00", "100", "0"),
                       pline("V20010701", "012000", "600,00", "40", "2,00")}
        << QStringList{u(",00|,00|,00|2,00|43,82%"), u("01/01/2002|,00|,00|2,00|43,82%")};
    QTest::newRow("sold out: realised, no row")
        << QStringList{pline("A20010101", "013000", "100,00", "10", "1,00"),
                       pline("V20011231", "013000", "150,00", "10", "1,00"),
                       pline("A20010101", "012000", "1200,00", "100", "0")}
        << QStringList{u("50,00|,00|,00|2,00|3,69%"), u("01/01/2002|,00|,00|,00|0,00%")};
    QTest::newRow("dividends and tax credits")
        << QStringList{pline("A20010101", "012000", "1100,00", "100", "0"),
                       pline("D20010701", "012000", "50,00", "100", "25,00")}
        << QStringList{u(",00|50,00|25,00|,00|16,45%"), u("01/01/2002|,00|75,00|,00|16,45%")};
    QTest::newRow("exchange: the soulte realised when the given shares are all gone")
        << QStringList{pline("A20010101", "013000", "100,00", "10", "0"),
                       pline("V20011231", "013000", "130,00", "10", "2,00"),
                       pline("A20011231", "012000", "120,00", "10", "0")}
        << QStringList{u("30,00|,00|,00|2,00|28,01%"), u("01/01/2002|,00|,00|,00|0,00%")};
    QTest::newRow("a holding without price: no return")
        << QStringList{pline("A20010101", "014000", "100,00", "10", "0")}
        << QStringList{u(",00|,00|,00|,00|—"), u("|,00|,00|,00|—")};
}

void TestPortfolioLogic::valuation_earned()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, earned);
    const QStringList store = {ql("20011231", "013000", "ACIÉRIES DU NORD", "13,00"),
                               ql("20020101", "012000", "ALPHA", "12,00")};
    const Valuation v = Valuation::build(readOperations(lines), store, kIndex, false);
    QStringList got{
        QStringList{v.realised(), v.dividends(), v.credits(), v.fees(), v.annual()}.join(u'|')};
    for (const auto &r : v.rows())
        got.append(QStringList{r.priceDate, r.realised, r.dividends, r.fees, r.annual}.join(u'|'));
    QCOMPARE(got, earned);
}

void TestPortfolioLogic::operationText_emptyField_abandons_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("fifth");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all") << u(" 1500,00 ") << u("100") << u("12,50")
                         << u("20011023\t004711\t1500,00\t100\t12,50");
    QTest::newRow("zero fees typed")
        << u("12") << u("1") << u("0") << u("20011023\t004711\t12\t1\t0");
    QTest::newRow("no amount") << u(" ") << u("100") << u("1") << QString();
    QTest::newRow("no quantity") << u("10") << QString() << u("1") << QString();
    QTest::newRow("no fees") << u("10") << u("100") << QString() << QString();
}

void TestPortfolioLogic::operationText_emptyField_abandons()
{
    QFETCH(QString, amount);
    QFETCH(QString, qty);
    QFETCH(QString, fifth);
    QFETCH(QString, expected);
    QCOMPARE(operationText(QDate(2001, 10, 23), u("004711"), amount, qty, fifth), expected);
}

void TestPortfolioLogic::codeRefusal_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("refused");
    QTest::newRow("six") << u("012000") << false;
    QTest::newRow("short") << u("00120") << true;
    QTest::newRow("normalised empty") << u("00") << true;
}

void TestPortfolioLogic::codeRefusal()
{
    QFETCH(QString, code);
    QFETCH(bool, refused);
    const QString message = ptf::codeRefusal(u("Code reçu"), code);
    QCOMPARE(!message.isEmpty(), refused);
    if (refused) QVERIFY(message.startsWith(u("Code reçu : le code « ") + code));
}

void TestPortfolioLogic::lastPrice_takesNewestDateWhateverTheOrder_data()
{
    QTest::addColumn<QStringList>("store");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("price"); // null: none
    const QString a1 = ql("20010105", "012000", "ALPHA", "11,00");
    const QString a2 = ql("20010106", "012000", "ALPHA", "12,00");
    const QString b = ql("20010107", "012001", "ALPHA BIS", "99,00");
    QTest::newRow("date order") << QStringList{a1, a2, b} << u("012000") << u("12,00");
    QTest::newRow("newest first") << QStringList{a2, b, a1} << u("012000") << u("12,00");
    QTest::newRow("short code matches nothing") << QStringList{a1, b} << u("0120") << QString();
    QTest::newRow("no quotation") << QStringList{a1} << u("014000") << QString();
    QTest::newRow("equal dates: the later line")
        << QStringList{a1, ql("20010105", "012000", "ALPHA", "13,00")} << u("012000") << u("13,00");
    // Ł: a line held aside, its date compared as text.
    const QString aside = ql("20010108", "012000", "ŁÓDŹ", "14,00");
    QTest::newRow("held aside, newest") << QStringList{a2, aside, a1} << u("012000") << u("14,00");
    QTest::newRow("held aside, older")
        << QStringList{ql("20001231", "012000", "ŁÓDŹ", "9,00"), a1} << u("012000") << u("11,00");
}

void TestPortfolioLogic::lastPrice_takesNewestDateWhateverTheOrder()
{
    QFETCH(QStringList, store);
    QFETCH(QString, code);
    QFETCH(QString, price);
    QString found;
    QCOMPARE(lastPrice(store, code, &found), !price.isNull());
    if (!price.isNull()) QCOMPARE(found, price);
    const LastPrices prices(store, {code});
    QCOMPARE(prices.price(code), price);
    // Behind enough lines of another code to be read in parts on every
    // core: the same.
    QStringList large(140000, ql("20010101", "099999", "AUTRE", "1,00"));
    large += store;
    QCOMPARE(LastPrices(large, {code, u("099999")}).price(code), price);
}

void TestPortfolioLogic::lastPrices_readInPartsAsInOnePass()
{
    // Two lines of a code far apart, read by different cores: the newer
    // wins, and of equal dates the later line.
    const QString other = ql("20010101", "099999", "AUTRE", "1,00");
    struct Case {
        const char *first, *firstPrice, *second, *price;
    };
    for (const Case &c : {Case{"20010105", "1,00", "20010105", "2,00"},
                          Case{"20010106", "3,00", "20010105", "3,00"},
                          Case{"20010104", "1,00", "20010105", "2,00"}}) {
        QStringList store(140000, other);
        store.append(ql(c.first, "012000", "ALPHA", c.firstPrice));
        store += QStringList(140000, other);
        store.append(ql(c.second, "012000", "ALPHA", "2,00"));
        store += QStringList(1000, other);
        QCOMPARE(LastPrices(store, {u("012000")}).price(u("012000")), QString::fromLatin1(c.price));
    }
}

void TestPortfolioLogic::exchange_amounts()
{
    const QStringList store = {ql("20010105", "012000", "ALPHA", "20,00"),
                               ql("20010105", "013000", "BETA", "7,50"),
                               ql("20010101", "012000", "ALPHA", "31,00")};
    const auto [sale, purchase] = exchangeParts(QDate(2001, 2, 3), u("012000"), u("013000"),
                                                u("10"), u("27"), u("5"), u("3"), store);
    QCOMPARE(sale, u("20010203\t012000\t205,00\t10\t3"));
    QCOMPARE(purchase, u("20010203\t013000\t202,50\t27\t0"));
}

void TestPortfolioLogic::exchange_errors_data()
{
    QTest::addColumn<QString>("codeIn");
    QTest::addColumn<QString>("qtyOut");
    QTest::addColumn<QString>("soulte");
    QTest::addColumn<QString>("fees");
    QTest::addColumn<QString>("message"); // empty: both parts empty, no error
    QTest::newRow("soulte empty") << u("013000") << u("10") << u(" ") << u("3") << QString();
    QTest::newRow("fees empty") << u("013000") << u("10") << u("5") << QString() << QString();
    QTest::newRow("quantity empty") << u("013000") << QString() << u("5") << u("3")
                                    << u("'' n'est pas une valeur entière correcte");
    QTest::newRow("soulte not a number") << u("013000") << u("10") << u("5,,") << u("3")
                                         << u("'5,,' n'est pas une valeur flottante correcte");
    QTest::newRow("received without price") << u("099999") << u("10") << u("5") << u("3")
                                            << u("'' n'est pas une valeur flottante correcte");
}

void TestPortfolioLogic::exchange_errors()
{
    QFETCH(QString, codeIn);
    QFETCH(QString, qtyOut);
    QFETCH(QString, soulte);
    QFETCH(QString, fees);
    QFETCH(QString, message);
    const QStringList store = {ql("20010105", "012000", "ALPHA", "20,00"),
                               ql("20010105", "013000", "BETA", "7,50")};
    try {
        const auto parts = exchangeParts(QDate(2001, 2, 3), u("012000"), codeIn, qtyOut, u("2"),
                                         soulte, fees, store);
        QVERIFY2(message.isEmpty(), "no error");
        QVERIFY(parts.first.isEmpty());
        QVERIFY(parts.second.isEmpty());
    } catch (const VError &e) {
        QCOMPARE(e.message(), message);
    }
}

void TestPortfolioLogic::valuation_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("evaluation");
    QTest::addColumn<QString>("gain");
    QTest::addColumn<bool>("loss");
    QTest::newRow("bought then partly sold")
        << QStringList{pline("A20010101", "012000", "1000,00", "100", "5"),
                       pline("V20010301", "012000", "600,00", "40", "5")}
        << QStringList{u("012000|ALPHA|60|400,00|6,67|12,00|720,00|80,00")} << u("720,00")
        << u("320,00") << false;
    QTest::newRow("two purchases, one row where it first appeared")
        << QStringList{pline("A20010101", "013000", "100", "10", "0"),
                       pline("A20010102", "012000", "100,00", "10", "0"),
                       pline("A20010103", "013000", "50,00", "10", "0")}
        << QStringList{u("013000|ACIÉRIES DU NORD|20|150,00|7,50|5,00|100,00|-33,33"),
                       u("012000|ALPHA|10|100,00|10,00|12,00|120,00|20,00")}
        << u("220,00") << u("-30,00") << true;
    QTest::newRow("a dividend changes nothing and opens nothing")
        << QStringList{pline("D20010101", "013000", "10,00", "10", "4"),
                       pline("A20010102", "012000", "100", "10", "0"),
                       pline("D20010103", "012000", "10,00", "10", "4")}
        << QStringList{u("012000|ALPHA|10|100|10,00|12,00|120,00|20,00")} << u("120,00")
        << u("20,00") << false;
    QTest::newRow("sold out: no row, no total")
        << QStringList{pline("A20010101", "012000", "100,00", "10", "0"),
                       pline("V20010102", "012000", "150,00", "10", "0")}
        << QStringList{} << u(",00") << u(",00") << false;
    QTest::newRow("sold out, bought again: a new position")
        << QStringList{pline("A20010101", "012000", "100,00", "10", "0"),
                       pline("V20010102", "012000", "150,00", "10", "0"),
                       pline("A20010103", "012000", "110,00", "10", "0")}
        << QStringList{u("012000|ALPHA|10|110,00|11,00|12,00|120,00|9,09")} << u("120,00")
        << u("10,00") << false;
    QTest::newRow("sale before purchase: negative, netted out later")
        << QStringList{pline("V20010101", "012000", "50,00", "4", "0"),
                       pline("A20010102", "012000", "100,00", "10", "0")}
        << QStringList{u("012000|ALPHA|6|50,00|8,33|12,00|72,00|44,00")} << u("72,00") << u("22,00")
        << false;
    QTest::newRow("net cost zero: no percentage")
        << QStringList{pline("A20010101", "012000", "100,00", "10", "0"),
                       pline("V20010102", "012000", "100,00", "5", "0")}
        << QStringList{u("012000|ALPHA|5|,00|,00|12,00|60,00|")} << u("60,00") << u("60,00")
        << false;
}

void TestPortfolioLogic::valuation()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, rows);
    QFETCH(QString, evaluation);
    QFETCH(QString, gain);
    QFETCH(bool, loss);
    const QStringList store = {ql("20010105", "013000", "ACIÉRIES DU NORD", "5,00"),
                               ql("20010105", "012000", "ALPHA", "12,00")};
    const Valuation v = Valuation::build(readOperations(lines), store, kIndex, false);
    QCOMPARE(rowsOf(v), rows);
    QCOMPARE(v.evaluation(), evaluation);
    QCOMPARE(v.gain(), gain);
    QCOMPARE(v.loss(), loss);
}

void TestPortfolioLogic::valuation_noPrice_staysOutOfTotals()
{
    const QStringList lines = {pline("A20010101", "014000", "100,00", "10", "0"),
                               pline("A20010101", "012000", "100,00", "10", "0")};
    const QStringList store = {ql("20010105", "012000", "ALPHA", "12,00")};
    const Valuation v = Valuation::build(readOperations(lines), store, kIndex, false);
    QCOMPARE(rowsOf(v), (QStringList{u("014000|GAMMA|10|100,00|10,00|||"),
                                     u("012000|ALPHA|10|100,00|10,00|12,00|120,00|20,00")}));
    QCOMPARE(v.evaluation(), u("120,00"));
    QCOMPARE(v.gain(), u("20,00"));
    QVERIFY(distribution(v.rows()).size() == 1);
}

void TestPortfolioLogic::journal_yearAndCessions_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<QString>("cessions");
    QTest::newRow("2001, an exchange's sale counted")
        << 2001 << QStringList{u("V"), u("A"), u("V"), u("D")} << u("1505,50");
    QTest::newRow("2000") << 2000 << QStringList{u("A")} << u(",00");
    QTest::newRow("2002 empty") << 2002 << QStringList{} << u(",00");
}

void TestPortfolioLogic::journal_yearAndCessions()
{
    QFETCH(int, year);
    QFETCH(QStringList, kinds);
    QFETCH(QString, cessions);
    const QStringList lines = {pline("A20001231", "012000", "1000,00", "100", "5"),
                               pline("V20010203", "012000", "205,00", "10", "3"),
                               pline("A20010203", "099999", "202,50", "27", "0"),
                               pline("V20010301", "012000", "1300,50", "40", "5"),
                               pline("D20010401", "013000", "40,00", "60", "20,00")};
    const QList<QStringList> rows = journalRows(readOperations(lines), SecurityNames(kIndex), year);
    QStringList got;
    for (const QStringList &r : rows)
        got.append(r[5]);
    QCOMPARE(got, kinds);
    QCOMPARE(ptf::cessions(rows), cessions);
    if (year == 2001) {
        QCOMPARE(rows[0], (QStringList{u("03/02/2001"), u("012000"), u("ALPHA"), u("205,00"),
                                       u("10"), u("V")}));
        QCOMPARE(rows[1][2], u("099999")); // no name: the code itself
        // The total follows the rows shown: a sale taken off the list leaves it.
        QList<QStringList> fewer = rows;
        fewer.removeAt(0);
        QCOMPARE(ptf::cessions(fewer), u("1300,50"));
    }
}

void TestPortfolioLogic::fees_everyLineInOrder()
{
    const QStringList lines = {pline("A20010203", "013000", "100,00", "10", "12,50"),
                               pline("A20001231", "012000", "1000,00", "100", "5"),
                               pline("D20010401", "013000", "40,00", "60", "20,00")};
    const QList<QStringList> rows = feeRows(readOperations(lines), SecurityNames(kIndex));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0], (QStringList{u("03/02/2001"), u("013000"), u("ACIÉRIES DU NORD"), u("12,50"),
                                   u("10"), u("A")}));
    QCOMPARE(rows[1][0], u("31/12/2000"));
    QCOMPARE(rows[2][3], u("20,00"));
    QCOMPARE(rows[2][5], u("D"));
}

void TestPortfolioLogic::distribution_legend_data()
{
    QTest::addColumn<int>("securities");
    QTest::addColumn<bool>("withNegative");
    QTest::addColumn<int>("legendRows");
    QTest::addColumn<QString>("firstPercent");
    QTest::newRow("one") << 1 << false << 1 << u("100,00%");
    QTest::newRow("three equal") << 3 << false << 3 << u("33,33%");
    QTest::newRow("twenty") << 20 << false << 15 << u("5,00%");
    QTest::newRow("a negative position has no row") << 2 << true << 2 << u("50,00%");
    QTest::newRow("empty") << 0 << false << 0 << QString();
}

void TestPortfolioLogic::distribution_legend()
{
    QFETCH(int, securities);
    QFETCH(bool, withNegative);
    QFETCH(int, legendRows);
    QFETCH(QString, firstPercent);
    QStringList lines, store, index;
    for (int i = 0; i < securities; ++i) {
        const QString code = u"1000%1"_qs.arg(i, 2, 10, QLatin1Char('0'));
        lines.append(u"A20010101\t"_qs + code + u"\t100,00\t10\t0"_qs);
        store.append(qline(u("20010105"), code, u("X"), u("10,00")));
        index.append(code + u("ACIÉRIES NUMÉRO ") + QString::number(i));
    }
    if (withNegative) {
        lines.append(u("V20010101\t200000\t100,00\t10\t0"));
        store.append(ql("20010105", "200000", "VENDU", "10,00"));
    }
    const Valuation v = Valuation::build(readOperations(lines), store, index, true);
    const QList<LegendRow> legend = distribution(v.rows());
    QCOMPARE(legend.size(), legendRows);
    if (legendRows == 0) return;
    QCOMPARE(legend[0].percent, firstPercent);
    QCOMPARE(legend[0].name, u("Aciéries numéro 0"));
}

void TestPortfolioLogic::pie_anglesFromTwoDecimalPercentages_data()
{
    QTest::addColumn<QStringList>("percents");
    QTest::addColumn<QList<int>>("starts");
    QTest::addColumn<QList<int>>("spans");
    // 33,33% is 119,988 degrees: 1919,808 sixteenths, the ends rounded.
    QTest::newRow("three equal") << QStringList{u("33,33%"), u("33,33%"), u("33,33%")}
                                 << QList<int>{0, 1920, 3840} << QList<int>{1920, 1920, 1919};
    QTest::newRow("full disc") << QStringList{u("100,00%")} << QList<int>{0} << QList<int>{5760};
    QTest::newRow("quarter and half")
        << QStringList{u("25,00%"), u("50,00%")} << QList<int>{0, 1440} << QList<int>{1440, 2880};
}

void TestPortfolioLogic::pie_anglesFromTwoDecimalPercentages()
{
    QFETCH(QStringList, percents);
    QFETCH(QList<int>, starts);
    QFETCH(QList<int>, spans);
    QList<LegendRow> legend;
    for (const QString &p : percents)
        legend.append({p, QString()});
    const QList<Slice> slices = pieSlices(legend);
    QList<int> gotStarts, gotSpans;
    for (const Slice &s : slices) {
        gotStarts.append(s.start);
        gotSpans.append(s.span);
    }
    QCOMPARE(gotStarts, starts);
    QCOMPARE(gotSpans, spans);
}

QTEST_MAIN(TestPortfolioLogic)
#include "tst_portfolio_logic.moc"

// The import without windows: reading the file, the normalisation of its
// lines, the threshold and the choice of the lines that reach the store.
#include "base/errors.h"
#include "exchange/importing.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;
using importing::Order;

Q_DECLARE_METATYPE(importing::Order)
Q_DECLARE_METATYPE(importing::Selection)

namespace
{

// Today for every test: a Sunday in June 2025.
const QDate kToday(2025, 6, 15);

QString tabs(const QStringList &fields)
{
    return fields.join(u'\t');
}

} // namespace

class TestImporting : public QObject
{
    Q_OBJECT

private slots:
    void reformate_data()
    {
        QTest::addColumn<Order>("order");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        const Order D = Order::DateFirst, C = Order::CodeFirst;
        const QString alpha = u"15/01/1999\t012000\tALPHA\t102,50\t1500"_s;
        QTest::newRow("date first") << D << u"15/01/1999\t12000\tALPHA\t102,50\t1500"_s << alpha;
        QTest::newRow("code first") << C << u"012000\tALPHA\t15/01/1999\t102,50\t1500"_s << alpha;
        QTest::newRow("fields trimmed")
            << D << u" 15/01/1999 \t 12000\x1a\t ALPHA \t 102,50\t1500 \r"_s << alpha;
        QTest::newRow("blanks inside the date")
            << D << u"15 / 1 / 1999\t12000\tALPHA\t102,50\t1500"_s << alpha;
        QTest::newRow("one-digit day and month")
            << D << u"5/1/1999\t2000\tB\t1\t2"_s << u"05/01/1999\t002000\tB\t1\t2"_s;
        QTest::newRow("two-digit year of the past century")
            << D << u"5/1/99\t2000\tB\t1\t2"_s << u"05/01/1999\t002000\tB\t1\t2"_s;
        QTest::newRow("two-digit year of this century")
            << D << u"5/1/25\t2000\tB\t1\t2"_s << u"05/01/2025\t002000\tB\t1\t2"_s;
        QTest::newRow("two-digit year later this year is of the past century")
            << D << u"1/7/25\t2000\tB\t1\t2"_s << u"01/07/1925\t002000\tB\t1\t2"_s;
        QTest::newRow("today itself stays")
            << D << u"15/6/25\t2000\tB\t1\t2"_s << u"15/06/2025\t002000\tB\t1\t2"_s;
        QTest::newRow("day and month only")
            << D << u"5/1\t2000\tB\t1\t2"_s << u"05/01/2025\t002000\tB\t1\t2"_s;
        QTest::newRow("year first with dashes")
            << D << u"1999-01-15\t12000\tALPHA\t102,50\t1500"_s << alpha;
        QTest::newRow("semicolons without tab") << D << u"15/01/1999;2000;BETA SA;102.5;10"_s
                                                << u"15/01/1999\t002000\tBETA SA\t102,5\t10"_s;
        QTest::newRow("semicolons inside a tabbed line stay")
            << D << u"15/01/1999\t2000\tA;B\t1\t2"_s << u"15/01/1999\t002000\tA;B\t1\t2"_s;
        QTest::newRow("decimal point becomes a comma")
            << D << u"15/01/1999\t2000\tB\t102.5\t2"_s << u"15/01/1999\t002000\tB\t102,5\t2"_s;
        QTest::newRow("thousands point with a comma stays")
            << D << u"15/01/1999\t2000\tB\t1.102,5\t2"_s << u"15/01/1999\t002000\tB\t1.102,5\t2"_s;
        QTest::newRow("code of four")
            << D << u"15/01/1999\t2000\tB\t1\t2"_s << u"15/01/1999\t002000\tB\t1\t2"_s;
        QTest::newRow("code of three stays short")
            << D << u"15/01/1999\t123\tB\t1\t2"_s << u"15/01/1999\t00123\tB\t1\t2"_s;
        QTest::newRow("code of seven keeps its end")
            << D << u"15/01/1999\t1234567\tB\t1\t2"_s << u"15/01/1999\t234567\tB\t1\t2"_s;
        QTest::newRow("missing fields are empty")
            << D << u"15/01/1999\t12000"_s << u"15/01/1999\t012000\t\t\t"_s;
        QTest::newRow("sixth field ignored")
            << D << u"15/01/1999\t2000\tB\t1\t2\textra"_s << u"15/01/1999\t002000\tB\t1\t2"_s;
        QTest::newRow("255 characters after the first tab")
            << D << u"15/01/1999\t2000\t"_s + QString(300, u'N') + u"\t1\t2"_s
            << u"15/01/1999\t002000\t"_s + QString(250, u'N') + u"\t\t"_s;
    }
    void reformate()
    {
        QFETCH(Order, order);
        QFETCH(QString, line);
        // A heading may only stand first: an accepted line goes before.
        QStringList lines{tabs({u"01/01/2000"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s}), line};
        if (order == Order::CodeFirst)
            lines[0] = tabs({u"1"_s, u"2"_s, u"01/01/2000"_s, u"3"_s, u"4"_s});
        // Into new lines, the same.
        int headings = -1;
        const QuoteLines normalised = importing::reformated(lines, order, kToday, &headings);
        QCOMPARE(headings, 0);
        QCOMPARE(importing::Reformate(lines, order, kToday), 0);
        QTEST(lines[1], "expected");
        QCOMPARE(normalised, lines);
    }

    void lineWithoutDate_data()
    {
        QTest::addColumn<Order>("order");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("error"); // empty: no failure
        QTest::addColumn<int>("headings");
        QTest::addColumn<QStringList>("kept"); // lines left non-empty
        const QString good = u"15/01/1999\t12000\tALPHA\t1\t2"_s;
        const QString goodNorm = u"15/01/1999\t012000\tALPHA\t1\t2"_s;
        QTest::newRow("heading first is left out")
            << Order::DateFirst << QStringList{u"Date\tCode\tNom\tCours\tVolume"_s, good}
            << QString() << 1 << QStringList{goodNorm};
        QTest::newRow("heading after a line fails naming its field")
            << Order::DateFirst << QStringList{good, u"Date\tCode\tNom\tCours\tVolume"_s}
            << u"'Date' n'est pas une date correcte"_s << 0 << QStringList();
        QTest::newRow("code first names the third field")
            << Order::CodeFirst
            << QStringList{u"012000\tA\t15/01/1999\t1\t2"_s, u"012000\tA\t 32/01/1999 \t1"_s}
            << u"'32/01/1999' n'est pas une date correcte"_s << 0 << QStringList();
        QTest::newRow("empty lines left out anywhere")
            << Order::DateFirst << QStringList{QString(), good, u"  "_s, QString()} << QString()
            << 0 << QStringList{goodNorm};
        QTest::newRow("impossible day")
            << Order::DateFirst << QStringList{good, u"29/02/1999\t1\tA\t1\t2"_s}
            << u"'29/02/1999' n'est pas une date correcte"_s << 0 << QStringList();
        QTest::newRow("month of three digits")
            << Order::DateFirst << QStringList{good, u"01/001/1999\t1\tA\t1"_s}
            << u"'01/001/1999' n'est pas une date correcte"_s << 0 << QStringList();
        QTest::newRow("bad dashed date")
            << Order::DateFirst << QStringList{good, u"1999-13-01\t1\tA\t1"_s}
            << u"'1999-13-01' n'est pas une date correcte"_s << 0 << QStringList();
    }
    void lineWithoutDate()
    {
        QFETCH(Order, order);
        QFETCH(QStringList, lines);
        QFETCH(QString, error);
        QString raised, raisedInto;
        int headings = -1, headingsInto = -1;
        QuoteLines normalised;
        try {
            normalised = importing::reformated(lines, order, kToday, &headingsInto);
        } catch (const VError &e) {
            raisedInto = e.message();
        }
        try {
            headings = importing::Reformate(lines, order, kToday);
        } catch (const VError &e) {
            raised = e.message();
        }
        QCOMPARE(raised, error);
        QCOMPARE(raisedInto, error);
        if (!error.isEmpty()) return;
        QTEST(headings, "headings");
        QCOMPARE(headingsInto, headings);
        QCOMPARE(normalised, lines);
        lines.removeAll(QString());
        QTEST(lines, "kept");
    }

    void threshold_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected"); // "!" when refused
        QTest::newRow("whole date") << u"14/01/1999"_s << u"19990114"_s;
        QTest::newRow("blank accepts every date") << u"//"_s << QString();
        QTest::newRow("half typed") << u"14/01/19"_s << u"!"_s;
        QTest::newRow("day missing") << u"/01/1999"_s << u"!"_s;
        QTest::newRow("impossible") << u"31/02/1999"_s << u"!"_s;
    }
    void threshold()
    {
        QFETCH(QString, field);
        QFETCH(QString, expected);
        QString got;
        try {
            got = importing::threshold(field);
        } catch (const VError &e) {
            QCOMPARE(e.message(), u"'"_s + field + u"' n'est pas une date correcte"_s);
            got = u"!"_s;
        }
        QCOMPARE(got, expected);
    }

    void select_data()
    {
        QTest::addColumn<QStringList>("file"); // date-first lines
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("allDays");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<int>("refused");

        const QString alpha = u"19990115\t012000\tALPHA\t102,50\t1500"_s;
        QTest::newRow("the usual line") << QStringList{u"15/01/1999\t12000\tALPHA\t102,50\t1500"_s}
                                        << u"19990114"_s << true << QStringList{alpha} << 0;
        QTest::newRow("Fridays only") << QStringList{u"14/01/1999\t12000\tALPHA\t1\t1"_s,
                                                     u"15/01/1999\t12000\tALPHA\t102,50\t1500"_s}
                                      << u"19990110"_s << false << QStringList{alpha} << 0;
        QTest::newRow("every day")
            << QStringList{u"14/01/1999\t13000\tBETA\t1\t1"_s,
                           u"15/01/1999\t12000\tALPHA\t102,50\t1500"_s}
            << u"19990110"_s << true << QStringList{u"19990114\t013000\tBETA\t1\t1"_s, alpha} << 0;
        QTest::newRow("threshold day left out, the day after taken")
            << QStringList{u"14/01/1999\t12000\tALPHA\t1\t1"_s,
                           u"15/01/1999\t12000\tALPHA\t102,50\t1500"_s}
            << u"19990114"_s << true << QStringList{alpha} << 0;
        QTest::newRow("file order kept, no sorting")
            << QStringList{u"20/01/1999\t13000\tBETA\t2\t1"_s, u"19/01/1999\t12000\tALPHA\t1\t1"_s}
            << u"19990114"_s << true
            << QStringList{u"19990120\t013000\tBETA\t2\t1"_s, u"19990119\t012000\tALPHA\t1\t1"_s}
            << 0;
        QTest::newRow("blank threshold takes old dates")
            << QStringList{u"15/01/1990\t12000\tALPHA\t1\t1"_s} << QString() << true
            << QStringList{u"19900115\t012000\tALPHA\t1\t1"_s} << 0;
        QTest::newRow("unknown security left out, not counted")
            << QStringList{u"15/01/1999\t77000\tGAMMA\t1\t1"_s} << u"19990114"_s << true
            << QStringList() << 0;
        QTest::newRow("short code finds no security")
            << QStringList{u"15/01/1999\t123\tSHORT\t1\t1"_s} << u"19990114"_s << true
            << QStringList() << 0;
        QTest::newRow("price not a number refused")
            << QStringList{u"15/01/1999\t12000\tALPHA\tn/a\t1"_s, u"15/01/1999\t13000\tBETA\t\t1"_s}
            << u"19990114"_s << true << QStringList() << 2;
        QTest::newRow("volume not a number refused, empty volume taken")
            << QStringList{u"15/01/1999\t12000\tALPHA\t1\tbeaucoup"_s,
                           u"15/01/1999\t13000\tBETA\t2.5"_s}
            << u"19990114"_s << true << QStringList{u"19990115\t013000\tBETA\t2,5\t"_s} << 1;
        QTest::newRow("already in the store refused")
            << QStringList{u"18/01/1999\t12000\tALPHA\t9\t9"_s, u"18/01/1999\t13000\tBETA\t9\t9"_s}
            << u"19990114"_s << true << QStringList{u"19990118\t013000\tBETA\t9\t9"_s} << 1;
        QTest::newRow("twice in the file refused once")
            << QStringList{u"19/01/1999\t13000\tBETA\t1\t1"_s, u"19/01/1999\t13000\tBETA\t2\t2"_s}
            << u"19990114"_s << true << QStringList{u"19990119\t013000\tBETA\t1\t1"_s} << 1;
        // Read from a UTF-8 file: the file of quotations would hold '?' instead.
        QTest::newRow("name Windows-1252 cannot hold refused, accents taken")
            << QStringList{u"19/01/1999\t13000\tBETA \u2116 1\t1\t1"_s,
                           u"19/01/1999\t12000\tALPHA \uFFFD\t1\t1"_s,
                           u"20/01/1999\t13000\tB\u00C9TA \u2014 \u0153\t1\t1"_s}
            << u"19990114"_s << true
            << QStringList{u"19990120\t013000\tB\u00C9TA \u2014 \u0153\t1\t1"_s} << 2;
        QTest::newRow("control character in the name refused")
            << QStringList{u"19/01/1999\t13000\tBE\u0001TA\t1\t1"_s} << u"19990114"_s << true
            << QStringList() << 1;
        QTest::newRow("code of letters: in the store, then twice in the file")
            << QStringList{u"19/01/1999\tABCD\tLETTRES\t1\t1"_s,
                           u"20/01/1999\tABCD\tLETTRES\t2\t2"_s,
                           u"20/01/1999\tABCD\tLETTRES\t3\t3"_s}
            << u"19990114"_s << true << QStringList{u"19990120\t00ABCD\tLETTRES\t2\t2"_s} << 2;
        QTest::newRow("Fridays only, one day in the store")
            << QStringList{u"22/01/1999\t12000\tALPHA\t1\t1"_s,
                           u"22/01/1999\tABCD\tLETTRES\t2\t2"_s,
                           u"21/01/1999\tABCD\tLETTRES\t3\t3"_s}
            << u"19990114"_s << false << QStringList{u"19990122\t012000\tALPHA\t1\t1"_s} << 1;
        QTest::newRow("empty file") << QStringList() << u"19990114"_s << true << QStringList() << 0;
        QTest::newRow("heading counted refused")
            << QStringList{u"Date;Code;Nom;Cours;Volume"_s, u"19/01/1999;13000;BETA;1;1"_s}
            << u"19990114"_s << true << QStringList{u"19990119\t013000\tBETA\t1\t1"_s} << 1;
    }
    void select()
    {
        QFETCH(QStringList, file);
        QFETCH(QString, after);
        QFETCH(bool, allDays);
        const QStringList store{
            u"19990114\t012000\tALPHA\t100,00\t10"_s, u"19990118\t012000\tALPHA\t101,00\t10"_s,
            u"19990119\t00ABCD\tLETTRES\t5,00\t1"_s, u"19990122\t00ABCD\tLETTRES\t5,00\t1"_s};
        // Entries: code then name; a code of five characters begins one.
        const QStringList index{u"012000ALPHA"_s, u"013000BETA"_s, u"001234SIX"_s,
                                u"00ABCDLETTRES"_s};
        const int headings = importing::Reformate(file, Order::DateFirst, kToday);
        const importing::Selection s = importing::select(file, after, allDays, store, index);
        QTEST(s.lines.toStringList(), "added");
        QTEST(s.refused + headings, "refused");
    }

    void vendredi_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("allDays");
        QTest::addColumn<bool>("passes");
        QTest::newRow("friday") << u"15/01/1999\tx"_s << false << true;
        QTest::newRow("thursday") << u"14/01/1999\tx"_s << false << false;
        QTest::newRow("saturday") << u"16/01/1999\tx"_s << false << false;
        QTest::newRow("thursday, every day") << u"14/01/1999\tx"_s << true << true;
        QTest::newRow("no date passes") << u"xx/yy/zzzz\tx"_s << false << true;
    }
    void vendredi()
    {
        QFETCH(QString, line);
        QFETCH(bool, allDays);
        QTEST(importing::Vendredi(line, allDays), "passes");
    }

    void heading_data()
    {
        QTest::addColumn<QString>("line");
        // Separator, then the columns of date, code, name, price and volume;
        // empty when the line is no heading.
        QTest::addColumn<QString>("expected");
        QTest::newRow("english, tabs")
            << u"date\topen\thigh\tlow\tclose\tvolume"_s << u"\t 0 -1 -1 4 5"_s;
        QTest::newRow("french, semicolons, accents and case")
            << u"Date;Ouverture;Plus haut;Plus bas;Clôture;Volume"_s << u"; 0 -1 -1 4 5"_s;
        QTest::newRow("adjusted close is not the close")
            << u"Date,Open,High,Low,Close,Adj Close,Volume"_s << u", 0 -1 -1 4 6"_s;
        QTest::newRow("adjusted close alone is no price") << u"Date,Adj Close"_s << QString();
        QTest::newRow("close preferred to cours") << u"Date,Cours,Close"_s << u", 0 -1 -1 2 -1"_s;
        QTest::newRow("code and name") << u"DATE;MNÉMO;NOM;DERNIER;VOL."_s << u"; 0 1 2 3 4"_s;
        QTest::newRow("ticker and name, english")
            << u"Ticker,Name,Date,Close"_s << u", 2 0 1 3 -1"_s;
        QTest::newRow("symbole and libellé")
            << u"Symbole\tLibellé\tDate\tCours"_s << u"\t 2 0 1 3 -1"_s;
        QTest::newRow("series is no code")
            << u"date\tseries\topen\thigh\tlow\tclose\tvolume"_s << u"\t 0 -1 -1 5 6"_s;
        QTest::newRow("quoted, byte-order mark")
            << u"\uFEFF\"Date\",\"Close\""_s << u", 0 -1 -1 1 -1"_s;
        QTest::newRow("the program's own")
            << u"Date\tCode\tNom\tCours\tVolume"_s << u"\t 0 1 2 3 4"_s;
        QTest::newRow("a quotation line") << u"15/01/1999\t12000\tALPHA\t1\t2"_s << QString();
        QTest::newRow("no price") << u"Date;Code;Nom"_s << QString();
    }
    void heading()
    {
        QFETCH(QString, line);
        const auto c = importing::readHeading(line);
        QTEST(c ? QString(c->separator) +
                      u" %1 %2 %3 %4 %5"_s.arg(c->date).arg(c->code).arg(c->name).arg(c->price).arg(
                          c->volume)
                : QString(),
              "expected");
    }

    void headedDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("dayFirst");
        QTest::addColumn<QDate>("expected"); // invalid: refused
        const QDate april3(2008, 4, 3);
        QTest::newRow("yyyy-mm-dd") << u"2008-04-03"_s << true << april3;
        QTest::newRow("yyyy/mm/dd") << u"2008/04/03"_s << false << april3;
        QTest::newRow("dd/mm/yyyy") << u"03/04/2008"_s << true << april3;
        QTest::newRow("mm/dd/yyyy") << u"04/03/2008"_s << false << april3;
        QTest::newRow("dd.mm.yyyy") << u" 3.4.2008 "_s << true << april3;
        QTest::newRow("dd-mm-yyyy") << u"03-04-2008"_s << true << april3;
        QTest::newRow("yyyymmdd") << u"20080403"_s << false << april3;
        QTest::newRow("a time after") << u"2008-04-03 00:00:00"_s << true << april3;
        QTest::newRow("iso with time") << u"2008-04-03T16:30"_s << true << april3;
        QTest::newRow("two-digit year") << u"3/4/08"_s << true << april3;
        QTest::newRow("impossible day") << u"2008-02-30"_s << true << QDate();
        QTest::newRow("month 13") << u"13/13/2008"_s << true << QDate();
        QTest::newRow("mixed separators") << u"03/04.2008"_s << true << QDate();
        QTest::newRow("seven digits") << u"2008043"_s << true << QDate();
        QTest::newRow("text") << u"date"_s << true << QDate();
    }
    void headedDate()
    {
        QFETCH(QString, text);
        QFETCH(bool, dayFirst);
        QDate d;
        if (!importing::readHeadedDate(text, dayFirst, kToday, &d)) d = QDate();
        QTEST(d, "expected");
    }

    void dayOrder_data()
    {
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<bool>("dayFirst");
        QTest::addColumn<bool>("decided");
        QTest::newRow("a day above 12 first")
            << QStringList{u"03/04/2008"_s, u"25/04/2008"_s} << true << true;
        QTest::newRow("a day above 12 second")
            << QStringList{u"04/03/2008"_s, u"04/25/2008"_s} << false << true;
        QTest::newRow("nothing tells: day first")
            << QStringList{u"03/04/2008"_s, u"04/04/2008"_s} << true << false;
        QTest::newRow("year first leaves no doubt")
            << QStringList{u"2008-04-25"_s, u"2008-04-26"_s} << true << true;
        QTest::newRow("both ways: day first")
            << QStringList{u"25/04/2008"_s, u"04/25/2008"_s} << true << true;
    }
    void dayOrder()
    {
        QFETCH(QStringList, dates);
        QStringList lines{u"Nom;Date;Cours"_s};
        for (const QString &d : dates)
            lines.append(u"A;"_s + d + u";1"_s);
        const importing::DayOrder o = importing::dayOrder(lines, *importing::readHeading(lines[0]));
        QTEST(o.dayFirst, "dayFirst");
        QTEST(o.decided, "decided");
    }

    void decimalText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // "!": not a number
        QTest::newRow("point") << u"1455.219971"_s << u"1455,219971"_s;
        QTest::newRow("comma") << u"102,50"_s << u"102,50"_s;
        QTest::newRow("whole") << u"53077800"_s << u"53077800"_s;
        QTest::newRow("grouped by blanks") << u"1 234,50"_s << u"1234,50"_s;
        QTest::newRow("grouped by no-break spaces") << u"1\u00A0234\u202F567"_s << u"1234567"_s;
        QTest::newRow("grouped by commas") << u"1,234,567.5"_s << u"1234567,5"_s;
        QTest::newRow("grouped by points") << u"1.234.567,5"_s << u"1234567,5"_s;
        QTest::newRow("grouped without decimals") << u"1.234.567"_s << u"1234567"_s;
        QTest::newRow("negative") << u"-0.5"_s << u"-0,5"_s;
        QTest::newRow("plus sign") << u"+2"_s << u"2"_s;
        QTest::newRow("grouping after the decimal") << u"1,5.3"_s << u"15,3"_s;
        QTest::newRow("empty") << QString() << u"!"_s;
        QTest::newRow("letters") << u"n/a"_s << u"!"_s;
        QTest::newRow("sign inside") << u"1-2"_s << u"!"_s;
    }
    void decimalText()
    {
        QFETCH(QString, text);
        QString out;
        if (!importing::decimalText(text, &out)) out = u"!"_s;
        QTEST(out, "expected");
    }

    // Files as spreadsheets and sites write them, under a chosen security or
    // with their own codes, into the store of the select test.
    void headedFile_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QString>("said");
        const QString q = u"19990119\t013000\tBETA\t"_s;
        QTest::newRow("english csv")
            << QStringList{u"Date,Open,High,Low,Close,Adj Close,Volume"_s,
                           u"1999-01-19,1,2,0.5,1.25,1.2,1000"_s}
            << QStringList{q + u"1,25\t1000"_s} << u"1 cotation importée"_s;
        QTest::newRow("french, semicolons, decimal comma")
            << QStringList{u"Date;Ouverture;Plus haut;Plus bas;Clôture;Volume"_s,
                           u"19/01/1999;1;2;0,5;1 234,50;1 000"_s, u"20/01/1999;1;2;1;2;"_s}
            << QStringList{q + u"1234,50\t1000"_s, u"19990120\t013000\tBETA\t2\t"_s}
            << u"2 cotations importées"_s;
        QTest::newRow("german dots, compact dates, no volume")
            << QStringList{u"Datum\tDate\tClose"_s, u"x\t19990119\t3"_s}
            << QStringList{q + u"3\t"_s} << u"1 cotation importée"_s;
        QTest::newRow("month first decided by the file")
            << QStringList{u"Date,Close"_s, u"01/19/1999,3"_s, u"01/20/1999,4"_s}
            << QStringList{q + u"3\t"_s, u"19990120\t013000\tBETA\t4\t"_s}
            << u"2 cotations importées"_s;
        QTest::newRow("every refusal named")
            << QStringList{u"date\tclose"_s,    u"1999-01-10\t1"_s, u"1999-01-18\t1"_s,
                           u"1999-01-19\t1"_s,  u"1999-01-19\t2"_s, u"someday\t1"_s,
                           u"1999-01-21\tn/a"_s}
            << QStringList{q + u"1\t"_s}
            << u"1 cotation importée ; refusées : 1 avant le 15/01/1999, 2 déjà présentes, "
               "2 illisibles (la première ligne 6)"_s;
        QTest::newRow("own codes, names from the index")
            << QStringList{u"Ticker;Date;Dernier"_s, u"13000;19/01/1999;5"_s,
                           u"77000;19/01/1999;5"_s, u"77001;19/01/1999;5"_s}
            << QStringList{q + u"5\t"_s}
            << u"1 cotation importée ; refusées : 2 de codes inconnus"_s;
        QTest::newRow("quoted name holding the separator")
            << QStringList{u"Code,Nom,Date,Close"_s, u"13000,\"BETA, SA\",1999-01-19,\"1,5\""_s}
            << QStringList{u"19990119\t013000\tBETA, SA\t1,5\t"_s} << u"1 cotation importée"_s;
        QTest::newRow("quoted tab is unreadable")
            << QStringList{u"Code\tNom\tDate\tClose"_s, u"13000\t\"A\tB\"\t1999-01-19\t1"_s}
            << QStringList() << u"0 cotation importée ; refusées : 1 illisible (ligne 2)"_s;
    }
    void headedFile()
    {
        QFETCH(QStringList, file);
        const QStringList store{u"19990114\t012000\tALPHA\t100,00\t10"_s,
                                u"19990118\t013000\tBETA\t101,00\t10"_s};
        const QStringList index{u"012000ALPHA"_s, u"013000BETA"_s};
        const auto columns = importing::readHeading(file[0]);
        QVERIFY(columns);
        const importing::DayOrder days = importing::dayOrder(file, *columns);
        const importing::Headed h = importing::reformateHeaded(
            file, *columns, days.dayFirst, {u"013000"_s, u"BETA"_s}, index, kToday);
        importing::Selection s = importing::select(h.lines, u"19990114"_s, true, store, index);
        s.unreadable += int(h.unreadable.size());
        if (!h.unreadable.isEmpty()) s.firstUnreadable = h.unreadable.first();
        QTEST(s.lines.toStringList(), "added");
        QTEST(importing::summary(s), "said");
    }

    // A file long enough to be read in parts on several cores: what each
    // part finds is put together in file order, the duplicates across parts
    // and the first unreadable line included.
    void headedFile_longEnoughForParts()
    {
        QStringList index{u"00ABCDLETTRES"_s};
        for (int c = 1; c <= 50; ++c)
            index.append(u"%1NOM %2"_s.arg(c, 6, 10, QLatin1Char('0')).arg(c));
        QStringList file{u"Date,Code,Nom,Close,Volume"_s};
        QStringList stored;
        const QDate first(2001, 1, 2);
        for (int k = 0; k < 50000; ++k) {
            const QDate day = first.addDays(k / 50);
            const QString code = k == 5 || k == 40005
                                     ? u"00ABCD"_s
                                     : u"%1"_s.arg(k % 50 + 1, 6, 10, QLatin1Char('0'));
            const QString price = k == 30000 ? u"x"_s : u"%1.5"_s.arg(k % 90 + 1);
            file.append(day.toString(u"yyyy-MM-dd"_s) + u',' + code + u",N,"_s + price + u",7"_s);
            stored.append(day.toString(u"yyyyMMdd"_s) + u'\t' + code + u"\tN\t"_s +
                          u"%1,5"_s.arg(k % 90 + 1) + u"\t7"_s);
        }
        file.append(file.at(1 + 10));    // present earlier in the file
        file.append(file.at(1 + 40005)); // the same, of a code of letters
        file.insert(1 + 45000, u"2001-13-45,000001,N,1,1"_s);
        const QuoteLines store(QStringList{stored.at(35000)});
        const auto columns = importing::readHeading(file[0]);
        QVERIFY(columns);
        const importing::Headed h =
            importing::reformateHeaded(file, *columns, true, {}, index, kToday);
        QCOMPARE(h.lines.size(), file.size());
        QCOMPARE(h.unreadable, QList<int>{45002});
        const importing::Selection s = importing::select(h.lines, QString(), true, store, index);
        QCOMPARE(s.present, 3);
        QCOMPARE(s.unreadable, 1);
        QCOMPARE(s.firstUnreadable, 30002);
        stored.removeAt(35000);
        stored.removeAt(30000);
        QCOMPARE(s.lines.toStringList(), stored);
    }

    // The real series as published, each under a new security: every day
    // once, the other series' lines of the same day already present.
    void marketFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("imported");
        QTest::addColumn<int>("present");
        QTest::addColumn<QString>("first");
        const QString dir =
            QDir::cleanPath(QStringLiteral(VALMEQ_TEST_DATA "/../exchange/data")) + u"/"_s;
        const QString t = u"\t00TEST\tTEST\t"_s;
        QTest::newRow("msft") << dir + u"msft-2000-2001.tsv"_s << 30 << 0
                              << u"20000927"_s + t + u"60,625\t53077800"_s;
        QTest::newRow("sp500") << dir + u"sp500-2000-2020.tsv"_s << 20 << 0
                               << u"20000103"_s + t + u"1455,219971\t931800000"_s;
        QTest::newRow("vix, no volume")
            << dir + u"vix-2009-2009.tsv"_s << 44 << 0 << u"20090601"_s + t + u"30,04\t"_s;
        QTest::newRow("djia, close only")
            << dir + u"djia-1980-2012.tsv"_s << 10 << 0 << u"19800101"_s + t + u"838,74\t"_s;
        QTest::newRow("dow jones 30, two series")
            << dir + u"dowjones30-1990-2001.tsv"_s << 12 << 10 << u"19901231"_s + t + u"5,92\t"_s;
        QTest::newRow("gold and silver")
            << dir + u"gold-silver-1977-2012.tsv"_s << 8 << 8 << u"19771230"_s + t + u"100\t"_s;
        // The whole published files, when a directory of them is given.
        const QString whole = qEnvironmentVariable("VALMEQ_MARKET_DATA");
        if (whole.isEmpty()) return;
        const struct {
            const char *file;
            int days, lines;
        } all[] = {{"msft-2000-2001", 249, 249},
                   {"ttrc-1985-2006", 5550, 5550},
                   {"dowjones30-1990-2001", 2529, 75870},
                   {"spi-sectors-1999-2008", 2216, 22143},
                   {"swx-2000-2007", 1917, 11502},
                   {"gcc-indices-2005-2008", 825, 9075},
                   {"gold-silver-1977-2012", 9132, 18264},
                   {"djia-1980-2012", 8610, 8610},
                   {"msci-switzerland-1994-2012", 4697, 4697},
                   {"nyse-1990-2005", 4003, 4003},
                   {"sp500-2000-2020", 5105, 5105},
                   {"vix-2009-2009", 44, 44}};
        for (const auto &f : all)
            QTest::newRow(f.file) << whole + u'/' + QLatin1String(f.file) + u".tsv"_s << f.days
                                  << f.lines - f.days << QString();
    }
    void marketFile()
    {
        QFETCH(QString, path);
        const QStringList file = importing::readFile(path);
        const auto columns = importing::readHeading(file[0]);
        QVERIFY(columns);
        QCOMPARE(columns->code, -1);
        const importing::DayOrder days = importing::dayOrder(file, *columns);
        const QStringList index{u"00TESTTEST"_s};
        const importing::Headed h = importing::reformateHeaded(
            file, *columns, days.dayFirst, {u"00TEST"_s, u"TEST"_s}, index, kToday);
        QCOMPARE(h.unreadable, QList<int>());
        const importing::Selection s = importing::select(h.lines, QString(), true, {}, index);
        QTEST(int(s.lines.size()), "imported");
        QTEST(s.present, "present");
        QCOMPARE(s.refused, s.present);
        QFETCH(QString, first);
        if (!first.isEmpty()) QCOMPARE(s.lines.isEmpty() ? QString() : s.lines.first(), first);
    }

    void summary_data()
    {
        QTest::addColumn<importing::Selection>("selection");
        QTest::addColumn<QString>("said");
        importing::Selection one;
        one.lines = {u"x"_s};
        QTest::newRow("one") << one << u"1 cotation importée"_s;
        QTest::newRow("none") << importing::Selection() << u"0 cotation importée"_s;
        importing::Selection many;
        many.lines = QStringList(1234, u"x"_s);
        many.after = u"20071231"_s;
        many.before = 12;
        many.unknown = 3;
        many.present = 112;
        many.unreadable = 1;
        many.firstUnreadable = 57;
        QTest::newRow("every reason")
            << many
            << u"1\u00A0234 cotations importées ; refusées : 12 avant le 01/01/2008, 3 de codes "
               "inconnus, 112 déjà présentes, 1 illisible (ligne 57)"_s;
        importing::Selection singles;
        singles.unknown = 1;
        singles.otherDays = 1;
        singles.unreadable = 1234567;
        singles.firstUnreadable = 1000;
        QTest::newRow("singular reasons")
            << singles
            << u"0 cotation importée ; refusées : 1 de code inconnu, 1 d'un autre jour que le "
               "vendredi, 1\u00A0234\u00A0567 illisibles (la première ligne 1\u00A0000)"_s;
    }
    void summary()
    {
        QFETCH(importing::Selection, selection);
        QTEST(importing::summary(selection), "said");
    }

    void lastDateOf_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("last line of the code") << u"012000"_s << QDate(1999, 1, 18);
        QTest::newRow("only line of the code") << u"013000"_s << QDate(1999, 1, 14);
        QTest::newRow("no line") << u"00TEST"_s << QDate();
    }
    void lastDateOf()
    {
        QFETCH(QString, code);
        const QuoteLines store(QStringList{u"19990114\t012000\tA\t1\t1"_s,
                                           u"19990114\t013000\tB\t1\t1"_s,
                                           u"19990118\t012000\tA\t1\t1"_s});
        QTEST(importing::lastDateOf(store, code), "expected");
    }

    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("windows-1252")
            << QByteArray("SOCI\xC9T\xC9\r\nB\x80") << QStringList{u"SOCIÉTÉ"_s, u"B€"_s};
        QTest::newRow("utf-8") << QByteArray("SOCI\xC3\x89T\xC3\x89\nB")
                               << QStringList{u"SOCIÉTÉ"_s, u"B"_s};
        QTest::newRow("utf-8 mark, ascii") << QByteArray("\xEF\xBB\xBF"
                                                         "A\rB")
                                           << QStringList{u"A"_s, u"B"_s};
        QTest::newRow("ascii") << QByteArray("A\tB\r\n") << QStringList{u"A\tB"_s};
        QTest::newRow("every end of line, blank lines kept")
            << QByteArray("A\r\n\r\nB\n\nC\r\rD")
            << QStringList{u"A"_s, u""_s, u"B"_s, u""_s, u"C"_s, u""_s, u"D"_s};
        QTest::newRow("utf-8 beyond the code page, ascii lines around")
            << QByteArray("A\n\xE2\x98\x83 neige\r\nB")
            << QStringList{u"A"_s, u"☃ neige"_s, u"B"_s};
        QTest::newRow("utf-8 cut at the end: windows-1252")
            << QByteArray("A\n\xC3") << QStringList{u"A"_s, u"Ã"_s};
        QTest::newRow("utf-8 mark, faulty sequence")
            << QByteArray("\xEF\xBB\xBF\xC3\n\xC3\xA9") << QStringList{u"\uFFFD"_s, u"é"_s};
        QTest::newRow("marks after the first: characters")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                          "A\n\xEF\xBB\xBF\xC3\xA9")
            << QStringList{u"\uFEFFA"_s, u"\uFEFFé"_s};
        QTest::newRow("two marks alone")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF") << QStringList{u"\uFEFF"_s};
        QTest::newRow("nothing") << QByteArray() << QStringList();
    }
    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QTEST(importing::decodeLines(bytes).toStringList(), "lines");
    }
};

QTEST_GUILESS_MAIN(TestImporting)
#include "tst_importing.moc"

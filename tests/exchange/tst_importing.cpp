// The import without windows: reading the file, the normalisation of its
// lines, the threshold and the choice of the lines that reach the store.
#include "base/errors.h"
#include "exchange/importing.h"

#include <QTest>

using namespace Qt::StringLiterals;
using importing::Order;

Q_DECLARE_METATYPE(importing::Order)

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
        QCOMPARE(importing::Reformate(lines, order, kToday), 0);
        QTEST(lines[1], "expected");
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
        QString raised;
        int headings = -1;
        try {
            headings = importing::Reformate(lines, order, kToday);
        } catch (const VError &e) {
            raised = e.message();
        }
        QCOMPARE(raised, error);
        if (!error.isEmpty()) return;
        QTEST(headings, "headings");
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
        QTest::newRow("heading counted refused")
            << QStringList{u"Date;Code;Nom;Cours;Volume"_s, u"19/01/1999;13000;BETA;1;1"_s}
            << u"19990114"_s << true << QStringList{u"19990119\t013000\tBETA\t1\t1"_s} << 1;
    }
    void select()
    {
        QFETCH(QStringList, file);
        QFETCH(QString, after);
        QFETCH(bool, allDays);
        const QStringList store{u"19990114\t012000\tALPHA\t100,00\t10"_s,
                                u"19990118\t012000\tALPHA\t101,00\t10"_s};
        // Entries: code then name; a code of five characters begins one.
        const QStringList index{u"012000ALPHA"_s, u"013000BETA"_s, u"001234SIX"_s};
        const int headings = importing::Reformate(file, Order::DateFirst, kToday);
        const importing::Selection s = importing::select(file, after, allDays, store, index);
        QTEST(s.lines, "added");
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
    }
    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QTEST(importing::decodeLines(bytes), "lines");
    }
};

QTEST_GUILESS_MAIN(TestImporting)
#include "tst_importing.moc"

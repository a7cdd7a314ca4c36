#include "base/errors.h"
#include "base/formats.h"

#include <QTest>

#include <limits>

class TestFormats : public QObject
{
    Q_OBJECT
private slots:
    void numbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("price");  // "0.00"
        QTest::addColumn<QString>("amount"); // "#.00"
        QTest::newRow("half") << 0.5 << QStringLiteral("0,50") << QStringLiteral(",50");
        QTest::newRow("whole") << 12.0 << QStringLiteral("12,00") << QStringLiteral("12,00");
        QTest::newRow("rounds up")
            << 1234.567 << QStringLiteral("1234,57") << QStringLiteral("1234,57");
        QTest::newRow("tiny") << 0.004 << QStringLiteral("0,00") << QStringLiteral(",00");
        QTest::newRow("half cent as written")
            << 2.675 << QStringLiteral("2,68") << QStringLiteral("2,68");
        QTest::newRow("another half cent")
            << 1.005 << QStringLiteral("1,01") << QStringLiteral("1,01");
        QTest::newRow("euro") << 65.60 / 6.55957 << QStringLiteral("10,00")
                              << QStringLiteral("10,00");
        QTest::newRow("negative") << -0.5 << QStringLiteral("-0,50") << QStringLiteral("-,50");
        QTest::newRow("negative zero") << -0.001 << QStringLiteral("0,00") << QStringLiteral(",00");
        QTest::newRow("large") << 123456789.125 << QStringLiteral("123456789,13")
                               << QStringLiteral("123456789,13");
    }
    void numbers()
    {
        QFETCH(double, value);
        QFETCH(QString, price);
        QFETCH(QString, amount);
        QCOMPARE(formatPrice(value), price);
        QCOMPARE(formatAmount(value), amount);
    }

    void otherFormats()
    {
        QCOMPARE(formatUpTo(6.55957, 5), QStringLiteral("6,55957"));
        QCOMPARE(formatUpTo(6.5, 5), QStringLiteral("6,5"));
        QCOMPARE(formatUpTo(0.25, 5), QStringLiteral(",25"));
        QCOMPARE(formatUpTo(7, 5), QStringLiteral("7"));
        QCOMPARE(formatGeneral(0.1 + 0.2), QStringLiteral("0,3"));
        QCOMPARE(formatGeneral(100), QStringLiteral("100"));
        QCOMPARE(formatGeneral(1.0 / 3), QStringLiteral("0,333333333333333"));
        QCOMPARE(formatGeneral(-2.5), QStringLiteral("-2,5"));
        QCOMPARE(formatGeneral(0), QStringLiteral("0"));
    }

    void roundingHalvesToEven()
    {
        QCOMPARE(roundToInt(0.5), 0);
        QCOMPARE(roundToInt(1.5), 2);
        QCOMPARE(roundToInt(2.5), 2);
        QCOMPARE(roundToInt(-2.5), -2);
        QCOMPARE(roundToInt(2.51), 3);
    }

    // A figure of a card is formatted again at every saving: it must stay.
    void largeAmountsKeepTheirDigits_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("amount");
        QTest::newRow("fourteen digits") << 12009019990104.0 << QStringLiteral("12009019990104,00");
        QTest::newRow("fifteen digits")
            << 999999999999999.0 << QStringLiteral("999999999999999,00");
        QTest::newRow("negative") << -123456789012345.0 << QStringLiteral("-123456789012345,00");
        QTest::newRow("with cents") << 1234567890123.45 << QStringLiteral("1234567890123,45");
        QTest::newRow("half still rounds up") << 2.675 << QStringLiteral("2,68");
    }
    void largeAmountsKeepTheirDigits()
    {
        QFETCH(double, value);
        QFETCH(QString, amount);
        QCOMPARE(formatAmount(value), amount);
        double again = 0;
        QVERIFY(tryReadDecimal(amount, &again));
        QCOMPARE(formatAmount(again), amount);
    }

    // Prices of twenty digits and more in a file must not wrap round.
    void roundingBeyondTheRange_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("rounded");
        const qint64 largest = std::numeric_limits<qint64>::max();
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("1e19") << 1e19 << largest;
        QTest::newRow("-1e19") << -1e19 << -largest;
        QTest::newRow("-2^63, negated safely") << -9223372036854775808.0 << -largest;
        QTest::newRow("2^62 kept") << 4611686018427387904.0 << qint64(4611686018427387904);
        QTest::newRow("infinity") << inf << largest;
        QTest::newRow("minus infinity") << -inf << -largest;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
    }
    void roundingBeyondTheRange()
    {
        QFETCH(double, value);
        QTEST(roundToInt(value), "rounded");
    }

    void readingNumbers()
    {
        QCOMPARE(readDecimal(QStringLiteral("45,30")), 45.3);
        QCOMPARE(readDecimal(QStringLiteral(",5")), 0.5);
        QCOMPARE(readDecimal(QStringLiteral(" 12 ")), 12.0);
        QCOMPARE(readDecimal(QStringLiteral("12.5")), 12.5);
        double v = 7;
        QVERIFY(!tryReadDecimal(QString(), &v));
        QVERIFY(!tryReadDecimal(QStringLiteral("12,5,3"), &v));
        QVERIFY(!tryReadDecimal(QStringLiteral("abc"), &v));
        QCOMPARE(v, 7.0);
        try {
            readDecimal(QStringLiteral("x1"));
            QFAIL("no error");
        } catch (const VError &e) {
            QCOMPARE(e.message(), QStringLiteral("'x1' n'est pas une valeur flottante correcte"));
        }
        QCOMPARE(readInteger(QStringLiteral("42")), 42);
        try {
            readInteger(QString());
            QFAIL("no error");
        } catch (const VError &e) {
            QCOMPARE(e.message(), QStringLiteral("'' n'est pas une valeur entière correcte"));
        }
        QVERIFY_THROWS_EXCEPTION(VError, readInteger(QStringLiteral("4,5")));
    }

    void dateTexts()
    {
        QCOMPARE(storedToShown(QStringLiteral("19990104")), QStringLiteral("04/01/1999"));
        QCOMPARE(shownToStored(QStringLiteral("04/01/1999")), QStringLiteral("19990104"));
        QCOMPARE(toStored(QDate(2001, 3, 9)), QStringLiteral("20010309"));
        QCOMPARE(toShown(QDate(2001, 3, 9)), QStringLiteral("09/03/2001"));
        QCOMPARE(storedToDate(QStringLiteral("20010309")), QDate(2001, 3, 9));
        QVERIFY(!storedToDate(QStringLiteral("2001")).isValid());
        QVERIFY(!storedToDate(QStringLiteral("20010230")).isValid());
    }

    void readingDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        const int century = (QDate::currentDate().year() / 100) * 100;
        QTest::newRow("full") << QStringLiteral("15/01/1999") << QDate(1999, 1, 15);
        QTest::newRow("short") << QStringLiteral("5/3/2001") << QDate(2001, 3, 5);
        QTest::newRow("two-digit year") << QStringLiteral("05/03/01") << QDate(century + 1, 3, 5);
        QTest::newRow("leap day") << QStringLiteral("29/02/2000") << QDate(2000, 2, 29);
        QTest::newRow("not a leap year") << QStringLiteral("29/02/2001") << QDate();
        QTest::newRow("31 February") << QStringLiteral("31/02/2001") << QDate();
        QTest::newRow("month 13") << QStringLiteral("12/13/2001") << QDate();
        QTest::newRow("blank mask") << QStringLiteral("  /  /    ") << QDate();
        QTest::newRow("letters") << QStringLiteral("ab/01/1999") << QDate();
    }
    void readingDates()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        if (date.isValid()) {
            QCOMPARE(readShownDate(text), date);
        } else {
            try {
                readShownDate(text);
                QFAIL("no error");
            } catch (const VError &e) {
                QCOMPARE(e.message(), QStringLiteral("'%1' n'est pas une date correcte").arg(text));
            }
        }
    }

    void fieldsAndCodes()
    {
        QString rest = QStringLiteral("19990104\t012000\tEXEMPLE SA\t45,30\t1200");
        QStringList got;
        for (int i = 0; i < 5; ++i)
            got.append(nextField(rest));
        QCOMPARE(got, (QStringList{QStringLiteral("19990104"), QStringLiteral("012000"),
                                   QStringLiteral("EXEMPLE SA"), QStringLiteral("45,30"),
                                   QStringLiteral("1200")}));
        QVERIFY(rest.isEmpty());
        QString longRest = QStringLiteral("a\t") + QString(300, QLatin1Char('x'));
        QCOMPARE(nextField(longRest), QStringLiteral("a"));
        QCOMPARE(longRest.size(), 255);

        QCOMPARE(normaliseCode(QStringLiteral("12345")), QStringLiteral("012345"));
        QCOMPARE(normaliseCode(QStringLiteral("12000")), QStringLiteral("012000"));
        QCOMPARE(normaliseCode(QStringLiteral("120")), QStringLiteral("00120"));
        QCOMPARE(normaliseCode(QStringLiteral("1234567")), QStringLiteral("234567"));
        QCOMPARE(normaliseCode(QString()), QStringLiteral("00"));
        QCOMPARE(upperAscii(QStringLiteral("alpé z")), QStringLiteral("ALPé Z"));
    }

    void months()
    {
        QCOMPARE(monthName(1), QStringLiteral("Janvier"));
        QCOMPARE(monthName(2), QStringLiteral("Février"));
        QCOMPARE(monthName(8), QStringLiteral("Août"));
        QCOMPARE(monthName(12), QStringLiteral("Décembre"));
        QVERIFY(monthName(0).isEmpty());
        QVERIFY(monthName(13).isEmpty());
        QCOMPARE(monthNumber(QStringLiteral("Décembre")), 12);
        QCOMPARE(monthNumber(QStringLiteral("decembre")), 0);
        QCOMPARE(monthNumber(QStringLiteral("Fevrier")), 0);
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"

// The pocket calculator's rules, key by key, without its window.
#include "accessories/pocket.h"
#include "testkit.h"

#include <QTest>

class TestPocket : public QObject
{
    Q_OBJECT

private slots:
    // Each row starts from a cleared calculator and types its keys; the
    // display and the last message are compared.
    void sequence_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("error");
        const QString none;
        // Results.
        QTest::newRow("quotient with a comma") << u("7/2=") << u("3,5") << none;
        QTest::newRow("whole result without comma") << u("6*2=") << u("12") << none;
        QTest::newRow("left to right, no precedence") << u("2+3*4=") << u("20") << none;
        QTest::newRow("repeated = applies the operator again") << u("2+3==") << u("10") << none;
        QTest::newRow("repeated = takes the shown result") << u("3*==") << u("81") << none;
        QTest::newRow("operator after = acts as = first") << u("2+3=*4=") << u("40") << none;
        QTest::newRow("subtraction below zero") << u("4-9=") << u("-5") << none;
        QTest::newRow("decimal operands") << u("1,5+1,5=") << u("3") << none;
        QTest::newRow("point typed as comma") << u("1.25*4=") << u("5") << none;
        // Stored values keep 40 bits: the 12 digits they hold are shown, no more.
        QTest::newRow("third in 12 digits") << u("1/3=") << u("0,333333333333") << none;
        QTest::newRow("tenths without binary noise") << u("0,1+0,2=") << u("0,3") << none;
        QTest::newRow("sevenths without binary noise") << u("1/7*7=") << u("1") << none;
        QTest::newRow("negative third") << u("0-1/3=") << u("-0,333333333333") << none;
        QTest::newRow("exponent kept whole")
            << u("99999999999*99999999999=") << u("9,9999999998E21") << none;
        QTest::newRow("small result in exponent form") << u("1/100000000=") << u("1E-8") << none;
        // Typing.
        QTest::newRow("digit after a result starts a number") << u("2+3=7=") << u("12") << none;
        QTest::newRow("comma after a result starts 0,") << u("2+3=,5") << u("0,5") << none;
        QTest::newRow("comma after a result, then =") << u("2+3=,5=") << u("5,5") << none;
        QTest::newRow("comma within a number") << u("12,") << u("12,") << none;
        QTest::newRow("other keys ignored") << u("1a2 b") << u("12") << none;
        QTest::newRow("C then = leaves it cleared") << u("5+2C=") << u("") << none;
        QTest::newRow("C clears the pending operator") << u("5+C2=3=") << u("2") << none;
        QTest::newRow("first number unreadable: just cleared") << u(",,=") << u("") << none;
        QTest::newRow("operator on an empty display") << u("+2=") << u("2") << none;
        // Reciprocal and square root.
        QTest::newRow("square root") << u("9s") << u("3") << none;
        QTest::newRow("square root in 12 digits") << u("2S") << u("1,41421356237") << none;
        QTest::newRow("reciprocal loads the accumulator") << u("4x+1=") << u("1,25") << none;
        QTest::newRow("reciprocal keeps the pending operator") << u("2*4X=") << u("0,0625") << none;
        // Refusals: the state is left as it was.
        QTest::newRow("division by zero")
            << u("5/0=") << u("0") << u("Division flottante par zéro");
        QTest::newRow("reciprocal of zero")
            << u("0x") << u("0") << u("Division flottante par zéro");
        QTest::newRow("root of a negative")
            << u("4-8=s") << u("-4") << u("Opération flottante incorrecte");
        QTest::newRow("malformed second number")
            << u("5+1,,2=") << u("1,,2") << u("'1,,2' n'est pas une valeur flottante correcte");
        QTest::newRow("beyond the stored reals")
            << u("100000000000000000000*100000000000000000000=") << u("100000000000000000000")
            << u("Débordement flottant");
    }
    void sequence()
    {
        QFETCH(QString, keys);
        QFETCH(QString, display);
        QFETCH(QString, error);
        PocketCalc calc;
        calc.reset();
        QString last;
        for (const QChar k : keys)
            if (const QString e = calc.press(k); !e.isEmpty()) last = e;
        QCOMPARE(calc.display(), display);
        QCOMPARE(last, error);
    }

    void refusal_leavesAccumulatorAsItWas()
    {
        PocketCalc calc;
        calc.reset();
        for (const QChar k : u("5/0"))
            calc.press(k);
        QCOMPARE(calc.press(QLatin1Char('=')), u("Division flottante par zéro"));
        QCOMPARE(calc.accumulator(), 5.0);
        // The pending division still waits: a real divisor completes it.
        for (const QChar k : u("2="))
            calc.press(k);
        QCOMPARE(calc.display(), u("2,5"));
    }

    void storedValues_haveFortyBitMantissas_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("stored");
        QTest::addColumn<bool>("inRange");
        QTest::newRow("whole number exact") << 123456789.0 << 123456789.0 << true;
        // 2^40 + 1 needs 41 bits: the half goes to the even neighbour.
        QTest::newRow("41 bits, half to even") << 1099511627777.0 << 1099511627776.0 << true;
        QTest::newRow("41 bits, odd rounds up") << 1099511627779.0 << 1099511627780.0 << true;
        QTest::newRow("largest") << 1.0e38 << 1.0e38 << true;
        QTest::newRow("beyond") << 2.0e38 << 0.0 << false;
        QTest::newRow("tiny becomes zero") << 1.0e-40 << 0.0 << true;
    }
    void storedValues_haveFortyBitMantissas()
    {
        QFETCH(double, value);
        QFETCH(double, stored);
        QFETCH(bool, inRange);
        double out = 0;
        QCOMPARE(PocketCalc::toStored(value, &out), inRange);
        if (inRange && value < 1e30) QCOMPARE(out, stored);
        if (inRange && value >= 1e30) QVERIFY(std::fabs(out - stored) / stored < 1e-12);
    }
};

QTEST_GUILESS_MAIN(TestPocket)
#include "tst_pocket.moc"

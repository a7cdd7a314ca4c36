// The rules of the euro converter, the calendar, the clock and the notepad,
// without their windows.
#include "accessories/calendar.h"
#include "accessories/clockface.h"
#include "accessories/euro.h"
#include "accessories/notepad.h"
#include "base/errors.h"
#include "testkit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

Q_DECLARE_METATYPE(ClockFace::Field)

class TestAccessories : public QObject
{
    Q_OBJECT

private slots:
    // --- Euro converter ---------------------------------------------------------

    void conversion_data()
    {
        QTest::addColumn<bool>("toEuros");
        QTest::addColumn<int>("rateSteps");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("result");
        QTest::newRow("100 francs") << true << 0 << u("100") << u("15,24");
        QTest::newRow("1000 francs") << true << 0 << u("1000") << u("152,45");
        QTest::newRow("one euro's worth of francs") << true << 0 << u("6,55957") << u("1");
        QTest::newRow("point typed as comma") << true << 0 << u("6.55957") << u("1");
        QTest::newRow("1 euro, francs to one decimal") << false << 0 << u("1") << u("6,6");
        QTest::newRow("10 euros") << false << 0 << u("10") << u("65,6");
        QTest::newRow("rate nudged up twice") << false << 2 << u("100000") << u("655959");
        QTest::newRow("rate nudged down") << false << -1 << u("100000") << u("655956");
        QTest::newRow("empty input clears") << true << 0 << u("") << u("");
        QTest::newRow("two commas clear") << true << 0 << u("1,2,3") << u("");
    }
    void conversion()
    {
        QFETCH(bool, toEuros);
        QFETCH(int, rateSteps);
        QFETCH(QString, input);
        QFETCH(QString, result);
        EuroConverter conv;
        conv.setDirection(toEuros ? EuroConverter::FrancsToEuros : EuroConverter::EurosToFrancs);
        for (int i = 0; i < std::abs(rateSteps); ++i)
            rateSteps > 0 ? conv.rateUp() : conv.rateDown();
        for (const QChar c : input)
            QVERIFY(conv.type(c));
        conv.convert();
        QCOMPARE(conv.result(), result);
        QVERIFY(conv.resultShown());
        // An input that does not read is cleared with the result.
        QCOMPARE(conv.input().isEmpty(), result.isEmpty());
    }

    void rate_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("text");
        QTest::newRow("at opening") << 0 << u("6,55957");
        QTest::newRow("two up") << 2 << u("6,55959");
        QTest::newRow("never below one") << -700000 << u("1E-5");
    }
    void rate()
    {
        QFETCH(int, steps);
        QFETCH(QString, text);
        EuroConverter conv;
        for (int i = 0; i < std::abs(steps); ++i)
            steps > 0 ? conv.rateUp() : conv.rateDown();
        QCOMPARE(conv.rateText(), text);
    }

    void typingAfterResult_startsAfresh()
    {
        EuroConverter conv;
        conv.type(QLatin1Char('1'));
        conv.type(QLatin1Char('0'));
        conv.type(QLatin1Char('0'));
        conv.convert();
        QCOMPARE(conv.result(), u("15,24"));
        QVERIFY(conv.type(QLatin1Char('5')));
        QCOMPARE(conv.input(), u("5"));
        QCOMPARE(conv.result(), QString());
        // Another key clears a result shown, and only a result.
        conv.otherKey();
        QCOMPARE(conv.input(), u("5"));
        conv.convert();
        conv.otherKey();
        QCOMPARE(conv.input(), QString());
        QCOMPARE(conv.result(), QString());
        QVERIFY(!conv.type(QLatin1Char('a')));
    }

    // --- Calendar -------------------------------------------------------------

    void monthStep_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<int>("months");
        QTest::addColumn<QDate>("to");
        QTest::newRow("31 January to February") << QDate(1999, 1, 31) << 1 << QDate(1999, 2, 28);
        QTest::newRow("leap day, twelve forward") << QDate(2000, 2, 29) << 12 << QDate(2001, 2, 28);
        QTest::newRow("back from January") << QDate(1999, 1, 15) << -1 << QDate(1998, 12, 15);
        QTest::newRow("forward from December") << QDate(1999, 12, 31) << 1 << QDate(2000, 1, 31);
        QTest::newRow("31 March back to a leap February")
            << QDate(2000, 3, 31) << -1 << QDate(2000, 2, 29);
        QTest::newRow("31 May to June") << QDate(2001, 5, 31) << 1 << QDate(2001, 6, 30);
    }
    void monthStep()
    {
        QFETCH(QDate, from);
        QFETCH(int, months);
        QFETCH(QDate, to);
        QDate d = from;
        // Step by step, as the buttons do.
        for (int i = 0; i < std::abs(months); ++i)
            d = calendar::monthStep(d, months > 0 ? 1 : -1);
        QCOMPARE(d, to);
    }

    void heading_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("janvier") << QDate(1999, 1, 12) << u("janvier  1999");
        QTest::newRow("accented") << QDate(2001, 12, 1) << u("décembre  2001");
        QTest::newRow("février") << QDate(2000, 2, 29) << u("février  2000");
    }
    void heading()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(calendar::heading(date), text);
    }

    // --- Clock ----------------------------------------------------------------

    void spin_data()
    {
        QTest::addColumn<QDateTime>("shown");
        QTest::addColumn<ClockFace::Field>("field");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("date");
        const QDateTime t(QDate(2001, 3, 15), QTime(10, 59, 30));
        QTest::newRow("minutes up stops at 59")
            << t << ClockFace::Mn << true << u("10:59:30") << u("15/03/2001");
        QTest::newRow("minutes down")
            << t << ClockFace::Mn << false << u("10:58:30") << u("15/03/2001");
        QTest::newRow("hours up stops at 23")
            << QDateTime(QDate(2001, 3, 15), QTime(23, 0, 0)) << ClockFace::Hr << true
            << u("23:00:00") << u("15/03/2001");
        QTest::newRow("hours down stops at 00")
            << QDateTime(QDate(2001, 3, 15), QTime(0, 5, 0)) << ClockFace::Hr << false
            << u("00:05:00") << u("15/03/2001");
        QTest::newRow("day down stops at 01")
            << QDateTime(QDate(2001, 3, 1), QTime(9, 0, 0)) << ClockFace::Jo << false
            << u("09:00:00") << u("01/03/2001");
        QTest::newRow("day up stops at the month's last")
            << QDateTime(QDate(2001, 2, 28), QTime(9, 0, 0)) << ClockFace::Jo << true
            << u("09:00:00") << u("28/02/2001");
        QTest::newRow("month down stops at 01")
            << QDateTime(QDate(2001, 1, 10), QTime(9, 0, 0)) << ClockFace::Mo << false
            << u("09:00:00") << u("10/01/2001");
        QTest::newRow("month up stops at 12")
            << QDateTime(QDate(2001, 12, 10), QTime(9, 0, 0)) << ClockFace::Mo << true
            << u("09:00:00") << u("10/12/2001");
        QTest::newRow("month change limits the day")
            << QDateTime(QDate(2001, 3, 31), QTime(9, 0, 0)) << ClockFace::Mo << false
            << u("09:00:00") << u("28/02/2001");
        QTest::newRow("year up stops at 2099")
            << QDateTime(QDate(2099, 6, 1), QTime(9, 0, 0)) << ClockFace::An << true
            << u("09:00:00") << u("01/06/2099");
        QTest::newRow("year down stops at 1900")
            << QDateTime(QDate(1900, 6, 1), QTime(9, 0, 0)) << ClockFace::An << false
            << u("09:00:00") << u("01/06/1900");
        QTest::newRow("year change limits a leap day")
            << QDateTime(QDate(2000, 2, 29), QTime(9, 0, 0)) << ClockFace::An << true
            << u("09:00:00") << u("28/02/2001");
        QTest::newRow("no field, no change")
            << t << ClockFace::None << true << u("10:59:30") << u("15/03/2001");
    }
    void spin()
    {
        QFETCH(QDateTime, shown);
        QFETCH(ClockFace::Field, field);
        QFETCH(bool, up);
        QFETCH(QString, time);
        QFETCH(QString, date);
        ClockFace face;
        face.show(shown);
        face.spin(field, up);
        QCOMPARE(face.timeText(), time);
        QCOMPARE(face.dateText(), date);
        // What "Set" writes is what is shown, to the second.
        QCOMPARE(face.displayed().toString(u("dd/MM/yyyy HH:mm:ss.zzz")),
                 date + QLatin1Char(' ') + time + u(".000"));
    }

    // --- Notepad --------------------------------------------------------------

    void path_data()
    {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << u("/home/x") << u("/home/x/Valmeq.nte");
        QTest::newRow("root") << u("/") << u("/Valmeq.nte");
        QTest::newRow("ending with a separator") << u("/data/") << u("/data/Valmeq.nte");
    }
    void path()
    {
        QFETCH(QString, dir);
        QFETCH(QString, path);
        QCOMPARE(notepad::path(dir), path);
    }

    void saveAndLoad_keepLinesBytes()
    {
        TempStartDir dir;
        const QString p = notepad::path(dir.path());
        QCOMPARE(notepad::load(p), QStringList());
        notepad::save(p, {u("Acheter 10 Alcatel à 45 €"), QString(), u("fin\tde page")});
        QCOMPARE(dir.bytes(u("Valmeq.nte")),
                 QByteArray("Acheter 10 Alcatel \xe0 45 \x80\r\n\r\nfin\tde page\r\n"));
        QCOMPARE(notepad::load(p),
                 QStringList({u("Acheter 10 Alcatel à 45 €"), QString(), u("fin\tde page")}));
    }

    void save_refusesWhatTheFileCannotHold()
    {
        TempStartDir dir;
        const QString p = notepad::path(dir.path());
        notepad::save(p, {u("ancien")});
        try {
            notepad::save(p, {u("ok"), u("Łódź")});
            QFAIL("saved");
        } catch (const VError &e) {
            QVERIFY2(e.message().contains(u("« Ł »")), qPrintable(e.message()));
        }
        QCOMPARE(dir.lines(u("Valmeq.nte")), QStringList{u("ancien")});
    }

    void save_failing_keepsFormerFile()
    {
        TempStartDir dir;
        const QString p = notepad::path(dir.path());
        notepad::save(p, {u("ancien")});
        // A directory where the temporary file should go makes the write fail.
        const QString blocked = dir.file(u("sub"));
        QVERIFY(QDir().mkpath(blocked + u("/Valmeq.nte")));
        try {
            notepad::save(notepad::path(blocked), {u("nouveau")});
            QFAIL("saved");
        } catch (const VError &e) {
            QVERIFY2(e.message().startsWith(u("Ne peut créer le fichier")),
                     qPrintable(e.message()));
        }
        QVERIFY(QFileInfo(blocked + u("/Valmeq.nte")).isDir());
        QCOMPARE(dir.lines(u("Valmeq.nte")), QStringList{u("ancien")});
    }
};

QTEST_GUILESS_MAIN(TestAccessories)
#include "tst_accessories.moc"

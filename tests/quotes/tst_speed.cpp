// A store of a million lines stays fluid: loading, the index, the views.
#include "base/textfile.h"
#include "quotes/TBourse.h"
#include "quotes/quotelistmodel.h"
#include "testkit.h"

#include <QElapsedTimer>
#include <QTest>

class TestSpeed : public QObject
{
    Q_OBJECT

    // 400 securities quoted on 2500 days: 1,000,000 lines, about 45 MB.
    static QByteArray bigFile()
    {
        QByteArray out;
        out.reserve(48 << 20);
        QDate day(1990, 1, 1);
        for (int d = 0; d < 2500; ++d) {
            const QByteArray date = day.toString(QStringLiteral("yyyyMMdd")).toLatin1();
            for (int s = 0; s < 400; ++s) {
                out += date;
                out += '\t';
                out += QByteArray::number(100000 + s * 7);
                out += "\tSOCI\xc9T\xc9 ";
                out += QByteArray::number((s * 7919) % 400);
                out += '\t';
                out += QByteArray::number(10 + (d + s) % 90);
                out += ",25\t";
                out += QByteArray::number(1000 + d);
                out += "\r\n";
            }
            day = day.addDays(1);
        }
        return out;
    }

private slots:
    void millionLines_loadAndBrowse()
    {
        TempStartDir dir;
        ScriptedPrompts prompts;
        dir.writeBytes(QStringLiteral("Cours.vmq"), bigFile());

        QElapsedTimer t;
        t.start();
        TBourse b;
        b.resize(1000, 700);
        b.show();
        b.Init();
        const qint64 load = t.restart();
        QCOMPARE(b.store().size(), 1000000);
        QCOMPARE(b.index().size(), 400);
        QCOMPARE(b.lastDate(), QDate(1996, 11, 4));
        QCOMPARE(b.monthModel()->rowCount(), 400 * 4);

        b.Precedent();
        b.Precedent();
        const qint64 month = t.restart() / 2;
        QCOMPARE(b.currentMonth(), QDate(1996, 9, 1));
        QCOMPARE(b.monthModel()->rowCount(), 400 * 30);

        b.Titres();
        b.Suivant();
        const qint64 security = t.restart();
        QCOMPARE(b.securityModel()->rowCount(), 2500);

        qInfo("load %lld ms, month %lld ms, security %lld ms", load, month, security);
        // Generous bounds so that a loaded machine does not fail the test;
        // the figures on a quiet machine are printed above.
        QVERIFY2(load < 4000, "loading a million lines is too slow");
        QVERIFY2(month < 400, "changing month is too slow");
        QVERIFY2(security < 400, "changing security is too slow");
    }
};

QTEST_MAIN(TestSpeed)
#include "tst_speed.moc"

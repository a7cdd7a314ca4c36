// The import preview's fields: the first five of a line, each cut, found
// without splitting the whole line.
#include "exchange/importing.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestPreview : public QObject
{
    Q_OBJECT
private slots:
    void rawFields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("tabs") << u"19990104\t012000\tEX\t45,30\t1200"_s
                              << QStringList{u"19990104"_s, u"012000"_s, u"EX"_s, u"45,30"_s,
                                             u"1200"_s};
        QTest::newRow("semicolons without a tab")
            << u"a;b;c"_s << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("empty line") << QString() << QStringList{QString()};
        QTest::newRow("fields past the fifth left out")
            << u"1\t2\t3\t4\t5\t6\t7"_s << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s};
        QTest::newRow("a field of 50 million characters")
            << u"d\t"_s + QString(50'000'000, u'x') + u"\tz"_s
            << QStringList{u"d"_s, QString(255, u'x'), u"z"_s};
        QTest::newRow("only tabs") << QString(9, u'\t') << QStringList(5);
    }
    void rawFields()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        QCOMPARE(importing::rawFields(line), fields);
    }
};

QTEST_GUILESS_MAIN(TestPreview)
#include "tst_preview.moc"

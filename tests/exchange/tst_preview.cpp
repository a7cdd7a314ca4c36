// The import preview's fields: the first five of a line, each cut to 255
// characters, found without splitting the whole line.
#include "exchange/importing.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestPreview : public QObject
{
    Q_OBJECT
private slots:
    void rawFields()
    {
        QCOMPARE(importing::rawFields(u"1;2"_s), (QStringList{u"1"_s, u"2"_s}));
        QCOMPARE(importing::rawFields(u"1\t2\t3\t4\t5\t6"_s),
                 (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}));
        QCOMPARE(importing::rawFields(u"d\t"_s + QString(50'000'000, u'x') + u"\tz"_s),
                 (QStringList{u"d"_s, QString(255, u'x'), u"z"_s}));
    }
};

QTEST_GUILESS_MAIN(TestPreview)
#include "tst_preview.moc"

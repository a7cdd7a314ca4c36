// The import preview's fields: the first five of a line, each cut to 255
// characters, found without splitting the whole line.
#include "exchange/importing.h"

#include "base/errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

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
        // Fifty million tabs: five empty fields, the rest never looked at.
        QCOMPARE(importing::rawFields(QString(50'000'000, u'\t')), QStringList(5, QString()));
    }

    // The file to import is read only when it is a regular file within the
    // import's limit: a pipe nobody writes to, a device or a too big file is
    // refused at once, named.
    void readFile_refusesWhatItMustNotRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("pipe") << u"fifo"_s << u"n'est pas un fichier ordinaire"_s;
        QTest::newRow("link to /dev/urandom")
            << u"/dev/urandom"_s << u"n'est pas un fichier ordinaire"_s;
        QTest::newRow("one byte too many")
            << u"file"_s
            << u"est trop grand (%1 Mo, au plus %2 Mo)"_s.arg((importing::importLimit() >> 20) + 1)
                   .arg((importing::importLimit() + (1 << 20) - 1) >> 20);
    }
    void readFile_refusesWhatItMustNotRead()
    {
        QFETCH(QString, kind);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"cours.txt"_s);
        if (kind == "fifo"_L1)
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == "file"_L1)
            QVERIFY(QFile(path).open(QIODevice::WriteOnly) &&
                    QFile::resize(path, importing::importLimit() + 1));
        else
            QVERIFY(QFile::link(kind, path));
        QString message;
        try {
            importing::readFile(path);
        } catch (const VError &e) {
            message = e.message();
        }
        QCOMPARE(message, u"Le fichier "_s + path + u' ' + refusal);
    }
};

QTEST_GUILESS_MAIN(TestPreview)
#include "tst_preview.moc"

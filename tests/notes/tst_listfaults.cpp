// The card, press-note and site files under the faults of the file system,
// and text those files cannot hold typed into a card, a press note or a
// site: the lists are written at closing with the settings; a failed write
// names its file and keeps the former one byte for byte; a tab or a line
// break becomes a space and never splits or merges records; what
// Windows-1252 lacks is refused.
#include "base/errors.h"
#include "base/records.h"
#include "base/textfile.h"
#include "exchange/sites.h"
#include "faultdisk.h"
#include "notes/TListe.h"
#include "notes/TPresse.h"
#include "notes/cards.h"
#include "notes/press.h"
#include "testkit.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace
{

const QStringList kNames = {u"Valmeq.ini"_s, u"Valmeq.trt"_s, u"Valmeq.prc"_s, u"Valmeq.sit"_s};
const QList<QStringList> kFormer = {
    {u" 6.55957000000000E+0000"_s, QString(), u"1"_s, u"8"_s, u"6"_s, u"6"_s, u"5"_s, u"0"_s},
    {u"012000\tALPHA\t1999"_s},
    {u"19990320\t012000\tALPHA\tRésultats\tEn hausse de 5 %"_s},
    {u"Bourse\thttp://exemple.fr/cours.txt\t/tmp/cours.txt"_s}};

// The message of the failure; empty when the call returned.
template <typename F> QString failureOf(F call)
{
    try {
        call();
    } catch (const VError &e) {
        return e.message();
    }
    return {};
}

} // namespace

class TestListFaults : public QObject
{
    Q_OBJECT

private slots:
    // Closing writes the settings and the three lists; the card file meets
    // the fault.
    void sauveIni_underFault_data() { addFaultRows(); }
    void sauveIni_underFault()
    {
        QFETCH(DiskFault, fault);
        FaultyDir dir(fault);
        if (!dir.unavailable().isEmpty()) QSKIP(qPrintable(dir.unavailable()));
        ScriptedPrompts prompts;
        QList<QByteArray> before;
        for (int i = 0; i < kNames.size(); ++i) {
            writeLines(dir.file(kNames[i]), kFormer[i]);
            before.append(fileBytes(dir.file(kNames[i])));
        }
        BourseData data(dir.path());
        data.ChargeIni();
        QCOMPARE(data.cards(), kFormer[1]);
        data.setCards(data.cards() + QStringList{u"013000\tBETA\t2000"_s});
        data.setPressNotes(data.pressNotes() + QStringList{u"19990321\t013000\tBETA\tAchat"_s});
        data.setSites(data.sites() + QStringList{u"Autre\thttp://autre.fr/c.txt\t/tmp/c.txt"_s});
        data.SetIni(true); // the settings changed too: every file is written
        QVERIFY(dir.stage(u"Valmeq.trt"_s));

        const QString failure = failureOf([&] { data.SauveIni(); });
        if (!faultFailsWrite(fault)) {
            QCOMPARE(failure, QString());
            QCOMPARE(readLines(dir.file(u"Valmeq.trt"_s)), data.cards());
            return;
        }
        // Only the card file meets faults of one file; the others are
        // written all the same.
        const bool wholeDisk = fault == DiskFault::FullDisk || fault == DiskFault::ReadOnlyDisk ||
                               fault == DiskFault::DirectoryRemoved;
        QStringList failed;
        for (const QString &name : kNames)
            if (wholeDisk || name == u"Valmeq.trt"_s)
                failed.append(u"Ne peut créer le fichier "_s + dir.file(name) + writeCause(fault));
        QCOMPARE(failure, failed.join(u'\n'));
        if (fault == DiskFault::DirectoryRemoved) {
            QVERIFY(!QFileInfo::exists(dir.path()));
            return;
        }
        if (fault == DiskFault::FileIsDirectory)
            QVERIFY(QFileInfo(dir.file(u"Valmeq.trt"_s)).isDir());
        else
            QCOMPARE(fileBytes(dir.file(u"Valmeq.trt"_s)), before[1]);
        if (wholeDisk) {
            for (int i = 0; i < kNames.size(); ++i)
                QCOMPARE(fileBytes(dir.file(kNames[i])), before[i]);
        } else {
            QCOMPARE(readLines(dir.file(u"Valmeq.prc"_s)), data.pressNotes());
            QCOMPARE(readLines(dir.file(u"Valmeq.sit"_s)), data.sites());
        }
        // Nothing was taken from memory: a second closing can still save it.
        QCOMPARE(data.cards().size(), 2);
        QVERIFY(dir.entries().filter(u".tmp"_s).isEmpty());
    }

    // Killed while it writes a long card list: the next start reads the
    // former cards whole.
    void sauveIni_processKilled_keepsFormerCards()
    {
        TempStartDir dir;
        for (int i = 0; i < kNames.size(); ++i)
            writeLines(dir.file(kNames[i]), kFormer[i]);
        const QByteArray before = fileBytes(dir.file(u"Valmeq.trt"_s));
        BourseData data(dir.path());
        data.ChargeIni();
        for (int i = 0; i < 3000; ++i)
            data.setCards(data.cards() + QStringList{u"013000\tBETA\t2000\tcarte %1"_s.arg(i)});
        QCOMPARE(killedWhileWriting(64 * 1024, [&] { data.SauveIni(); }), SIGXFSZ);
        QCOMPARE(fileBytes(dir.file(u"Valmeq.trt"_s)), before);
        BourseData next(dir.path());
        next.ChargeIni();
        QCOMPARE(next.cards(), kFormer[1]);
    }

    // One text put in each field of a card: the fields the line holds after
    // it is stored, or the characters the refusal names.
    void card_hostileText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored"); // each field as written
        QTest::addColumn<QString>("refused");
        QTest::newRow("tab") << u"a\tb"_s << u"a b"_s << QString();
        QTest::newRow("line feed") << u"a\nb"_s << u"a b"_s << QString();
        QTest::newRow("CR LF") << u"a\r\nb"_s << u"a  b"_s << QString();
        QTest::newRow("line separator") << u"a\u2028b"_s << u"a b"_s << QString();
        QTest::newRow("euro and oe") << u"€œ"_s << u"€œ"_s << QString();
        QTest::newRow("very long") << QString(100000, u'w') << QString(100000, u'w') << QString();
        QTest::newRow("NUL") << u"a\u0000"_s << QString() << u"caractère de contrôle U+0000"_s;
        QTest::newRow("smiley") << u"☺"_s << QString() << u"« ☺ »"_s;
        QTest::newRow("CJK") << u"株"_s << QString() << u"« 株 »"_s;
    }
    void card_hostileText()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QFETCH(QString, refused);
        const QStringList index{u"012000ALPHA"_s};
        for (int field = 0; field < 4; ++field) {
            CardBook book;
            book.Init(index, {});
            cards::Card card = book.current();
            // The code keeps its first six characters.
            if (field == 0) card.code = text.left(6);
            if (field == 1) card.name = text;
            if (field == 2) card.year = text;
            if (field == 3) card.comment = {u"avant"_s, text};
            const QString message = failureOf([&] { book.EcritFiche(card); });
            if (!refused.isEmpty()) {
                QCOMPARE(message, u"Le texte contient des caractères que le fichier ne peut pas "
                                  u"enregistrer : "_s +
                                      refused);
                QCOMPARE(book.cards(), QStringList{u"012000\tALPHA"_s});
                continue;
            }
            QCOMPARE(message, QString());
            QCOMPARE(book.cards().size(), 1);
            const QStringList fields = book.cards()[0].split(u'\t');
            QCOMPARE(fields.size(), field == 3 ? 12 : 10); // nothing split
            const QString expected = field == 0 ? stored.left(6) : stored;
            QCOMPARE(fields[field == 3 ? 11 : field], expected);
            QCOMPARE(splitTextLines(decodeWindows1252(encodeWindows1252(book.cards()[0]) + "\r\n")),
                     book.cards());
        }
    }

    void pressNote_hostileText_data() { card_hostileText_data(); }
    void pressNote_hostileText()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QFETCH(QString, refused);
        for (int field = 0; field < 4; ++field) {
            NoteBook book;
            book.Init({u"012000ALPHA"_s}, {u"19990320\t012000\tALPHA\tRésultats"_s});
            press::Note note = book.current();
            if (field == 0) note.code = text;
            if (field == 1) note.name = text;
            if (field == 2) note.subject = text;
            if (field == 3) note.text = {u"avant"_s, text};
            const QString message = failureOf([&] { book.EcritFiche(note); });
            if (!refused.isEmpty()) {
                QCOMPARE(message, u"Le texte contient des caractères que le fichier ne peut pas "
                                  u"enregistrer : "_s +
                                      refused);
                QCOMPARE(book.notes(), QStringList{u"19990320\t012000\tALPHA\tRésultats"_s});
                continue;
            }
            QCOMPARE(message, QString());
            const QStringList fields = book.notes()[0].split(u'\t');
            QCOMPARE(fields.size(), field == 3 ? 6 : 4);
            QCOMPARE(fields[field == 3 ? 5 : field + 1], stored);
        }
    }

    // The multi-line boxes of the card and press-note windows: every line
    // typed is a field, a no-break space stays one (byte A0), a line
    // separator pasted ends a line.
    void textBoxes_keepEveryCharacter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("no-break space") << u"5\u00a0%"_s << QStringList{u"5\u00a0%"_s};
        QTest::newRow("line feed") << u"un\ndeux"_s << QStringList{u"un"_s, u"deux"_s};
        QTest::newRow("line separator") << u"un\u2028deux"_s << QStringList{u"un"_s, u"deux"_s};
        QTest::newRow("tab") << u"un\tdeux"_s << QStringList{u"un deux"_s};
    }
    void textBoxes_keepEveryCharacter()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, fields);
        ScriptedPrompts prompts;
        TListe cardsWindow;
        cardsWindow.Init({u"012000ALPHA"_s}, {u"012000\tALPHA"_s});
        child<QPlainTextEdit>(&cardsWindow, "Memo1")->insertPlainText(typed);
        cardsWindow.EcritFiche();
        QCOMPARE(cardsWindow.Result().value(0).split(u'\t').mid(10), fields);

        TPresse pressWindow;
        pressWindow.Init({u"012000ALPHA"_s}, {u"19990320\t012000\tALPHA\tRésultats"_s});
        child<QPlainTextEdit>(&pressWindow, "Memo1")->insertPlainText(typed);
        QCOMPARE(pressWindow.Result().value(0).split(u'\t').mid(4), fields);
        QCOMPARE(prompts.log, QStringList());
    }

    // A site's three fields: the window refuses what the code page lacks
    // (its own tests); here the line the list keeps.
    void site_hostileText_data() { card_hostileText_data(); }
    void site_hostileText()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QFETCH(QString, refused);
        QStringList list;
        QCOMPARE(sites::apply(list, u"Bourse"_s, text, text), 0);
        const QStringList fields = list[0].split(u'\t');
        QCOMPARE(fields.size(), 3);
        const QString refusal = records::refusal(list[0]);
        if (!refused.isEmpty()) {
            QVERIFY2(refusal.endsWith(refused), qPrintable(refusal));
            return;
        }
        QCOMPARE(refusal, QString());
        QCOMPARE(fields[1], stored);
        QCOMPARE(sites::split(list[0]).url, stored.left(1024));
    }
};

QTEST_MAIN(TestListFaults)
#include "tst_listfaults.moc"

// The notepad's file under the faults of the file system, and text the file
// cannot hold typed or pasted into the page: the closing reports the
// system's message and offers to keep the page open; the former file keeps
// every byte; what the file cannot hold is refused, never written as
// something else.
#include "accessories/TBlocnotes.h"
#include "accessories/notepad.h"
#include "base/textfile.h"
#include "faultdisk.h"
#include "testkit.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace
{

const QStringList kFormer = {u"Acheter 10 Alcatel à 45 €"_s, QString(), u"fin\tde page"_s};
const QString kQuestion = u"Fermer le bloc-notes sans enregistrer les modifications ?"_s;

void append(TBlocnotes &notes, const QString &text)
{
    auto *memo = child<QPlainTextEdit>(&notes, "Memo1");
    memo->moveCursor(QTextCursor::End);
    memo->insertPlainText(text);
}

QString page(TBlocnotes &notes)
{
    return child<QPlainTextEdit>(&notes, "Memo1")->toPlainText();
}

} // namespace

class TestNotepadFaults : public QObject
{
    Q_OBJECT

private slots:
    void close_underFault_data() { addFaultRows(); }
    void close_underFault()
    {
        QFETCH(DiskFault, fault);
        FaultyDir dir(fault);
        if (!dir.unavailable().isEmpty()) QSKIP(qPrintable(dir.unavailable()));
        ScriptedPrompts prompts;
        const QString path = notepad::path(dir.path());
        writeLines(path, kFormer);
        const QByteArray before = fileBytes(path);
        TBlocnotes notes;
        notes.Charge(path);
        notes.show();
        append(notes, u"\nVendre Total"_s);
        QVERIFY(dir.stage(u"Valmeq.nte"_s));
        const QStringList entries = dir.entries();

        prompts.answers = {Prompts::No};
        notes.reject();
        if (!faultFailsWrite(fault)) {
            QVERIFY(!notes.isVisible());
            QCOMPARE(prompts.log, QStringList());
            QCOMPARE(readLines(path), kFormer + QStringList{u"Vendre Total"_s});
            return;
        }
        // The system's cause follows the file's name.
        const QString message = u"Ne peut créer le fichier "_s + path + writeCause(fault);
        QCOMPARE(prompts.log, (QStringList{u"error: "_s + message, u"question: "_s + kQuestion}));
        // "Non": the window stays with the page as typed.
        QVERIFY(notes.isVisible());
        QVERIFY(notes.isModified());
        QCOMPARE(page(notes), kFormer.join(u'\n') + u"\nVendre Total"_s);

        // "Oui": it closes without the changes; the main frame's Sauve after
        // it has nothing more to write.
        prompts.answers = {Prompts::Yes};
        notes.reject();
        QVERIFY(!notes.isVisible());
        notes.Sauve(path);
        QCOMPARE(prompts.said(u"error"_s), (QStringList{message, message}));
        QVERIFY(prompts.unexpected.isEmpty());
        QCOMPARE(dir.entries(), entries);
        if (fault == DiskFault::FileIsDirectory)
            QVERIFY(QFileInfo(path).isDir());
        else if (fault == DiskFault::DirectoryRemoved)
            QVERIFY(!QFileInfo::exists(dir.path()));
        else
            QCOMPARE(fileBytes(path), before);
    }

    // Killed while it writes a long page: the next opening shows the former
    // page.
    void save_processKilled_keepsFormerFile()
    {
        TempStartDir dir;
        const QString path = notepad::path(dir.path());
        writeLines(path, kFormer);
        const QByteArray before = fileBytes(path);
        TBlocnotes notes;
        notes.Charge(path);
        append(notes, u"\n"_s + QString(200000, u'x'));
        QCOMPARE(killedWhileWriting(64 * 1024, [&] { notes.Sauve(path); }), SIGXFSZ);
        QCOMPARE(fileBytes(path), before);
        TBlocnotes next;
        next.Charge(path);
        QCOMPARE(page(next), kFormer.join(u'\n'));
    }

    // Text put into the page, then the window closed: the bytes of the file,
    // or the refusal shown with the window kept open and the former file.
    void page_hostileText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("written"); // after the former "ancien"
        QTest::addColumn<QString>("refused");    // the characters named
        QTest::newRow("tab kept") << u"a\tb"_s << QByteArray("a\tb\r\n") << QString();
        QTest::newRow("line feed is a new line")
            << u"a\nb"_s << QByteArray("a\r\nb\r\n") << QString();
        QTest::newRow("carriage return is a new line")
            << u"a\rb"_s << QByteArray("a\r\nb\r\n") << QString();
        QTest::newRow("paragraph separator is a new line")
            << u"a\u2029b"_s << QByteArray("a\r\nb\r\n") << QString();
        QTest::newRow("line separator is a new line")
            << u"a\u2028b"_s << QByteArray("a\r\nb\r\n") << QString();
        QTest::newRow("euro, oe and no-break space")
            << u"5 €\u00a0œ"_s << QByteArray("5 \x80\xa0\x9c\r\n") << QString();
        QTest::newRow("very long line") << QString(100000, u'z') << QByteArray(100000, 'z') + "\r\n"
                                        << QString();
        QTest::newRow("NUL") << u"a\u0000b"_s << QByteArray() << u"caractère de contrôle U+0000"_s;
        QTest::newRow("bell") << u"a\u0007"_s << QByteArray() << u"caractère de contrôle U+0007"_s;
        QTest::newRow("smiley") << u"☺"_s << QByteArray() << u"« ☺ »"_s;
        QTest::newRow("CJK") << u"株"_s << QByteArray() << u"« 株 »"_s;
    }
    void page_hostileText()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, written);
        QFETCH(QString, refused);
        TempStartDir dir;
        ScriptedPrompts prompts;
        const QString path = notepad::path(dir.path());
        writeLines(path, {u"ancien"_s});
        TBlocnotes notes;
        notes.Charge(path);
        notes.show();
        append(notes, u"\n"_s + text);
        notes.reject();
        if (refused.isEmpty()) {
            QCOMPARE(prompts.log, QStringList());
            QVERIFY(!notes.isVisible());
            QCOMPARE(fileBytes(path), "ancien\r\n" + written);
            return;
        }
        QCOMPARE(prompts.said(u"error"_s),
                 QStringList{u"Le texte contient des caractères que le fichier ne peut pas "
                             u"enregistrer : "_s +
                             refused});
        QVERIFY(notes.isVisible());
        QCOMPARE(fileBytes(path), QByteArray("ancien\r\n"));
    }

    // A file of bytes the page cannot write back: said at opening, shown as
    // "?"; closed untouched it keeps its bytes, edited it can be closed.
    void open_bytesThePageCannotKeep_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("named"); // empty: every byte kept
        QTest::addColumn<QString>("shown");
        QTest::newRow("NUL") << QByteArray("a\0b\r\n", 5) << u"caractère de contrôle U+0000"_s
                             << u"a?b"_s;
        QTest::newRow("undefined 0x81 and escape")
            << QByteArray("\x81x\x1b\r\n")
            << u"caractère de contrôle U+0081, caractère de contrôle U+001B"_s << u"?x?"_s;
        QTest::newRow("euro and tab kept") << QByteArray("\x80\tz\r\n") << QString() << u"€\tz"_s;
        // Shown in pieces, written back whole.
        QTest::newRow("one line of 10 MB") << QByteArray(10 << 20, 'm') + "\r\n"
                                           << QString()
                                           << QStringList((10 << 20) / TBlocnotes::kShownLine,
                                                          QString(TBlocnotes::kShownLine, u'm'))
                                                  .join(u'\n');
    }
    void open_bytesThePageCannotKeep()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, named);
        QFETCH(QString, shown);
        TempStartDir dir;
        ScriptedPrompts prompts;
        const QString path = notepad::path(dir.path());
        dir.writeBytes(u"Valmeq.nte"_s, bytes);
        for (const bool edited : {false, true}) {
            TBlocnotes notes;
            notes.Charge(path);
            const QStringList said = prompts.said(u"information"_s);
            QCOMPARE(said.size(), named.isEmpty() ? 0 : 1);
            if (!named.isEmpty()) QVERIFY(said[0].contains(u"("_s + named + u")"_s));
            prompts.log.clear();
            QCOMPARE(page(notes), shown);
            notes.show();
            if (edited) append(notes, u"!"_s);
            notes.reject();
            QVERIFY(!notes.isVisible());
            QCOMPARE(fileBytes(path),
                     edited ? encodeWindows1252(QString(shown).remove(u'\n')) + "!\r\n" : bytes);
        }
        QVERIFY(prompts.unexpected.isEmpty());
    }
};

QTEST_MAIN(TestNotepadFaults)
#include "tst_notepadfaults.moc"

// The portfolio file under the faults of the file system, and text the
// portfolio file cannot hold typed or pasted into the operation dialogs:
// every save reports the system's message, stays modified, and leaves the
// former file as it was; no field can split or merge the lines.
#include "base/textfile.h"
#include "document/PortfolioCommands.h"
#include "faultdisk.h"
#include "portfolio/TEchan.h"
#include "portfolio/TOperation.h"
#include "testkit.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace
{

const QStringList kFormer = {u"A20010301\t012000\t1000,00\t100\t12,50"_s,
                             u"V20010302\t012000\t600,00\t40\t8,00"_s};
const QString kTyped = u"D20010502\t012000\t30,00\t60\t,00"_s;

enum class Command { Sauver, SaveAs, Closing, Nouveau };

// A document whose portfolio "mon.ptf" of the start directory was read, then
// received one operation.
struct PortfolioFixture {
    explicit PortfolioFixture(DiskFault fault) : dir(fault) {}
    bool open()
    {
        writeLines(dir.file(u"mon.ptf"_s), kFormer);
        doc = std::make_unique<TBourse>();
        doc->portfolio().Charge(u"mon.ptf"_s);
        doc->data().addOperations({kTyped});
        return doc->data().portfolio().size() == 3;
    }
    FaultyDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<TBourse> doc;
};

// Runs the command as the user does, answering "Oui" or giving the file
// name; the result of the closing question, true for the other commands.
bool run(PortfolioFixture &f, Command command)
{
    PortfolioCommands &p = f.doc->portfolio();
    switch (command) {
    case Command::Sauver:
        p.Sauver();
        return true;
    case Command::SaveAs:
        f.prompts.fileNames = {f.dir.file(u"mon.ptf"_s)};
        p.SaveAs();
        return true;
    case Command::Closing:
        f.prompts.answers = {Prompts::Yes};
        return p.FormCloseQuery();
    case Command::Nouveau:
        f.prompts.answers = {Prompts::Yes};
        p.Nouveau();
        return true;
    }
    return false;
}

// Pastes the text into the field, as Ctrl+V does past the key filters.
void paste(QWidget *field, const QString &text)
{
    QApplication::clipboard()->setText(text);
    field->setFocus(Qt::TabFocusReason);
    if (auto *box = qobject_cast<QComboBox *>(field)) {
        box->lineEdit()->selectAll();
        field = box->lineEdit();
    } else {
        static_cast<QLineEdit *>(field)->selectAll();
    }
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
}

} // namespace

Q_DECLARE_METATYPE(Command)

class TestPortfolioFaults : public QObject
{
    Q_OBJECT

private slots:
    void save_underFault_data()
    {
        QTest::addColumn<DiskFault>("fault");
        QTest::addColumn<Command>("command");
        const std::pair<const char *, DiskFault> faults[] = {
            {"disk full", DiskFault::FullDisk},
            {"disk read-only", DiskFault::ReadOnlyDisk},
            {"file immutable", DiskFault::ImmutableFile},
            {"file replaced by a directory", DiskFault::FileIsDirectory},
            {"file removed", DiskFault::FileRemoved},
            {"start directory removed", DiskFault::DirectoryRemoved}};
        const std::pair<const char *, Command> commands[] = {{"Enregistrer", Command::Sauver},
                                                             {"Enregistrer sous", Command::SaveAs},
                                                             {"closing, Oui", Command::Closing},
                                                             {"Nouveau, Oui", Command::Nouveau}};
        for (const auto &[faultName, fault] : faults)
            for (const auto &[commandName, command] : commands)
                QTest::addRow("%s: %s", faultName, commandName) << fault << command;
    }
    void save_underFault()
    {
        QFETCH(DiskFault, fault);
        QFETCH(Command, command);
        PortfolioFixture f(fault);
        if (!f.dir.unavailable().isEmpty()) QSKIP(qPrintable(f.dir.unavailable()));
        QVERIFY(f.open());
        const QString path = f.dir.file(u"mon.ptf"_s);
        const QByteArray before = fileBytes(path);
        QVERIFY(f.dir.stage(u"mon.ptf"_s));
        const QStringList entries = f.dir.entries();

        const bool mayClose = run(f, command);
        QVERIFY2(f.prompts.unexpected.isEmpty(), qPrintable(f.prompts.unexpected.join(u'\n')));
        if (!faultFailsWrite(fault)) {
            QVERIFY(mayClose);
            QCOMPARE(f.prompts.said(u"error"_s), QStringList());
            QCOMPARE(readLines(path), kFormer + QStringList{kTyped});
            QVERIFY(!f.doc->data().portfolioModified());
            return;
        }
        QCOMPARE(f.prompts.said(u"error"_s),
                 QStringList{u"Ne peut créer le fichier "_s + path + writeCause(fault)});
        if (command == Command::Closing) QVERIFY(!mayClose); // the closing stops
        // Nothing changed in memory: the operation can still be saved.
        QVERIFY(f.doc->data().portfolioModified());
        QCOMPARE(f.doc->data().portfolio(), kFormer + QStringList{kTyped});
        QCOMPARE(f.doc->data().portfolioPath(), u"mon.ptf"_s);
        QCOMPARE(f.dir.entries(), entries);
        if (fault == DiskFault::FileIsDirectory)
            QVERIFY(QFileInfo(path).isDir());
        else if (fault == DiskFault::DirectoryRemoved)
            QVERIFY(!QFileInfo::exists(f.dir.path()));
        else
            QCOMPARE(fileBytes(path), before);

        // "Non" at the closing question lets the program close.
        f.prompts.answers = {Prompts::No};
        QVERIFY(f.doc->portfolio().FormCloseQuery());
    }

    // The program killed while it writes a large portfolio: the former file
    // is whole and is read at the next start; the next save replaces it.
    void save_processKilled_keepsFormerFile()
    {
        PortfolioFixture f(DiskFault::FileRemoved);
        QVERIFY(f.open());
        for (int i = 0; i < 5000; ++i)
            f.doc->data().addOperations({kTyped});
        const QString path = f.dir.file(u"mon.ptf"_s);
        const QByteArray before = fileBytes(path);
        QCOMPARE(killedWhileWriting(64 * 1024, [&] { f.doc->portfolio().Sauver(); }), SIGXFSZ);
        QCOMPARE(fileBytes(path), before);

        TBourse next;
        next.portfolio().Charge(u"mon.ptf"_s);
        QCOMPARE(next.data().portfolio(), kFormer);
        f.doc->portfolio().Sauver();
        QCOMPARE(f.prompts.said(u"error"_s), QStringList());
        QCOMPARE(readLines(path).size(), 5003);
    }

    // A file name the settings file cannot remember is refused before
    // anything is written or read.
    void fileName_settingsCannotHold_isRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("named");
        QTest::newRow("line break") << u"deux\nlignes.ptf"_s << u"saut de ligne"_s;
        QTest::newRow("tab") << u"a\tb.ptf"_s << u"tabulation"_s;
        QTest::newRow("outside the code page") << u"☺.ptf"_s << u"« ☺ »"_s;
        QTest::newRow("CJK") << u"株式.ptf"_s << u"« 株 », « 式 »"_s;
    }
    void fileName_settingsCannotHold_isRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, named);
        PortfolioFixture f(DiskFault::FileRemoved);
        QVERIFY(f.open());
        const QString path = f.dir.file(name);
        writeLines(path, kFormer);
        const QStringList entries = f.dir.entries();

        f.prompts.fileNames = {path};
        f.doc->portfolio().SaveAs();
        f.prompts.answers = {Prompts::No};
        f.prompts.fileNames = {path};
        f.doc->portfolio().Ouvrir();

        const QString message = u"Le nom de fichier « "_s +
                                QString(path).replace(u'\t', u' ').replace(u'\n', u' ') +
                                u" » contient ce que le fichier Valmeq.ini ne peut pas "
                                u"enregistrer : "_s +
                                named;
        QCOMPARE(f.prompts.said(u"error"_s), (QStringList{message, message}));
        QCOMPARE(f.doc->data().portfolioPath(), u"mon.ptf"_s);
        QCOMPARE(f.doc->data().portfolio(), kFormer + QStringList{kTyped});
        QVERIFY(f.doc->data().portfolioModified());
        QCOMPARE(f.dir.entries(), entries);
    }

    // Text pasted into a field of the purchase dialog: refused, naming the
    // field and what cannot be stored; "€" and "œ" are Windows-1252 and go
    // in whole, as does a very long amount.
    void operationField_hostileText_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refusal"); // empty: recorded as pasted
        const QString tail =
            u" contient ce que le fichier du portefeuille ne peut pas enregistrer : "_s;
        QTest::newRow("tab in the price")
            << u"Edit1"_s << u"10\t00"_s
            << u"Prix total : le texte « 10 00 »"_s + tail + u"tabulation"_s;
        QTest::newRow("line feed in the quantity")
            << u"Edit2"_s << u"10\n5"_s
            << u"Quantité : le texte « 10 5 »"_s + tail + u"saut de ligne"_s;
        QTest::newRow("carriage return in the fees")
            << u"Edit3"_s << u"1\r2"_s
            << u"Fraise de bourse : le texte « 1 2 »"_s + tail + u"saut de ligne"_s;
        QTest::newRow("line separator in the fees")
            << u"Edit3"_s << u"1\u20282"_s
            << u"Fraise de bourse : le texte « 1 2 »"_s + tail + u"saut de ligne"_s;
        QTest::newRow("NUL in the price")
            << u"Edit1"_s << u"1\u00002"_s
            << u"Prix total : le texte « 1\u00002 »"_s + tail + u"caractère de contrôle U+0000"_s;
        QTest::newRow("escape in the code")
            << u"ComboBox1"_s << u"01\u001b000"_s
            << u"Code : le texte « 01\u001b000 »"_s + tail + u"caractère de contrôle U+001B"_s;
        QTest::newRow("smiley in the code")
            << u"ComboBox1"_s << u"01☺000"_s << u"Code : le texte « 01☺000 »"_s + tail + u"« ☺ »"_s;
        QTest::newRow("CJK in the price")
            << u"Edit1"_s << u"株"_s << u"Prix total : le texte « 株 »"_s + tail + u"« 株 »"_s;
        QTest::newRow("euro and oe ligature in the code")
            << u"ComboBox1"_s << u"0€œ000"_s << QString();
        QTest::newRow("very long price") << u"Edit1"_s << QString(100000, u'7') << QString();
    }
    void operationField_hostileText()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, refusal);
        ScriptedPrompts prompts;
        ScopedClock clock(QDateTime(QDate(2001, 6, 15), QTime(10, 0)));
        TOperation dialog;
        dialog.Init(u"Achat"_s, {u"012000ALPHA"_s}, 0);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        child<QLineEdit>(&dialog, "Edit1")->setText(u"100,00"_s);
        child<QLineEdit>(&dialog, "Edit2")->setText(u"10"_s);
        child<QLineEdit>(&dialog, "Edit3")->setText(u"1,00"_s);
        QWidget *target = child<QWidget>(&dialog, qPrintable(field));
        paste(target, text);
        auto *edit = qobject_cast<QLineEdit *>(target);
        const QString held = edit ? edit->text() : static_cast<QComboBox *>(target)->currentText();
        QVERIFY(text.startsWith(held)); // a line edit holds at most 32767 characters
        dialog.accept();
        if (refusal.isEmpty()) {
            QCOMPARE(prompts.said(u"error"_s), QStringList());
            // Stored as the field holds it, and read back the same.
            const QString line = u"A"_s + dialog.Result();
            const QStringList fields = line.split(u'\t');
            QCOMPARE(fields.size(), 5);
            QVERIFY(fields.contains(held));
            QCOMPARE(decodeWindows1252(encodeWindows1252(line)), line);
            return;
        }
        QCOMPARE(prompts.said(u"error"_s), QStringList{refusal});
        QVERIFY(dialog.isVisible()); // still open: the field can be mended
        QCOMPARE(dialog.Result(), QString());
        QVERIFY(target->hasFocus() || target->isAncestorOf(QApplication::focusWidget()));
    }

    // The exchange dialog refuses the same way, for its fees stored as typed.
    void exchangeFees_tab_isRefused()
    {
        ScriptedPrompts prompts;
        TEchan dialog;
        dialog.Init(
            u"Echange"_s, {u"012000ALPHA"_s, u"013000BETA"_s}, 0,
            {ql("20010105", "012000", "ALPHA", "20,00"), ql("20010105", "013000", "BETA", "7,50")});
        child<QComboBox>(&dialog, "ComboBox2")->setEditText(u"013000"_s);
        child<QLineEdit>(&dialog, "Edit1")->setText(u"10"_s);
        child<QLineEdit>(&dialog, "Edit4")->setText(u"20"_s);
        child<QLineEdit>(&dialog, "Edit2")->setText(u"0"_s);
        child<QLineEdit>(&dialog, "Edit3")->setText(u"1\t5"_s);
        dialog.accept();
        QCOMPARE(prompts.said(u"error"_s),
                 QStringList{u"Fraise de bourse : le texte « 1 5 » contient ce que le fichier du "
                             u"portefeuille ne peut pas enregistrer : tabulation"_s});
        QCOMPARE(dialog.Result().first, QString());
    }
};

QTEST_MAIN(TestPortfolioFaults)
#include "tst_portfoliofaults.moc"

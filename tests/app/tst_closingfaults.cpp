// Closing the program and the notepad from the main frame on a full disk:
// every failed write is reported with its file, the portfolio question can
// stop the closing, the notepad can stay open, and no file on disk loses a
// byte.
#include "app/TMainForm.h"
#include "base/textfile.h"
#include "faultdisk.h"
#include "quotes/BourseData.h"
#include "testkit.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

const QStringList kStore = {ql("20010301", "012000", "ALPHA", "10,00", "100")};
const QStringList kPortfolio = {u"A20010301\t012000\t1000,00\t100\t12,50"_s};

void trigger(TMainForm &form, const char *name)
{
    QAction *a = form.findChild<QAction *>(QLatin1String(name));
    QVERIFY(a && a->isEnabled());
    a->trigger();
}

} // namespace

class TestClosingFaults : public QObject
{
    Q_OBJECT

private slots:
    void closing_portfolioOnFullDisk_staysOpenUntilNon()
    {
        FaultyDir dir(DiskFault::FullDisk);
        if (!dir.unavailable().isEmpty()) QSKIP(qPrintable(dir.unavailable()));
        ScriptedPrompts prompts;
        writeLines(dir.file(u"Cours.vmq"_s), kStore);
        writeLines(dir.file(u"mon.ptf"_s), kPortfolio);
        const QByteArray store = fileBytes(dir.file(u"Cours.vmq"_s));
        const QByteArray portfolio = fileBytes(dir.file(u"mon.ptf"_s));
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        prompts.fileNames = {dir.file(u"mon.ptf"_s)};
        trigger(form, "miOuvrir");
        form.bourse()->data().addOperations({u"V20010302\t012000\t600,00\t40\t8,00"_s});
        QVERIFY(dir.stage(u"mon.ptf"_s));

        prompts.answers = {Prompts::Yes};
        QVERIFY(!form.close());
        QCOMPARE(prompts.said(u"error"_s),
                 QStringList{u"Ne peut créer le fichier "_s + dir.file(u"mon.ptf"_s) +
                             writeCause(DiskFault::FullDisk)});
        QVERIFY(form.isVisible());
        QCOMPARE(form.bourse()->data().portfolio().size(), 2);

        // "Non": the portfolio is left; the settings cannot be written
        // either, which is said; the quotations were not changed.
        prompts.log.clear();
        prompts.answers = {Prompts::No};
        QVERIFY(form.close());
        QVERIFY(prompts.unexpected.isEmpty());
        const QStringList errors = prompts.said(u"error"_s);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith(u"Ne peut créer le fichier "_s + dir.file(u"Valmeq.ini"_s)),
                 qPrintable(errors[0]));
        QCOMPARE(fileBytes(dir.file(u"Cours.vmq"_s)), store);
        QCOMPARE(fileBytes(dir.file(u"mon.ptf"_s)), portfolio);
    }

    void notepad_onFullDisk_staysOpenUntilOui()
    {
        FaultyDir dir(DiskFault::FullDisk);
        if (!dir.unavailable().isEmpty()) QSKIP(qPrintable(dir.unavailable()));
        ScriptedPrompts prompts;
        writeLines(dir.file(u"Valmeq.nte"_s), {u"ancien"_s});
        const QByteArray before = fileBytes(dir.file(u"Valmeq.nte"_s));
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(dir.stage(u"Valmeq.nte"_s));

        bool keptOpen = false;
        prompts.dialogs = {[&](QDialog *d) {
            auto *memo = child<QPlainTextEdit>(d, "Memo1");
            memo->moveCursor(QTextCursor::End);
            memo->insertPlainText(u" et nouveau"_s);
            prompts.answers = {Prompts::No};
            d->reject();
            keptOpen = d->isVisible() && memo->toPlainText() == u"ancien et nouveau"_s;
            prompts.answers = {Prompts::Yes};
            d->reject();
            return d->isVisible() ? int(QDialog::Accepted) : int(QDialog::Rejected);
        }};
        trigger(form, "miBlocnotes");
        QVERIFY(keptOpen);
        QVERIFY(prompts.dialogs.isEmpty());
        const QString message = u"Ne peut créer le fichier "_s + dir.file(u"Valmeq.nte"_s) +
                                writeCause(DiskFault::FullDisk);
        QCOMPARE(prompts.said(u"error"_s), (QStringList{message, message}));
        QCOMPARE(fileBytes(dir.file(u"Valmeq.nte"_s)), before);
        QVERIFY(form.isVisible());
    }

    // Cards, press notes or sites typed in the session and not written: the
    // closing asks before they are lost; "Non" keeps the program open with
    // them, "Oui" closes; the former file keeps its bytes either way.
    void closing_listsNotWritten_asksBeforeLosingThem()
    {
        FaultyDir dir(DiskFault::FullDisk);
        if (!dir.unavailable().isEmpty()) QSKIP(qPrintable(dir.unavailable()));
        ScriptedPrompts prompts;
        writeLines(dir.file(u"Cours.vmq"_s), kStore);
        writeLines(dir.file(u"Valmeq.trt"_s), {u"012000\tALPHA"_s});
        const QByteArray cards = fileBytes(dir.file(u"Valmeq.trt"_s));
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(!form.bourse()->data().listsUnsaved());
        form.bourse()->data().setCards(form.bourse()->data().cards() +
                                       QStringList{u"013000\tBETA"_s});
        QVERIFY(form.bourse()->data().listsUnsaved());
        QVERIFY(dir.stage(u"Valmeq.trt"_s));

        const QString question = u"Les fiches, notes de presse ou sites modifiés n'ont pas pu "
                                 u"être enregistrés et seront perdus. Quitter quand même ?"_s;
        prompts.answers = {Prompts::No};
        QVERIFY(!form.close());
        QCOMPARE(prompts.said(u"question"_s), QStringList{question});
        QVERIFY(form.isVisible());
        QCOMPARE(form.bourse()->data().cards().size(), 2);

        prompts.log.clear();
        prompts.answers = {Prompts::Yes};
        QVERIFY(form.close());
        QVERIFY(prompts.unexpected.isEmpty());
        QCOMPARE(prompts.said(u"question"_s), QStringList{question});
        QCOMPARE(fileBytes(dir.file(u"Valmeq.trt"_s)), cards);
    }
};

QTEST_MAIN(TestClosingFaults)
#include "tst_closingfaults.moc"

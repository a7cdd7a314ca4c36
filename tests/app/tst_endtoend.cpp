// A user's road through the real main window: start on files, type
// quotations, correct and maintain the store through the menus, close, and
// compare the files written byte for byte.
#include "app/TMainForm.h"
#include "document/TBourse.h"
#include "quotes/BourseData.h"
#include "quotes/QuoteListModel.h"
#include "testkit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

namespace
{

const QStringList kStart = {
    qline(u("20010305"), u("012000"), u("ALPHA"), u("10,00"), u("100")),
    qline(u("20010305"), u("013000"), u("BÉTA"), u("5,00"), u("50")),
};

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

    std::optional<StartFixture> env;
    std::unique_ptr<TMainForm> form;

    void start()
    {
        env->dir.write(u("Cours.vmq"), kStart);
        form = std::make_unique<TMainForm>();
        form->resize(1100, 700);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void trigger(const char *name)
    {
        QAction *a = form->findChild<QAction *>(QLatin1String(name));
        QVERIFY2(a, name);
        QVERIFY2(a->isEnabled(), name);
        a->trigger();
    }
    // Types into the widget that has the focus, as the keyboard would.
    static void type(const QString &text)
    {
        for (QChar c : text) {
            QWidget *w = QApplication::focusWidget();
            if (c.unicode() < 0x80) {
                QTest::keyClick(w, char(c.unicode()));
            } else { // an accented letter, as a keyboard layout sends it
                QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        }
    }
    // On the entry page, with the keyboard: 13000 (BÉTA) at 6 on 7 March 2001.
    static void typeQuotationOf7March()
    {
        type(u("07032001"));
        pressKey(Qt::Key_Tab);
        type(u("13000"));
        pressKey(Qt::Key_Tab);
        pressKey(Qt::Key_Tab);
        type(u("6"));
        pressKey(Qt::Key_Return);
    }

private slots:
    void init() { env.emplace(QDateTime(QDate(2001, 3, 6), QTime(18, 0))); }
    void cleanup()
    {
        form.reset();
        env.reset();
    }

    void typedQuotations_areSavedAfterOui()
    {
        start();
        trigger("miSaisie");
        auto *date = child<QLineEdit>(form.get(), "MaskEdit1");
        QTRY_COMPARE(QApplication::focusWidget(), date);

        // The first quotation: a blank date takes today's, Enter in the volume
        // validates; the focus comes back to the code for the next one.
        pressKey(Qt::Key_Tab);
        QCOMPARE(date->text(), u("06/03/2001"));
        type(u("12000"));
        pressKey(Qt::Key_Tab); // the name of 012000 is filled in
        QCOMPARE(child<QLineEdit>(form.get(), "Edit2")->text(), u("ALPHA"));
        pressKey(Qt::Key_Tab);
        type(u("10.5"));
        pressKey(Qt::Key_Tab);
        type(u("1200"));
        pressKey(Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QComboBox>(form.get(), "ComboBox4"));

        // The second: a new security typed with its name, Enter in the price.
        type(u("777"));
        pressKey(Qt::Key_Tab);
        type(u("NOUVELLE Sté"));
        pressKey(Qt::Key_Tab);
        type(u("0,5"));
        pressKey(Qt::Key_Return);

        auto *grid = child<QTableWidget>(form.get(), "StringGrid1");
        QCOMPARE(grid->item(0, 3)->text(), u("10,50"));
        QCOMPARE(grid->item(1, 1)->text(), u("00777"));
        QCOMPARE(grid->item(1, 3)->text(), u(",50"));

        // Leaving the page moves the grid into the store.
        trigger("miJournal");
        QVERIFY(form->bourse()->data().isModified());
        QCOMPARE(form->bourse()->journal().model()->rowCount(), 4);

        env->prompts.answers = {Prompts::Yes};
        QVERIFY(form->close());
        QCOMPARE(env->prompts.said(u("question")),
                 QStringList{u("Enregistrer le fichier des cotations ?")});
        QCOMPARE(env->dir.bytes(u("Cours.vmq")), crlf(kStart) +
                                                     "20010306\t012000\tALPHA\t10,50\t1200\r\n"
                                                     "20010306\t00777\tNOUVELLE St\xe9\t,50\t\r\n");
        QVERIFY(env->prompts.unexpected.isEmpty());
    }

    // Two copies on one start directory: the second is told, and reads
    // only ("Oui": nothing it does is written) or quits ("Non").
    void secondCopy_readsOnlyOrQuits_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Oui: read-only") << int(Prompts::Yes);
        QTest::newRow("Non: quits") << int(Prompts::No);
    }
    void secondCopy_readsOnlyOrQuits()
    {
        QFETCH(int, answer);
        env->dir.write(u("Valmeq.trt"), {u("012000\tFiche")});
        start();
        const QByteArray cards = env->dir.bytes(u("Valmeq.trt"));
        TMainForm second;
        env->prompts.answers = {Prompts::Answer(answer)};
        second.show();
        QCOMPARE(env->prompts.said(u("question")),
                 QStringList{u("Valmeq est déjà ouvert sur ce dossier par un autre programme "
                               "(processus %1). Ouvrir en lecture seule ?")
                                 .arg(QCoreApplication::applicationPid())});
        if (answer == Prompts::No) {
            QTRY_VERIFY(!second.isVisible());
        } else {
            QCOMPARE(second.windowTitle(), u("Valmeq (lecture seule)[*]"));
            QVERIFY(!second.findChild<QAction *>(u("miExporter"))->isEnabled());
            second.bourse()->data().setCards({});
            second.bourse()->data().change(BourseData::Change::Entry,
                                           [](QStringList &s) { s.removeLast(); });
            QVERIFY(second.close());
            QCOMPARE(env->prompts.said(u("information")),
                     QStringList{BourseData::readOnlyRefusal(env->dir.file(u("Cours.vmq")))});
        }
        QCOMPARE(env->dir.bytes(u("Cours.vmq")), crlf(kStart));
        QCOMPARE(env->dir.bytes(u("Valmeq.trt")), cards);
        QVERIFY(!env->dir.exists(u("Valmeq.ini")));
        // The first copy writes as ever.
        trigger("miOuvrirAuto");
        QVERIFY(form->close());
        QVERIFY(env->dir.bytes(u("Valmeq.ini")).endsWith("\r\n1\r\n"));
        QVERIFY(env->prompts.unexpected.isEmpty());
    }

    void typedQuotations_nonLeavesTheFileAsItWas()
    {
        start();
        trigger("miSaisie");
        QTRY_VERIFY(QApplication::focusWidget());
        typeQuotationOf7March();
        env->prompts.answers = {Prompts::No};
        QVERIFY(form->close()); // closing from the entry page still offers to save
        QCOMPARE(env->prompts.said(u("question")).size(), 1);
        QCOMPARE(env->dir.bytes(u("Cours.vmq")), crlf(kStart));
    }

    void undoAfterTheVisit_removesWhatWasTyped()
    {
        start();
        trigger("miSaisie");
        QTRY_VERIFY(QApplication::focusWidget());
        typeQuotationOf7March();
        trigger("miJournal");
        QCOMPARE(form->bourse()->data().store().size(), 3);
        trigger("miAnnuler");
        QCOMPARE(form->bourse()->data().store(), kStart);
        env->prompts.answers = {Prompts::Yes};
        QVERIFY(form->close());
        QCOMPARE(env->dir.bytes(u("Cours.vmq")), crlf(kStart));
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"

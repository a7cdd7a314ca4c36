// The portfolio's windows and file commands on a document: keys, Enter,
// leaving fields, refusals, questions, saving, and what the windows show.
#include "document/PortfolioCommands.h"
#include "portfolio/GridModel.h"
#include "portfolio/TJnl.h"
#include "quotes/maintenance.h"
#include "testkit.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <algorithm>

namespace
{

const QStringList kStore = {ql("20010105", "012000", "ALPHA", "20,00", "100"),
                            ql("20010105", "013000", "BETA", "7,50", "100"),
                            ql("20010104", "012000", "ALPHA", "19,00", "100")};

bool activated(QDialog *dialog)
{
    dialog->activateWindow();
    return QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; });
}

void typeInto(QWidget *field, const QString &text)
{
    field->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(field, text);
}

const QDateTime kNow(QDate(2001, 6, 15), QTime(10, 0));

} // namespace

class TestPortfolioWindows : public QObject
{
    Q_OBJECT
private slots:
    void operation_keysAndLeaving_data();
    void operation_keysAndLeaving();
    void operation_enterRecords_andShortCodeIsRefused();
    void operation_badFigure_isRefusedNamingTheField_data();
    void operation_badFigure_isRefusedNamingTheField();
    void echange_recordsSaleThenPurchase();
    void nouveau_asksOnlyWhenModified();
    void sauver_withoutPath_opensSaveDialog_failedWriteStaysModified();
    void unreadablePortfolio_isNeverWrittenOver();
    void journal_yearsDeletionAndCessions();
    void portefeuille_showsLossDateAndListsBadLine();
};

void TestPortfolioWindows::operation_keysAndLeaving_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("left");
    QTest::newRow("amount point") << u("Edit1") << u("12.5") << u("12,5") << u("12,50");
    QTest::newRow("below one") << u("Edit3") << u("0,5") << u("0,5") << u(",50");
    QTest::newRow("letters dropped in an amount")
        << u("Edit1") << u("1x2") << u("12") << u("12,00");
    QTest::newRow("quantity digits only") << u("Edit2") << u("1,2.a3") << u("123") << u("123");
    QTest::newRow("code normalised") << u("ComboBox1") << u("1234") << u("1234") << u("001234");
    QTest::newRow("short code prefixed once") << u("ComboBox1") << u("12") << u("12") << u("0012");
}

void TestPortfolioWindows::operation_keysAndLeaving()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, left);
    DocumentFixture d(kStore, QSize(800, 600), kNow);
    QString afterTyping, afterLeaving, afterComingBack, caption;
    d.prompts.dialogs.append([&](QDialog *dialog) {
        if (!activated(dialog)) return int(QDialog::Rejected);
        caption = dialog->windowTitle();
        QWidget *w = dialog->findChild<QWidget *>(field);
        auto text = [w] {
            if (auto *box = qobject_cast<QComboBox *>(w)) return box->currentText();
            return static_cast<QLineEdit *>(w)->text();
        };
        if (auto *box = qobject_cast<QComboBox *>(w)) box->setEditText(QString());
        typeInto(w, typed);
        afterTyping = text();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        afterLeaving = text();
        w->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        afterComingBack = text();
        return int(QDialog::Rejected);
    });
    d.bourse->portfolio().Achat();
    QCOMPARE(caption, u("Achat de titres"));
    QCOMPARE(afterTyping, shown);
    QCOMPARE(afterLeaving, left);
    QCOMPARE(afterComingBack, left);
    QVERIFY(d.bourse->data().portfolio().isEmpty());
}

void TestPortfolioWindows::operation_enterRecords_andShortCodeIsRefused()
{
    DocumentFixture d(kStore, QSize(800, 600), kNow);
    bool stayedOpen = false;
    QString labelOfEdit3, listed;
    d.prompts.dialogs.append([&](QDialog *dialog) {
        if (!activated(dialog)) return int(QDialog::Rejected);
        for (QLabel *l : dialog->findChildren<QLabel *>())
            if (l->buddy() == child<QLineEdit>(dialog, "Edit3")) labelOfEdit3 = l->text();
        auto *code = child<QComboBox>(dialog, "ComboBox1");
        code->setCurrentIndex(1); // "013000 — BETA" puts its code alone
        listed = code->itemText(0) + u(" / ") + code->currentText() + u(" ") +
                 child<QLabel>(dialog, "NomTitre")->text();
        code->setEditText(QString());
        typeInto(code, u("120"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // refused: too short
        stayedOpen = dialog->isVisible();
        code->setEditText(u("013000"));
        child<QDateEdit>(dialog, "DateTimePicker1")->setDate(QDate(2001, 3, 2));
        typeInto(child<QLineEdit>(dialog, "Edit1"), u("75"));
        typeInto(child<QLineEdit>(dialog, "Edit3"), u("1.5"));
        typeInto(child<QLineEdit>(dialog, "Edit2"), u("10"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        return dialog->result();
    });
    d.bourse->portfolio().Dividendes();
    QVERIFY(stayedOpen);
    QCOMPARE(labelOfEdit3, u("Avoir fiscal"));
    QCOMPARE(listed, u("012000 — ALPHA / 013000 BETA"));
    QCOMPARE(d.prompts.said(u("error")).size(), 1);
    QVERIFY(d.prompts.said(u("error")).first().contains(u("« 00120 »")));
    QCOMPARE(d.bourse->data().portfolio(), QStringList{u("D20010302\t013000\t75,00\t10\t1,50")});
    QVERIFY(d.bourse->data().portfolioModified());
}

void TestPortfolioWindows::operation_badFigure_isRefusedNamingTheField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("fees empty") << u("Edit3") << QString()
                                << u("Fraise de bourse : le champ est vide.");
    QTest::newRow("price pasted 1,2,3")
        << u("Edit1") << u("1,2,3") << u("Prix total : '1,2,3' n'est pas un nombre.");
}

void TestPortfolioWindows::operation_badFigure_isRefusedNamingTheField()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    DocumentFixture d(kStore, QSize(800, 600), kNow);
    bool stayedOpen = false, focused = false;
    d.prompts.dialogs.append([&](QDialog *dialog) {
        if (!activated(dialog)) return int(QDialog::Rejected);
        child<QLineEdit>(dialog, "Edit1")->setText(u("100"));
        child<QLineEdit>(dialog, "Edit2")->setText(u("5"));
        child<QLineEdit>(dialog, "Edit3")->setText(u("1"));
        child<QLineEdit>(dialog, qPrintable(field))->setText(text);
        child<QPushButton>(dialog, "Button2")->click();
        stayedOpen = dialog->isVisible();
        focused = child<QLineEdit>(dialog, qPrintable(field))->hasFocus();
        return int(QDialog::Rejected);
    });
    d.bourse->portfolio().Achat();
    QVERIFY(stayedOpen);
    QVERIFY(focused);
    QCOMPARE(d.prompts.said(u("error")), QStringList{message});
    QVERIFY(d.bourse->data().portfolio().isEmpty());
    QVERIFY(!d.bourse->data().portfolioModified());
}

void TestPortfolioWindows::echange_recordsSaleThenPurchase()
{
    DocumentFixture d(kStore, QSize(800, 600), kNow);
    d.prompts.dialogs.append([&](QDialog *dialog) {
        child<QComboBox>(dialog, "ComboBox1")->setEditText(u("012000"));
        child<QComboBox>(dialog, "ComboBox2")->setEditText(u("099999"));
        child<QLineEdit>(dialog, "Edit1")->setText(u("10"));
        child<QLineEdit>(dialog, "Edit4")->setText(u("30"));
        child<QLineEdit>(dialog, "Edit2")->setText(u("5"));
        child<QLineEdit>(dialog, "Edit3")->setText(u("3"));
        child<QPushButton>(dialog, "Button2")->click(); // no price to value it: refused
        child<QComboBox>(dialog, "ComboBox2")->setEditText(u("013000"));
        child<QPushButton>(dialog, "Button2")->click();
        return dialog->result();
    });
    d.prompts.answers = {Prompts::Yes};
    d.bourse->portfolio().Echange();
    QCOMPARE(d.prompts.said(u("error")),
             QStringList{u("Code reçu : le code 099999 n'a aucun cours dans la base.")});
    QCOMPARE(d.prompts.said(u("question")),
             QStringList{u("Vous échangez 10 titres 012000 et n'en détenez aucun. Enregistrer "
                           "quand même ?")});
    const QString today = u("20010615");
    QCOMPARE(d.bourse->data().portfolio(),
             (QStringList{u("V") + today + u("\t012000\t205,00\t10\t3"),
                          u("A") + today + u("\t013000\t225,00\t30\t0")}));
}

void TestPortfolioWindows::nouveau_asksOnlyWhenModified()
{
    DocumentFixture d(kStore);
    d.dir.write(u("p.ptf"), {u("A20010101\t012000\t100,00\t10\t1")});
    d.bourse->portfolio().Charge(u("p.ptf"));
    QVERIFY(d.bourse->portfolio().FormCloseQuery());
    // Read and not changed: nothing to save, no question.
    d.bourse->portfolio().Nouveau();
    QVERIFY(d.prompts.said(u("question")).isEmpty());
    QVERIFY(d.bourse->data().portfolio().isEmpty());
    d.bourse->portfolio().Charge(u("p.ptf"));
    d.bourse->data().addOperations({u("A20010102\t012000\t100,00\t10\t1")});
    d.prompts.answers = {Prompts::Cancel};
    d.bourse->portfolio().Nouveau();
    QCOMPARE(d.prompts.said(u("question")), QStringList{u("Enregistrer le portefeuille ?")});
    QCOMPARE(d.bourse->data().portfolio().size(), 2);
    d.prompts.answers = {Prompts::No};
    d.bourse->portfolio().Nouveau();
    QVERIFY(d.bourse->data().portfolio().isEmpty());
    QVERIFY(d.bourse->data().portfolioPath().isEmpty());
}

void TestPortfolioWindows::sauver_withoutPath_opensSaveDialog_failedWriteStaysModified()
{
    DocumentFixture d(kStore);
    d.bourse->data().addOperations({u("A20010101\t012000\t100,00\t10\t1")});
    // A directory where no file can be written.
    d.prompts.fileNames = {d.dir.file(u("absent/p.ptf"))};
    d.bourse->portfolio().Sauver();
    QCOMPARE(d.prompts.log.first(), u("save: Enregistrer sous"));
    QCOMPARE(d.prompts.said(u("error")).size(), 1);
    QVERIFY(d.prompts.said(u("error")).first().startsWith(u("Ne peut créer le fichier")));
    QVERIFY(d.bourse->data().portfolioModified());
    QVERIFY(d.bourse->data().portfolioPath().isEmpty());
    // Closing: "Oui", then the save dialog cancelled: the closing stops.
    d.prompts.answers = {Prompts::Yes};
    d.prompts.fileNames = {QString()};
    QVERIFY(!d.bourse->portfolio().FormCloseQuery());
    d.prompts.answers = {Prompts::Yes};
    d.prompts.fileNames = {d.dir.file(u("p.ptf"))};
    QVERIFY(d.bourse->portfolio().FormCloseQuery());
    QCOMPARE(d.dir.bytes(u("p.ptf")), crlf({u("A20010101\t012000\t100,00\t10\t1")}));
    QCOMPARE(d.bourse->windowTitle(), u("p.ptf"));
}

void TestPortfolioWindows::unreadablePortfolio_isNeverWrittenOver()
{
    DocumentFixture d(kStore);
    // A path that cannot be read, whatever the rights of the test.
    QVERIFY(QDir(d.dir.path()).mkdir(u("perdu.ptf")));
    const QString path = d.dir.file(u("perdu.ptf"));
    runCommand(d.bourse.get(), [&] { d.bourse->portfolio().Charge(path); });
    QCOMPARE(d.prompts.said(u("error")),
             QStringList{u("Le fichier %1 n'est pas un fichier ordinaire").arg(path)});
    QCOMPARE(d.bourse->data().portfolioPath(), path);
    d.bourse->data().addOperations({u("A20010102\t013000\t2,00\t1\t1")});
    d.prompts.fileNames = {QString()};
    d.bourse->portfolio().Sauver();
    // Not written to the path: the file name is asked for.
    QCOMPARE(d.prompts.log.last(), u("save: Enregistrer sous"));
    QVERIFY(d.bourse->data().portfolioModified());
}

void TestPortfolioWindows::journal_yearsDeletionAndCessions()
{
    DocumentFixture d(kStore, QSize(800, 600), kNow);
    d.bourse->data().replacePortfolio({u("A20000105\t012000\t100,00\t10\t1"),
                                       u("V20010105\t012000\t150,00\t5\t1"),
                                       u("V20010106\t012000\t60,50\t2\t1")});
    QStringList seen;
    d.prompts.dialogs.append([&](QDialog *dialog) {
        auto *jnl = static_cast<TJnl *>(dialog);
        auto *cessions = child<QLabel>(dialog, "Label2");
        auto *year = child<QLabel>(dialog, "Panel1");
        auto *grid = child<QTableView>(dialog, "StringGrid1");
        seen << year->text() + u(" ") + cessions->text();
        grid->setFocus();
        grid->setCurrentIndex(jnl->model()->index(0, 0));
        d.prompts.answers = {Prompts::No, Prompts::Yes};
        QTest::keyClick(grid, Qt::Key_Delete);
        seen << u("%1 rows").arg(jnl->model()->rows().size());
        child<QToolButton>(dialog, "SpeedButton2")->click();
        seen << u("%1 rows ").arg(jnl->model()->rows().size()) + cessions->text();
        child<QToolButton>(dialog, "SpeedButton3")->click();
        seen << year->text() + u(" ") + cessions->text();
        child<QToolButton>(dialog, "SpeedButton4")->click();
        seen << year->text() + u(" ") + cessions->text();
        child<QToolButton>(dialog, "SpeedButton4")->click();
        seen << year->text() + u(" ") + cessions->text();
        return int(QDialog::Rejected);
    });
    d.bourse->portfolio().Operations();
    QCOMPARE(seen, (QStringList{u("2001 210,50"), u("2 rows"), u("1 rows 60,50"), u("2000 ,00"),
                                u("2001 210,50"), u("2002 ,00")}));
    const QString displayOnly =
        u("Supprimer la ligne de la liste affichée ? Le portefeuille n'est pas modifié.");
    QCOMPARE(d.prompts.said(u("question")), (QStringList{displayOnly, displayOnly}));
    QCOMPARE(d.bourse->data().portfolio().size(), 3);
}

void TestPortfolioWindows::portefeuille_showsLossDateAndListsBadLine()
{
    QStringList shuffled = kStore;
    shuffled.append(ql("20010103", "013000", "beta", "9,00"));
    shuffled.append(ql("20001229", "014000", "GAMMA", "1,00"));
    shuffled.append(ql("20010103", "013000", "BETA", "9,00")); // equal ignoring case
    shuffled.append(ql("20010103", "013000", "Bêta", "9,00"));
    DocumentFixture d(shuffled, QSize(800, 600), kNow);
    d.bourse->data().replacePortfolio({u("A20000105\t012000\t300,00\t10\t1")});
    QStringList seen;
    const auto look = [&](QDialog *dialog) {
        seen << dialog->windowTitle() << child<QLabel>(dialog, "Label1")->text()
             << child<QLabel>(dialog, "Label2")->text() << child<QLabel>(dialog, "Label4")->text()
             << child<QLabel>(dialog, "Label5")->text() << child<QLabel>(dialog, "Label9")->text()
             << child<QLabel>(dialog, "Label10")->text();
        auto *grid = child<QTableView>(dialog, "StringGrid1");
        const QFontMetrics fm(grid->font());
        for (int c = 1; c < grid->model()->columnCount(); ++c) {
            const QString cell = grid->model()->index(0, c).data().toString();
            if (grid->columnWidth(c) < fm.horizontalAdvance(cell))
                seen << u("column %1 cut").arg(c);
        }
        seen << grid->model()->index(0, 8).data().toString();
        return int(QDialog::Rejected);
    };
    d.prompts.dialogs.append(look);
    d.bourse->portfolio().Portefeuille();
    QCOMPARE(seen, (QStringList{u("Portefeuille au 15/06/2001"), u("Moins value"), u("-100,00"),
                                u("200,00"), u("Cours du 05/01/2001"), u("1,00"), u("-33,48%"),
                                u("05/01/2001")}));
    // Sorted in place, as the stable sort ignoring case orders the lines,
    // without undo copy or modified flag.
    QStringList valuationOrder = shuffled;
    std::stable_sort(valuationOrder.begin(), valuationOrder.end(), maintenance::lessIgnoringCase);
    QCOMPARE(d.bourse->data().store().toStringList(), valuationOrder);
    QCOMPARE(d.bourse->data().store().first(), ql("20001229", "014000", "GAMMA", "1,00"));
    QVERIFY(d.bourse->data().store().at(1).contains(u("\tbeta\t")));
    QVERIFY(d.bourse->data().store().at(2).contains(u("\tBETA\t")));
    QVERIFY(!d.bourse->data().isModified());
    // A line that does not read is said once, the rest is valued; the
    // prices of two dates are both named.
    d.bourse->data().addOperations({u("V2001\t012000"), u("A20001229\t014000\t1,00\t1\t0")});
    seen.clear();
    d.prompts.dialogs.append(look);
    runCommand(d.bourse.get(), [&] { d.bourse->portfolio().Portefeuille(); });
    QCOMPARE(d.prompts.said(u("information")),
             QStringList{u("Ligne 2 illisible : V2001 012000 (il manque des champs)")});
    QCOMPARE(seen.value(4), u("Cours du 29/12/2000 au 05/01/2001"));
    QVERIFY(d.prompts.said(u("error")).isEmpty());
    QVERIFY(d.prompts.unexpected.isEmpty());
}

QTEST_MAIN(TestPortfolioWindows)
#include "tst_portfoliowindows.moc"

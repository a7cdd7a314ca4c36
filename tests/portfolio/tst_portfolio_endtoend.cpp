// A portfolio through the real main window: operations recorded from the
// menus, saved, reopened at the next start by "Ouvrir automatiquement", and
// the file compared byte for byte.
#include "app/TMainForm.h"
#include "document/TBourse.h"
#include "quotes/BourseData.h"
#include "testkit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

class TestPortfolioEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void recordSaveReopen_sameBytes();
    void journal_modifyDeleteUndo_thenSaved();
    void demo_opensItsPortfolio();
};

namespace
{

QAction *action(TMainForm &form, const char *name)
{
    return form.findChild<QAction *>(QLatin1String(name));
}

// Fills an operation dialog as the user does and confirms with Enter.
std::function<int(QDialog *)> operation(const QDate &date, const char *code, const char *amount,
                                        const char *qty, const char *fees)
{
    return [=](QDialog *dialog) {
        auto *box = child<QComboBox>(dialog, "ComboBox1");
        box->setEditText(QString());
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box, u(code));
        QTest::keyClick(box, Qt::Key_Tab);
        child<QDateEdit>(dialog, "DateTimePicker1")->setDate(date);
        for (auto [name, text] : {std::pair{"Edit1", amount}, {"Edit3", fees}, {"Edit2", qty}}) {
            QLineEdit *e = child<QLineEdit>(dialog, name);
            e->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(e, u(text));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        return dialog->result();
    };
}

} // namespace

void TestPortfolioEndToEnd::recordSaveReopen_sameBytes()
{
    StartFixture env(QDateTime(QDate(2001, 6, 15), QTime(9, 0)));
    env.dir.write(u("Cours.vmq"), {ql("20010301", "012000", "ALPHA", "10,00", "100"),
                                   ql("20010301", "013000", "BETA", "5,00", "50"),
                                   ql("20010302", "012000", "ALPHA", "12,00", "100")});
    const QString ptf = env.dir.file(u("mon.ptf"));
    {
        TMainForm form;
        form.resize(1000, 700);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(!action(form, "miAchat")->isEnabled());
        action(form, "miNouveau")->trigger();
        QVERIFY(action(form, "miAchat")->isEnabled()); // a new portfolio takes operations
        env.prompts.dialogs = {operation(QDate(2001, 3, 1), "12000", "1000", "100", "12.5"),
                               operation(QDate(2001, 3, 2), "12000", "600", "40", "8")};
        action(form, "miAchat")->trigger();
        action(form, "miVente")->trigger();
        QString evaluation;
        env.prompts.dialogs = {[&](QDialog *d) {
            evaluation = child<QLabel>(d, "Label4")->text();
            return int(QDialog::Rejected);
        }};
        action(form, "miPortefeuille")->trigger();
        QCOMPARE(evaluation, u("720,00"));
        env.prompts.fileNames = {ptf};
        action(form, "miSauver")->trigger(); // never saved: the save dialog
        QVERIFY(!form.bourse()->data().portfolioModified());
        action(form, "miOuvrirAuto")->trigger();
        QVERIFY(form.close());
        QVERIFY(env.prompts.unexpected.isEmpty());
    }
    const QByteArray expected = "A20010301\t012000\t1000,00\t100\t12,50\r\n"
                                "V20010302\t012000\t600,00\t40\t8,00\r\n";
    QCOMPARE(env.dir.bytes(u("mon.ptf")), expected);
    const QStringList ini = env.dir.lines(u("Valmeq.ini"));
    QCOMPARE(ini.value(1), ptf);
    QCOMPARE(ini.value(7), u("1"));
    {
        // The next start opens it again; a dividend, then Oui at closing.
        TMainForm form;
        form.resize(1000, 700);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(action(form, "miOuvrirAuto")->isChecked());
        QVERIFY(action(form, "miAchat")->isEnabled());
        QCOMPARE(form.bourse()->data().portfolio().size(), 2);
        env.prompts.dialogs = {operation(QDate(2001, 5, 2), "12000", "30", "60", "0")};
        action(form, "miDividendes")->trigger();
        env.prompts.answers = {Prompts::Yes, Prompts::No};
        QVERIFY(form.close());
        QVERIFY(env.prompts.unexpected.isEmpty());
    }
    QCOMPARE(env.dir.bytes(u("mon.ptf")), expected + "D20010502\t012000\t30,00\t60\t,00\r\n");
}

void TestPortfolioEndToEnd::journal_modifyDeleteUndo_thenSaved()
{
    StartFixture env(QDateTime(QDate(2009, 6, 15), QTime(9, 0)));
    env.dir.write(u("Cours.vmq"), {ql("20010301", "012000", "ALPHA", "10,00", "100"),
                                   ql("20010301", "013000", "BETA", "5,00", "50")});
    const QByteArray a = "A20010301\t012000\t1000,00\t100\t12,50\r\n";
    const QByteArray v = "V20010302\t012000\t600,00\t40\t8,00\r\n";
    const QByteArray d = "D20010502\t013000\t30,00\t60\t,00\r\n";
    env.dir.writeBytes(u("mon.ptf"), a + v + d);
    TMainForm form;
    form.resize(1000, 700);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    env.prompts.fileNames = {env.dir.file(u("mon.ptf"))};
    action(form, "miOuvrir")->trigger();
    QCOMPARE(form.windowTitle(), u("Valmeq - mon.ptf[*]"));
    QVERIFY(!form.isWindowModified());

    QString year;
    QStringList amounts;
    const auto select = [](QDialog *jnl, int row) {
        auto *grid = child<QTableView>(jnl, "StringGrid1");
        grid->setCurrentIndex(grid->model()->index(row, 0));
    };
    env.prompts.dialogs = {
        [&](QDialog *jnl) {
            year = child<QLabel>(jnl, "Panel1")->text(); // 2009 holds nothing
            select(jnl, 1);
            child<QToolButton>(jnl, "SpeedButton5")->click(); // the sale, in its dialog
            select(jnl, 2);
            env.prompts.answers = {Prompts::Yes};
            child<QToolButton>(jnl, "SpeedButton6")->click(); // the dividend
            select(jnl, 0);
            env.prompts.answers = {Prompts::Yes};
            child<QToolButton>(jnl, "SpeedButton6")->click(); // the purchase
            child<QToolButton>(jnl, "SpeedButton7")->click(); // back again
            auto *m = child<QTableView>(jnl, "StringGrid1")->model();
            for (int r = 0; r < 3; ++r)
                amounts.append(m->index(r, 3).data().toString());
            return int(QDialog::Rejected);
        },
        [&](QDialog *sale) {
            amounts.append(sale->windowTitle() + u(" ") + child<QLineEdit>(sale, "Edit1")->text());
            QLineEdit *price = child<QLineEdit>(sale, "Edit1");
            price->setFocus(Qt::TabFocusReason);
            price->selectAll();
            QTest::keyClicks(price, u("650"));
            QTest::keyClick(price, Qt::Key_Enter);
            return sale->result();
        }};
    action(form, "miOperations")->trigger();
    QCOMPARE(year, u("2001"));
    QCOMPARE(amounts,
             (QStringList{u("Vente de titres 600,00"), u("1000,00"), u("650"), QString()}));
    QCOMPARE(env.prompts.said(u("question")),
             (QStringList{u("Supprimer cette opération du portefeuille ?"),
                          u("Supprimer cette opération du portefeuille ?")}));
    QVERIFY(form.bourse()->data().portfolioModified());
    QVERIFY(form.isWindowModified());
    action(form, "miSauver")->trigger();
    QVERIFY(!form.isWindowModified());
    QCOMPARE(env.dir.bytes(u("mon.ptf")), a + "V20010302\t012000\t650\t40\t8,00\r\n");
    // Saved: "Nouveau" has nothing to ask.
    action(form, "miNouveau")->trigger();
    QCOMPARE(env.prompts.said(u("question")).size(), 2);
    QVERIFY(env.prompts.unexpected.isEmpty());
}

void TestPortfolioEndToEnd::demo_opensItsPortfolio()
{
    StartFixture env(QDateTime(QDate(2009, 1, 5), QTime(9, 0)));
    const QDir demo(QStringLiteral(VALMEQ_SHARED_DATA));
    for (const QString &name : demo.entryList(QDir::Files))
        QVERIFY(QFile::copy(demo.filePath(name), env.dir.file(name)));
    TMainForm form;
    form.resize(1000, 700);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(action(form, "miOuvrirAuto")->isChecked());
    QVERIFY(env.prompts.said(u("error")).isEmpty());
    QVERIFY(form.bourse()->data().portfolio().size() >= 10);
    // Every position held has a price, and the pie a slice for each.
    int rows = 0, priced = 0, slices = 0;
    env.prompts.dialogs = {
        [&](QDialog *d) {
            auto *m = child<QTableView>(d, "StringGrid1")->model();
            for (int r = 0; r < m->rowCount(); ++r) {
                if (m->index(r, 0).data().toString().isEmpty()) continue;
                ++rows;
                priced += !m->index(r, 6).data().toString().isEmpty();
            }
            return int(QDialog::Rejected);
        },
        [&](QDialog *d) {
            for (int j = 1; j <= 15; ++j)
                slices += child<QLabel>(d, qPrintable(u"Pourcent%1"_qs.arg(j)))->isVisibleTo(d);
            return int(QDialog::Rejected);
        }};
    action(form, "miPortefeuille")->trigger();
    action(form, "miRepartition")->trigger();
    QVERIFY(rows >= 4);
    QCOMPARE(priced, rows);
    QCOMPARE(slices, rows);
    QVERIFY(env.prompts.unexpected.isEmpty());
    QVERIFY(env.prompts.said(u("error")).isEmpty());
}

QTEST_MAIN(TestPortfolioEndToEnd)
#include "tst_portfolio_endtoend.moc"

// Correction of a stored quotation: Modifier, MajModif and the "Modifier
// ligne" window.
#include "base/errors.h"
#include "document/TBourse.h"
#include "quotes/QuoteListModel.h"
#include "quotes/TModif.h"
#include "testkit.h"

#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace
{

QStringList sampleStore()
{
    return {qline(u("20010301"), u("000001"), u("ALPHA"), u("10,00"), u("100")),
            qline(u("20010301"), u("012000"), u("EXEMPLE SA"), u("45,30"), u("1200")),
            qline(u("20010302"), u("000001"), u("ALPHA"), u("10,50"), u("200")),
            qline(u("20010302"), u("012000"), u("EXEMPLE SA"), u("46,00"), QString())};
}

// The window shown by the scripted prompts has the keyboard. (Its parent's
// being active is not enough: the focus must move into it.)
bool activated(QDialog *dialog)
{
    dialog->activateWindow();
    return QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; });
}

// The five fields of the window, as text.
QStringList fieldsOf(QDialog *dialog)
{
    return {child<QDateEdit>(dialog, "DateTimePicker1")->date().toString(u("yyyyMMdd")),
            child<QLineEdit>(dialog, "Edit1")->text(), child<QLineEdit>(dialog, "Edit2")->text(),
            child<QLineEdit>(dialog, "Edit3")->text(), child<QLineEdit>(dialog, "Edit4")->text()};
}

} // namespace

class TestModif : public QObject
{
    Q_OBJECT
private slots:
    void modifier_oneRow_correctsTheStoredLine();
    void modifier_onSecurityView();
    void modifier_needsExactlyOneRow();
    void modifier_cancelled_changesNothing();
    void modifier_shortCode_findsItsOwnLine();
    void unreadablePrice_isNeverWritten();
    void dialog_resultAndKeys();
    void dialog_filtersCodeAndPrice();
    void dialog_lineWithBadDate_isRefused();
    void modifier_sameDateAndCode_correctsTheRowChosen();
    void dialog_faultyField_isRefused_data();
    void dialog_faultyField_isRefused();
};

void TestModif::modifier_oneRow_correctsTheStoredLine()
{
    DocumentFixture d(sampleStore());
    const QStringList undo = d.bourse->data().undo();
    QStringList seen;
    bool priceHadFocus = false;
    d.prompts.dialogs.append([&](QDialog *dialog) {
        if (!activated(dialog)) return int(QDialog::Rejected);
        seen = fieldsOf(dialog);
        QLineEdit *price = child<QLineEdit>(dialog, "Edit3");
        priceHadFocus = QApplication::focusWidget() == price;
        QTest::keyClicks(price, u("47.5")); // the price was selected: typed over
        QTest::keyClick(price, Qt::Key_Tab);
        child<QLineEdit>(dialog, "Edit4")->setText(u("900"));
        QTest::mouseClick(child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
        return dialog->result();
    });
    selectRows(d.bourse->journal().list(), {3});
    d.bourse->maintenance().Modifier();
    QCOMPARE(d.prompts.said(u("window")), QStringList{u("Modifier ligne")});
    QCOMPARE(seen,
             (QStringList{u("20010302"), u("012000"), u("EXEMPLE SA"), u("46,00"), QString()}));
    QVERIFY(priceHadFocus);
    QStringList expected = sampleStore();
    expected[3] = qline(u("20010302"), u("012000"), u("EXEMPLE SA"), u("47,50"), u("900"));
    QCOMPARE(d.bourse->data().store(), expected);
    QVERIFY(d.bourse->data().isModified());
    QCOMPARE(d.bourse->data().undo(), undo); // a correction takes no undo copy
    QCOMPARE(d.bourse->journal().model()->cell(3, 3), u("47,50"));
    QVERIFY(d.prompts.said(u("error")).isEmpty());
}

void TestModif::modifier_onSecurityView()
{
    DocumentFixture d(sampleStore());
    d.bourse->Titres(); // ALPHA
    d.prompts.dialogs.append([&](QDialog *dialog) {
        child<QDateEdit>(dialog, "DateTimePicker1")->setDate(QDate(2001, 3, 5));
        child<QLineEdit>(dialog, "Edit2")->setText(u("ALPHA SA"));
        return int(QDialog::Accepted);
    });
    selectRows(d.bourse->titres().list(), {1});
    d.bourse->maintenance().Modifier();
    QCOMPARE(d.bourse->data().store().at(2),
             qline(u("20010305"), u("000001"), u("ALPHA SA"), u("10,50"), u("200")));
    QCOMPARE(d.bourse->titres().model()->cell(1, 0), u("05/03/2001"));
    QCOMPARE(d.bourse->titres().model()->cell(1, 2), u("ALPHA SA"));
}

void TestModif::modifier_needsExactlyOneRow()
{
    DocumentFixture d(sampleStore());
    selectRows(d.bourse->journal().list(), {0, 2});
    d.bourse->maintenance().Modifier();
    d.bourse->showPage(TBourse::PageGraphique); // no list on the chart page
    d.bourse->maintenance().Modifier();
    QVERIFY(d.prompts.log.isEmpty());
    QCOMPARE(d.bourse->data().store(), sampleStore());
    QVERIFY(!d.bourse->data().isModified());
}

void TestModif::modifier_cancelled_changesNothing()
{
    DocumentFixture d(sampleStore());
    d.prompts.dialogs.append([&](QDialog *dialog) {
        child<QLineEdit>(dialog, "Edit3")->setText(u("99,00"));
        QTest::mouseClick(child<QPushButton>(dialog, "CancelBtn"), Qt::LeftButton);
        return dialog->result();
    });
    selectRows(d.bourse->journal().list(), {0});
    d.bourse->maintenance().Modifier();
    QCOMPARE(d.prompts.said(u("window")).size(), 1);
    QCOMPARE(d.bourse->data().store(), sampleStore());
    QVERIFY(!d.bourse->data().isModified());
}

void TestModif::modifier_shortCode_findsItsOwnLine()
{
    // A five-character code is not the beginning of a six-character one.
    const QStringList store = {qline(u("20010301"), u("001200"), u("LONG"), u("1,00")),
                               qline(u("20010301"), u("00120"), u("COURT"), u("2,00"))};
    DocumentFixture d(store);
    QString name;
    d.prompts.dialogs.append([&](QDialog *dialog) {
        name = child<QLineEdit>(dialog, "Edit2")->text();
        return int(QDialog::Rejected);
    });
    selectRows(d.bourse->journal().list(), {1});
    d.bourse->maintenance().Modifier();
    QCOMPARE(name, u("COURT"));
}

void TestModif::unreadablePrice_isNeverWritten()
{
    DocumentFixture d(sampleStore());
    const QString bad = u("'1,2,3' n'est pas une valeur flottante correcte");
    QStringList errorsAfterLeave, errorsAfterOk, errorsAfterEnter;
    bool openAfterOk = false;
    d.prompts.dialogs.append([&](QDialog *dialog) {
        if (!activated(dialog)) return int(QDialog::Rejected);
        QLineEdit *price = child<QLineEdit>(dialog, "Edit3");
        price->selectAll();
        QTest::keyClicks(price, u("1,2,3"));
        QTest::keyClick(price, Qt::Key_Tab); // leaving the field tells at once
        errorsAfterLeave = d.prompts.said(u("error"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // Enter in Volume
        errorsAfterEnter = d.prompts.said(u("error"));
        QTest::mouseClick(child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
        errorsAfterOk = d.prompts.said(u("error"));
        openAfterOk = dialog->isVisible() && QApplication::focusWidget() == price;
        return int(QDialog::Accepted); // and OK once more
    });
    selectRows(d.bourse->journal().list(), {1});
    d.bourse->maintenance().Modifier();
    QCOMPARE(errorsAfterLeave, QStringList{bad});
    QCOMPARE(errorsAfterEnter, (QStringList{bad, bad}));
    QCOMPARE(errorsAfterOk, (QStringList{bad, bad, bad})); // one message per click
    QVERIFY(openAfterOk);
    QCOMPARE(d.bourse->data().store(), sampleStore());
    QVERIFY(!d.bourse->data().isModified());
}

void TestModif::dialog_resultAndKeys()
{
    const QString line = qline(u("19991231"), u("012000"), u("EXEMPLE SA"), u("45,30"), u("12"));
    struct Case {
        const char *field;
        Qt::Key key;
        bool closes;
    };
    const Case cases[] = {{"Edit1", Qt::Key_Return, true},
                          {"Edit3", Qt::Key_Enter, true},
                          {"Edit4", Qt::Key_Return, true},
                          {"Edit2", Qt::Key_Return, false},
                          {"Edit3", Qt::Key_Escape, false}};
    for (const Case &c : cases) {
        TModif dialog;
        dialog.Init(line);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), u("Modifier ligne"));
        QTest::keyClick(child<QLineEdit>(&dialog, c.field), c.key);
        QString out = u("former");
        dialog.Result(out);
        QCOMPARE(out, c.closes ? line : QString());
        QCOMPARE(dialog.isVisible(), !c.closes && c.key != Qt::Key_Escape);
    }
    // Each field as it stands, the code not normalised, the price reformatted.
    TModif dialog;
    dialog.Init(line);
    child<QLineEdit>(&dialog, "Edit1")->setText(u("120"));
    child<QLineEdit>(&dialog, "Edit3")->setText(u("0,5"));
    child<QLineEdit>(&dialog, "Edit4")->clear();
    dialog.accept();
    QString out;
    dialog.Result(out);
    QCOMPARE(out, qline(u("19991231"), u("120"), u("EXEMPLE SA"), u(",50"), QString()));
}

void TestModif::dialog_filtersCodeAndPrice()
{
    TModif dialog;
    dialog.Init(qline(u("20010301"), u(""), u("X"), u(""), u("")));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QLineEdit *code = child<QLineEdit>(&dialog, "Edit1");
    QLineEdit *price = child<QLineEdit>(&dialog, "Edit3");
    QLineEdit *volume = child<QLineEdit>(&dialog, "Edit4");
    QTest::keyClicks(code, u("12a.34567"));
    QCOMPARE(code->text(), u("123456"));
    QTest::keyClicks(volume, u("1,5x0"));
    QCOMPARE(volume->text(), u("150"));
    price->setFocus();
    QTest::keyClicks(price, u("12.5"));
    QCOMPARE(price->text(), u("12,5"));
    QTest::keyClick(price, Qt::Key_Tab);
    QCOMPARE(price->text(), u("12,50"));
}

void TestModif::dialog_lineWithBadDate_isRefused()
{
    TModif dialog;
    try {
        dialog.Init(qline(u("20010231"), u("000001"), u("ALPHA"), u("1,00")));
        QFAIL("a date that is not a day was taken");
    } catch (const VError &e) {
        QCOMPARE(e.message(), u("'31/02/2001' n'est pas une date correcte"));
    }
    // Through the document: the error box, no window, nothing changed.
    const QStringList store = {qline(u("20010201"), u("000001"), u("ALPHA"), u("1,00")),
                               qline(u("20010231"), u("000001"), u("ALPHA"), u("1,00")),
                               qline(u("20010228"), u("000001"), u("ALPHA"), u("1,00"))};
    DocumentFixture d(store);
    selectRows(d.bourse->journal().list(), {1});
    runCommand(d.bourse.get(), [&] { d.bourse->maintenance().Modifier(); });
    QCOMPARE(d.prompts.log, QStringList{u("error: '31/02/2001' n'est pas une date correcte")});
    QCOMPARE(d.bourse->data().store(), store);
}

void TestModif::modifier_sameDateAndCode_correctsTheRowChosen()
{
    // An import can bring two lines of one date and code.
    const QStringList store = {qline(u("20010301"), u("000001"), u("ALPHA"), u("10,00")),
                               qline(u("20010301"), u("000001"), u("ALPHA"), u("12,00"))};
    DocumentFixture d(store);
    d.prompts.dialogs.append([&](QDialog *dialog) {
        child<QLineEdit>(dialog, "Edit3")->setText(u("13"));
        return int(QDialog::Accepted);
    });
    selectRows(d.bourse->journal().list(), {1});
    d.bourse->maintenance().Modifier();
    QCOMPARE(d.bourse->data().store(),
             (QStringList{store[0], qline(u("20010301"), u("000001"), u("ALPHA"), u("13,00"))}));
}

void TestModif::dialog_faultyField_isRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("price empty") << u("Edit3") << QString()
                                 << u("'' n'est pas une valeur flottante correcte");
    QTest::newRow("code empty") << u("Edit1") << QString() << u("Le code du titre est vide");
    QTest::newRow("name with a tab")
        << u("Edit2") << u("A\tB")
        << u("Le texte « A B » contient ce que le fichier des cotations ne peut pas "
             "enregistrer : tabulation");
}

void TestModif::dialog_faultyField_isRefused()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, error);
    DocumentFixture d(sampleStore());
    bool stayedOpen = false;
    d.prompts.dialogs.append([&](QDialog *dialog) {
        if (!activated(dialog)) return int(QDialog::Rejected);
        QLineEdit *edit = child<QLineEdit>(dialog, qPrintable(field));
        edit->setText(text);
        QTest::mouseClick(child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
        stayedOpen = dialog->isVisible() && QApplication::focusWidget() == edit;
        return int(QDialog::Accepted);
    });
    selectRows(d.bourse->journal().list(), {1});
    d.bourse->maintenance().Modifier();
    QVERIFY(stayedOpen);
    QCOMPARE(d.prompts.said(u("error")).value(0), error);
    QCOMPARE(d.bourse->data().store(), sampleStore());
    QVERIFY(!d.bourse->data().isModified());
}

QTEST_MAIN(TestModif)
#include "tst_modif.moc"

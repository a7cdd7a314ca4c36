// Correction of a stored quotation: Modifier, MajModif and the "Modifier
// ligne" window.
#include "base/errors.h"
#include "quotes/TBourse.h"
#include "quotes/TModif.h"
#include "quotes/quotelistmodel.h"
#include "testkit.h"

#include <QApplication>
#include <QDateEdit>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

namespace
{

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QStringList sampleStore()
{
    return {qline(s("20010301"), s("000001"), s("ALPHA"), s("10,00"), s("100")),
            qline(s("20010301"), s("012000"), s("EXEMPLE SA"), s("45,30"), s("1200")),
            qline(s("20010302"), s("000001"), s("ALPHA"), s("10,50"), s("200")),
            qline(s("20010302"), s("012000"), s("EXEMPLE SA"), s("46,00"), QString())};
}

struct Desk {
    TempStartDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<TBourse> bourse;

    explicit Desk(const QStringList &store = sampleStore())
    {
        dir.write(s("Cours.vmq"), store);
        bourse = std::make_unique<TBourse>();
        bourse->resize(800, 600);
        bourse->Init();
        bourse->show();
        if (!QTest::qWaitForWindowActive(bourse.get())) qWarning("window not active");
    }
    static void select(QTableView *list, std::initializer_list<int> rows)
    {
        for (int r : rows)
            list->selectionModel()->select(list->model()->index(r, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

template <class T> T *child(QWidget *w, const char *name)
{
    return w->findChild<T *>(s(name));
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
    return {child<QDateEdit>(dialog, "DateTimePicker1")->date().toString(s("yyyyMMdd")),
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
};

void TestModif::modifier_oneRow_correctsTheStoredLine()
{
    Desk d;
    const QStringList undo = d.bourse->undo();
    QStringList seen;
    bool priceHadFocus = false;
    d.prompts.dialogs.append([&](QDialog *dialog) {
        if (!activated(dialog)) return int(QDialog::Rejected);
        seen = fieldsOf(dialog);
        QLineEdit *price = child<QLineEdit>(dialog, "Edit3");
        priceHadFocus = QApplication::focusWidget() == price;
        QTest::keyClicks(price, s("47.5")); // the price was selected: typed over
        QTest::keyClick(price, Qt::Key_Tab);
        child<QLineEdit>(dialog, "Edit4")->setText(s("900"));
        QTest::mouseClick(child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
        return dialog->result();
    });
    Desk::select(d.bourse->monthList(), {3});
    d.bourse->Modifier();
    QCOMPARE(d.prompts.said(s("window")), QStringList{s("Modifier ligne")});
    QCOMPARE(seen,
             (QStringList{s("20010302"), s("012000"), s("EXEMPLE SA"), s("46,00"), QString()}));
    QVERIFY(priceHadFocus);
    QStringList expected = sampleStore();
    expected[3] = qline(s("20010302"), s("012000"), s("EXEMPLE SA"), s("47,50"), s("900"));
    QCOMPARE(d.bourse->store(), expected);
    QVERIFY(d.bourse->isModified());
    QCOMPARE(d.bourse->undo(), undo); // a correction takes no undo copy
    QCOMPARE(d.bourse->monthModel()->cell(3, 3), s("47,50"));
    QVERIFY(d.prompts.said(s("error")).isEmpty());
}

void TestModif::modifier_onSecurityView()
{
    Desk d;
    d.bourse->Titres(); // ALPHA
    d.prompts.dialogs.append([&](QDialog *dialog) {
        child<QDateEdit>(dialog, "DateTimePicker1")->setDate(QDate(2001, 3, 5));
        child<QLineEdit>(dialog, "Edit2")->setText(s("ALPHA SA"));
        return int(QDialog::Accepted);
    });
    Desk::select(d.bourse->securityList(), {1});
    d.bourse->Modifier();
    QCOMPARE(d.bourse->store().at(2),
             qline(s("20010305"), s("000001"), s("ALPHA SA"), s("10,50"), s("200")));
    QCOMPARE(d.bourse->securityModel()->cell(1, 0), s("05/03/2001"));
    QCOMPARE(d.bourse->securityModel()->cell(1, 2), s("ALPHA SA"));
}

void TestModif::modifier_needsExactlyOneRow()
{
    Desk d;
    Desk::select(d.bourse->monthList(), {0, 2});
    d.bourse->Modifier();
    d.bourse->showPage(TBourse::PageGraphique); // no list on the chart page
    d.bourse->Modifier();
    QVERIFY(d.prompts.log.isEmpty());
    QCOMPARE(d.bourse->store(), sampleStore());
    QVERIFY(!d.bourse->isModified());
}

void TestModif::modifier_cancelled_changesNothing()
{
    Desk d;
    d.prompts.dialogs.append([&](QDialog *dialog) {
        child<QLineEdit>(dialog, "Edit3")->setText(s("99,00"));
        QTest::mouseClick(child<QPushButton>(dialog, "CancelBtn"), Qt::LeftButton);
        return dialog->result();
    });
    Desk::select(d.bourse->monthList(), {0});
    d.bourse->Modifier();
    QCOMPARE(d.prompts.said(s("window")).size(), 1);
    QCOMPARE(d.bourse->store(), sampleStore());
    QVERIFY(!d.bourse->isModified());
}

void TestModif::modifier_shortCode_findsItsOwnLine()
{
    // A five-character code is not the beginning of a six-character one.
    const QStringList store = {qline(s("20010301"), s("001200"), s("LONG"), s("1,00")),
                               qline(s("20010301"), s("00120"), s("COURT"), s("2,00"))};
    Desk d(store);
    QString name;
    d.prompts.dialogs.append([&](QDialog *dialog) {
        name = child<QLineEdit>(dialog, "Edit2")->text();
        return int(QDialog::Rejected);
    });
    Desk::select(d.bourse->monthList(), {1});
    d.bourse->Modifier();
    QCOMPARE(name, s("COURT"));
}

void TestModif::unreadablePrice_isNeverWritten()
{
    Desk d;
    const QString bad = s("'1,2,3' n'est pas une valeur flottante correcte");
    QStringList errorsAfterLeave, errorsAfterOk, errorsAfterEnter;
    bool openAfterOk = false;
    d.prompts.dialogs.append([&](QDialog *dialog) {
        if (!activated(dialog)) return int(QDialog::Rejected);
        QLineEdit *price = child<QLineEdit>(dialog, "Edit3");
        price->selectAll();
        QTest::keyClicks(price, s("1,2,3"));
        QTest::keyClick(price, Qt::Key_Tab); // leaving the field tells at once
        errorsAfterLeave = d.prompts.said(s("error"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // Enter in Volume
        errorsAfterEnter = d.prompts.said(s("error"));
        QTest::mouseClick(child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
        errorsAfterOk = d.prompts.said(s("error"));
        openAfterOk = dialog->isVisible() && QApplication::focusWidget() == price;
        return int(QDialog::Accepted); // and OK once more
    });
    Desk::select(d.bourse->monthList(), {1});
    d.bourse->Modifier();
    QCOMPARE(errorsAfterLeave, QStringList{bad});
    QCOMPARE(errorsAfterEnter, (QStringList{bad, bad}));
    QCOMPARE(errorsAfterOk, (QStringList{bad, bad, bad})); // one message per click
    QVERIFY(openAfterOk);
    QCOMPARE(d.bourse->store(), sampleStore());
    QVERIFY(!d.bourse->isModified());
}

void TestModif::dialog_resultAndKeys()
{
    const QString line = qline(s("19991231"), s("012000"), s("EXEMPLE SA"), s("45,30"), s("12"));
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
        QCOMPARE(dialog.windowTitle(), s("Modifier ligne"));
        QTest::keyClick(child<QLineEdit>(&dialog, c.field), c.key);
        QString out = s("former");
        dialog.Result(out);
        QCOMPARE(out, c.closes ? line : QString());
        QCOMPARE(dialog.isVisible(), !c.closes && c.key != Qt::Key_Escape);
    }
    // Each field as it stands, the code not normalised, the price reformatted.
    TModif dialog;
    dialog.Init(line);
    child<QLineEdit>(&dialog, "Edit1")->setText(s("120"));
    child<QLineEdit>(&dialog, "Edit3")->setText(s("0,5"));
    child<QLineEdit>(&dialog, "Edit4")->clear();
    dialog.accept();
    QString out;
    dialog.Result(out);
    QCOMPARE(out, qline(s("19991231"), s("120"), s("EXEMPLE SA"), s(",50"), QString()));
}

void TestModif::dialog_filtersCodeAndPrice()
{
    TModif dialog;
    dialog.Init(qline(s("20010301"), s(""), s("X"), s(""), s("")));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QLineEdit *code = child<QLineEdit>(&dialog, "Edit1");
    QLineEdit *price = child<QLineEdit>(&dialog, "Edit3");
    QLineEdit *volume = child<QLineEdit>(&dialog, "Edit4");
    QTest::keyClicks(code, s("12a.34567"));
    QCOMPARE(code->text(), s("123456"));
    QTest::keyClicks(volume, s("1,5x0"));
    QCOMPARE(volume->text(), s("150"));
    price->setFocus();
    QTest::keyClicks(price, s("12.5"));
    QCOMPARE(price->text(), s("12,5"));
    QTest::keyClick(price, Qt::Key_Tab);
    QCOMPARE(price->text(), s("12,50"));
}

void TestModif::dialog_lineWithBadDate_isRefused()
{
    TModif dialog;
    try {
        dialog.Init(qline(s("20010231"), s("000001"), s("ALPHA"), s("1,00")));
        QFAIL("a date that is not a day was taken");
    } catch (const VError &e) {
        QCOMPARE(e.message(), s("'31/02/2001' n'est pas une date correcte"));
    }
    // Through the document: the error box, no window, nothing changed.
    const QStringList store = {qline(s("20010201"), s("000001"), s("ALPHA"), s("1,00")),
                               qline(s("20010231"), s("000001"), s("ALPHA"), s("1,00")),
                               qline(s("20010228"), s("000001"), s("ALPHA"), s("1,00"))};
    Desk d(store);
    Desk::select(d.bourse->monthList(), {1});
    runCommand(d.bourse.get(), [&] { d.bourse->Modifier(); });
    QCOMPARE(d.prompts.log, QStringList{s("error: '31/02/2001' n'est pas une date correcte")});
    QCOMPARE(d.bourse->store(), store);
}

QTEST_MAIN(TestModif)
#include "tst_modif.moc"

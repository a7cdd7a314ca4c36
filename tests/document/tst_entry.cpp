// The entry page: field rules, validation into the grid, correction, the
// Delete key and the transfer to the store when the page is left.
#include "document/TBourse.h"
#include "quotes/QuoteListModel.h"
#include "testkit.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

namespace
{

// Four securities; in name order ALPHA 000001, DELTA 100000, EXEMPLE SA
// 012000, ZETA 120000.
QStringList sampleStore()
{
    return {qline(u("20010301"), u("120000"), u("ZETA"), u("5,00"), u("10")),
            qline(u("20010301"), u("000001"), u("ALPHA"), u("10,00"), u("100")),
            qline(u("20010301"), u("012000"), u("EXEMPLE SA"), u("45,30"), u("1200")),
            qline(u("20010302"), u("100000"), u("DELTA"), u("7,00"), QString())};
}

// The entry page of a document window, on 12 March 2001.
struct Desk : DocumentFixture {
    explicit Desk(const QStringList &store = sampleStore())
        : DocumentFixture(store, QSize(800, 600), QDateTime(QDate(2001, 3, 12), QTime(10, 0)))
    {
        bourse->entry().Saisie();
    }
    QLineEdit *date() const { return edit("MaskEdit1"); }
    QComboBox *code() const { return child<QComboBox>(bourse.get(), "ComboBox4"); }
    QLineEdit *name() const { return edit("Edit2"); }
    QLineEdit *price() const { return edit("Edit3"); }
    QLineEdit *volume() const { return edit("Edit6"); }
    QTableWidget *grid() const { return child<QTableWidget>(bourse.get(), "StringGrid1"); }
    QLineEdit *edit(const char *n) const { return child<QLineEdit>(bourse.get(), n); }

    QString cell(int row, int column) const
    {
        const QTableWidgetItem *item = grid()->item(row, column);
        return item ? item->text() : QString();
    }
    QStringList row(int r) const
    {
        QStringList out;
        for (int c = 0; c < 5; ++c)
            out.append(cell(r, c));
        return out;
    }
    // Back to the code list for a new quotation, its text selected.
    void focusCode() const
    {
        code()->setFocus();
        code()->lineEdit()->selectAll();
    }
    // One quotation with the keyboard alone, from the code list.
    static void quote(const QString &code, const QString &name, const QString &price,
                      const QString &volume = QString())
    {
        typeText(code);
        pressKey(Qt::Key_Tab);
        if (!name.isEmpty()) typeText(name);
        pressKey(Qt::Key_Tab);
        typeText(price);
        if (!volume.isEmpty()) {
            pressKey(Qt::Key_Tab);
            typeText(volume);
        }
        pressKey(Qt::Key_Return);
    }
    // A date, then Tab to the code list.
    static void typeDate(const QString &date)
    {
        typeText(date);
        pressKey(Qt::Key_Tab);
    }
    // ALPHA at 10, EXEMPLE SA at 45 and ZETA at 5 on 12 March 2001, rows 0 to 2.
    static void typeThreeQuotations()
    {
        typeDate(u("12/03/2001"));
        quote(u("000001"), QString(), u("10"));
        quote(u("012000"), QString(), u("45"));
        quote(u("120000"), QString(), u("5"));
    }
    void clickRow(int r) const
    {
        QTableWidget *g = grid();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                          g->visualRect(g->model()->index(r, 0)).center());
    }
};

} // namespace

class TestEntry : public QObject
{
    Q_OBJECT
private slots:
    void page_hasItsFieldsGridAndLabels();
    void keyFilters_data();
    void keyFilters();
    void leaveRules_data();
    void leaveRules();
    void dateLeftBlank_getsToday();
    void codeTyping_fillsNameByPrefix_data();
    void codeTyping_fillsNameByPrefix();
    void keyboardOnly_threeQuotations();
    void correction_rewritesClickedRow();
    void clickBelowFilledRows_staysAppending();
    void deleteKey_removesSelectedRow();
    void deleteKey_keepsRowUnderCorrection();
    void leavingPage_appendsRowsToStore();
    void quotation129_isKept();
    void invalidDate_isRefused_data();
    void invalidDate_isRefused();
    void faultyField_isRefused_data();
    void faultyField_isRefused();
    void secondVisit_typedDateReplacesTheFormer();
    void newSecurity_showsAtOnce();
};

void TestEntry::page_hasItsFieldsGridAndLabels()
{
    Desk d;
    QCOMPARE(d.bourse->page(), int(TBourse::PageSaisie));
    QCOMPARE(d.date()->displayText(), u("  /  /    "));
    QCOMPARE(QApplication::focusWidget(), d.date());
    QCOMPARE(d.grid()->rowCount(), 128);
    QCOMPARE(d.grid()->columnCount(), 6);
    QCOMPARE(d.grid()->rowHeight(5), 22);
    QVERIFY(!(d.grid()->focusPolicy() & Qt::TabFocus));
    // The code list holds the codes in name order.
    QStringList codes;
    for (int i = 0; i < d.code()->count(); ++i)
        codes.append(d.code()->itemText(i));
    QCOMPARE(codes, (QStringList{u("000001"), u("100000"), u("012000"), u("120000")}));
    // Each label is its field's buddy.
    const QList<std::pair<const char *, QWidget *>> buddies = {{"Date", d.date()},
                                                               {"Code", d.code()},
                                                               {"Nom", d.name()},
                                                               {"Cours", d.price()},
                                                               {"Volume", d.volume()}};
    for (const auto &[text, field] : buddies) {
        QLabel *found = nullptr;
        for (QLabel *l : d.bourse->findChildren<QLabel *>())
            if (l->text() == u(text) && l->buddy() == field) found = l;
        QVERIFY2(found, text);
    }
    // Layout of an 800 x 600 window.
    QCOMPARE(d.volume()->x(), 800 - 117);
    QCOMPARE(d.price()->x(), 800 - 210);
    // The code field shows six digits and its button; the name field ends
    // where it did.
    QVERIFY(d.code()->width() >= d.code()->fontMetrics().horizontalAdvance(u("000000")) + 20);
    QCOMPARE(d.name()->x(), d.code()->x() + d.code()->width() + 4);
    QCOMPARE(d.name()->x() + d.name()->width(), 152 + 800 - 367);
    QCOMPARE(d.grid()->height(), 600 - 100);
    QCOMPARE(d.grid()->columnWidth(2), 800 - 378);
}

void TestEntry::keyFilters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("price: point becomes comma") << u("Edit3") << u("12.5") << u("12,5");
    QTest::newRow("price: letters and signs dropped") << u("Edit3") << u("a1-b2 ,3e") << u("12,3");
    QTest::newRow("volume: digits only") << u("Edit6") << u("1.2,3x4") << u("1234");
}

void TestEntry::keyFilters()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Desk d;
    QLineEdit *e = d.bourse->findChild<QLineEdit *>(field);
    e->setFocus();
    QTest::keyClicks(e, typed);
    QCOMPARE(e->text(), shown);
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->text(), shown.chopped(1));
}

void TestEntry::leaveRules_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("left");
    QTest::newRow("code 12000") << u("ComboBox4") << u("12000") << u("012000");
    QTest::newRow("code 1234567") << u("ComboBox4") << u("1234567") << u("234567");
    QTest::newRow("code 120") << u("ComboBox4") << u("120") << u("00120");
    QTest::newRow("price 12.5") << u("Edit3") << u("12.5") << u("12,50");
    QTest::newRow("price 0.5") << u("Edit3") << u("0.5") << u(",50");
    QTest::newRow("price 12") << u("Edit3") << u("12") << u("12,00");
    QTest::newRow("price unreadable") << u("Edit3") << u("1,2,3") << u("1,2,3");
    QTest::newRow("price empty") << u("Edit3") << QString() << QString();
    QTest::newRow("code left empty stays empty") << u("ComboBox4") << QString() << QString();
}

void TestEntry::leaveRules()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, left);
    Desk d;
    QWidget *w = d.bourse->findChild<QWidget *>(field);
    w->setFocus();
    typeText(typed);
    pressKey(Qt::Key_Tab);
    QVERIFY(!w->hasFocus());
    const QString text =
        field == u("ComboBox4") ? d.code()->currentText() : static_cast<QLineEdit *>(w)->text();
    QCOMPARE(text, left);
    QVERIFY(d.prompts.log.isEmpty());
}

void TestEntry::dateLeftBlank_getsToday()
{
    Desk d;
    pressKey(Qt::Key_Tab); // from the date, left blank
    QCOMPARE(d.date()->displayText(), u("12/03/2001"));
    // The name left empty takes the code.
    typeText(u("999999"));
    pressKey(Qt::Key_Tab);
    QCOMPARE(d.name()->text(), QString());
    pressKey(Qt::Key_Tab);
    QCOMPARE(d.name()->text(), u("999999"));
    // A typed date stays.
    d.date()->setFocus();
    d.date()->selectAll();
    Desk::typeDate(u("05/03/2001"));
    QCOMPARE(d.date()->displayText(), u("05/03/2001"));
}

void TestEntry::codeTyping_fillsNameByPrefix_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("names"); // the name after each character
    QTest::newRow("1 then 12") << u("12") << QStringList{u("DELTA"), u("ZETA")};
    QTest::newRow("0 then 01") << u("01") << QStringList{u("ALPHA"), u("EXEMPLE SA")};
    QTest::newRow("no match keeps the name") << u("19") << QStringList{u("DELTA"), u("DELTA")};
}

void TestEntry::codeTyping_fillsNameByPrefix()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, names);
    Desk d;
    d.code()->setFocus();
    for (int i = 0; i < typed.size(); ++i) {
        QTest::keyClicks(d.code(), typed.mid(i, 1));
        QCOMPARE(d.name()->text(), names[i]);
    }
}

void TestEntry::keyboardOnly_threeQuotations()
{
    Desk d;
    Desk::typeDate(u("12/03/2001"));
    // The typed code is normalised on leaving and the name follows it.
    Desk::quote(u("12000"), QString(), u("46.1"), u("500"));
    QCOMPARE(QApplication::focusWidget(), d.code());
    Desk::quote(u("000001"), QString(), u("0.5"));
    Desk::quote(u("555"), u("NOUVEAU"), u("3"));
    QCOMPARE(d.row(0),
             (QStringList{u("12/03/2001"), u("012000"), u("EXEMPLE SA"), u("46,10"), u("500")}));
    QCOMPARE(d.row(1),
             (QStringList{u("12/03/2001"), u("000001"), u("ALPHA"), u(",50"), QString()}));
    QCOMPARE(d.row(2),
             (QStringList{u("12/03/2001"), u("00555"), u("NOUVEAU"), u("3,00"), QString()}));
    QCOMPARE(d.cell(3, 0), QString());
    // The fields are ready for the next one; the date stays.
    QCOMPARE(d.code()->currentText(), QString());
    QCOMPARE(d.name()->text(), QString());
    QCOMPARE(d.price()->text(), QString());
    QCOMPARE(d.date()->displayText(), u("12/03/2001"));
    QCOMPARE(QApplication::focusWidget(), d.code());
    QVERIFY(d.prompts.log.isEmpty());
}

void TestEntry::correction_rewritesClickedRow()
{
    Desk d;
    Desk::typeThreeQuotations();
    d.clickRow(1);
    QCOMPARE(d.code()->currentText(), u("012000"));
    QCOMPARE(d.name()->text(), u("EXEMPLE SA"));
    QCOMPARE(d.price()->text(), u("45,00"));
    d.price()->setFocus();
    d.price()->selectAll();
    typeText(u("47.25"));
    pressKey(Qt::Key_Return);
    Desk::quote(u("100000"), QString(), u("7"));
    QCOMPARE(d.row(1),
             (QStringList{u("12/03/2001"), u("012000"), u("EXEMPLE SA"), u("47,25"), QString()}));
    QCOMPARE(d.row(2).at(1), u("120000"));
    QCOMPARE(d.row(3),
             (QStringList{u("12/03/2001"), u("100000"), u("DELTA"), u("7,00"), QString()}));
    QCOMPARE(d.cell(4, 0), QString());
}

void TestEntry::clickBelowFilledRows_staysAppending()
{
    Desk d;
    Desk::typeDate(u("12/03/2001"));
    Desk::quote(u("000001"), QString(), u("10"));
    typeText(u("012000"));
    d.clickRow(5); // an empty row: the quotation being typed is not wiped
    QCOMPARE(d.code()->currentText(), u("012000"));
    d.price()->setFocus();
    typeText(u("45"));
    pressKey(Qt::Key_Return);
    QCOMPARE(d.row(1).at(1), u("012000"));
    QCOMPARE(d.cell(5, 0), QString());
}

void TestEntry::deleteKey_removesSelectedRow()
{
    Desk d;
    Desk::typeThreeQuotations();
    // Nothing selected: nothing goes.
    d.grid()->setFocus();
    d.grid()->clearSelection();
    QTest::keyClick(d.grid(), Qt::Key_Delete);
    QCOMPARE(d.row(2).at(1), u("120000"));
    // The row clicked goes; the rows below move up.
    d.clickRow(1);
    QTest::keyClick(d.grid(), Qt::Key_Delete);
    QCOMPARE(d.row(0).at(1), u("000001"));
    QCOMPARE(d.row(1).at(1), u("120000"));
    QCOMPARE(d.cell(2, 0), QString());
    // Its fields, taken for correction, go in as a new row.
    d.price()->setFocus();
    pressKey(Qt::Key_Return);
    QCOMPARE(d.row(2).at(1), u("012000"));
    d.focusCode();
    Desk::quote(u("100000"), QString(), u("7"));
    QCOMPARE(d.row(3).at(1), u("100000"));
    QCOMPARE(d.cell(4, 0), QString());
}

void TestEntry::deleteKey_keepsRowUnderCorrection()
{
    Desk d;
    Desk::typeThreeQuotations();
    // Correcting row 2 while row 0 goes: the correction follows its row.
    d.clickRow(2);
    d.grid()->selectRow(0);
    QTest::keyClick(d.grid(), Qt::Key_Delete);
    d.price()->setFocus();
    d.price()->selectAll();
    typeText(u("6"));
    pressKey(Qt::Key_Return);
    QCOMPARE(d.row(0).at(1), u("012000"));
    QCOMPARE(d.row(1).at(1), u("120000"));
    QCOMPARE(d.row(1).at(3), u("6,00"));
    QCOMPARE(d.cell(2, 0), QString());
    // Correcting row 0 while it goes: the fields keep it and it is appended.
    d.clickRow(0);
    QTest::keyClick(d.grid(), Qt::Key_Delete);
    d.price()->setFocus();
    pressKey(Qt::Key_Return);
    QCOMPARE(d.row(0).at(1), u("120000"));
    QCOMPARE(d.row(1).at(1), u("012000"));
    QCOMPARE(d.row(1).at(3), u("45,00"));
}

void TestEntry::leavingPage_appendsRowsToStore()
{
    Desk d;
    const QStringList before = d.bourse->data().store();
    Desk::typeDate(u("13/03/2001"));
    Desk::quote(u("000001"), QString(), u("11"), u("300"));
    Desk::quote(u("012000"), QString(), u("0.5"));
    d.clickRow(1); // a correction left open does not survive the transfer
    QVERIFY(!d.bourse->data().isModified());
    d.bourse->Journal();
    QStringList expected = before;
    expected << qline(u("20010313"), u("000001"), u("ALPHA"), u("11,00"), u("300"))
             << qline(u("20010313"), u("012000"), u("EXEMPLE SA"), u(",50"), QString());
    QCOMPARE(d.bourse->data().store(), expected);
    QVERIFY(d.bourse->data().isModified());
    QCOMPARE(d.bourse->data().undo(), before);
    for (int r = 0; r < 3; ++r)
        QCOMPARE(d.row(r), QStringList(5, QString()));
    QCOMPARE(d.bourse->journal().model()->rowCount(), 6); // March 2001 refilled
    // Back on the page, new quotations start at the top; the undo copy is
    // taken again.
    d.bourse->entry().Saisie();
    QCOMPARE(d.bourse->data().undo(), expected);
    d.focusCode();
    Desk::quote(u("100000"), QString(), u("8"));
    QCOMPARE(d.row(0).at(1), u("100000"));
    d.bourse->Journal();
    QCOMPARE(d.bourse->data().store().size(), expected.size() + 1);
    QCOMPARE(d.bourse->data().store().constLast().left(15), u("20010313\t100000"));
}

void TestEntry::quotation129_isKept()
{
    Desk d;
    d.date()->setText(u("14/03/2001"));
    for (int i = 1; i <= 130; ++i) {
        d.code()->setEditText(QString::number(i).rightJustified(6, QLatin1Char('0')));
        d.name()->setText(u("N") + QString::number(i));
        d.price()->setText(QString::number(i));
        d.bourse->entry().Valide();
    }
    QCOMPARE(d.cell(128, 1), u("000129"));
    QCOMPARE(d.cell(129, 1), u("000130"));
    const qsizetype size = d.bourse->data().store().size();
    d.bourse->Titres();
    const QStringList store = d.bourse->data().store();
    QCOMPARE(store.size(), size + 130);
    QCOMPARE(store.at(size + 128), qline(u("20010314"), u("000129"), u("N129"), u("129,00")));
    QCOMPARE(store.constLast(), qline(u("20010314"), u("000130"), u("N130"), u("130,00")));
    QCOMPARE(d.grid()->rowCount(), 128);
    QCOMPARE(d.cell(0, 0), QString());
}

void TestEntry::invalidDate_isRefused_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("shown");
    QTest::newRow("31 February") << u("31/02/2001") << u("31/02/2001");
    QTest::newRow("month 13") << u("12/13/2001") << u("12/13/2001");
    QTest::newRow("blank") << QString() << u("  /  /    ");
    QTest::newRow("half typed") << u("12/03/20") << u("12/03/20  ");
    QTest::newRow("day half typed") << u("1/03/2001") << u("1 /03/2001");
}

void TestEntry::invalidDate_isRefused()
{
    QFETCH(QString, date);
    QFETCH(QString, shown);
    Desk d;
    d.code()->setFocus();
    d.date()->setText(date);
    QCOMPARE(d.date()->displayText(), shown);
    Desk::quote(u("000001"), QString(), u("10"));
    QCOMPARE(d.prompts.said(u("error")),
             QStringList{u("'") + shown + u("' n'est pas une date correcte")});
    QCOMPARE(d.cell(0, 0), QString());
    QCOMPARE(QApplication::focusWidget(), d.date());
    // The quotation is still in the fields, ready once the date is right.
    QCOMPARE(d.code()->currentText(), u("000001"));
    QCOMPARE(d.price()->text(), u("10,00"));
    d.date()->selectAll();
    typeText(u("12/03/2001"));
    d.price()->setFocus();
    pressKey(Qt::Key_Return);
    QCOMPARE(d.row(0),
             (QStringList{u("12/03/2001"), u("000001"), u("ALPHA"), u("10,00"), QString()}));
    d.bourse->Journal();
    QCOMPARE(d.bourse->data().store().size(), 5);
}

void TestEntry::faultyField_isRefused_data()
{
    QTest::addColumn<QStringList>("fields"); // code, name, price, volume
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("error");
    const QString noStore =
        u("Le texte « %1 » contient ce que le fichier des cotations ne peut pas enregistrer : %2");
    QTest::newRow("price not a number")
        << QStringList{u("000001"), u("ALPHA"), u("1,2,3"), QString()} << u("Edit3")
        << u("'1,2,3' n'est pas une valeur flottante correcte");
    QTest::newRow("price empty") << QStringList{u("000001"), u("ALPHA"), QString(), QString()}
                                 << u("Edit3") << u("'' n'est pas une valeur flottante correcte");
    QTest::newRow("code empty") << QStringList{QString(), u("ALPHA"), u("1"), QString()}
                                << u("ComboBox4") << u("Le code du titre est vide");
    QTest::newRow("name with a tab") << QStringList{u("000009"), u("A\tB"), u("1"), QString()}
                                     << u("Edit2") << noStore.arg(u("A B"), u("tabulation"));
    QTest::newRow("name with a line break and a smiley")
        << QStringList{u("000009"), u("A\nB ☺"), u("1"), QString()} << u("Edit2")
        << noStore.arg(u("A B ☺"), u("saut de ligne, « ☺ »"));
    QTest::newRow("code outside the code page")
        << QStringList{u("00000Ж"), u("X"), u("1"), QString()} << u("ComboBox4")
        << noStore.arg(u("00000Ж"), u("« Ж »"));
    QTest::newRow("volume not a whole number")
        << QStringList{u("000001"), u("ALPHA"), u("1"), u("12a")} << u("Edit6")
        << u("'12a' n'est pas une valeur entière correcte");
}

void TestEntry::faultyField_isRefused()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, focus);
    QFETCH(QString, error);
    Desk d;
    d.date()->setText(u("14/03/2001"));
    d.code()->setEditText(fields[0]);
    d.name()->setText(fields[1]);
    d.price()->setText(fields[2]);
    d.volume()->setText(fields[3]);
    d.price()->setFocus();
    pressKey(Qt::Key_Return);
    QCOMPARE(d.prompts.said(u("error")), QStringList{error});
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(d.cell(0, 0), QString());
    d.bourse->Journal();
    QCOMPARE(d.bourse->data().store(), sampleStore());
    // Signs the file holds are welcome.
    d.bourse->entry().Saisie();
    d.date()->setText(u("14/03/2001"));
    d.code()->setEditText(u("000009"));
    d.name()->setText(u("L’ŒUVRE € É"));
    d.price()->setText(u("1"));
    d.volume()->clear();
    runCommand(d.bourse.get(), [&] { d.bourse->entry().Valide(); });
    QCOMPARE(d.prompts.said(u("error")), QStringList{error});
    QCOMPARE(d.cell(0, 2), u("L’ŒUVRE € É"));
}

void TestEntry::secondVisit_typedDateReplacesTheFormer()
{
    Desk d;
    Desk::typeDate(u("12/03/2001"));
    Desk::quote(u("000001"), QString(), u("10"));
    d.bourse->Journal();
    d.bourse->entry().Saisie();
    QCOMPARE(QApplication::focusWidget(), d.date());
    typeText(u("13/03/2001"));
    QCOMPARE(d.date()->displayText(), u("13/03/2001"));
    // Coming back to the date with Shift+Tab selects it too.
    pressKey(Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), d.date());
    QTRY_COMPARE(d.date()->selectedText(), u("13/03/2001"));
    typeText(u("14/03/2001"));
    QCOMPARE(d.date()->displayText(), u("14/03/2001"));
}

void TestEntry::newSecurity_showsAtOnce()
{
    Desk d;
    Desk::typeDate(u("14/03/2001"));
    Desk::quote(u("777777"), u("NOUVEAU"), u("3"));
    d.bourse->Titres();
    auto *names = child<QComboBox>(d.bourse.get(), "ComboBox2");
    QVERIFY(names->findText(u("NOUVEAU")) >= 0);
    QVERIFY(d.bourse->Trouve(u("777777")));
    d.bourse->data().setCurrentSecurity(names->findText(u("NOUVEAU")));
    d.bourse->titres().LitTitre();
    QCOMPARE(d.bourse->titres().model()->rowCount(), 1);
    // Undone, it goes again.
    d.bourse->maintenance().Annuler();
    QCOMPARE(names->findText(u("NOUVEAU")), -1);
}

QTEST_MAIN(TestEntry)
#include "tst_entry.moc"

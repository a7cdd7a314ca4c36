// The entry page: field rules, validation into the grid, correction, the
// Delete key and the transfer to the store when the page is left.
#include "quotes/TBourse.h"
#include "quotes/quotelistmodel.h"
#include "testkit.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <memory>

namespace
{

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

// Four securities; in name order ALPHA 000001, DELTA 100000, EXEMPLE SA
// 012000, ZETA 120000.
QStringList sampleStore()
{
    return {qline(s("20010301"), s("120000"), s("ZETA"), s("5,00"), s("10")),
            qline(s("20010301"), s("000001"), s("ALPHA"), s("10,00"), s("100")),
            qline(s("20010301"), s("012000"), s("EXEMPLE SA"), s("45,30"), s("1200")),
            qline(s("20010302"), s("100000"), s("DELTA"), s("7,00"), QString())};
}

struct Desk {
    TempStartDir dir;
    ScriptedPrompts prompts;
    ScopedClock clock{QDateTime(QDate(2001, 3, 12), QTime(10, 0))};
    std::unique_ptr<TBourse> bourse;

    explicit Desk(const QStringList &store = sampleStore())
    {
        dir.write(s("Cours.vmq"), store);
        bourse = std::make_unique<TBourse>();
        bourse->resize(800, 600);
        bourse->Init();
        bourse->show();
        if (!QTest::qWaitForWindowActive(bourse.get())) qWarning("window not active");
        bourse->Saisie();
    }
    QLineEdit *date() const { return edit("MaskEdit1"); }
    QComboBox *code() const { return bourse->findChild<QComboBox *>(s("ComboBox4")); }
    QLineEdit *name() const { return edit("Edit2"); }
    QLineEdit *price() const { return edit("Edit3"); }
    QLineEdit *volume() const { return edit("Edit6"); }
    QTableWidget *grid() const { return bourse->findChild<QTableWidget *>(s("StringGrid1")); }
    QLineEdit *edit(const char *n) const { return bourse->findChild<QLineEdit *>(s(n)); }

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
    // Types into whatever has the focus, as the user does.
    static void type(const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    static void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }
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
        type(code);
        key(Qt::Key_Tab);
        if (!name.isEmpty()) type(name);
        key(Qt::Key_Tab);
        type(price);
        if (!volume.isEmpty()) {
            key(Qt::Key_Tab);
            type(volume);
        }
        key(Qt::Key_Return);
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
    void deleteKey_removesFirstRow();
    void deleteKey_keepsRowUnderCorrection();
    void leavingPage_appendsRowsToStore();
    void quotation129_isKept();
    void invalidDate_isRefused_data();
    void invalidDate_isRefused();
};

void TestEntry::page_hasItsFieldsGridAndLabels()
{
    Desk d;
    QCOMPARE(d.bourse->page(), int(TBourse::PageSaisie));
    QCOMPARE(d.date()->displayText(), s("  /  /    "));
    QCOMPARE(QApplication::focusWidget(), d.date());
    QCOMPARE(d.grid()->rowCount(), 128);
    QCOMPARE(d.grid()->columnCount(), 6);
    QCOMPARE(d.grid()->rowHeight(5), 22);
    QVERIFY(!(d.grid()->focusPolicy() & Qt::TabFocus));
    // The code list holds the codes in name order.
    QStringList codes;
    for (int i = 0; i < d.code()->count(); ++i)
        codes.append(d.code()->itemText(i));
    QCOMPARE(codes, (QStringList{s("000001"), s("100000"), s("012000"), s("120000")}));
    // Each label is its field's buddy.
    const QList<std::pair<const char *, QWidget *>> buddies = {{"Date", d.date()},
                                                               {"Code", d.code()},
                                                               {"Nom", d.name()},
                                                               {"Cours", d.price()},
                                                               {"Volume", d.volume()}};
    for (const auto &[text, field] : buddies) {
        QLabel *found = nullptr;
        for (QLabel *l : d.bourse->findChildren<QLabel *>())
            if (l->text() == s(text) && l->buddy() == field) found = l;
        QVERIFY2(found, text);
    }
    // Layout of an 800 x 600 window.
    QCOMPARE(d.volume()->x(), 800 - 117);
    QCOMPARE(d.price()->x(), 800 - 210);
    QCOMPARE(d.name()->width(), 800 - 367);
    QCOMPARE(d.grid()->height(), 600 - 100);
    QCOMPARE(d.grid()->columnWidth(2), 800 - 378);
}

void TestEntry::keyFilters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("price: point becomes comma") << s("Edit3") << s("12.5") << s("12,5");
    QTest::newRow("price: letters and signs dropped") << s("Edit3") << s("a1-b2 ,3e") << s("12,3");
    QTest::newRow("volume: digits only") << s("Edit6") << s("1.2,3x4") << s("1234");
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
    QTest::newRow("code 12000") << s("ComboBox4") << s("12000") << s("012000");
    QTest::newRow("code 1234567") << s("ComboBox4") << s("1234567") << s("234567");
    QTest::newRow("code 120") << s("ComboBox4") << s("120") << s("00120");
    QTest::newRow("price 12.5") << s("Edit3") << s("12.5") << s("12,50");
    QTest::newRow("price 0.5") << s("Edit3") << s("0.5") << s(",50");
    QTest::newRow("price 12") << s("Edit3") << s("12") << s("12,00");
    QTest::newRow("price unreadable") << s("Edit3") << s("1,2,3") << s("1,2,3");
    QTest::newRow("price empty") << s("Edit3") << QString() << QString();
}

void TestEntry::leaveRules()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, left);
    Desk d;
    QWidget *w = d.bourse->findChild<QWidget *>(field);
    w->setFocus();
    Desk::type(typed);
    Desk::key(Qt::Key_Tab);
    QVERIFY(!w->hasFocus());
    const QString text =
        field == s("ComboBox4") ? d.code()->currentText() : static_cast<QLineEdit *>(w)->text();
    QCOMPARE(text, left);
    QVERIFY(d.prompts.log.isEmpty());
}

void TestEntry::dateLeftBlank_getsToday()
{
    Desk d;
    Desk::key(Qt::Key_Tab); // from the date, left blank
    QCOMPARE(d.date()->displayText(), s("12/03/2001"));
    // The name left empty takes the code.
    Desk::type(s("999999"));
    Desk::key(Qt::Key_Tab);
    QCOMPARE(d.name()->text(), QString());
    Desk::key(Qt::Key_Tab);
    QCOMPARE(d.name()->text(), s("999999"));
    // A typed date stays.
    d.date()->setFocus();
    d.date()->selectAll();
    Desk::type(s("05/03/2001"));
    Desk::key(Qt::Key_Tab);
    QCOMPARE(d.date()->displayText(), s("05/03/2001"));
}

void TestEntry::codeTyping_fillsNameByPrefix_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("names"); // the name after each character
    QTest::newRow("1 then 12") << s("12") << QStringList{s("DELTA"), s("ZETA")};
    QTest::newRow("0 then 01") << s("01") << QStringList{s("ALPHA"), s("EXEMPLE SA")};
    QTest::newRow("no match keeps the name") << s("19") << QStringList{s("DELTA"), s("DELTA")};
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
    Desk::type(s("12/03/2001"));
    Desk::key(Qt::Key_Tab);
    // The typed code is normalised on leaving and the name follows it.
    Desk::quote(s("12000"), QString(), s("46.1"), s("500"));
    QCOMPARE(QApplication::focusWidget(), d.code());
    Desk::quote(s("000001"), QString(), s("0.5"));
    Desk::quote(s("555"), s("NOUVEAU"), s("3"));
    QCOMPARE(d.row(0),
             (QStringList{s("12/03/2001"), s("012000"), s("EXEMPLE SA"), s("46,10"), s("500")}));
    QCOMPARE(d.row(1),
             (QStringList{s("12/03/2001"), s("000001"), s("ALPHA"), s(",50"), QString()}));
    QCOMPARE(d.row(2),
             (QStringList{s("12/03/2001"), s("00555"), s("NOUVEAU"), s("3,00"), QString()}));
    QCOMPARE(d.cell(3, 0), QString());
    // The fields are ready for the next one; the date stays.
    QCOMPARE(d.code()->currentText(), QString());
    QCOMPARE(d.name()->text(), QString());
    QCOMPARE(d.price()->text(), QString());
    QCOMPARE(d.date()->displayText(), s("12/03/2001"));
    QCOMPARE(QApplication::focusWidget(), d.code());
    QVERIFY(d.prompts.log.isEmpty());
}

void TestEntry::correction_rewritesClickedRow()
{
    Desk d;
    Desk::type(s("12/03/2001"));
    Desk::key(Qt::Key_Tab);
    Desk::quote(s("000001"), QString(), s("10"));
    Desk::quote(s("012000"), QString(), s("45"));
    Desk::quote(s("120000"), QString(), s("5"));
    d.clickRow(1);
    QCOMPARE(d.code()->currentText(), s("012000"));
    QCOMPARE(d.name()->text(), s("EXEMPLE SA"));
    QCOMPARE(d.price()->text(), s("45,00"));
    d.price()->setFocus();
    d.price()->selectAll();
    Desk::type(s("47.25"));
    Desk::key(Qt::Key_Return);
    Desk::quote(s("100000"), QString(), s("7"));
    QCOMPARE(d.row(1),
             (QStringList{s("12/03/2001"), s("012000"), s("EXEMPLE SA"), s("47,25"), QString()}));
    QCOMPARE(d.row(2).at(1), s("120000"));
    QCOMPARE(d.row(3),
             (QStringList{s("12/03/2001"), s("100000"), s("DELTA"), s("7,00"), QString()}));
    QCOMPARE(d.cell(4, 0), QString());
}

void TestEntry::clickBelowFilledRows_staysAppending()
{
    Desk d;
    Desk::type(s("12/03/2001"));
    Desk::key(Qt::Key_Tab);
    Desk::quote(s("000001"), QString(), s("10"));
    Desk::type(s("012000"));
    d.clickRow(5); // an empty row: the quotation being typed is not wiped
    QCOMPARE(d.code()->currentText(), s("012000"));
    d.price()->setFocus();
    Desk::type(s("45"));
    Desk::key(Qt::Key_Return);
    QCOMPARE(d.row(1).at(1), s("012000"));
    QCOMPARE(d.cell(5, 0), QString());
}

void TestEntry::deleteKey_removesFirstRow()
{
    Desk d;
    Desk::type(s("12/03/2001"));
    Desk::key(Qt::Key_Tab);
    Desk::quote(s("000001"), QString(), s("10"));
    Desk::quote(s("012000"), QString(), s("45"));
    Desk::quote(s("120000"), QString(), s("5"));
    d.grid()->setFocus();
    QTest::keyClick(d.grid(), Qt::Key_Delete);
    QCOMPARE(d.row(0).at(1), s("012000"));
    QCOMPARE(d.row(1).at(1), s("120000"));
    QCOMPARE(d.cell(2, 0), QString());
    d.focusCode();
    Desk::quote(s("100000"), QString(), s("7"));
    QCOMPARE(d.row(2).at(1), s("100000"));
    QCOMPARE(d.cell(3, 0), QString());
}

void TestEntry::deleteKey_keepsRowUnderCorrection()
{
    Desk d;
    Desk::type(s("12/03/2001"));
    Desk::key(Qt::Key_Tab);
    Desk::quote(s("000001"), QString(), s("10"));
    Desk::quote(s("012000"), QString(), s("45"));
    Desk::quote(s("120000"), QString(), s("5"));
    // Correcting row 2 while row 0 goes: the correction follows its row.
    d.clickRow(2);
    QTest::keyClick(d.grid(), Qt::Key_Delete);
    d.price()->setFocus();
    d.price()->selectAll();
    Desk::type(s("6"));
    Desk::key(Qt::Key_Return);
    QCOMPARE(d.row(0).at(1), s("012000"));
    QCOMPARE(d.row(1).at(1), s("120000"));
    QCOMPARE(d.row(1).at(3), s("6,00"));
    QCOMPARE(d.cell(2, 0), QString());
    // Correcting row 0 while it goes: the fields keep it and it is appended.
    d.clickRow(0);
    QTest::keyClick(d.grid(), Qt::Key_Delete);
    d.price()->setFocus();
    Desk::key(Qt::Key_Return);
    QCOMPARE(d.row(0).at(1), s("120000"));
    QCOMPARE(d.row(1).at(1), s("012000"));
    QCOMPARE(d.row(1).at(3), s("45,00"));
}

void TestEntry::leavingPage_appendsRowsToStore()
{
    Desk d;
    const QStringList before = d.bourse->store();
    Desk::type(s("13/03/2001"));
    Desk::key(Qt::Key_Tab);
    Desk::quote(s("000001"), QString(), s("11"), s("300"));
    Desk::quote(s("012000"), QString(), s("0.5"));
    d.clickRow(1); // a correction left open does not survive the transfer
    QVERIFY(!d.bourse->isModified());
    d.bourse->Journal();
    QStringList expected = before;
    expected << qline(s("20010313"), s("000001"), s("ALPHA"), s("11,00"), s("300"))
             << qline(s("20010313"), s("012000"), s("EXEMPLE SA"), s(",50"), QString());
    QCOMPARE(d.bourse->store(), expected);
    QVERIFY(d.bourse->isModified());
    QCOMPARE(d.bourse->undo(), before);
    for (int r = 0; r < 3; ++r)
        QCOMPARE(d.row(r), QStringList(5, QString()));
    QCOMPARE(d.bourse->monthModel()->rowCount(), 6); // March 2001 refilled
    // Back on the page, new quotations start at the top; the undo copy is
    // taken again.
    d.bourse->Saisie();
    QCOMPARE(d.bourse->undo(), expected);
    d.focusCode();
    Desk::quote(s("100000"), QString(), s("8"));
    QCOMPARE(d.row(0).at(1), s("100000"));
    d.bourse->Journal();
    QCOMPARE(d.bourse->store().size(), expected.size() + 1);
    QCOMPARE(d.bourse->store().constLast().left(15), s("20010313\t100000"));
}

void TestEntry::quotation129_isKept()
{
    Desk d;
    d.date()->setText(s("14/03/2001"));
    for (int i = 1; i <= 130; ++i) {
        d.code()->setEditText(QString::number(i).rightJustified(6, QLatin1Char('0')));
        d.name()->setText(s("N") + QString::number(i));
        d.price()->setText(QString::number(i));
        d.bourse->Valide();
    }
    QCOMPARE(d.cell(128, 1), s("000129"));
    QCOMPARE(d.cell(129, 1), s("000130"));
    const qsizetype size = d.bourse->store().size();
    d.bourse->Titres();
    const QStringList store = d.bourse->store();
    QCOMPARE(store.size(), size + 130);
    QCOMPARE(store.at(size + 128), qline(s("20010314"), s("000129"), s("N129"), s("129,00")));
    QCOMPARE(store.constLast(), qline(s("20010314"), s("000130"), s("N130"), s("130,00")));
    QCOMPARE(d.grid()->rowCount(), 128);
    QCOMPARE(d.cell(0, 0), QString());
}

void TestEntry::invalidDate_isRefused_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("shown");
    QTest::newRow("31 February") << s("31/02/2001") << s("31/02/2001");
    QTest::newRow("month 13") << s("12/13/2001") << s("12/13/2001");
    QTest::newRow("blank") << QString() << s("  /  /    ");
    QTest::newRow("half typed") << s("12/03/20") << s("12/03/20  ");
    QTest::newRow("day half typed") << s("1/03/2001") << s("1 /03/2001");
}

void TestEntry::invalidDate_isRefused()
{
    QFETCH(QString, date);
    QFETCH(QString, shown);
    Desk d;
    d.code()->setFocus();
    d.date()->setText(date);
    QCOMPARE(d.date()->displayText(), shown);
    Desk::quote(s("000001"), QString(), s("10"));
    QCOMPARE(d.prompts.said(s("error")),
             QStringList{s("'") + shown + s("' n'est pas une date correcte")});
    QCOMPARE(d.cell(0, 0), QString());
    QCOMPARE(QApplication::focusWidget(), d.date());
    // The quotation is still in the fields, ready once the date is right.
    QCOMPARE(d.code()->currentText(), s("000001"));
    QCOMPARE(d.price()->text(), s("10,00"));
    d.date()->selectAll();
    Desk::type(s("12/03/2001"));
    d.price()->setFocus();
    Desk::key(Qt::Key_Return);
    QCOMPARE(d.row(0),
             (QStringList{s("12/03/2001"), s("000001"), s("ALPHA"), s("10,00"), QString()}));
    d.bourse->Journal();
    QCOMPARE(d.bourse->store().size(), 5);
}

QTEST_MAIN(TestEntry)
#include "tst_entry.moc"

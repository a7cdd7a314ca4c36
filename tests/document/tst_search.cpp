// Value search in the monthly view, and the entry page's copy and paste.
#include "document/TBourse.h"
#include "testkit.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

namespace
{

// The monthly view shows March 2001, rows 0 to 5; ALPINE is only in February.
QStringList sampleStore()
{
    return {qline(u("20010215"), u("000002"), u("ALPINE"), u("3,00")),
            qline(u("20010301"), u("012000"), u("EXEMPLE SA"), u("45,30")),
            qline(u("20010301"), u("000001"), u("ALPHA"), u("10,00")),
            qline(u("20010302"), u("120000"), u("ZETA"), u("5,00")),
            qline(u("20010302"), u("000001"), u("ALPHA"), u("10,50")),
            qline(u("20010305"), u("012000"), u("EXEMPLE SA"), u("46,00")),
            qline(u("20010305"), u("000001"), u("ALPHA"), u("11,00"))};
}

// A document window on 12 March 2001.
struct Desk : DocumentFixture {
    explicit Desk(const QStringList &store = sampleStore(), QSize size = QSize(800, 600))
        : DocumentFixture(store, size, QDateTime(QDate(2001, 3, 12), QTime(10, 0)))
    {
    }
    QList<int> selected() const
    {
        QList<int> rows;
        for (const QModelIndex &i : bourse->journal().list()->selectionModel()->selectedRows())
            rows.append(i.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    void search(const QString &typed)
    {
        prompts.inputs.append(typed);
        bourse->journal().Rechercher();
    }
    QStringList entryFields() const
    {
        auto edit = [this](const char *n) { return child<QLineEdit>(bourse.get(), n); };
        return {edit("MaskEdit1")->displayText(),
                child<QComboBox>(bourse.get(), "ComboBox4")->currentText(), edit("Edit2")->text(),
                edit("Edit3")->text(), edit("Edit6")->text()};
    }
};

const QString notFound = u(" non trouvée");

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT
private slots:
    void search_data();
    void search();
    void continuer_walksTheFindsOfTheCode();
    void search_keepsOtherSelectedRows();
    void search_onlyOnMonthlyView_andCancel();
    void search_bringsFoundRowIntoView();
    void copyValidatePaste_givesFieldsBack();
    void copyPaste_onlyOnEntryPage();
};

void TestSearch::search_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("message");
    QTest::newRow("name start alp: ALPHA before ALPINE") << u("alp") << QList<int>{1} << QString();
    QTest::newRow("name start in any case") << u("zEt") << QList<int>{2} << QString();
    QTest::newRow("code 12000 is 012000") << u("12000") << QList<int>{0} << QString();
    QTest::newRow("whole code") << u("000001") << QList<int>{1} << QString();
    QTest::newRow("security of another month")
        << u("alpi") << QList<int>{} << u("Valeur 000002") + notFound;
    QTest::newRow("no such name") << u("xyz") << QList<int>{} << u("Valeur XYZ") + notFound;
    QTest::newRow("short code") << u("1") << QList<int>{} << u("Valeur 001") + notFound;
}

void TestSearch::search()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, rows);
    QFETCH(QString, message);
    Desk d;
    d.search(typed);
    QCOMPARE(d.prompts.said(u("input")),
             QStringList{u("Rechercher une valeur|Taper le code ou le libellé")});
    QCOMPARE(d.selected(), rows);
    QCOMPARE(d.prompts.said(u("information")),
             message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(QApplication::focusWidget(), d.bourse->journal().list());
}

void TestSearch::continuer_walksTheFindsOfTheCode()
{
    Desk d;
    d.search(u("alp"));
    QCOMPARE(d.selected(), QList<int>{1});
    d.bourse->journal().continuer();
    QCOMPARE(d.selected(), QList<int>{3});
    d.bourse->journal().continuer();
    QCOMPARE(d.selected(), QList<int>{5});
    QVERIFY(d.prompts.said(u("information")).isEmpty());
    d.bourse->journal().continuer();
    QCOMPARE(d.selected(), QList<int>{});
    QCOMPARE(d.prompts.said(u("information")), QStringList{u("Valeur 000001") + notFound});
    // A new search starts again from the top.
    d.search(u("exe"));
    QCOMPARE(d.selected(), QList<int>{0});
    d.bourse->journal().continuer();
    QCOMPARE(d.selected(), QList<int>{4});
}

void TestSearch::search_keepsOtherSelectedRows()
{
    Desk d;
    QTableView *list = d.bourse->journal().list();
    list->setFocus(); // the user selects in the list
    selectRows(list, {3});
    d.search(u("zeta"));
    QCOMPARE(d.selected(), (QList<int>{2, 3}));
    // continuer unselects only its own find.
    d.bourse->journal().continuer();
    QCOMPARE(d.selected(), QList<int>{3});
}

void TestSearch::search_onlyOnMonthlyView_andCancel()
{
    Desk d;
    d.bourse->Titres();
    d.bourse->journal().Rechercher();
    QVERIFY(d.prompts.log.isEmpty());
    d.bourse->Journal();
    d.prompts.inputs.append(std::nullopt); // Cancel
    d.bourse->journal().Rechercher();
    d.search(QString()); // OK on an empty text
    QCOMPARE(d.prompts.said(u("input")).size(), 2);
    QVERIFY(d.prompts.said(u("information")).isEmpty());
    QCOMPARE(d.selected(), QList<int>{});
}

void TestSearch::search_bringsFoundRowIntoView()
{
    QStringList store;
    for (int i = 0; i < 80; ++i)
        store.append(qline(u("20010301"), u("000009"), u("AUTRE"), u("1,00")));
    store.append(qline(u("20010302"), u("000001"), u("ALPHA"), u("10,00")));
    Desk d(store, QSize(800, 300));
    QTableView *list = d.bourse->journal().list();
    QCOMPARE(list->verticalScrollBar()->value(), 0);
    d.search(u("alpha"));
    QCOMPARE(d.selected(), QList<int>{80});
    const QRect row = list->visualRect(list->model()->index(80, 0));
    QVERIFY(list->viewport()->rect().contains(row));
    // Not found: back to the top.
    d.bourse->journal().continuer();
    QCOMPARE(d.prompts.said(u("information")), QStringList{u("Valeur 000001") + notFound});
    QCOMPARE(list->verticalScrollBar()->value(), 0);
}

void TestSearch::copyValidatePaste_givesFieldsBack()
{
    Desk d;
    d.bourse->entry().Saisie();
    typeText(u("13/03/2001"));
    pressKey(Qt::Key_Tab);
    typeText(u("12000"));
    pressKey(Qt::Key_Tab);
    pressKey(Qt::Key_Tab);
    typeText(u("45.3"));
    pressKey(Qt::Key_Tab);
    typeText(u("1200"));
    const QStringList typed = {u("13/03/2001"), u("012000"), u("EXEMPLE SA"), u("45,30"),
                               u("1200")};
    QCOMPARE(d.entryFields(), typed);
    d.bourse->entry().Copier();
    QCOMPARE(d.bourse->data().entryBuffer(), typed);
    pressKey(Qt::Key_Return); // Valide
    QCOMPARE(d.entryFields(),
             (QStringList{u("13/03/2001"), QString(), QString(), QString(), QString()}));
    // The date changes before pasting: the copy brings it back too.
    QLineEdit *date = child<QLineEdit>(d.bourse.get(), "MaskEdit1");
    date->setText(u("20/03/2001"));
    d.bourse->entry().Coller();
    QCOMPARE(d.entryFields(), typed);
    QVERIFY(d.prompts.log.isEmpty());
}

void TestSearch::copyPaste_onlyOnEntryPage()
{
    Desk d;
    d.bourse->entry().Saisie();
    d.bourse->entry().Coller(); // nothing copied yet
    const QStringList blank = {u("  /  /    "), QString(), QString(), QString(), QString()};
    QCOMPARE(d.entryFields(), blank);
    child<QLineEdit>(d.bourse.get(), "Edit2")->setText(u("NOM"));
    d.bourse->entry().Copier();
    const QStringList copied = d.bourse->data().entryBuffer();
    QCOMPARE(copied, (QStringList{u("  /  /    "), QString(), u("NOM"), QString(), QString()}));
    child<QLineEdit>(d.bourse.get(), "Edit2")->setText(u("AUTRE"));
    d.bourse->Journal();
    d.bourse->entry().Copier();
    d.bourse->entry().Coller();
    QCOMPARE(d.bourse->data().entryBuffer(), copied);
    QCOMPARE(child<QLineEdit>(d.bourse.get(), "Edit2")->text(), u("AUTRE"));
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"

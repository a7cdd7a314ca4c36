// Value search in the monthly view, and the entry page's copy and paste.
#include "quotes/TBourse.h"
#include "testkit.h"

#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <memory>

namespace
{

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

// The monthly view shows March 2001, rows 0 to 5; ALPINE is only in February.
QStringList sampleStore()
{
    return {qline(s("20010215"), s("000002"), s("ALPINE"), s("3,00")),
            qline(s("20010301"), s("012000"), s("EXEMPLE SA"), s("45,30")),
            qline(s("20010301"), s("000001"), s("ALPHA"), s("10,00")),
            qline(s("20010302"), s("120000"), s("ZETA"), s("5,00")),
            qline(s("20010302"), s("000001"), s("ALPHA"), s("10,50")),
            qline(s("20010305"), s("012000"), s("EXEMPLE SA"), s("46,00")),
            qline(s("20010305"), s("000001"), s("ALPHA"), s("11,00"))};
}

struct Desk {
    TempStartDir dir;
    ScriptedPrompts prompts;
    ScopedClock clock{QDateTime(QDate(2001, 3, 12), QTime(10, 0))};
    std::unique_ptr<TBourse> bourse;

    explicit Desk(const QStringList &store = sampleStore(), QSize size = QSize(800, 600))
    {
        dir.write(s("Cours.vmq"), store);
        bourse = std::make_unique<TBourse>();
        bourse->resize(size);
        bourse->Init();
        bourse->show();
        if (!QTest::qWaitForWindowActive(bourse.get())) qWarning("window not active");
    }
    QList<int> selected() const
    {
        QList<int> rows;
        for (const QModelIndex &i : bourse->monthList()->selectionModel()->selectedRows())
            rows.append(i.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    void search(const QString &typed)
    {
        prompts.inputs.append(typed);
        bourse->Rechercher();
    }
    QStringList entryFields() const
    {
        auto edit = [this](const char *n) { return bourse->findChild<QLineEdit *>(s(n)); };
        return {edit("MaskEdit1")->displayText(),
                bourse->findChild<QComboBox *>(s("ComboBox4"))->currentText(),
                edit("Edit2")->text(), edit("Edit3")->text(), edit("Edit6")->text()};
    }
};

const QString notFound = s(" non trouvée");

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
    QTest::newRow("name start alp: ALPHA before ALPINE") << s("alp") << QList<int>{1} << QString();
    QTest::newRow("name start in any case") << s("zEt") << QList<int>{2} << QString();
    QTest::newRow("code 12000 is 012000") << s("12000") << QList<int>{0} << QString();
    QTest::newRow("whole code") << s("000001") << QList<int>{1} << QString();
    QTest::newRow("security of another month")
        << s("alpi") << QList<int>{} << s("Valeur 000002") + notFound;
    QTest::newRow("no such name") << s("xyz") << QList<int>{} << s("Valeur XYZ") + notFound;
    QTest::newRow("short code") << s("1") << QList<int>{} << s("Valeur 001") + notFound;
}

void TestSearch::search()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, rows);
    QFETCH(QString, message);
    Desk d;
    d.search(typed);
    QCOMPARE(d.prompts.said(s("input")),
             QStringList{s("Rechercher une valeur|Taper le code ou le libellé")});
    QCOMPARE(d.selected(), rows);
    QCOMPARE(d.prompts.said(s("information")),
             message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(QApplication::focusWidget(), d.bourse->monthList());
}

void TestSearch::continuer_walksTheFindsOfTheCode()
{
    Desk d;
    d.search(s("alp"));
    QCOMPARE(d.selected(), QList<int>{1});
    d.bourse->continuer();
    QCOMPARE(d.selected(), QList<int>{3});
    d.bourse->continuer();
    QCOMPARE(d.selected(), QList<int>{5});
    QVERIFY(d.prompts.said(s("information")).isEmpty());
    d.bourse->continuer();
    QCOMPARE(d.selected(), QList<int>{});
    QCOMPARE(d.prompts.said(s("information")), QStringList{s("Valeur 000001") + notFound});
    // A new search starts again from the top.
    d.search(s("exe"));
    QCOMPARE(d.selected(), QList<int>{0});
    d.bourse->continuer();
    QCOMPARE(d.selected(), QList<int>{4});
}

void TestSearch::search_keepsOtherSelectedRows()
{
    Desk d;
    QTableView *list = d.bourse->monthList();
    list->setFocus(); // the user selects in the list
    list->selectionModel()->select(list->model()->index(3, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    d.search(s("zeta"));
    QCOMPARE(d.selected(), (QList<int>{2, 3}));
    // continuer unselects only its own find.
    d.bourse->continuer();
    QCOMPARE(d.selected(), QList<int>{3});
}

void TestSearch::search_onlyOnMonthlyView_andCancel()
{
    Desk d;
    d.bourse->Titres();
    d.bourse->Rechercher();
    QVERIFY(d.prompts.log.isEmpty());
    d.bourse->Journal();
    d.prompts.inputs.append(std::nullopt); // Cancel
    d.bourse->Rechercher();
    d.search(QString()); // OK on an empty text
    QCOMPARE(d.prompts.said(s("input")).size(), 2);
    QVERIFY(d.prompts.said(s("information")).isEmpty());
    QCOMPARE(d.selected(), QList<int>{});
}

void TestSearch::search_bringsFoundRowIntoView()
{
    QStringList store;
    for (int i = 0; i < 80; ++i)
        store.append(qline(s("20010301"), s("000009"), s("AUTRE"), s("1,00")));
    store.append(qline(s("20010302"), s("000001"), s("ALPHA"), s("10,00")));
    Desk d(store, QSize(800, 300));
    QTableView *list = d.bourse->monthList();
    QCOMPARE(list->verticalScrollBar()->value(), 0);
    d.search(s("alpha"));
    QCOMPARE(d.selected(), QList<int>{80});
    const QRect row = list->visualRect(list->model()->index(80, 0));
    QVERIFY(list->viewport()->rect().contains(row));
    // Not found: back to the top.
    d.bourse->continuer();
    QCOMPARE(d.prompts.said(s("information")), QStringList{s("Valeur 000001") + notFound});
    QCOMPARE(list->verticalScrollBar()->value(), 0);
}

void TestSearch::copyValidatePaste_givesFieldsBack()
{
    Desk d;
    d.bourse->Saisie();
    QTest::keyClicks(QApplication::focusWidget(), s("13/03/2001"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), s("12000"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), s("45.3"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), s("1200"));
    const QStringList typed = {s("13/03/2001"), s("012000"), s("EXEMPLE SA"), s("45,30"),
                               s("1200")};
    QCOMPARE(d.entryFields(), typed);
    d.bourse->Copier();
    QCOMPARE(d.bourse->entryBuffer(), typed);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // Valide
    QCOMPARE(d.entryFields(),
             (QStringList{s("13/03/2001"), QString(), QString(), QString(), QString()}));
    // The date changes before pasting: the copy brings it back too.
    QLineEdit *date = d.bourse->findChild<QLineEdit *>(s("MaskEdit1"));
    date->setText(s("20/03/2001"));
    d.bourse->Coller();
    QCOMPARE(d.entryFields(), typed);
    QVERIFY(d.prompts.log.isEmpty());
}

void TestSearch::copyPaste_onlyOnEntryPage()
{
    Desk d;
    d.bourse->Saisie();
    d.bourse->Coller(); // nothing copied yet
    const QStringList blank = {s("  /  /    "), QString(), QString(), QString(), QString()};
    QCOMPARE(d.entryFields(), blank);
    d.bourse->findChild<QLineEdit *>(s("Edit2"))->setText(s("NOM"));
    d.bourse->Copier();
    const QStringList copied = d.bourse->entryBuffer();
    QCOMPARE(copied, (QStringList{s("  /  /    "), QString(), s("NOM"), QString(), QString()}));
    d.bourse->findChild<QLineEdit *>(s("Edit2"))->setText(s("AUTRE"));
    d.bourse->Journal();
    d.bourse->Copier();
    d.bourse->Coller();
    QCOMPARE(d.bourse->entryBuffer(), copied);
    QCOMPARE(d.bourse->findChild<QLineEdit *>(s("Edit2"))->text(), s("AUTRE"));
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"

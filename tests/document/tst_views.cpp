// The monthly view, the security view and the navigation between them.
#include "document/TBourse.h"
#include "quotes/QuoteListModel.h"
#include "testkit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>

namespace
{

QString l(const char *date, const char *code, const char *name, const char *price = "1,00")
{
    return ql(date, code, name, price, "100");
}

QStringList shownDates(const QuoteListModel *m)
{
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r)
        out.append(m->cell(r, 0));
    return out;
}

// The smallest rectangle of `cell` (its grid line left out) holding pixels
// other than the cell's background, read at its top left corner.
QRect ink(const QImage &image, const QRect &cell)
{
    const QRect inside = cell.adjusted(0, 0, -1, -1);
    const QRgb background = image.pixel(inside.topLeft());
    QRect box;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    return box;
}

bool near(const QRect &a, const QRect &b, int slack)
{
    return a.isNull() == b.isNull() && qAbs(a.left() - b.left()) <= slack &&
           qAbs(a.right() - b.right()) <= slack && qAbs(a.top() - b.top()) <= slack &&
           qAbs(a.bottom() - b.bottom()) <= slack;
}

QStringList items(const QComboBox *c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out.append(c->itemText(i));
    return out;
}

} // namespace

class TestViews : public QObject
{
    Q_OBJECT

    std::optional<DocumentFixture> doc;
    TBourse *b = nullptr;
    QComboBox *months = nullptr;

    void load(const QStringList &lines)
    {
        doc.emplace(lines, QSize(900, 600));
        b = doc->bourse.get();
        months = child<QComboBox>(b, "ComboBox1");
    }

private slots:
    void cleanup() { doc.reset(); }

    void monthlyView_showsLastMonthInFileOrder()
    {
        load({l("19990115", "000001", "ALPHA"), l("19990210", "000001", "ALPHA"),
              l("19990305", "000002", "BÊTA", "12,50"), l("19990301", "000001", "ALPHA", ",50"),
              l("19990310", "000001", "ALPHA")});
        QCOMPARE(items(months),
                 (QStringList{QStringLiteral("Janvier 1999"), QStringLiteral("Février 1999"),
                              QStringLiteral("Mars 1999")}));
        QCOMPARE(months->currentText(), QStringLiteral("Mars 1999"));
        QCOMPARE(b->data().currentMonth(), QDate(1999, 3, 10));
        const QuoteListModel *m = b->journal().model();
        QCOMPARE(shownDates(m),
                 (QStringList{QStringLiteral("05/03/1999"), QStringLiteral("01/03/1999"),
                              QStringLiteral("10/03/1999")}));
        QCOMPARE(m->cell(0, 1), QStringLiteral("000002"));
        QCOMPARE(m->cell(0, 2), QStringLiteral("BÊTA"));
        QCOMPARE(m->cell(0, 3), QStringLiteral("12,50"));
        QCOMPARE(m->cell(1, 3), QStringLiteral(",50"));
        QCOMPARE(m->cell(0, 4), QStringLiteral("100"));
        QCOMPARE(m->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Cours"));
        QVERIFY(m->data(m->index(0, 3), Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        auto *view = b->findChild<QTableView *>(QStringLiteral("ListView1"));
        QCOMPARE(view->columnWidth(2), b->width() - 450);
        b->resize(1000, 600);
        QCOMPARE(view->columnWidth(2), 550);
    }

    void navigationOverMonths()
    {
        load({l("19990115", "000001", "A"), l("19990310", "000001", "A")});
        b->Suivant(); // at the last date already
        QCOMPARE(b->data().currentMonth(), QDate(1999, 3, 10));
        b->Premier();
        QCOMPARE(b->data().currentMonth(), QDate(1999, 1, 15));
        QCOMPARE(months->currentText(), QStringLiteral("Janvier 1999"));
        b->Precedent(); // at the first date
        QCOMPARE(b->data().currentMonth(), QDate(1999, 1, 15));
        b->Suivant();
        QCOMPARE(b->data().currentMonth(), QDate(1999, 2, 1));
        QCOMPARE(b->journal().model()->rowCount(), 0);
        b->Suivant();
        QCOMPARE(b->data().currentMonth(), QDate(1999, 3, 1));
        QCOMPARE(b->journal().model()->rowCount(), 1);
        b->Suivant(); // the 1st of March is before the 10th: one more month, empty
        QCOMPARE(b->data().currentMonth(), QDate(1999, 4, 1));
        QCOMPARE(b->journal().model()->rowCount(), 0);
        QCOMPARE(months->currentText(), QStringLiteral("Avril 1999"));
        b->Suivant();
        QCOMPARE(b->data().currentMonth(), QDate(1999, 4, 1));
        b->Dernier();
        QCOMPARE(b->data().currentMonth(), QDate(1999, 3, 10));
    }

    void precedentFromTheLastDate_stepsOverTheYear()
    {
        load({l("19990105", "000001", "A"), l("19990120", "000001", "A")});
        b->Precedent();
        QCOMPARE(b->data().currentMonth(), QDate(1998, 12, 1));
        QCOMPARE(b->journal().model()->rowCount(), 0);
        QCOMPARE(months->currentText(), QStringLiteral("Décembre 1998"));
        b->Precedent(); // the 1st of December is before the first date
        QCOMPARE(b->data().currentMonth(), QDate(1998, 12, 1));
    }

    void monthList_pickAndType()
    {
        load({l("19990115", "000001", "A"), l("19990210", "000001", "A"),
              l("19990310", "000001", "A")});
        months->setCurrentIndex(1);
        emit months->activated(1);
        QCOMPARE(b->data().currentMonth(), QDate(1999, 2, 1));
        QCOMPARE(shownDates(b->journal().model()), QStringList{QStringLiteral("10/02/1999")});

        months->lineEdit()->selectAll();
        QTest::keyClicks(months->lineEdit(), QStringLiteral("Janvier 1999"));
        QTest::keyClick(months->lineEdit(), Qt::Key_Return);
        QCOMPARE(b->data().currentMonth(), QDate(1999, 1, 1));
        QCOMPARE(shownDates(b->journal().model()), QStringList{QStringLiteral("15/01/1999")});
        QVERIFY(doc->prompts.said(QStringLiteral("error")).isEmpty());

        months->lineEdit()->selectAll();
        QTest::keyClicks(months->lineEdit(), QStringLiteral("Mars deux"));
        QTest::keyClick(months->lineEdit(), Qt::Key_Return);
        QCOMPARE(b->data().currentMonth(), QDate(1999, 1, 1));
        QCOMPARE(b->journal().model()->rowCount(), 1);
        QVERIFY(!doc->prompts.said(QStringLiteral("error")).isEmpty());
        QCOMPARE(doc->prompts.said(QStringLiteral("error")).first(),
                 QStringLiteral("'deux' n'est pas une valeur entière correcte"));
    }

    void securityView_historyInStoreOrderAndNavigation()
    {
        load({l("19990105", "000002", "ZETA"), l("19990103", "000001", "ALPHA"),
              l("19990110", "000002", "ZETA"), l("19990101", "000002", "ZETA"),
              l("19990111", "000003", "MU")});
        QCOMPARE(b->data().index(),
                 (QStringList{QStringLiteral("000001ALPHA"), QStringLiteral("000003MU"),
                              QStringLiteral("000002ZETA")}));
        auto *names = b->findChild<QComboBox *>(QStringLiteral("ComboBox2"));
        b->Titres();
        QCOMPARE(b->page(), int(TBourse::PageTitres));
        QCOMPARE(names->currentText(), QStringLiteral("ALPHA"));
        b->Dernier();
        QCOMPARE(b->data().currentSecurity(), 2);
        QCOMPARE(shownDates(b->titres().model()),
                 (QStringList{QStringLiteral("05/01/1999"), QStringLiteral("10/01/1999"),
                              QStringLiteral("01/01/1999")}));
        b->Suivant(); // the last security: nothing
        QCOMPARE(b->data().currentSecurity(), 2);
        b->Precedent();
        QCOMPARE(b->data().currentSecurity(), 1);
        QCOMPARE(names->currentText(), QStringLiteral("MU"));
        QCOMPARE(b->titres().model()->rowCount(), 1);
        b->Premier();
        b->Precedent(); // the first security: nothing
        QCOMPARE(b->data().currentSecurity(), 0);
        QCOMPARE(names->currentText(), QStringLiteral("ALPHA"));

        names->setCurrentIndex(2);
        emit names->activated(2);
        QCOMPARE(b->data().currentSecurity(), 2);
        QCOMPARE(b->titres().model()->rowCount(), 3);
        names->setEditText(QStringLiteral("nothing like it"));
        b->titres().ComboBox2Change();
        QCOMPARE(b->data().currentSecurity(), 2);

        // Navigation on the chart page moves the security too.
        b->charts().Graphique();
        QCOMPARE(b->page(), int(TBourse::PageGraphique));
        b->Premier();
        QCOMPARE(b->data().currentSecurity(), 0);
        auto *chart = b->findChild<QComboBox *>(QStringLiteral("ComboBox3"));
        QCOMPARE(chart->currentText(), QStringLiteral("ALPHA"));
        chart->setCurrentIndex(1);
        emit chart->activated(1);
        QCOMPARE(b->data().currentSecurity(), 1);
        QCOMPARE(names->currentText(), QStringLiteral("MU"));
    }

    void doubleClick_jumpsToTheSecurity()
    {
        load({l("19990105", "000002", "ZETA"), l("19990106", "000001", "ALPHA"),
              l("19990107", "000002", "ZETA")});
        auto *view = b->findChild<QTableView *>(QStringLiteral("ListView1"));
        view->selectRow(0);
        view->selectionModel()->select(b->journal().model()->index(1, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        b->journal().ListView1DblClick(); // two rows: nothing
        QCOMPARE(b->page(), int(TBourse::PageJournal));
        view->clearSelection();
        view->selectRow(0);
        b->journal().ListView1DblClick();
        QCOMPARE(b->page(), int(TBourse::PageTitres));
        QCOMPARE(b->data().currentSecurity(), 1);
        QCOMPARE(b->titres().model()->rowCount(), 2);
        QCOMPARE(b->titres().model()->cell(0, 1), QStringLiteral("000002"));
    }

    // The rows are drawn by the lists' own delegate: each cell must look as
    // the style's item drawing makes it, selected or not, a name too wide
    // for its column elided within the cell, prices to the right.
    void rows_drawnAsTheStyleDrawsThem()
    {
        load({l("19990105", "000002", "COMPAGNIE GENERALE DES ETABLISSEMENTS", "1234,50"),
              l("19990106", "000001", "ALPHA", ",5"), l("19990107", "000003", "", "12,00")});
        auto *view = b->findChild<QTableView *>(QStringLiteral("ListView1"));
        view->setColumnWidth(2, 60);
        view->selectRow(1);
        view->setFocus();
        const QImage ours = view->viewport()->grab().toImage();
        QAbstractItemDelegate *own = view->itemDelegate();
        QStyledItemDelegate styled;
        view->setItemDelegate(&styled);
        const QImage theirs = view->viewport()->grab().toImage();
        view->setItemDelegate(own);
        QVERIFY(own != &styled && ours.size() == theirs.size());
        const QuoteListModel *model = b->journal().model();
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 5; ++column) {
                const QRect cell = view->visualRect(model->index(row, column));
                const QRect a = ink(ours, cell), b = ink(theirs, cell);
                QVERIFY2(near(a, b, 2),
                         qPrintable(QStringLiteral("row %1 column %2").arg(row).arg(column)));
                QCOMPARE(ours.pixel(cell.topLeft()), theirs.pixel(cell.topLeft()));
                QCOMPARE(a.isNull(), row == 2 && column == 2); // only the empty name draws nothing
                QVERIFY(a.isNull() || a.right() < cell.right());
            }
        }
        const QRect date = view->visualRect(model->index(0, 0));
        const QRect price = view->visualRect(model->index(2, 3));
        QVERIFY(ink(ours, date).left() < date.left() + 5);
        QVERIFY(ink(ours, price).left() > price.center().x());
        QVERIFY(ink(ours, price).right() > price.right() - 6);
    }

    void emptyStore_viewsStayEmpty()
    {
        load({});
        QCOMPARE(months->count(), 0);
        QCOMPARE(b->journal().model()->rowCount(), 0);
        b->Titres();
        b->Dernier();
        b->Suivant();
        QCOMPARE(b->titres().model()->rowCount(), 0);
        b->Journal();
        b->Precedent();
        QCOMPARE(b->journal().model()->rowCount(), 0);
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"

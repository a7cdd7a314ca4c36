// The maintenance commands of the document window, driven through their
// dialogs: undo, conversion, split, deletions, reorganisation, sorts and the
// period.
#include "base/formats.h"
#include "document/TBourse.h"
#include "quotes/QuoteListModel.h"
#include "quotes/TConvert.h"
#include "quotes/TDivise.h"
#include "quotes/TReorg.h"
#include "quotes/TSeldate.h"
#include "quotes/TSupp.h"
#include "quotes/maintenance.h"
#include "testkit.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include <random>

using namespace Qt::StringLiterals;

namespace
{

// Index by name: 0 AUTRE (013000), 1 EXEMPLE SA (012000), 2 HORS BORNES
// (999991, above "99999").
const QStringList kStore{ql("19990104", "013000", "AUTRE", "65,60", "100"),
                         ql("19990104", "012000", "EXEMPLE SA", "450,00", "100"),
                         ql("19990105", "013000", "AUTRE", "10,00", "100"),
                         ql("19990105", "012000", "EXEMPLE SA", "460,00", "100"),
                         ql("19990201", "013000", "AUTRE", "65,60", "100"),
                         ql("19990201", "012000", "EXEMPLE SA", "470,00", "100"),
                         ql("19990302", "999991", "HORS BORNES", "65,60", "100")};

QStringList prices(const QStringList &store)
{
    QStringList out;
    for (const QString &line : store)
        out.append(quote::fields(line).value(3));
    return out;
}

QStringList pick(const QStringList &lines, const QList<int> &positions)
{
    QStringList out;
    for (const int i : positions)
        out.append(lines[i]);
    return out;
}

template <typename T> T *control(QWidget *parent, const char *name)
{
    T *c = child<T>(parent, name);
    if (!c) qFatal("no control %s", name);
    return c;
}

void typeInto(QWidget *parent, const char *name, const QString &text)
{
    QLineEdit *edit = control<QLineEdit>(parent, name);
    edit->clear();
    QTest::keyClicks(edit, text);
}

enum Close { Ok, Cancel, Escape };

void close(QDialog *d, Close how)
{
    if (how == Escape)
        QTest::keyClick(d, Qt::Key_Escape);
    else
        QTest::mouseClick(control<QPushButton>(d, how == Ok ? "OKBtn" : "CancelBtn"),
                          Qt::LeftButton);
}

// A dialog handler whose body may use the test macros; the dialog's own
// result is the answer.
std::function<int(QDialog *)> handler(std::function<void(QDialog *)> body)
{
    return [body](QDialog *d) {
        body(d);
        return d->result();
    };
}

// The selected rows, from the selection ranges; -1 when a range does not
// span whole rows.
QList<int> selected(QTableView *list)
{
    QList<int> rows;
    for (const QItemSelectionRange &range : list->selectionModel()->selection()) {
        if (range.left() != 0 || range.right() != 4) return {-1};
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.append(r);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(Close)

class TestMaintenanceCommands : public QObject
{
    Q_OBJECT

    std::optional<DocumentFixture> doc;
    TBourse *b = nullptr;

    // Loads the lines, shows a page and forgets the undo copy, so that a test
    // sees whether a command takes one.
    void load(const QStringList &lines, int page = TBourse::PageJournal, int security = 0)
    {
        doc.emplace(lines, QSize(900, 600));
        b = doc->bourse.get();
        b->data().setCurrentSecurity(security);
        b->showPage(page);
        b->titres().LitTitre();
        b->data().clearUndo();
    }
    void run(const std::function<void()> &command) { runCommand(b, command); }
    QStringList errors() const { return doc->prompts.said(u"error"_s); }
    QStringList monthItems() const
    {
        const auto *c = b->findChild<QComboBox *>(u"ComboBox1"_s);
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out.append(c->itemText(i));
        return out;
    }
    // After a command: the store, and whether it took the undo copy of
    // `before` and set the modified flag.
    void checkChanged(const QStringList &expected, bool changed, const QStringList &before)
    {
        QCOMPARE(b->data().store(), expected);
        QCOMPARE(b->data().undo(), changed ? before : QStringList());
        QCOMPARE(b->data().isModified(), changed);
    }

private slots:
    void cleanup() { doc.reset(); }

    void dialogs_labelsAreBuddies_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("Convertir")
            << 0
            << QStringList{u"Date début"_s, u"Date fin"_s, u"Taux de l'euro"_s, u"Code début"_s,
                           u"Code fin"_s};
        QTest::newRow("Diviser titre")
            << 1 << QStringList{u"Date début"_s, u"Date fin"_s, u"Coefficient"_s, u"Code titre"_s};
        QTest::newRow("Réorganiser la base") << 2
                                             << QStringList{u"Date la plus ancienne à conserver"_s,
                                                            u"Nombre de lignes a conserver"_s};
        QTest::newRow("Sélectionner intervalle des dates")
            << 3 << QStringList{u"Date début"_s, u"Date fin"_s};
    }
    void dialogs_labelsAreBuddies()
    {
        QFETCH(int, which);
        QFETCH(QStringList, labels);
        std::unique_ptr<QDialog> d;
        if (which == 0) d = std::make_unique<TConvert>();
        if (which == 1) d = std::make_unique<TDivise>();
        if (which == 2) d = std::make_unique<TReorg>();
        if (which == 3) d = std::make_unique<TSeldate>();
        QCOMPARE(d->windowTitle(), QString::fromUtf8(QTest::currentDataTag()));
        QStringList seen;
        for (const QLabel *label : d->findChildren<QLabel *>()) {
            seen.append(label->text());
            QVERIFY2(label->buddy(), qPrintable(label->text()));
        }
        QCOMPARE(seen, labels);
        QCOMPARE(control<QPushButton>(d.get(), "CancelBtn")->text(), u"Annuler"_s);
        // The whole caption fits in the title bar, beside icon and buttons.
        QFont bold = d->font();
        bold.setBold(true);
        QVERIFY(d->sizeHint().width() >=
                QFontMetrics(bold).horizontalAdvance(d->windowTitle()) + 100);
    }

    void convert_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("proposed");  // both bounds
        QTest::addColumn<QStringList>("typed"); // bounds typed over them
        QTest::addColumn<bool>("toFranc");
        QTest::addColumn<Close>("how");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("monthly view, franc to euro")
            << int(TBourse::PageJournal) << u"00000 99999"_s << QStringList() << false << Ok
            << QStringList{u"10,00"_s, u"68,60"_s, u"1,52"_s, u"70,13"_s,
                           u"10,00"_s, u"71,65"_s, u"65,60"_s};
        QTest::newRow("monthly view, euro to franc")
            << int(TBourse::PageJournal) << u"00000 99999"_s << QStringList() << true << Ok
            << QStringList{u"430,31"_s, u"2951,81"_s, u"65,60"_s, u"3017,40"_s,
                           u"430,31"_s, u"3083,00"_s, u"65,60"_s};
        QTest::newRow("security view: that security only")
            << int(TBourse::PageTitres) << u"013000 013000"_s << QStringList() << false << Ok
            << QStringList{u"10,00"_s, u"450,00"_s, u"1,52"_s, u"460,00"_s,
                           u"10,00"_s, u"470,00"_s, u"65,60"_s};
        QTest::newRow("chart page: empty bounds") << int(TBourse::PageGraphique) << u" "_s
                                                  << QStringList() << false << Ok << prices(kStore);
        QTest::newRow("typed bounds compare as texts")
            << int(TBourse::PageGraphique) << u" "_s << QStringList{u"01200"_s, u"01300"_s} << false
            << Ok << QStringList{u"65,60"_s, u"68,60"_s, u"10,00"_s, u"70,13"_s,
                                 u"65,60"_s, u"71,65"_s, u"65,60"_s};
        QTest::newRow("Annuler") << int(TBourse::PageJournal) << u"00000 99999"_s << QStringList()
                                 << false << Cancel << QStringList();
        QTest::newRow("Escape") << int(TBourse::PageJournal) << u"00000 99999"_s << QStringList()
                                << false << Escape << QStringList();
    }
    void convert()
    {
        QFETCH(int, page);
        QFETCH(QString, proposed);
        QFETCH(QStringList, typed);
        QFETCH(bool, toFranc);
        QFETCH(Close, how);
        QFETCH(QStringList, after);
        load(kStore, page);
        doc->prompts.dialogs.append(handler([&](QDialog *d) {
            QCOMPARE(d->windowTitle(), u"Convertir"_s);
            QCOMPARE(control<QDateEdit>(d, "DateTimePicker1")->date(), QDate(1999, 1, 4));
            QCOMPARE(control<QDateEdit>(d, "DateTimePicker2")->date(), QDate(1999, 3, 2));
            QCOMPARE(control<QLineEdit>(d, "Edit1")->text(), u"6,55957"_s);
            QCOMPARE(control<QLineEdit>(d, "Edit2")->text() + u' ' +
                         control<QLineEdit>(d, "Edit3")->text(),
                     proposed);
            QVERIFY(control<QRadioButton>(d, "RadioButton1")->isChecked());
            if (!typed.isEmpty()) {
                typeInto(d, "Edit2", typed[0]);
                typeInto(d, "Edit3", typed[1]);
            }
            if (toFranc)
                QTest::mouseClick(control<QRadioButton>(d, "RadioButton2"), Qt::LeftButton);
            close(d, how);
        }));
        run([&] { b->maintenance().Convertir(); });
        QVERIFY(errors().isEmpty());
        if (how != Ok) return checkChanged(kStore, false, kStore);
        // The undo copy is taken and the flag set even when no line was in range.
        QCOMPARE(prices(b->data().store()), after);
        QCOMPARE(b->data().undo(), kStore);
        QVERIFY(b->data().isModified());
        QCOMPARE(b->journal().model()->cell(0, 3), after.constLast()); // March, refilled
    }

    void convert_overflowingPrice_changesNothing()
    {
        QStringList store = kStore;
        store[3] = ql("19990105", "012000", "EXEMPLE SA", "1e308", "100");
        load(store);
        doc->prompts.dialogs.append(handler([&](QDialog *d) {
            QTest::mouseClick(control<QRadioButton>(d, "RadioButton2"), Qt::LeftButton);
            close(d, Ok);
        }));
        run([&] { b->maintenance().Convertir(); });
        QCOMPARE(errors(),
                 QStringList{u"Conversion impossible : le cours de la ligne 4 deviendrait "
                             u"trop grand"_s});
        checkChanged(store, false, store);
    }

    void convert_codeFields_takeFiveDigits()
    {
        TConvert d;
        d.Init(QDate(1999, 1, 4), QDate(1999, 3, 2), 6.55957, u"012000"_s, u"012000"_s);
        QLineEdit *from = control<QLineEdit>(&d, "Edit2");
        QCOMPARE(from->text(), u"012000"_s); // proposed by the program: whole
        from->clear();
        QTest::keyClicks(from, u"1a2.b34-5678"_s);
        QCOMPARE(from->text(), u"12345"_s);
    }

    void split_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("typed"); // null: leave "0"
        QTest::addColumn<Close>("how");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("error");
        const int titres = TBourse::PageTitres;
        QTest::newRow("by 10") << titres << u"10"_s << Ok
                               << QStringList{u"65,60"_s, u"45,00"_s, u"10,00"_s, u"46,00"_s,
                                              u"65,60"_s, u"47,00"_s, u"65,60"_s}
                               << QString();
        QTest::newRow("coefficient 0") << titres << QString() << Ok << QStringList() << QString();
        QTest::newRow("empty coefficient") << titres << u""_s << Ok << QStringList()
                                           << u"'' n'est pas une valeur entière correcte"_s;
        QTest::newRow("Annuler") << titres << u"10"_s << Cancel << QStringList() << QString();
        QTest::newRow("monthly view: no dialog")
            << int(TBourse::PageJournal) << QString() << Ok << QStringList() << QString();
    }
    void split()
    {
        QFETCH(int, page);
        QFETCH(QString, typed);
        QFETCH(Close, how);
        QFETCH(QStringList, after);
        QFETCH(QString, error);
        load(kStore, page, 1); // EXEMPLE SA
        doc->prompts.dialogs.append(handler([&](QDialog *d) {
            QCOMPARE(d->windowTitle(), u"Diviser titre"_s);
            QLineEdit *coefficient = control<QLineEdit>(d, "Edit1");
            QCOMPARE(coefficient->text(), u"0"_s);
            QCOMPARE(d->focusWidget(), coefficient);
            QCOMPARE(control<QLineEdit>(d, "Edit2")->text(), u"012000"_s);
            QCOMPARE(control<QDateEdit>(d, "DateTimePicker2")->date(), QDate(1999, 3, 2));
            if (!typed.isNull()) typeInto(d, "Edit1", typed);
            close(d, how);
        }));
        run([&] { b->maintenance().Diviser(); });
        QCOMPARE(errors(), error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(doc->prompts.dialogs.isEmpty(), page == TBourse::PageTitres);
        if (after.isEmpty()) return checkChanged(kStore, false, kStore);
        QCOMPARE(prices(b->data().store()), after);
        QCOMPARE(b->data().undo(), kStore);
        QVERIFY(b->data().isModified());
        QCOMPARE(b->titres().model()->cell(0, 3), after[1]); // refilled
    }

    void deleteSecurity_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("security");
        QTest::addColumn<int>("preselected");
        QTest::addColumn<int>("choose"); // -1: leave the list as it is
        QTest::addColumn<Close>("how");
        QTest::addColumn<QString>("deleted");
        const int titres = TBourse::PageTitres, journal = TBourse::PageJournal;
        QTest::newRow("security view") << titres << 1 << 1 << -1 << Ok << u"012000"_s;
        QTest::newRow("monthly view, chosen") << journal << 1 << -1 << 0 << Ok << u"013000"_s;
        QTest::newRow("monthly view, none chosen") << journal << 1 << -1 << -1 << Ok << QString();
        QTest::newRow("Annuler") << titres << 1 << 1 << -1 << Cancel << QString();
        QTest::newRow("the last security shown") << titres << 2 << 2 << -1 << Ok << u"999991"_s;
    }
    void deleteSecurity()
    {
        QFETCH(int, page);
        QFETCH(int, security);
        QFETCH(int, preselected);
        QFETCH(int, choose);
        QFETCH(Close, how);
        QFETCH(QString, deleted);
        load(kStore, page, security);
        const QStringList index = b->data().index();
        doc->prompts.dialogs.append(handler([&](QDialog *d) {
            QCOMPARE(d->windowTitle(), u"Supprimer titre"_s);
            QCOMPARE(control<QPushButton>(d, "OKBtn")->text(), u"OK"_s);
            auto *list = control<QComboBox>(d, "ComboBox1");
            QCOMPARE(list->itemText(1), u"012000EXEMPLE SA"_s);
            QCOMPARE(list->count(), 3);
            QCOMPARE(list->currentIndex(), preselected);
            if (choose >= 0) list->setCurrentIndex(choose);
            close(d, how);
        }));
        run([&] { b->maintenance().SupTitre(); });
        QStringList expected = kStore;
        maintenance::removeSecurity(expected, deleted);
        checkChanged(expected, !deleted.isEmpty(), kStore);
        if (deleted.isEmpty()) {
            QVERIFY(doc->prompts.said(u"information"_s).isEmpty());
            QCOMPARE(b->data().index(), index);
            return;
        }
        QCOMPARE(doc->prompts.said(u"information"_s),
                 QStringList{u"Titre "_s + deleted + u" a été supprimé"_s});
        QCOMPARE(b->data().index().size(), 2);
        QVERIFY(b->data().index().filter(deleted).isEmpty());
        // The security view never keeps showing deleted lines.
        for (const QString &line : b->titres().model()->lines())
            QVERIFY(!line.contains(deleted));
    }

    void selectAllAndInvert()
    {
        load(kStore);
        b->data().setCurrentMonth(QDate(1999, 1, 1));
        b->journal().LitMois();
        QTableView *list = b->journal().list();
        selectRows(list, {1});
        b->maintenance().Inverser();
        QCOMPARE(selected(list), (QList<int>{0, 2, 3}));
        b->maintenance().SelectAll();
        QCOMPARE(selected(list), (QList<int>{0, 1, 2, 3}));
        b->maintenance().Inverser();
        QCOMPARE(selected(list), QList<int>{});
        b->Titres(); // the list of the page shown
        b->maintenance().SelectAll();
        QCOMPARE(selected(b->titres().list()).size(), b->titres().model()->rowCount());
        QCOMPARE(selected(list), QList<int>{});
        b->showPage(TBourse::PageGraphique); // no list there
        b->maintenance().SelectAll();
        b->maintenance().Inverser();
    }

    void deleteLines_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<bool>("deleteKey");
        QTest::addColumn<QList<int>>("kept");
        // January shows store lines 0 to 4; EXEMPLE SA lines 1, 2, 3 and 5.
        const int journal = TBourse::PageJournal;
        QTest::newRow("monthly view")
            << journal << QList<int>{0, 4} << false << QList<int>{1, 2, 3, 5};
        // Lines of one date and code: exactly the rows selected go.
        QTest::newRow("same date and code: the lines shown")
            << journal << QList<int>{2, 3} << false << QList<int>{0, 1, 4, 5};
        QTest::newRow("Delete key")
            << journal << QList<int>{3} << true << QList<int>{0, 1, 2, 4, 5};
        QTest::newRow("security view")
            << int(TBourse::PageTitres) << QList<int>{0, 3} << false << QList<int>{0, 2, 3, 4};
        QTest::newRow("chart page")
            << int(TBourse::PageGraphique) << QList<int>{} << false << QList<int>{0, 1, 2, 3, 4, 5};
    }
    void deleteLines()
    {
        QFETCH(int, page);
        QFETCH(QList<int>, rows);
        QFETCH(bool, deleteKey);
        QFETCH(QList<int>, kept);
        const QStringList store{ql("19990104", "013000", "AUTRE", "1,00", "100"),
                                ql("19990104", "012000", "EXEMPLE SA", "2,00", "100"),
                                ql("19990104", "012000", "EXEMPLE SA", "3,00", "100"),
                                ql("19990104", "012000", "EXEMPLE SA", "4,00", "100"),
                                ql("19990105", "013000", "AUTRE", "5,00", "100"),
                                ql("19990205", "012000", "EXEMPLE SA", "6,00", "100")};
        load(store, page, 1);
        b->data().setCurrentMonth(QDate(1999, 1, 4));
        b->journal().LitMois();
        QTableView *list = page == TBourse::PageTitres ? b->titres().list() : b->journal().list();
        selectRows(list, rows);
        if (deleteKey)
            QTest::keyClick(list, Qt::Key_Delete);
        else
            b->maintenance().Supprimer();
        // The copy is taken and the flag set on every page.
        checkChanged(pick(store, kept), true, store);
        QCOMPARE(list->model()->rowCount(), (page == TBourse::PageTitres ? 4 : 5) - rows.size());
    }

    void reorganise_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("oldest");
        QTest::addColumn<Close>("how");
        QTest::addColumn<bool>("enterKey");
        QTest::addColumn<int>("removed"); // -1: nothing done
        QTest::addColumn<QString>("error");
        const QDate late(2000, 1, 1);
        QTest::newRow("keep 900, cut-off after every date")
            << u"900"_s << late << Ok << false << 100 << QString();
        QTest::newRow("Enter in the number") << u"900"_s << late << Ok << true << 100 << QString();
        QTest::newRow("the cut-off decides")
            << u"10"_s << QDate(1999, 1, 6) << Ok << false << 20 << QString();
        QTest::newRow("keep every line") << u"1000"_s << late << Ok << false << -1 << QString();
        QTest::newRow("number 0") << u"0"_s << late << Ok << false << -1 << QString();
        QTest::newRow("empty number")
            << u""_s << late << Ok << false << -1 << u"'' n'est pas une valeur entière correcte"_s;
        QTest::newRow("Annuler") << u"900"_s << late << Cancel << false << -1 << QString();
    }
    void reorganise()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, oldest);
        QFETCH(Close, how);
        QFETCH(bool, enterKey);
        QFETCH(int, removed);
        QFETCH(QString, error);
        QStringList lines; // 10 a day from 4 January 1999, shuffled
        for (int day = 0; day < 100; ++day)
            for (int s = 0; s < 10; ++s)
                lines.append(qline(QDate(1999, 1, 4).addDays(day).toString(u"yyyyMMdd"_s),
                                   u"%1"_s.arg(s, 6, 10, QLatin1Char('0')), u"TITRE %1"_s.arg(s),
                                   u"1,00"_s));
        std::mt19937 rng(5);
        std::shuffle(lines.begin(), lines.end(), rng);
        load(lines, TBourse::PageTitres);
        const QDate first = b->data().firstDate();
        doc->prompts.dialogs.append(handler([&](QDialog *d) {
            QCOMPARE(d->windowTitle(), u"Réorganiser la base"_s);
            QCOMPARE(control<QDateEdit>(d, "DateTimePicker1")->date(), first);
            QLineEdit *number = control<QLineEdit>(d, "Edit1");
            QCOMPARE(number->text(), u"999"_s);
            QCOMPARE(d->focusWidget(), number);
            control<QDateEdit>(d, "DateTimePicker1")->setDate(oldest);
            typeInto(d, "Edit1", typed);
            if (enterKey)
                QTest::keyClick(number, Qt::Key_Return);
            else
                close(d, how);
            QVERIFY(!d->isVisible());
        }));
        run([&] { b->maintenance().Reorganiser(); });
        QCOMPARE(errors(), error.isEmpty() ? QStringList() : QStringList{error});
        if (removed < 0) {
            checkChanged(lines, false, lines);
            QCOMPARE(b->page(), int(TBourse::PageTitres));
            return;
        }
        QStringList sorted = lines;
        maintenance::sortByCode(sorted);
        checkChanged(sorted.mid(removed), true, lines);
        const QDate newFirst = storedToDate(quote::dateOf(b->data().store().constFirst()));
        QCOMPARE(b->data().firstDate(), newFirst);
        QCOMPARE(b->page(), int(TBourse::PageJournal));
        QCOMPARE(b->data().currentMonth(), newFirst);
        QCOMPARE(monthItems().constFirst(), monthEntry(newFirst));

        // Undo brings the lines back in their former order; a second undo
        // changes nothing more; neither touches the flag.
        saveStore(b->data(), doc->prompts);
        b->maintenance().Annuler();
        QCOMPARE(b->data().store(), lines);
        b->maintenance().Annuler();
        QCOMPARE(b->data().store(), lines);
        QVERIFY(!b->data().isModified());
    }

    // A store large enough for the work to be split over the threads: the
    // commands leave the lines one thread gives.
    void largeStore_sameLinesAsOneThread()
    {
        QStringList lines; // 400 securities over 300 days, shuffled
        for (int day = 0; day < 300; ++day)
            for (int s = 0; s < 400; ++s)
                lines.append(qline(QDate(1999, 1, 4).addDays(day).toString(u"yyyyMMdd"_s),
                                   QString::number(100000 + 7 * s), u"TITRE %1"_s.arg(s % 97),
                                   u"%1,%2"_s.arg(s + day).arg(s % 100, 2, 10, QLatin1Char('0')),
                                   QString::number(s)));
        std::mt19937 rng(9);
        std::shuffle(lines.begin(), lines.end(), rng);
        load(lines);
        QuoteLines expected(lines);
        b->maintenance().TrierNom();
        maintenance::sortByName(expected, 1);
        QVERIFY(b->data().store() == expected);
        b->maintenance().TrierCode();
        maintenance::sortByCode(expected, 1);
        QVERIFY(b->data().store() == expected);

        b->maintenance().Selectionner(0); // the whole store
        doc->prompts.dialogs.append(handler([&](QDialog *d) { close(d, Ok); }));
        run([&] { b->maintenance().Convertir(); });
        QVERIFY(errors().isEmpty());
        QCOMPARE(maintenance::rewritePrices(expected, 1, u"00000000"_s, u"99999999"_s, u"00000"_s,
                                            u"99999"_s, b->data().settings().euroRate, 1),
                 lines.size());
        QVERIFY(b->data().store() == expected);

        doc->prompts.dialogs.append(handler([&](QDialog *d) {
            control<QDateEdit>(d, "DateTimePicker1")->setDate(QDate(2001, 1, 1));
            typeInto(d, "Edit1", u"100000"_s);
            close(d, Ok);
        }));
        run([&] { b->maintenance().Reorganiser(); });
        QVERIFY(errors().isEmpty());
        QCOMPARE(maintenance::reorganise(expected, u"20010101"_s, 100000, 1),
                 int(lines.size()) - 100000);
        QVERIFY(b->data().store() == expected);
    }

    void sortsAndUndo()
    {
        load(kStore);
        b->maintenance().TrierCode();
        QStringList byCode = kStore;
        maintenance::sortByCode(byCode);
        QVERIFY(byCode != kStore);
        checkChanged(byCode, true, kStore);
        QCOMPARE(b->journal().model()->lines(), byCode.mid(6)); // March, refilled
        b->maintenance().TrierNom();
        checkChanged(kStore, true, byCode); // already by date and name
        b->maintenance().Annuler();
        QCOMPARE(b->data().store(), byCode);
        QCOMPARE(b->data().lastDate(), QDate(1999, 3, 2));
        QCOMPARE(b->data().currentMonth(), QDate(1999, 3, 2));
        // An empty copy empties the store and leaves the dates.
        b->data().clearUndo();
        b->maintenance().Annuler();
        QVERIFY(b->data().store().isEmpty());
        QCOMPARE(b->data().lastDate(), QDate(1999, 3, 2));
        QCOMPARE(b->journal().model()->rowCount(), 0);
    }

    void selectPeriod_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("enterKey");
        QTest::addColumn<Close>("how");
        QTest::addColumn<QString>("error");
        QTest::newRow("OK") << u"05011999"_s << u"01021999"_s << false << Ok << QString();
        QTest::newRow("Enter in Date début")
            << u"05011999"_s << u"01021999"_s << true << Ok << QString();
        QTest::newRow("Annuler") << u"05011999"_s << u"01021999"_s << false << Cancel << QString();
        QTest::newRow("impossible date") << u"31021999"_s << u"01031999"_s << false << Ok
                                         << u"'31/02/1999' n'est pas une date correcte"_s;
        QTest::newRow("impossible end date") << u"05011999"_s << u"01131999"_s << false << Ok
                                             << u"'01/13/1999' n'est pas une date correcte"_s;
    }
    void selectPeriod()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, enterKey);
        QFETCH(Close, how);
        QFETCH(QString, error);
        load(kStore);
        doc->prompts.dialogs.append(handler([&](QDialog *d) {
            QCOMPARE(d->windowTitle(), u"Sélectionner intervalle des dates"_s);
            QLineEdit *debut = control<QLineEdit>(d, "MaskEdit1");
            QLineEdit *fin = control<QLineEdit>(d, "MaskEdit2");
            QCOMPARE(debut->text() + u' ' + fin->text(), u"04/01/1999 02/03/1999"_s);
            for (auto [edit, text] : {std::pair{debut, from}, std::pair{fin, to}}) {
                edit->selectAll();
                edit->del();
                edit->home(false);
                QTest::keyClicks(edit, text);
            }
            if (enterKey)
                QTest::keyClick(debut, Qt::Key_Enter);
            else
                close(d, how);
            QVERIFY(!d->isVisible());
        }));
        bool answer = false;
        run([&] { answer = b->maintenance().Selectionner(1); });
        QCOMPARE(errors(), error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(b->data().periodMode(), 1);
        const bool taken = how == Ok && error.isEmpty();
        QCOMPARE(answer, taken);
        QCOMPARE(b->data().firstDate(), taken ? QDate(1999, 1, 5) : QDate(1999, 1, 4));
        QCOMPARE(b->data().lastDate(), taken ? QDate(1999, 2, 1) : QDate(1999, 3, 2));
        if (!taken) return;
        QCOMPARE(monthItems(), (QStringList{u"Janvier 1999"_s, u"Février 1999"_s}));
        QCOMPARE(b->data().currentMonth(), QDate(1999, 1, 5));
        QCOMPARE(b->journal().model()->rowCount(), 2); // 5 January only

        QCOMPARE(b->maintenance().Selectionner(0), false); // "Tout"
        QCOMPARE(b->data().periodMode(), 0);
        QCOMPARE(b->data().firstDate(), QDate(1999, 1, 4));
        QCOMPARE(b->data().lastDate(), QDate(1999, 3, 2));
        QCOMPARE(monthItems(), (QStringList{u"Janvier 1999"_s, u"Février 1999"_s, u"Mars 1999"_s}));
    }

    void millionLines_commandsGiveTheirResults()
    {
        // 1000 securities over 1000 days: about 30,000 lines a month.
        QStringList lines;
        lines.reserve(1000000);
        for (int day = 0; day < 1000; ++day) {
            const QString date = QDate(1999, 1, 4).addDays(day).toString(u"yyyyMMdd"_s);
            for (int s = 0; s < 1000; ++s)
                lines.append(date + u"\t%1\tTITRE %2\t%3,50\t%4"_s.arg(s, 6, 10, QLatin1Char('0'))
                                        .arg(s)
                                        .arg(s % 300)
                                        .arg(day));
        }
        load({});
        b->data().replaceStore(lines);
        b->maintenance().Selectionner(0);
        b->data().setCurrentMonth(QDate(1999, 3, 1));
        b->journal().LitMois();
        QTableView *list = b->journal().list();
        QCOMPARE(list->model()->rowCount(), 31000);
        QList<int> rows; // 10,000 rows apart
        for (int r = 0; r < 30000; r += 3)
            rows.append(r);
        selectRows(list, rows);

        b->maintenance().Inverser();
        const QList<int> inverted = selected(list);
        QCOMPARE(inverted.size(), 21000);
        QCOMPARE(inverted.mid(0, 3), (QList<int>{1, 2, 4}));
        b->maintenance().Inverser();
        QCOMPARE(selected(list), rows);
        b->maintenance().SelectAll();
        QCOMPARE(selected(list).size(), 31000);

        selectRows(list, rows);
        b->maintenance().Supprimer();
        QCOMPARE(b->data().store().size(), 990000);
        QCOMPARE(list->model()->rowCount(), 21000);

        doc->prompts.dialogs.append(handler([&](QDialog *d) {
            control<QDateEdit>(d, "DateTimePicker1")->setDate(QDate(2010, 1, 1));
            typeInto(d, "Edit1", u"900000"_s);
            close(d, Ok);
        }));
        b->maintenance().Reorganiser();
        QCOMPARE(b->data().store().size(), 900000);

        // Sorting a shuffled store gives back the order of the date sort.
        const QStringList sorted = b->data().store();
        std::mt19937 rng(3);
        QStringList shuffled = sorted;
        std::shuffle(shuffled.begin(), shuffled.end(), rng);
        b->data().replaceStore(shuffled);
        b->maintenance().TrierCode();
        QCOMPARE(b->data().store(), sorted);
    }
};

QTEST_MAIN(TestMaintenanceCommands)
#include "tst_maintenancecommands.moc"

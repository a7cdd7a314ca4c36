// "Liste des titres" and "Vu dans la presse" driven from the document's
// commands: keys, filters, what is shown and what goes back.
#include "document/NotesCommands.h"
#include "notes/TListe.h"
#include "notes/TPresse.h"
#include "testkit.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace
{

const QStringList kStore{ql("19990104", "013000", "AUTRE", "65,60", "100"),
                         ql("19990104", "012000", "EXEMPLE SA", "450,00", "100")};

QLineEdit *edit(QDialog *d, const char *name)
{
    auto *e = child<QLineEdit>(d, name);
    if (!e) qFatal("no field %s", name);
    return e;
}

void trigger(QDialog *d, const char *name)
{
    auto *a = child<QAction>(d, name);
    if (!a) qFatal("no action %s", name);
    a->trigger();
}

} // namespace

class TestNotesWindows : public QObject
{
    Q_OBJECT

    std::optional<DocumentFixture> doc;

    void run(bool cards, std::function<void(QDialog *)> body)
    {
        doc->prompts.dialogs << [body](QDialog *d) {
            body(d);
            return int(QDialog::Rejected);
        };
        cards ? doc->bourse->notes().ListeTitres() : doc->bourse->notes().Coupures();
        QVERIFY(doc->prompts.dialogs.isEmpty());
    }

private slots:
    void init()
    {
        doc.emplace(kStore, QSize(800, 600), QDateTime(QDate(2001, 3, 15), QTime(9, 0)));
    }
    void cleanup() { doc.reset(); }

    // --- Cards ------------------------------------------------------------------

    void figure_typedAndLeft_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        QTest::newRow("point becomes comma") << u("12.5") << u("12,50");
        QTest::newRow("below one") << u(",5") << u(",50");
        QTest::newRow("unreadable kept") << u("1,2,3") << u("1,2,3");
        QTest::newRow("no minus, no letters") << u("-4a") << u("4,00");
        QTest::newRow("empty stays empty") << u("") << u("");
    }
    void figure_typedAndLeft()
    {
        QFETCH(QString, typed);
        QFETCH(QString, left);
        QString shown;
        run(true, [&](QDialog *d) {
            QCOMPARE(QApplication::focusWidget(), edit(d, "Edit2"));
            edit(d, "Edit3")->setFocus();
            typeText(typed);
            pressKey(Qt::Key_Tab);
            shown = edit(d, "Edit3")->text();
        });
        QCOMPARE(shown, left);
    }

    void cards_navigationAndClosing()
    {
        QStringList names;
        run(true, [&](QDialog *d) {
            QCOMPARE(d->windowTitle(), u("Liste des titres"));
            // Index order: AUTRE, then EXEMPLE SA.
            names << edit(d, "Edit1")->text();
            typeText(u("19a98x7"));
            names << edit(d, "Edit2")->text();
            pressKey(Qt::Key_PageDown);
            names << edit(d, "Edit1")->text();
            pressKey(Qt::Key_PageDown); // the last: stays
            names << edit(d, "Edit1")->text();
            // Escape does not close the cards.
            pressKey(Qt::Key_Escape);
            QVERIFY(d->isVisible());
            // The code chosen in the list: its card.
            child<QComboBox>(d, "ComboBox1")->setCurrentIndex(0);
            names << edit(d, "Edit1")->text();
            // Edited and closed at once: stored all the same.
            edit(d, "Edit4")->setText(u("3"));
        });
        QCOMPARE(names, QStringList(
                            {u("AUTRE"), u("1998"), u("EXEMPLE SA"), u("EXEMPLE SA"), u("AUTRE")}));
        QCOMPARE(doc->bourse->data().cards(),
                 QStringList({u("013000\tAUTRE\t1998\t\t3,00\t\t\t\t\t"),
                              u("012000\tEXEMPLE SA\t\t\t\t\t\t\t\t")}));
    }

    void cards_addStartsEmpty_andNewCodeIsKept()
    {
        doc->bourse->data().setCards({u("013000\tAUTRE\t1998\t1,00\t\t\t\t\t\t\tvu")});
        run(true, [&](QDialog *d) {
            trigger(d, "ActionAjouter");
            for (const char *name : {"Edit1", "Edit2", "Edit3"})
                QCOMPARE(edit(d, name)->text(), QString());
            QCOMPARE(child<QPlainTextEdit>(d, "Memo1")->toPlainText(), QString());
            child<QComboBox>(d, "ComboBox1")->setEditText(u("099000"));
            edit(d, "Edit1")->setText(u("NOUVEAU"));
            trigger(d, "ActionPrecedente");
            QCOMPARE(edit(d, "Edit1")->text(), u("EXEMPLE SA"));
        });
        QCOMPARE(doc->bourse->data().cards(),
                 QStringList({u("013000\tAUTRE\t1998\t1,00\t\t\t\t\t\t\tvu"),
                              u("012000\tEXEMPLE SA\t\t\t\t\t\t\t\t"),
                              u("099000\tNOUVEAU\t\t\t\t\t\t\t\t")}));
    }

    // --- Press notes ------------------------------------------------------------

    void press_firstNoteFromEmptyList()
    {
        QString name;
        QDate date;
        run(false, [&](QDialog *d) {
            QCOMPARE(d->windowTitle(), u("Vu dans la presse"));
            QCOMPARE(QApplication::focusWidget(), edit(d, "Edit2"));
            date = child<QDateEdit>(d, "DateTimePicker1")->date();
            child<QComboBox>(d, "ComboBox1")->setCurrentIndex(1);
            name = edit(d, "Edit1")->text();
            typeText(u("Fusion"));
            pressKey(Qt::Key_PageDown);
        });
        QCOMPARE(date, QDate(2001, 3, 15));
        QCOMPARE(name, u("EXEMPLE SA"));
        QCOMPARE(doc->bourse->data().pressNotes(),
                 QStringList{u("20010315\t012000\tEXEMPLE SA\tFusion")});
    }

    void press_unreadableDateShowsItsOwnNote()
    {
        doc->bourse->data().setPressNotes(
            {u("19990105\t013000\tAUTRE\tA"), u("19991332\t012000\tEXEMPLE SA\tB\ttexte")});
        QStringList seen;
        run(false, [&](QDialog *d) {
            pressKey(Qt::Key_PageDown);
            seen << child<QDateEdit>(d, "DateTimePicker1")->text() << edit(d, "Edit2")->text()
                 << child<QPlainTextEdit>(d, "Memo1")->toPlainText();
            pressKey(Qt::Key_PageUp);
            seen << edit(d, "Edit2")->text();
        });
        QCOMPARE(seen, QStringList({u("32/13/1999"), u("B"), u("texte"), u("A")}));
        QCOMPARE(doc->bourse->data().pressNotes(),
                 QStringList({u("19990105\t013000\tAUTRE\tA"),
                              u("19991332\t012000\tEXEMPLE SA\tB\ttexte")}));
    }

    void press_searchCancelledUsesTheCodeShown()
    {
        doc->bourse->data().setPressNotes({u("19990105\t012000\tEXEMPLE SA\tun"),
                                           u("19990106\t013000\tAUTRE\tdeux"),
                                           u("19990107\t012000\tEXEMPLE SA\ttrois")});
        doc->prompts.inputs << std::nullopt << u("013000");
        QStringList subjects;
        run(false, [&](QDialog *d) {
            trigger(d, "ActionDernier");
            trigger(d, "ActionRechercher"); // cancelled: 012000, the code shown
            subjects << edit(d, "Edit2")->text();
            trigger(d, "ActionSuivant");
            subjects << edit(d, "Edit2")->text();
            trigger(d, "ActionRechercher");
            subjects << edit(d, "Edit2")->text();
        });
        QCOMPARE(subjects, QStringList({u("un"), u("trois"), u("deux")}));
        QVERIFY(doc->prompts.log.contains(u("input: Rechercher|Code")));
    }

    void press_sortedAtClosing()
    {
        doc->bourse->data().setPressNotes({u("19990320\t012000\tEXEMPLE SA\tmars")});
        run(false, [&](QDialog *d) {
            trigger(d, "ActionAjouter");
            child<QDateEdit>(d, "DateTimePicker1")->setDate(QDate(1999, 1, 5));
            child<QComboBox>(d, "ComboBox1")->setEditText(u("013000"));
            edit(d, "Edit2")->setText(u("janvier"));
            trigger(d, "ActionPremier");
        });
        QCOMPARE(doc->bourse->data().pressNotes(),
                 QStringList({u("19990105\t013000\tAUTRE\tjanvier"),
                              u("19990320\t012000\tEXEMPLE SA\tmars")}));
    }
};

QTEST_MAIN(TestNotesWindows)
#include "tst_noteswindows.moc"

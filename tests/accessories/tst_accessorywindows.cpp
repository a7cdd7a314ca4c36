// The desk accessories opened from "&Utilitaires" of the main frame: keys,
// focus and what the user sees, the clock's setter seam and the notepad's
// file.
#include "accessories/TBlocnotes.h"
#include "accessories/THorloge.h"
#include "accessories/pocket.h"
#include "app/TMainForm.h"
#include "print/PrintPreview.h"
#include "print/printer.h"
#include "testkit.h"

#include <QCalendarWidget>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace
{

// Records the moments "Set" asks for instead of setting the machine's clock.
class FakeSetter : public ClockSetter
{
public:
    FakeSetter() { ClockSetter::install(this); }
    ~FakeSetter() override { ClockSetter::install(nullptr); }
    bool set(const QDateTime &localTime) override
    {
        asked.append(localTime);
        return false; // refused, as without rights
    }
    QList<QDateTime> asked;
};

QString text(QDialog *d, const char *name)
{
    if (auto *l = child<QLabel>(d, name)) return l->text();
    if (auto *e = child<QLineEdit>(d, name)) return e->text();
    return u("<none>");
}

void click(QDialog *d, const char *name)
{
    auto *b = child<QAbstractButton>(d, name);
    if (!b) qFatal("no button %s", name);
    b->click();
}

} // namespace

class TestAccessoryWindows : public QObject
{
    Q_OBJECT

    std::optional<StartFixture> env;
    std::unique_ptr<TMainForm> form;
    FakeSetter setter;

    // Opens the entry with `body` run on its window, which then closes.
    void open(const char *entry, std::function<void(QDialog *)> body)
    {
        env->prompts.dialogs << [body](QDialog *d) {
            body(d);
            return int(QDialog::Rejected);
        };
        QAction *a = form->findChild<QAction *>(QLatin1String(entry));
        QVERIFY(a && a->isEnabled());
        a->trigger();
        QVERIFY(env->prompts.dialogs.isEmpty());
    }

private slots:
    void init()
    {
        env.emplace(QDateTime(QDate(2000, 2, 29), QTime(10, 59, 30)));
        form = std::make_unique<TMainForm>();
        form->show();
    }
    void cleanup()
    {
        form.reset();
        env.reset();
    }

    // --- Calculator -------------------------------------------------------------

    void pocket_keysWorkWhateverHasTheFocus_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::newRow("=") << u("BtnEgal");
        QTest::newRow("sqr") << u("BtnRacine");
        QTest::newRow("1/x") << u("BtnInverse");
        QTest::newRow("Fermer") << u("BtnFermer");
    }
    void pocket_keysWorkWhateverHasTheFocus()
    {
        QFETCH(QString, focus);
        QString shown, focused, said;
        open("miPocket", [&](QDialog *d) {
            QCOMPARE(d->windowTitle(), u("Calculatrice"));
            focused =
                QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            d->findChild<QWidget *>(focus)->setFocus();
            typeText(u("12+3"));
            pressKey(Qt::Key_Return);
            shown = text(d, "Edit1");
            said = d->findChild<QWidget *>(u("Edit1"))->accessibleName();
        });
        QCOMPARE(focused, u("BtnEgal"));
        QCOMPARE(shown, u("15"));
        QCOMPARE(said, u("Affichage : 15")); // the figure said to screen readers
    }

    void pocket_stateLastsWhileTheProgramRuns()
    {
        QString before, after;
        open("miPocket", [&](QDialog *d) {
            typeText(u("7/2="));
            before = text(d, "Edit1");
        });
        // The next opening clears it: the display, the accumulator.
        open("miPocket", [&](QDialog *d) {
            after = text(d, "Edit1");
            typeText(u("="));
        });
        QCOMPARE(before, u("3,5"));
        QCOMPARE(after, QString());
        QVERIFY(!PocketCalc::shared().isLoaded());
    }

    void pocket_refusalIsShown()
    {
        QString shown;
        open("miPocket", [&](QDialog *d) {
            typeText(u("5/0="));
            shown = text(d, "Edit1");
        });
        QCOMPARE(shown, u("0"));
        QCOMPARE(env->prompts.said(u("error")), QStringList{u("Division flottante par zéro")});
    }

    // --- Euro converter ---------------------------------------------------------

    void eurof_convertsWithKeysOnAnyControl()
    {
        QString euros, francs, rate, cleared;
        open("miEurof", [&](QDialog *d) {
            QCOMPARE(d->windowTitle(), u("Euro convertisseur"));
            QCOMPARE(QApplication::focusWidget()->objectName(), u("BtnEgal"));
            QCOMPARE(text(d, "Edit3"), u("6,55957"));
            typeText(u("100"));
            pressKey(Qt::Key_Return);
            euros = text(d, "Edit2");
            QCOMPARE(d->findChild<QWidget *>(u("Edit2"))->accessibleName(), u("Résultat : 15,24"));
            // The direction chosen with the keyboard: typing still reaches it.
            auto *toFrancs = child<QRadioButton>(d, "RadioButton2");
            toFrancs->setFocus();
            toFrancs->click();
            typeText(u("1"));
            cleared = text(d, "Edit2");
            pressKey(Qt::Key_Enter);
            francs = text(d, "Edit2");
            click(d, "UpDown1Up");
            click(d, "UpDown1Up");
            rate = text(d, "Edit3");
        });
        QCOMPARE(euros, u("15,24"));
        QCOMPARE(cleared, QString());
        QCOMPARE(francs, u("6,6"));
        QCOMPARE(rate, u("6,55959"));
    }

    // --- Calendar ---------------------------------------------------------------

    void calendrier_pagesThroughMonths()
    {
        QStringList headings;
        QDate last;
        open("miCalendrier", [&](QDialog *d) {
            auto *grid = child<QCalendarWidget>(d, "Calendar1");
            QCOMPARE(grid->firstDayOfWeek(), Qt::Sunday);
            QCOMPARE(grid->selectedDate(), QDate(2000, 2, 29));
            headings << text(d, "Label1");
            for (int i = 0; i < 12; ++i)
                pressKey(Qt::Key_PageDown);
            headings << text(d, "Label1");
            last = grid->selectedDate();
            click(d, "BtnMoisPrec");
            headings << text(d, "Label1");
        });
        QCOMPARE(last, QDate(2001, 2, 28));
        QCOMPARE(headings,
                 QStringList({u("février  2000"), u("février  2001"), u("janvier  2001")}));
    }

    // --- Clock ------------------------------------------------------------------

    void horloge_setWritesTheFrozenDisplay()
    {
        QStringList shown;
        open("miHorloge", [&](QDialog *d) {
            auto *h = static_cast<THorloge *>(d);
            shown << text(d, "LabelHeure") + u(" ") + text(d, "LabelDate");
            QCOMPARE(h->field(), ClockFace::None);
            click(d, "BtnSet");
            QVERIFY(h->settingMode());
            // Frozen: no tick refreshes the displays.
            QVERIFY(!child<QTimer>(d, "Timer1")->isActive());
            env->clock->clock.set(QDateTime(QDate(2000, 2, 29), QTime(11, 0, 5)));
            click(d, "RadioMn");
            click(d, "UpDown1Up");
            click(d, "RadioJo");
            click(d, "UpDown1Up");
            click(d, "RadioHr");
            click(d, "UpDown1Down");
            shown << text(d, "LabelHeure") + u(" ") + text(d, "LabelDate");
            click(d, "BtnSet");
            QVERIFY(!h->settingMode());
            QVERIFY(child<QTimer>(d, "Timer1")->isActive());
            shown << text(d, "LabelHeure") + u(" ") + text(d, "LabelDate");
        });
        QCOMPARE(shown, QStringList({u("10:59:30 29/02/2000"), u("09:59:30 29/02/2000"),
                                     u("11:00:05 29/02/2000")}));
        // The refusal says nothing; only the fake setter was asked.
        QCOMPARE(setter.asked, QList<QDateTime>{QDateTime(QDate(2000, 2, 29), QTime(9, 59, 30))});
        QCOMPARE(env->prompts.log.filter(u("error")), QStringList());
    }

    // --- Notepad ----------------------------------------------------------------

    void blocnotes_savesOnlyWhenModified()
    {
        // No file and nothing typed: no file.
        open("miBlocnotes", [](QDialog *d) { QCOMPARE(d->windowTitle(), u("Bloc-notes")); });
        QVERIFY(!env->dir.exists(u("Valmeq.nte")));
        // Typed: the file holds the page.
        open("miBlocnotes", [](QDialog *d) {
            QCOMPARE(QApplication::focusWidget()->objectName(), u("Memo1"));
            typeText(u("Achat Total"));
            pressKey(Qt::Key_Return);
            child<QPlainTextEdit>(d, "Memo1")->insertPlainText(u("à 120 €"));
        });
        QCOMPARE(env->dir.bytes(u("Valmeq.nte")), QByteArray("Achat Total\r\n\xe0 120 \x80\r\n"));
        // Opened and closed untouched: the file is not written again.
        const QDateTime written = QFileInfo(env->dir.file(u("Valmeq.nte"))).lastModified();
        QFile::setPermissions(env->dir.file(u("Valmeq.nte")), QFile::ReadOwner);
        QString page;
        open("miBlocnotes",
             [&](QDialog *d) { page = child<QPlainTextEdit>(d, "Memo1")->toPlainText(); });
        QCOMPARE(page, u("Achat Total\nà 120 €"));
        QCOMPARE(QFileInfo(env->dir.file(u("Valmeq.nte"))).lastModified(), written);
        QCOMPARE(env->prompts.said(u("error")), QStringList());
    }

    void blocnotes_refusesWhatTheFileCannotHold()
    {
        env->dir.write(u("Valmeq.nte"), {u("ancien")});
        open("miBlocnotes", [](QDialog *d) {
            auto *memo = child<QPlainTextEdit>(d, "Memo1");
            memo->moveCursor(QTextCursor::End);
            memo->insertPlainText(u(" Łódź"));
            d->reject();
            // Still open, the page can be mended.
            QVERIFY(d->isVisible());
            memo->selectAll();
            memo->insertPlainText(u("Lodz"));
            d->reject();
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(env->prompts.said(u("error")).size(), 1);
        QVERIFY(env->prompts.said(u("error")).value(0).contains(u("« Ł »")));
        QCOMPARE(env->dir.lines(u("Valmeq.nte")), QStringList{u("Lodz")});
    }

    void blocnotes_printsEveryLineOnPages()
    {
        TBlocnotes notes;
        QStringList lines;
        for (int i = 1; i <= 150; ++i)
            lines << u("ligne %1").arg(i);
        env->dir.write(u("Valmeq.nte"), lines);
        notes.Charge(env->dir.file(u("Valmeq.nte")));
        QVERIFY(!notes.isModified());
        const QString pdf = env->dir.file(u("page.pdf"));
        QPrinter &printer = sharedPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        // The preview comes first and shows the same pages; nothing is
        // printed before the user confirms.
        int previewed = 0;
        bool printedEarly = true;
        env->prompts.dialogs << [&](QDialog *d) {
            auto *preview = qobject_cast<PrintPreview *>(d);
            previewed = preview ? preview->pageCount() : -1;
            printedEarly = QFile::exists(pdf);
            return int(QDialog::Accepted);
        };
        notes.Imprimer();
        printer.setOutputFileName(QString());
        QCOMPARE(env->prompts.said(u("window")),
                 QStringList{u("Aperçu avant impression - Bloc-notes")});
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        // 150 lines do not fit one A4 page in the page's font, and no line
        // leaves a page empty.
        const qsizetype pages = bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                                bytes.count("/Type /Page ") + bytes.count("/Type /Page/");
        QVERIFY2(pages >= 2 && pages <= 4, QByteArray::number(pages));
        QCOMPARE(previewed, int(pages));
        QVERIFY(!printedEarly);
    }
};

QTEST_MAIN(TestAccessoryWindows)
#include "tst_accessorywindows.moc"

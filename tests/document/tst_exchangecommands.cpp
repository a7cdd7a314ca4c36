// The import and export commands of the document window, through their
// dialogs and the scripted file dialogs.
#include "base/formats.h"
#include "base/textfile.h"
#include "document/ExchangeCommands.h"
#include "exchange/TImport.h"
#include "exchange/importing.h"
#include "testkit.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// ALPHA 012000 and BETA 013000, last quotation on Thursday 14 January 1999.
const QStringList kStore{ql("19990111", "012000", "ALPHA", "100,00", "10"),
                         ql("19990111", "013000", "BETA", "50,00", "20"),
                         ql("19990114", "012000", "ALPHA", "101,00", "11")};

// Remembers the name each save dialog proposed.
class RecordingPrompts : public ScriptedPrompts
{
public:
    QStringList proposed;
    QStringList filters;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &p,
                         const QString &filter, const QString &suffix) override
    {
        proposed.append(p);
        filters.append(filter);
        return ScriptedPrompts::saveFileName(parent, caption, p, filter, suffix);
    }
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        filters.append(filter);
        return ScriptedPrompts::openFileName(parent, caption, dir, filter);
    }
};

enum class Close { Ok, Cancel, Escape };

const QString kFilter = u"Fichiers de cours (*.txt *.inf *.csv *.tsv);;Tous les fichiers (*)"_s;

QString cell(QTableWidget *grid, int r, int c)
{
    const QTableWidgetItem *item = grid->item(r, c);
    return item ? item->text() : QString();
}

} // namespace

Q_DECLARE_METATYPE(Close)

class TestExchangeCommands : public QObject
{
    Q_OBJECT

    std::optional<DocumentFixture> doc;
    TBourse *b = nullptr;
    // Installed over the fixture's prompts for the test's lifetime.
    std::optional<RecordingPrompts> prompts;

    void load(const QStringList &lines)
    {
        prompts.reset();
        doc.emplace(lines, QSize(900, 600), QDateTime(QDate(2025, 6, 15), QTime(12, 0)));
        prompts.emplace();
        b = doc->bourse.get();
        b->data().clearUndo();
    }
    void run(const std::function<void()> &command) { runCommand(b, command); }

    // Runs an import of these file lines, the dialog set by `fill` and closed
    // by `close`.
    void import(bool codeFirst, const QStringList &file, Close close,
                const std::function<void(TImport *)> &fill)
    {
        doc->dir.write(u"cours.txt"_s, file);
        prompts->fileNames = {doc->dir.file(u"cours.txt"_s)};
        prompts->dialogs = {[close, fill](QDialog *d) {
            auto *dialog = qobject_cast<TImport *>(d);
            if (!dialog) qFatal("not the import dialog");
            fill(dialog);
            if (close == Close::Escape)
                QTest::keyClick(d, Qt::Key_Escape);
            else
                QTest::mouseClick(child<QPushButton>(d, close == Close::Ok ? "OKBtn" : "CancelBtn"),
                                  Qt::LeftButton);
            return d->result();
        }};
        run([this, codeFirst] {
            if (codeFirst)
                b->exchange().Importer2();
            else
                b->exchange().Importer();
        });
    }

private slots:
    void cleanup()
    {
        prompts.reset();
        doc.reset();
    }

    void import_dialogShowsTheFile_data()
    {
        QTest::addColumn<bool>("codeFirst");
        QTest::addColumn<QStringList>("headings");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("date first")
            << false << QStringList{u"Date"_s, u"Code"_s, u"Libellé"_s, u"Cours"_s, u"Volume"_s}
            << QList<int>{80, 64, 220, 80, 80};
        QTest::newRow("code first")
            << true << QStringList{u"Code"_s, u"Libellé"_s, u"Date"_s, u"Cours"_s, u"Volume"_s}
            << QList<int>{64, 220, 80, 80, 80};
    }
    void import_dialogShowsTheFile()
    {
        QFETCH(bool, codeFirst);
        QFETCH(QStringList, headings);
        QFETCH(QList<int>, widths);
        load(kStore);
        QStringList file;
        for (int i = 1; i <= 9; ++i)
            file.append(u" %1/01/1999\t12000\tALPHA \t1\t2\tsixth"_s.arg(i + 14));
        QStringList shown, afterText, labels;
        QList<int> shownWidths;
        bool fridays = false;
        QString caption;
        import(codeFirst, file, Close::Cancel, [&](TImport *d) {
            caption = d->windowTitle();
        auto *grid = child<QTableWidget>(d, "StringGrid1");
        QCOMPARE(grid->rowCount(), 8);
        for (int c = 0; c < 5; ++c) {
            shown.append(cell(grid, 0, c));
            shownWidths.append(grid->columnWidth(c));
        }
        // Rows 1 to 7: the first seven lines, untrimmed, five fields.
        QCOMPARE(cell(grid, 1, 0), u" 15/01/1999"_s);
        QCOMPARE(cell(grid, 1, 2), u"ALPHA "_s);
        QCOMPARE(cell(grid, 7, 0), u" 21/01/1999"_s);
        QCOMPARE(grid->columnCount(), 5);
        fridays = child<QRadioButton>(d, "RadioButton2")->isChecked();
        afterText.append(child<QLineEdit>(d, "MaskEdit1")->text());
        for (QLabel *l : d->findChildren<QLabel *>())
            if (l->buddy()) labels.append(l->text());
    });
    QCOMPARE(caption, u"Importer"_s);
    QCOMPARE(shown, headings);
    QCOMPARE(shownWidths, widths);
    QVERIFY(fridays);
    QCOMPARE(afterText, QStringList{u"14/01/1999"_s});
    QCOMPARE(labels, QStringList{u"Après le"_s});
    QCOMPARE(prompts->filters, QStringList{kFilter});
}

    void import_appendsAndRefreshes_data()
{
    QTest::addColumn<bool>("codeFirst");
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<bool>("allDays");
    QTest::addColumn<QString>("after"); // typed over the proposed date; empty: kept
    QTest::addColumn<Close>("close");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QString>("said");

    const QStringList file{
        u"14/01/1999\t12000\tALPHA\t1\t1"_s,  u"15/01/1999\t12000\tALPHA\t102.5\t1500"_s,
        u"15/01/1999\t13000\tBETA\tn/a\t1"_s, u"21/01/1999\t13000\tBETA\t51\t1"_s,
        u"22/01/1999\t99000\tOMEGA\t1\t1"_s,  u"01/02/1999\t13000\tBETA\t52\t1"_s};
    QTest::newRow("fridays after the last date")
        << false << file << false << QString() << Close::Ok
        << QStringList{ql("19990115", "012000", "ALPHA", "102,5", "1500")}
        << u"1 cotation importée ; refusées : 1 de code inconnu, 3 d'autres jours que le "
           "vendredi, 1 illisible (ligne 3)"_s;
    QTest::newRow("every day after the last date")
        << false << file << true << QString() << Close::Ok
        << QStringList{ql("19990115", "012000", "ALPHA", "102,5", "1500"),
                       ql("19990121", "013000", "BETA", "51", "1"),
                       ql("19990201", "013000", "BETA", "52", "1")}
        << u"3 cotations importées ; refusées : 1 avant le 15/01/1999, 1 de code inconnu, 1 "
           "illisible (ligne 3)"_s;
    QTest::newRow("lower threshold refuses what is stored")
        << false << file << true << u"10011999"_s << Close::Ok
        << QStringList{ql("19990115", "012000", "ALPHA", "102,5", "1500"),
                       ql("19990121", "013000", "BETA", "51", "1"),
                       ql("19990201", "013000", "BETA", "52", "1")}
        << u"3 cotations importées ; refusées : 1 de code inconnu, 1 déjà présente, 1 illisible "
           "(ligne 3)"_s;
    QTest::newRow("code first") << true << QStringList{u"012000\tALPHA\t15/01/1999\t102,50\t1500"_s}
                                << false << QString() << Close::Ok
                                << QStringList{ql("19990115", "012000", "ALPHA", "102,50", "1500")}
                                << u"1 cotation importée"_s;
    QTest::newRow("cancel") << false << file << true << QString() << Close::Cancel << QStringList()
                            << QString();
    QTest::newRow("escape") << false << file << true << QString() << Close::Escape << QStringList()
                            << QString();
}
void import_appendsAndRefreshes()
{
    QFETCH(bool, codeFirst);
    QFETCH(QStringList, file);
    QFETCH(bool, allDays);
    QFETCH(QString, after);
    QFETCH(Close, close);
    QFETCH(QStringList, added);
    QFETCH(QString, said);
    load(kStore);
        import(codeFirst, file, close, [&](TImport *d) {
            if (allDays) QTest::mouseClick(child<QRadioButton>(d, "RadioButton1"), Qt::LeftButton);
        if (!after.isEmpty()) {
            auto *edit = child<QLineEdit>(d, "MaskEdit1");
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            edit->home(false);
            QTest::keyClicks(edit, after);
        }
});
QCOMPARE(prompts->said(u"error"_s), QStringList());
QCOMPARE(b->data().store(), kStore + added);
// Confirmed or not: the undo copy of the former store, the flag set.
QCOMPARE(b->data().undo(), kStore);
QVERIFY(b->data().isModified());
QCOMPARE(prompts->said(u"information"_s), said.isEmpty() ? QStringList() : QStringList{said});
// The newest date and the month shown follow the store's last line.
const QDate last = storedToDate(b->data().store().constLast().left(8));
QCOMPARE(b->data().lastDate(), last);
QCOMPARE(b->data().currentMonth(), last);
auto *months = b->findChild<QComboBox *>(u"ComboBox1"_s);
QCOMPARE(months->itemText(months->count() - 1), monthEntry(last));
QCOMPARE(months->currentText(), monthEntry(last));
}

// A file of one security with a heading line, as sites publish them.
void import_headedFile_underAChosenSecurity_data()
{
    QTest::addColumn<int>("choice");       // in the list; 2 is "Nouveau titre", -1 none
    QTest::addColumn<QString>("proposed"); // "Après le" once chosen
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("said"); // shown after the import, or the refusal
    QTest::newRow("a security of the index")
        << 1 << u"11/01/1999"_s << u"013000"_s << u"BETA"_s << u"30 cotations importées"_s;
    QTest::newRow("a new security")
        << 2 << u"__/__/____"_s << u"00MSFT"_s << u"MICROSOFT"_s << u"30 cotations importées"_s;
    QTest::newRow("none chosen") << -1 << u"14/01/1999"_s << QString() << QString()
                                 << u"Choisissez le titre de ces cours."_s;
}
void import_headedFile_underAChosenSecurity()
{
    QFETCH(int, choice);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, said);
    load(kStore);
    const QStringList file = importing::readFile(
        QDir::cleanPath(QStringLiteral(VALMEQ_TEST_DATA "/../exchange/data/msft-2000-2001.tsv")));
    QStringList entries, row;
    QString preview, proposed;
    import(false, file, Close::Ok, [&](TImport *d) {
        auto *security = child<QComboBox>(d, "ComboBox1");
    for (int i = 0; i < security->count(); ++i)
        entries.append(security->itemText(i));
    security->setCurrentIndex(choice);
    if (choice == 2) {
        QTest::keyClicks(child<QLineEdit>(d, "Edit1"), u"MSFT"_s);
        QTest::keyClicks(child<QLineEdit>(d, "Edit2"), name);
    }
    QTest::mouseClick(child<QRadioButton>(d, "RadioButton1"), Qt::LeftButton);
    proposed = child<QLineEdit>(d, "MaskEdit1")->displayText();
    d->Apercu();
    preview = child<QLabel>(d, "Label1")->text();
    auto *grid = child<QTableWidget>(d, "StringGrid1");
    for (int c = 0; c < 5; ++c)
        row.append(cell(grid, 1, c));
});
QCOMPARE(entries, (QStringList{u"012000 — ALPHA"_s, u"013000 — BETA"_s, u"Nouveau titre"_s}));
QTEST(proposed, "proposed");
QCOMPARE(row, (QStringList{u"27/09/2000"_s, code, name, u"60,625"_s, u"53077800"_s}));
if (code.isEmpty()) {
    QCOMPARE(prompts->said(u"error"_s), QStringList{said});
    QCOMPARE(b->data().store(), kStore);
    return;
}
QCOMPARE(preview, u"30 cotations à importer"_s);
QCOMPARE(prompts->said(u"information"_s), QStringList{said});
const QStringList store = b->data().store();
QCOMPARE(store.size(), kStore.size() + 30);
QCOMPARE(store.last(), qline(u"20001107"_s, code, name, u"70,5"_s, u"52165600"_s));
QVERIFY(b->data().index().contains(code + name));
}

void import_failures_data()
{
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("error");
    QTest::newRow("half-typed threshold") << QStringList{u"15/01/1999\t12000\tALPHA\t1\t1"_s}
                                          << u"1501"_s << u"'15/01/' n'est pas une date correcte"_s;
    QTest::newRow("impossible threshold")
        << QStringList{u"15/01/1999\t12000\tALPHA\t1\t1"_s} << u"31021999"_s
        << u"'31/02/1999' n'est pas une date correcte"_s;
    QTest::newRow("line without a date")
        << QStringList{u"15/01/1999\t12000\tALPHA\t1\t1"_s, u"15/13/1999\t12000\tALPHA\t1"_s}
        << QString() << u"'15/13/1999' n'est pas une date correcte"_s;
}
void import_failures()
{
    QFETCH(QStringList, file);
    QFETCH(QString, after);
    QFETCH(QString, error);
    load(kStore);
        import(false, file, Close::Ok, [&](TImport *d) {
            QTest::mouseClick(child<QRadioButton>(d, "RadioButton1"), Qt::LeftButton);
        if (!after.isEmpty()) {
            auto *edit = child<QLineEdit>(d, "MaskEdit1");
            edit->clear();
            QTest::keyClicks(edit, after);
        }
});
QCOMPARE(prompts->said(u"error"_s), QStringList{error});
QCOMPARE(b->data().store(), kStore);
QVERIFY(!b->data().isModified());
}

void import_missingFile_isTheOpenMessage()
{
    load(kStore);
    prompts->fileNames = {doc->dir.file(u"absent.txt"_s)};
    run([this] { b->exchange().Importer(); });
    QCOMPARE(prompts->said(u"error"_s),
             QStringList{u"Ne peut ouvrir le fichier "_s + doc->dir.file(u"absent.txt"_s)});
    QCOMPARE(b->data().store(), kStore);
    QVERIFY(!b->data().isModified());
}

void import_cancelledFileDialog_doesNothing()
{
    load(kStore);
    prompts->fileNames = {QString()};
    run([this] { b->exchange().Importer2(); });
    QVERIFY(!b->data().isModified());
    QCOMPARE(b->data().undo(), QStringList());
}

void export_writesTheShownList_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArray>("expected"); // empty: no dialog at all
    QTest::newRow("month") << int(TBourse::PageJournal)
                           << crlf({u"11/01/1999\t012000\tALPHA\t100,00\t10"_s,
                                    u"11/01/1999\t013000\tBETA SA\t50,00\t20"_s,
                                    u"14/01/1999\t012000\tALPHA\t101,00\t11"_s});
    QTest::newRow("security") << int(TBourse::PageTitres)
                              << crlf({u"11/01/1999\t013000\tBETA SA\t50,00\t20"_s});
    QTest::newRow("month for a spreadsheet")
        << int(TBourse::PageJournal)
        << QByteArray(
               "\xEF\xBB\xBF"
               "Date;Code;Nom;Cours;Volume\r\n11/01/1999;012000;ALPHA;100,00;10\r\n"
               "11/01/1999;013000;BETA SA;50,00;20\r\n14/01/1999;012000;ALPHA;101,00;11\r\n");
    QTest::newRow("chart") << int(TBourse::PageGraphique) << QByteArray();
    QTest::newRow("entry") << int(TBourse::PageSaisie) << QByteArray();
}
void export_writesTheShownList()
{
    QFETCH(int, page);
    QFETCH(QByteArray, expected);
    QStringList store = kStore;
    store[1] = ql("19990111", "013000", "BETA SA", "50,00", "20");
    load(store);
    b->data().setCurrentSecurity(1); // BETA SA, second by name
    b->titres().LitTitre();
    b->showPage(page);
    // A file for a spreadsheet: its options proposed, taken as they are.
    const bool csv = QByteArray(QTest::currentDataTag()).contains("spreadsheet");
    const QString out = csv ? u"out.csv"_s : u"out.txt"_s;
    QString asked;
    if (csv)
        prompts->dialogs = {[&asked](QDialog *d) {
            asked = d->windowTitle();
            return int(QDialog::Accepted);
        }};
    doc->dir.writeBytes(out, "former");
    prompts->fileNames = {doc->dir.file(out)};
    run([this] { b->exchange().Exporter(); });
    QCOMPARE(prompts->said(u"error"_s), QStringList());
    if (expected.isEmpty()) {
        QCOMPARE(prompts->proposed, QStringList());
        QCOMPARE(doc->dir.bytes(out), QByteArray("former"));
        return;
    }
    QCOMPARE(doc->dir.bytes(out), expected);
    QCOMPARE(asked, csv ? u"Exporter pour un tableur"_s : QString());
    QCOMPARE(prompts->filters, QStringList{kFilter});
}

void export_proposesTheLastName()
{
    load(kStore);
    const QString first = doc->dir.file(u"a.txt"_s);
    prompts->fileNames = {first, QString(), doc->dir.file(u"b.txt"_s)};
    for (int i = 0; i < 3; ++i)
        run([this] { b->exchange().Exporter(); });
    // A cancelled dialog keeps the name.
    QCOMPARE(prompts->proposed, (QStringList{u"Export.txt"_s, first, first}));
    QVERIFY(doc->dir.exists(u"b.txt"_s));
}

void export_failure_keepsTheFormerFile()
{
    load(kStore);
    const QString target = doc->dir.file(u"absent/out.txt"_s);
    prompts->fileNames = {target};
    run([this] { b->exchange().Exporter(); });
    QCOMPARE(prompts->said(u"error"_s), QStringList{u"Ne peut créer le fichier "_s + target});
}

void export_emptyList_isAnEmptyFile()
{
    load(kStore);
    b->data().setCurrentMonth(QDate(1999, 3, 1)); // a month without quotations
    b->journal().LitMois();
    prompts->fileNames = {doc->dir.file(u"empty.txt"_s)};
    run([this] { b->exchange().Exporter(); });
    QVERIFY(doc->dir.exists(u"empty.txt"_s));
    QCOMPARE(doc->dir.bytes(u"empty.txt"_s), QByteArray());
}
}
;

QTEST_MAIN(TestExchangeCommands)
#include "tst_exchangecommands.moc"

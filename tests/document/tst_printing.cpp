// "&Imprimer..." on each page, printed for real to a PDF file, and the
// printer chosen with "Configuration imprimante...".
#include "document/PrintCommands.h"
#include "print/PrintPreview.h"
#include "print/TConfigImprimante.h"
#include "print/printer.h"
#include "testkit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>

namespace
{
QStringList store(int more = 0)
{
    QStringList lines = {ql("20010102", "012000", "ACIÉRIES", "10,50", "1200"),
                         ql("20010103", "012000", "ACIÉRIES", "12,00", "800"),
                         ql("20010104", "012000", "ACIÉRIES", "15,25", "400"),
                         ql("20010104", "013000", "BANQUE", "40,00", "70")};
    for (int i = 0; i < more; ++i)
        lines.append(qline(u("20010105"), u("2%1").arg(i, 5, 10, QLatin1Char('0')),
                           u("VALEUR %1").arg(i, 3, 10, QLatin1Char('0')), u("1,00"), u("10")));
    return lines;
}

const QDateTime kPrinted(QDate(2026, 12, 8), QTime(10, 0));

// The output of a poppler tool on a PDF file; null when it is missing.
QString poppler(const char *tool, const QStringList &arguments)
{
    const QString path = QStandardPaths::findExecutable(u(tool));
    if (path.isEmpty()) return {};
    QProcess p;
    p.start(path, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of a PDF file, pages separated by form feeds.
QString pdfText(const QString &path)
{
    return poppler("pdftotext", {u("-layout"), path, u("-")});
}

// The title a PDF file carries in its information.
QString pdfTitle(const QString &path)
{
    const QStringList info = poppler("pdfinfo", {path}).split(QLatin1Char('\n'));
    for (const QString &line : info)
        if (line.startsWith(u("Title:"))) return line.mid(6).trimmed();
    return {};
}

// The lines a printed list holds on a page `heightMm` high: from 15 mm,
// 5 mm apart, none starting within 5 mm of the bottom.
int listRowsPerPage(int heightMm)
{
    return (heightMm - 5 - 15) / 5 + 1;
}

// The preview as the user goes through it, from the keyboard: the pages are
// counted, Alt+S ("Page &suivante") moves to each next page, then Entrée
// prints or Échap cancels.
struct PreviewVisit {
    int pages = -1;
    QStringList positions;
};
std::function<int(QDialog *)> visitPreview(PreviewVisit &visit, Qt::Key choice)
{
    return [&visit, choice](QDialog *dialog) {
        auto *preview = qobject_cast<PrintPreview *>(dialog);
        if (!preview) return int(QDialog::Rejected);
        visit.pages = preview->pageCount();
        auto *position = child<QLabel>(dialog, "Position");
        visit.positions.append(position->text());
        for (int k = 1; k < visit.pages; ++k) {
            QTest::keyClick(dialog, Qt::Key_S, Qt::AltModifier);
            // A mnemonic presses its button for a moment before the click.
            (void)QTest::qWaitFor([&] { return preview->currentPage() == k + 1; }, 2000);
            visit.positions.append(position->text());
        }
        QTest::keyClick(dialog, choice);
        return dialog->result();
    };
}
} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT
private slots:
    void imprimer_printsThePageShown_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("more");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("monthly list")
            << int(TBourse::PageJournal) << 0 << u("Journal de Janvier 2001")
            << QStringList({u("Journal de Janvier 2001"), u("Cours"), u("Volume"), u("04/01/2001"),
                            u("BANQUE"), u("15,25")});
        QTest::newRow("security list")
            << int(TBourse::PageTitres) << 0 << u("Evolution de ACIÉRIES")
            << QStringList({u("Evolution de ACIÉRIES"), u("03/01/2001"), u("12,00")});
        QTest::newRow("price chart")
            << int(TBourse::PageGraphique) << 0 << u("Graphique de ACIÉRIES")
            << QStringList({u("Graphique de ACIÉRIES"), u("02/01/2001"), u("04/01/2001"),
                            u("1,2 K"), u("15,25"), u("14,06"), u("du 02/01/2001 au 04/01/2001")});
        QTest::newRow("monthly list over several pages")
            << int(TBourse::PageJournal) << 130 << u("Journal de Janvier 2001")
            << QStringList({u("VALEUR 000"), u("VALEUR 129"), u("BANQUE")});
    }
    void imprimer_printsThePageShown()
    {
        if (QStandardPaths::findExecutable(u("pdftotext")).isEmpty() ||
            QStandardPaths::findExecutable(u("pdfinfo")).isEmpty())
            QSKIP("pdftotext and pdfinfo (poppler-utils, tools/deps.sh) are not installed");
        QFETCH(int, page);
        QFETCH(int, more);
        QFETCH(QString, title);
        QFETCH(QStringList, texts);
        DocumentFixture env(store(more), QSize(800, 600), kPrinted);
        if (page == TBourse::PageGraphique)
            env.bourse->charts().Graphique();
        else
            env.bourse->showPage(page);
        const QString pdf = env.dir.file(u("page.pdf"));
        QPrinter &printer = sharedPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        const int rows = 4 + more;
        const int pages = page == TBourse::PageGraphique
                              ? 1
                              : (rows + listRowsPerPage(printer.heightMM()) - 1) /
                                    listRowsPerPage(printer.heightMM());
        env.prompts.printAnswers << true;
        PreviewVisit visit;
        env.prompts.dialogs << visitPreview(visit, Qt::Key_Return);
        env.bourse->print().Imprimer();
        QCOMPARE(env.prompts.log,
                 QStringList({u("print"), u("window: Aperçu avant impression - ") + title}));
        // The preview showed the pages the printer received.
        QCOMPARE(visit.pages, pages);
        QStringList positions;
        for (int k = 1; k <= pages; ++k)
            positions.append(u("Page %1 / %2").arg(k).arg(pages));
        QCOMPARE(visit.positions, positions);
        const QString text = pdfText(pdf);
        const QStringList printed = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(printed.size(), pages);
        for (int k = 0; k < pages; ++k) {
            const QString sheet = QString(printed[k]).remove(QLatin1Char(' '));
            QVERIFY2(sheet.contains(u("Impriméle08/12/2026-Page%1/%2").arg(k + 1).arg(pages)),
                     qPrintable(printed[k]));
            QVERIFY(sheet.contains(QString(title).remove(QLatin1Char(' '))));
        }
        // pdftotext may close up the blanks between words.
        const QString joined = QString(text).remove(QLatin1Char(' '));
        for (const QString &t : texts)
            QVERIFY2(joined.contains(QString(t).remove(QLatin1Char(' '))),
                     qPrintable(t + u(" not in:\n") + text));
        QCOMPARE(pdfTitle(pdf), title);
    }

    void imprimer_previewCancelled_printsNothing()
    {
        DocumentFixture env(store(), QSize(800, 600), kPrinted);
        const QString pdf = env.dir.file(u("annule.pdf"));
        QPrinter &printer = sharedPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        env.prompts.printAnswers << true;
        PreviewVisit visit;
        env.prompts.dialogs << visitPreview(visit, Qt::Key_Escape);
        env.bourse->print().Imprimer();
        QCOMPARE(visit.pages, 1);
        QCOMPARE(visit.positions, QStringList({u("Page 1 / 1")}));
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(env.prompts.unexpected.isEmpty());
    }

    void imprimer_cancelledOrEntryPage_printsNothing()
    {
        DocumentFixture env(store());
        const QString pdf = env.dir.file(u("none.pdf"));
        QPrinter &printer = sharedPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        env.prompts.printAnswers << false;
        env.bourse->print().Imprimer();
        QVERIFY(!QFile::exists(pdf));
        env.bourse->showPage(TBourse::PageSaisie);
        env.prompts.printAnswers << true;
        env.bourse->print().Imprimer();
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(env.prompts.log, QStringList({u("print"), u("print")}));
    }

    void configImprimante_choosesPdfPaperAndOrientation_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Annuler") << false;
    }
    void configImprimante_choosesPdfPaperAndOrientation()
    {
        QFETCH(bool, ok);
        TempStartDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        const QPrinter::OutputFormat before = printer.outputFormat();
        TConfigImprimante dialog;
        dialog.Init(printer);
        auto *printers = child<QComboBox>(&dialog, "ComboBox1");
        printers->setCurrentIndex(printers->findText(TConfigImprimante::pdfEntry()));
        QVERIFY(child<QLineEdit>(&dialog, "Edit1")->isEnabled());
        child<QLineEdit>(&dialog, "Edit1")->setText(dir.file(u("sortie.pdf")));
        auto *paper = child<QComboBox>(&dialog, "ComboBox2");
        paper->setCurrentIndex(paper->findText(u("A5")));
        child<QRadioButton>(&dialog, "RadioButton2")->setChecked(true);
        ok ? dialog.accept() : dialog.reject();
        dialog.Result(printer);
        QCOMPARE(printer.outputFormat(), ok ? QPrinter::PdfFormat : before);
        QCOMPARE(printer.outputFileName(), ok ? dir.file(u("sortie.pdf")) : QString());
        QCOMPARE(printer.pageLayout().pageSize().id(), ok ? QPageSize::A5 : QPageSize::A4);
        QCOMPARE(printer.pageLayout().orientation(),
                 ok ? QPageLayout::Landscape : QPageLayout::Portrait);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"

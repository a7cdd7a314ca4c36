// "&Imprimer..." on each page, printed for real to a PDF file, and the
// printer chosen with "Configuration imprimante...".
#include "document/PrintCommands.h"
#include "print/TConfigImprimante.h"
#include "print/printer.h"
#include "testkit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>

namespace
{
QStringList store()
{
    return {ql("20010102", "012000", "ACIÉRIES", "10,50", "1200"),
            ql("20010103", "012000", "ACIÉRIES", "12,00", "800"),
            ql("20010104", "012000", "ACIÉRIES", "15,25", "400"),
            ql("20010104", "013000", "BANQUE", "40,00", "70")};
}

// The text of a PDF file, through pdftotext.
QString pdfText(const QString &path)
{
    QProcess p;
    p.start(u("pdftotext"), {u("-layout"), path, u("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT
private slots:
    void imprimer_printsThePageShown_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("monthly list")
            << int(TBourse::PageJournal)
            << QStringList({u("Journal de Janvier 2001"), u("Cours"), u("Volume"), u("04/01/2001"),
                            u("BANQUE"), u("15,25")});
        QTest::newRow("security list")
            << int(TBourse::PageTitres)
            << QStringList({u("Evolution de ACIÉRIES"), u("03/01/2001"), u("12,00")});
        QTest::newRow("price chart")
            << int(TBourse::PageGraphique)
            << QStringList({u("Graphique de ACIÉRIES"), u("02/01/2001"), u("04/01/2001"),
                            u("1,2 K"), u("15,25"), u("14,06"), u("du 02/01/2001 au 04/01/2001")});
    }
    void imprimer_printsThePageShown()
    {
        if (QStandardPaths::findExecutable(u("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(int, page);
        QFETCH(QStringList, texts);
        DocumentFixture env(store());
        if (page == TBourse::PageGraphique)
            env.bourse->charts().Graphique();
        else
            env.bourse->showPage(page);
        const QString pdf = env.dir.file(u("page.pdf"));
        QPrinter &printer = sharedPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        env.prompts.printAnswers << true;
        env.bourse->print().Imprimer();
        // pdftotext may close up the blanks between words.
        const QString text = pdfText(pdf).remove(QLatin1Char(' '));
        for (const QString &t : texts)
            QVERIFY2(text.contains(QString(t).remove(QLatin1Char(' '))),
                     qPrintable(t + u(" not in:\n") + text));
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

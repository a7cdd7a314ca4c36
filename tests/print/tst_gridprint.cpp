// Page conventions and grid printing, printed for real to PDF files.
#include "print/pagemap.h"
#include "testkit.h"

#include <QFontMetrics>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace
{

// The text of a PDF file, pages separated by form feeds; null without
// pdftotext.
QString pdfText(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(u("pdftotext"));
    if (tool.isEmpty()) return {};
    QProcess p;
    p.start(tool, {u("-layout"), path, u("-")});
    if (!p.waitForFinished(30000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

PrintedGrid sampleGrid(int rows)
{
    PrintedGrid g;
    g.widths = {0, 178, 49, 86};
    g.font = QFont(u("Arial"), 9);
    g.screenWidth = 330;
    g.rows.append({u("Code"), u("Titre"), u("Nbr"), u("Coût net")});
    for (int r = 1; r <= rows; ++r)
        g.rows.append({u("CACHE%1").arg(r), u("Titre %1").arg(r), QString::number(r * 10),
                       u("%1,00").arg(r * 100)});
    return g;
}

} // namespace

class TestGridPrint : public QObject
{
    Q_OBJECT
private slots:
    void pageMap_millimetres_data();
    void pageMap_millimetres();
    void rset_rightAligns_data();
    void rset_rightAligns();
    void imprimeGrille_pdf_data();
    void imprimeGrille_pdf();
};

void TestGridPrint::pageMap_millimetres_data()
{
    QTest::addColumn<int>("widthPx");
    QTest::addColumn<int>("widthMm");
    QTest::addColumn<double>("mm");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("v");
    // A4 at 600 dpi: 4960 x 7016 pixels, 210 x 297 mm: 23 pixels a millimetre.
    QTest::newRow("origin shifted") << 4960 << 210 << 0.0 << 230 << 69;
    QTest::newRow("140 mm") << 4960 << 210 << 140.0 << 3450 << 3289;
    QTest::newRow("ratio truncated") << 1000 << 300 << 20.0 << 90 << 92;
}

void TestGridPrint::pageMap_millimetres()
{
    QFETCH(int, widthPx);
    QFETCH(int, widthMm);
    QFETCH(double, mm);
    QFETCH(int, h);
    QFETCH(int, v);
    const PageMap m(widthPx, widthMm, widthPx == 4960 ? 7016 : 4000, widthPx == 4960 ? 297 : 1000);
    QCOMPARE(m.Mh(mm), h);
    QCOMPARE(m.Mv(mm), v);
}

void TestGridPrint::rset_rightAligns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::newRow("short") << u(" 12,50 ") << 80;
    QTest::newRow("already wide") << u("123456789012345678901234567890") << 60;
    QTest::newRow("empty stays empty") << u("   ") << 80;
}

void TestGridPrint::rset_rightAligns()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    const QFontMetrics fm(QFont(u("Arial"), 9));
    const QString s = Rset(text, width, fm);
    if (text.trimmed().isEmpty()) {
        QVERIFY(s.isEmpty());
        return;
    }
    QVERIFY(s.endsWith(text.trimmed()));
    QVERIFY(fm.horizontalAdvance(s) > width - 10);
    // One blank fewer would fit: the text stands at the right edge.
    if (s.size() > text.trimmed().size()) QVERIFY(fm.horizontalAdvance(s.mid(1)) <= width - 10);
}

void TestGridPrint::imprimeGrille_pdf_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("pages");
    QTest::newRow("titles only") << 0 << 1;
    QTest::newRow("a few rows") << 5 << 1;
    QTest::newRow("more than a page repeats the heading") << 120 << 3;
}

void TestGridPrint::imprimeGrille_pdf()
{
    QFETCH(int, rows);
    QFETCH(int, pages);
    TempStartDir dir;
    const QString path = dir.file(u("grille.pdf"));
    {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(300);
        QCOMPARE(ImprimeGrille(pdf, sampleGrid(rows), u("Portefeuille"), rows, QDate(2024, 5, 7)),
                 pages);
    }
    const QString text = pdfText(path);
    if (text.isNull()) QSKIP("pdftotext is not installed (tools/deps.sh installs it)");
    const QStringList printed = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(printed.size(), pages);
    for (const QString &page : printed) {
        QVERIFY(page.contains(u("Portefeuille")));
        QVERIFY(page.contains(u("Imprimé le 07/05/2024")));
        QVERIFY(page.contains(u("Coût net")));
    }
    for (int r = 1; r <= rows; ++r)
        QVERIFY2(text.contains(u("Titre %1 ").arg(r)), qPrintable(QString::number(r)));
    // The hidden code column is not printed.
    QVERIFY(!text.contains(u("CACHE")));
}

QTEST_MAIN(TestGridPrint)
#include "tst_gridprint.moc"

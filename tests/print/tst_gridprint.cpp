// Page conventions and grid printing, printed for real to PDF files.
#include "print/pagemap.h"
#include "print/printedpages.h"
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
    void pageMark_text_data();
    void pageMark_text();
    void printedList_marksEveryPage_data();
    void printedList_marksEveryPage();
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
    for (int k = 0; k < pages; ++k) {
        const QString &page = printed[k];
        QVERIFY(page.contains(u("Portefeuille")));
        QVERIFY2(page.contains(u("Imprimé le 07/05/2024 - Page %1 / %2").arg(k + 1).arg(pages)),
                 qPrintable(page));
        QVERIFY(page.contains(u("Coût net")));
    }
    for (int r = 1; r <= rows; ++r)
        QVERIFY2(text.contains(u("Titre %1 ").arg(r)), qPrintable(QString::number(r)));
    // The hidden code column is not printed.
    QVERIFY(!text.contains(u("CACHE")));
}

void TestGridPrint::pageMark_text_data()
{
    QTest::addColumn<QDate>("printed");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("mark");
    QTest::newRow("one page") << QDate(2024, 5, 7) << 1 << 1
                              << u("Imprimé le 07/05/2024 - Page 1 / 1");
    QTest::newRow("day and month on two digits")
        << QDate(2026, 12, 8) << 2 << 18 << u("Imprimé le 08/12/2026 - Page 2 / 18");
}

void TestGridPrint::pageMark_text()
{
    QFETCH(QDate, printed);
    QFETCH(int, page);
    QFETCH(int, pages);
    QFETCH(QString, mark);
    QCOMPARE(pageMark(printed, page, pages), mark);
}

void TestGridPrint::printedList_marksEveryPage_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("heightMm");
    QTest::addColumn<int>("pages");
    // A4 portrait: rows from 15 mm to 292 mm, 56 a page.
    QTest::newRow("empty list") << 0 << 297 << 1;
    QTest::newRow("a full page") << 56 << 297 << 1;
    QTest::newRow("one row more") << 57 << 297 << 2;
    QTest::newRow("three pages") << 120 << 297 << 3;
    // A5 landscape, 148 mm high: 26 rows a page.
    QTest::newRow("short pages") << 100 << 148 << 4;
}

void TestGridPrint::printedList_marksEveryPage()
{
    QFETCH(int, rows);
    QFETCH(int, heightMm);
    QFETCH(int, pages);
    const PageMap map(4960, 210, 23 * heightMm, heightMm);
    QList<QStringList> lines;
    for (int r = 0; r < rows; ++r)
        lines.append({u("02/01/2001"), u("012000"), u("Titre %1").arg(r), u("1,00"), u("10")});
    const DrawSteps list = printedList({map, heightMm}, u("Journal de Janvier 2001"), lines);
    QCOMPARE(pageCount(list), pages);
    const DrawSteps marked = withPageMarks(list, map, QDate(2026, 12, 8));
    // The list itself is unchanged: the marks only come in addition.
    QCOMPARE(marked.steps().size(), list.steps().size() + 2 * pages);
    QCOMPARE(marked.only(DrawStep::NewPage).size(), pages - 1);
    // Each page ends with its own mark, right-aligned at 160 mm on the title
    // line, in Arial 8 points.
    int page = 1;
    const QList<DrawStep> &steps = marked.steps();
    for (qsizetype i = 0; i < steps.size(); ++i) {
        if (steps[i].kind != DrawStep::NewPage && i + 1 < steps.size()) continue;
        const qsizetype at = steps[i].kind == DrawStep::NewPage ? i - 1 : i;
        const DrawStep &mark = steps[at];
        QCOMPARE(mark.kind, DrawStep::TextEnd);
        QCOMPARE(mark.text, u("Imprimé le 08/12/2026 - Page %1 / %2").arg(page).arg(pages));
        QCOMPARE(mark.x, map.Mh(160));
        QCOMPARE(mark.y, map.Mv(0));
        QCOMPARE(steps[at - 1].kind, DrawStep::Font);
        QCOMPARE(steps[at - 1].size, 8);
        QVERIFY(!steps[at - 1].bold);
        ++page;
    }
    QCOMPARE(page, pages + 1);
    // The mark stays above the column titles and the rows.
    for (const DrawStep &s : marked.only(DrawStep::TextEnd))
        if (s.text.startsWith(u("Imprimé"))) QVERIFY(s.y < map.Mv(7));
}

QTEST_MAIN(TestGridPrint)
#include "tst_gridprint.moc"

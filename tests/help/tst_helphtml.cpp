// The HTML of a help page as the window shows it: the tags kept, the limits
// that hold whatever the help file holds, the shipped pages unchanged.
#include "help/helpfile.h"
#include "help/helphtml.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>
#include <QTextFrame>

using namespace Qt::StringLiterals;

class TestHelpHtml : public QObject
{
    Q_OBJECT

private slots:
    void filter_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("shown");
        QTest::newRow("image of a device dropped")
            << u"<p>x<img src=\"/dev/zero\">y</p>"_s << u"<p>xy</p>"_s;
        QTest::newRow("link to a page kept")
            << u"<a href=\"#cours\" target=_top>c</a>"_s << u"<a href=\"#cours\">c</a>"_s;
        QTest::newRow("link to a file loses its address")
            << u"<a href=\"file:///etc/hostname\">h</a>"_s << u"<a>h</a>"_s;
        QTest::newRow("script and style dropped with their text")
            << u"a<script>x<b></script>b<STYLE>p{}</style>c"_s << u"abc"_s;
        QTest::newRow("open tags closed")
            << u"<ul><li>a<li><i>b"_s << u"<ul><li>a</li><li><i>b</i></li></ul>"_s;
        QTest::newRow("stray signs escaped")
            << u"a < b & c &eacute; &#60;"_s << u"a &lt; b &amp; c &eacute; &lt;"_s;
        QTest::newRow("table in a table flattened")
            << u"<table><tr><td>a<table><tr><td>b</td></tr></table>c</td></tr></table>"_s
            << u"<table><tr><td>a   b   c</td></tr></table>"_s;
        QTest::newRow("tag never ended") << u"<p>a<img src=\"x"_s << u"<p>a</p>"_s;
    }
    void filter()
    {
        QFETCH(QString, html);
        QTEST(helphtml::filter(html), "shown");
    }

    // Each one froze the window or overflowed the stack when laid out.
    void hostilePages_areBoundedAndLaidOut_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("cut");
        QTest::newRow("3,000 nested tables") << u"<table><tr><td>x"_s.repeated(3000) << false;
        QTest::newRow("100,000 nested div") << u"<div>"_s.repeated(100000) + u"x"_s << false;
        QTest::newRow("10,000 nested bold") << u"<b>x"_s.repeated(10000) << false;
        QTest::newRow("8 MB of text") << u"mot "_s.repeated(2'000'000) << true;
        QTest::newRow("a word of 60,000 letters") << u"x"_s.repeated(60000) << false;
        QTest::newRow("100,000 paragraphs") << u"<p>a</p>"_s.repeated(100000) << true;
        QTest::newRow("5,000 columns") << u"<table><tr>"_s + u"<td>a"_s.repeated(5000) << true;
        QTest::newRow("100,000 empty elements") << u"<b></b>"_s.repeated(100000) << true;
    }
    void hostilePages_areBoundedAndLaidOut()
    {
        QFETCH(QString, html);
        QFETCH(bool, cut);
        const QString shown = helphtml::filter(html);
        QCOMPARE(shown.endsWith(u"<p>(page tronquée)</p>"_s), cut);
        QVERIFY(shown.size() < 600'000);
        QTextDocument doc;
        doc.setHtml(shown);
        doc.setTextWidth(560);
        QVERIFY(doc.size().height() > 0);
        for (const QTextFrame *table : doc.rootFrame()->childFrames())
            QVERIFY(table->childFrames().isEmpty());
        int depth = 0, deepest = 0;
        for (qsizetype i = shown.indexOf(u'<'); i >= 0; i = shown.indexOf(u'<', i + 1))
            if (shown.at(i + 1) == u'/')
                --depth;
            else if (shown.mid(i, 4) != u"<br>")
                deepest = std::max(deepest, ++depth);
        QVERIFY(deepest <= helphtml::kMaxDepth);
        if (!cut) QVERIFY(doc.toPlainText().contains(u"x"_s));
        // No line is laid out of a word longer than that.
        QVERIFY(!doc.toPlainText().contains(
            QRegularExpression(u"[^\\s\\x{200B}]{%1}"_s.arg(helphtml::kMaxWord + 1))));
    }

    void shippedPages_showTheSame()
    {
        HelpFile file;
        QVERIFY(file.load(QStringLiteral(VALMEQ_SHARED_DATA "/Valmeq.hlp")));
        QVERIFY(file.pages().size() > 20);
        for (const HelpFile::Page &p : file.pages()) {
            QTextDocument original, shown;
            original.setHtml(p.html);
            shown.setHtml(helphtml::filter(p.html));
            QCOMPARE(shown.toHtml(), original.toHtml());
        }
    }
};

QTEST_MAIN(TestHelpHtml)
#include "tst_helphtml.moc"

// The help file "Valmeq.hlp": its pages, the context numbers, the contents,
// the keyword search, and each page as the help window shows it: filtered,
// laid out at a fixed width and painted.

#include "fuzzkit.h"

#include "help/helpfile.h"
#include "help/helphtml.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTextDocument>
#include <QTextFrame>

namespace
{

// A filtered page asks for no image nor style sheet: none can be read.
class NoResources : public QTextDocument
{
protected:
    QVariant loadResource(int, const QUrl &name) override
    {
        fuzzkit::fail("a filtered page asks for a resource", name.toString());
    }
};

// Tables inside tables are what overflows the layout's stack.
int frameDepth(const QTextFrame *frame)
{
    int deepest = 0;
    for (const QTextFrame *child : frame->childFrames())
        deepest = std::max(deepest, frameDepth(child));
    return deepest + 1;
}

void render(const QString &html)
{
    const QString shown = helphtml::filter(html);
    // Text within its limit (a named entity of 32 letters is one character,
    // a zero-width space may follow), elements within theirs (a link's
    // address of 256 characters at most), and the note of a cut page.
    const qsizetype bound = helphtml::kMaxText * 40 + helphtml::kMaxElements * 300 + 1000;
    fuzzkit::check(shown.size() <= bound, "a filtered page stays within its limits");
    NoResources doc;
    doc.setHtml(shown);
    doc.setTextWidth(560);
    fuzzkit::check(frameDepth(doc.rootFrame()) <= 2, "a filtered page has one level of tables",
                   shown.left(2000));
    QImage image(560, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    doc.drawContents(&painter, QRectF(0, 0, 560, 400));
}

} // namespace

// The fonts a page needs are loaded once, into caches kept for the whole run
// in the thread's storage, where the leak checker does not look; a page of an
// unseen script loads one more. Allocations made inside Qt Gui and the font
// libraries are therefore not reported; the filter's (Qt Core, ours) are.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libQt6Gui.so\nleak:libfontconfig.so\nleak:libfreetype.so\nleak:libharfbuzz.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzkit::quiet();
    // The layout needs fonts, hence an application of the window system;
    // without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_helpfile";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    // Every font of the kept tags loaded before the first input.
    render(
        QStringLiteral("<h1>a</h1><h2>b</h2><h3>c</h3><h4>d</h4><h5>e</h5><h6>f</h6>"
                       "<p><b>g</b> <i>h</i> <u>i</u> <code>j</code> <em>k</em> <strong>l</strong>"
                       "<a href=\"#m\">m</a></p><pre>n</pre><ul><li>o</li></ul><ol><li>p</li>"
                       "</ol><table><tr><th>q</th><td>r</td></tr></table>"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString name = QStringLiteral("Valmeq.hlp");
    fuzzkit::write(name, fuzzkit::bytes(data, size));
    HelpFile help;
    if (!help.load(fuzzkit::dir() + QLatin1Char('/') + name)) fuzzkit::fail("the help file reads");
    QSet<int> contexts;
    for (const HelpFile::Page &p : help.pages()) {
        fuzzkit::check(help.page(p.id) != nullptr, "a page is found by its id", p.id);
        for (int c : p.contexts)
            contexts.insert(c);
    }
    for (int c : contexts)
        fuzzkit::check(help.context(c) != nullptr, "a context number reaches a page");
    help.context(-1);
    help.contents();
    help.usingHelp();
    const QStringList keywords = help.keywords();
    for (qsizetype i = 0; i < keywords.size() && i < 50; ++i)
        fuzzkit::check(!help.pagesFor(keywords.at(i)).isEmpty(), "a keyword lists its pages",
                       keywords.at(i));
    // An input without a page mark is shown whole, so that the filter is
    // reached without one.
    render(help.pages().isEmpty() ? QString::fromUtf8(fuzzkit::bytes(data, size)) : QString());
    for (qsizetype i = 0; i < help.pages().size() && i < 8; ++i)
        render(help.pages().at(i).html);
    return 0;
}

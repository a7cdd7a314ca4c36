// The help file "Valmeq.hlp": its pages, the context numbers, the contents,
// the keyword search.

#include "fuzzkit.h"

#include "help/helpfile.h"

#include <QSet>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzkit::quiet();
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
    return 0;
}

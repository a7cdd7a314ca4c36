// The three list files read at start: the same bytes as the security cards
// "Valmeq.trt", the press notes "Valmeq.prc" and the download sites
// "Valmeq.sit", then the windows' logic over them (moving from record to
// record, storing the record shown, searching, sorting, the site list's
// changes) without any window.

#include "fuzzkit.h"

#include "base/errors.h"
#include "exchange/sites.h"
#include "notes/cards.h"
#include "notes/press.h"
#include "quotes/BourseData.h"
#include "quotes/store.h"

namespace
{

const int kMoves = 40; // records visited at most by each walk

void walkCards(const QStringList &index, const QStringList &list)
{
    for (const QString &line : list) {
        // Once stored a card reads and stores back the same.
        const QString once = cards::write(cards::read(line));
        const QString twice = cards::write(cards::read(once));
        fuzzkit::check(twice == once, "a card stored twice is the same",
                       line + QLatin1Char('\n') + once + QLatin1Char('\n') + twice);
    }
    CardBook book;
    book.Init(index, list);
    book.codes();
    try {
        for (int i = 0; i < kMoves && book.onCard(); ++i) {
            const cards::Card shown = book.current();
            book.next(shown);
        }
        book.previous(book.current());
        if (!index.isEmpty()) book.chooseCode(book.current(), index.first().left(6));
        book.remove(book.current());
        book.add(book.current());
        cards::Card fresh;
        fresh.code = QStringLiteral("999999");
        fresh.name = QStringLiteral("NOUVEAU");
        book.EcritFiche(fresh);
        fuzzkit::check(cards::exists(book.cards(), fresh.code), "a card added is stored");
    } catch (const VError &) {
        // A card holding what the file cannot hold is refused.
    }
}

void walkNotes(const QStringList &index, const QStringList &list)
{
    for (const QString &line : list) {
        const QString once = press::write(press::read(line));
        const QString twice = press::write(press::read(once));
        fuzzkit::check(twice == once, "a note stored twice is the same",
                       line + QLatin1Char('\n') + once + QLatin1Char('\n') + twice);
    }
    QStringList sorted = list;
    press::sort(sorted);
    fuzzkit::check(sorted.size() == list.size(), "sorting keeps every note");
    NoteBook book;
    book.Init(index, list);
    book.codes();
    try {
        book.first(book.current());
        for (int i = 0; i < kMoves && book.onNote(); ++i)
            book.next(book.current());
        book.last(book.current());
        book.previous(book.current());
        const QString code = book.current().code;
        book.Rechercher(book.current(), code.isEmpty() ? QStringLiteral("120090") : code);
        for (int i = 0; i < kMoves && book.Cherche(book.current()); ++i) {
        }
        book.remove(book.current());
        fuzzkit::check(!book.notes().isEmpty(), "at least one note line stays");
        book.add(book.current());
        book.codeChanged(QStringLiteral("120090"));
        book.Result(book.current());
    } catch (const VError &) {
    }
}

void walkSites(QStringList list)
{
    for (const QString &line : list) {
        const sites::Site s = sites::split(line);
        const QString once = sites::join(s.name, s.url, s.path);
        const sites::Site t = sites::split(once);
        fuzzkit::check(sites::join(t.name, t.url, t.path) == once,
                       "a site stored twice is the same", line);
    }
    int position = 0;
    for (qsizetype i = 0; i < list.size() && i < kMoves; ++i) {
        const sites::Site s = sites::split(list.at(i));
        const int found = sites::find(list, s.name);
        fuzzkit::check(found <= i, "a site is found at its place or before", s.name);
    }
    if (!list.isEmpty()) {
        const sites::Site s = sites::split(list.first());
        sites::apply(list, s.name, s.url + QStringLiteral("/x"), s.path);
        position = sites::erase(list, s.name, 0);
        fuzzkit::check(list.isEmpty() ? position == 0 : position >= 0 && position < list.size(),
                       "the position after a deletion is in the list");
    }
    sites::apply(list, QStringLiteral("Nouveau"), QStringLiteral("http://exemple.fr/a.txt"),
                 QStringLiteral("a.txt"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzkit::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzkit::bytes(data, size);
    for (const char *name : {"Valmeq.trt", "Valmeq.prc", "Valmeq.sit"})
        fuzzkit::write(QString::fromLatin1(name), bytes);
    BourseData doc(fuzzkit::dir());
    doc.ChargeIni();
    static const QStringList index = buildIndex(fuzzkit::sampleStore());
    walkCards(index, doc.cards());
    walkNotes(index, doc.pressNotes());
    walkSites(doc.sites());
    return 0;
}

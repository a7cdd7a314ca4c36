// The card and press-note records and their navigation rules, without the
// windows.
#include "base/errors.h"
#include "notes/cards.h"
#include "notes/press.h"
#include "notes/recordbook.h"
#include "testkit.h"

#include <QTest>

#include <map>

using cards::Card;
using press::Note;

namespace
{

const QStringList kIndex{u("013000AUTRE"), u("012000EXEMPLE SA"), u("014000ZETA")};

Card card(const char *code, const char *name, const char *year = "")
{
    Card c;
    c.code = u(code);
    c.name = u(name);
    c.year = u(year);
    return c;
}

Note note(const char *date, const char *code, const char *subject)
{
    Note n;
    n.date = u(date);
    n.code = u(code);
    n.subject = u(subject);
    return n;
}

// Records that are their own lines: the plain book, the book that keeps one
// line and leaves an empty line empty for a blank record, and the book that
// appends a new record typed past the last.
struct PlainLines {
    using Record = QString;
    static QString read(const QString &line) { return line; }
    static QString write(const QString &record) { return record; }
};
struct KeptLines : PlainLines {
    static constexpr bool keepsOneLine = true;
    static bool isBlank(const QString &shown) { return shown.trimmed().isEmpty(); }
};
struct GrowingLines : PlainLines {
    static bool isNew(const QStringList &lines, const QString &shown)
    {
        return !shown.isEmpty() && !lines.contains(shown);
    }
};

// Plays steps such as "n" (next with the record as read) or "p=x" (previous
// with "x" on display); a refused step is passed over.
template <typename Format>
std::pair<int, QStringList> play(const QStringList &lines, const QStringList &steps)
{
    struct Book : RecordBook<Format> {
        using RecordBook<Format>::open;
    } book;
    book.open({}, lines);
    using Move = void (RecordBook<Format>::*)(const QString &);
    const std::map<QChar, Move> moves{{u'f', &Book::first}, {u'p', &Book::previous},
                                      {u'n', &Book::next},  {u'l', &Book::last},
                                      {u'a', &Book::add},   {u'r', &Book::remove}};
    for (const QString &step : steps) {
        const QString shown = step.size() > 1 ? step.mid(2) : book.current();
        try {
            (book.*moves.at(step[0]))(shown);
        } catch (const VError &) {
        }
    }
    return {book.position(), book.lines()};
}

QStringList split(const char *text)
{
    return u(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class TestNotes : public QObject
{
    Q_OBJECT

private slots:
    // --- Card lines -------------------------------------------------------------

    void cardLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("written");
        QTest::newRow("automatic card") << u("012000\tALPHA") << u("012000\tALPHA\t\t\t\t\t\t\t\t");
        QTest::newRow("full card with a two-line comment")
            << u("012000\tALPHA\t1998\t1200,00\t300,00\t12,50\t4,00\t10,00\t,50\t15,20\tbon "
                 "titre\tà suivre")
            << u("012000\tALPHA\t1998\t1200,00\t300,00\t12,50\t4,00\t10,00\t,50\t15,20\tbon "
                 "titre\tà suivre");
        QTest::newRow("figures rewritten #.00 when stored")
            << u("012000\tALPHA\t1998\t12,5\t0,5\t1,2,3\t\t7\t\t\t")
            << u("012000\tALPHA\t1998\t12,50\t,50\t1,2,3\t\t7,00\t\t\t");
        QTest::newRow("empty comment line kept") << u("012000\tA\t\t\t\t\t\t\t\t\tun\t\tdeux")
                                                 << u("012000\tA\t\t\t\t\t\t\t\t\tun\t\tdeux");
        const QString longComment = QString(400, QLatin1Char('x'));
        QTest::newRow("long comment read and written whole")
            << u("012000\tA\t\t\t\t\t\t\t\t\t") + longComment
            << u("012000\tA\t\t\t\t\t\t\t\t\t") + longComment;
    }
    void cardLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, written);
        QCOMPARE(cards::write(cards::read(line)), written);
    }

    void cardFields_lineBreaksAndTabsBecomeSpaces()
    {
        Card c = card("012000", "AL\tPHA");
        c.comment = {u("un\tdeux"), u("trois\rquatre")};
        QCOMPARE(cards::write(c), u("012000\tAL PHA\t\t\t\t\t\t\t\t\tun deux\ttrois quatre"));
    }

    // --- Card navigation --------------------------------------------------------

    void init_givesEveryIndexedSecurityACard()
    {
        CardBook book;
        book.Init(kIndex, {u("012000\tEXEMPLE SA\t1999\t\t\t\t\t\t\t")});
        QCOMPARE(book.cards(), QStringList({u("012000\tEXEMPLE SA\t1999\t\t\t\t\t\t\t"),
                                            u("013000\tAUTRE"), u("014000\tZETA")}));
        QCOMPARE(book.codes(), QStringList({u("013000"), u("012000"), u("014000")}));
        QCOMPARE(book.position(), 0);
        QCOMPARE(book.current().year, u("1999"));
    }

    void navigation_storesTheCardOnDisplay()
    {
        CardBook book;
        book.Init(kIndex, {});
        // Card 0 (AUTRE) edited, then "Fiche suivante": stored, with the code
        // of the code box.
        Card shown = book.current();
        shown.year = u("2000");
        shown.code = u("013001");
        book.next(shown);
        QCOMPARE(book.position(), 1);
        QCOMPARE(book.cards()[0], u("013001\tAUTRE\t2000\t\t\t\t\t\t\t"));
        // Past the end and before the start: the position stays.
        book.next(book.current());
        book.next(book.current());
        QCOMPARE(book.position(), 2);
        book.previous(book.current());
        book.previous(book.current());
        book.previous(book.current());
        QCOMPARE(book.position(), 0);
    }

    void chooseCode_storesWithTheCodeShownAndFindsByCode()
    {
        CardBook book;
        book.Init(kIndex, {u("014000\tZETA"), u("012000\tEXEMPLE SA")});
        Card shown = book.current(); // ZETA
        shown.name = u("ZETA SA");
        QVERIFY(book.chooseCode(shown, u("013000")));
        QCOMPARE(book.position(), 2); // AUTRE, appended by Init
        QCOMPARE(book.cards()[0], u("014000\tZETA SA\t\t\t\t\t\t\t\t"));
        // An unknown code: the card stays.
        QVERIFY(!book.chooseCode(book.current(), u("0130")));
        QCOMPARE(book.position(), 2);
    }

    void add_thenNewCode_appendsACard()
    {
        CardBook book;
        book.Init(kIndex, {});
        book.add(book.current());
        QCOMPARE(book.position(), 3);
        QVERIFY(!book.onCard());
        // "Supprimer titre" there does nothing.
        book.remove(card("099000", "NOUVEAU"));
        QCOMPARE(book.cards().size(), 3);
        // A code of no card, then a move: the card is added.
        book.previous(card("099000", "NOUVEAU", "2001"));
        QCOMPARE(book.cards().size(), 4);
        QCOMPARE(book.cards()[3], u("099000\tNOUVEAU\t2001\t\t\t\t\t\t\t"));
        QCOMPARE(book.position(), 2);
        // A code that has a card already adds nothing.
        book.add(book.current());
        book.next(card("012000", "DOUBLE"));
        QCOMPARE(book.cards().size(), 4);
        QVERIFY(!book.cards().join(u("|")).contains(u("DOUBLE")));
    }

    void remove_lastCardShowsTheNewLast()
    {
        CardBook book;
        book.Init(kIndex, {});
        book.next(book.current());
        book.next(book.current());
        book.remove(book.current());
        QCOMPARE(book.cards().size(), 2);
        QCOMPARE(book.position(), 1);
        QCOMPARE(book.current().code, u("012000"));
    }

    void store_refusesWhatTheFileCannotHold()
    {
        CardBook book;
        book.Init(kIndex, {});
        Card shown = book.current();
        shown.name = u("Ωmega");
        QVERIFY_THROWS_EXCEPTION(VError, book.next(shown));
        QCOMPARE(book.position(), 0);
        QCOMPARE(book.cards()[0], u("013000\tAUTRE"));
    }

    // --- The record book under both -------------------------------------------

    void recordBook_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("after");
        enum { Plain, Kept, Growing };
        const QStringList abc = split("a b c");
        QTest::newRow("next stops at the last")
            << int(Plain) << abc << split("n n n n") << 2 << abc;
        QTest::newRow("previous stops at the first")
            << int(Plain) << abc << split("n p p") << 0 << abc;
        QTest::newRow("last, then first") << int(Plain) << abc << split("l") << 2 << abc;
        QTest::newRow("first from the last") << int(Plain) << abc << split("l f") << 0 << abc;
        QTest::newRow("leaving stores the record shown")
            << int(Plain) << abc << split("n=B l=C") << 2 << split("B C c");
        QTest::newRow("previous from past the last shows the last")
            << int(Plain) << abc << split("a p") << 2 << abc;
        QTest::newRow("remove shows the record after")
            << int(Plain) << abc << split("n r") << 1 << split("a c");
        QTest::newRow("remove the last shows the new last")
            << int(Plain) << abc << split("l r") << 1 << split("a b");
        QTest::newRow("remove past the last does nothing")
            << int(Plain) << abc << split("a r=x") << 3 << abc;
        QTest::newRow("remove the only record empties the list")
            << int(Plain) << split("a") << split("r") << 0 << QStringList();
        QTest::newRow("refused text stays unstored, the position too")
            << int(Plain) << abc << split("n n=Ωmega") << 1 << abc;
        QTest::newRow("plain: nothing stored past the last")
            << int(Plain) << abc << split("a p=x") << 2 << abc;
        QTest::newRow("kept: an empty list gets one empty line")
            << int(Kept) << QStringList() << split("n") << 0 << QStringList{QString()};
        QTest::newRow("kept: remove the only record leaves an empty line")
            << int(Kept) << split("a") << split("r") << 0 << QStringList{QString()};
        QTest::newRow("kept: blank shown on an empty line stays empty")
            << int(Kept) << QStringList{QString(), u("b")} << QStringList{u("n= ")} << 1
            << QStringList{QString(), u("b")};
        QTest::newRow("kept: blank shown on a filled line is stored")
            << int(Kept) << abc << QStringList{u("n= ")} << 1
            << QStringList{u(" "), u("b"), u("c")};
        QTest::newRow("growing: a new record past the last is appended")
            << int(Growing) << abc << split("a p=d") << 2 << split("a b c d");
        QTest::newRow("growing: a record already there is not")
            << int(Growing) << abc << split("a n=b") << 2 << abc;
        QTest::newRow("growing: refused past the last, the position stays")
            << int(Growing) << abc << split("a n=Ωmega") << 3 << abc;
    }
    void recordBook()
    {
        QFETCH(int, format);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, steps);
        QFETCH(int, position);
        QFETCH(QStringList, after);
        const auto [pos, stored] = format == 0   ? play<PlainLines>(lines, steps)
                                   : format == 1 ? play<KeptLines>(lines, steps)
                                                 : play<GrowingLines>(lines, steps);
        QCOMPARE(stored, after);
        QCOMPARE(pos, position);
    }

    // --- Press notes ------------------------------------------------------------

    void noteLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("written");
        QTest::newRow("four fields")
            << u("19990320\t012000\tALPHA\tRésultats") << u("19990320\t012000\tALPHA\tRésultats");
        QTest::newRow("text lines") << u("19990320\t012000\tALPHA\tR\tun\t\ttrois")
                                    << u("19990320\t012000\tALPHA\tR\tun\t\ttrois");
        QTest::newRow("unreadable date kept as stored")
            << u("19991332\t012000\tALPHA\tR") << u("19991332\t012000\tALPHA\tR");
        const QString longText(300, QLatin1Char('y'));
        QTest::newRow("long text whole")
            << u("19990320\t012000\tA\tR\t") + longText << u("19990320\t012000\tA\tR\t") + longText;
    }
    void noteLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, written);
        QCOMPARE(press::write(press::read(line)), written);
    }

    void sort_data()
    {
        QTest::addColumn<QStringList>("notes");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("by date, empty line first")
            << QStringList{u("19990320\t012000\tA\tx"), u(""), u("19990105\t013000\tB\ty")}
            << QStringList{u(""), u("19990105\t013000\tB\ty"), u("19990320\t012000\tA\tx")};
        QTest::newRow("then by code")
            << QStringList{u("19990105\t013000\tB"), u("19990105\t012000\tA")}
            << QStringList{u("19990105\t012000\tA"), u("19990105\t013000\tB")};
        QTest::newRow("letter case ignored")
            << QStringList{u("19990105\t012000\tA\tbeta"), u("19990105\t012000\tA\tAlpha")}
            << QStringList{u("19990105\t012000\tA\tAlpha"), u("19990105\t012000\tA\tbeta")};
        QTest::newRow("accents in French order")
            << QStringList{u("19990105\t012000\tA\tfin"), u("19990105\t012000\tA\tétude"),
                           u("19990105\t012000\tA\tetre")}
            << QStringList{u("19990105\t012000\tA\tetre"), u("19990105\t012000\tA\tétude"),
                           u("19990105\t012000\tA\tfin")};
    }
    void sort()
    {
        QFETCH(QStringList, notes);
        QFETCH(QStringList, sorted);
        press::sort(notes);
        QCOMPARE(notes, sorted);
    }

    void emptyList_getsOneEmptyNote_storedOnlyOnceFilled()
    {
        NoteBook book;
        book.Init(kIndex, {});
        QCOMPARE(book.notes(), QStringList{QString()});
        // Left blank, it stays an empty line.
        book.next(note("20010315", "", ""));
        QCOMPARE(book.notes(), QStringList{QString()});
        book.next(note("20010315", "012000", "Fusion"));
        QCOMPARE(book.notes(), QStringList{u("20010315\t012000\t\tFusion")});
        // The last note stays, and the list keeps one empty line at least.
        book.remove(book.current());
        QCOMPARE(book.notes(), QStringList{QString()});
        QCOMPARE(book.position(), 0);
    }

    void add_thenCode_appendsAPlace()
    {
        NoteBook book;
        book.Init(kIndex, {u("19990105\t013000\tAUTRE\tA")});
        book.add(book.current());
        QCOMPARE(book.position(), 1);
        QCOMPARE(book.codeChanged(u("012000")), u("EXEMPLE SA"));
        QCOMPARE(book.notes().size(), 2);
        // Typed further: no second place.
        QCOMPARE(book.codeChanged(u("0120001")), QString());
        QCOMPARE(book.notes().size(), 2);
        Note n = note("20010315", "012000", "Fusion");
        n.name = u("EXEMPLE SA");
        book.first(n);
        QCOMPARE(book.notes()[1], u("20010315\t012000\tEXEMPLE SA\tFusion"));
        QCOMPARE(book.position(), 0);
    }

    void search_findsByCodeAndContinues()
    {
        NoteBook book;
        book.Init(kIndex, {u("19990105\t012000\tA\tun"), u("19990106\t01300\tB\tcourt"),
                           u("19990107\t013000\tB\tdeux"), u("19990108\t012000\tA\ttrois")});
        book.Rechercher(book.current(), u("012000"));
        QCOMPARE(book.position(), 0);
        QVERIFY(book.Cherche(book.current()));
        QCOMPARE(book.position(), 3);
        // Nothing further: the note stays.
        QVERIFY(!book.Cherche(book.current()));
        QCOMPARE(book.position(), 3);
        // Five characters compare with a code and a tab: no note.
        book.Rechercher(book.current(), u("01300"));
        QCOMPARE(book.position(), 3);
        book.Rechercher(book.current(), u("013000"));
        QCOMPARE(book.position(), 2);
    }

    void result_sortsWithTheNoteOnDisplay()
    {
        NoteBook book;
        book.Init(kIndex, {u("19990320\t012000\tA\tmars")});
        const QStringList out = book.Result(note("19990105", "012000", "janvier"));
        QCOMPARE(out, QStringList({u("19990105\t012000\t\tjanvier")}));
        NoteBook two;
        two.Init(kIndex, {u("19990320\t012000\tA\tmars")});
        two.add(two.current());
        two.codeChanged(u("013000"));
        QCOMPARE(two.Result(note("19990105", "013000", "janvier")),
                 QStringList({u("19990105\t013000\t\tjanvier"), u("19990320\t012000\tA\tmars")}));
    }
};

QTEST_GUILESS_MAIN(TestNotes)
#include "tst_notes.moc"

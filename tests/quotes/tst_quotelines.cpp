// The store's lines held as Windows-1252 bytes: texts and bytes read back
// exactly, copies share their bytes and stay apart when changed, tidying
// keeps every line, comparisons, and the file read and written byte for byte.
#include "base/errors.h"
#include "base/textfile.h"
#include "faultdisk.h"
#include "quotes/BourseData.h"
#include "quotes/quotelines.h"
#include "testkit.h"

#include <QTest>

#include <cstring>
#include <thread>

namespace
{
// Texts of every kind a line may hold: plain, accented, characters of bytes
// 0x80 to 0x9F, a control of a hole of the code page, and characters the
// code page lacks (kept aside).
const QStringList kMixed = {
    ql("19990301", "000001", "ALPHA", "10,00", "100"),
    ql("19990301", "000002", "SOCIÉTÉ GÉNÉRALE", "20,50"),
    ql("19990302", "000003", "ŒUVRES € “BIS”", "1,00"),
    u("19990302\t000004\tCONTRÔLE \u0081 TROU\t2,00\t"),
    ql("19990303", "000005", "NEIGE ☃", "3,00"),
    u("\u0080 seul"),
    u("x"),
};
} // namespace

class TestQuoteLines : public QObject
{
    Q_OBJECT
private slots:
    void texts_readBackExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("aside");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain") << u("20010101\t000001\tA\t1,00\t5") << false
                               << QByteArray("20010101\t000001\tA\t1,00\t5");
        QTest::newRow("accents") << u("é à ç Ô") << false << QByteArray("\xe9 \xe0 \xe7 \xd4");
        QTest::newRow("bytes 0x80 to 0x9F")
            << u("€ Œ “ ™ Ÿ") << false << QByteArray("\x80 \x8c \x93 \x99 \x9f");
        QTest::newRow("control of a hole") << u("a\u0081b\u009dc") << false
                                           << QByteArray("a\x81"
                                                         "b\x9d"
                                                         "c");
        QTest::newRow("outside the code page") << u("neige ☃") << true << QByteArray("neige ?");
        QTest::newRow("control outside") << u("\u0080") << true << QByteArray("?");
        QTest::newRow("empty") << QString() << false << QByteArray();
        // Lengths around the longest a reference tells.
        for (const int n : {0xFFFF, 0x10000, 200000})
            QTest::addRow("%d characters", n)
                << u("é") + QString(n - 1, u'x') << false << "\xe9" + QByteArray(n - 1, 'x');
        QTest::newRow("long and outside")
            << QString(70000, u'x') + u("☃") << true << QByteArray(70000, 'x') + '?';
    }
    void texts_readBackExactly()
    {
        QFETCH(QString, text);
        QFETCH(bool, aside);
        QFETCH(QByteArray, bytes);
        QuoteLines lines;
        lines.append(u("avant"));
        lines.append(text);
        lines.append(u("après"));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(1), text);
        QCOMPARE(lines.length(1), text.size());
        QCOMPARE(lines.isAside(1), aside);
        QCOMPARE(lines.bytes(1).toByteArray(), bytes);
        QVERIFY(lines.equals(1, text));
        QCOMPARE(lines.toStringList(), (QStringList{u("avant"), text, u("après")}));
        QCOMPARE(lines.at(2), u("après"));
        // Picked out of order, the line reads back the same, and stays when
        // the lines it came from change.
        const QuoteLines picked = lines.picked({2, 1, 1});
        QCOMPARE(picked.toStringList(), (QStringList{u("après"), text, text}));
        QCOMPARE(picked.isAside(1), aside);
        // Enough lines picked for the work to be shared by the cores: the
        // line among them (first, in the middle, last) reads back the same.
        QList<qsizetype> many(20000);
        QStringList expected(many.size());
        for (qsizetype k = 0; k < many.size(); ++k) {
            many[k] = k == 0 || k == 9000 || k == many.size() - 1 ? 1 : k % 2 * 2;
            expected[k] = lines.at(many[k]);
        }
        const QuoteLines pickedMany = lines.picked(many);
        QCOMPARE(pickedMany.toStringList(), expected);
        QCOMPARE(pickedMany.isAside(9000), aside);
        // Set over another line, the text reads back the same.
        lines.set(0, text);
        QCOMPARE(lines.at(0), text);
        QCOMPARE(lines.isAside(0), aside);
        lines.set(1, u("autre"));
        lines.remove(2, 1);
        lines.tidy();
        QCOMPARE(picked.toStringList(), (QStringList{u("après"), text, text}));
    }

    void list_roundTrip()
    {
        const QuoteLines lines(kMixed);
        QCOMPARE(QStringList(lines), kMixed);
        QStringList copy = lines; // as the code that reads a list does
        QCOMPARE(copy, kMixed);
        QStringList read;
        for (const QString &line : lines)
            read.append(line);
        QCOMPARE(read, kMixed);
        QCOMPARE(lines.constFirst(), kMixed.first());
        QCOMPARE(lines.constLast(), kMixed.last());
        QCOMPARE(lines[2], kMixed[2]);
    }

    void mid_givesTheCharacters_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("n");
        QTest::newRow("code") << 1 << 9 << 6;
        QTest::newRow("name with accents") << 1 << 16 << 16;
        QTest::newRow("to the end") << 2 << 16 << -1;
        QTest::newRow("past the end") << 6 << 0 << 8;
        QTest::newRow("from past the end") << 6 << 5 << 3;
        QTest::newRow("aside") << 4 << 16 << 7;
        QTest::newRow("longer than the buffer") << 2 << 0 << 200;
    }
    void mid_givesTheCharacters()
    {
        QFETCH(int, line);
        QFETCH(int, from);
        QFETCH(int, n);
        const QuoteLines lines(kMixed);
        QuoteLines::Buffer buffer;
        const QString long100 = QString(100, u'é') + u("€");
        const QuoteLines longLine{long100};
        QCOMPARE(lines.mid(line, from, n, buffer).toString(), kMixed[line].mid(from, n));
        QCOMPARE(longLine.mid(0, from, n, buffer).toString(), long100.mid(from, n));
    }

    // Lines compare as their texts do, even where the byte order differs
    // from the characters' ("€" is byte 0x80 but above "é", byte 0xE9).
    void compare_asTheTexts_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::newRow("equal") << u("abc") << u("abc");
        QTest::newRow("prefix") << u("ab") << u("abc");
        QTest::newRow("euro and e acute") << u("a€") << u("aé");
        QTest::newRow("oe and y diaeresis") << u("Œ") << u("ÿ");
        QTest::newRow("aside and plain") << u("a☃") << u("a€");
        QTest::newRow("both aside") << u("☃a") << u("☃b");
    }
    void compare_asTheTexts()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        const QuoteLines lines{a, b};
        const int expected = QString::compare(a, b);
        const auto sign = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
        QCOMPARE(sign(lines.compare(0, 1)), sign(expected));
        QCOMPARE(sign(lines.compare(1, 0)), -sign(expected));
    }

    void equality_bothWays_data()
    {
        QTest::addColumn<QStringList>("a");
        QTest::addColumn<QStringList>("b");
        QTest::addColumn<bool>("equal");
        QTest::newRow("same") << kMixed << kMixed << true;
        QTest::newRow("empty") << QStringList() << QStringList() << true;
        QStringList other = kMixed;
        other[1].replace(u'É', u'E');
        QTest::newRow("one accent") << kMixed << other << false;
        other = kMixed;
        other[4] = u("19990303\t000005\tNEIGE ?\t3,00\t");
        QTest::newRow("aside and its bytes") << kMixed << other << false;
        QTest::newRow("one line fewer") << kMixed << kMixed.mid(1) << false;
    }
    void equality_bothWays()
    {
        QFETCH(QStringList, a);
        QFETCH(QStringList, b);
        QFETCH(bool, equal);
        const QuoteLines la(a), lb(b);
        QCOMPARE(la == lb, equal);
        QCOMPARE(lb == la, equal);
        QCOMPARE(la != lb, !equal);
        QCOMPARE(la == b, equal);
        QCOMPARE(b == la, equal);
        QCOMPARE(la != b, !equal);
        QCOMPARE(b != la, !equal);
        // Built otherwise (bytes appended one by one), the same lines are equal.
        QuoteLines bytes;
        for (qsizetype i = 0; i < la.size(); ++i)
            bytes.append(la.at(i));
        QVERIFY(bytes == la);
    }

    // A copy shares the bytes of the lines; each side changed after stays
    // as it was on the other.
    void copy_sharesAndStaysApart()
    {
        QuoteLines original(kMixed);
        QuoteLines copy = original;
        QVERIFY(copy.bytes(0).data() == original.bytes(0).data()); // no byte copied
        copy.set(0, u("changé"));
        copy.append(u("ajoutée"));
        copy.removeAt(1);
        QCOMPARE(original, kMixed);
        QStringList expected = kMixed;
        expected[0] = u("changé");
        expected.append(u("ajoutée"));
        expected.removeAt(1);
        QCOMPARE(copy, expected);
        QVERIFY(copy.bytes(1).data() == original.bytes(2).data());

        // The other way round: the original changed, the copy unchanged.
        original.append(u("encore une"));
        original.set(2, u("€ remplacée"));
        QCOMPARE(copy, expected);
        QCOMPARE(original.at(2), u("€ remplacée"));
        QCOMPARE(original.constLast(), u("encore une"));
    }

    // Lines appended after a copy never change the bytes the copy sees,
    // even when they go where the copy's next lines would.
    void append_afterCopy_bothKeepTheirLines()
    {
        QuoteLines a{u("un")};
        QuoteLines b = a;
        a.append(u("deux a"));
        b.append(u("deux b"));
        a.append(u("trois a"));
        QCOMPARE(a, (QStringList{u("un"), u("deux a"), u("trois a")}));
        QCOMPARE(b, (QStringList{u("un"), u("deux b")}));
    }

    // Appended lines share the other's bytes; lines added after go into
    // bytes of their own, so that the other never sees them.
    void append_sharesTheOthersBytes()
    {
        const QuoteLines other(kMixed);
        QuoteLines lines{u("premier")};
        lines.append(other);
        QVERIFY(lines.bytes(1).data() == other.bytes(0).data());
        lines.append(u("dernier"));
        lines.set(1, u("changé"));
        QCOMPARE(other, kMixed);
        const QStringList expected =
            QStringList{u("premier"), u("changé")} + kMixed.mid(1) + QStringList{u("dernier")};
        QCOMPARE(lines, expected);
    }

    void split_asTheTextSplit_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("utf8");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("ends of line") << QByteArray("a\r\nb\nc\rd") << 0 << false
                                      << QStringList{u("a"), u("b"), u("c"), u("d")};
        QTest::newRow("blank lines kept, last end")
            << QByteArray("\n\r\n\ra\n") << 0 << false << QStringList{u(""), u(""), u(""), u("a")};
        QTest::newRow("from a place")
            << QByteArray("xyzA\nB") << 3 << false << QStringList{u("A"), u("B")};
        QTest::newRow("code page")
            << QByteArray("\xe9\x80\n\xc3\xa9") << 0 << false << QStringList{u("é€"), u("Ã©")};
        QTest::newRow("utf-8") << QByteArray("\xc3\xa9\n\xe2\x98\x83\nx") << 0 << true
                               << QStringList{u("é"), u("☃"), u("x")};
        QTest::newRow("empty") << QByteArray() << 0 << true << QStringList();
    }
    void split_asTheTextSplit()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, from);
        QFETCH(bool, utf8);
        const QuoteLines lines = QuoteLines::split(bytes, from, utf8);
        QTEST(lines.toStringList(), "lines");
        // Lines of the code page are the bytes given, not a copy.
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (!utf8 && lines.length(i) > 0)
                QVERIFY(lines.bytes(i).data() >= bytes.constData() &&
                        lines.bytes(i).data() < bytes.constData() + bytes.size());
    }

    void changes_onReferences_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("expected");
        const QStringList &m = kMixed;
        QTest::newRow("permutation")
            << u("reorder 6 5 4 3 2 1 0") << QStringList{m[6], m[5], m[4], m[3], m[2], m[1], m[0]};
        QTest::newRow("selection") << u("reorder 4 0 0") << QStringList{m[4], m[0], m[0]};
        QTest::newRow("remove a range") << u("remove 1 3") << QStringList{m[0], m[4], m[5], m[6]};
        QTest::newRow("remove first and last") << u("ends") << m.mid(1, 5);
        QTest::newRow("keep the even ones") << u("even") << QStringList{m[0], m[2], m[4], m[6]};
        QTest::newRow("rewrite as bytes")
            << u("bytes") << QStringList{m[0], u("nouvelle é"), m[2], m[3], m[4], m[5], m[6]};
        QTest::newRow("clear") << u("clear") << QStringList();
        QTest::newRow("append other lines") << u("append 5 2") << m + QStringList{m[5], m[2]};
        QTest::newRow("append itself") << u("append itself") << m + m;
    }
    void changes_onReferences()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, expected);
        QuoteLines lines(kMixed);
        const QStringList words = change.split(u' ');
        if (words[0] == u"reorder") {
            std::vector<quint32> positions;
            for (const QString &w : words.mid(1))
                positions.push_back(w.toUInt());
            lines.reorder(positions);
        } else if (words[0] == u"remove") {
            lines.remove(words[1].toInt(), words[2].toInt());
        } else if (words[0] == u"ends") {
            lines.removeFirst();
            lines.removeLast();
        } else if (words[0] == u"even") {
            QCOMPARE(lines.keepIf([](qsizetype i) { return i % 2 == 0; }), 3);
        } else if (words[0] == u"append") {
            QStringList others;
            for (const QString &w : words.mid(1))
                if (w != u"itself") others.append(kMixed.at(w.toInt()));
            lines.append(words[1] == u"itself" ? lines : QuoteLines(others));
        } else if (words[0] == u"bytes") {
            lines.setBytes(1, QByteArrayView("nouvelle \xe9"));
        } else {
            lines.clear();
        }
        QCOMPARE(lines, expected);
        lines.tidy();
        QCOMPARE(lines, expected);
    }

    // Most lines gone or rewritten, tidying lets their bytes go and keeps
    // every line that is left, those aside included.
    void tidy_compactsAndKeepsEveryLine()
    {
        QStringList texts;
        for (int i = 0; i < 20000; ++i)
            texts.append(qline(u("19990301"), QString::number(100000 + i), u("SOCIÉTÉ %1").arg(i),
                               u("%1,00").arg(i)));
        texts[7] = u("19990301\t000007\tNEIGE ☃\t1,00\t");
        QuoteLines lines(texts);
        const QuoteLines before = lines;
        const qsizetype held = lines.heldBytes();
        lines.keepIf([](qsizetype i) { return i % 10 == 7; });
        lines.tidy();
        QStringList kept;
        for (qsizetype i = 7; i < texts.size(); i += 10)
            kept.append(texts[i]);
        QCOMPARE(lines, kept);
        QVERIFY2(lines.heldBytes() < held / 4,
                 qPrintable(u("%1 of %2").arg(lines.heldBytes()).arg(held)));
        QCOMPARE(before, texts); // the copy keeps its lines
        QCOMPARE(before.heldBytes(), held);

        // Every line rewritten: the former bytes are no longer held.
        QuoteLines rewritten = before;
        for (qsizetype i = 0; i < rewritten.size(); ++i)
            rewritten.set(i, before.at(i) + u("9"));
        rewritten.tidy();
        // (The former blocks still held would make it twice as much.)
        QVERIFY2(rewritten.heldBytes() < held * 3 / 2,
                 qPrintable(u("%1 of %2").arg(rewritten.heldBytes()).arg(held)));
        for (qsizetype i = 0; i < rewritten.size(); i += 997)
            QCOMPARE(rewritten.at(i), texts[i] + u("9"));
        QCOMPARE(rewritten.at(7), texts[7] + u("9"));
    }

    // Room given to the copy: pieces no larger than a part's bytes take its
    // first lines; a larger one is left.
    void reorderAndTidy_largeScatteredStore_data()
    {
        QTest::addColumn<QList<qsizetype>>("room");
        QTest::addColumn<bool>("used");
        QTest::newRow("no room") << QList<qsizetype>{} << false;
        QTest::newRow("two pieces of room") << QList<qsizetype>{1 << 20, 3 << 20} << true;
        QTest::newRow("a piece too large") << QList<qsizetype>{qsizetype(64) << 20} << false;
    }
    void reorderAndTidy_largeScatteredStore()
    {
        QFETCH(QList<qsizetype>, room);
        QFETCH(bool, used);
        // Enough lines for the work to be cut into parts on every core, with
        // lines aside and empty lines among them.
        QStringList texts;
        for (int i = 0; i < 250000; ++i)
            texts.append(i % 4999 == 0    ? u("19990301\t%1\tNEIGE ☃\t1,00").arg(i)
                         : i % 7919 == 0  ? QString()
                         : i % 50021 == 0 ? QString(70000 + i, u'L')
                                          : qline(u("19990301"), QString::number(100000 + i),
                                                  u("SOCIÉTÉ %1").arg(i), u("%1,00").arg(i)));
        QuoteLines lines(texts);
        const QuoteLines before = lines;
        // A permutation that sends neighbours far apart.
        std::vector<quint32> order(size_t(texts.size()));
        QStringList expected;
        for (qsizetype k = 0; k < texts.size(); ++k) {
            order[size_t(k)] = quint32((k * 7919) % texts.size());
            expected.append(texts[order[size_t(k)]]);
        }
        std::vector<QByteArray> pieces;
        std::vector<std::pair<const char *, const char *>> spans;
        for (const qsizetype size : room) {
            pieces.emplace_back(size, Qt::Uninitialized);
            spans.emplace_back(pieces.back().constData(), pieces.back().constData() + size);
        }
        int told = 0;
        QString orderedFirst;
        lines.reorder(
            order.data(), qsizetype(order.size()),
            [&] {
                ++told;
                orderedFirst = lines.at(1);
            },
            std::move(pieces));
        QCOMPARE(told, 1);
        QCOMPARE(orderedFirst, expected[1]); // in order when told, before the copy
        QCOMPARE(lines, expected);
        bool inRoom = false;
        for (const auto &[begin, end] : spans)
            inRoom = inRoom || (lines.bytes(1).data() >= begin && lines.bytes(1).data() < end);
        QCOMPARE(inRoom, used);
        // Copied in the new order: each line's bytes follow the line before's.
        qsizetype apart = 0;
        for (qsizetype k = 1; k < lines.size(); ++k)
            if (!lines.isAside(k - 1) && !lines.isAside(k) &&
                lines.bytes(k).data() != lines.bytes(k - 1).data() + lines.length(k - 1))
                ++apart;
        QVERIFY2(apart < 16, qPrintable(QString::number(apart)));
        const qsizetype held = lines.heldBytes();
        QVERIFY2(held < before.heldBytes() + (64 << 10),
                 qPrintable(u("%1 of %2").arg(held).arg(before.heldBytes())));
        lines.tidy();
        QCOMPARE(lines, expected);
        QVERIFY(lines.heldBytes() <= held);
        QCOMPARE(before, texts);
        // New lines after the copy go on where it ended.
        lines.append(u("après ☃"));
        lines.append(u("après"));
        QCOMPARE(lines.at(lines.size() - 2), u("après ☃"));
        QCOMPARE(lines.last(), u("après"));
    }

    // Lines reordered where they stand, two by two, five by five, then ten by
    // ten, and each time laid out in their new order: the lines read as
    // reordered, the order puts them back, and each run of lines that lay
    // together now lies in its new order; a run with a line elsewhere, or
    // with another line's bytes between its own, stays as it was.
    void layOut_inTheNewOrder_data()
    {
        QTest::addColumn<QByteArray>("end");
        QTest::addColumn<int>("setElsewhere"); // -1: none
        QTest::addColumn<int>("aside");        // -1: none
        QTest::addColumn<bool>("scrambled");
        QTest::newRow("CR LF between lines") << QByteArray("\r\n") << -1 << -1 << false;
        QTest::newRow("LF between lines") << QByteArray("\n") << -1 << -1 << false;
        QTest::newRow("a line set elsewhere") << QByteArray("\r\n") << 12 << -1 << false;
        QTest::newRow("a line held aside") << QByteArray("\r\n") << -1 << 31 << false;
        QTest::newRow("lines out of the order of their bytes")
            << QByteArray("\r\n") << -1 << -1 << true;
    }
    void layOut_inTheNewOrder()
    {
        QFETCH(QByteArray, end);
        QFETCH(int, setElsewhere);
        QFETCH(int, aside);
        QFETCH(bool, scrambled);
        constexpr int n = 200;
        QStringList texts;
        QByteArray bytes;
        for (int i = 0; i < n; ++i) {
            texts << (i == aside ? ql("19990301", "000031", "NEIGE ☃", "1,00")
                                 : qline(u("19990301"), QString::number(100000 + i),
                                         u("SOCIETE %1").arg(QString(i % 7 + 1, u'X')), u("1,00")));
            bytes += texts.last().toUtf8() + end;
        }
        // The file's bytes, the store's own once the text is let go of; read
        // as UTF-8, the line beyond ASCII is held aside.
        QuoteLines lines = QuoteLines::split(bytes, 0, aside >= 0);
        bytes = QByteArray();
        if (setElsewhere >= 0) lines.set(setElsewhere, texts[setElsewhere]);
        QStringList expected = texts;
        // Runs of `run` lines reversed (the last run's lines left in their
        // places), or, not laid out, the 2nd and 3rd lines of every four
        // swapped: the lines then lie out of the order of their bytes, a
        // line between the two of a pair of the next round.
        const auto reorder = [&](int run, bool layOut) {
            std::vector<quint32> from(n);
            for (int k = 0; k < n; ++k)
                from[size_t(k)] = run == 0       ? quint32(k % 4 == 1   ? k + 1
                                                           : k % 4 == 2 ? k - 1
                                                                        : k)
                                  : k >= n - run ? quint32(k)
                                                 : quint32(k - k % run + run - 1 - k % run);
            lines.reorderWhereTheyStand(from.data(), {0, size_t(n)});
            std::vector<const char *> before(n);
            for (int k = 0; k < n; ++k)
                before[size_t(k)] = lines.bytes(k).data();
            QVERIFY(lines.ownsBytes());
            if (layOut) lines.layOutInOrder(from.data());
            QStringList reordered;
            for (int k = 0; k < n; ++k)
                reordered << expected[qsizetype(from[size_t(k)])];
            QCOMPARE(lines, reordered);
            // Each run laid out or left as it was.
            for (int first = 0; layOut && first < n - run; first += run) {
                bool kept = true, laid = true;
                for (int k = first; k < first + run; ++k) {
                    kept = kept && lines.bytes(k).data() == before[size_t(k)];
                    laid =
                        laid && (k == first || lines.bytes(k).data() == lines.bytes(k - 1).end());
                }
                const bool apart = (setElsewhere >= first && setElsewhere < first + run) ||
                                   (aside >= first && aside < first + run);
                QVERIFY2(apart || scrambled ? kept || laid : laid,
                         qPrintable(QString::number(first)));
                QVERIFY2(!apart || kept, qPrintable(QString::number(first)));
            }
            QuoteLines back = lines;
            back.putBack(from.data());
            QCOMPARE(back, expected);
            expected = reordered;
        };
        if (scrambled) reorder(0, false);
        for (const int run : {2, 5, 10})
            reorder(run, true);
    }

    // Writers of several threads rewrite every k-th line of their part;
    // the other lines, those aside and the empty ones stay as they were.
    void writers_rewriteInParts_data()
    {
        QTest::addColumn<int>("parts");
        QTest::addColumn<int>("every");
        QTest::newRow("one part, every line") << 1 << 1;
        QTest::newRow("two parts, every third line") << 2 << 3;
        QTest::newRow("three parts, every line") << 3 << 1;
        QTest::newRow("seven parts, a few lines") << 7 << 997;
    }
    void writers_rewriteInParts()
    {
        QFETCH(int, parts);
        QFETCH(int, every);
        QStringList texts;
        for (int i = 0; i < 30000; ++i)
            texts.append(i % 101 == 0   ? kMixed[i % kMixed.size()]
                         : i % 211 == 0 ? QString()
                                        : qline(u("19990301"), QString::number(100000 + i),
                                                u("SOCIÉTÉ %1").arg(i), u("%1,00").arg(i)));
        QuoteLines lines(texts);
        const QuoteLines before = lines;
        QStringList expected = texts;
        std::vector<QuoteLines::Writer> writers = lines.writers(parts, lines.heldBytes());
        std::vector<std::thread> threads;
        for (int p = 0; p < parts; ++p) {
            threads.emplace_back([&, p] {
                const qsizetype end = texts.size() * (p + 1) / parts;
                for (qsizetype i = texts.size() * p / parts; i < end; ++i) {
                    if (i % every != 0 || before.isAside(i)) continue;
                    const QByteArrayView old = before.bytes(i);
                    char *d = writers[size_t(p)].line(i, old.size() + 1);
                    std::memcpy(d, old.data(), size_t(old.size()));
                    d[old.size()] = '\xe9';
                }
            });
        }
        for (std::thread &t : threads)
            t.join();
        lines.adopt(writers);
        for (qsizetype i = 0; i < expected.size(); i += every)
            if (!before.isAside(i)) expected[i] += u("é");
        QCOMPARE(lines, expected);
        QCOMPARE(before, texts);
        lines.append(u("après"));
        lines.append(u("après ☃"));
        expected << u("après") << u("après ☃");
        QCOMPARE(lines, expected);
        lines.tidy();
        QCOMPARE(lines, expected);
    }

    // --- Files -------------------------------------------------------------

    void file_readAsReadLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\xe9\r\n\x80\r\n")
                               << QStringList{u("a"), u("bé"), u("€")};
        QTest::newRow("no final line end")
            << QByteArray("a\r\nfin") << QStringList{u("a"), u("fin")};
        QTest::newRow("LF and lone CR")
            << QByteArray("a\nb\rc\r\n") << QStringList{u("a"), u("b"), u("c")};
        QTest::newRow("empty lines dropped")
            << QByteArray("\r\na\r\n\r\n\nb\r\r\n") << QStringList{u("a"), u("b")};
        QTest::newRow("empty file") << QByteArray() << QStringList();
        // A CR LF cut by the blocks the file is read by.
        QByteArray big(4 << 20, 'x');
        big[(4 << 20) - 1] = '\r';
        big += "\nz";
        QTest::newRow("line end across blocks")
            << big << QStringList{QString((4 << 20) - 1, u'x'), u("z")};
        // A file of many blocks, split while it is read: lines cut at every
        // block's end, a line longer than a block, empty lines.
        QByteArray many;
        QStringList manyLines;
        for (int k = 0; many.size() < (14 << 20); ++k) {
            const QByteArray line =
                k == 50000 ? QByteArray(5 << 20, 'L')
                           : QByteArray::number(k).rightJustified(97, '0') + (k % 3 ? "" : "\xe9");
            many += line + (k % 1000 == 0 ? "\r\n\r\n" : k % 2 ? "\n" : "\r\n");
            manyLines.append(decodeWindows1252(line));
        }
        QTest::newRow("many blocks") << many << manyLines;
    }
    void file_readAsReadLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        TempStartDir dir;
        dir.writeBytes(u("Cours.vmq"), bytes);
        // Told of every line once, in order, as the blocks are split.
        qsizetype told = 0;
        const QuoteLines lines = QuoteLines::read(dir.file(u("Cours.vmq")), nullptr,
                                                  [&](const QuoteLines &read, qsizetype from) {
                                                      QCOMPARE(from, told);
                                                      QVERIFY(read.size() > from);
                                                      QCOMPARE(read.at(from), expected.at(from));
                                                      told = read.size();
                                                  });
        QCOMPARE(told, expected.size());
        QCOMPARE(lines.size(), expected.size());
        QVERIFY(lines == expected);
        QStringList plain = readLines(dir.file(u("Cours.vmq")));
        plain.removeAll(QString());
        QVERIFY(lines == plain);
    }

    void file_writtenAsWriteLines_data()
    {
        QTest::addColumn<int>("lines");
        QTest::newRow("few lines") << 0;
        // Enough lines for several chunks, one of them longer than a chunk.
        QTest::newRow("many lines") << 150000;
    }
    void file_writtenAsWriteLines()
    {
        QFETCH(int, lines);
        TempStartDir dir;
        QuoteLines store(kMixed);
        store.reorder({6, 2, 4, 0});
        store.append(u("ajoutée ☃"));
        for (int i = 0; i < lines; ++i)
            store.append(i == 70000 ? QString(3 << 20, u'L') // longer than a chunk
                                    : qline(u("19990301"), QString::number(100000 + i),
                                            u("SOCIÉTÉ %1").arg(i), u("%1,00").arg(i)));
        store.write(dir.file(u("Cours.vmq")));
        writeLines(dir.file(u("plain.txt")), store.toStringList());
        QCOMPARE(dir.bytes(u("Cours.vmq")), dir.bytes(u("plain.txt")));
        QCOMPARE(dir.bytes(u("Cours.vmq")).left(5), QByteArray("x\r\n19"));
    }

    // A disk full in the middle of a store written while it is filled: the
    // refusal, and the former file as it was.
    void file_fullDiskWhileFilling_keepsTheFormerFile()
    {
        SmallDisk disk("2m");
        if (!disk.mounted()) QSKIP("a small disk needs root");
        QuoteLines store;
        for (int i = 0; i < 150000; ++i)
            store.append(qline(u("19990301"), QString::number(100000 + i), u("X"), u("1,00")));
        const QString path = disk.file(u("Cours.vmq"));
        writeLines(path, {u("avant")});
        QVERIFY_THROWS_EXCEPTION(VError, store.write(path));
        QCOMPARE(readLines(path), QStringList{u("avant")});
    }

    void file_unreadableOrUnwritable_throws()
    {
        TempStartDir dir;
        QVERIFY_THROWS_EXCEPTION(VError, QuoteLines::read(dir.file(u("absent.vmq"))));
        QDir(dir.path()).mkdir(u("Cours.vmq"));
        QVERIFY_THROWS_EXCEPTION(VError, QuoteLines(kMixed).write(dir.file(u("Cours.vmq"))));
    }

    // Loaded and saved by the document, a file comes back byte for byte
    // (CR LF line ends; a last line without one gets it).
    void document_loadAndSave_byteForByte_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("saved");
        const QByteArray lines = "19990301\t000001\tSOCI\xc9T\xc9\t10,00\t5\r\n"
                                 "19990302\t000001\tSOCI\xc9T\xc9 \x80\t11,00\t\r\n";
        QTest::newRow("CR LF") << lines << lines;
        QTest::newRow("no final line end")
            << lines + "19990303\t000002\t\x9c\t1,00" << lines + "19990303\t000002\t\x9c\t1,00\r\n";
        QTest::newRow("LF") << QByteArray(lines).replace("\r\n", "\n") << lines;
    }
    void document_loadAndSave_byteForByte()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, saved);
        TempStartDir dir;
        dir.writeBytes(u("Cours.vmq"), file);
        ScriptedPrompts prompts;
        BourseData data(dir.path());
        data.Init();
        QCOMPARE(data.store().size(), qsizetype(saved.count('\n')));
        QCOMPARE(data.store().at(1).mid(16, 9), u("SOCIÉTÉ €"));
        data.change(BourseData::Change::Entry, [](QuoteLines &) {});
        prompts.answers = {Prompts::Yes};
        QVERIFY(data.Sauve());
        QCOMPARE(dir.bytes(u("Cours.vmq")), saved);
    }
};

QTEST_MAIN(TestQuoteLines)
#include "tst_quotelines.moc"

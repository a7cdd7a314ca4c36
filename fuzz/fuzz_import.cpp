// A file to import: decoded, previewed, read by its heading line when it has
// one and normalised in both orders of its fields, then the choice of the lines that go into a
// small store. Every chosen line must be a quotation line the store can hold.

#include "fuzzkit.h"

#include "base/errors.h"
#include "base/textfile.h"
#include "exchange/importing.h"
#include "quotes/entry.h"
#include "quotes/store.h"

#include <QStringDecoder>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzkit::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList store = fuzzkit::sampleStore();
    static const QStringList index = buildIndex(store);
    const QDate today(2024, 3, 15);

    const QByteArray bytes = fuzzkit::bytes(data, size);
    const QStringList lines = importing::decodeLines(bytes).toStringList();
    // The lines as the whole text decoded, then split, gives them.
    QString whole;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        // Only the first mark is skipped: a second one is a character.
        QStringDecoder keepingMarks(QStringDecoder::Utf8,
                                    QStringDecoder::Flag::Stateless |
                                        QStringDecoder::Flag::ConvertInitialBom);
        whole = keepingMarks.decode(QByteArrayView(bytes).sliced(3));
    } else {
        QStringDecoder probe(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        whole = probe.decode(bytes);
        if (probe.hasError() || whole.size() == bytes.size()) whole = decodeWindows1252(bytes);
    }
    fuzzkit::check(lines == splitTextLines(whole), "the lines of the decoded text");
    // The preview shows the first rows.
    for (qsizetype i = 0; i < lines.size() && i < 20; ++i)
        fuzzkit::check(importing::rawFields(lines.at(i)).size() <= 5,
                       "five preview fields at most");

    // A file whose first line names its columns is read by them, under a
    // security of the index or a new one when it has no code column.
    QList<QStringList> readings;
    const qsizetype first = importing::firstLine(lines);
    if (const auto columns = first >= 0 ? importing::readHeading(lines.at(first)) : std::nullopt) {
        const importing::DayOrder days = importing::dayOrder(lines, *columns);
        const importing::Security known{index.constFirst().left(6), index.constFirst().mid(6)};
        for (const importing::Security &security :
             {known, importing::Security{QStringLiteral("00NEWS"), QStringLiteral("NOUVEAU")}}) {
            const importing::Headed h =
                importing::reformateHeaded(lines, *columns, days.dayFirst, security, index, today);
            fuzzkit::check(h.lines.size() == lines.size(), "one normalised line a line");
            readings.append(h.lines.toStringList());
        }
    }
    for (importing::Order order : {importing::Order::DateFirst, importing::Order::CodeFirst}) {
        QStringList normalised = lines;
        QuoteLines into;
        int headings = -1, headingsInto = -1;
        try {
            into =
                importing::reformated(importing::decodeLines(bytes), order, today, &headingsInto);
        } catch (const VError &) {
            headingsInto = -2;
        }
        try {
            headings = importing::Reformate(normalised, order, today);
        } catch (const VError &) {
            fuzzkit::check(headingsInto == -2, "the same refusal into new lines");
            continue; // a line without a date ends the import
        }
        fuzzkit::check(headingsInto == headings && into == normalised,
                       "the same lines normalised into new lines");
        readings.append(normalised);
    }
    QStringList withNew = index;
    withNew.append(QStringLiteral("00NEWSNOUVEAU"));
    for (const QStringList &normalised : std::as_const(readings)) {
        for (const QString &after : {QString(), QStringLiteral("20240102")}) {
            for (bool allDays : {true, false}) {
                const importing::Selection s =
                    importing::select(normalised, after, allDays, store, withNew);
                fuzzkit::check(!importing::summary(s).isEmpty(), "a summary");
                for (const QString &line : s.lines) {
                    const QStringList f = line.split(QLatin1Char('\t'));
                    fuzzkit::check(f.size() >= 4 && f.size() <= 5, "four or five fields", line);
                    fuzzkit::check(QDate::fromString(f[0], QStringLiteral("yyyyMMdd")).isValid(),
                                   "a real date", line);
                    fuzzkit::check(indexHasPrefix(withNew, f[1]) && f[1].size() == 6,
                                   "a code of the index", line);
                    for (const QString &field : f)
                        fuzzkit::check(entry::unstorable(field).isEmpty(),
                                       "text the quotation file can hold", line);
                    fuzzkit::check(after.isEmpty() || f[0] > after, "dated after the threshold",
                                   line);
                }
            }
        }
    }
    return 0;
}

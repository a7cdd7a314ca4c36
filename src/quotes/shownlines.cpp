#include "quotes/shownlines.h"

#include <QHash>

#include <vector>

namespace shown
{

namespace
{
bool holds(const QuoteLines &store, const ShownLine &line)
{
    return line.position >= 0 && line.position < store.size() &&
           store.equals(line.position, line.text);
}
} // namespace

qsizetype locate(const QuoteLines &store, const ShownLine &line)
{
    if (holds(store, line)) return line.position;
    for (qsizetype i = 0; i < store.size(); ++i)
        if (store.equals(i, line.text)) return i;
    return -1;
}

int remove(QuoteLines &store, const QList<ShownLine> &lines, std::vector<qint32> *removed)
{
    const qsizetype n = store.size();
    std::vector<char> gone(size_t(n), 0);
    // Rows whose line moved are looked for by their text, in one pass.
    QHash<QString, int> moved;
    for (const ShownLine &line : lines) {
        if (holds(store, line) && !gone[size_t(line.position)])
            gone[size_t(line.position)] = 1;
        else
            ++moved[line.text];
    }
    if (!moved.isEmpty()) {
        for (qsizetype i = 0; i < n; ++i) {
            if (gone[size_t(i)]) continue;
            const auto it = moved.find(store.at(i));
            if (it == moved.end() || it.value() == 0) continue;
            --it.value();
            gone[size_t(i)] = 1;
        }
    }
    if (removed) {
        removed->clear();
        for (size_t i = 0; i < gone.size(); ++i)
            if (gone[i]) removed->push_back(qint32(i));
    }
    return int(store.keepIf([&](qsizetype i) { return !gone[size_t(i)]; }));
}

int remove(QStringList &store, const QList<ShownLine> &lines)
{
    QuoteLines quotes(store);
    const int removed = remove(quotes, lines);
    store = quotes.toStringList();
    return removed;
}

} // namespace shown

#pragma once

#include "quotes/quotelines.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// A line a quotation list shows, with the store position it was read from.
// Commands on selected rows (deletion, correction) act on exactly that line:
// two lines of the same date and code are never mistaken for each other.
struct ShownLine {
    qsizetype position = -1;
    QString text;
};

namespace shown
{

// Where the line is now: its own position while the store still holds that
// text there; otherwise (the store changed since the list was filled) the
// first line of exactly that text; -1 when the store no longer holds it.
qsizetype locate(const QuoteLines &store, const ShownLine &line);

// Removes exactly the lines shown, each at most once (two rows showing the
// same text remove two lines of that text). Lines the store no longer holds
// remove nothing. Returns the number of lines removed; `removed`, when
// given, gets where they stood, in increasing order.
int remove(QuoteLines &store, const QList<ShownLine> &lines,
           std::vector<qint32> *removed = nullptr);
// The same on a list of texts.
int remove(QStringList &store, const QList<ShownLine> &lines);

} // namespace shown

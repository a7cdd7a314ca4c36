#include "exchange/exporting.h"

#include <QAbstractItemModel>

namespace exporting
{

QStringList lines(const QAbstractItemModel &list)
{
    QStringList out;
    const int rows = list.rowCount();
    out.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        QString line;
        for (int c = 0; c < 5; ++c) {
            if (c > 0) line += QLatin1Char('\t');
            line += list.data(list.index(r, c), Qt::DisplayRole).toString();
        }
        out.append(line);
    }
    return out;
}

} // namespace exporting

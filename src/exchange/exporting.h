#pragma once

#include <QStringList>

class QAbstractItemModel;

namespace exporting
{

// One line per row of a quotation list, in row order: the texts of its five
// columns as shown, separated by tabs, no tab at the end.
QStringList lines(const QAbstractItemModel &list);

} // namespace exporting

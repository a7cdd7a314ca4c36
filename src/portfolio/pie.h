#pragma once

#include "portfolio/valuation.h"

#include <QRect>

class QDate;
class QPagedPaintDevice;
class QPainter;

// The distribution pie, on screen and on paper.
namespace ptf
{

// The circle within `bounds`, then one slice per legend row in its colour.
void drawPie(QPainter &painter, const QRect &bounds, const QList<LegendRow> &legend);

// The printed page: the caption, the pie (centre 60, 80 mm, radius 60 mm)
// and the legend lines 8 mm apart from 20 mm down, each with a 5 mm square;
// the page marked "Page 1 / 1" with the date `printed`. Begins and ends the
// document; false when it could not be started.
bool printDistribution(QPagedPaintDevice &device, const QString &caption,
                       const QList<LegendRow> &legend, const QDate &printed);

} // namespace ptf

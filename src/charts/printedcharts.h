#pragma once

#include "charts/chartdraw.h"
#include "charts/series.h"
#include "print/printedpages.h"

// The printed charts, as drawing steps in the pixels of the printer, every
// position given in millimetres through `Mh`/`Mv`. Across the page the
// chart narrows to the printable width when the paper is narrower than its
// 200 mm (and the 10 mm margins).

// The horizontal factor of a printed chart on that page (1 when it fits).
double chartFit(const PageMap &map);

// `Trace2`: the printed frame of a chart; the volume pane and its label
// when `volumeLabel` is not empty.
void Trace2(DrawSteps &steps, const PageMap &map, const QString &title, const QStringList &dates,
            const ValueLabels &labels, const QString &volumeLabel);

// `Imprim3`: the printed price chart of a security named `name`.
DrawSteps printedPriceChart(const PageMap &map, const QString &name, const History &history,
                            int maSwitch, int &maLength);

// `Imprime` of the indicator windows.
DrawSteps printedIndicator(const PageMap &map, const Indicator &indicator);

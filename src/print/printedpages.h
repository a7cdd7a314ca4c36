#pragma once

#include "charts/chartdraw.h"
#include "charts/drawsteps.h"
#include "charts/series.h"
#include "print/pagemap.h"

class QPagedPaintDevice;

// The printed quotation lists and charts, as drawing steps in the pixels of
// the printer, every position given in millimetres through `Mh`/`Mv`.

// A page of the printer: its millimetre mapping and printable height in mm.
struct PrintedPage {
    PageMap map;
    int heightMm = 0;
};

// `Entete`: the heading of a list page.
void Entete(DrawSteps &steps, const PageMap &map, const QString &title);

// `Imprim1`/`Imprim2`: rows of five cells (date, code, name, price, volume)
// under the heading, 5 mm apart from 15 mm, on as many pages as needed. A
// page breaks before a row would start within 5 mm of its bottom.
DrawSteps printedList(const PrintedPage &page, const QString &title,
                      const QList<QStringList> &rows);

// `Trace2`: the printed frame of a chart; the volume pane and its label
// when `volumeLabel` is not empty.
void Trace2(DrawSteps &steps, const PageMap &map, const QString &title, const QStringList &dates,
            const ValueLabels &labels, const QString &volumeLabel);

// `Imprim3`: the printed price chart of a security named `name`.
DrawSteps printedPriceChart(const PageMap &map, const QString &name, const History &history,
                            int maSwitch, int &maLength);

// Plays the steps as one document on `device`, a new page at each break.
// False when the document could not be started.
bool printSteps(QPagedPaintDevice &device, const DrawSteps &steps);

// `Imprime` of the indicator windows.
DrawSteps printedIndicator(const PageMap &map, const Indicator &indicator);

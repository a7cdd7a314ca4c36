#pragma once

#include "print/drawsteps.h"
#include "print/pagemap.h"

class QDate;
class QPagedPaintDevice;

// The printed quotation lists and charts, as drawing steps in the pixels of
// the printer, every position given in millimetres through `Mh`/`Mv`.

// The font of every printed page.
inline QString printFont()
{
    return QStringLiteral("Arial");
}

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

// The pages of the steps: one more than their page breaks.
int pageCount(const DrawSteps &steps);

// The mark of page `page` of `pages` (`pageMark`) in Arial 8 points,
// right-aligned at 160 mm on the title line: right of the title, above the
// column titles and the chart's top grid line.
void pageMarkSteps(DrawSteps &steps, const PageMap &map, const QDate &printed, int page, int pages);

// The steps with each page's mark added at the end of that page, once the
// number of pages is known.
DrawSteps withPageMarks(const DrawSteps &steps, const PageMap &map, const QDate &printed);

// Plays the steps as one document on `device`, a new page at each break,
// each page marked with its number and today's date (`withPageMarks`).
// False when the document could not be started.
bool printSteps(QPagedPaintDevice &device, const DrawSteps &steps);

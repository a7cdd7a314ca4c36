#include "print/printedpages.h"

#include "base/clock.h"

#include <QPagedPaintDevice>
#include <QPainter>

void Entete(DrawSteps &s, const PageMap &map, const QString &title)
{
    s.font(printFont(), 10, true, true);
    s.text(map.Mh(0), map.Mv(0), title);
    s.text(map.Mh(0), map.Mv(7), QStringLiteral("Date"));
    s.text(map.Mh(20), map.Mv(7), QStringLiteral("Code"));
    s.text(map.Mh(40), map.Mv(7), QStringLiteral("Nom"));
    s.textEnd(map.Mh(140), map.Mv(7), QStringLiteral("Cours"));
    s.textEnd(map.Mh(160), map.Mv(7), QStringLiteral("Volume"));
    s.line(map.Mh(0), map.Mv(12), map.Mh(160), map.Mv(12));
    s.font(printFont(), 10, true, false);
}

DrawSteps printedList(const PrintedPage &page, const QString &title, const QList<QStringList> &rows)
{
    DrawSteps s;
    const PageMap &map = page.map;
    s.pen(Qt::black, 1);
    Entete(s, map, title);
    int r = 15;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QStringList &row = rows[i];
        const int y = map.Mv(r);
        s.text(map.Mh(0), y, row.value(0));
        s.text(map.Mh(20), y, row.value(1));
        s.text(map.Mh(40), y, row.value(2));
        s.textEnd(map.Mh(140), y, row.value(3));
        s.textEnd(map.Mh(160), y, row.value(4));
        r += 5;
        if (r + 5 > page.heightMm && i + 1 < rows.size()) {
            s.newPage();
            Entete(s, map, title);
            r = 15;
        }
    }
    return s;
}

int pageCount(const DrawSteps &steps)
{
    return int(steps.only(DrawStep::NewPage).size()) + 1;
}

void pageMarkSteps(DrawSteps &s, const PageMap &map, const QDate &printed, int page, int pages)
{
    s.font(printFont(), 8, true, false);
    s.textEnd(map.Mh(160), map.Mv(0), pageMark(printed, page, pages));
}

DrawSteps withPageMarks(const DrawSteps &steps, const PageMap &map, const QDate &printed)
{
    const int pages = pageCount(steps);
    DrawSteps out;
    int page = 1;
    for (const DrawStep &step : steps.steps()) {
        if (step.kind == DrawStep::NewPage) pageMarkSteps(out, map, printed, page++, pages);
        out.add(step);
    }
    pageMarkSteps(out, map, printed, page, pages);
    return out;
}

bool printSteps(QPagedPaintDevice &device, const DrawSteps &steps)
{
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const DrawSteps marked = withPageMarks(steps, PageMap(device), Clock::get().today());
    play(painter, marked.steps(), [&] { device.newPage(); });
    painter.end();
    return true;
}

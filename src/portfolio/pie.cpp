#include "portfolio/pie.h"

#include "print/pagemap.h"
#include "print/printedpages.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace ptf
{

void drawPie(QPainter &painter, const QRect &bounds, const QList<LegendRow> &legend)
{
    const QList<QColor> colours = sliceColours();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(bounds);
    const QList<Slice> slices = pieSlices(legend);
    for (qsizetype j = 0; j < slices.size(); ++j) {
        painter.setBrush(colours[j]);
        painter.drawPie(bounds, slices[j].start, slices[j].span);
    }
    painter.setBrush(Qt::white);
}

bool printDistribution(QPagedPaintDevice &device, const QString &caption,
                       const QList<LegendRow> &legend, const QDate &printed)
{
    QPainter p;
    if (!p.begin(&device)) return false;
    const PageMap m(device);
    QFont font(QStringLiteral("Arial"), 12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(m.Mh(20), m.Mv(0) + p.fontMetrics().ascent(), caption);
    font.setPointSize(10);
    p.setFont(font);
    const QRect circle(QPoint(m.Mh(0), m.Mv(20)), QPoint(m.Mh(120), m.Mv(140)));
    drawPie(p, circle, legend);
    const QList<QColor> colours = sliceColours();
    double y = 20;
    for (qsizetype j = 0; j < legend.size(); ++j, y += 8) {
        p.setBrush(colours[j]);
        p.drawRect(QRect(QPoint(m.Mh(140), m.Mv(y)), QPoint(m.Mh(145), m.Mv(y + 5))));
        p.setBrush(Qt::white);
        p.drawText(m.Mh(150), m.Mv(y) + p.fontMetrics().ascent(),
                   legend[j].percent + QStringLiteral("   ") + legend[j].name);
    }
    DrawSteps mark;
    pageMarkSteps(mark, m, printed, 1, 1);
    play(p, mark.steps());
    p.end();
    return true;
}

} // namespace ptf

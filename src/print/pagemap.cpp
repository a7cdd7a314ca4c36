#include "print/pagemap.h"

#include "base/formats.h"

#include <QDate>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

PageMap::PageMap(const QPagedPaintDevice &device)
    : PageMap(device.width(), device.widthMM(), device.height(), device.heightMM())
{
}

PageMap::PageMap(int widthPx, int widthMm, int heightPx, int heightMm)
    : m_h(widthMm > 0 ? widthPx / widthMm : 1), m_v(heightMm > 0 ? heightPx / heightMm : 1),
      m_widthMm(widthMm), m_heightMm(heightMm)
{
}

QString pageMark(const QDate &printed, int page, int pages)
{
    return QStringLiteral("Imprim\u00e9 le %1 - Page %2 / %3")
        .arg(toShown(printed))
        .arg(page)
        .arg(pages);
}

QString Rset(const QString &text, int width, const QFontMetrics &metrics)
{
    QString s = text.trimmed();
    if (s.isEmpty()) return s;
    while (metrics.horizontalAdvance(s) <= width - 10)
        s.prepend(QLatin1Char(' '));
    return s;
}

namespace
{

class GridPrinter
{
public:
    GridPrinter(QPagedPaintDevice &device, QPainter &painter, const PrintedGrid &grid,
                const QString &heading, const QDate &today)
        : m_device(device), m_p(painter), m_grid(grid), m_heading(heading), m_today(today)
    {
        const int width = device.width();
        const int scale = std::max(1, width / std::max(1, grid.screenWidth));
        m_lineHeight = painter.fontMetrics().height() * 3 / 2;
        m_left = width / 25;
        m_top = device.height() / 25;
        m_right = width - m_left;
        int x = m_left;
        for (int w : grid.widths) {
            m_starts.append(x);
            x += w * scale;
        }
    }

    // The pages `print` will fill: the same breaks, nothing drawn.
    int pagesFor(int count) const
    {
        const int headingBottom = m_top + 2 * m_lineHeight;
        int pages = 1;
        int y = headingBottom;
        for (int r = 1; r <= count; ++r) {
            y += m_lineHeight;
            if (y >= m_device.height() - m_top && r < count) {
                ++pages;
                y = headingBottom;
            }
        }
        return pages;
    }

    int print(int count)
    {
        m_total = pagesFor(count);
        headingBlock();
        for (int r = 1; r <= count; ++r) {
            row(r);
            if (m_y >= m_device.height() - m_top && r < count) {
                verticals();
                m_device.newPage();
                ++m_pages;
                headingBlock();
            }
        }
        verticals();
        return m_pages;
    }

private:
    void headingBlock()
    {
        QFont bold = m_grid.font;
        bold.setBold(true);
        m_p.setFont(bold);
        const QFontMetrics fm = m_p.fontMetrics();
        m_p.setPen(Qt::black);
        m_p.drawText(m_left, m_top + fm.ascent(), m_heading);
        const QString mark = pageMark(m_today, m_pages, m_total);
        m_p.drawText(m_right - fm.horizontalAdvance(mark), m_top + fm.ascent(), mark);
        m_y = m_top + m_lineHeight;
        m_p.fillRect(QRect(m_left, m_y, m_right - m_left, m_lineHeight), QColor(192, 192, 192));
        m_p.drawLine(m_left, m_y, m_right, m_y);
        row(0);
        m_p.setFont(m_grid.font);
    }

    void row(int r)
    {
        const QStringList &cells = m_grid.rows.at(r);
        const int ascent = m_p.fontMetrics().ascent();
        for (int c = 0; c < m_starts.size(); ++c)
            if (m_grid.widths[c] > 0)
                m_p.drawText(m_starts[c] + 10, m_y + 10 + ascent, cells.value(c));
        m_y += m_lineHeight;
        m_p.drawLine(m_left, m_y, m_right, m_y);
    }

    void verticals()
    {
        const int from = m_top + m_lineHeight;
        for (int c = 0; c < m_starts.size(); ++c)
            if (m_grid.widths[c] > 0) m_p.drawLine(m_starts[c], from, m_starts[c], m_y);
        m_p.drawLine(m_right, from, m_right, m_y);
    }

    QPagedPaintDevice &m_device;
    QPainter &m_p;
    const PrintedGrid &m_grid;
    QString m_heading;
    QDate m_today;
    QList<int> m_starts;
    int m_lineHeight = 0;
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_y = 0;
    int m_pages = 1;
    int m_total = 1;
};

} // namespace

int ImprimeGrille(QPagedPaintDevice &device, const PrintedGrid &grid, const QString &heading,
                  int count, const QDate &today)
{
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    painter.setFont(grid.font);
    GridPrinter printer(device, painter, grid, heading, today);
    const int pages = printer.print(std::min<int>(count, int(grid.rows.size()) - 1));
    painter.end();
    return pages;
}

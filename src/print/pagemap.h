#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>

class QDate;
class QFontMetrics;
class QPagedPaintDevice;

// Page conventions shared by every printed page.

// Millimetres to printer pixels, the origin shifted 10 mm right and 3 mm
// down: `Mh`(x) = (page width in pixels / page width in mm) * (x + 10),
// `Mv`(y) likewise with 3, the ratios in integer division.
class PageMap
{
public:
    explicit PageMap(const QPagedPaintDevice &device);
    PageMap(int widthPx, int widthMm, int heightPx, int heightMm);
    int Mh(double x) const { return int(m_h * (x + 10)); }
    int Mv(double y) const { return int(m_v * (y + 3)); }
    // The printable area in millimetres.
    int widthMm() const { return m_widthMm; }
    int heightMm() const { return m_heightMm; }
    // A pen `mm` millimetres wide, in printer pixels (at least 1).
    int pen(double mm) const { return std::max(1, int(m_h * mm + 0.5)); }

private:
    int m_h;
    int m_v;
    int m_widthMm;
    int m_heightMm;
};

// The mark of each printed page: "Imprimé le ", the date (dd/mm/yyyy),
// then "Page n / m".
QString pageMark(const QDate &printed, int page, int pages);

// `Rset`: the text trimmed, then blanks put in front of it as long as it
// is at most `width` - 10 pixels wide, so that it stands right-aligned in
// a column of that width. An empty text stays empty.
QString Rset(const QString &text, int width, const QFontMetrics &metrics);

// A grid to print: the screen widths of its columns (a hidden column, of
// width 0, is not printed), its rows (row 0 holds the titles), its font and
// its width on screen.
struct PrintedGrid {
    QList<int> widths;
    QList<QStringList> rows;
    QFont font;
    int screenWidth = 0;
};

// `ImprimeGrille`: rows 0 to `count` of the grid as a ruled table, under a
// heading block (heading, "Imprimé le " and the date on the right, the
// titles on a silver band) repeated on every page; the date is given as
// the page's mark (`pageMark`), the number of pages counted first. Begins and ends the
// document on `device`. Returns the number of pages.
int ImprimeGrille(QPagedPaintDevice &device, const PrintedGrid &grid, const QString &heading,
                  int count, const QDate &today);

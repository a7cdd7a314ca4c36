#include "app/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace glyphs
{

namespace
{

const QColor kInk(0x20, 0x20, 0x20);
const QColor kNavy(0x1f, 0x4e, 0x8c);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kGrey(0x80, 0x80, 0x80);
const QColor kLightGrey(0xc8, 0xc8, 0xc8);
const QColor kYellow(0xf0, 0xc8, 0x40);
const QColor kDarkYellow(0xa0, 0x78, 0x10);
const QColor kGreen(0x1e, 0x8c, 0x32);
const QColor kRed(0xc8, 0x28, 0x28);
const QColor kBrown(0x8c, 0x5a, 0x28);
const QColor kDarkBrown(0x5a, 0x37, 0x14);

// A filled box whose outline lies on the pixels of its border.
void box(QPainter &p, int x, int y, int w, int h, const QColor &fill, const QColor &line)
{
    p.fillRect(x, y, w, h, line);
    p.fillRect(x + 1, y + 1, w - 2, h - 2, fill);
}

void hline(QPainter &p, int x, int y, int w, const QColor &c)
{
    p.fillRect(x, y, w, 1, c);
}

void triangle(QPainter &p, const QPolygonF &points, const QColor &c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(points);
}

// A page with ruled lines: the base of the list glyphs.
void ruledPage(QPainter &p, const QColor &header)
{
    box(p, 2, 1, 12, 14, kPaper, kInk);
    p.fillRect(3, 2, 10, 2, header);
    for (int y = 6; y <= 12; y += 2)
        hline(p, 4, y, 8, kGrey);
}

void sign(QPainter &p, const QColor &c, bool plus)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(c.darker(140), 1));
    p.setBrush(c);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(4, 7, 8, 2, kPaper);
    if (plus) p.fillRect(7, 4, 2, 8, kPaper);
}

void paintGlyph(QPainter &p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::Open:
        box(p, 1, 4, 12, 10, kYellow, kDarkYellow);
        p.fillRect(1, 3, 5, 2, kDarkYellow);
        triangle(p, QPolygonF({{4, 8}, {15, 8}, {12, 14}, {1, 14}}), kDarkYellow);
        triangle(p, QPolygonF({{5, 9}, {14, 9}, {11.5, 13}, {2.5, 13}}), kYellow.lighter(115));
        break;
    case Glyph::Save:
        box(p, 1, 1, 14, 14, kNavy, kInk);
        box(p, 4, 2, 8, 6, kPaper, kPaper);
        hline(p, 5, 4, 6, kLightGrey);
        hline(p, 5, 6, 6, kLightGrey);
        box(p, 4, 10, 8, 5, kLightGrey, kInk);
        p.fillRect(9, 11, 2, 3, kInk);
        break;
    case Glyph::Print:
        box(p, 4, 1, 8, 6, kPaper, kInk);
        box(p, 1, 6, 14, 7, kLightGrey, kInk);
        p.fillRect(12, 8, 2, 1, kGreen);
        box(p, 4, 10, 8, 5, kPaper, kInk);
        hline(p, 5, 12, 6, kGrey);
        break;
    case Glyph::First:
        p.fillRect(3, 3, 2, 10, kNavy);
        triangle(p, QPolygonF({{13, 3}, {13, 13}, {5, 8}}), kNavy);
        break;
    case Glyph::Previous:
        triangle(p, QPolygonF({{11, 3}, {11, 13}, {3, 8}}), kNavy);
        break;
    case Glyph::Next:
        triangle(p, QPolygonF({{5, 3}, {5, 13}, {13, 8}}), kNavy);
        break;
    case Glyph::Last:
        triangle(p, QPolygonF({{3, 3}, {3, 13}, {11, 8}}), kNavy);
        p.fillRect(11, 3, 2, 10, kNavy);
        break;
    case Glyph::Journal:
        ruledPage(p, kNavy);
        break;
    case Glyph::Securities:
        box(p, 1, 3, 14, 10, QColor(0xe6, 0xf0, 0xd2), kGreen);
        box(p, 3, 5, 10, 6, QColor(0xe6, 0xf0, 0xd2), kGreen.lighter(130));
        hline(p, 5, 7, 4, kGrey);
        hline(p, 5, 9, 3, kGrey);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawEllipse(QRectF(9, 6.5, 3, 3));
        break;
    case Glyph::Chart:
        p.fillRect(1, 1, 1, 14, kInk);
        p.fillRect(1, 14, 14, 1, kInk);
        for (int x = 3; x <= 13; x += 3)
            p.fillRect(x, 12, 2, 2, kGrey);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kRed, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{2.5, 10}, {5.5, 7}, {8, 9}, {11, 4}, {14, 2.5}}));
        break;
    case Glyph::Entry: {
        for (int y = 11; y <= 13; y += 2)
            hline(p, 1, y, 7, kGrey);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(8, 8);
        p.rotate(-45);
        p.setPen(QPen(kInk, 0.8));
        p.setBrush(kYellow);
        p.drawRect(QRectF(-4, -1.5, 8, 3)); // body
        p.setBrush(QColor(0xf0, 0x96, 0x96));
        p.drawRect(QRectF(4, -1.5, 2, 3)); // eraser
        p.setBrush(QColor(0xe8, 0xd0, 0xa8));
        p.drawPolygon(QPolygonF({{-4, -1.5}, {-4, 1.5}, {-7, 0}})); // tip
        break;
    }
    case Glyph::Press:
        box(p, 1, 2, 14, 12, kPaper, kInk);
        p.fillRect(3, 4, 10, 2, kInk);
        for (int y = 8; y <= 12; y += 2) {
            hline(p, 3, y, 4, kGrey);
            hline(p, 9, y, 4, kGrey);
        }
        break;
    case Glyph::Buy:
        sign(p, kGreen, true);
        break;
    case Glyph::Sell:
        sign(p, kRed, false);
        break;
    case Glyph::Operations:
        box(p, 2, 1, 12, 14, kGreen.lighter(160), kGreen.darker(130));
        p.fillRect(3, 2, 2, 12, kGreen.darker(130));
        p.fillRect(7, 4, 5, 1, kGreen.darker(130)); // +
        p.fillRect(9, 2, 1, 5, kGreen.darker(130));
        p.fillRect(7, 10, 5, 1, kRed); // -
        break;
    case Glyph::Portfolio:
        box(p, 5, 2, 6, 4, Qt::transparent, kDarkBrown);
        box(p, 1, 5, 14, 9, kBrown, kDarkBrown);
        hline(p, 2, 9, 12, kDarkBrown);
        p.fillRect(7, 8, 2, 3, kYellow);
        break;
    }
}

} // namespace

QImage image(Glyph glyph)
{
    QImage img(kGlyphSize, kGlyphSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    paintGlyph(p, glyph);
    return img;
}

QIcon icon(Glyph glyph)
{
    return QIcon(QPixmap::fromImage(image(glyph)));
}

void paintProgramPicture(QPainter &painter, const QRectF &rect)
{
    // Drawn on a 64-unit square, scaled to the rectangle.
    painter.save();
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / 64.0, rect.height() / 64.0);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kNavy);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 8, 8);
    painter.setBrush(kPaper);
    const int bars[5][2] = {{10, 6}, {20, 8}, {30, 5}, {40, 9}, {50, 7}};
    for (const auto &b : bars)
        painter.drawRect(QRectF(b[0], 58 - b[1], 6, b[1]));
    painter.setPen(QPen(QColor(0xff, 0xd2, 0x3f), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({{8, 44}, {20, 32}, {30, 38}, {42, 20}, {56, 12}}));
    painter.restore();
}

QImage programPicture(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    paintProgramPicture(p, QRectF(0, 0, size, size));
    return img;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(QPixmap::fromImage(programPicture(size)));
    return icon;
}

} // namespace glyphs

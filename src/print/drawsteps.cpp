#include "print/drawsteps.h"

#include <QFontMetrics>
#include <QPainter>

TextMeasure painterMeasure(const QPainter &painter)
{
    const QFontMetrics fm = painter.fontMetrics();
    return {[fm](const QString &s) { return fm.horizontalAdvance(s); },
            [fm](const QString &) { return fm.height(); }};
}

void DrawSteps::clear(int w, int h)
{
    DrawStep s;
    s.kind = DrawStep::Clear;
    s.x = w;
    s.y = h;
    m_steps.append(s);
}

void DrawSteps::pen(const QColor &color, int width, bool dotted)
{
    DrawStep s;
    s.kind = DrawStep::Pen;
    s.color = color;
    s.width = width;
    s.dotted = dotted;
    m_steps.append(s);
}

void DrawSteps::font(const QString &family, int size, bool points, bool bold)
{
    DrawStep s;
    s.kind = DrawStep::Font;
    s.text = family;
    s.size = size;
    s.points = points;
    s.bold = bold;
    m_steps.append(s);
}

void DrawSteps::line(int x1, int y1, int x2, int y2)
{
    DrawStep s;
    s.kind = DrawStep::Line;
    s.x = x1;
    s.y = y1;
    s.x2 = x2;
    s.y2 = y2;
    m_steps.append(s);
    m_px = x2;
    m_py = y2;
}

void DrawSteps::moveTo(int x, int y)
{
    m_px = x;
    m_py = y;
}

void DrawSteps::lineTo(int x, int y)
{
    line(m_px, m_py, x, y);
}

void DrawSteps::text(int x, int top, const QString &text)
{
    DrawStep s;
    s.kind = DrawStep::Text;
    s.x = x;
    s.y = top;
    s.text = text;
    m_steps.append(s);
}

void DrawSteps::textEnd(int right, int top, const QString &text)
{
    DrawStep s;
    s.kind = DrawStep::TextEnd;
    s.x = right;
    s.y = top;
    s.text = text;
    m_steps.append(s);
}

void DrawSteps::newPage()
{
    DrawStep s;
    s.kind = DrawStep::NewPage;
    m_steps.append(s);
}

void DrawSteps::add(const DrawStep &step)
{
    m_steps.append(step);
}

QList<DrawStep> DrawSteps::only(DrawStep::Kind kind) const
{
    QList<DrawStep> out;
    for (const DrawStep &s : m_steps)
        if (s.kind == kind) out.append(s);
    return out;
}

QStringList DrawSteps::texts() const
{
    QStringList out;
    for (const DrawStep &s : m_steps)
        if (s.kind == DrawStep::Text || s.kind == DrawStep::TextEnd) out.append(s.text);
    return out;
}

void play(QPainter &painter, const QList<DrawStep> &steps, const std::function<void()> &newPage)
{
    painter.setBackgroundMode(Qt::TransparentMode);
    QPen pen(Qt::black);
    pen.setWidth(1);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const DrawStep &s : steps) {
        switch (s.kind) {
        case DrawStep::Clear:
            painter.fillRect(0, 0, s.x, s.y, Qt::white);
            break;
        case DrawStep::Pen:
            pen.setColor(s.color);
            pen.setWidth(s.width);
            pen.setStyle(s.dotted ? Qt::DotLine : Qt::SolidLine);
            painter.setPen(pen);
            break;
        case DrawStep::Font: {
            QFont f(s.text);
            if (s.points)
                f.setPointSize(s.size);
            else
                f.setPixelSize(s.size);
            f.setBold(s.bold);
            painter.setFont(f);
            break;
        }
        case DrawStep::Line:
            painter.drawLine(s.x, s.y, s.x2, s.y2);
            break;
        case DrawStep::Text: {
            const QPen keep = painter.pen();
            painter.setPen(Qt::black);
            painter.drawText(s.x, s.y + painter.fontMetrics().ascent(), s.text);
            painter.setPen(keep);
            break;
        }
        case DrawStep::TextEnd: {
            const QPen keep = painter.pen();
            painter.setPen(Qt::black);
            const QFontMetrics fm = painter.fontMetrics();
            painter.drawText(s.x - fm.horizontalAdvance(s.text), s.y + fm.ascent(), s.text);
            painter.setPen(keep);
            break;
        }
        case DrawStep::NewPage:
            if (newPage) newPage();
            break;
        }
    }
}

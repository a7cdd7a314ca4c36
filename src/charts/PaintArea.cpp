#include "charts/PaintArea.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

PaintArea::PaintArea(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox1"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setMouseTracking(true);
}

namespace
{
QFont chartFont()
{
    QFont f(chartFontFamily());
    f.setPixelSize(kChartFontPixels);
    return f;
}
} // namespace

ChartDrawing PaintArea::compute() const
{
    if (!m_source) return {};
    const QFontMetrics fm(chartFont(), this);
    const TextMeasure measure{[fm](const QString &s) { return fm.horizontalAdvance(s); },
                              [fm](const QString &) { return fm.height(); }};
    return m_source(size(), measure);
}

void PaintArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(chartFont());
    m_drawing = compute();
    play(painter, m_drawing.steps.steps());
}

void PaintArea::mouseMoveEvent(QMouseEvent *event)
{
    const QString tip = m_drawing.tipAt(event->position().toPoint().x());
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), tip, this);
    QWidget::mouseMoveEvent(event);
}

#include "charts/PaintArea.h"

#include "base/Prompts.h"
#include "base/errors.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

PaintArea::PaintArea(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox1"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Graphique"));
    m_imageName = QStringLiteral("graphique.png");
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

TextMeasure PaintArea::measure() const
{
    const QFontMetrics fm(chartFont(), this);
    return {[fm](const QString &s) { return fm.horizontalAdvance(s); },
            [fm](const QString &) { return fm.height(); }};
}

ChartDrawing PaintArea::compute() const
{
    if (!m_source) return {};
    return m_source(size(), measure());
}

void PaintArea::redraw()
{
    m_crossOnly = false;
    update();
}

void PaintArea::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (!m_crossOnly || m_chart.isNull() || m_chart.deviceIndependentSize() != QSizeF(size())) {
        m_drawing = compute();
        m_chart = QPixmap(size() * ratio);
        m_chart.setDevicePixelRatio(ratio);
        QPainter onChart(&m_chart);
        onChart.setFont(chartFont());
        play(onChart, m_drawing.steps.steps());
        if (m_cross >= m_drawing.points.size()) m_cross = int(m_drawing.points.size()) - 1;
    }
    m_crossOnly = false;
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_chart);
    painter.setFont(chartFont());
    play(painter, chartOverlay(m_drawing, m_cross, measure()).steps());
}

void PaintArea::setCrosshair(int index)
{
    const int count = int(m_drawing.points.size());
    index = count == 0 ? -1 : std::clamp(index, -1, count - 1);
    if (index == m_cross) return;
    m_cross = index;
    m_crossOnly = true;
    update();
    sayCrosshair();
}

void PaintArea::sayCrosshair()
{
    const QString said = m_cross >= 0 ? readOut(m_drawing.points[m_cross]) : QString();
    setAccessibleDescription(said);
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}

QImage PaintArea::image() const
{
    QImage out(size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.setFont(chartFont());
    const ChartDrawing d = compute();
    play(painter, d.steps.steps());
    play(painter, chartOverlay(d, -1, measure()).steps());
    return out;
}

void PaintArea::copyImage() const
{
    QApplication::clipboard()->setImage(image());
}

void PaintArea::saveImage()
{
    const QString path =
        Prompts::get().saveFileName(this, QStringLiteral("Enregistrer l'image"), m_imageName,
                                    QStringLiteral("Images PNG (*.png)"), QStringLiteral("png"));
    if (path.isEmpty()) return;
    runCommand(this, [&] {
        if (!image().save(path, "PNG")) throw VError::cannotCreate(path);
    });
}

void PaintArea::mouseMoveEvent(QMouseEvent *event)
{
    const int x = event->position().toPoint().x();
    if (m_dragging) {
        emit dragged(x - m_dragX);
    } else {
        setCrosshair(m_drawing.pointAt(x));
    }
    QWidget::mouseMoveEvent(event);
}

void PaintArea::mousePressEvent(QMouseEvent *event)
{
    if (m_navigable && event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragX = event->position().toPoint().x();
        setCursor(Qt::ClosedHandCursor);
        emit dragStarted();
    }
    QWidget::mousePressEvent(event);
}

void PaintArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        unsetCursor();
    }
    QWidget::mouseReleaseEvent(event);
}

void PaintArea::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Not a press: no drag starts.
    if (m_navigable && event->button() == Qt::LeftButton) emit resetAsked();
    event->accept();
}

void PaintArea::wheelEvent(QWheelEvent *event)
{
    const int notches = event->angleDelta().y() / 120;
    if (!m_navigable || notches == 0) return QWidget::wheelEvent(event);
    // Each notch away from the user closes in by a fifth.
    emit zoomAsked(event->position().toPoint().x(), std::pow(0.8, notches));
    event->accept();
}

void PaintArea::leaveEvent(QEvent *event)
{
    if (!m_dragging) setCrosshair(-1);
    QWidget::leaveEvent(event);
}

void PaintArea::keyPressEvent(QKeyEvent *event)
{
    const int count = int(m_drawing.points.size());
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    // Where the crosshair stands, or the middle of the chart.
    const int x = m_cross >= 0 ? m_drawing.points[m_cross].x
                               : (m_drawing.spread.left + m_drawing.spread.right) / 2;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int way = event->key() == Qt::Key_Left ? -1 : 1;
        if (ctrl && m_navigable)
            emit panAsked(way);
        else
            moveTo(m_cross < 0 ? (way < 0 ? count - 1 : 0) : m_cross + way);
        return;
    }
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        moveTo(std::max(0, m_cross) +
               (event->key() == Qt::Key_PageUp ? -1 : 1) * std::max(1, count / 10));
        return;
    case Qt::Key_Home:
        moveTo(0);
        return;
    case Qt::Key_End:
        moveTo(count - 1);
        return;
    case Qt::Key_Escape:
        if (m_cross >= 0) {
            setCrosshair(-1);
            return;
        }
        break;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        if (m_navigable) {
            emit zoomAsked(x, event->key() == Qt::Key_Plus ? 0.8 : 1.25);
            return;
        }
        break;
    case Qt::Key_0:
        if (m_navigable) {
            emit resetAsked();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void PaintArea::moveTo(int index)
{
    const int count = int(m_drawing.points.size());
    if (count > 0) setCrosshair(std::clamp(index, 0, count - 1));
}

QMenu *PaintArea::contextMenu()
{
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("ChartMenu"));
    menu->addAction(QStringLiteral("&Copier le graphique"), this, [this] { copyImage(); })
        ->setObjectName(QStringLiteral("miCopierGraphique"));
    menu->addAction(QStringLiteral("&Enregistrer l'image..."), this, [this] { saveImage(); })
        ->setObjectName(QStringLiteral("miEnregistrerImage"));
    return menu;
}

void PaintArea::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = contextMenu();
    // From the keyboard, the menu opens over the crosshair or the chart.
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const int x = m_cross >= 0 ? m_drawing.points[m_cross].x : m_drawing.spread.left;
        at = mapToGlobal(QPoint(x, m_drawing.crossTop));
    }
    menu->exec(at);
    delete menu;
}

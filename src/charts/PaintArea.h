#pragma once

#include "charts/chartdraw.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <functional>

class QMenu;

// A white paint area ("PaintBox1") that draws a chart computed for its size
// on every painting, with a crosshair following the mouse and the arrow
// keys and its read-out above the chart. Its context menu (the menu key,
// Shift+F10 or the right button) copies the chart or saves it as a PNG
// image. When navigable, the wheel, a drag, a double-click and the keys
// +, -, Ctrl+arrows and 0 ask for a zoom, a move or the whole period back.
class PaintArea : public QWidget
{
    Q_OBJECT
public:
    using Source = std::function<ChartDrawing(QSize, const TextMeasure &)>;
    explicit PaintArea(QWidget *parent = nullptr);

    void setSource(Source source) { m_source = std::move(source); }
    void setNavigable(bool navigable) { m_navigable = navigable; }
    // The drawing of the last painting.
    const ChartDrawing &drawing() const { return m_drawing; }
    // Computes the drawing for the present size, as a painting does.
    ChartDrawing compute() const;
    // Draws the chart again at the next painting (its data changed).
    void redraw();

    // The point of the drawing under the crosshair (-1: none).
    int crosshair() const { return m_cross; }
    void setCrosshair(int index);
    // The chart with its caption, as the screen shows it without the
    // crosshair.
    QImage image() const;
    // "Copier le graphique": the image to the clipboard.
    void copyImage() const;
    // "Enregistrer l'image...": the image to a PNG file the user names.
    void saveImage();
    // The name proposed for the image.
    void setImageName(const QString &name) { m_imageName = name; }
    // The context menu: "Copier le graphique", "Enregistrer l'image..."
    // (owned by the paint area until deleted).
    QMenu *contextMenu();

signals:
    void zoomAsked(int x, double factor);
    void dragStarted();
    void dragged(int dx);
    void panAsked(int direction);
    void resetAsked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    TextMeasure measure() const;
    // The read-out said to screen readers.
    void sayCrosshair();
    // The crosshair on a point, kept within the drawing's points.
    void moveTo(int index);

    Source m_source;
    ChartDrawing m_drawing;
    QPixmap m_chart;
    QString m_imageName;
    bool m_navigable = false;
    // The next painting only moves the crosshair over the chart drawn.
    bool m_crossOnly = false;
    int m_cross = -1;
    bool m_dragging = false;
    int m_dragX = 0;
};

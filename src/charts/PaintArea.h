#pragma once

#include "charts/chartdraw.h"

#include <QWidget>

#include <functional>

// A white paint area ("PaintBox1") that draws a chart computed for its size
// on every painting, and shows the tooltip of the point under the mouse.
class PaintArea : public QWidget
{
    Q_OBJECT
public:
    using Source = std::function<ChartDrawing(QSize, const TextMeasure &)>;
    explicit PaintArea(QWidget *parent = nullptr);

    void setSource(Source source) { m_source = std::move(source); }
    // The drawing of the last painting.
    const ChartDrawing &drawing() const { return m_drawing; }
    // Computes the drawing for the present size, as a painting does.
    ChartDrawing compute() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    Source m_source;
    ChartDrawing m_drawing;
};

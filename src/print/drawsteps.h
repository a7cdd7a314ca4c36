#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <functional>

class QPainter;

// A drawing kept as data: the steps of a chart or a printed page, computed
// from the series and the size of the surface, then played onto a widget, a
// printer or a test image. Positions are in the pixels of the surface.
struct DrawStep {
    enum Kind {
        Clear,   // the whole surface to white (x, y: width, height)
        Pen,     // colour, width, dotted
        Font,    // family, size (pixels, or points when `points`), bold
        Line,    // from (x, y) to (x2, y2)
        Text,    // text with its top at y and its left edge at x
        TextEnd, // text with its top at y and its right edge at x
        NewPage, // the next page of a printed document
    };
    Kind kind = Line;
    int x = 0;
    int y = 0;
    int x2 = 0;
    int y2 = 0;
    QString text;
    QColor color;
    int width = 1;
    bool dotted = false;
    int size = 0;
    bool points = false;
    bool bold = false;

    bool operator==(const DrawStep &) const = default;
};

// Text measurement on the surface the steps are for, in its pixels.
struct TextMeasure {
    std::function<int(const QString &)> width;
    std::function<int(const QString &)> height;
};

// A measure from the painter's current font (the font must be the one the
// steps will set).
TextMeasure painterMeasure(const QPainter &painter);

class DrawSteps
{
public:
    void clear(int w, int h);
    void pen(const QColor &color, int width, bool dotted = false);
    void font(const QString &family, int size, bool points, bool bold = false);
    void line(int x1, int y1, int x2, int y2);
    // A polyline: `moveTo` then each `lineTo` draws from the last point.
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    void text(int x, int top, const QString &text);
    void textEnd(int right, int top, const QString &text);
    void newPage();
    // A step as it is (a copy from other steps).
    void add(const DrawStep &step);

    const QList<DrawStep> &steps() const { return m_steps; }
    // The steps of one kind, in order.
    QList<DrawStep> only(DrawStep::Kind kind) const;
    // The texts drawn, in order.
    QStringList texts() const;

private:
    QList<DrawStep> m_steps;
    int m_px = 0;
    int m_py = 0;
};

// Plays the steps; `newPage` is called for each NewPage step.
void play(QPainter &painter, const QList<DrawStep> &steps,
          const std::function<void()> &newPage = {});

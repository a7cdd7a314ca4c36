#pragma once

#include "charts/series.h"

#include <QDialog>

class PaintArea;
class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QToolButton;

// The window shared by the indicators: a top panel with the title, the
// print button and "Fermer", above the paint area of the curve.
class IndicatorWindow : public QDialog
{
    Q_OBJECT
public:
    const Indicator &indicator() const { return m_indicator; }
    // The title and the period drawn.
    QString title() const;
    PaintArea *paintBox() const { return m_paintBox1; }

    // The print dialog, then the printed chart on the printer of the session.
    void SpeedButton8Click();
    void Button1Click() { close(); }
    // Prints the window's frame and curve as one document on `device`.
    bool Imprime(QPagedPaintDevice &device) const;

protected:
    IndicatorWindow(const QString &caption, QWidget *parent);
    void setIndicator(Indicator indicator);

private:
    Indicator m_indicator;
    QLabel *m_panel1 = nullptr;
    QToolButton *m_speedButton8 = nullptr;
    QPushButton *m_button1 = nullptr;
    PaintArea *m_paintBox1 = nullptr;
};

// "Rsi": the relative strength index.
class TRsi : public IndicatorWindow
{
    Q_OBJECT
public:
    explicit TRsi(QWidget *parent = nullptr) : IndicatorWindow(QStringLiteral("Rsi"), parent) {}
    void Init(const History &history, int length) { setIndicator(rsiOf(history, length)); }
};

// "Moment": the momentum.
class TMoment : public IndicatorWindow
{
    Q_OBJECT
public:
    explicit TMoment(QWidget *parent = nullptr) : IndicatorWindow(QStringLiteral("Moment"), parent)
    {
    }
    void Init(const History &history, int length) { setIndicator(momentumOf(history, length)); }
};

// "Zigzag": the prices filtered by a percentage.
class TZigzag : public IndicatorWindow
{
    Q_OBJECT
public:
    explicit TZigzag(QWidget *parent = nullptr) : IndicatorWindow(QStringLiteral("Zigzag"), parent)
    {
    }
    void Init(const History &history, int percent) { setIndicator(zigzagOf(history, percent)); }
};

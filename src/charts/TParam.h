#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QSpinBox;

// "Paramètres": the five chart settings.
class TParam : public QDialog
{
    Q_OBJECT
public:
    explicit TParam(QWidget *parent = nullptr);

    // `logScale`: 1 = the price chart on a logarithmic scale.
    void Init(int maSwitch, int maLength, int rsiLength, int momentumLength, int zigzagPercent,
              int logScale = 0);
    // Writes the values back only when the dialog was closed with "OK".
    void Result(int &maSwitch, int &maLength, int &rsiLength, int &momentumLength,
                int &zigzagPercent) const;
    void Result(int &maSwitch, int &maLength, int &rsiLength, int &momentumLength,
                int &zigzagPercent, int &logScale) const;

private:
    QCheckBox *m_checkBox1 = nullptr;
    QCheckBox *m_checkBox2 = nullptr;
    QSpinBox *m_spinEdit1 = nullptr;
    QSpinBox *m_spinEdit2 = nullptr;
    QSpinBox *m_spinEdit3 = nullptr;
    QSpinBox *m_spinEdit4 = nullptr;
    QPushButton *m_button1 = nullptr;
    QPushButton *m_button2 = nullptr;
};

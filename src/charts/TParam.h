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

    void Init(int maSwitch, int maLength, int rsiLength, int momentumLength, int zigzagPercent);
    // Writes the five values back only when the dialog was closed with "OK".
    void Result(int &maSwitch, int &maLength, int &rsiLength, int &momentumLength,
                int &zigzagPercent) const;

private:
    QCheckBox *m_checkBox1 = nullptr;
    QSpinBox *m_spinEdit1 = nullptr;
    QSpinBox *m_spinEdit2 = nullptr;
    QSpinBox *m_spinEdit3 = nullptr;
    QSpinBox *m_spinEdit4 = nullptr;
    QPushButton *m_button1 = nullptr;
    QPushButton *m_button2 = nullptr;
};

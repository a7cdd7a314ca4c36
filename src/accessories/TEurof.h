#pragma once

#include "accessories/KeypadDialog.h"
#include "accessories/euro.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

// "Euro convertisseur": francs to euros and back at a rate the user may
// nudge while the window is open. Its keys work whichever of its controls
// has the focus.
//
// Controls: Edit1 the input, Edit2 the result, Btn0 to Btn9, BtnVirgule,
// BtnEgal (focused at opening), BtnFermer, RadioButton1 "Fr>Euro",
// RadioButton2 "Euro>Fr", Edit3 the rate, UpDown1Up and UpDown1Down.
class TEurof : public KeypadDialog
{
    Q_OBJECT
public:
    explicit TEurof(QWidget *parent = nullptr);

    const EuroConverter &converter() const { return m_conv; }

protected:
    bool handleKey(QKeyEvent *event) override;

private:
    void refresh();

    EuroConverter m_conv;
    QLabel *m_input;
    QLabel *m_result;
    QLineEdit *m_rate;
    QRadioButton *m_toEuros;
    QRadioButton *m_toFrancs;
    QPushButton *m_equals = nullptr;
};

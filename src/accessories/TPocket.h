#pragma once

#include "accessories/KeypadDialog.h"

#include <QHash>

class PocketCalc;
class QLabel;
class QPushButton;

// "Calculatrice": the pocket calculator. Every opening clears it; its
// keys work whichever of its controls has the focus.
//
// Controls: Edit1 the display; Btn0 to Btn9, BtnVirgule, BtnEgal (the
// default button, focused at opening), BtnPlus, BtnMoins, BtnFois,
// BtnDivise, BtnInverse "1/x", BtnRacine "sqr", BtnC, BtnFermer.
class TPocket : public KeypadDialog
{
    Q_OBJECT
public:
    explicit TPocket(QWidget *parent = nullptr, PocketCalc *calc = nullptr);

    // One key of the calculator, as typed or clicked.
    void Touche(QChar key);

protected:
    bool handleKey(QKeyEvent *event) override;

private:
    void refresh();

    PocketCalc &m_calc;
    QLabel *m_display;
    QPushButton *m_equals = nullptr;
};

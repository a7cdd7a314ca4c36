#pragma once

#include <QDialog>
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
class TPocket : public QDialog
{
    Q_OBJECT
public:
    explicit TPocket(QWidget *parent = nullptr, PocketCalc *calc = nullptr);

    // One key of the calculator, as typed or clicked.
    void Touche(QChar key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool handleKey(QKeyEvent *event);
    void refresh();

    PocketCalc &m_calc;
    QLabel *m_display;
    QPushButton *m_equals = nullptr;
};

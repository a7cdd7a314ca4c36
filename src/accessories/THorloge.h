#pragma once

#include <QDialog>

#include "accessories/clockface.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QTimer;

// "Horloge": the time and date, refreshed every second while the window is
// active; "Set" freezes the displays for adjusting, then writes them to the
// computer's clock (through ClockSetter) and lets them run again.
//
// Controls: Label1 the mark "Valmeq", Label2 the dashes, LabelHeure the
// time, LabelDate the date, RadioGroup1 with RadioHr, RadioMn, RadioJo,
// RadioMo, RadioAn, UpDown1Up and UpDown1Down, BtnSet "Set", BtnFermer,
// Timer1.
class THorloge : public QDialog
{
    Q_OBJECT
public:
    explicit THorloge(QWidget *parent = nullptr);

    bool settingMode() const { return m_setting; }
    const ClockFace &face() const { return m_face; }
    ClockFace::Field field() const;

    void Timer1Timer();
    void SetClick();
    void UpDownClick(bool up);

protected:
    bool event(QEvent *event) override;

private:
    void refresh();

    ClockFace m_face;
    bool m_setting = false;
    QLabel *m_time;
    QLabel *m_date;
    QButtonGroup *m_fields;
    QTimer *m_timer;
};

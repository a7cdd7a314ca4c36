#pragma once

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QLabel;
class QPushButton;

// "Calendrier": the month of the selected day, today at opening. Page Up
// and Page Down step a month back and forward, the day limited to the new
// month.
//
// Controls: Label1 the heading "mmmmm  yyyy", BtnMoisPrec and BtnMoisSuiv
// ("Mois"), BtnFermer, Calendar1 the month grid (weeks from Sunday).
class TCalendrier : public QDialog
{
    Q_OBJECT
public:
    explicit TCalendrier(QWidget *parent = nullptr);

    QDate selected() const;
    void setSelected(const QDate &date);
    void MoisPrecedent();
    void MoisSuivant();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void Entete();

    QLabel *m_heading;
    QCalendarWidget *m_grid;
};

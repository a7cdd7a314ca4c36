#pragma once

#include <QDate>
#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPushButton;

// "Diviser titre": the date range and the coefficient of a share split of
// the current security.
//
// Controls: DateTimePicker1 "Date début", DateTimePicker2 "Date fin",
// Edit1 "Coefficient" (digits, holds the focus), Edit2 "Code titre"
// (read-only), OKBtn, CancelBtn.
class TDivise : public QDialog
{
    Q_OBJECT
public:
    explicit TDivise(QWidget *parent = nullptr);

    void Init(const QString &code, const QDate &dateDebut, const QDate &dateFin);
    // The coefficient after "Ok", with the dates and the code; 0 otherwise.
    // A coefficient that does not read as an integer (an empty field) throws
    // the conversion error.
    int Result(QDate &dateDebut, QDate &dateFin, QString &code) const;

private:
    QDateEdit *m_dateDebut;
    QDateEdit *m_dateFin;
    QLineEdit *m_coefficient;
    QLineEdit *m_code;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

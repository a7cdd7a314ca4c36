#pragma once

#include <QDate>
#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Convertir": the date and code range and the direction of a franc/euro
// conversion of the stored prices. The rate is shown, not chosen: the
// conversion uses the rate of the settings.
//
// Controls: DateTimePicker1 "Date début", DateTimePicker2 "Date fin",
// Edit1 "Taux de l'euro" (read-only), Edit2 "Code début", Edit3 "Code fin",
// RadioButton1 "Franc -> Euro", RadioButton2 "Euro -> Franc", OKBtn, CancelBtn.
class TConvert : public QDialog
{
    Q_OBJECT
public:
    explicit TConvert(QWidget *parent = nullptr);

    void Init(const QDate &dateDebut, const QDate &dateFin, double rate, const QString &codeDebut,
              const QString &codeFin);
    // 1 "Franc -> Euro", 2 "Euro -> Franc" after "Ok"; 0 otherwise (the
    // other values are then left as they are).
    int Result(QDate &dateDebut, QDate &dateFin, QString &codeDebut, QString &codeFin) const;

private:
    QDateEdit *m_dateDebut;
    QDateEdit *m_dateFin;
    QLineEdit *m_rate;
    QLineEdit *m_codeDebut;
    QLineEdit *m_codeFin;
    QRadioButton *m_toEuro;
    QRadioButton *m_toFranc;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

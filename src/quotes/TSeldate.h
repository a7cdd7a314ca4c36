#pragma once

#include <QDate>
#include <QDialog>

class QLineEdit;
class QPushButton;

// "Sélectionner intervalle des dates": the period the views show.
//
// Controls: MaskEdit1 "Date début" (Enter = OK), MaskEdit2 "Date fin", both
// typed "dd/mm/yyyy"; OKBtn, CancelBtn.
class TSeldate : public QDialog
{
    Q_OBJECT
public:
    explicit TSeldate(QWidget *parent = nullptr);

    void Init(const QDate &dateDebut, const QDate &dateFin);
    // Both texts as typed after "OK"; after "Annuler" the first one is empty.
    void Result(QString &dateDebut, QString &dateFin) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_dateDebut;
    QLineEdit *m_dateFin;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

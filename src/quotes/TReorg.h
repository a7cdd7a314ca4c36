#pragma once

#include <QDate>
#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPushButton;

// "Réorganiser la base": the oldest date to keep and the number of lines to
// keep when the oldest quotations are removed.
//
// Controls: DateTimePicker1 "Date la plus ancienne à conserver",
// Edit1 "Nombre de lignes a conserver" (digits, at most 6 typed, holds the
// focus, Enter = OK), OKBtn, CancelBtn.
class TReorg : public QDialog
{
    Q_OBJECT
public:
    explicit TReorg(QWidget *parent = nullptr);

    // `count`: the number of lines proposed (the store's count minus one).
    void Init(const QDate &oldest, qsizetype count);
    // The number of lines to keep after "OK", with the date; 0 otherwise. A
    // number that does not read as an integer (an empty field) throws the
    // conversion error.
    int Result(QDate &oldest) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QDateEdit *m_date;
    QLineEdit *m_count;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

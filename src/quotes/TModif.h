#pragma once

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPushButton;

// "Modifier ligne": corrects one stored quotation line.
// Controls: "DateTimePicker1" (date), "Edit1" (code), "Edit2" (name),
// "Edit3" (price), "Edit4" (volume), buttons "OKBtn" and "CancelBtn".
class TModif : public QDialog
{
    Q_OBJECT
public:
    explicit TModif(QWidget *parent = nullptr);

    // Fills the fields from a quotation line. Throws the date conversion
    // error when the line's date is not a calendar date.
    void Init(const QString &line);
    // The corrected line after "OK"; empty otherwise.
    void Result(QString &line) const;

    // "OK": refused while a field cannot go into the store (empty code or
    // price, unreadable price, text the file cannot hold); the error is
    // shown and the focus goes back to that field.
    void accept() override;
    void done(int r) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The price rule: a readable price is rewritten "#.00". False when the
    // price cannot be read.
    bool checkPrice();
    void reportPrice();

    QDateEdit *m_date = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_price = nullptr;
    QLineEdit *m_volume = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    bool m_accepted = false;
    bool m_closing = false;
};

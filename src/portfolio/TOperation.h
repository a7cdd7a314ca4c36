#pragma once

#include <QDialog>
#include <QStringList>

class OperationFields;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ptf
{
struct Operation;
}

// "Achat de titres" / "Vente de titres": one purchase or sale.
// Controls: "ComboBox1" (code), "DateTimePicker1", "Edit1" (total price),
// "Edit2" (quantity), "Edit3" (fees), "Button1" (Annuler), "Button2" (OK).
class TOperation : public QDialog
{
    Q_OBJECT
public:
    explicit TOperation(QWidget *parent = nullptr);

    // Caption `name` + " de titres", today's date, the codes of the index,
    // the code of the current security (none when the index has no entry
    // at `current`).
    void Init(const QString &name, const QStringList &index, int current);
    // The line without its kind letter after "OK"; empty when cancelled or
    // when a field is empty.
    QString Result() const;
    // The fields of an operation already recorded, to be changed.
    void Fill(const ptf::Operation &op);
    // The portfolio the operation of `kind` goes into, in place of its line
    // `except` (-1: added): "OK" then asks before recording a sale of more
    // shares than held or a code the index does not know.
    void setPortfolio(const QStringList &portfolio, QChar kind, qsizetype except = -1);

    // "OK": refused, with a message naming the field, while the code is
    // shorter than six characters, a field holds text the portfolio file
    // cannot (a tab or a line break pasted, a character Windows-1252 lacks),
    // or an amount or quantity is empty or not a number.
    void accept() override;

protected:
    TOperation(QWidget *parent, const QString &amountLabel, const QString &fifthLabel);
    void fillCodes(const QStringList &index, int current);

private:
    QString m_amountLabel;
    QString m_fifthLabel;
    QComboBox *m_code;
    QDateEdit *m_date;
    QLineEdit *m_amount;
    QLineEdit *m_quantity;
    QLineEdit *m_fifth;
    QLabel *m_name;
    QStringList m_index;
    QStringList m_portfolio;
    QChar m_kind;
    qsizetype m_except = -1;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    OperationFields *m_fields;
    bool m_accepted = false;
};

// "Dividendes": one dividend, "Edit1" the total dividend and "Edit3" the
// tax credit.
class TDividende : public TOperation
{
    Q_OBJECT
public:
    explicit TDividende(QWidget *parent = nullptr);
    void Init(const QStringList &index, int current);
};

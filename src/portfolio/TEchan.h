#pragma once

#include "quotes/quotelines.h"

#include <QDialog>
#include <QStringList>

#include <utility>

class OperationFields;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// "Echange de titres": the shares given up and the shares received.
// Controls: "ComboBox1" (Code échangé), "ComboBox2" (Code reçu),
// "DateTimePicker1", "Edit1" (Quantité échangée), "Edit4" (Quantité reçue),
// "Edit2" (Soulte), "Edit3" (fees), "Button1" (Annuler), "Button2" (OK).
class TEchan : public QDialog
{
    Q_OBJECT
public:
    explicit TEchan(QWidget *parent = nullptr);

    // The store is read, never changed, for the last prices.
    void Init(const QString &name, const QStringList &index, int current, const QuoteLines &store);
    // The sale part and the purchase part (without kind letters); both
    // empty when cancelled or when the soulte or the fees are empty. Throws
    // the conversion error of a quantity, a price or the soulte.
    std::pair<QString, QString> Result() const;
    // The price of the newest quotation of the code; false when none.
    bool Dernier(const QString &code, QString *price) const;

    // The portfolio the exchange goes into: "OK" then asks before giving
    // more shares than held.
    void setPortfolio(const QStringList &portfolio)
    {
        m_portfolio = portfolio;
        m_withPortfolio = true;
    }

    // "OK": refused, with a message naming the field, while a code is
    // shorter than six characters or has no price in the store, a field
    // holds text the portfolio file cannot, or a quantity, the soulte or
    // the fees are empty or not a number.
    void accept() override;

private:
    QComboBox *m_codeOut;
    QComboBox *m_codeIn;
    QDateEdit *m_date;
    QLineEdit *m_qtyOut;
    QLineEdit *m_qtyIn;
    QLineEdit *m_soulte;
    QLineEdit *m_fees;
    QLabel *m_nameOut;
    QLabel *m_nameIn;
    QStringList m_portfolio;
    bool m_withPortfolio = false;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    OperationFields *m_fields;
    QuoteLines m_store;
    bool m_accepted = false;
};

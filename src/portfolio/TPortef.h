#pragma once

#include "portfolio/GridWindow.h"
#include "quotes/quotelines.h"

class QLabel;

// "Portefeuille au dd/mm/yyyy": the positions held, valued at the last
// prices. Controls: "SpeedButton8" (Imprimer), "Button1" (Fermer),
// "StringGrid1" (column 0, the code, hidden), "Label4" (Evaluation),
// "Label1" ("Plus value" or "Moins value"), "Label2" (the gain), "Label5"
// (the dates of the prices used), and what the portfolio earned: "Label6"
// (realised gains), "Label7" (dividends), "Label8" (tax credits), "Label9"
// (fees), "Label10" (annual return). Each row also gives the date of its
// price and what its security earned.
class TPortef : public GridWindow
{
    Q_OBJECT
public:
    explicit TPortef(QWidget *parent = nullptr);

    // The store is expected sorted (the command sorts it). The lines that
    // do not read are left out (see unreadable).
    void Init(const QStringList &portfolio, const QStringList &index, const QuoteLines &store);
    int count() const { return m_count; }

private:
    QLabel *m_evaluation;
    QLabel *m_gainCaption;
    QLabel *m_gain;
    QLabel *m_pricesDate;
    QList<QLabel *> m_earned;
    int m_count = 0;
};

#pragma once

#include "portfolio/GridWindow.h"
#include "quotes/quotelines.h"

class QLabel;

// "Portefeuille au dd/mm/yyyy": the positions held, valued at the last
// prices. Controls: "SpeedButton8" (Imprimer), "Button1" (Fermer),
// "StringGrid1" (column 0, the code, hidden), "Label4" (Evaluation),
// "Label1" ("Plus value" or "Moins value"), "Label2" (the gain), "Label5"
// (the date of the prices used).
class TPortef : public GridWindow
{
    Q_OBJECT
public:
    explicit TPortef(QWidget *parent = nullptr);

    // The store is expected sorted (the command sorts it). Throws the
    // conversion error of the first portfolio line that does not read.
    void Init(const QStringList &portfolio, const QStringList &index, const QuoteLines &store);
    int count() const { return m_count; }

private:
    QLabel *m_evaluation;
    QLabel *m_gainCaption;
    QLabel *m_gain;
    QLabel *m_pricesDate;
    int m_count = 0;
};

#pragma once

#include "portfolio/GridWindow.h"
#include "portfolio/portfolio.h"

#include <optional>

class QLabel;

// "Journal des opérations": the operations of one year and "Cessions", the
// total of its sales. Controls: "Panel1" (the year), "SpeedButton8"
// (Imprimer), "SpeedButton2" (Supprimer ligne), "SpeedButton3" / "SpeedButton4"
// (year before / after), "Button1" (Fermer), "StringGrid1", "Label2".
class TJnl : public GridWindow
{
    Q_OBJECT
public:
    explicit TJnl(QWidget *parent = nullptr);

    // Reads the lines (throws the conversion error of the first line that
    // does not read: the window is then not shown), then `LitAn`.
    void Init(const QStringList &portfolio, const QStringList &index);
    // The rows of the selected year, one under the other, and "Cessions".
    void LitAn();
    int year() const { return m_year; }
    void SpeedButton3Click();
    void SpeedButton4Click();
    // After the question, the current row leaves the list shown and
    // "Cessions" follows the list.
    void Supprimer() override;

private:
    QList<ptf::Operation> m_ops;
    std::optional<ptf::SecurityNames> m_names;
    int m_year;
    QLabel *m_panel1;
    QLabel *m_cessions;
};

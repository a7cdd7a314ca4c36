#pragma once

#include "portfolio/GridWindow.h"
#include "portfolio/portfolio.h"

#include <optional>

class QLabel;

// "Journal des opérations": the operations of one year and "Cessions", the
// total of its sales. Controls: "Panel1" (the year), "SpeedButton8"
// (Imprimer), "SpeedButton2" (Supprimer ligne: from the list shown only),
// "SpeedButton3" / "SpeedButton4" (year before / after), "SpeedButton5"
// (Modifier l'opération...), "SpeedButton6" (Supprimer l'opération),
// "SpeedButton7" (Annuler), "Button1" (Fermer), "StringGrid1", "Label2".
class TJnl : public GridWindow
{
    Q_OBJECT
public:
    explicit TJnl(QWidget *parent = nullptr);

    // Reads the lines (those that do not read are left out, see
    // unreadable), opens on the current year, or on the year of the newest
    // operation when the current year holds none, then `LitAn`.
    void Init(const QStringList &portfolio, const QStringList &index);
    // The portfolio as the journal changed it; false when it did not.
    bool Result(QStringList *portfolio) const;
    // The rows of the selected year, one under the other, and "Cessions".
    void LitAn();
    int year() const { return m_year; }
    void SpeedButton3Click();
    void SpeedButton4Click();
    // After the question, the current row leaves the list shown and
    // "Cessions" follows the list; the portfolio stays as it is.
    void Supprimer() override;
    // The operation of the current row in its own dialog (a purchase, a
    // sale, a dividend; each line of an exchange as what it is), filled
    // with its fields; confirmed, it replaces the line.
    void Modifier();
    // After "Supprimer cette opération du portefeuille ?", the operation of
    // the current row leaves the portfolio.
    void SupprimerOperation();
    // Undoes the last change of the portfolio made here.
    void Annuler();

private:
    // The portfolio line of the current row; -1 when none.
    qsizetype currentLine() const;
    void change(const QStringList &lines);

    QStringList m_lines;
    QStringList m_index;
    QList<QStringList> m_undo;
    bool m_changed = false;
    QList<ptf::Operation> m_ops;
    QList<qsizetype> m_rowLines; // the portfolio line of each row shown
    std::optional<ptf::SecurityNames> m_names;
    int m_year;
    QLabel *m_panel1;
    QLabel *m_cessions;
    QToolButton *m_undoButton;
};

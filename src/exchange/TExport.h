#pragma once

#include "exchange/exporting.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

// "Exporter pour un tableur": how the file is written when it is not the
// program's own text file.
//
// Controls: ComboBox1 "Séparateur" (Tabulation, Point-virgule), ComboBox2
// "Codage" (Windows-1252, UTF-8), CheckBox1 "Ligne d'en-tête", OKBtn,
// CancelBtn (also Escape).
class TExport : public QDialog
{
    Q_OBJECT
public:
    explicit TExport(QWidget *parent = nullptr);

    void Init(const exporting::Options &options);
    // The options chosen; false when the dialog was not confirmed.
    bool Result(exporting::Options &options) const;

private:
    QComboBox *m_separator;
    QComboBox *m_encoding;
    QCheckBox *m_heading;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

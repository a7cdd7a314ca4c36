#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;

// "Configuration imprimante": the printer of the session (a printer of the
// system, or a PDF file), its paper and its orientation.
class TConfigImprimante : public QDialog
{
    Q_OBJECT
public:
    explicit TConfigImprimante(QWidget *parent = nullptr);

    // The choices shown from the printer's present set-up.
    void Init(const QPrinter &printer);
    // The printer set up as chosen, only after "OK".
    void Result(QPrinter &printer) const;

    // The entry of the printer list that prints to a PDF file.
    static QString pdfEntry();

private:
    void updateFileField();

    QComboBox *m_comboBox1 = nullptr; // printer
    QLineEdit *m_edit1 = nullptr;     // PDF file
    QComboBox *m_comboBox2 = nullptr; // paper
    QRadioButton *m_radioButton1 = nullptr;
    QRadioButton *m_radioButton2 = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

#pragma once

#include "exchange/importing.h"

#include <QDate>
#include <QDialog>
#include <QStringList>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// "Importer", date-first order (date, code, name, price, volume): a preview
// of the file's first lines, the day filter and the date after which
// quotations are taken.
//
// Controls: StringGrid1 (preview: headings in row 0, the first seven lines
// of the file as they stand), RadioButton1 "Tous les cours", RadioButton2
// "Cours du vendredi" (chosen at opening), MaskEdit1 "Après le"
// ("99/99/9999"), OKBtn, CancelBtn (also Escape).
class TImport : public QDialog
{
    Q_OBJECT
public:
    explicit TImport(QWidget *parent = nullptr) : TImport(importing::Order::DateFirst, parent) {}

    // Proposes `lastDate` as the threshold and loads the file whole. Throws
    // "Ne peut ouvrir le fichier %s".
    void Init(const QString &fileName, const QDate &lastDate);
    // After "OK": normalises the file's lines and chooses those to append to
    // the store. False (nothing chosen) when the dialog was not confirmed.
    // Throws the date message for a threshold half typed or impossible, or
    // for a line without a date: nothing is chosen then.
    bool Result(const QuoteLines &store, const QStringList &index, importing::Selection &chosen);
    // Normalises the lines of the file in place; returns the headings left out.
    int Reformate();
    bool Vendredi(const QString &line) const;

protected:
    TImport(importing::Order order, QWidget *parent);

private:
    importing::Order m_order;
    QStringList m_lines;
    QTableWidget *m_grid;
    QRadioButton *m_allDays;
    QRadioButton *m_fridays;
    QLineEdit *m_after;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

// "Importer", code-first order (code, name, date, price, volume).
class TImport2 : public TImport
{
    Q_OBJECT
public:
    explicit TImport2(QWidget *parent = nullptr) : TImport(importing::Order::CodeFirst, parent) {}
};

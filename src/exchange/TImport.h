#pragma once

#include "exchange/importing.h"

#include <QDate>
#include <QDialog>
#include <QStringList>
#include <QTimer>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// "Importer", date-first order (date, code, name, price, volume): a preview
// of the file's first lines, the day filter, the date after which
// quotations are taken, and how many will come in.
//
// Controls: StringGrid1 (preview: headings in row 0, the first seven lines
// of the file as they stand; those of a file with a heading line as they
// will be stored), RadioButton1 "Tous les cours", RadioButton2 "Cours du
// vendredi" (chosen at opening), MaskEdit1 "Après le" ("99/99/9999"), Label1
// the count to import, OKBtn, CancelBtn (also Escape). A file with a heading
// line but no code column adds ComboBox1 "Titre" (the securities of the index,
// then "Nouveau titre") and, for a new one, Edit1 "Code" and Edit2 "Nom".
class TImport : public QDialog
{
    Q_OBJECT
public:
    explicit TImport(QWidget *parent = nullptr) : TImport(importing::Order::DateFirst, parent) {}

    // Proposes `lastDate` as the threshold and loads the file whole; the
    // store and the index (kept by reference while the dialog lives) give
    // the count of the preview. Throws "Ne peut ouvrir le fichier %s".
    void Init(const QString &fileName, const QDate &lastDate, const QuoteLines &store,
              const QStringList &index);
    // After "OK": normalises the file's lines and chooses those to append to
    // the store. False (nothing chosen) when the dialog was not confirmed.
    // Throws the date message for a threshold half typed or impossible, or
    // for a line without a date in a file without heading: nothing is chosen
    // then. A new security is taken as known.
    bool Result(const QuoteLines &store, const QStringList &index, importing::Selection &chosen);
    // Normalises the lines of the file in place; returns the headings left out.
    int Reformate();
    bool Vendredi(const QString &line) const;
    // Fills the preview's count with the options as they stand.
    void Apercu();

    // "OK" refuses to close while a file without codes has no security.
    void accept() override;

protected:
    TImport(importing::Order order, QWidget *parent);

private:
    // The lines chosen with the options as they stand, from the last
    // computation when they have not changed since.
    importing::Selection choose(const QuoteLines &store, const QStringList &index);
    QString optionsKey() const;
    importing::Security security() const;
    void securityChosen();
    void addSecurityRow(const QStringList &index);
    void showRows(const QList<QStringList> &rows);
    void changed();

    importing::Order m_order;
    QuoteLines m_lines;
    int m_firstLine = 0; // line of the file (from 1) a heading would stand on
    std::optional<importing::Columns> m_columns;
    importing::DayOrder m_days;
    const QuoteLines *m_store = nullptr;
    const QStringList *m_index = nullptr;

    QString m_key; // the options of the last computation
    importing::Selection m_chosen;
    QuoteLines m_normalised; // of a headed file, from the last computation
    QTimer m_refresh;

    QTableWidget *m_grid;
    QRadioButton *m_allDays;
    QRadioButton *m_fridays;
    QLineEdit *m_after;
    QLabel *m_count;
    QComboBox *m_security = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_name = nullptr;
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

#pragma once

#include "notes/RecordDialog.h"
#include "notes/press.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;

// "Vu dans la presse": the press notes, one at a time, searched by code.
// Every move stores the note on display first, and so does the closing; the
// notes go back sorted.
//
// Controls: ToolBar1 with ActionAjouter "Ajouter fiche", ActionSupprimer
// "Supprimer titre", ActionRechercher "Rechercher", ActionSuivant
// "Rerchercher suivant", ActionPremier "Premier", ActionPrecedente "Fiche
// précédente", ActionSuivante "Fiche suivante", ActionDernier "Dernier";
// BtnFermer (also Escape); DateTimePicker1 "Date", ComboBox1 "Code", Edit1
// "Nom", Edit2 "Sujet" (focused at opening), Memo1 the text.
class TPresse : public RecordDialog
{
    Q_OBJECT
public:
    explicit TPresse(QWidget *parent = nullptr);

    void Init(const QStringList &index, const QStringList &noteList);
    // The notes, sorted.
    QStringList Result();

    void LitFiche() override;
    void EcritFiche() override;
    void Premier();
    void FichePrecedente() override;
    void FicheSuivante() override;
    void Dernier();
    void AjouterFiche();
    void SupprimerTitre();
    void Rechercher();
    void RechercherSuivant();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    press::Note shown() const;
    void ComboBox1Change(const QString &text) override;
    void showDate(const QString &stored);

    NoteBook m_book;
    QString m_rawDate; // a stored date that does not read, shown as it is
    QDateEdit *m_date;
    QComboBox *m_code;
    QLineEdit *m_name;
    QLineEdit *m_subject;
    QPlainTextEdit *m_text;
};

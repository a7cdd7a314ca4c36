#pragma once

#include "notes/RecordDialog.h"
#include "notes/cards.h"

#include <array>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// "Liste des titres": the security cards, one at a time. Every move stores
// the card on display first, and so does the closing.
//
// Controls: ToolBar1 with ActionAjouter "Ajouter fiche", ActionSupprimer
// "Supprimer titre", ActionPrecedente "Fiche précédente", ActionSuivante
// "Fiche suivante"; BtnFermer; ComboBox1 "Code", Edit1 "Nom", Edit2 "Année"
// (focused at opening), Edit3 to Edit9 the figures, Memo1 "Commentaire".
class TListe : public RecordDialog
{
    Q_OBJECT
public:
    explicit TListe(QWidget *parent = nullptr);

    void Init(const QStringList &index, const QStringList &cardList);
    QStringList Result() const { return m_book.cards(); }

    void LitFiche() override;
    void EcritFiche() override;
    void FichePrecedente() override;
    void FicheSuivante() override;
    void AjouterFiche();
    void SupprimerTitre();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    cards::Card shown() const;
    void ComboBox1Change(const QString &text) override;

    CardBook m_book;
    QString m_shownCode; // the code the card on display was shown with
    QComboBox *m_code;
    QLineEdit *m_name;
    QLineEdit *m_year;
    std::array<QLineEdit *, 7> m_figures{};
    QPlainTextEdit *m_comment;
};

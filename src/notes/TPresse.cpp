#include "notes/TPresse.h"

#include "base/DialogKit.h"
#include "base/Prompts.h"
#include "base/clock.h"
#include "base/errors.h"
#include "base/formats.h"
#include "base/records.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>

using press::Note;

namespace
{
// The picker's lowest date stands for a stored date that does not read.
const QDate kUnreadable(1752, 9, 14);
} // namespace

TPresse::TPresse(QWidget *parent)
    : RecordDialog(parent, QStringLiteral("Presse"), QStringLiteral("Vu dans la presse"))
{
    tool("ActionAjouter", QStyle::SP_FileDialogNewFolder, "Ajouter fiche", &TPresse::AjouterFiche);
    tool("ActionSupprimer", QStyle::SP_TrashIcon, "Supprimer titre", &TPresse::SupprimerTitre);
    tool("ActionRechercher", QStyle::SP_FileDialogContentsView, "Rechercher", &TPresse::Rechercher);
    tool("ActionSuivant", QStyle::SP_FileDialogDetailedView, "Rerchercher suivant",
         &TPresse::RechercherSuivant);
    tool("ActionPremier", QStyle::SP_MediaSkipBackward, "Premier", &TPresse::Premier);
    tool("ActionPrecedente", QStyle::SP_MediaSeekBackward, "Fiche précédente",
         &TPresse::FichePrecedente);
    tool("ActionSuivante", QStyle::SP_MediaSeekForward, "Fiche suivante", &TPresse::FicheSuivante);
    tool("ActionDernier", QStyle::SP_MediaSkipForward, "Dernier", &TPresse::Dernier);

    m_date = dialogkit::datePicker(this, QStringLiteral("DateTimePicker1"));
    m_date->setMinimumDate(kUnreadable);
    m_code = newCodeBox();
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Edit1"));
    m_subject = new QLineEdit(this);
    m_subject->setObjectName(QStringLiteral("Edit2"));
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Memo1"));
    m_name->installEventFilter(this);
    m_subject->installEventFilter(this);

    row(0, 0, "&Date", m_date);
    row(0, 2, "&Code", m_code);
    row(1, 0, "&Nom", m_name);
    row(1, 2, "&Sujet", m_subject);
    grid()->addWidget(dialogkit::buddyLabel(this, QStringLiteral("&Texte"), m_text), 2, 0, 1, 4);
    grid()->addWidget(m_text, 3, 0, 1, 4);
    dialogkit::tabOrder({m_date, m_code, m_name, m_subject, m_text, closeButton()});
    resize(600, 400);
    m_subject->setFocus();
    setFocusAfterMoves(m_subject);
}

void TPresse::Init(const QStringList &index, const QStringList &noteList)
{
    m_book.Init(index, noteList);
    fillCodes(m_book.codes());
    setCodeText(QString());
    LitFiche();
}

void TPresse::showDate(const QString &stored)
{
    const QDate d = stored.isEmpty() ? Clock::get().today() : storedToDate(stored);
    if (d.isValid() && d > kUnreadable) {
        m_rawDate.clear();
        m_date->setSpecialValueText(QString());
        m_date->setDate(d);
    } else {
        // Shown as stored, and stored back as it was unless a date is chosen.
        m_rawDate = stored;
        m_date->setSpecialValueText(storedToShown(stored));
        m_date->setDate(kUnreadable);
    }
}

void TPresse::LitFiche()
{
    // An empty note shows empty fields: nothing of another note is kept
    // for it.
    const Note n = m_book.current();
    showDate(n.date);
    setCodeText(n.code);
    m_name->setText(n.name);
    m_subject->setText(n.subject);
    m_text->setPlainText(n.text.join(QLatin1Char('\n')));
}

Note TPresse::shown() const
{
    Note n;
    n.date =
        m_date->date() == kUnreadable && !m_rawDate.isNull() ? m_rawDate : toStored(m_date->date());
    n.code = m_code->currentText();
    n.name = m_name->text();
    n.subject = m_subject->text();
    const QString text = records::pageText(m_text->document()->toRawText());
    if (!text.isEmpty()) n.text = text.split(QLatin1Char('\n'));
    return n;
}

void TPresse::EcritFiche()
{
    m_book.EcritFiche(shown());
}

void TPresse::Premier()
{
    move([this] { m_book.first(shown()); });
}

void TPresse::FichePrecedente()
{
    move([this] { m_book.previous(shown()); });
}

void TPresse::FicheSuivante()
{
    move([this] { m_book.next(shown()); });
}

void TPresse::Dernier()
{
    move([this] { m_book.last(shown()); });
}

void TPresse::SupprimerTitre()
{
    if (!m_book.onNote()) return;
    move([this] { m_book.remove(shown()); });
}

void TPresse::AjouterFiche()
{
    if (!storing([this] { m_book.add(shown()); })) return;
    setCodeText(QString());
    m_name->clear();
    m_subject->clear();
    m_text->clear();
    showDate(QString());
}

void TPresse::ComboBox1Change(const QString &text)
{
    const QString name = m_book.codeChanged(text);
    if (!name.isNull()) m_name->setText(name);
}

void TPresse::Rechercher()
{
    const QString proposed = m_code->currentText();
    QString code = proposed;
    // Cancelled, the box gives back the text it proposed.
    if (!Prompts::get().inputText(this, QStringLiteral("Rechercher"), QStringLiteral("Code"), code))
        code = proposed;
    if (code.isEmpty()) return;
    move([&] { m_book.Rechercher(shown(), code); });
}

void TPresse::RechercherSuivant()
{
    move([this] { m_book.Cherche(shown()); });
}

QStringList TPresse::Result()
{
    try {
        return m_book.Result(shown());
    } catch (const VError &) {
        // Refused at closing already: the note on display stays as stored.
        QStringList notes = m_book.notes();
        press::sort(notes);
        return notes;
    }
}

bool TPresse::eventFilter(QObject *watched, QEvent *event)
{
    if (pageKey(event)) return true;
    return QDialog::eventFilter(watched, event);
}

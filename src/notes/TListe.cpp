#include "notes/TListe.h"

#include "base/DialogKit.h"
#include "base/keys.h"
#include "base/records.h"
#include "quotes/entry.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>

using cards::Card;

TListe::TListe(QWidget *parent)
    : RecordDialog(parent, QStringLiteral("Liste"), QStringLiteral("Liste des titres"))
{
    tool("ActionAjouter", QStyle::SP_FileDialogNewFolder, "Ajouter fiche", &TListe::AjouterFiche);
    tool("ActionSupprimer", QStyle::SP_TrashIcon, "Supprimer titre", &TListe::SupprimerTitre);
    tool("ActionPrecedente", QStyle::SP_ArrowBack, "Fiche précédente", &TListe::FichePrecedente);
    tool("ActionSuivante", QStyle::SP_ArrowForward, "Fiche suivante", &TListe::FicheSuivante);

    m_code = newCodeBox();
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Edit1"));
    m_year = new QLineEdit(this);
    m_year->setObjectName(QStringLiteral("Edit2"));
    dialogkit::digitsOnly(m_year, 4);
    m_year->setMaxLength(4);
    for (int i = 0; i < 7; ++i) {
        m_figures[i] = new QLineEdit(this);
        m_figures[i]->setObjectName(QStringLiteral("Edit%1").arg(i + 3));
        m_figures[i]->setAlignment(Qt::AlignRight);
        m_figures[i]->installEventFilter(this);
    }
    m_comment = new QPlainTextEdit(this);
    m_comment->setObjectName(QStringLiteral("Memo1"));
    m_name->installEventFilter(this);
    m_year->installEventFilter(this);

    row(0, 0, "&Code", m_code);
    row(0, 2, "&Nom", m_name);
    row(1, 0, "&Année", m_year);
    row(1, 2, "C&hiffre d'affaires", m_figures[0]);
    row(2, 0, "&Bénéfice brut", m_figures[1]);
    row(2, 2, "Bénéfice / &titre", m_figures[2]);
    row(3, 0, "&Dividendes", m_figures[3]);
    row(3, 2, "&Quotité", m_figures[4]);
    row(4, 0, "N&ominal", m_figures[5]);
    row(4, 2, "&Per", m_figures[6]);
    grid()->addWidget(dialogkit::buddyLabel(this, QStringLiteral("Co&mmentaire"), m_comment), 5, 0,
                      1, 4);
    grid()->addWidget(m_comment, 6, 0, 1, 4);

    dialogkit::tabOrder({m_code, m_name, m_year, m_figures[0], m_figures[1], m_figures[2],
                         m_figures[3], m_figures[4], m_figures[5], m_figures[6], m_comment,
                         closeButton()});
    resize(620, 440);
    m_year->setFocus();
}

void TListe::Init(const QStringList &index, const QStringList &cardList)
{
    m_book.Init(index, cardList);
    fillCodes(m_book.codes());
    LitFiche();
}

Card TListe::shown() const
{
    Card c;
    c.code = m_code->currentText();
    c.name = m_name->text();
    c.year = m_year->text();
    for (int i = 0; i < 7; ++i)
        c.figures[i] = m_figures[i]->text();
    const QString comment = records::pageText(m_comment->document()->toRawText());
    if (!comment.isEmpty()) c.comment = comment.split(QLatin1Char('\n'));
    return c;
}

void TListe::LitFiche()
{
    if (!m_book.onCard()) return;
    const Card c = m_book.current();
    setCodeText(c.code);
    m_shownCode = c.code;
    m_name->setText(c.name);
    m_year->setText(c.year);
    for (int i = 0; i < 7; ++i)
        m_figures[i]->setText(c.figures[i]);
    m_comment->setPlainText(c.comment.join(QLatin1Char('\n')));
}

void TListe::EcritFiche()
{
    m_book.EcritFiche(shown());
}

void TListe::FichePrecedente()
{
    move([this] { m_book.previous(shown()); });
}

void TListe::FicheSuivante()
{
    move([this] { m_book.next(shown()); });
}

void TListe::SupprimerTitre()
{
    move([this] { m_book.remove(shown()); });
}

void TListe::AjouterFiche()
{
    if (!storing([this] { m_book.add(shown()); })) return;
    // A new card starts empty.
    setCodeText(QString());
    m_shownCode.clear();
    for (QLineEdit *e : {m_name, m_year})
        e->clear();
    for (QLineEdit *e : m_figures)
        e->clear();
    m_comment->clear();
    m_code->setFocus();
}

void TListe::ComboBox1Change(const QString &text)
{
    Card before = shown();
    before.code = m_shownCode;
    bool found = false;
    if (!storing([&] { found = m_book.chooseCode(before, text); }) || !found) return;
    // The text typed stays as it is while the card of that code shows.
    const int cursor = m_code->lineEdit() ? m_code->lineEdit()->cursorPosition() : 0;
    LitFiche();
    if (m_code->lineEdit()) m_code->lineEdit()->setCursorPosition(cursor);
}

void TListe::keyPressEvent(QKeyEvent *event)
{
    // Escape does not close the cards.
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

bool TListe::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (edit && pageKey(event)) return true;
    if (edit && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (std::find(m_figures.begin(), m_figures.end(), edit) != m_figures.end()) {
            QString replacement;
            switch (keys::filterKey(*key, keys::amountChar, &replacement)) {
            case keys::KeyAction::Pass:
                break;
            case keys::KeyAction::Drop:
                return true;
            case keys::KeyAction::Replace:
                edit->insert(replacement);
                return true;
            }
        }
    }
    if (edit && event->type() == QEvent::FocusOut &&
        std::find(m_figures.begin(), m_figures.end(), edit) != m_figures.end())
        edit->setText(entry::leftPrice(edit->text()));
    return QDialog::eventFilter(watched, event);
}

#include "notes/TListe.h"

#include "base/keys.h"
#include "base/DialogKit.h"
#include "base/Prompts.h"
#include "base/errors.h"
#include "base/records.h"
#include "quotes/entry.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

using cards::Card;

TListe::TListe(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Liste"));
    setWindowTitle(QStringLiteral("Liste des titres"));

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    const auto tool = [&](const char *name, QStyle::StandardPixmap icon, const char *hint,
                          void (TListe::*op)()) {
        dialogkit::toolAction(bar, name, icon, hint, [this, op] { (this->*op)(); });
    };
    tool("ActionAjouter", QStyle::SP_FileDialogNewFolder, "Ajouter fiche", &TListe::AjouterFiche);
    tool("ActionSupprimer", QStyle::SP_TrashIcon, "Supprimer titre", &TListe::SupprimerTitre);
    tool("ActionPrecedente", QStyle::SP_ArrowBack, "Fiche précédente", &TListe::FichePrecedente);
    tool("ActionSuivante", QStyle::SP_ArrowForward, "Fiche suivante", &TListe::FicheSuivante);
    auto *fermer = new QPushButton(QStringLiteral("Fermer"), this);
    fermer->setObjectName(QStringLiteral("BtnFermer"));
    fermer->setAutoDefault(false);
    connect(fermer, &QPushButton::clicked, this, &QDialog::reject);

    m_code = new QComboBox(this);
    m_code->setObjectName(QStringLiteral("ComboBox1"));
    m_code->setEditable(true);
    m_code->setInsertPolicy(QComboBox::NoInsert);
    m_code->setCompleter(nullptr);
    connect(m_code, &QComboBox::currentTextChanged, this, &TListe::ComboBox1Change);
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

    auto *grid = new QGridLayout;
    const auto row = [&](int r, int col, const char *caption, QWidget *field) {
        grid->addWidget(dialogkit::buddyLabel(this, QString::fromUtf8(caption), field), r, col);
        grid->addWidget(field, r, col + 1);
    };
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
    grid->addWidget(dialogkit::buddyLabel(this, QStringLiteral("Co&mmentaire"), m_comment), 5, 0, 1,
                    4);
    grid->addWidget(m_comment, 6, 0, 1, 4);
    grid->setColumnStretch(3, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(bar, 1);
    top->addWidget(fermer);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grid, 1);

    dialogkit::tabOrder({m_code, m_name, m_year, m_figures[0], m_figures[1], m_figures[2],
                         m_figures[3], m_figures[4], m_figures[5], m_figures[6], m_comment,
                         fermer});
    resize(620, 440);
    m_year->setFocus();
}

void TListe::Init(const QStringList &index, const QStringList &cardList)
{
    m_book.Init(index, cardList);
    m_filling = true;
    m_code->clear();
    m_code->addItems(m_book.codes());
    m_filling = false;
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
    m_filling = true;
    m_code->setEditText(c.code);
    m_filling = false;
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

void TListe::move(const std::function<void()> &step)
{
    try {
        step();
    } catch (const VError &e) {
        Prompts::get().error(this, e.message());
        return;
    }
    LitFiche();
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
    try {
        m_book.add(shown());
    } catch (const VError &e) {
        Prompts::get().error(this, e.message());
        return;
    }
    // A new card starts empty.
    m_filling = true;
    m_code->setEditText(QString());
    m_filling = false;
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
    if (m_filling) return;
    Card before = shown();
    before.code = m_shownCode;
    bool found = false;
    try {
        found = m_book.chooseCode(before, text);
    } catch (const VError &e) {
        Prompts::get().error(this, e.message());
        return;
    }
    if (!found) return;
    // The text typed stays as it is while the card of that code shows.
    const int cursor = m_code->lineEdit() ? m_code->lineEdit()->cursorPosition() : 0;
    LitFiche();
    if (m_code->lineEdit()) m_code->lineEdit()->setCursorPosition(cursor);
}

void TListe::done(int result)
{
    // The card on display is kept like any other; text the file cannot
    // hold keeps the window open so that it can be mended.
    try {
        EcritFiche();
    } catch (const VError &e) {
        Prompts::get().error(this, e.message());
        return;
    }
    QDialog::done(result);
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
    if (edit && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown) {
            key->key() == Qt::Key_PageUp ? FichePrecedente() : FicheSuivante();
            return true;
        }
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

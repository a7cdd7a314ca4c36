#include "exchange/THttpGet.h"

#include "base/DialogKit.h"
#include "base/Prompts.h"
#include "base/errors.h"
#include "base/records.h"
#include "exchange/download.h"
#include "exchange/importing.h"
#include "exchange/sites.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{

QToolButton *toolButton(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolTip(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

THttpGet::THttpGet(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HttpGet"));
    setWindowTitle(QStringLiteral("Télécharger cours"));

    m_client.setProxy(QString(), QStringLiteral("80"));
    m_client.setUserAgent("Mozilla/3.0 (compatible)");
    m_client.setAccept("image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
    m_client.setNoCache(false);

    m_get = toolButton(this, "ToolButton1", QStringLiteral("Télécharger"));
    m_stop = toolButton(this, "ToolButton2", QStringLiteral("Arrêter"));
    m_stop->setEnabled(false);
    auto *tools = new QHBoxLayout;
    tools->addWidget(m_get);
    tools->addWidget(m_stop);
    tools->addStretch(1);

    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("ComboBox1"));
    m_name->setEditable(true);
    m_name->setInsertPolicy(QComboBox::NoInsert);
    // No completion: a new name that begins an existing one stays as typed.
    m_name->setCompleter(nullptr);
    m_name->setMinimumWidth(240);
    m_url = new QLineEdit(this);
    m_url->setObjectName(QStringLiteral("Edit1"));
    m_url->setMinimumWidth(420);
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("Edit2"));

    m_new = button(this, "Button1", QStringLiteral("Nouveau"));
    m_apply = button(this, "Button2", QStringLiteral("Appliquer"));
    m_erase = button(this, "Button3", QStringLiteral("Effacer"));
    m_close = button(this, "Button4", QStringLiteral("Fermer"));

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_name, 1);
    nameRow->addWidget(m_new);
    nameRow->addWidget(m_apply);
    nameRow->addWidget(m_erase);

    auto *grid = new QGridLayout;
    grid->addWidget(dialogkit::buddyLabel(this, QStringLiteral("Nom du site"), m_name), 0, 0);
    grid->addLayout(nameRow, 0, 1);
    grid->addWidget(dialogkit::buddyLabel(this, QStringLiteral("URL du fichier"), m_url), 1, 0);
    grid->addWidget(m_url, 1, 1);
    grid->addWidget(dialogkit::buddyLabel(this, QStringLiteral("Chemin du fichier"), m_path), 2, 0);
    grid->addWidget(m_path, 2, 1);

    m_status = new QLabel(QStringLiteral("Prêt"), this);
    m_status->setObjectName(QStringLiteral("Label4"));
    m_status->setFrameShape(QFrame::StyledPanel);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The status repeats what a server said: shown as typed, never as markup.
    m_status->setTextFormat(Qt::PlainText);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_close);

    auto *layout = dialogkit::fixedColumn(this);
    layout->addLayout(tools);
    layout->addLayout(grid);
    layout->addLayout(bottom);

    dialogkit::tabOrder({m_get, m_stop, m_name, m_new, m_apply, m_erase, m_url, m_path, m_close});

    connect(m_get, &QToolButton::clicked, this, &THttpGet::Telecharger);
    connect(&m_client, &HttpClient::progress, this, [this](qint64 bytes) {
        m_status->setText(QStringLiteral("Reçu %1 octets").arg(importing::grouped(bytes)));
    });
    connect(m_stop, &QToolButton::clicked, this, &THttpGet::Arreter);
    connect(m_name, &QComboBox::activated, this, &THttpGet::ComboBox1Change);
    connect(m_new, &QPushButton::clicked, this, &THttpGet::NouveauClick);
    connect(m_apply, &QPushButton::clicked, this, &THttpGet::AppliquerClick);
    connect(m_erase, &QPushButton::clicked, this, &THttpGet::EffacerClick);
    connect(m_close, &QPushButton::clicked, this, &THttpGet::FermerClick);
    for (QObject *o : {static_cast<QObject *>(m_name), static_cast<QObject *>(m_name->lineEdit()),
                       static_cast<QObject *>(m_url), static_cast<QObject *>(m_path)})
        o->installEventFilter(this);

    m_name->setFocus();
}

THttpGet::~THttpGet()
{
    m_client.abort();
    // The fields go after the window's own members: neither a signal nor an
    // event of theirs (the name box's focus leaving) may reach it then.
    disconnect(m_name, nullptr, this, nullptr);
    for (QObject *o : {static_cast<QObject *>(m_name), static_cast<QObject *>(m_name->lineEdit()),
                       static_cast<QObject *>(m_url), static_cast<QObject *>(m_path)})
        o->removeEventFilter(this);
}

void THttpGet::Init(const QStringList &sites, int position)
{
    m_sites = sites;
    m_position = position;
    RemplitCombo();
    if (position >= 0 && position < m_sites.size()) {
        m_name->setCurrentIndex(position);
        Remplit(m_sites[position]);
    } else {
        Remplit(QString());
    }
}

void THttpGet::Result(QStringList &sites, int &position) const
{
    sites = m_sites;
    position = m_position;
}

void THttpGet::Remplit(const QString &line)
{
    const sites::Site s = sites::split(line);
    m_name->setEditText(s.name);
    m_url->setText(s.url);
    m_path->setText(s.path);
}

void THttpGet::RemplitCombo()
{
    m_name->clear();
    for (const QString &line : std::as_const(m_sites))
        m_name->addItem(sites::split(line).name);
}

void THttpGet::ComboBox1Change(int index)
{
    // The entries of the list are the sites in order: the one chosen is
    // shown, even when another site's name begins the same way.
    if (index < 0 || index >= m_sites.size()) return;
    m_position = index;
    Remplit(m_sites[index]);
}

void THttpGet::NouveauClick()
{
    Remplit(QString());
    m_name->setFocus();
}

void THttpGet::AppliquerClick()
{
    const QString name = m_name->currentText().trimmed();
    if (name.isEmpty()) return;
    // What "Valmeq.sit" cannot hold is refused, the list unchanged.
    for (const QString &text : {name, m_url->text(), m_path->text()}) {
        if (const QString refusal = records::refusal(records::field(text)); !refusal.isEmpty()) {
            Prompts::get().error(this, refusal);
            return;
        }
    }
    const int before = int(m_sites.size());
    const int at = sites::apply(m_sites, name, m_url->text(), m_path->text());
    if (m_sites.size() > before) {
        m_position = at;
        m_name->addItem(name);
    } else {
        m_name->setItemText(at, name);
    }
    m_name->setFocus();
    m_name->setEditText(name);
}

void THttpGet::EffacerClick()
{
    // The site deleted is the one whose name is shown.
    const int before = int(m_sites.size());
    const int position = sites::erase(m_sites, m_name->currentText(), m_position);
    if (m_sites.size() == before) return;
    m_position = position;
    RemplitCombo();
    Remplit(QString());
    m_name->setFocus();
    if (!m_sites.isEmpty()) {
        m_name->setCurrentIndex(m_position);
        Remplit(m_sites[m_position]);
    }
}

void THttpGet::FermerClick()
{
    AppliquerClick();
    accept();
}

void THttpGet::Arreter()
{
    m_client.abort();
}

void THttpGet::done(int r)
{
    // Closing during a transfer ends it: the former file stays.
    m_client.abort();
    QDialog::done(r);
}

QString THttpGet::failed(const QString &why)
{
    // The reason in the middle of the sentence.
    QString text = why;
    if (!text.isEmpty() && text.size() > 1 && !text.at(1).isUpper()) text[0] = text.at(0).toLower();
    return QStringLiteral("Échec : ") + text;
}

QString THttpGet::failed(const HttpError &error)
{
    switch (error.kind()) {
    case HttpError::Kind::HostNotFound:
        return QStringLiteral("Échec : nom d'hôte introuvable");
    case HttpError::Kind::ConnectionRefused:
        return QStringLiteral("Échec : connexion refusée");
    case HttpError::Kind::ConnectionTimeout:
        return QStringLiteral("Échec : délai de connexion dépassé");
    case HttpError::Kind::Other:
        return failed(error.reason());
    case HttpError::Kind::Status:
        break;
    }
    const int status = error.status();
    const char16_t *what = status >= 500 ? u"erreur du serveur" : u"demande refusée";
    switch (status) {
    case 400:
        what = u"demande incorrecte";
        break;
    case 401:
        what = u"identification demandée";
        break;
    case 403:
        what = u"accès interdit";
        break;
    case 404:
        what = u"fichier introuvable";
        break;
    case 410:
        what = u"fichier supprimé";
        break;
    case 503:
        what = u"service indisponible";
        break;
    default:
        if (status < 400) what = u"réponse sans fichier";
    }
    return QStringLiteral("Échec : %1 ").arg(status) + QString::fromUtf16(what);
}

void THttpGet::setBusy(bool busy)
{
    m_get->setEnabled(!busy);
    m_stop->setEnabled(busy);
}

void THttpGet::Telecharger()
{
    runCommand(this, [this] { transfer(); });
}

void THttpGet::transfer()
{
    if (m_client.isBusy()) return;
    const QString url = m_url->text();
    http::Url parsed;
    QString why;
    if (!http::parseUrl(url, &parsed, &why)) throw VError(why);
    m_client.setUrl(url);
    bool started = false;
    const QString path = m_path->text();
    try {
        download(m_client, path, [this, &started] {
            started = true;
            setBusy(true);
            m_status->setText(QStringLiteral("Télécharge"));
        });
    } catch (const HttpError &e) {
        setBusy(false);
        m_status->setText(failed(e));
        // A refused reply says it all in the status; other failures are
        // shown, except the one the user asked for.
        if (e.status() == 0 && !e.aborted()) throw VError(e.message());
        return;
    } catch (const VError &e) {
        // A file that cannot be created stops the command before the
        // transfer: the buttons and the status stay as they were.
        if (started) {
            setBusy(false);
            m_status->setText(failed(e.message()));
        }
        throw;
    }
    setBusy(false);
    m_status->setText(QStringLiteral("Téléchargement terminé"));
    m_received = path;
    if (Prompts::get().question(this, QStringLiteral("Importer ce fichier ?"), false) ==
        Prompts::Yes) {
        m_importAsked = true;
        FermerClick();
    }
}

bool THttpGet::eventFilter(QObject *watched, QEvent *event)
{
    if (dialogkit::isEnterPress(event) && (watched == m_name || watched == m_name->lineEdit() ||
                                           watched == m_url || watched == m_path)) {
        AppliquerClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void THttpGet::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        FermerClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

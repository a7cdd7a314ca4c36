#include "help/THelp.h"

#include "base/DialogKit.h"
#include "base/Prompts.h"
#include "help/HelpBrowser.h"
#include "help/helphtml.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

THelp::THelp(const HelpFile &file, QWidget *parent) : QDialog(parent), m_file(file)
{
    setObjectName(QStringLiteral("Help"));
    setWindowTitle(QStringLiteral("Aide de Valmeq"));
    setSizeGripEnabled(true);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("TabControl1"));
    m_contents = new QListWidget(m_tabs);
    m_contents->setObjectName(QStringLiteral("ListSommaire"));
    for (const HelpFile::Page &p : m_file.pages()) {
        auto *item = new QListWidgetItem(p.title, m_contents);
        item->setData(Qt::UserRole, p.id);
    }
    connect(m_contents, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showPage(item->data(Qt::UserRole).toString()); });
    connect(m_contents, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { showPage(item->data(Qt::UserRole).toString()); });
    m_tabs->addTab(m_contents, QStringLiteral("&Sommaire"));

    auto *index = new QWidget(m_tabs);
    m_keyword = new QLineEdit(index);
    m_keyword->setObjectName(QStringLiteral("EditMotCle"));
    m_keywords = new QListWidget(index);
    m_keywords->setObjectName(QStringLiteral("ListMotsCles"));
    m_keywords->addItems(m_file.keywords());
    connect(m_keyword, &QLineEdit::textEdited, this, &THelp::filterKeywords);
    connect(m_keyword, &QLineEdit::returnPressed, this, [this] {
        if (QListWidgetItem *item = m_keywords->currentItem()) showKeyword(item->text());
    });
    connect(m_keywords, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showKeyword(item->text()); });
    auto *indexLayout = new QVBoxLayout(index);
    indexLayout->addWidget(dialogkit::buddyLabel(index, QStringLiteral("&Mot-clé"), m_keyword));
    indexLayout->addWidget(m_keyword);
    indexLayout->addWidget(m_keywords, 1);
    m_tabs->addTab(index, QStringLiteral("&Index"));

    m_browser = new HelpBrowser(this);
    m_browser->setObjectName(QStringLiteral("TextBrowser1"));
    // Only a link to a page of the help ("#id") leads anywhere.
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        if (url.scheme().isEmpty() && url.host().isEmpty() && url.path().isEmpty() &&
            !url.fragment().isEmpty())
            showPage(url.fragment());
    });

    auto *back = new QPushButton(QStringLiteral("&Précédent"), this);
    back->setObjectName(QStringLiteral("BtnPrecedent"));
    auto *fermer = new QPushButton(QStringLiteral("Fermer"), this);
    fermer->setObjectName(QStringLiteral("BtnFermer"));
    for (QPushButton *b : {back, fermer})
        b->setAutoDefault(false);
    connect(back, &QPushButton::clicked, this, [this] {
        if (m_history.size() < 2) return;
        m_history.removeLast();
        const QString id = m_history.takeLast();
        showPage(id);
    });
    connect(fermer, &QPushButton::clicked, this, &QDialog::reject);

    auto *split = new QSplitter(this);
    split->addWidget(m_tabs);
    split->addWidget(m_browser);
    split->setStretchFactor(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addStretch(1);
    buttons->addWidget(fermer);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    dialogkit::tabOrder({m_tabs, m_contents, m_keyword, m_keywords, m_browser, back, fermer});
    resize(820, 560);
}

void THelp::Init(const Request &request)
{
    switch (request.kind) {
    case Request::Contents:
        m_tabs->setCurrentIndex(0);
        if (const auto *p = m_file.contents()) showPage(p->id);
        m_contents->setFocus();
        break;
    case Request::Search:
        m_tabs->setCurrentIndex(1);
        m_keyword->clear();
        filterKeywords(QString());
        if (const auto *p = m_file.contents()) showPage(p->id);
        m_keyword->setFocus();
        break;
    case Request::UsingHelp:
        if (const auto *p = m_file.usingHelp()) showPage(p->id);
        break;
    case Request::Context:
        if (const auto *p = m_file.context(request.context)) showPage(p->id);
        break;
    }
}

void THelp::showPage(const QString &id)
{
    const HelpFile::Page *p = m_file.page(id);
    if (!p) return;
    m_browser->setHtml(helphtml::filter(p->html));
    m_shown = p->id;
    m_history.append(p->id);
    for (int i = 0; i < m_contents->count(); ++i)
        if (m_contents->item(i)->data(Qt::UserRole).toString() == id) m_contents->setCurrentRow(i);
}

void THelp::showKeyword(const QString &keyword)
{
    const QList<const HelpFile::Page *> pages = m_file.pagesFor(keyword);
    if (pages.isEmpty()) return;
    if (pages.size() == 1) {
        showPage(pages.first()->id);
        return;
    }
    QString html = QStringLiteral("<h2>%1</h2><p>Pages traitant de ce sujet :</p><ul>")
                       .arg(keyword.toHtmlEscaped());
    for (const HelpFile::Page *p : pages)
        html += QStringLiteral("<li><a href=\"#%1\">%2</a></li>")
                    .arg(p->id.toHtmlEscaped(), p->title.toHtmlEscaped());
    m_browser->setHtml(helphtml::filter(html + QStringLiteral("</ul>")));
    m_shown.clear();
}

void THelp::filterKeywords(const QString &typed)
{
    // The first keyword beginning with the typed text becomes current.
    for (int i = 0; i < m_keywords->count(); ++i) {
        if (m_keywords->item(i)->text().startsWith(typed, Qt::CaseInsensitive)) {
            m_keywords->setCurrentRow(i);
            return;
        }
    }
}

void THelp::open(QWidget *parent, const QString &startDir, const Request &request)
{
    const QString path = HelpFile::locate(startDir, QCoreApplication::applicationDirPath());
    HelpFile file;
    if (path.isEmpty()) {
        Prompts::get().error(parent, QStringLiteral("Le fichier d'aide Valmeq.hlp est introuvable "
                                                    "(cherché dans %1).")
                                         .arg(QDir::toNativeSeparators(startDir)));
        return;
    }
    if (QString error; !file.load(path, &error)) {
        Prompts::get().error(parent, error);
        return;
    }
    THelp window(file, parent);
    window.Init(request);
    Prompts::get().exec(&window);
}

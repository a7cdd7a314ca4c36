#include "app/TMainForm.h"

#include "accessories/TBlocnotes.h"
#include "accessories/TCalendrier.h"
#include "accessories/TEurof.h"
#include "accessories/THorloge.h"
#include "accessories/TPocket.h"
#include "accessories/notepad.h"
#include "app/TAboutBox.h"
#include "app/TSplash.h"
#include "app/glyphs.h"
#include "base/Prompts.h"
#include "base/QtPrompts.h"
#include "base/clock.h"
#include "document/ChartCommands.h"
#include "document/EntryPage.h"
#include "document/ExchangeCommands.h"
#include "document/JournalPage.h"
#include "document/MaintenanceCommands.h"
#include "document/NotesCommands.h"
#include "document/PortfolioCommands.h"
#include "document/PrintCommands.h"
#include "document/TBourse.h"
#include "help/THelp.h"
#include "print/TConfigImprimante.h"
#include "print/printer.h"
#include "quotes/BourseData.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>

using DocOp = void (*)(TBourse &);
using FrameOp = void (TMainForm::*)();

// One row of the menu or tool-bar table: an entry and what it calls.
struct FrameCommand {
    enum Kind { Menu, Item, SubMenu, EndSubMenu, Separator };
    enum Flag {
        PortfolioCommand = 1, // disabled until Valide1
        Checkable = 2,
        Radio = 4,
        Checked = 8,
    };
    Kind kind;
    const char *name = nullptr;
    const char *caption = nullptr; // UTF-8, "&" before the access letter
    const char *hint = nullptr;    // status-bar hint; the tooltip on the tool bar
    DocOp op = nullptr;            // the document operation called...
    FrameOp frame = nullptr;       // ...or the frame's own handler
    int flags = 0;
    const char *shortcut = nullptr;
    glyphs::Glyph glyph = glyphs::Glyph::Open; // tool-bar buttons only
};

namespace
{

using C = FrameCommand;

C menu(const char *name, const char *caption)
{
    return {C::Menu, name, caption};
}
C subMenu(const char *name, const char *caption, const char *hint)
{
    return {C::SubMenu, name, caption, hint};
}
C endSubMenu()
{
    return {C::EndSubMenu};
}
C separator()
{
    return {C::Separator};
}
C item(const char *name, const char *caption, const char *hint, DocOp op, int flags = 0,
       const char *shortcut = nullptr)
{
    return {C::Item, name, caption, hint, op, nullptr, flags, shortcut};
}
C item(const char *name, const char *caption, const char *hint, FrameOp frame, int flags = 0,
       const char *shortcut = nullptr)
{
    return {C::Item, name, caption, hint, nullptr, frame, flags, shortcut};
}
C button(const char *name, const char *hint, glyphs::Glyph glyph, DocOp op, int flags = 0)
{
    return {C::Item, name, nullptr, hint, op, nullptr, flags, nullptr, glyph};
}
C button(const char *name, const char *hint, glyphs::Glyph glyph, FrameOp frame)
{
    return {C::Item, name, nullptr, hint, nullptr, frame, 0, nullptr, glyph};
}

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Valmeq"));
    setWindowIcon(glyphs::programIcon());

    // The document window; becoming active, it shows its monthly page and
    // reads the settings and list files.
    m_bourse = new TBourse(this);
    setCentralWidget(m_bourse);
    connect(m_bourse, &QWidget::windowTitleChanged, this, &TMainForm::updateTitle);
    // The title's "*": the store or the portfolio has changes not saved.
    updateTitle(QString());
    connect(&m_bourse->data(), &BourseData::modifiedChanged, this, [this] {
        setWindowModified(m_bourse->data().isModified() || m_bourse->data().portfolioModified());
    });

    buildMenus();
    buildToolBar();
    buildStatusBar();

    // Shortcuts of the frame's entries also hold while typing in a field
    // (Ctrl+C copies the entry fields into the entry copy buffer).
    qApp->installEventFilter(this);
}

TMainForm::~TMainForm()
{
    delete m_splash;
}

void TMainForm::setUpApplication(QApplication &app)
{
    // The name, not a display name: Qt would append a display name to every
    // window title ("Valmeq - x.ptf — Valmeq"); message boxes use the name.
    QCoreApplication::setApplicationName(QStringLiteral("Valmeq"));
    // Messages, questions and dialogs through Qt's boxes.
    static QtPrompts qtPrompts;
    Prompts::setDefault(&qtPrompts);
    QApplication::setWindowIcon(glyphs::programIcon());
    // Qt's own buttons and dialogs in French: "Oui", "Non", "Annuler".
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_fr"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

QAction *TMainForm::addCommand(const FrameCommand &c, bool onToolBar)
{
    auto *action = new QAction(this);
    action->setObjectName(QLatin1String(c.name));
    const QString hint = utf8(c.hint);
    action->setText(onToolBar ? hint : utf8(c.caption));
    action->setStatusTip(hint);
    action->setToolTip(hint);
    if (onToolBar) action->setIcon(glyphs::icon(c.glyph));
    if (c.shortcut) {
        action->setShortcut(QKeySequence(QLatin1String(c.shortcut)));
        m_shortcuts.append(action->shortcut());
    }
    action->setCheckable(c.flags & (C::Checkable | C::Radio));
    action->setChecked(c.flags & C::Checked);
    if (c.flags & C::PortfolioCommand) {
        action->setEnabled(false);
        m_portfolioCommands.append(action);
    }
    connect(action, &QAction::triggered, this, [this, op = c.op, frame = c.frame] {
        runCommand(this, [&] {
            if (op)
                op(*m_bourse);
            else
                (this->*frame)();
        });
    });
    return action;
}

void TMainForm::buildMenus()
{
    const int P = C::PortfolioCommand;
    // The table reads best one row a line.
    // clang-format off
    static const FrameCommand rows[] = {
        menu("mnuFichier", "&Fichier"),
        item("miNouveau", "&Nouveau", "Nouveau portefeuille", &TMainForm::NouveauClick),
        item("miOuvrir", "&Ouvrir...", "Ouvrir un portefeuille", &TMainForm::OuvrirClick),
        item("miSauver", "&Enregistrer", "Enregistrer le portefeuille en cours", [](TBourse &b) { b.portfolio().Sauver(); },
             P),
        item("miSaveAs", "Enregistrer &sous", "Enregistrer le portefeuille sous un autre nom",
             [](TBourse &b) { b.portfolio().SaveAs(); }, P),
        separator(),
        subMenu("mnuImporter", "I&mporter", "Importer données"),
        item("miImporter", "Date,Code,Nom,Cours,Vol...", "Ordre des champs", [](TBourse &b) { b.exchange().Importer(); }),
        item("miImporter2", "Code,Nom,Date,cours,Vol...", "Ordre des champs", [](TBourse &b) { b.exchange().Importer2(); }),
        endSubMenu(),
        item("miExporter", "E&xporter...", "Expoter données", [](TBourse &b) { b.exchange().Exporter(); }),
        item("miGetCours", "&Télécharger cours", "Télécharger les cours de la bourse",
             [](TBourse &b) { b.exchange().GetCours(); }),
        separator(),
        item("miImprimer", "&Imprimer...", "Imprimer", [](TBourse &b) { b.print().Imprimer(); }),
        item("miConfigImprimante", "Configuration imprimante...", "Configurer l'imprimante",
             &TMainForm::ConfigImprimanteClick),
        separator(),
        item("miQuitter", "&Quitter", "Quitter l'application", &TMainForm::QuitterClick, 0,
             "Alt+X"),

        menu("mnuEdition", "&Ediiton"),
        item("miAnnuler", "&Annuler", "Annuler la dernière opération", [](TBourse &b) { b.maintenance().Annuler(); }),
        separator(),
        item("miCopier", "C&opier", "Copier", [](TBourse &b) { b.entry().Copier(); }, 0, "Ctrl+C"),
        item("miColler", "Co&ller", "Coller", [](TBourse &b) { b.entry().Coller(); }, 0, "Ctrl+V"),
        item("miRechercher", "Re&chercher...", "Rechercher une valeur", [](TBourse &b) { b.journal().Rechercher(); }),
        item("miContinuer", "Co&ntinuer", "continuer recherche", [](TBourse &b) { b.journal().continuer(); }, 0, "F3"),
        separator(),
        item("miModifier", "&Modifier", "Modifier ligne", [](TBourse &b) { b.maintenance().Modifier(); }),
        item("miSaisie", "S&aisir cotations", "Saisie des cotations", [](TBourse &b) { b.entry().Saisie(); }),
        separator(),
        item("miSelectAll", "&Sélectionner tout", "Sélectionner tout", [](TBourse &b) { b.maintenance().SelectAll(); }, 0,
             "Ctrl+A"),
        item("miInverser", "&Inverser la sélection", "Inverser la sélection", [](TBourse &b) { b.maintenance().Inverser(); }),
        item("miSupprimer", "S&upprimer Ligne(s)", "Supprimer lignes sélectionnées",
             [](TBourse &b) { b.maintenance().Supprimer(); }),
        item("miReorganiser", "&Réorganiser la base...", "Supprimer les cotations trop anciennes",
             [](TBourse &b) { b.maintenance().Reorganiser(); }),
        separator(),
        subMenu("mnuTrier", "&Trier journal", "Trier le journal"),
        item("miTrierNom", "Date + &nom", "Trier sur date et nom", [](TBourse &b) { b.maintenance().TrierNom(); }),
        item("miTrierCode", "Date + &code", "Trier sur date et code", [](TBourse &b) { b.maintenance().TrierCode(); }),
        endSubMenu(),
        item("miConvertir", "Convertir en &euros...", "Convertir franc/euro", [](TBourse &b) { b.maintenance().Convertir(); }),

        menu("mnuCours", "&Cours"),
        item("miJournal", "Vue &Journal", "Journal des cotations", [](TBourse &b) { b.Journal(); }),
        item("miTitres", "Vue &Titres", "Voir les titres", [](TBourse &b) { b.Titres(); }),
        subMenu("mnuSelectionner", "Sé&lectionner", "Sélectionner lignes"),
        item("miTout", "&Tout", "toutes les lignes", &TMainForm::ToutClick, C::Radio | C::Checked),
        item("miDate", "&Date...", "De date à date", &TMainForm::DateClick, C::Radio),
        endSubMenu(),
        separator(),
        item("miListeTitres", "&Titres de la base", "Gestion des titres", [](TBourse &b) { b.notes().ListeTitres(); }),
        item("miSupTitre", "&Supprimer titre...", "supprimer un titre", [](TBourse &b) { b.maintenance().SupTitre(); }),
        item("miDiviser", "D&iviser titre...", "Diviser le cours", [](TBourse &b) { b.maintenance().Diviser(); }),

        menu("mnuStats", "&Stats"),
        item("miParametres", "&Paramètres", "Définir les paramètres", [](TBourse &b) { b.charts().Parametres(); }),
        item("miGraphique", "&Graphique standard", "Graphique", [](TBourse &b) { b.charts().Graphique(); }, 0, "F9"),
        item("miRIIndex", "&RI-Index", "Tracer RSI", [](TBourse &b) { b.charts().RIIndex(); }),
        item("miMomentum", "&Momentum", "Tracer momentum", [](TBourse &b) { b.charts().Momentum(); }),
        item("miZigetZag", "&ZigZag", "Oscillations amorties", [](TBourse &b) { b.charts().ZigetZag(); }),
        separator(),
        item("miStatistiques", "&Statistiques", "Statistiques sur le titre",
             [](TBourse &b) { b.charts().Statistiques(); }),
        item("miHitParade", "&Hit parade", "Hit parade des titres", [](TBourse &b) { b.charts().HitParade(); }),
        separator(),
        item("miCoupures", "&Vu dans la presse", "Vu dans la presse", [](TBourse &b) { b.notes().Coupures(); }),

        menu("mnuGestion", "&Gestion"),
        item("miAchat", "&Achat...", "Achat d'un titre", [](TBourse &b) { b.portfolio().Achat(); }, P),
        item("miVente", "&Vente...", "Vente d'un titre", [](TBourse &b) { b.portfolio().Vente(); }, P),
        item("miEchange", "&Echange...", "Echange de titres", [](TBourse &b) { b.portfolio().Echange(); }, P),
        item("miDividendes", "&Dividendes...", "enregistrer dividendes", [](TBourse &b) { b.portfolio().Dividendes(); }, P),
        separator(),
        item("miOperations", "&Journal des opérations", "Voir le journal", [](TBourse &b) { b.portfolio().Operations(); }, P),
        item("miPortefeuille", "&Portefeuille", "Voir le portefeuille", [](TBourse &b) { b.portfolio().Portefeuille(); }, P),
        item("miFraisBourse", "&Frais de bourse", "voir les frais de bourse", [](TBourse &b) { b.portfolio().FraisBourse(); },
             P),
        item("miRepartition", "&Répartition du portefeuille", "Répartition du portefeuille",
             [](TBourse &b) { b.portfolio().Repartition(); }, P),
        separator(),
        item("miOuvrirAuto", "Ouvrir automatiquement", "Ouvrir le portefeuille au démarrage",
             &TMainForm::OuvrirAutoClick, C::Checkable),

        menu("mnuUtilitaires", "&Utilitaires"),
        item("miCalendrier", "&Calendrier", "Calendrier", &TMainForm::CalendrierClick),
        item("miPocket", "C&alculatrice", "Pocket calculatrice", &TMainForm::PocketClick),
        item("miHorloge", "&Horloge", "Horloge", &TMainForm::HorlogeClick),
        item("miEurof", "&Euro conversion", "Convertisseur euro", &TMainForm::EurofClick),
        item("miBlocnotes", "&Bloc-notes", "Bloc notes", &TMainForm::BlocnotesClick),

        menu("mnuAide", "&Aide"),
        item("miAideIndex", "&Index", "Sommaire de l'aide", &TMainForm::AideIndexClick),
        item("miAideRechercher", "&Rechercher...", "Rechercher dans l'aide",
             &TMainForm::AideRechercherClick),
        item("miAideUtiliser", "&Utiliser l'aide", "Utiliser l'aide",
             &TMainForm::AideUtiliserClick),
        separator(),
        item("miAPropos", "&A propos", "Informations sur le programme, version",
             &TMainForm::AProposClick),
    };
    // clang-format on

    QMenu *top = nullptr;
    QMenu *current = nullptr;
    QActionGroup *radios = nullptr;
    for (const FrameCommand &row : rows) {
        switch (row.kind) {
        case C::Menu:
            top = current = menuBar()->addMenu(utf8(row.caption));
            top->setObjectName(QLatin1String(row.name));
            break;
        case C::SubMenu:
            current = top->addMenu(utf8(row.caption));
            current->setObjectName(QLatin1String(row.name));
            current->menuAction()->setStatusTip(utf8(row.hint));
            break;
        case C::EndSubMenu:
            current = top;
            break;
        case C::Separator:
            current->addSeparator();
            break;
        case C::Item: {
            QAction *action = addCommand(row, false);
            if (row.flags & C::Radio) {
                if (!radios) radios = new QActionGroup(this);
                radios->addAction(action);
            }
            current->addAction(action);
            break;
        }
        }
    }
    m_ouvrirAuto = findChild<QAction *>(QStringLiteral("miOuvrirAuto"));
    m_tout = findChild<QAction *>(QStringLiteral("miTout"));
    m_date = findChild<QAction *>(QStringLiteral("miDate"));
    m_period = m_tout;
}

void TMainForm::buildToolBar()
{
    using G = glyphs::Glyph;
    // The table reads best one row a line.
    // clang-format off
    static const FrameCommand rows[] = {
        button("tbOuvrir", "Ouvrir", G::Open, &TMainForm::OuvrirClick),
        button("tbSauver", "Enregistrer", G::Save, [](TBourse &b) { b.portfolio().Sauver(); }, C::PortfolioCommand),
        button("tbImprimer", "Imprimer", G::Print, [](TBourse &b) { b.print().Imprimer(); }),
        separator(),
        button("tbPremier", "Premier", G::First, [](TBourse &b) { b.Premier(); }),
        button("tbPrecedent", "Précédent", G::Previous, [](TBourse &b) { b.Precedent(); }),
        button("tbSuivant", "Suivant", G::Next, [](TBourse &b) { b.Suivant(); }),
        button("tbDernier", "Dernier", G::Last, [](TBourse &b) { b.Dernier(); }),
        separator(),
        button("tbJournal", "Journal", G::Journal, [](TBourse &b) { b.Journal(); }),
        button("tbTitres", "Titres", G::Securities, [](TBourse &b) { b.Titres(); }),
        button("tbGraphique", "Graphique", G::Chart, [](TBourse &b) { b.charts().Graphique(); }),
        button("tbSaisie", "Saisir cotations", G::Entry, [](TBourse &b) { b.entry().Saisie(); }),
        button("tbCoupures", "Vu dans la presse", G::Press, [](TBourse &b) { b.notes().Coupures(); }),
        separator(),
        button("tbAchat", "Achat", G::Buy, [](TBourse &b) { b.portfolio().Achat(); }),
        button("tbVente", "Vente", G::Sell, [](TBourse &b) { b.portfolio().Vente(); }),
        button("tbOperations", "Journal des opérations", G::Operations, [](TBourse &b) { b.portfolio().Operations(); }),
        button("tbPortefeuille", "Portefeuille", G::Portfolio, [](TBourse &b) { b.portfolio().Portefeuille(); }),
    };
    // clang-format on

    QToolBar *bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(33);
    bar->setIconSize(QSize(glyphs::kGlyphSize, glyphs::kGlyphSize));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->toggleViewAction()->setVisible(false);
    for (const FrameCommand &row : rows) {
        if (row.kind == C::Separator) {
            bar->addSeparator();
            continue;
        }
        QAction *action = addCommand(row, true);
        bar->addAction(action);
        if (auto *b = qobject_cast<QToolButton *>(bar->widgetForAction(action))) {
            b->setObjectName(action->objectName() + QStringLiteral("Button"));
            b->setAutoRaise(true);
            b->setFixedSize(25, 25);
        }
    }
}

void TMainForm::buildStatusBar()
{
    m_panel0 = new QLabel(this);
    m_panel0->setObjectName(QStringLiteral("StatusPanel0"));
    m_panel1 = new QLabel(this);
    m_panel1->setObjectName(QStringLiteral("StatusPanel1"));
    m_panel1->setAlignment(Qt::AlignCenter);
    for (QLabel *panel : {m_panel0, m_panel1})
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // 50 wide, or more when the font needs it to show the whole time.
    const int clockWidth = m_panel1->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) +
                           2 * m_panel1->frameWidth() + 6;
    m_panel1->setFixedWidth(std::max(50, clockWidth));
    // Panel 0 never pushes the frame wider: it yields when space is short.
    m_panel0->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(m_panel0, 1);
    statusBar()->addWidget(m_panel1);
    FormResize();

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    m_timer1->start();
    Timer1Timer();
}

QLabel *TMainForm::statusPanel(int index) const
{
    return index == 0 ? m_panel0 : m_panel1;
}

void TMainForm::setSplash(TSplash *splash)
{
    m_splash = splash;
}

void TMainForm::updateTitle(const QString &documentTitle)
{
    setWindowTitle((documentTitle.isEmpty() ? QStringLiteral("Valmeq")
                                            : QStringLiteral("Valmeq - ") + documentTitle) +
                   QStringLiteral("[*]"));
}

// --- Start, clock, hints, closing -----------------------------------------------

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    FormShow();
}

void TMainForm::FormShow()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    m_startDir = QDir::currentPath();
    if (QFile::exists(QDir(m_startDir).filePath(QStringLiteral("Cours.vmq"))))
        runCommand(this, [this] { m_bourse->Init(); });
    bool autoOpen = false;
    m_bourse->data().GetIni(autoOpen, m_portfolioPath);
    if (autoOpen) {
        m_ouvrirAuto->setChecked(true);
        // An unreadable portfolio is reported and the start goes on; with no
        // portfolio remembered there is nothing to open.
        if (!m_portfolioPath.isEmpty())
            runCommand(this, [this] { m_bourse->portfolio().Charge(m_portfolioPath); });
        Valide1();
    }
    delete m_splash;
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainForm::FormResize()
{
    m_panel0->setMaximumWidth(std::max(0, width() - 100));
}

void TMainForm::ShowHint(const QString &hint)
{
    m_panel0->setText(hint);
}

void TMainForm::Timer1Timer()
{
    m_panel1->setText(Clock::get().now().time().toString(QStringLiteral("hh:mm:ss")));
}

bool TMainForm::event(QEvent *event)
{
    // The hint of the entry under the mouse goes to panel 0, not to a
    // temporary message over both panels.
    if (event->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    // F1 anywhere but in the help itself: the page of the window's context.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1 &&
        !qobject_cast<THelp *>(static_cast<QWidget *>(watched)->window())) {
        helpOn(static_cast<QWidget *>(watched));
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == this) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Filtered, the field does not claim the key and the entry's
        // shortcut fires.
        if (m_shortcuts.contains(QKeySequence(key->keyCombination()))) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    event->ignore();
    // The portfolio first: Cancel at its question keeps the program open.
    bool mayClose = false;
    runCommand(this, [&] { mayClose = m_bourse->portfolio().FormCloseQuery(); });
    if (!mayClose) return;
    // Leaving the entry page puts the typed quotations into the store, so
    // that they are saved with it. If that fails the program stays open.
    if (m_bourse->page() == TBourse::PageSaisie) {
        bool left = false;
        runCommand(this, [&] {
            m_bourse->showPage(TBourse::PageJournal);
            left = true;
        });
        if (!left) return;
    }
    if (!m_startDir.isEmpty() && !QDir::setCurrent(m_startDir))
        Prompts::get().error(this, QStringLiteral("Ne peut accéder au répertoire %1")
                                       .arg(QDir::toNativeSeparators(m_startDir)));
    // A settings file that cannot be written is reported; the closing goes
    // on, unless the cards, press notes or sites were changed: the user may
    // then stay and make room for them.
    bool settingsWritten = false;
    runCommand(this, [&] {
        m_bourse->data().SauveIni();
        settingsWritten = true;
    });
    if (!settingsWritten && m_bourse->data().listsUnsaved() &&
        Prompts::get().question(this,
                                QStringLiteral("Les fiches, notes de presse ou sites "
                                               "modifiés n'ont pas pu être enregistrés et "
                                               "seront perdus. Quitter quand même ?"),
                                false) != Prompts::Yes)
        return;
    bool saved = false;
    runCommand(this, [&] { saved = m_bourse->data().Sauve(); });
    if (saved) event->accept();
}

// --- Commands of the frame ------------------------------------------------------

void TMainForm::Valide1()
{
    for (QAction *action : std::as_const(m_portfolioCommands))
        action->setEnabled(true);
}

void TMainForm::NouveauClick()
{
    m_bourse->portfolio().Nouveau();
    // A new portfolio must be able to receive its first operation.
    Valide1();
}

void TMainForm::OuvrirClick()
{
    m_bourse->portfolio().Ouvrir();
    // Cancelled or not, the portfolio commands are available from now on.
    Valide1();
}

void TMainForm::ConfigImprimanteClick()
{
    TConfigImprimante dialog(this);
    dialog.Init(sharedPrinter());
    Prompts::get().exec(&dialog);
    dialog.Result(sharedPrinter());
}

void TMainForm::QuitterClick()
{
    close();
}

void TMainForm::choosePeriod(QAction *entry, int mode, bool alwaysChecked)
{
    // The group has already moved the mark to `entry`; it stays there only
    // when the choice is made.
    m_period->setChecked(true);
    if (m_bourse->maintenance().Selectionner(mode) || alwaysChecked) m_period = entry;
    m_period->setChecked(true);
}

void TMainForm::ToutClick()
{
    choosePeriod(m_tout, 0, true);
}

void TMainForm::DateClick()
{
    choosePeriod(m_date, 1, false);
}

void TMainForm::OuvrirAutoClick()
{
    bool autoOpen = false;
    m_bourse->data().GetIni(autoOpen, m_portfolioPath);
    // The entry has inverted its check mark; the settings follow it.
    m_bourse->data().SetIni(m_ouvrirAuto->isChecked());
}

// The desk accessories: each window is shown modally, then destroyed.
void TMainForm::CalendrierClick()
{
    TCalendrier window(this);
    Prompts::get().exec(&window);
}

void TMainForm::PocketClick()
{
    TPocket window(this);
    Prompts::get().exec(&window);
}

void TMainForm::HorlogeClick()
{
    THorloge window(this);
    Prompts::get().exec(&window);
}

void TMainForm::EurofClick()
{
    TEurof window(this);
    Prompts::get().exec(&window);
}

void TMainForm::BlocnotesClick()
{
    const QString path = notepad::path(m_startDir);
    TBlocnotes window(this);
    window.Charge(path);
    Prompts::get().exec(&window);
    window.Sauve(path);
}

// --- Help -----------------------------------------------------------------------

QString TMainForm::helpDir() const
{
    return m_startDir.isEmpty() ? QDir::currentPath() : m_startDir;
}

void TMainForm::AideIndexClick()
{
    THelp::open(this, helpDir(), {THelp::Request::Contents});
}

void TMainForm::AideRechercherClick()
{
    THelp::open(this, helpDir(), {THelp::Request::Search});
}

void TMainForm::AideUtiliserClick()
{
    THelp::open(this, helpDir(), {THelp::Request::UsingHelp});
}

int TMainForm::helpContext(const QWidget *widget) const
{
    const QWidget *window = widget->window();
    if (const auto *menu = qobject_cast<const QMenu *>(window)) {
        static const std::pair<const char *, int> menus[] = {
            {"mnuFichier", 3},     {"mnuImporter", 3},     {"mnuEdition", 4}, {"mnuTrier", 4},
            {"mnuCours", 5},       {"mnuSelectionner", 5}, {"mnuStats", 6},   {"mnuGestion", 7},
            {"mnuUtilitaires", 8}, {"mnuAide", 9}};
        for (const auto &[name, number] : menus)
            if (menu->objectName() == QLatin1String(name)) return number;
        return 0;
    }
    if (window != this) return 0; // the windows of the commands: the contents
    switch (m_bourse->page()) {
    case TBourse::PageTitres:
        return 5;
    case TBourse::PageGraphique:
        return 10;
    default:
        return 2; // the monthly view, and the frame itself
    }
}

void TMainForm::helpOn(const QWidget *widget)
{
    const int context = helpContext(widget);
    // A menu open closes first: the help window is modal.
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    runCommand(this, [&] {
        THelp::open(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this,
                    helpDir(),
                    context ? THelp::Request{THelp::Request::Context, context}
                            : THelp::Request{THelp::Request::Contents});
    });
}

void TMainForm::AProposClick()
{
    TAboutBox box(this);
    Prompts::get().exec(&box);
}

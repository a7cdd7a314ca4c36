// The main frame: its menus and tool bar, the start, the status bar and the
// closing, driven through the real actions in a temporary start directory.
#include "app/TMainForm.h"
#include "app/TSplash.h"
#include "document/TBourse.h"
#include "quotes/QuoteListModel.h"
#include "testkit.h"

#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

namespace
{

// The commands that wait for a portfolio.
const char *const kPortfolioEntries[] = {
    "miSauver",     "miSaveAs",     "miAchat",        "miVente",       "miEchange",
    "miDividendes", "miOperations", "miPortefeuille", "miFraisBourse", "miRepartition"};

const QByteArray kFreshIni = " 6.55957000000000E+0000\r\n\r\n1\r\n8\r\n6\r\n6\r\n5\r\n0\r\n";

QStringList threeMonths()
{
    return {qline(u("20010105"), u("012000"), u("ALPHA"), u("10,00"), u("100")),
            qline(u("20010206"), u("012000"), u("ALPHA"), u("11,00"), u("100")),
            qline(u("20010307"), u("012000"), u("ALPHA"), u("12,00"), u("100")),
            qline(u("20010308"), u("013000"), u("BETA"), u("5,00"), u("50"))};
}

// What a menu holds, in order: object names, "-" for a separator.
QString layoutOf(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions())
        out.append(a->isSeparator() ? u("-")
                   : a->menu()      ? a->menu()->objectName()
                                    : a->objectName());
    return out.join(QLatin1Char(' '));
}

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

    std::optional<StartFixture> env;
    std::unique_ptr<TMainForm> form;

    // The start directory's files are written before.
    TMainForm *start(TSplash *splash = nullptr)
    {
        form = std::make_unique<TMainForm>();
        if (splash) form->setSplash(splash);
        form->show();
        return form.get();
    }
    QAction *action(const QString &name) const { return form->findChild<QAction *>(name); }
    QAction *action(const char *name) const { return action(QLatin1String(name)); }
    // Triggers an entry the way the user can: it must exist and be enabled.
    bool trigger(const char *name)
    {
        QAction *a = action(name);
        if (!a || !a->isEnabled()) return false;
        a->trigger();
        return true;
    }
    QString panel(int i) const { return form->statusPanel(i)->text(); }
    void writeIni(const QString &path, const char *autoOpen)
    {
        env->dir.write(u("Valmeq.ini"), {u("6.55957"), path, u("1"), u("8"), u("6"), u("6"), u("5"),
                                         QLatin1String(autoOpen)});
    }

private slots:
    void init() { env.emplace(QDateTime(QDate(2001, 3, 15), QTime(14, 5, 9))); }

    void cleanup()
    {
        form.reset();
        env.reset();
    }

    // --- Menus and tool bar ---------------------------------------------------

    void menuBar_holdsTheSevenMenusInOrder()
    {
        start();
        QStringList captions, names;
        for (const QAction *a : form->menuBar()->actions()) {
            captions.append(a->text());
            names.append(a->menu()->objectName());
        }
        QCOMPARE(captions, QStringList({u("&Fichier"), u("&Ediiton"), u("&Cours"), u("&Stats"),
                                        u("&Gestion"), u("&Utilitaires"), u("&Aide")}));
        QCOMPARE(names, QStringList({u("mnuFichier"), u("mnuEdition"), u("mnuCours"), u("mnuStats"),
                                     u("mnuGestion"), u("mnuUtilitaires"), u("mnuAide")}));
    }

    void menu_layout_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("layout");
        QTest::newRow("Fichier") << u("mnuFichier")
                                 << u("miNouveau miOuvrir miSauver miSaveAs - mnuImporter "
                                      "miExporter miGetCours - miImprimer miConfigImprimante - "
                                      "miQuitter");
        QTest::newRow("Importer") << u("mnuImporter") << u("miImporter miImporter2");
        QTest::newRow("Ediiton") << u("mnuEdition")
                                 << u("miAnnuler - miCopier miColler miRechercher miContinuer - "
                                      "miModifier miSaisie - miSelectAll miInverser miSupprimer "
                                      "miReorganiser - mnuTrier miConvertir");
        QTest::newRow("Trier") << u("mnuTrier") << u("miTrierNom miTrierCode");
        QTest::newRow("Cours") << u("mnuCours")
                               << u("miJournal miTitres mnuSelectionner - miListeTitres "
                                    "miSupTitre miDiviser");
        QTest::newRow("Selectionner") << u("mnuSelectionner") << u("miTout miDate");
        QTest::newRow("Stats") << u("mnuStats")
                               << u("miParametres miGraphique miRIIndex miMomentum miZigetZag - "
                                    "miStatistiques miHitParade - miCoupures");
        QTest::newRow("Gestion") << u("mnuGestion")
                                 << u("miAchat miVente miEchange miDividendes - miOperations "
                                      "miPortefeuille miFraisBourse miRepartition - "
                                      "miOuvrirAuto");
        QTest::newRow("Utilitaires")
            << u("mnuUtilitaires") << u("miCalendrier miPocket miHorloge miEurof miBlocnotes");
        QTest::newRow("Aide") << u("mnuAide")
                              << u("miAideIndex miAideRechercher miAideUtiliser - miAPropos");
    }

    void menu_layout()
    {
        QFETCH(QString, menu);
        QFETCH(QString, layout);
        start();
        const QMenu *m = form->findChild<QMenu *>(menu);
        QVERIFY(m);
        QCOMPARE(layoutOf(m), layout);
    }

    void menu_entry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("check"); // 0 none, 1 check mark, 2 radio
        QTest::addColumn<bool>("checked");
        auto row = [](const char *name, const char *caption, const char *hint,
                      const char *shortcut = "", bool enabled = true, int check = 0,
                      bool checked = false) {
            QTest::newRow(name) << u(name) << u(caption) << u(hint) << u(shortcut) << enabled
                                << check << checked;
        };
        row("miNouveau", "&Nouveau", "Nouveau portefeuille");
        row("miOuvrir", "&Ouvrir...", "Ouvrir un portefeuille");
        row("miSauver", "&Enregistrer", "Enregistrer le portefeuille en cours", "", false);
        row("miSaveAs", "Enregistrer &sous", "Enregistrer le portefeuille sous un autre nom", "",
            false);
        row("mnuImporter", "I&mporter", "Importer données");
        row("miImporter", "Date,Code,Nom,Cours,Vol...", "Ordre des champs");
        row("miImporter2", "Code,Nom,Date,cours,Vol...", "Ordre des champs");
        row("miExporter", "E&xporter...", "Expoter données");
        row("miGetCours", "&Télécharger cours", "Télécharger les cours de la bourse");
        row("miImprimer", "&Imprimer...", "Imprimer");
        row("miConfigImprimante", "Configuration imprimante...", "Configurer l'imprimante");
        row("miQuitter", "&Quitter", "Quitter l'application", "Alt+X");
        row("miAnnuler", "&Annuler", "Annuler la dernière opération");
        row("miCopier", "C&opier", "Copier", "Ctrl+C");
        row("miColler", "Co&ller", "Coller", "Ctrl+V");
        row("miRechercher", "Re&chercher...", "Rechercher une valeur");
        row("miContinuer", "Co&ntinuer", "continuer recherche", "F3");
        row("miModifier", "&Modifier", "Modifier ligne");
        row("miSaisie", "S&aisir cotations", "Saisie des cotations");
        row("miSelectAll", "&Sélectionner tout", "Sélectionner tout", "Ctrl+A");
        row("miInverser", "&Inverser la sélection", "Inverser la sélection");
        row("miSupprimer", "S&upprimer Ligne(s)", "Supprimer lignes sélectionnées");
        row("miReorganiser", "&Réorganiser la base...", "Supprimer les cotations trop anciennes");
        row("mnuTrier", "&Trier journal", "Trier le journal");
        row("miTrierNom", "Date + &nom", "Trier sur date et nom");
        row("miTrierCode", "Date + &code", "Trier sur date et code");
        row("miConvertir", "Convertir en &euros...", "Convertir franc/euro");
        row("miJournal", "Vue &Journal", "Journal des cotations");
        row("miTitres", "Vue &Titres", "Voir les titres");
        row("mnuSelectionner", "Sé&lectionner", "Sélectionner lignes");
        row("miTout", "&Tout", "toutes les lignes", "", true, 2, true);
        row("miDate", "&Date...", "De date à date", "", true, 2, false);
        row("miListeTitres", "&Titres de la base", "Gestion des titres");
        row("miSupTitre", "&Supprimer titre...", "supprimer un titre");
        row("miDiviser", "D&iviser titre...", "Diviser le cours");
        row("miParametres", "&Paramètres", "Définir les paramètres");
        row("miGraphique", "&Graphique standard", "Graphique", "F9");
        row("miRIIndex", "&RI-Index", "Tracer RSI");
        row("miMomentum", "&Momentum", "Tracer momentum");
        row("miZigetZag", "&ZigZag", "Oscillations amorties");
        row("miStatistiques", "&Statistiques", "Statistiques sur le titre");
        row("miHitParade", "&Hit parade", "Hit parade des titres");
        row("miCoupures", "&Vu dans la presse", "Vu dans la presse");
        row("miAchat", "&Achat...", "Achat d'un titre", "", false);
        row("miVente", "&Vente...", "Vente d'un titre", "", false);
        row("miEchange", "&Echange...", "Echange de titres", "", false);
        row("miDividendes", "&Dividendes...", "enregistrer dividendes", "", false);
        row("miOperations", "&Journal des opérations", "Voir le journal", "", false);
        row("miPortefeuille", "&Portefeuille", "Voir le portefeuille", "", false);
        row("miFraisBourse", "&Frais de bourse", "voir les frais de bourse", "", false);
        row("miRepartition", "&Répartition du portefeuille", "Répartition du portefeuille", "",
            false);
        row("miOuvrirAuto", "Ouvrir automatiquement", "Ouvrir le portefeuille au démarrage", "",
            true, 1, false);
        row("miCalendrier", "&Calendrier", "Calendrier");
        row("miPocket", "C&alculatrice", "Pocket calculatrice");
        row("miHorloge", "&Horloge", "Horloge");
        row("miEurof", "&Euro conversion", "Convertisseur euro");
        row("miBlocnotes", "&Bloc-notes", "Bloc notes");
        row("miAideIndex", "&Index", "Sommaire de l'aide");
        row("miAideRechercher", "&Rechercher...", "Rechercher dans l'aide");
        row("miAideUtiliser", "&Utiliser l'aide", "Utiliser l'aide");
        row("miAPropos", "&A propos", "Informations sur le programme, version");
    }

    void menu_entry()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        QFETCH(QString, shortcut);
        QFETCH(bool, enabled);
        QFETCH(int, check);
        QFETCH(bool, checked);
        start();
        const QAction *a = nullptr;
        if (name.startsWith(u("mnu"))) {
            const QMenu *m = form->findChild<QMenu *>(name);
            QVERIFY(m);
            a = m->menuAction();
        } else {
            a = action(name);
        }
        QVERIFY2(a, qPrintable(name));
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->statusTip(), hint);
        QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), shortcut);
        QCOMPARE(a->isEnabled(), enabled);
        QCOMPARE(a->isCheckable(), check != 0);
        QCOMPARE(a->isChecked(), checked);
        QCOMPARE(a->actionGroup() != nullptr, check == 2);
        if (check == 2) QVERIFY(a->actionGroup()->isExclusive());
    }

    void toolBar_buttonsInOrderWithThreeSeparators()
    {
        start();
        const QToolBar *bar = form->findChild<QToolBar *>(u("ToolBar1"));
        QVERIFY(bar);
        QStringList names;
        for (const QAction *a : bar->actions())
            names.append(a->isSeparator() ? u("-") : a->objectName());
        QCOMPARE(names.join(QLatin1Char(' ')),
                 u("tbOuvrir tbSauver tbImprimer - tbPremier tbPrecedent tbSuivant tbDernier - "
                   "tbJournal tbTitres tbGraphique tbSaisie tbCoupures - tbAchat tbVente "
                   "tbOperations tbPortefeuille"));
        QCOMPARE(bar->height(), 33);
        QVERIFY(!bar->isMovable());
        for (QAction *a : bar->actions()) {
            if (a->isSeparator()) continue;
            auto *b = qobject_cast<QToolButton *>(bar->widgetForAction(a));
            QVERIFY(b);
            QCOMPARE(b->size(), QSize(25, 25));
            QVERIFY(b->autoRaise());
            QVERIFY(!a->icon().isNull());
        }
    }

    void toolBar_button_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("enabled");
        const std::pair<const char *, const char *> buttons[] = {
            {"tbOuvrir", "Ouvrir"},
            {"tbSauver", "Enregistrer"},
            {"tbImprimer", "Imprimer"},
            {"tbPremier", "Premier"},
            {"tbPrecedent", "Précédent"},
            {"tbSuivant", "Suivant"},
            {"tbDernier", "Dernier"},
            {"tbJournal", "Journal"},
            {"tbTitres", "Titres"},
            {"tbGraphique", "Graphique"},
            {"tbSaisie", "Saisir cotations"},
            {"tbCoupures", "Vu dans la presse"},
            {"tbAchat", "Achat"},
            {"tbVente", "Vente"},
            {"tbOperations", "Journal des opérations"},
            {"tbPortefeuille", "Portefeuille"}};
        for (const auto &[name, hint] : buttons) // only "Enregistrer" waits for a portfolio
            QTest::newRow(name) << u(name) << u(hint) << (qstrcmp(name, "tbSauver") != 0);
    }

    void toolBar_button()
    {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        QFETCH(bool, enabled);
        start();
        const QAction *a = action(name);
        QVERIFY(a);
        QCOMPARE(a->toolTip(), hint);
        QCOMPARE(a->statusTip(), hint);
        QCOMPARE(a->isEnabled(), enabled);
    }

    // --- Start ----------------------------------------------------------------

    void start_withoutAnyFile_isEmptyAndWaitsForAPortfolio()
    {
        auto *splash = new TSplash;
        QPointer<TSplash> watch(splash);
        start(splash);
        QVERIFY(watch.isNull());
        QCOMPARE(form->startDir(), QDir::currentPath());
        QVERIFY(form->windowState() & Qt::WindowMaximized);
        QCOMPARE(form->windowTitle(), u("Valmeq[*]"));
        QVERIFY(form->bourse()->data().store().isEmpty());
        QCOMPARE(form->bourse()->journal().model()->rowCount(), 0);
        QCOMPARE(form->bourse()->page(), int(TBourse::PageJournal));
        QVERIFY(!action("miOuvrirAuto")->isChecked());
        for (const char *name : kPortfolioEntries)
            QVERIFY2(!action(name)->isEnabled(), name);
        for (const char *name : {"tbAchat", "tbVente", "tbOperations", "tbPortefeuille"})
            QVERIFY2(action(name)->isEnabled(), name);
        QVERIFY(!action("tbSauver")->isEnabled());
        QCOMPARE(env->prompts.log, QStringList());
    }

    void start_loadsTheQuotationFile()
    {
        env->dir.write(u("Cours.vmq"), threeMonths());
        start();
        QCOMPARE(form->bourse()->data().store(), threeMonths());
        QVERIFY(!form->bourse()->data().isModified());
        QCOMPARE(form->bourse()->data().currentMonth(), QDate(2001, 3, 8));
        QCOMPARE(form->bourse()->journal().model()->rowCount(), 2);
    }

    void start_autoOpen_loadsTheRememberedPortfolio()
    {
        const QStringList portfolio = {u("A20010102\t012000\t1000,00\t10\t12,50"),
                                       u("D20010601\t012000\t30,00\t10\t15,00")};
        env->dir.write(u("Mon.ptf"), portfolio);
        writeIni(env->dir.file(u("Mon.ptf")), "1");
        start();
        QVERIFY(action("miOuvrirAuto")->isChecked());
        QCOMPARE(form->bourse()->data().portfolio(), portfolio);
        for (const char *name : kPortfolioEntries)
            QVERIFY2(action(name)->isEnabled(), name);
        QVERIFY(action("tbSauver")->isEnabled());
        QCOMPARE(form->windowTitle(), u("Valmeq - Mon.ptf[*]"));
        QCOMPARE(env->prompts.log, QStringList());
    }

    void start_autoOpenOff_leavesThePortfolioClosed()
    {
        env->dir.write(u("Mon.ptf"), {u("A20010102\t012000\t1000,00\t10\t12,50")});
        writeIni(env->dir.file(u("Mon.ptf")), "0");
        start();
        QVERIFY(!action("miOuvrirAuto")->isChecked());
        QVERIFY(form->bourse()->data().portfolio().isEmpty());
        QVERIFY(!action("miAchat")->isEnabled());
    }

    void start_unreadableRememberedPortfolio_isReportedAndTheStartGoesOn()
    {
        env->dir.write(u("Cours.vmq"), threeMonths());
        const QString missing = env->dir.file(u("Parti.ptf"));
        writeIni(missing, "1");
        auto *splash = new TSplash;
        QPointer<TSplash> watch(splash);
        start(splash);
        QCOMPARE(env->prompts.said(u("error")),
                 QStringList({u("Ne peut ouvrir le fichier ") + missing}));
        QVERIFY(watch.isNull());
        QVERIFY(form->isVisible());
        QCOMPARE(form->bourse()->data().store(), threeMonths());
        QVERIFY(action("miOuvrirAuto")->isChecked());
        QVERIFY(action("miAchat")->isEnabled());
    }

    void start_autoOpenWithoutPath_asksNothing()
    {
        writeIni(QString(), "1");
        start();
        QCOMPARE(env->prompts.log, QStringList());
        QVERIFY(action("miOuvrirAuto")->isChecked());
        QVERIFY(form->bourse()->data().portfolio().isEmpty());
    }

    // --- Commands -------------------------------------------------------------

    void ouvrir_cancelled_enablesThePortfolioCommands_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("menu") << u("miOuvrir");
        QTest::newRow("tool bar") << u("tbOuvrir");
    }

    void ouvrir_cancelled_enablesThePortfolioCommands()
    {
        QFETCH(QString, entry);
        start();
        env->prompts.fileNames << QString(); // the file dialog is cancelled
        QVERIFY(trigger(entry.toLatin1().constData()));
        for (const char *name : kPortfolioEntries)
            QVERIFY2(action(name)->isEnabled(), name);
        QVERIFY(action("tbSauver")->isEnabled());
        QVERIFY(form->bourse()->data().portfolio().isEmpty());
    }

    void ouvrirAuto_toggled_isWrittenOnLineEightAtClosing_data()
    {
        QTest::addColumn<int>("toggles");
        QTest::addColumn<bool>("checked");
        QTest::newRow("once") << 1 << true;
        QTest::newRow("twice") << 2 << false;
    }

    void ouvrirAuto_toggled_isWrittenOnLineEightAtClosing()
    {
        QFETCH(int, toggles);
        QFETCH(bool, checked);
        start();
        for (int i = 0; i < toggles; ++i)
            QVERIFY(trigger("miOuvrirAuto"));
        QCOMPARE(action("miOuvrirAuto")->isChecked(), checked);
        bool flag = !checked;
        QString path;
        form->bourse()->data().GetIni(flag, path);
        QCOMPARE(flag, checked);
        QVERIFY(form->close());
        QCOMPARE(env->dir.lines(u("Valmeq.ini")).value(7), checked ? u("1") : u("0"));
    }

    void periodChoice_checkMarkFollowsTheLastChoiceMade()
    {
        env->dir.write(u("Cours.vmq"), threeMonths());
        start();
        QAction *tout = action("miTout");
        QAction *date = action("miDate");
        // "&Date..." cancelled: the mark stays on "&Tout".
        env->prompts.dialogs << [](QDialog *) { return int(QDialog::Rejected); };
        QVERIFY(trigger("miDate"));
        QVERIFY(tout->isChecked());
        QVERIFY(!date->isChecked());
        // A period chosen: the mark moves to "&Date...".
        env->prompts.dialogs << [](QDialog *d) {
            d->findChild<QLineEdit *>(u("MaskEdit1"))->setText(u("01/02/2001"));
            d->findChild<QLineEdit *>(u("MaskEdit2"))->setText(u("28/02/2001"));
            d->findChild<QPushButton *>(u("OKBtn"))->click();
            return int(QDialog::Accepted);
        };
        QVERIFY(trigger("miDate"));
        QVERIFY(date->isChecked());
        QVERIFY(!tout->isChecked());
        // Cancelled again: the mark stays on the period.
        env->prompts.dialogs << [](QDialog *) { return int(QDialog::Rejected); };
        QVERIFY(trigger("miDate"));
        QVERIFY(date->isChecked());
        // "&Tout" takes it back.
        QVERIFY(trigger("miTout"));
        QVERIFY(tout->isChecked());
        QVERIFY(!date->isChecked());
        QVERIFY(env->prompts.dialogs.isEmpty());
        QCOMPARE(env->prompts.unexpected, QStringList());
    }

    void navigationAndPages_reachTheDocumentWindow()
    {
        env->dir.write(u("Cours.vmq"), threeMonths());
        start();
        TBourse *b = form->bourse();
        QVERIFY(trigger("tbPremier"));
        QCOMPARE(b->data().currentMonth(), QDate(2001, 1, 5));
        QVERIFY(trigger("tbSuivant"));
        QCOMPARE(b->data().currentMonth(), QDate(2001, 2, 1));
        QVERIFY(trigger("tbDernier"));
        QCOMPARE(b->data().currentMonth(), QDate(2001, 3, 8));
        QVERIFY(trigger("tbPrecedent"));
        QCOMPARE(b->data().currentMonth(), QDate(2001, 2, 1));

        const std::pair<const char *, int> pages[] = {
            {"miTitres", TBourse::PageTitres},       {"miJournal", TBourse::PageJournal},
            {"tbTitres", TBourse::PageTitres},       {"tbJournal", TBourse::PageJournal},
            {"miGraphique", TBourse::PageGraphique}, {"tbJournal", TBourse::PageJournal},
            {"tbGraphique", TBourse::PageGraphique}};
        for (const auto &[entry, page] : pages) {
            QVERIFY2(trigger(entry), entry);
            QCOMPARE(b->page(), page);
        }
    }

    void keys_reachTheirEntries_evenWhileTypingInAField()
    {
        start();
        auto *field = new QLineEdit(form->bourse());
        field->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        const std::pair<const char *, QKeyCombination> keys[] = {
            {"miCopier", Qt::CTRL | Qt::Key_C},
            {"miColler", Qt::CTRL | Qt::Key_V},
            {"miSelectAll", Qt::CTRL | Qt::Key_A},
            {"miContinuer", QKeyCombination(Qt::Key_F3)},
            {"miGraphique", QKeyCombination(Qt::Key_F9)}};
        for (const auto &[entry, key] : keys) {
            QSignalSpy spy(action(entry), &QAction::triggered);
            QTest::keyClick(field, key.key(), key.keyboardModifiers());
            QVERIFY2(spy.count() == 1, entry);
        }
        QCOMPARE(form->bourse()->page(), int(TBourse::PageGraphique));
    }

    void configImprimante_opensThePrinterSetUp()
    {
        start();
        QVERIFY(trigger("miConfigImprimante"));
        QCOMPARE(env->prompts.log, QStringList({u("window: Configuration imprimante")}));
    }

    void aPropos_showsTheAboutBoxModally()
    {
        start();
        QPointer<QDialog> shown;
        env->prompts.dialogs << [&](QDialog *d) {
            shown = d;
            [&] {
                QVERIFY(d->isModal());
                QStringList texts;
                for (const QLabel *l : d->findChildren<QLabel *>())
                    if (!l->text().isEmpty()) texts.append(l->text());
                QCOMPARE(texts, QStringList({u("Valmeq 2001"), u("Version 2.0"),
                                             u("Gestion de portefeuille boursier.")}));
                QVERIFY(d->findChild<QLabel *>(u("ProductName"))->font().bold());
                auto *ok = d->findChild<QPushButton *>(u("OKButton"));
                QVERIFY(ok);
                QCOMPARE(ok->text(), u("OK"));
                QVERIFY(ok->isDefault());
                ok->click();
            }();
            return d->result();
        };
        QVERIFY(trigger("miAPropos"));
        QCOMPARE(env->prompts.said(u("window")), QStringList({u("A propos")}));
        QVERIFY(env->prompts.dialogs.isEmpty());
        QVERIFY(shown.isNull()); // destroyed once closed
        QVERIFY(env->prompts.unexpected.isEmpty());
    }

    void title_followsTheDocumentWindow()
    {
        start();
        form->bourse()->setWindowTitle(u("Actions.ptf"));
        QCOMPARE(form->windowTitle(), u("Valmeq - Actions.ptf[*]"));
        form->bourse()->setWindowTitle(QString());
        QCOMPARE(form->windowTitle(), u("Valmeq[*]"));
    }

    // --- Status bar -----------------------------------------------------------

    void statusBar_clockShowsTheTimeEverySecond()
    {
        start();
        QCOMPARE(panel(1), u("14:05:09"));
        const QTimer *timer = form->findChild<QTimer *>(u("Timer1"));
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        env->clock->clock.set(QDateTime(QDate(2001, 3, 15), QTime(9, 0, 1)));
        QTRY_COMPARE_WITH_TIMEOUT(panel(1), u("09:00:01"), 3000);
        QCOMPARE(form->statusPanel(1)->alignment(), Qt::AlignCenter);
    }

    void statusBar_hintOfTheEntryUnderTheMouseGoesToPanelZero()
    {
        start();
        action("miAchat")->showStatusText(form->menuBar());
        QCOMPARE(panel(0), u("Achat d'un titre"));
        form->findChild<QMenu *>(u("mnuImporter"))->menuAction()->showStatusText(form->menuBar());
        QCOMPARE(panel(0), u("Importer données"));
        QToolButton *button = form->findChild<QToolButton *>(u("tbVenteButton"));
        QVERIFY(button);
        QStatusTipEvent tip(button->statusTip());
        QCoreApplication::sendEvent(button, &tip);
        QCOMPARE(panel(0), u("Vente"));
        QStatusTipEvent none{QString()};
        QCoreApplication::sendEvent(form.get(), &none);
        QCOMPARE(panel(0), QString());
        QCOMPARE(panel(1), u("14:05:09")); // the panels stay, no message covers them
        QVERIFY(form->statusPanel(1)->isVisible());
    }

    void statusBar_panelZeroFollowsTheWidth()
    {
        start();
        form->showNormal();
        form->resize(640, 480);
        QTRY_COMPARE(form->width(), 640);
        QTRY_COMPARE(form->statusPanel(0)->width(), 540);
        const QLabel *clockPanel = form->statusPanel(1);
        QVERIFY(clockPanel->width() >= 50);
        QVERIFY(clockPanel->fontMetrics().horizontalAdvance(clockPanel->text()) <=
                clockPanel->contentsRect().width());
        QVERIFY(clockPanel->geometry().right() < form->statusBar()->width());
        form->resize(900, 480);
        QTRY_COMPARE(form->statusPanel(0)->width(), 800);
        form->resize(400, 300); // the panels never hold the frame wider
        QTRY_COMPARE(form->width(), 400);
        QVERIFY(form->statusPanel(0)->width() <= 300);
        QVERIFY(form->statusPanel(1)->isVisible());
    }

    // --- Closing --------------------------------------------------------------

    void close_freshStart_writesTheSettingsAndTheThreeLists()
    {
        start();
        QDir::setCurrent(QDir::tempPath()); // some command moved away
        QVERIFY(form->close());
        QCOMPARE(QDir::currentPath(), form->startDir());
        QCOMPARE(env->dir.bytes(u("Valmeq.ini")), kFreshIni);
        for (const char *name : {"Valmeq.trt", "Valmeq.prc", "Valmeq.sit"}) {
            QVERIFY2(env->dir.exists(QLatin1String(name)), name);
            QCOMPARE(env->dir.bytes(QLatin1String(name)), QByteArray());
        }
        QVERIFY(!env->dir.exists(u("Cours.vmq")));
        QCOMPARE(env->prompts.log, QStringList());
    }

    void close_modifiedStore_asksBeforeWriting_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("written");
        QTest::newRow("Oui") << int(Prompts::Yes) << true << true;
        QTest::newRow("Non") << int(Prompts::No) << true << false;
        QTest::newRow("Annuler") << int(Prompts::Cancel) << false << false;
    }

    void close_modifiedStore_asksBeforeWriting()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(bool, written);
        start();
        form->bourse()->data().replaceStore(threeMonths());
        form->bourse()->data().change(BourseData::Change::Entry, [](QuoteLines &) {});
        env->prompts.answers << Prompts::Answer(answer);
        QCOMPARE(form->close(), closes);
        QCOMPARE(form->isVisible(), !closes);
        QCOMPARE(env->prompts.said(u("question")),
                 QStringList({u("Enregistrer le fichier des cotations ?")}));
        QCOMPARE(env->dir.exists(u("Cours.vmq")), written);
        if (written) QCOMPARE(env->dir.bytes(u("Cours.vmq")), crlf(threeMonths()));
        if (!closes) { // still open, nothing lost: the next closing saves
            env->prompts.answers << Prompts::Yes;
            QVERIFY(form->close());
            QCOMPARE(env->dir.bytes(u("Cours.vmq")), crlf(threeMonths()));
        }
    }

    void close_withAnOpenPortfolio_remembersItsPath()
    {
        const QString path = env->dir.file(u("Mon.ptf"));
        env->dir.write(u("Mon.ptf"), {u("A20010102\t012000\t1000,00\t10\t12,50")});
        writeIni(path, "1");
        start();
        QVERIFY(form->close());
        QCOMPARE(env->prompts.said(u("question")), QStringList());
        const QStringList ini = env->dir.lines(u("Valmeq.ini"));
        QCOMPARE(ini.value(1), path);
        QCOMPARE(ini.value(7), u("1"));
    }

    void close_fromTheEntryPage_savesWhatWasTyped()
    {
        start();
        TBourse *b = form->bourse();
        b->showPage(TBourse::PageSaisie);
        auto *grid = b->findChild<QTableWidget *>(u("StringGrid1"));
        QVERIFY(grid);
        const QStringList typed = {u("15/03/2001"), u("012000"), u("ALPHA"), u("12,50"), u("300")};
        for (int c = 0; c < typed.size(); ++c)
            grid->setItem(0, c, new QTableWidgetItem(typed[c]));
        env->prompts.answers << Prompts::Yes;
        QVERIFY(form->close());
        QCOMPARE(b->page(), int(TBourse::PageJournal));
        QCOMPARE(
            env->dir.lines(u("Cours.vmq")),
            QStringList({qline(u("20010315"), u("012000"), u("ALPHA"), u("12,50"), u("300"))}));
    }

    void close_startDirectoryGone_isReportedAndTheProgramCloses()
    {
        QDir(env->dir.path()).mkdir(u("gone"));
        const QString gone = env->dir.file(u("gone"));
        QDir::setCurrent(gone);
        start();
        QDir::setCurrent(env->dir.path());
        QVERIFY(QDir(env->dir.path()).rmdir(u("gone")));
        QVERIFY(form->close());
        // Every file that could not be written is named.
        QStringList notWritten;
        for (const char *name : {"Valmeq.ini", "Valmeq.trt", "Valmeq.prc", "Valmeq.sit"})
            notWritten.append(u("Ne peut créer le fichier ") + gone + u("/") + u(name));
        QCOMPARE(env->prompts.said(u("error")),
                 QStringList({u("Ne peut accéder au répertoire ") + gone,
                              notWritten.join(QLatin1Char('\n'))}));
    }

    void close_byQuitterAltXOrCloseBox_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("&Quitter") << 0;
        QTest::newRow("Alt+X") << 1;
        QTest::newRow("close box") << 2;
    }

    void close_byQuitterAltXOrCloseBox()
    {
        QFETCH(int, way);
        start();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        if (way == 0) QVERIFY(trigger("miQuitter"));
        if (way == 1) QTest::keyClick(form.get(), Qt::Key_X, Qt::AltModifier);
        if (way == 2) QVERIFY(form->windowHandle()->close());
        QTRY_VERIFY(!form->isVisible());
        QCOMPARE(env->dir.bytes(u("Valmeq.ini")), kFreshIni);
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"

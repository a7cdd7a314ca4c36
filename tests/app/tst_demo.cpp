// Every command of the menus on the demo start directory, as a new user
// meets it: each opens its window (or shows its page) and says no error.
#include "app/TMainForm.h"
#include "document/TBourse.h"
#include "testkit.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>

class TestDemo : public QObject
{
    Q_OBJECT
    std::optional<StartFixture> env;
    std::unique_ptr<TMainForm> form;

private slots:
    void init()
    {
        env.emplace(QDateTime(QDate(2008, 10, 20), QTime(10, 0)));
        const QDir demo(QStringLiteral(VALMEQ_SHARED_DATA));
        for (const QString &name : demo.entryList(QDir::Files))
            QVERIFY(QFile::copy(demo.filePath(name), env->dir.file(name)));
        form = std::make_unique<TMainForm>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup()
    {
        form.reset();
        env.reset();
    }

    void startsOnTheDemo()
    {
        QCOMPARE(env->prompts.log, QStringList());
        TBourse *b = form->bourse();
        QVERIFY(b->data().store().size() > 100000);
        QVERIFY(b->data().index().size() >= 40);
        QVERIFY(!b->data().portfolio().isEmpty()); // opened automatically
    }

    void command_opensItsWindow_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("window"); // the caption's beginning; empty: none
        const std::pair<const char *, const char *> rows[] = {
            {"miParametres", "Paramètres"},
            {"miRIIndex", "Rsi"},
            {"miMomentum", "Moment"},
            {"miZigetZag", "Zigzag"},
            {"miStatistiques", "Statistiques"},
            {"miHitParade", "Hit parade"},
            {"miGraphique", ""},
            {"miAchat", "Achat de titres"},
            {"miVente", "Vente de titres"},
            {"miEchange", "Echange de titres"},
            {"miDividendes", "Dividendes"},
            {"miOperations", "Journal"},
            {"miPortefeuille", "Portefeuille"},
            {"miFraisBourse", "Frais"},
            {"miRepartition", "Répartition du portefeuille"},
            {"miListeTitres", "Liste des titres"},
            {"miCoupures", "Vu dans la presse"},
            {"miImporter", "Importer"},
            {"miGetCours", "Télécharger cours"},
            {"miConfigImprimante", "Configuration imprimante"},
            {"miCalendrier", "Calendrier"},
            {"miPocket", "Calculatrice"},
            {"miHorloge", "Horloge"},
            {"miEurof", "Euro convertisseur"},
            {"miBlocnotes", "Bloc-notes"},
            {"miAideIndex", "Aide de Valmeq"},
            {"miAPropos", "A propos"},
        };
        for (const auto &[action, window] : rows)
            QTest::newRow(action) << QString::fromUtf8(action) << QString::fromUtf8(window);
    }
    void command_opensItsWindow()
    {
        QFETCH(QString, action);
        QFETCH(QString, window);
        // The import asks for its file first.
        if (action == QStringLiteral("miImporter"))
            env->prompts.fileNames << env->dir.file(QStringLiteral("Cours.vmq"));
        QStringList opened;
        for (int i = 0; i < 3; ++i)
            env->prompts.dialogs.append([&opened](QDialog *d) {
                opened.append(d->windowTitle());
                return int(QDialog::Rejected);
            });
        QAction *entry = form->findChild<QAction *>(action);
        QVERIFY(entry);
        QVERIFY2(entry->isEnabled(), qPrintable(action));
        entry->trigger();
        QCOMPARE(env->prompts.said(QStringLiteral("error")), QStringList());
        if (window.isEmpty()) {
            QCOMPARE(opened, QStringList());
            QCOMPARE(form->bourse()->page(), int(TBourse::PageGraphique));
        } else {
            QVERIFY2(!opened.isEmpty() && opened.first().startsWith(window),
                     qPrintable(opened.join(QStringLiteral(" | "))));
        }
    }

    void imprimer_onEachPage_asksForThePrinter()
    {
        TBourse *b = form->bourse();
        for (const int page : {int(TBourse::PageJournal), int(TBourse::PageTitres)}) {
            b->showPage(page);
            env->prompts.printAnswers << false;
            QAction *entry = form->findChild<QAction *>(QStringLiteral("miImprimer"));
            entry->trigger();
        }
        QCOMPARE(env->prompts.log.count(QStringLiteral("print")), 2);
        QCOMPARE(env->prompts.said(QStringLiteral("error")), QStringList());
    }
};

QTEST_MAIN(TestDemo)
#include "tst_demo.moc"

// The help file of the program and its window: every context number of the
// frame has its page, every menu entry is explained, F1 and the "&Aide"
// entries open the right page.
#include "app/TMainForm.h"
#include "document/TBourse.h"
#include "help/THelp.h"
#include "help/helpfile.h"
#include "testkit.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTextFrame>

namespace
{

QString shippedHelp()
{
    return QStringLiteral(VALMEQ_SHARED_DATA "/Valmeq.hlp");
}

QString helpText()
{
    QFile f(shippedHelp());
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

    std::optional<StartFixture> env;
    std::unique_ptr<TMainForm> form;

    // Starts the frame in a start directory holding the shipped help file.
    void start(bool withHelp = true)
    {
        if (withHelp) QVERIFY(QFile::copy(shippedHelp(), env->dir.file(u("Valmeq.hlp"))));
        form = std::make_unique<TMainForm>();
        form->show();
    }
    // The page the next help window shows, with `body` run on it first.
    void expectHelp(QString *page, std::function<void(THelp *)> body = {})
    {
        env->prompts.dialogs << [page, body](QDialog *d) {
            auto *help = qobject_cast<THelp *>(d);
            *page = help ? help->shownPage() : u("<not the help>");
            if (help && body) body(help);
            return int(QDialog::Rejected);
        };
    }

private slots:
    void init() { env.emplace(QDateTime(QDate(2001, 3, 15), QTime(9, 0))); }
    void cleanup()
    {
        form.reset();
        env.reset();
    }

    // --- The file shipped -------------------------------------------------------

    void everyContextNumberHasItsPage_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("page");
        QTest::newRow("main frame, monthly view") << 2 << u("principal");
        QTest::newRow("Fichier") << 3 << u("fichier");
        QTest::newRow("Ediiton") << 4 << u("edition");
        QTest::newRow("Cours, security view") << 5 << u("cours");
        QTest::newRow("Stats") << 6 << u("stats");
        QTest::newRow("Gestion") << 7 << u("gestion");
        QTest::newRow("Utilitaires") << 8 << u("utilitaires");
        QTest::newRow("Aide") << 9 << u("aide");
        QTest::newRow("chart page") << 10 << u("graphique");
    }
    void everyContextNumberHasItsPage()
    {
        QFETCH(int, context);
        QFETCH(QString, page);
        HelpFile file;
        QVERIFY(file.load(shippedHelp()));
        const HelpFile::Page *p = file.context(context);
        QVERIFY(p);
        QCOMPARE(p->id, page);
        QVERIFY(p->contexts.contains(context));
        QVERIFY(!p->html.isEmpty());
    }

    void everyLinkLeadsToAPage()
    {
        HelpFile file;
        QVERIFY(file.load(shippedHelp()));
        QVERIFY(file.usingHelp());
        QRegularExpression link(u("href=\"#([^\"]+)\""));
        for (const HelpFile::Page &p : file.pages())
            for (auto it = link.globalMatch(p.html); it.hasNext();) {
                const QString id = it.next().captured(1);
                QVERIFY2(file.page(id), qPrintable(p.id + u(" -> ") + id));
            }
    }

    void everyMenuEntryIsExplained()
    {
        start(false);
        const QString text = helpText();
        QVERIFY(!text.isEmpty());
        QStringList missing;
        const auto check = [&](const QString &caption) {
            QString c = caption;
            c.remove(QLatin1Char('&'));
            if (c.endsWith(u("..."))) c.chop(3);
            if (!c.isEmpty() && !text.contains(c)) missing.append(c);
        };
        const QList<QMenu *> menus = form->findChildren<QMenu *>();
        QVERIFY(menus.size() >= 10);
        for (const QMenu *menu : menus)
            for (QAction *a : menu->actions())
                if (!a->isSeparator()) check(a->text());
        for (QAction *top : form->menuBar()->actions())
            check(top->text());
        // The windows of the notes and the accessories, by their captions.
        for (const char *caption : {"Liste des titres", "Vu dans la presse", "Calendrier",
                                    "Calculatrice", "Horloge", "Bloc-notes"})
            check(u(caption));
        QCOMPARE(missing, QStringList());
    }

    // --- Reading and finding the file -------------------------------------------

    void parse_readsPagesContextsAndKeywords()
    {
        HelpFile file;
        file.parse(u("<!-- en-tête -->\n"
                     "<!-- page id=\"sommaire\" titre=\"Sommaire\" -->\n<h1>S</h1>\n"
                     "<!-- page id=\"a\" titre=\"Page A\" contexte=\"3 7\" mots-clés=\"Euro; "
                     "franc\" -->\n<p>A</p>\n"
                     "<!-- page id=\"b\" contexte=\"7\" mots-clés=\"euro ; taux\" -->\n<p>B</p>"));
        QCOMPARE(file.pages().size(), 3);
        QCOMPARE(file.context(3)->id, u("a"));
        QCOMPARE(file.context(7)->id, u("a")); // the first page that answers it
        QCOMPARE(file.context(42)->id, u("sommaire"));
        QCOMPARE(file.page(u("a"))->html, u("<p>A</p>"));
        QCOMPARE(file.page(u("b"))->title, u("b"));
        QCOMPARE(file.keywords(), QStringList({u("Euro"), u("franc"), u("taux")}));
        QCOMPARE(file.pagesFor(u("EURO")).size(), 2);
        QVERIFY(!file.usingHelp());
    }

    void locate_prefersTheStartDirectory()
    {
        TempStartDir program;
        const QString start = env->dir.path();
        QCOMPARE(HelpFile::candidates(start, program.path()).first(),
                 env->dir.file(u("Valmeq.hlp")));
        QCOMPARE(HelpFile::candidates(start, program.path()).last(), program.file(u("Valmeq.hlp")));
        program.write(u("Valmeq.hlp"), {u("<!-- page id=\"sommaire\" -->")});
        QCOMPARE(HelpFile::locate(start, program.path()), program.file(u("Valmeq.hlp")));
        env->dir.write(u("Valmeq.hlp"), {u("<!-- page id=\"sommaire\" -->")});
        QCOMPARE(HelpFile::locate(start, program.path()), env->dir.file(u("Valmeq.hlp")));
    }

    // --- The window over a help file of anyone's making --------------------------

    void hostilePage_isShownFiltered_andNoFileIsRead()
    {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QString path = env->dir.file(u("rouge.png"));
        QVERIFY(image.save(path));
        HelpFile file;
        file.parse(u("<!-- page id=\"sommaire\" -->\n") + u("<table><tr><td>x").repeated(3000) +
                   u("<img src=\"%1\">").arg(path));
        THelp help(file);
        help.showPage(u("sommaire"));
        auto *browser = child<QTextBrowser>(&help, "TextBrowser1");
        const QTextDocument *doc = browser->document();
        QCOMPARE(doc->rootFrame()->childFrames().size(), 1);
        QVERIFY(doc->rootFrame()->childFrames().first()->childFrames().isEmpty());
        QVERIFY(!doc->toHtml().contains(u("<img")));
        // Even HTML that never went through the filter reads no file when
        // laid out, which is when an image is asked for.
        for (const QUrl &url : {QUrl(path), QUrl::fromLocalFile(path)}) {
            browser->setHtml(u("<p><img src=\"%1\"></p>").arg(url.toString()));
            doc->size();
            QCOMPARE(doc->resource(QTextDocument::ImageResource, url).value<QImage>().size(),
                     QSize(1, 1));
            QVERIFY(doc->resource(QTextDocument::StyleSheetResource, url).isNull());
        }
    }

    // --- The help from the frame ------------------------------------------------

    void aideEntries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("tab");
        QTest::newRow("Index") << u("miAideIndex") << u("sommaire") << 0;
        QTest::newRow("Rechercher") << u("miAideRechercher") << u("sommaire") << 1;
        QTest::newRow("Utiliser l'aide") << u("miAideUtiliser") << u("utiliser-aide") << 0;
    }
    void aideEntries()
    {
        QFETCH(QString, entry);
        QFETCH(QString, page);
        QFETCH(int, tab);
        start();
        QString shown;
        int shownTab = -1;
        QString keyword = u("<none>");
        expectHelp(&shown, [&](THelp *h) {
            shownTab = child<QTabWidget>(h, "TabControl1")->currentIndex();
            keyword = child<QLineEdit>(h, "EditMotCle")->text();
        });
        QAction *a = form->findChild<QAction *>(entry);
        QVERIFY(a && a->isEnabled());
        a->trigger();
        QCOMPARE(shown, page);
        QCOMPARE(shownTab, tab);
        QCOMPARE(keyword, QString());
    }

    void keywordSearch_opensThePage()
    {
        start();
        QString shown, after;
        expectHelp(&shown, [&](THelp *h) {
            typeText(u("horl"));
            pressKey(Qt::Key_Return);
            after = h->shownPage();
        });
        form->findChild<QAction *>(u("miAideRechercher"))->trigger();
        QCOMPARE(after, u("horloge"));
    }

    void f1_opensThePageOfWhereItIsPressed_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("help");
        QTest::newRow("monthly view") << int(TBourse::PageJournal) << QString() << u("principal");
        QTest::newRow("security view") << int(TBourse::PageTitres) << QString() << u("cours");
        QTest::newRow("chart page") << int(TBourse::PageGraphique) << QString() << u("graphique");
        QTest::newRow("menu Stats") << int(TBourse::PageJournal) << u("mnuStats") << u("stats");
        QTest::newRow("submenu Importer")
            << int(TBourse::PageJournal) << u("mnuImporter") << u("fichier");
    }
    void f1_opensThePageOfWhereItIsPressed()
    {
        QFETCH(int, page);
        QFETCH(QString, menu);
        QFETCH(QString, help);
        start();
        form->bourse()->showPage(page);
        QString shown;
        expectHelp(&shown);
        if (menu.isEmpty()) {
            QTest::keyClick(form->bourse(), Qt::Key_F1);
        } else {
            auto *m = form->findChild<QMenu *>(menu);
            QVERIFY(m);
            m->popup(QPoint(10, 10));
            QTRY_VERIFY(m->isVisible());
            QTest::keyClick(m, Qt::Key_F1);
            QVERIFY(!m->isVisible());
        }
        QCOMPARE(shown, help);
        QVERIFY(env->prompts.dialogs.isEmpty());
    }

    void f1_inAnAccessoryOpensTheContents()
    {
        start();
        QString shown;
        env->prompts.dialogs << [](QDialog *d) {
            QTest::keyClick(d, Qt::Key_F1);
            return int(QDialog::Rejected);
        };
        expectHelp(&shown);
        form->findChild<QAction *>(u("miCalendrier"))->trigger();
        QCOMPARE(shown, u("sommaire"));
        QVERIFY(env->prompts.dialogs.isEmpty());
    }

    // A help file beyond its limit is refused, named, before it is read.
    void oversizedHelpFile_isRefused()
    {
        const QString path = env->dir.file(u("Valmeq.hlp"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(HelpFile::kLimit + 1));
        file.close();
        start(false);
        form->findChild<QAction *>(u("miAideIndex"))->trigger();
        QCOMPARE(env->prompts.said(u("error")),
                 QStringList{u("Le fichier %1 est trop grand (9 Mo, au plus 8 Mo)").arg(path)});
        QCOMPARE(env->prompts.unexpected, QStringList());
    }

    void missingHelpFile_isSaid()
    {
        if (!HelpFile::locate(env->dir.path(), QCoreApplication::applicationDirPath()).isEmpty())
            QSKIP("a help file is installed on this machine");
        start(false);
        form->findChild<QAction *>(u("miAideIndex"))->trigger();
        QCOMPARE(env->prompts.said(u("error")).size(), 1);
        QVERIFY(env->prompts.said(u("error")).first().contains(u("Valmeq.hlp")));
        QCOMPARE(env->prompts.unexpected, QStringList());
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"

// The download window: the editing rules of the site list, and transfers
// from a web server on 127.0.0.1 started here.
#include "../net/scriptedserver.h"
#include "base/errors.h"
#include "document/ExchangeCommands.h"
#include "document/TBourse.h"
#include "exchange/THttpGet.h"
#include "exchange/download.h"
#include "exchange/sites.h"
#include "faultdisk.h"
#include "net/HttpClient.h"
#include "testkit.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace
{

const QString kParisBourse = u"Paris Bourse\thttp://a/pb.txt\tpb.txt"_s;
const QString kParis = u"Paris\thttp://a/p.txt\tp.txt"_s;
const QString kLyon = u"Lyon\thttp://a/l.txt\tl.txt"_s;

// The window opened and shown, as the command shows it.
struct Window {
    THttpGet w;
    explicit Window(const QStringList &sites, int position = 0)
    {
        w.Init(sites, position);
        w.show();
        w.activateWindow();
        (void)QTest::qWaitForWindowActive(&w);
    }
    QComboBox *name() { return child<QComboBox>(&w, "ComboBox1"); }
    QLineEdit *url() { return child<QLineEdit>(&w, "Edit1"); }
    QLineEdit *path() { return child<QLineEdit>(&w, "Edit2"); }
    QString status() { return child<QLabel>(&w, "Label4")->text(); }
    void click(const char *button)
    {
        QTest::mouseClick(child<QPushButton>(&w, button), Qt::LeftButton);
    }
    void download() { QTest::mouseClick(child<QToolButton>(&w, "ToolButton1"), Qt::LeftButton); }
    void type(QWidget *field, const QString &text)
    {
        field->setFocus();
        if (auto *e = qobject_cast<QLineEdit *>(field)) e->clear();
        if (auto *c = qobject_cast<QComboBox *>(field)) c->lineEdit()->clear();
        // A line break cannot be typed: it comes pasted.
        if (text.contains(u'\n')) {
            qobject_cast<QLineEdit *>(field)->insert(text);
            return;
        }
        QTest::keyClicks(field, text);
    }
    void fill(const QString &n, const QString &u, const QString &p)
    {
        type(name(), n);
        type(url(), u);
        type(path(), p);
    }
    QStringList names()
    {
        QStringList out;
        for (int i = 0; i < name()->count(); ++i)
            out.append(name()->itemText(i));
        return out;
    }
    QStringList sites()
    {
        QStringList s;
        int p = 0;
        w.Result(s, p);
        return s;
    }
    int position()
    {
        QStringList s;
        int p = 0;
        w.Result(s, p);
        return p;
    }
};

// Remembers where each open dialog opened; installed over the fixture's.
class DirPrompts : public ScriptedPrompts
{
public:
    QStringList dirs;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        dirs.append(dir);
        return ScriptedPrompts::openFileName(parent, caption, dir, filter);
    }
};

} // namespace

class TestHttpGet : public QObject
{
    Q_OBJECT

    std::optional<StartFixture> start;

private slots:
    void init() { start.emplace(); }
    void cleanup() { start.reset(); }

    void opening_showsThePosition_data()
    {
        QTest::addColumn<QStringList>("sites");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("empty list")
            << QStringList() << 0 << QStringList{QString(), QString(), QString()};
        QTest::newRow("second site") << QStringList{kParisBourse, kLyon} << 1
                                     << QStringList{u"Lyon"_s, u"http://a/l.txt"_s, u"l.txt"_s};
        QTest::newRow("position past the end")
            << QStringList{kLyon} << 3 << QStringList{QString(), QString(), QString()};
    }
    void opening_showsThePosition()
    {
        QFETCH(QStringList, sites);
        QFETCH(int, position);
        Window win(sites, position);
        QCOMPARE(win.w.windowTitle(), u"Télécharger cours"_s);
        QTEST((QStringList{win.name()->currentText(), win.url()->text(), win.path()->text()}),
              "fields");
        QCOMPARE(win.status(), u"Prêt"_s);
        // A reason phrase such as "<img src=...>" is shown as it came.
        QCOMPARE(child<QLabel>(&win.w, "Label4")->textFormat(), Qt::PlainText);
        QVERIFY(child<QToolButton>(&win.w, "ToolButton1")->isEnabled());
        QVERIFY(!child<QToolButton>(&win.w, "ToolButton2")->isEnabled());
        QCOMPARE(win.names().size(), sites.size());
        QStringList labels;
        for (QLabel *l : win.w.findChildren<QLabel *>())
            if (l->buddy()) labels.append(l->text());
        QCOMPARE(labels,
                 (QStringList{u"Nom du site"_s, u"URL du fichier"_s, u"Chemin du fichier"_s}));
    }

    void editing_data()
    {
        QTest::addColumn<QStringList>("sites");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("action");    // apply, enter, erase, close
        QTest::addColumn<QStringList>("typed"); // name, address, path; empty: as shown
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("newPosition");

        const QStringList two{kParisBourse, kLyon};
        QTest::newRow("first site") << QStringList() << 0 << u"apply"_s
                                    << QStringList{u" Paris "_s, u"http://a/p.txt"_s, u"p.txt"_s}
                                    << QStringList{kParis} << 0;
        QTest::newRow("blank name changes nothing")
            << two << 0 << u"apply"_s << QStringList{u"  "_s, u"http://x"_s, u"x"_s} << two << 0;
        QTest::newRow("a name beginning another is a new site")
            << two << 1 << u"apply"_s << QStringList{u"Paris"_s, u"http://a/p.txt"_s, u"p.txt"_s}
            << QStringList{kParisBourse, kLyon, kParis} << 2;
        QTest::newRow("other case replaces the site")
            << two << 0 << u"apply"_s << QStringList{u"LYON"_s, u"http://b"_s, u"b.txt"_s}
            << QStringList{kParisBourse, u"LYON\thttp://b\tb.txt"_s} << 0;
        QTest::newRow("a tab or a line break pasted in a field becomes a space")
            << two << 0 << u"apply"_s << QStringList{u"Nice"_s, u"http://n"_s, u"n\t\n.txt"_s}
            << QStringList{kParisBourse, kLyon, u"Nice\thttp://n\tn  .txt"_s} << 2;
        QTest::newRow("a character the file cannot hold is refused")
            << two << 0 << u"apply"_s << QStringList{u"Nice"_s, u"http://n"_s, u"n☺\n.txt"_s} << two
            << 0;
        QTest::newRow("enter in the path applies")
            << two << 0 << u"enter"_s << QStringList{u"Nice"_s, u"http://n"_s, u"n.txt"_s}
            << QStringList{kParisBourse, kLyon, u"Nice\thttp://n\tn.txt"_s} << 2;
        QTest::newRow("fermer applies")
            << two << 0 << u"close"_s << QStringList{u"Nice"_s, u"http://n"_s, u"n.txt"_s}
            << QStringList{kParisBourse, kLyon, u"Nice\thttp://n\tn.txt"_s} << 2;
        QTest::newRow("escape is fermer")
            << two << 0 << u"escape"_s << QStringList{u"Nice"_s, u"http://n"_s, u"n.txt"_s}
            << QStringList{kParisBourse, kLyon, u"Nice\thttp://n\tn.txt"_s} << 2;
        QTest::newRow("close box does not apply")
            << two << 0 << u"closebox"_s << QStringList{u"Nice"_s, u"http://n"_s, u"n.txt"_s} << two
            << 0;
        QTest::newRow("erase the site shown")
            << two << 1 << u"erase"_s << QStringList() << QStringList{kParisBourse} << 0;
        QTest::newRow("erase the site named, not the one remembered")
            << QStringList{kParisBourse, kLyon, kParis} << 0 << u"erase"_s
            << QStringList{u"Lyon"_s, QString(), QString()} << QStringList{kParisBourse, kParis}
            << 1;
        QTest::newRow("erase a name that is no site")
            << two << 0 << u"erase"_s << QStringList{u"Paris"_s, QString(), QString()} << two << 0;
        QTest::newRow("erase the only site")
            << QStringList{kLyon} << 0 << u"erase"_s << QStringList() << QStringList() << 0;
    }
    void editing()
    {
        QFETCH(QStringList, sites);
        QFETCH(int, position);
        QFETCH(QString, action);
        QFETCH(QStringList, typed);
        Window win(sites, position);
        if (!typed.isEmpty()) win.fill(typed[0], typed[1], typed[2]);
        if (action == u"apply"_s)
            win.click("Button2");
        else if (action == u"enter"_s)
            QTest::keyClick(win.path(), Qt::Key_Return);
        else if (action == u"close"_s)
            win.click("Button4");
        else if (action == u"escape"_s)
            QTest::keyClick(win.path(), Qt::Key_Escape);
        else if (action == u"closebox"_s)
            win.w.close();
        else if (action == u"erase"_s)
            win.click("Button3");
        QTEST(win.sites(), "after");
        QTEST(win.position(), "newPosition");
        QStringList names;
        for (const QString &line : win.sites())
            names.append(sites::split(line).name);
        QCOMPARE(win.names(), names);
        if (action == u"close"_s || action == u"escape"_s)
            QCOMPARE(win.w.result(), int(QDialog::Accepted));
    }

    void choosingAName_showsThatSite()
    {
        // Paris Bourse comes first: choosing Paris shows Paris all the same.
        Window win({kParisBourse, kParis, kLyon}, 0);
        win.name()->setCurrentIndex(1);
        emit win.name()->activated(1);
        QCOMPARE(win.url()->text(), u"http://a/p.txt"_s);
        QCOMPARE(win.path()->text(), u"p.txt"_s);
        QCOMPARE(win.position(), 1);
        win.click("Button1"); // "Nouveau"
        QCOMPARE(win.name()->currentText(), QString());
        QCOMPARE(win.url()->text(), QString());
        QVERIFY(win.name()->hasFocus() || win.name()->lineEdit()->hasFocus());
    }

    void getCours_keepsThePosition()
    {
        TBourse bourse;
        bourse.data().setSites({kParisBourse, kLyon});
        start->prompts.dialogs = {[](QDialog *d) {
            auto *c = child<QComboBox>(d, "ComboBox1");
            c->setCurrentIndex(1);
            emit c->activated(1);
            QTest::mouseClick(child<QPushButton>(d, "Button4"), Qt::LeftButton);
            return int(QDialog::Accepted);
        }};
        bourse.exchange().GetCours();
        QCOMPARE(bourse.data().sitePosition(), 1);
        QCOMPARE(bourse.data().sites(), (QStringList{kParisBourse, kLyon}));
    }

    void transfer_data()
    {
        QTest::addColumn<QList<ScriptedServer::Reply>>("replies");
        QTest::addColumn<QString>("address"); // %1: the server's
        QTest::addColumn<QString>("path");    // in the start directory
        QTest::addColumn<QByteArray>("file"); // afterwards; "<former>" kept
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("error"); // beginning of the message shown
        QTest::addColumn<int>("requests");
        using R = QList<ScriptedServer::Reply>;
        QTest::newRow("success") << R{ScriptedServer::ok("19990115\t012000\r\n")}
                                 << u"%1/cours.txt"_s << u"cours.txt"_s
                                 << QByteArray("19990115\t012000\r\n")
                                 << u"Téléchargement terminé"_s << QString() << 1;
        QTest::newRow("redirected")
            << R{ScriptedServer::moved("/b"), ScriptedServer::ok("b")} << u"%1/a"_s
            << u"cours.txt"_s << QByteArray("b") << u"Téléchargement terminé"_s << QString() << 2;
        QTest::newRow("404 keeps the former file")
            << R{ScriptedServer::status("404 Not Found")} << u"%1/x"_s << u"cours.txt"_s
            << QByteArray("<former>") << u"Échec : 404 fichier introuvable"_s << QString() << 1;
        QTest::newRow("cut short keeps the former file")
            << R{{"HTTP/1.0 200 OK\r\nContent-Length: 50\r\n\r\nhalf"}} << u"%1/x"_s
            << u"cours.txt"_s << QByteArray("<former>")
            << u"Échec : transfert incomplet : 4 octets reçus sur 50"_s << u"Transfert incomplet"_s
            << 1;
        QTest::newRow("missing directory, no request")
            << R{ScriptedServer::ok("x")} << u"%1/x"_s << u"nowhere/cours.txt"_s
            << QByteArray("<absent>") << u"Prêt"_s << u"Ne peut créer le fichier "_s << 0;
        QTest::newRow("empty path, no request")
            << R{ScriptedServer::ok("x")} << u"%1/x"_s << QString() << QByteArray("<former>")
            << u"Prêt"_s << u"Ne peut créer le fichier"_s << 0;
        QTest::newRow("injected header, no request")
            << R{ScriptedServer::ok("x")} << u"%1/x\nX-Evil: 1"_s << u"cours.txt"_s
            << QByteArray("<former>") << u"Prêt"_s << u"L'adresse contient"_s << 0;
        QTest::newRow("no host, no request")
            << R{ScriptedServer::ok("x")} << u"http:///x"_s << u"cours.txt"_s
            << QByteArray("<former>") << u"Prêt"_s << u"Adresse sans nom de serveur"_s << 0;
        ScriptedServer::Reply endless{"HTTP/1.0 200 OK\r\n"};
        endless.repeat = "X-Filler: abcdefghijklmnop\r\n";
        QTest::newRow("endless head")
            << R{endless} << u"%1/x"_s << u"cours.txt"_s << QByteArray("<former>")
            << u"Échec : réponse incorrecte du serveur : en-tête trop long"_s
            << u"Réponse incorrecte du serveur : en-tête trop long"_s << 1;
        QTest::newRow("silent server")
            << R{{"", false}} << u"%1/x"_s << u"cours.txt"_s << QByteArray("<former>")
            << u"Échec : le serveur ne répond plus"_s << u"Le serveur ne répond plus"_s << 1;
        QTest::newRow("304 is no file")
            << R{{"HTTP/1.0 304 Not Modified\r\n\r\nunwanted"}} << u"%1/x"_s << u"cours.txt"_s
            << QByteArray("<former>") << u"Échec : 304 réponse sans fichier"_s << QString() << 1;
        QTest::newRow("empty body keeps the former file")
            << R{ScriptedServer::ok("")} << u"%1/x"_s << u"cours.txt"_s << QByteArray("<former>")
            << u"Échec : le serveur n'a envoyé aucune donnée"_s
            << u"Le serveur n'a envoyé aucune donnée"_s << 1;
        QTest::newRow("redirection to javascript")
            << R{ScriptedServer::moved("javascript:alert(1)"), ScriptedServer::ok("x")} << u"%1/x"_s
            << u"cours.txt"_s << QByteArray("<former>")
            << u"Échec : protocole non pris en charge : javascript"_s
            << u"Protocole non pris en charge : javascript"_s << 1;
    }
    void transfer()
    {
        QFETCH(QList<ScriptedServer::Reply>, replies);
        QFETCH(QString, address);
        QFETCH(QString, path);
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        ScriptedServer server;
        server.replies = replies;
        start->dir.writeBytes(u"cours.txt"_s, "<former>");
        Window win({});
        win.w.client().setStallTimeout(300);
        win.fill(u"Site"_s, address.arg(server.url(QString())), path);
        win.download();
        QTest::qWait(20); // a connection, were one made, would be served by now
        QTEST(win.status(), "status");
        QTEST(int(server.requests.size()), "requests");
        const QStringList errors = start->prompts.said(u"error"_s);
        if (error.isEmpty())
            QCOMPARE(errors, QStringList());
        else
            QVERIFY2(errors.size() == 1 && errors[0].startsWith(error),
                     qPrintable(errors.join(u'|')));
        const QString target = path.isEmpty() ? u"cours.txt"_s : path;
        const QString written = start->dir.file(target);
        QCOMPARE(QFileInfo::exists(written) ? fileBytes(written) : QByteArray("<absent>"), file);
        // No temporary file is left beside it.
        QCOMPARE(QDir(start->dir.path()).entryList(QDir::Files), QStringList{u"cours.txt"_s});
        QVERIFY(child<QToolButton>(&win.w, "ToolButton1")->isEnabled());
        QVERIFY(!child<QToolButton>(&win.w, "ToolButton2")->isEnabled());
    }

    void stopOrClose_duringTransfer_keepsTheFormerFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("arrêter") << u"stop"_s;
        QTest::newRow("close box") << u"close"_s;
        QTest::newRow("fermer") << u"fermer"_s;
    }
    void stopOrClose_duringTransfer_keepsTheFormerFile()
    {
        QFETCH(QString, how);
        ScriptedServer server;
        server.replies = {{"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\npart", false}};
        start->dir.writeBytes(u"cours.txt"_s, "<former>");
        Window win({});
        win.fill(u"Site"_s, server.url(u"/x"_s), u"cours.txt"_s);
        bool stopEnabled = false;
        QString during;
        // Once the first bytes are written, the user acts.
        connect(&win.w.client(), &HttpClient::progress, &win.w, [&] {
            QTimer::singleShot(0, &win.w, [&] {
                during = win.status();
                stopEnabled = child<QToolButton>(&win.w, "ToolButton2")->isEnabled();
                if (how == u"stop"_s)
                    QTest::mouseClick(child<QToolButton>(&win.w, "ToolButton2"), Qt::LeftButton);
                else if (how == u"close"_s)
                    win.w.close();
                else
                    win.click("Button4");
            });
        });
        win.download();
        QVERIFY(stopEnabled);
        QCOMPARE(during, u"Reçu 4 octets"_s);
        QCOMPARE(win.status(), u"Échec : transfert interrompu"_s);
        QCOMPARE(start->prompts.said(u"error"_s), QStringList());
        QCOMPARE(fileBytes(start->dir.file(u"cours.txt"_s)), QByteArray("<former>"));
        QCOMPARE(QDir(start->dir.path()).entryList(QDir::Files), QStringList{u"cours.txt"_s});
        QCOMPARE(win.w.isVisible(), how == u"stop"_s);
    }

    void fullDisk_saysSo_andKeepsTheFormerFile()
    {
        SmallDisk disk;
        if (!disk.mounted()) QSKIP("needs root to mount a small tmpfs; skipped");
        const QString target = disk.file(u"cours.txt"_s);
        QFile former(target);
        QVERIFY(former.open(QIODevice::WriteOnly));
        former.write("<former>");
        former.close();
        ScriptedServer server;
        server.replies = {ScriptedServer::ok(QByteArray(1024 * 1024, 'x'))};
        Window win({});
        win.fill(u"Site"_s, server.url(u"/x"_s), target);
        win.download();
        QCOMPARE(win.status(), u"Échec : disque plein"_s);
        QCOMPARE(start->prompts.said(u"error"_s), QStringList{u"Disque plein"_s});
        QCOMPARE(fileBytes(target), QByteArray("<former>"));
        QCOMPARE(disk.entries(), QStringList{u"cours.txt"_s});
        QVERIFY(child<QToolButton>(&win.w, "ToolButton1")->isEnabled());
        QVERIFY(!child<QToolButton>(&win.w, "ToolButton2")->isEnabled());
    }

    // The start directory goes while the window is open: the download says
    // it cannot create the file, and closing still hands the sites back.
    void startDirectoryRemoved_beforeClosing()
    {
        TBourse bourse;
        bourse.data().setSites({kLyon});
        ScriptedServer server;
        server.replies = {ScriptedServer::ok("new")};
        QString status;
        start->prompts.dialogs = {[&](QDialog *d) {
            QDir(start->dir.path()).removeRecursively();
            child<QComboBox>(d, "ComboBox1")->setEditText(u"Nice"_s);
            child<QLineEdit>(d, "Edit1")->setText(server.url(u"/n"_s));
            child<QLineEdit>(d, "Edit2")->setText(u"n.txt"_s);
            QTest::mouseClick(child<QToolButton>(d, "ToolButton1"), Qt::LeftButton);
            status = child<QLabel>(d, "Label4")->text();
            QTest::mouseClick(child<QPushButton>(d, "Button4"), Qt::LeftButton);
            return int(QDialog::Accepted);
        }};
        bourse.exchange().GetCours();
        QCOMPARE(start->prompts.said(u"error"_s), QStringList{u"Ne peut créer le fichier n.txt"_s});
        QCOMPARE(status, u"Prêt"_s);
        QVERIFY(server.requests.isEmpty());
        QCOMPARE(bourse.data().sites(),
                 (QStringList{kLyon, u"Nice\t"_s + server.url(u"/n"_s) + u"\tn.txt"_s}));
        QCOMPARE(bourse.data().sitePosition(), 1);
    }

    void failedTexts_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("shown");
        QTest::newRow("404") << 404 << u"File not found"_s << u"Échec : 404 fichier introuvable"_s;
        QTest::newRow("403") << 403 << u"Forbidden"_s << u"Échec : 403 accès interdit"_s;
        QTest::newRow("500") << 500 << u"Internal Server Error"_s
                             << u"Échec : 500 erreur du serveur"_s;
        QTest::newRow("418") << 418 << u"I'm a teapot"_s << u"Échec : 418 demande refusée"_s;
        QTest::newRow("unknown host") << 404 << u"can't resolve hostname to IP address"_s
                                      << u"Échec : nom d'hôte introuvable"_s;
        QTest::newRow("refused") << 404 << u"can't connect: Connexion refusée"_s
                                 << u"Échec : connexion refusée"_s;
        QTest::newRow("connection too slow")
            << 404 << u"can't connect: délai de connexion dépassé"_s
            << u"Échec : délai de connexion dépassé"_s;
        QTest::newRow("other reason")
            << 0 << u"Le serveur ne répond plus"_s << u"Échec : le serveur ne répond plus"_s;
        QTest::newRow("capitals kept") << 0 << u"HTTPS refusé"_s << u"Échec : HTTPS refusé"_s;
    }
    void failedTexts()
    {
        QFETCH(int, status);
        QFETCH(QString, reason);
        QTEST(THttpGet::failed(HttpError(status, reason)), "shown");
    }

    // The file received is imported at once when the user says so, and the
    // next import proposes it.
    void downloaded_thenImported()
    {
        DirPrompts prompts;
        TBourse bourse;
        ScriptedServer server;
        server.replies = {ScriptedServer::ok("Date;Cl\xC3\xB4ture\r\n03/04/2008;12,5\r\n")};
        prompts.answers = {Prompts::Yes};
        prompts.dialogs = {
            [&](QDialog *d) {
                child<QComboBox>(d, "ComboBox1")->setEditText(u"Site"_s);
                child<QLineEdit>(d, "Edit1")->setText(server.url(u"/c"_s));
                child<QLineEdit>(d, "Edit2")->setText(u"cours.csv"_s);
                QTest::mouseClick(child<QToolButton>(d, "ToolButton1"), Qt::LeftButton);
                return d->result();
            },
            [&](QDialog *d) {
                auto *security = child<QComboBox>(d, "ComboBox1");
                security->setCurrentIndex(security->count() - 1);
                QTest::keyClicks(child<QLineEdit>(d, "Edit1"), u"AB123"_s);
                QTest::keyClicks(child<QLineEdit>(d, "Edit2"), u"ESSAI"_s);
                QTest::mouseClick(child<QRadioButton>(d, "RadioButton1"), Qt::LeftButton);
                QTest::mouseClick(child<QPushButton>(d, "OKBtn"), Qt::LeftButton);
                return d->result();
            }};
        bourse.exchange().GetCours();
        QCOMPARE(prompts.said(u"question"_s), QStringList{u"Importer ce fichier ?"_s});
        QCOMPARE(prompts.said(u"information"_s), QStringList{u"1 cotation importée"_s});
        QCOMPARE(bourse.data().store(), QStringList{u"20080403\t0AB123\tESSAI\t12,5\t"_s});
        prompts.fileNames = {QString()};
        bourse.exchange().Importer();
        QCOMPARE(prompts.dirs,
                 QStringList{QFileInfo(start->dir.file(u"cours.csv"_s)).absoluteFilePath()});
    }

    void refusedConnection_saysSo()
    {
        start->dir.writeBytes(u"cours.txt"_s, "<former>");
        Window win({});
        win.fill(u"Site"_s, u"http://127.0.0.1:%1/x"_s.arg(closedPort()), u"cours.txt"_s);
        win.download();
        QCOMPARE(win.status(), u"Échec : connexion refusée"_s);
        QCOMPARE(fileBytes(start->dir.file(u"cours.txt"_s)), QByteArray("<former>"));
    }
};

QTEST_MAIN(TestHttpGet)
#include "tst_httpget.moc"

// The download against servers that misbehave, and against a destination
// that fails: every failure is said in French, nothing hangs beyond the
// stall limit, the former file stays byte for byte and no temporary file is
// left beside it.
#include "../net/scriptedserver.h"
#include "base/errors.h"
#include "exchange/download.h"
#include "faultdisk.h"
#include "net/HttpClient.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Replies = QList<ScriptedServer::Reply>;

namespace
{

const QByteArray kFormer = "19990114\t012000\tALPHA\t101,00\t500\r\n";
const int kStallMs = 300;

struct Outcome {
    QString error; // empty on success
    int status = 0;
};

Outcome fetch(HttpClient &client, const QString &path)
{
    Outcome o;
    try {
        download(client, path);
    } catch (const HttpError &e) {
        o.error = e.message();
        o.status = e.status();
    } catch (const VError &e) {
        o.error = e.message();
    }
    return o;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

ScriptedServer::Reply reply(const QByteArray &bytes, bool close = true)
{
    ScriptedServer::Reply r;
    r.bytes = bytes;
    r.close = close;
    return r;
}

ScriptedServer::Reply repeating(const QByteArray &start, const QByteArray &repeat, int everyMs,
                                qint64 limit)
{
    ScriptedServer::Reply r;
    r.bytes = start;
    r.repeat = repeat;
    r.everyMs = everyMs;
    r.limit = limit;
    return r;
}

// "%A" and "%B" in the replies stand for the addresses of the two servers.
Replies placed(Replies replies, const ScriptedServer &a, const ScriptedServer &b)
{
    for (ScriptedServer::Reply &r : replies) {
        r.bytes.replace("%A", a.url(QString()).toLatin1());
        r.bytes.replace("%B", b.url(QString()).toLatin1());
    }
    return replies;
}

} // namespace

class TestDownload : public QObject
{
    Q_OBJECT

private slots:
    void hostileServer_keepsTheFormerFile_data()
    {
        QTest::addColumn<Replies>("repliesA");
        QTest::addColumn<Replies>("repliesB");
        QTest::addColumn<QString>("path");    // asked of server A
        QTest::addColumn<QString>("error");   // beginning of the failure's message
        QTest::addColumn<int>("status");      // of the failure
        QTest::addColumn<QByteArray>("file"); // afterwards; empty: the former kept

        const QString incorrect = u"Réponse incorrecte du serveur"_s;
        const QString tooLong = u"Réponse incorrecte du serveur : en-tête trop long"_s;
        const QString badLength = u"Réponse incorrecte du serveur : longueur du contenu"_s;
        const QString nothing = u"Le serveur n'a envoyé aucune donnée"_s;

        QTest::newRow("headers without end")
            << Replies{repeating("HTTP/1.0 200 OK\r\n", "X-Filler: abcdefghijklmnop\r\n", 0,
                                 16 * 1024 * 1024)}
            << Replies{} << u"/"_s << tooLong << 0 << QByteArray();
        QTest::newRow("headers trickling past the stall limit")
            << Replies{repeating("HTTP/1.0 200 OK\r\n", "X-Slow: 1\r\n", 20, 4000)} << Replies{}
            << u"/"_s << u"Le serveur ne répond plus"_s << 0 << QByteArray();
        QTest::newRow("megabytes of one header line")
            << Replies{repeating("HTTP/1.0 200 OK\r\nX-Big: ", QByteArray(4096, 'a'), 0,
                                 8 * 1024 * 1024)}
            << Replies{} << u"/"_s << tooLong << 0 << QByteArray();
        QTest::newRow("a megabyte header line ended at once")
            << Replies{reply("HTTP/1.0 200 OK\r\nX-Big: " + QByteArray(1024 * 1024, 'a') +
                             "\r\n\r\nbody")}
            << Replies{} << u"/"_s << tooLong << 0 << QByteArray();

        QTest::newRow("redirection loop between two servers")
            << Replies{ScriptedServer::moved("%B/b"), ScriptedServer::moved("%B/b"),
                       ScriptedServer::moved("%B/b")}
            << Replies{ScriptedServer::moved("%A/a"), ScriptedServer::moved("%A/a"),
                       ScriptedServer::moved("%A/a")}
            << u"/a"_s << u"Trop de redirections"_s << 0 << QByteArray();
        QTest::newRow("redirection to ftp")
            << Replies{ScriptedServer::moved("ftp://127.0.0.1/cours.txt")} << Replies{} << u"/"_s
            << u"Protocole non pris en charge : ftp"_s << 0 << QByteArray();
        QTest::newRow("redirection to a local file")
            << Replies{ScriptedServer::moved("file:///etc/passwd")} << Replies{} << u"/"_s
            << u"Protocole non pris en charge : file"_s << 0 << QByteArray();
        QTest::newRow("redirection to javascript")
            << Replies{ScriptedServer::moved("javascript:alert(1)"), ScriptedServer::ok("x")}
            << Replies{} << u"/d/a"_s << u"Protocole non pris en charge : javascript"_s << 0
            << QByteArray();
        QTest::newRow("redirection to mail")
            << Replies{ScriptedServer::moved("mailto:a@b.fr"), ScriptedServer::ok("x")} << Replies{}
            << u"/d/a"_s << u"Protocole non pris en charge : mailto"_s << 0 << QByteArray();
        QTest::newRow("redirection to an empty location")
            << Replies{ScriptedServer::moved("  ")} << Replies{} << u"/"_s
            << u"Redirection sans adresse"_s << 0 << QByteArray();
        QTest::newRow("redirection to control characters")
            << Replies{ScriptedServer::moved("/a\x01\x7f")} << Replies{} << u"/"_s
            << u"L'adresse contient un caractère de contrôle"_s << 0 << QByteArray();
        QTest::newRow("redirection to a host-less address")
            << Replies{ScriptedServer::moved("http://")} << Replies{} << u"/"_s
            << u"Adresse sans nom de serveur"_s << 0 << QByteArray();
        QTest::newRow("relative redirection followed")
            << Replies{ScriptedServer::moved("b/c.txt"), ScriptedServer::ok("relative")}
            << Replies{} << u"/d/a"_s << QString() << 0 << QByteArray("relative");

        QTest::newRow("binary status line")
            << Replies{reply(QByteArray("\x00\xff\xfe\x80\r\n\r\n", 8))} << Replies{} << u"/"_s
            << incorrect << 0 << QByteArray();
        QTest::newRow("binary bytes then closed")
            << Replies{reply(QByteArray("\x00\xff\xfe\x80garbage", 11))} << Replies{} << u"/"_s
            << incorrect << 0 << QByteArray();
        QTest::newRow("status without a code")
            << Replies{reply("HTTP/1.0 abc\r\n\r\nbody")} << Replies{} << u"/"_s << incorrect << 0
            << QByteArray();
        QTest::newRow("shoutcast status") << Replies{reply("ICY 200 OK\r\n\r\nbody")} << Replies{}
                                          << u"/"_s << incorrect << 0 << QByteArray();
        QTest::newRow("a bare line break then closed")
            << Replies{reply("\r\n")} << Replies{} << u"/"_s << incorrect << 0 << QByteArray();
        QTest::newRow("an empty head") << Replies{reply("\r\n\r\nbody")} << Replies{} << u"/"_s
                                       << incorrect << 0 << QByteArray();

        QTest::newRow("body stopping half-way")
            << Replies{reply("HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n" +
                             QByteArray(500, 'x'))}
            << Replies{} << u"/"_s << u"Transfert incomplet : 500 octets reçus sur 1000"_s << 0
            << QByteArray();
        ScriptedServer::Reply hangUp;
        hangUp.hangUp = true;
        QTest::newRow("closed before any byte")
            << Replies{hangUp} << Replies{} << u"/"_s
            << u"Le serveur a fermé la connexion sans répondre"_s << 0 << QByteArray();
        QTest::newRow("closed after the request")
            << Replies{reply("")} << Replies{} << u"/"_s
            << u"Le serveur a fermé la connexion sans répondre"_s << 0 << QByteArray();
        QTest::newRow("never answers") << Replies{reply("", false)} << Replies{} << u"/"_s
                                       << u"Le serveur ne répond plus"_s << 0 << QByteArray();
        QTest::newRow("stalls in the body")
            << Replies{reply("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nabc", false)}
            << Replies{} << u"/"_s << u"Le serveur ne répond plus"_s << 0 << QByteArray();

        QTest::newRow("negative length")
            << Replies{reply("HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\nbody")} << Replies{}
            << u"/"_s << badLength << 0 << QByteArray();
        QTest::newRow("overflowing length")
            << Replies{reply("HTTP/1.0 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n"
                             "body")}
            << Replies{} << u"/"_s << badLength << 0 << QByteArray();
        QTest::newRow("length not a number")
            << Replies{reply("HTTP/1.0 200 OK\r\nContent-Length: 4x\r\n\r\nbody")} << Replies{}
            << u"/"_s << badLength << 0 << QByteArray();
        QTest::newRow("two different lengths")
            << Replies{reply("HTTP/1.0 200 OK\r\nContent-Length: 3\r\nContent-Length: 5\r\n\r\n"
                             "abcde")}
            << Replies{} << u"/"_s << badLength << 0 << QByteArray();
        QTest::newRow("two different lengths on one line")
            << Replies{reply("HTTP/1.0 200 OK\r\nContent-Length: 3, 5\r\n\r\nabcde")} << Replies{}
            << u"/"_s << badLength << 0 << QByteArray();
        QTest::newRow("the same length twice")
            << Replies{reply("HTTP/1.0 200 OK\r\nContent-Length: 3\r\ncontent-length: 3\r\n\r\n"
                             "abcde")}
            << Replies{} << u"/"_s << QString() << 0 << QByteArray("abc");
        QTest::newRow("chunked on an HTTP/1.0 reply")
            << Replies{reply("HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                             "5\r\nabcde\r\n0\r\n\r\n")}
            << Replies{} << u"/"_s
            << u"Réponse incorrecte du serveur : codage de transfert non pris en charge"_s << 0
            << QByteArray();
        QTest::newRow("200 with a length of nothing")
            << Replies{reply("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n")} << Replies{} << u"/"_s
            << nothing << 0 << QByteArray();
        QTest::newRow("200 closed after the head")
            << Replies{reply("HTTP/1.0 200 OK\r\n\r\n")} << Replies{} << u"/"_s << nothing << 0
            << QByteArray();
        QTest::newRow("204 followed by bytes")
            << Replies{reply("HTTP/1.0 204 No Content\r\n\r\nunwanted")} << Replies{} << u"/"_s
            << nothing << 0 << QByteArray();
        QTest::newRow("304 followed by bytes")
            << Replies{reply("HTTP/1.0 304 Not Modified\r\n\r\nunwanted")} << Replies{} << u"/"_s
            << u"304 Not Modified"_s << 304 << QByteArray();
        QTest::newRow("100 alone")
            << Replies{reply("HTTP/1.0 100 Continue\r\n\r\nunwanted")} << Replies{} << u"/"_s
            << u"100 Continue"_s << 100 << QByteArray();
        QTest::newRow("300 without a choice")
            << Replies{reply("HTTP/1.0 300 Multiple Choices\r\n\r\n<html>")} << Replies{} << u"/"_s
            << u"300 Multiple Choices"_s << 300 << QByteArray();
        QTest::newRow("status 999")
            << Replies{reply("HTTP/1.0 999 Whatever\r\n\r\nunwanted")} << Replies{} << u"/"_s
            << u"999 Whatever"_s << 999 << QByteArray();
    }
    void hostileServer_keepsTheFormerFile()
    {
        QFETCH(Replies, repliesA);
        QFETCH(Replies, repliesB);
        QFETCH(QString, path);
        QFETCH(QString, error);
        QFETCH(QByteArray, file);
        ScriptedServer a;
        ScriptedServer b;
        a.replies = placed(repliesA, a, b);
        b.replies = placed(repliesB, a, b);
        QTemporaryDir dir;
        const QString target = dir.filePath(u"cours.txt"_s);
        QFile former(target);
        QVERIFY(former.open(QIODevice::WriteOnly));
        former.write(kFormer);
        former.close();

        HttpClient client;
        client.setStallTimeout(kStallMs);
        client.setUrl(a.url(path));
        const Outcome o = fetch(client, target);
        if (error.isEmpty())
            QCOMPARE(o.error, QString());
        else
            QVERIFY2(o.error.startsWith(error), qPrintable(o.error));
        QTEST(o.status, "status");
        QVERIFY(!client.isBusy());
        QCOMPARE(bytesOf(target), file.isEmpty() ? kFormer : file);
        QCOMPARE(entries(dir.path()), QStringList{u"cours.txt"_s});
        // Nothing was asked of a place a redirection must not lead to.
        for (const QByteArray &r : std::as_const(a.requests))
            QVERIFY2(!r.contains("javascript") && !r.contains("mailto"), r.constData());
    }

    // A secured address is never followed to a plain one; other hops are.
    void redirection_keepsTheSecurity_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QByteArray>("location");
        QTest::addColumn<QString>("next"); // empty: refused
        QTest::addColumn<QString>("error");
        QTest::newRow("https to http") << u"https://a.fr/x"_s << QByteArray("http://b.fr/y")
                                       << QString() << u"Redirection refusée"_s;
        QTest::newRow("https to http, scheme in capitals")
            << u"https://a.fr/x"_s << QByteArray("HTTP://a.fr/y") << QString()
            << u"Redirection refusée"_s;
        QTest::newRow("https to https") << u"https://a.fr/x"_s << QByteArray("https://b.fr/y")
                                        << u"https://b.fr/y"_s << QString();
        QTest::newRow("https, relative stays https")
            << u"https://a.fr/d/x"_s << QByteArray("y") << u"https://a.fr/d/y"_s << QString();
        QTest::newRow("http to https") << u"http://a.fr/x"_s << QByteArray("https://a.fr/x")
                                       << u"https://a.fr/x"_s << QString();
        QTest::newRow("scheme-relative keeps https")
            << u"https://a.fr/x"_s << QByteArray("//b.fr/y") << u"https://b.fr/y"_s << QString();
        QTest::newRow("javascript") << u"http://a.fr/d/x"_s << QByteArray("javascript:alert(1)")
                                    << QString() << u"Protocole non pris en charge : javascript"_s;
        QTest::newRow("data") << u"http://a.fr/d/x"_s << QByteArray("data:text/plain,abc")
                              << QString() << u"Protocole non pris en charge : data"_s;
        QTest::newRow("an address in the query is no scheme")
            << u"http://a.fr/d/x"_s << QByteArray("/go?to=http://b.fr/y")
            << u"http://a.fr/go?to=http://b.fr/y"_s << QString();
        QTest::newRow("http without slashes")
            << u"http://a.fr/d/x"_s << QByteArray("http:y") << QString() << u"Adresse incorrecte"_s;
        QTest::newRow("a colon after a slash is a path")
            << u"http://a.fr/d/x"_s << QByteArray("y/z:1") << u"http://a.fr/d/y/z:1"_s << QString();
    }
    void redirection_keepsTheSecurity()
    {
        QFETCH(QString, base);
        QFETCH(QByteArray, location);
        QFETCH(QString, next);
        QFETCH(QString, error);
        http::Url from;
        QString why;
        QVERIFY(http::parseUrl(base, &from, &why));
        http::Url to;
        const bool followed = http::resolveLocation(from, location, &to, &why);
        QCOMPARE(followed, !next.isEmpty());
        if (followed)
            QCOMPARE(to.toString(), next);
        else
            QVERIFY2(why.startsWith(error), qPrintable(why));
    }

    // The destination fails under the transfer: the reason is said, the
    // former file stays, nothing is left beside it.
    void destinationFault_duringTransfer_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("file replaced by a directory") << u"directory"_s;
        QTest::newRow("directory removed") << u"removed"_s;
    }
    void destinationFault_duringTransfer()
    {
        QFETCH(QString, fault);
        ScriptedServer server;
        server.replies = {ScriptedServer::ok("19990115\t012000\tALPHA\t102,50\t700\r\n", false)};
        QTemporaryDir dir;
        const QString sub = dir.filePath(u"cours"_s);
        QVERIFY(QDir().mkpath(sub));
        const QString target = sub + u"/cours.txt"_s;
        QFile former(target);
        QVERIFY(former.open(QIODevice::WriteOnly));
        former.write(kFormer);
        former.close();

        HttpClient client;
        client.setStallTimeout(kStallMs);
        client.setUrl(server.url(u"/"_s));
        bool done = false;
        connect(&client, &HttpClient::progress, &client, [&](qint64) {
            if (done) return;
            done = true;
            if (fault == u"directory"_s) {
                QFile::remove(target);
                QDir().mkdir(target);
            } else {
                QDir(sub).removeRecursively();
            }
        });
        const Outcome o = fetch(client, target);
        QVERIFY(done);
        QCOMPARE(o.error, u"Ne peut créer le fichier "_s + target);
        if (fault == u"directory"_s) {
            QVERIFY(QFileInfo(target).isDir());
            QCOMPARE(entries(sub), QStringList{u"cours.txt"_s});
        } else {
            QVERIFY(!QFileInfo::exists(sub));
        }
    }

    void readOnlyDirectory_sendsNoRequest()
    {
        SmallDisk disk;
        if (!disk.mounted()) QSKIP("needs root to mount a small tmpfs; skipped");
        QFile former(disk.file(u"cours.txt"_s));
        QVERIFY(former.open(QIODevice::WriteOnly));
        former.write(kFormer);
        former.close();
        QVERIFY(disk.remountReadOnly());
        ScriptedServer server;
        server.replies = {ScriptedServer::ok("new")};
        HttpClient client;
        client.setUrl(server.url(u"/"_s));
        const Outcome o = fetch(client, disk.file(u"cours.txt"_s));
        QCOMPARE(o.error, u"Ne peut créer le fichier "_s + disk.file(u"cours.txt"_s));
        QTest::qWait(20); // a connection, were one made, would be served by now
        QVERIFY(server.requests.isEmpty());
        QCOMPARE(bytesOf(disk.file(u"cours.txt"_s)), kFormer);
        QCOMPARE(disk.entries(), QStringList{u"cours.txt"_s});
    }

    // A body larger than the disk: the system's message, the former file
    // byte for byte, the temporary file removed.
    void fullDisk_saysSo_andKeepsTheFormerFile_data()
    {
        QTest::addColumn<bool>("withLength");
        QTest::newRow("length given") << true;
        QTest::newRow("ended by closing") << false;
    }
    void fullDisk_saysSo_andKeepsTheFormerFile()
    {
        QFETCH(bool, withLength);
        SmallDisk disk;
        if (!disk.mounted()) QSKIP("needs root to mount a small tmpfs; skipped");
        const QString target = disk.file(u"cours.txt"_s);
        QFile former(target);
        QVERIFY(former.open(QIODevice::WriteOnly));
        former.write(kFormer);
        former.close();
        QByteArray body;
        while (body.size() < 1024 * 1024)
            body += "19990115\t012000\tALPHA\t102,50\t" + QByteArray::number(body.size()) + "\r\n";
        ScriptedServer server;
        server.replies = {ScriptedServer::ok(body, withLength)};
        HttpClient client;
        client.setStallTimeout(5000);
        client.setUrl(server.url(u"/"_s));
        const Outcome o = fetch(client, target);
        QCOMPARE(o.error, u"Disque plein"_s);
        QCOMPARE(bytesOf(target), kFormer);
        QCOMPARE(disk.entries(), QStringList{u"cours.txt"_s});
        // The room is free again: the next download succeeds.
        server.replies = {ScriptedServer::ok("19990115\r\n")};
        QCOMPARE(fetch(client, target).error, QString());
        QCOMPARE(bytesOf(target), QByteArray("19990115\r\n"));
        QCOMPARE(disk.entries(), QStringList{u"cours.txt"_s});
    }

    // The permissions of the file replaced are kept.
    void success_keepsThePermissions()
    {
        ScriptedServer server;
        server.replies = {ScriptedServer::ok("new")};
        QTemporaryDir dir;
        const QString target = dir.filePath(u"cours.txt"_s);
        QFile former(target);
        QVERIFY(former.open(QIODevice::WriteOnly));
        former.write(kFormer);
        former.close();
        const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
        QVERIFY(QFile::setPermissions(target, mode));
        HttpClient client;
        client.setUrl(server.url(u"/"_s));
        QCOMPARE(fetch(client, target).error, QString());
        QCOMPARE(bytesOf(target), QByteArray("new"));
        // Owner, group and others, the bits of the current user left out.
        QCOMPARE(int(QFile::permissions(target)) & 0x7077, int(mode));
        QCOMPARE(entries(dir.path()), QStringList{u"cours.txt"_s});
    }
};

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_download.moc"

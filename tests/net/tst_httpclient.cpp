// The HTTP client for real, against a server on 127.0.0.1 started here.
#include "net/HttpClient.h"
#include "scriptedserver.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;
using Replies = QList<ScriptedServer::Reply>;

Q_DECLARE_METATYPE(ScriptedServer::Reply)

namespace
{

const QByteArray kAccept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";

QByteArray bigBody()
{
    QByteArray b;
    for (int i = 0; i < 20000; ++i)
        b += "19990115\t012000\tALPHA\t102,50\t" + QByteArray::number(i) + "\r\n";
    return b;
}

// The outcome of one get(): the error's status and message, or status 0 and
// an empty message.
struct Outcome {
    int errorStatus = 0;
    QString error;
    bool aborted = false;
};

Outcome run(HttpClient &client)
{
    Outcome o;
    try {
        client.get();
    } catch (const HttpError &e) {
        o.errorStatus = e.status();
        o.error = e.message();
        o.aborted = e.aborted();
    }
    return o;
}

} // namespace

class TestHttpClient : public QObject
{
    Q_OBJECT

private slots:
    void request_isSentExactly()
    {
        ScriptedServer server;
        server.replies = {ScriptedServer::ok("x")};
        HttpClient client;
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        client.setDestination(&body);
        client.setUrl(server.url(u"/cours?place=paris"_s));
        QCOMPARE(run(client).error, QString());
        QCOMPARE(server.requests.size(), 1);
        QCOMPARE(server.requests[0], "GET /cours?place=paris HTTP/1.0\r\n"
                                     "Accept: " +
                                         kAccept +
                                         "\r\n"
                                         "User-Agent: Mozilla/3.0 (compatible)\r\n"
                                         "Host: 127.0.0.1:" +
                                         QByteArray::number(server.port()) + "\r\n\r\n");
    }

    void replies_data()
    {
        QTest::addColumn<Replies>("replies");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("body");        // written to the destination
        QTest::addColumn<int>("status");             // of the last reply read
        QTest::addColumn<QString>("error");          // beginning of the failure's message
        QTest::addColumn<QByteArrayList>("targets"); // the request lines sent

        const QByteArray big = bigBody();
        QTest::newRow("200 with length") << Replies{ScriptedServer::ok("19990115\tA\r\n")}
                                         << u"/a.txt"_s << QByteArray("19990115\tA\r\n") << 200
                                         << QString() << QByteArrayList{"GET /a.txt HTTP/1.0"};
        QTest::newRow("200 ended by closing")
            << Replies{ScriptedServer::ok(big, false)} << u"/"_s << big << 200 << QString()
            << QByteArrayList{"GET / HTTP/1.0"};
        QTest::newRow("bytes past the length dropped")
            << Replies{{"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabcdef"}} << u"/"_s
            << QByteArray("abc") << 200 << QString() << QByteArrayList{"GET / HTTP/1.0"};
        QTest::newRow("404 writes nothing")
            << Replies{ScriptedServer::status("404 Not Found")} << u"/absent"_s << QByteArray()
            << 404 << u"404 Not Found"_s << QByteArrayList{"GET /absent HTTP/1.0"};
        QTest::newRow("500") << Replies{ScriptedServer::status("500 Internal Server Error")}
                             << u"/"_s << QByteArray() << 500 << u"500 Internal Server Error"_s
                             << QByteArrayList{"GET / HTTP/1.0"};
        QTest::newRow("301 then 302 then 200")
            << Replies{ScriptedServer::moved("/b"), ScriptedServer::moved("c", "302 Found"),
                       ScriptedServer::ok("final")}
            << u"/d/a"_s << QByteArray("final") << 200 << QString()
            << QByteArrayList{"GET /d/a HTTP/1.0", "GET /b HTTP/1.0", "GET /c HTTP/1.0"};
        QTest::newRow("redirection to 404")
            << Replies{ScriptedServer::moved("/gone"), ScriptedServer::status("404 Not Found")}
            << u"/"_s << QByteArray() << 404 << u"404 Not Found"_s
            << QByteArrayList{"GET / HTTP/1.0", "GET /gone HTTP/1.0"};
        Replies loop;
        QByteArrayList loopTargets{"GET /r0 HTTP/1.0"};
        for (int i = 1; i <= HttpClient::kMaxRedirections + 1; ++i) {
            loop.append(ScriptedServer::moved("/r" + QByteArray::number(i)));
            if (i <= HttpClient::kMaxRedirections)
                loopTargets.append("GET /r" + QByteArray::number(i) + " HTTP/1.0");
        }
        QTest::newRow("five redirections at most")
            << loop << u"/r0"_s << QByteArray() << 301 << u"Trop de redirections"_s << loopTargets;
        Replies five = loop.mid(0, HttpClient::kMaxRedirections);
        five.append(ScriptedServer::ok("5"));
        QTest::newRow("five redirections followed")
            << five << u"/r0"_s << QByteArray("5") << 200 << QString() << loopTargets;
        QTest::newRow("redirection without location")
            << Replies{{"HTTP/1.0 302 Found\r\n\r\n"}} << u"/"_s << QByteArray() << 302
            << u"Redirection sans adresse"_s << QByteArrayList{"GET / HTTP/1.0"};
        QTest::newRow("body cut short")
            << Replies{{"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n0123456789"}} << u"/"_s
            << QByteArray("0123456789") << 200 << u"Transfert incomplet : 10 octets reçus sur 100"_s
            << QByteArrayList{"GET / HTTP/1.0"};
        QTest::newRow("closed without a reply")
            << Replies{{""}} << u"/"_s << QByteArray() << 0 << u"Le serveur a fermé la connexion"_s
            << QByteArrayList{"GET / HTTP/1.0"};
        QTest::newRow("not an http reply")
            << Replies{{"bonjour\r\n\r\n"}} << u"/"_s << QByteArray() << 0
            << u"Réponse incorrecte du serveur"_s << QByteArrayList{"GET / HTTP/1.0"};
    }
    void replies()
    {
        QFETCH(Replies, replies);
        QFETCH(QString, path);
        QFETCH(QByteArray, body);
        QFETCH(QString, error);
        QFETCH(QByteArrayList, targets);
        ScriptedServer server;
        server.replies = replies;
        HttpClient client;
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        client.setDestination(&out);
        client.setUrl(server.url(path));
        const Outcome o = run(client);
        if (error.isEmpty())
            QCOMPARE(o.error, QString());
        else
            QVERIFY2(o.error.startsWith(error), qPrintable(o.error));
        QCOMPARE(out.data(), body);
        QTEST(client.statusCode(), "status");
        if (o.errorStatus >= 400) {
            QCOMPARE(o.errorStatus, client.statusCode());
            QCOMPARE(client.reasonPhrase(), error.mid(4).toLatin1());
        }
        QByteArrayList lines;
        for (const QByteArray &r : std::as_const(server.requests))
            lines.append(r.left(r.indexOf("\r\n")));
        QCOMPARE(lines, targets);
        if (error.isEmpty()) QCOMPARE(client.bytesReceived(), qint64(body.size()));
    }

    void refusedConnection_is404WithTheSocketError()
    {
        HttpClient client;
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        client.setDestination(&out);
        client.setUrl(u"http://127.0.0.1:%1/a.txt"_s.arg(closedPort()));
        const Outcome o = run(client);
        QCOMPARE(o.errorStatus, 404);
        QVERIFY2(o.error.startsWith(u"404 can't connect: "_s), qPrintable(o.error));
        QVERIFY(o.error.size() > 19);
    }

    // A server outside (a name of the seam, served on 127.0.0.1) redirects.
    void redirectionToALocalAddress_isRefused_data()
    {
        QTest::addColumn<QByteArray>("location");
        QTest::addColumn<QString>("error");
        const QString refused = u"Redirection refusée vers une adresse locale : "_s;
        QTest::newRow("loopback") << QByteArray("http://127.0.0.1:9090/admin")
                                  << refused + u"http://127.0.0.1:9090/admin"_s;
        QTest::newRow("IPv6 loopback")
            << QByteArray("http://[::1]/") << refused + u"http://[::1]/"_s;
        QTest::newRow("name of a private address")
            << QByteArray("https://intranet.test/") << refused + u"https://intranet.test/"_s;
        QTest::newRow("another server outside") << QByteArray("/cours.txt") << QString();
    }
    void redirectionToALocalAddress_isRefused()
    {
        QFETCH(QByteArray, location);
        QFETCH(QString, error);
        ScriptedServer server;
        server.replies = {ScriptedServer::moved(location, "302 Found"),
                          ScriptedServer::ok("cours")};
        HttpClient client;
        client.setHostAddress(u"cours.test"_s, QHostAddress(u"203.0.113.5"_s));
        client.setHostAddress(u"intranet.test"_s, QHostAddress(u"10.0.0.5"_s));
        client.setTransportAddress(QHostAddress::LocalHost, server.port());
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        client.setDestination(&out);
        client.setUrl(u"http://cours.test/"_s);
        QCOMPARE(run(client).error, error);
        QCOMPARE(server.requests.size(), error.isEmpty() ? 2 : 1);
        QCOMPARE(out.data(), error.isEmpty() ? QByteArray("cours") : QByteArray());
    }

    void badAddress_sendsNothing_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("line break") << u"/a\r\nX-Injected: 1"_s;
        QTest::newRow("escape") << u"/a\x1b"_s;
    }
    void badAddress_sendsNothing()
    {
        QFETCH(QString, suffix);
        ScriptedServer server;
        server.replies = {ScriptedServer::ok("x")};
        HttpClient client;
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        client.setDestination(&out);
        client.setUrl(server.url(suffix));
        const Outcome o = run(client);
        QCOMPARE(o.errorStatus, 0);
        QVERIFY(!o.error.isEmpty());
        QTest::qWait(50); // a connection, were one made, would be served by now
        QVERIFY(server.requests.isEmpty());
    }

    void silentServer_failsInsteadOfHanging()
    {
        ScriptedServer server;
        server.replies = {{"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nabc", false}};
        HttpClient client;
        client.setStallTimeout(200);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        client.setDestination(&out);
        client.setUrl(server.url(u"/"_s));
        const Outcome o = run(client);
        QCOMPARE(o.error, u"Le serveur ne répond plus"_s);
        QVERIFY(!o.aborted);
        QVERIFY(!client.isBusy());
    }

    void abort_endsTheTransfer_andEventsRunMeanwhile()
    {
        ScriptedServer server;
        server.replies = {{"HTTP/1.0 200 OK\r\n\r\nfirst part", false}};
        HttpClient client;
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        client.setDestination(&out);
        client.setUrl(server.url(u"/"_s));
        // The first bytes reached the destination while get() waits: the
        // event loop runs, and what runs there may stop the transfer.
        connect(&client, &HttpClient::progress, &client, [&client](qint64) {
            QTimer::singleShot(0, &client, [&client] { client.abort(); });
        });
        const Outcome o = run(client);
        QVERIFY(o.aborted);
        QCOMPARE(o.error, u"Transfert interrompu"_s);
        QCOMPARE(out.data(), QByteArray("first part"));
        // The client serves again after an abort.
        server.replies = {ScriptedServer::ok("again")};
        QObject::disconnect(&client, &HttpClient::progress, nullptr, nullptr);
        out.buffer().clear();
        out.seek(0);
        QCOMPARE(run(client).error, QString());
        QCOMPARE(out.data(), QByteArray("again"));
    }

    void failedWrite_endsTheTransfer()
    {
        ScriptedServer server;
        server.replies = {ScriptedServer::ok("abc")};
        HttpClient client;
        QBuffer readOnly;
        readOnly.open(QIODevice::ReadOnly);
        client.setDestination(&readOnly);
        client.setUrl(server.url(u"/"_s));
        QCOMPARE(run(client).error, u"Erreur d'écriture du fichier reçu"_s);
    }
};

QTEST_GUILESS_MAIN(TestHttpClient)
#include "tst_httpclient.moc"

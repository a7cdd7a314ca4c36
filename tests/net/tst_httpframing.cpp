// The wire side of the HTTP client, without sockets: addresses, the request,
// the reply's head and the redirections, the reply read as its bytes come.
#include "net/httpframing.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestHttpFraming : public QObject
{
    Q_OBJECT

private slots:
    void parseUrl_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("secure");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<QByteArray>("hostHeader");
        QTest::addColumn<QByteArray>("target");

        QTest::newRow("empty path becomes /")
            << u"http://example.org"_s << true << false << u"example.org"_s << 80
            << QByteArray("example.org") << QByteArray("/");
        QTest::newRow("path and query kept")
            << u"http://example.org/cours?place=paris"_s << true << false << u"example.org"_s << 80
            << QByteArray("example.org") << QByteArray("/cours?place=paris");
        QTest::newRow("query without path")
            << u"http://example.org?x=1"_s << true << false << u"example.org"_s << 80
            << QByteArray("example.org") << QByteArray("/?x=1");
        QTest::newRow("named port goes to Host")
            << u"http://example.org:8080/a.txt"_s << true << false << u"example.org"_s << 8080
            << QByteArray("example.org:8080") << QByteArray("/a.txt");
        QTest::newRow("named default port too")
            << u"http://example.org:80/"_s << true << false << u"example.org"_s << 80
            << QByteArray("example.org:80") << QByteArray("/");
        QTest::newRow("https default port")
            << u"HTTPS://example.org/x"_s << true << true << u"example.org"_s << 443
            << QByteArray("example.org") << QByteArray("/x");
        QTest::newRow("no scheme is http")
            << u"example.org/x"_s << true << false << u"example.org"_s << 80
            << QByteArray("example.org") << QByteArray("/x");
        QTest::newRow("fragment not sent") << u"http://h/a#part"_s << true << false << u"h"_s << 80
                                           << QByteArray("h") << QByteArray("/a");
        QTest::newRow("user name not sent") << u"http://moi@h/a"_s << true << false << u"h"_s << 80
                                            << QByteArray("h") << QByteArray("/a");
        QTest::newRow("blanks and accents encoded")
            << u"http://h/mes cours/é.txt"_s << true << false << u"h"_s << 80 << QByteArray("h")
            << QByteArray("/mes%20cours/%C3%A9.txt");
        QTest::newRow("ipv6 literal") << u"http://[::1]:81/"_s << true << false << u"::1"_s << 81
                                      << QByteArray("[::1]:81") << QByteArray("/");
        QTest::newRow("CR LF would inject a header")
            << u"http://h/a\r\nX-Evil: 1"_s << false << false << QString() << 0 << QByteArray()
            << QByteArray();
        QTest::newRow("tab inside") << u"http://h/a\tb"_s << false << false << QString() << 0
                                    << QByteArray() << QByteArray();
        QTest::newRow("no host") << u"http:///cours.txt"_s << false << false << QString() << 0
                                 << QByteArray() << QByteArray();
        QTest::newRow("empty") << QString() << false << false << QString() << 0 << QByteArray()
                               << QByteArray();
        QTest::newRow("other scheme")
            << u"ftp://h/a"_s << false << false << QString() << 0 << QByteArray() << QByteArray();
        QTest::newRow("port not a number") << u"http://h:8o/"_s << false << false << QString() << 0
                                           << QByteArray() << QByteArray();
        QTest::newRow("port too large") << u"http://h:70000/"_s << false << false << QString() << 0
                                        << QByteArray() << QByteArray();
    }
    void parseUrl()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        http::Url url;
        QString error;
        QCOMPARE(http::parseUrl(text, &url, &error), ok);
        if (!ok) {
            QVERIFY(!error.isEmpty());
            return;
        }
        QTEST(url.secure, "secure");
        QTEST(url.host, "host");
        QTEST(url.port, "port");
        QTEST(url.hostHeader(), "hostHeader");
        QTEST(url.target, "target");
    }

    void request_isExactlyTheFourLines_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("noCache");
        QTest::addColumn<bool>("proxy");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray tail = "Accept: a/b, */*\r\nUser-Agent: Mozilla/3.0 (compatible)\r\n";
        QTest::newRow("plain") << u"http://example.org:8080/cours?place=paris"_s << false << false
                               << "GET /cours?place=paris HTTP/1.0\r\n" + tail +
                                      "Host: example.org:8080\r\n\r\n";
        QTest::newRow("no-cache asked")
            << u"http://h"_s << true << false
            << "GET / HTTP/1.0\r\n" + tail + "Host: h\r\nPragma: no-cache\r\n\r\n";
        QTest::newRow("through a proxy")
            << u"http://h/a"_s << false << true
            << "GET http://h/a HTTP/1.0\r\n" + tail + "Host: h\r\n\r\n";
    }
    void request_isExactlyTheFourLines()
    {
        QFETCH(QString, address);
        QFETCH(bool, noCache);
        QFETCH(bool, proxy);
        http::Url url;
        QString error;
        QVERIFY(http::parseUrl(address, &url, &error));
        QTEST(http::buildRequest(url, "Mozilla/3.0 (compatible)", "a/b, */*", noCache, proxy),
              "expected");
    }

    void localAddresses_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("local");
        const std::pair<const char *, bool> rows[] = {
            {"127.0.0.1", true},
            {"127.255.255.254", true},
            {"10.1.2.3", true},
            {"172.16.0.1", true},
            {"172.31.255.255", true},
            {"172.32.0.1", false},
            {"192.168.1.1", true},
            {"192.169.0.1", false},
            {"169.254.169.254", true},
            {"0.0.0.0", true},
            {"8.8.8.8", false},
            {"::1", true},
            {"::", true},
            {"fe80::1", true},
            {"febf::1", true},
            {"fec0::1", false},
            {"fc00::1", true},
            {"fdff::1", true},
            {"::ffff:127.0.0.1", true},
            {"::ffff:8.8.8.8", false},
            {"2001:db8::1", false},
        };
        for (const auto &[address, local] : rows)
            QTest::newRow(address) << QString::fromLatin1(address) << local;
    }
    void localAddresses()
    {
        QFETCH(QString, address);
        QTEST(http::isLocalAddress(QHostAddress(address)), "local");
    }

    void statusLine_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("reason");
        QTest::newRow("ok") << QByteArray("HTTP/1.0 200 OK\r") << true << 200 << QByteArray("OK");
        QTest::newRow("two words")
            << QByteArray("HTTP/1.1 404 Not Found") << true << 404 << QByteArray("Not Found");
        QTest::newRow("no reason") << QByteArray("HTTP/1.1 204") << true << 204 << QByteArray();
        QTest::newRow("not http") << QByteArray("ICY 200 OK") << false << 0 << QByteArray();
        QTest::newRow("short code") << QByteArray("HTTP/1.0 20 OK") << false << 0 << QByteArray();
        QTest::newRow("letters in code")
            << QByteArray("HTTP/1.0 2x0 OK") << false << 0 << QByteArray();
        QTest::newRow("bad version") << QByteArray("HTTP/one 200 OK") << false << 0 << QByteArray();
        QTest::newRow("four digits")
            << QByteArray("HTTP/1.0 2000 OK") << false << 0 << QByteArray();
    }
    void statusLine()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, ok);
        int status = 0;
        QByteArray reason;
        QCOMPARE(http::parseStatusLine(line, &status, &reason), ok);
        if (!ok) return;
        QTEST(status, "status");
        QTEST(reason, "reason");
    }

    void head_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qsizetype>("end");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<QByteArray>("location");
        QTest::newRow("crlf") << QByteArray("HTTP/1.0 200 OK\r\ncontent-length: 12\r\n\r\nbody")
                              << qsizetype(39) << qint64(12) << QByteArray();
        QTest::newRow("lf only") << QByteArray("HTTP/1.0 302 Found\nLocation:  /b \n\nx")
                                 << qsizetype(35) << qint64(-1) << QByteArray("/b");
        QTest::newRow("bad length ignored")
            << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 1e3\r\n\r\n") << qsizetype(40)
            << qint64(-1) << QByteArray();
        QTest::newRow("head not whole") << QByteArray("HTTP/1.0 200 OK\r\nContent-Le")
                                        << qsizetype(-1) << qint64(-1) << QByteArray();
    }
    void head()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qsizetype, end);
        QCOMPARE(http::headEnd(bytes), end);
        if (end < 0) return;
        http::ResponseHead h;
        QVERIFY(http::parseHead(bytes.left(end), &h));
        QTEST(h.contentLength(), "length");
        QTEST(h.header("LOCATION"), "location");
    }

    void redirection_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QByteArray>("location");
        QTest::addColumn<QString>("expected"); // empty: refused
        QTest::newRow("absolute") << u"http://a/x/y"_s << QByteArray("http://b:81/z")
                                  << u"http://b:81/z"_s;
        QTest::newRow("to https") << u"http://a/x"_s << QByteArray("https://a/x")
                                  << u"https://a/x"_s;
        QTest::newRow("same scheme") << u"https://a/x"_s << QByteArray("//b/z") << u"https://b/z"_s;
        QTest::newRow("rooted keeps port")
            << u"http://a:8080/x/y?q=1"_s << QByteArray("/z") << u"http://a:8080/z"_s;
        QTest::newRow("relative to directory")
            << u"http://a/x/y?q=1"_s << QByteArray("z.txt") << u"http://a/x/z.txt"_s;
        QTest::newRow("query only")
            << u"http://a/x/y?q=1"_s << QByteArray("?q=2") << u"http://a/x/y?q=2"_s;
        QTest::newRow("empty") << u"http://a/x"_s << QByteArray("") << QString();
        QTest::newRow("other scheme") << u"http://a/x"_s << QByteArray("ftp://b/") << QString();
    }
    void redirection()
    {
        QFETCH(QString, base);
        QFETCH(QByteArray, location);
        QFETCH(QString, expected);
        http::Url from, to;
        QString error;
        QVERIFY(http::parseUrl(base, &from, &error));
        QCOMPARE(http::resolveLocation(from, location, &to, &error), !expected.isEmpty());
        if (!expected.isEmpty()) QCOMPARE(to.toString(), expected);
    }

    void redirectionCodes()
    {
        for (int code : {301, 302, 303, 307, 308})
            QVERIFY2(http::isRedirection(code), qPrintable(QString::number(code)));
        for (int code : {200, 300, 304, 305, 400})
            QVERIFY2(!http::isRedirection(code), qPrintable(QString::number(code)));
    }

    // Each reply is fed whole, byte by byte and in pieces of 3, 5, 7... bytes,
    // then the connection ends: the outcome is the same.
    void replyReader_data()
    {
        using Next = http::ReplyReader::Next;
        QTest::addColumn<qsizetype>("piece"); // 0: whole; -1: growing odd pieces
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<Next>("next");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("errorStatus");
        QTest::addColumn<QString>("said"); // the error, or where a redirection leads
        const auto row = [](const char *name, const QByteArray &reply, Next next,
                            const QByteArray &body, int status, const QString &said) {
            for (const auto &[piece, how] : {std::pair{0, "whole"}, {1, "bytes"}, {-1, "pieces"}})
                QTest::addRow("%s, %s", name, how)
                    << qsizetype(piece) << reply << next << body << status << said;
        };
        const QByteArray ok = "HTTP/1.0 200 OK\r\n";
        const QString incorrect = u"Réponse incorrecte du serveur"_s;
        row("bytes past the length dropped", ok + "Content-Length: 3\r\n\r\nabcdef", Next::Done,
            "abc", 0, {});
        row("no length: ended by closing", "HTTP/1.0 200 OK\n\nab\r\n\ncd", Next::Done,
            "ab\r\n\ncd", 0, {});
        row("204 brings no body", "HTTP/1.0 204 No Content\r\n\r\nxyz", Next::Done, {}, 0, {});
        row("cut short", ok + "Content-Length: 100\r\n\r\n0123456789", Next::Fail, "0123456789", 0,
            u"Transfert incomplet : 10 octets reçus sur 100"_s);
        row("404", "HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nNot here.", Next::Fail, {},
            404, u"Not Found"_s);
        row("redirection", "HTTP/1.0 302 Found\r\nLocation: c.txt\r\n\r\nmoved", Next::Redirect, {},
            0, u"http://h/d/c.txt"_s);
        row("chunks refused", ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nabc", Next::Fail, {}, 0,
            incorrect + u" : codage de transfert non pris en charge (chunked)"_s);
        row("lengths that differ", ok + "Content-Length: 3, 4\r\n\r\nabcd", Next::Fail, {}, 0,
            incorrect + u" : longueur du contenu incorrecte (3, 4)"_s);
        // A head of exactly 64 KiB, then one byte more.
        const QByteArray filler =
            "X: " + QByteArray(http::ReplyReader::kMaxHead - ok.size() - 7, 'a') + "\r\n\r\nb";
        row("head at its limit", ok + filler, Next::Done, "b", 0, {});
        row("head too long", ok + 'X' + filler, Next::Fail, {}, 0,
            incorrect + u" : en-tête trop long"_s);
        row("closed without a reply", {}, Next::Fail, {}, 0,
            u"Le serveur a fermé la connexion sans répondre"_s);
        row("head cut short", ok + "Content-Length: 3\r\n", Next::Fail, {}, 0, incorrect);
    }
    void replyReader()
    {
        QFETCH(qsizetype, piece);
        QFETCH(QByteArray, reply);
        http::Url asked;
        QString error;
        QVERIFY(http::parseUrl(u"http://h/d/a.txt"_s, &asked, &error));
        http::ReplyReader reader(asked);
        QByteArray body;
        for (qsizetype at = 0, odd = 3; at < reply.size(); odd += 2) {
            const qsizetype n = piece == 0 ? reply.size() : piece > 0 ? piece : odd;
            body += reader.feed(QByteArrayView(reply).sliced(at, qMin(n, reply.size() - at))).body;
            at += n;
        }
        QTEST(reader.finish().next, "next");
        QTEST(body, "body");
        QTEST(reader.errorStatus(), "errorStatus");
        QTEST(reader.location().host.isEmpty() ? reader.error() : reader.location().toString(),
              "said");
    }
};

QTEST_GUILESS_MAIN(TestHttpFraming)
#include "tst_httpframing.moc"

// https for real, straight to a server on 127.0.0.1 or through a proxy there:
// refused under a certificate not trusted, fetched under a trusted one, and
// never in clear.
#include "net/HttpClient.h"
#include "scriptedserver.h"
#include "tlsserver.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;

class TestHttps : public QObject
{
    Q_OBJECT

    QSslCertificate m_cert;
    QSslKey m_key;

private slots:
    void initTestCase()
    {
        if (!QSslSocket::supportsSsl()) QSKIP("no TLS on this system");
        std::tie(m_cert, m_key) = makeCertificate();
        QVERIFY2(!m_cert.isNull() && !m_key.isNull(), "openssl made no certificate");
    }

    void https_data()
    {
        QTest::addColumn<QString>("proxy"); // "", "tunnel", or a proxy's scripted reply
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<QString>("error"); // its beginning
        const QString refused = u"Connexion sécurisée refusée : "_s;
        QTest::newRow("straight, untrusted") << QString() << false << refused;
        QTest::newRow("straight, trusted") << QString() << true << QString();
        QTest::newRow("tunnel, untrusted") << u"tunnel"_s << false << refused;
        QTest::newRow("tunnel, trusted") << u"tunnel"_s << true << QString();
        QTest::newRow("proxy refusing")
            << u"HTTP/1.0 403 Forbidden\r\n\r\n"_s << true
            << u"Le proxy refuse la connexion vers https://cours.test/cours.txt : 403 Forbidden"_s;
        QTest::newRow("proxy answering in clear")
            << u"HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nclear"_s << true
            << u"Réponse incorrecte du proxy"_s;
    }
    void https()
    {
        QFETCH(QString, proxy);
        QFETCH(bool, trusted);
        QFETCH(QString, error);
        TlsServer server(m_cert, m_key, "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\ncours",
                         proxy == u"tunnel"_s);
        ScriptedServer scripted;
        scripted.replies = {{proxy.toLatin1()}};
        HttpClient client;
        if (proxy.isEmpty())
            client.setTransportAddress(QHostAddress::LocalHost, server.serverPort());
        else
            client.setProxy(
                u"127.0.0.1"_s,
                QString::number(proxy == u"tunnel"_s ? server.serverPort() : scripted.port()));
        if (trusted) client.setExtraCaCertificates({m_cert});
        client.setHostAddress(u"cours.test"_s, QHostAddress(u"203.0.113.5"_s));
        client.setUrl(u"https://cours.test/cours.txt"_s);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        client.setDestination(&out);
        QString said;
        try {
            client.get();
        } catch (const HttpError &e) {
            said = e.message();
        }
        QVERIFY2(error.isEmpty() ? said.isEmpty() : said.startsWith(error), qPrintable(said));
        QCOMPARE(out.data(), error.isEmpty() ? QByteArray("cours") : QByteArray());
        QCOMPARE(server.requests.size(), error.isEmpty() ? 1 : 0);
        if (error.isEmpty()) QVERIFY(server.requests[0].startsWith("GET /cours.txt HTTP/1.0\r\n"));
        // Only a tunnel is ever asked of a proxy.
        const QByteArray connect = "CONNECT cours.test:443 HTTP/1.0\r\nHost: cours.test:443\r\n"
                                   "User-Agent: Mozilla/3.0 (compatible)\r\n\r\n";
        QCOMPARE(server.tunnels + scripted.requests,
                 proxy.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{connect});
    }
};

QTEST_GUILESS_MAIN(TestHttps)
#include "tst_https.moc"

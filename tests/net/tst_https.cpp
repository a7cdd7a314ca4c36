// https for real, straight to a server on 127.0.0.1 or through a proxy there:
// refused under a certificate not trusted, fetched under a trusted one, and
// never in clear.
#include "net/HttpClient.h"
#include "scriptedserver.h"

#include <QBuffer>
#include <QProcess>
#include <QSslKey>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Answers each whole request with its reply over TLS, under a certificate
// for "cours.test". As a proxy too when `tunnel`: "CONNECT" gets 200, then
// TLS runs on the same connection.
class TlsServer : public QTcpServer
{
public:
    TlsServer(const QSslCertificate &cert, const QSslKey &key, bool tunnel)
        : m_cert(cert), m_key(key), m_tunnel(tunnel)
    {
        listen(QHostAddress::LocalHost);
    }
    QList<QByteArray> tunnels, requests;

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *s = new QSslSocket(this);
        s->setSocketDescriptor(descriptor);
        s->setLocalCertificate(m_cert);
        s->setPrivateKey(m_key);
        connect(s, &QSslSocket::readyRead, this, [this, s] {
            QByteArray &pending = m_pending[s];
            if (!(pending += s->readAll()).contains("\r\n\r\n")) return;
            if (!s->isEncrypted()) {
                tunnels.append(std::exchange(pending, {}));
                s->write("HTTP/1.0 200 Connection established\r\n\r\n");
                return s->startServerEncryption();
            }
            requests.append(pending);
            s->write("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\ncours");
            s->disconnectFromHost();
        });
        if (!m_tunnel) s->startServerEncryption();
    }

private:
    QSslCertificate m_cert;
    QSslKey m_key;
    bool m_tunnel;
    QHash<QSslSocket *, QByteArray> m_pending;
};

class TestHttps : public QObject
{
    Q_OBJECT

    QSslCertificate m_cert;
    QSslKey m_key;

private slots:
    // A self-signed certificate for "cours.test", made for the run.
    void initTestCase()
    {
        if (!QSslSocket::supportsSsl()) QSKIP("no TLS on this system");
        QTemporaryDir dir;
        QProcess openssl;
        openssl.start(u"openssl"_s,
                      u"req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 "
                      "-nodes -days 2 -subj /CN=cours.test -addext subjectAltName="
                      "DNS:cours.test -keyout %1/key.pem -out %1/cert.pem"_s.arg(dir.path())
                          .split(u' '));
        QVERIFY(openssl.waitForFinished(60000) && openssl.exitCode() == 0);
        QFile cert(dir.filePath(u"cert.pem"_s)), key(dir.filePath(u"key.pem"_s));
        QVERIFY(cert.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly));
        m_cert = QSslCertificate(cert.readAll());
        m_key = QSslKey(key.readAll(), QSsl::Ec);
        QVERIFY(!m_cert.isNull() && !m_key.isNull());
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
        TlsServer server(m_cert, m_key, proxy == u"tunnel"_s);
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

#pragma once

// An https server on 127.0.0.1 for the tests of the download, that may be
// its own proxy: it answers each whole request with its reply over TLS,
// under a certificate for "cours.test" made for the run by openssl.

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>

// Null when openssl fails.
inline std::pair<QSslCertificate, QSslKey> makeCertificate()
{
    QTemporaryDir dir;
    QProcess openssl;
    openssl.start(
        QStringLiteral("openssl"),
        QStringLiteral("req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 "
                       "-nodes -days 2 -subj /CN=cours.test -addext "
                       "subjectAltName=DNS:cours.test -keyout %1/key.pem -out %1/cert.pem")
            .arg(dir.path())
            .split(QLatin1Char(' ')));
    QFile cert(dir.filePath(QStringLiteral("cert.pem"))),
        key(dir.filePath(QStringLiteral("key.pem")));
    if (!openssl.waitForFinished(60000) || !cert.open(QIODevice::ReadOnly) ||
        !key.open(QIODevice::ReadOnly))
        return {QSslCertificate(), QSslKey()};
    return {QSslCertificate(cert.readAll()), QSslKey(key.readAll(), QSsl::Ec)};
}

class TlsServer : public QTcpServer
{
public:
    // As a proxy too when `tunnel`: "CONNECT" gets 200, then TLS runs on.
    TlsServer(QSslCertificate cert, QSslKey key, QByteArray reply, bool tunnel)
        : m_cert(std::move(cert)), m_key(std::move(key)), m_reply(std::move(reply)),
          m_tunnel(tunnel)
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
            s->write(m_reply);
            s->disconnectFromHost();
        });
        if (!m_tunnel) s->startServerEncryption();
    }

private:
    QSslCertificate m_cert;
    QSslKey m_key;
    QByteArray m_reply;
    bool m_tunnel;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

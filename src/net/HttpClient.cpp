#include "net/HttpClient.h"

#include <QEventLoop>
#include <QIODevice>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <optional>

namespace
{

const QString kSilent = QStringLiteral("Le serveur ne répond plus");

const QString kCantResolve = QStringLiteral("can't resolve hostname to IP address");
const QString kCantConnect = QStringLiteral("can't connect: ");
const QString kConnectTimeout = QStringLiteral("délai de connexion dépassé");

} // namespace

HttpError::HttpError(int status, QString reason, bool aborted)
    : m_status(status), m_reason(std::move(reason)), m_aborted(aborted), m_kind(Kind::Other),
      m_utf8(message().toUtf8())
{
    if (m_status == 404 && m_reason == kCantResolve)
        m_kind = Kind::HostNotFound;
    else if (m_status == 404 && m_reason.startsWith(kCantConnect))
        m_kind =
            m_reason.endsWith(kConnectTimeout) ? Kind::ConnectionTimeout : Kind::ConnectionRefused;
    else if (m_status > 0)
        m_kind = Kind::Status;
}

QString HttpError::message() const
{
    return m_status > 0 ? QString::number(m_status) + QLatin1Char(' ') + m_reason : m_reason;
}

// The state of one request on the wire.
struct HttpClient::Run {
    QEventLoop loop;
    bool done = false;
    bool connected = false;
    std::optional<HttpError> error;
    void fail(const HttpError &e)
    {
        if (done) return;
        error = e;
        done = true;
        loop.quit();
    }
    void succeed()
    {
        if (done) return;
        done = true;
        loop.quit();
    }
};

HttpClient::HttpClient(QObject *parent) : QObject(parent) {}

HttpClient::~HttpClient()
{
    abort();
}

void HttpClient::abort()
{
    if (m_run) m_run->fail(HttpError(0, QStringLiteral("Transfert interrompu"), true));
}

void HttpClient::get()
{
    if (m_run) throw HttpError(0, QStringLiteral("Un transfert est déjà en cours"));
    m_status = 0;
    m_reason.clear();
    m_bytes = 0;
    http::Url url;
    QString error;
    if (!http::parseUrl(m_url, &url, &error)) throw HttpError(0, error);
    for (int redirections = 0;; ++redirections) {
        const Hop hop = fetch(url);
        if (!hop.redirected) return;
        if (redirections == kMaxRedirections)
            throw HttpError(
                0, QStringLiteral("Trop de redirections (plus de %1)").arg(kMaxRedirections));
        url = hop.next;
    }
}

HttpClient::Hop HttpClient::fetch(const http::Url &url)
{
    Run run;
    Hop hop;
    m_run = &run;
    m_status = 0;
    m_reason.clear();
    m_bytes = 0;

    std::unique_ptr<QTcpSocket> socket;
    if (url.secure) {
        if (!QSslSocket::supportsSsl()) {
            m_run = nullptr;
            throw HttpError(0, QStringLiteral("Les adresses https ne sont pas prises en charge "
                                              "sur ce système"));
        }
        socket = std::make_unique<QSslSocket>();
    } else {
        socket = std::make_unique<QTcpSocket>();
    }
    QTimer stall;
    stall.setSingleShot(true);
    stall.setInterval(m_stallMs);
    // The head must come whole within the same time, however it trickles.
    QTimer headTimer;
    headTimer.setSingleShot(true);
    headTimer.setInterval(m_stallMs);

    http::ReplyReader reader(url);
    QString sslProblems;

    const bool viaProxy = !m_proxyName.isEmpty();
    const QByteArray request = http::buildRequest(url, m_userAgent, m_accept, m_noCache, viaProxy);

    // Writes the body's bytes a step hands back, then does what it says.
    auto act = [&](const http::ReplyReader::Step &step) {
        m_status = reader.status();
        m_reason = reader.reason();
        if (reader.headRead()) headTimer.stop();
        if (!step.body.isEmpty()) {
            if (!m_destination || m_destination->write(step.body) != step.body.size()) {
                run.fail(HttpError(0, QStringLiteral("Erreur d'écriture du fichier reçu")));
                return;
            }
            m_bytes += step.body.size();
            emit progress(m_bytes);
        }
        switch (step.next) {
        case http::ReplyReader::Next::More:
            break;
        case http::ReplyReader::Next::Done:
            run.succeed();
            break;
        case http::ReplyReader::Next::Redirect:
            hop.redirected = true;
            hop.next = reader.location();
            run.succeed();
            break;
        case http::ReplyReader::Next::Fail:
            run.fail(HttpError(reader.errorStatus(), reader.error()));
            break;
        }
    };

    QObject context;
    QObject::connect(socket.get(), &QTcpSocket::readyRead, &context, [&] {
        if (run.done) return;
        stall.start();
        act(reader.feed(socket->readAll()));
    });
    QObject::connect(socket.get(), &QTcpSocket::disconnected, &context, [&] {
        if (run.done) return;
        // Bytes still waiting in the socket's buffer come first.
        if (socket->bytesAvailable() > 0) {
            act(reader.feed(socket->readAll()));
            if (run.done) return;
        }
        act(reader.finish());
    });
    QObject::connect(
        socket.get(), &QTcpSocket::errorOccurred, &context, [&](QAbstractSocket::SocketError e) {
            if (run.done) return;
            // The end of the body of an HTTP/1.0 reply.
            if (e == QAbstractSocket::RemoteHostClosedError && run.connected) return;
            if (e == QAbstractSocket::HostNotFoundError)
                run.fail(HttpError(404, kCantResolve));
            else if (e == QAbstractSocket::SslHandshakeFailedError)
                run.fail(HttpError(
                    0, QStringLiteral("Connexion sécurisée refusée : ") +
                           (sslProblems.isEmpty() ? socket->errorString() : sslProblems)));
            else if (!run.connected)
                run.fail(HttpError(404, kCantConnect + socket->errorString()));
            else
                run.fail(HttpError(0, QStringLiteral("La connexion avec le serveur a été coupée")));
        });
    QObject::connect(&stall, &QTimer::timeout, &context, [&] {
        if (!run.connected)
            run.fail(HttpError(404, kCantConnect + QStringLiteral("délai de connexion dépassé")));
        else
            run.fail(HttpError(0, kSilent));
    });
    QObject::connect(&headTimer, &QTimer::timeout, &context,
                     [&] { run.fail(HttpError(0, kSilent)); });

    auto sendRequest = [&] {
        if (run.done) return;
        run.connected = true;
        stall.start();
        headTimer.start();
        socket->write(request);
    };
    const QString host = viaProxy ? m_proxyName : url.host;
    const quint16 port = viaProxy ? quint16(m_proxyPort.toUInt()) : quint16(url.port);
    if (url.secure && !viaProxy) {
        auto *ssl = static_cast<QSslSocket *>(socket.get());
        QObject::connect(ssl, &QSslSocket::sslErrors, &context,
                         [&](const QList<QSslError> &errors) {
                             QStringList texts;
                             for (const QSslError &e : errors)
                                 texts.append(e.errorString());
                             sslProblems = texts.join(QStringLiteral(", "));
                         });
        QObject::connect(ssl, &QSslSocket::encrypted, &context, sendRequest);
        ssl->connectToHostEncrypted(host, port);
    } else {
        QObject::connect(socket.get(), &QTcpSocket::connected, &context, sendRequest);
        socket->connectToHost(host, port);
    }
    stall.start();
    if (!run.done) run.loop.exec();
    stall.stop();
    headTimer.stop();
    // No signal of the socket reaches this run any more.
    QObject::disconnect(socket.get(), nullptr, &context, nullptr);
    socket->abort();
    m_run = nullptr;
    if (run.error) throw *run.error;
    return hop;
}

#include "net/HttpClient.h"

#include <QEventLoop>
#include <QHostInfo>
#include <QIODevice>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
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
    const bool viaProxy = !m_proxyName.isEmpty();
    // The reply before came from a server outside this machine and its network.
    bool fromOutside = false;
    for (int redirections = 0;; ++redirections) {
        // Through a proxy the proxy resolves the name; it is looked up here
        // only to judge a redirection.
        QList<QHostAddress> addresses;
        if (!viaProxy || fromOutside) addresses = lookUp(url.host, !viaProxy);
        if (fromOutside && std::any_of(addresses.cbegin(), addresses.cend(), http::isLocalAddress))
            throw HttpError(0, QStringLiteral("Redirection refusée vers une adresse locale : ") +
                                   url.toString());
        const Hop hop = fetch(url, addresses);
        if (!hop.redirected) return;
        if (redirections == kMaxRedirections)
            throw HttpError(
                0, QStringLiteral("Trop de redirections (plus de %1)").arg(kMaxRedirections));
        if (viaProxy && !fromOutside) addresses = lookUp(url.host, false);
        // A name unknown here counts as outside.
        fromOutside = addresses.isEmpty() ||
                      !std::all_of(addresses.cbegin(), addresses.cend(), http::isLocalAddress);
        url = hop.next;
    }
}

QList<QHostAddress> HttpClient::lookUp(const QString &host, bool required)
{
    if (const auto it = m_hosts.constFind(host.toLower()); it != m_hosts.cend()) return {*it};
    if (QHostAddress literal; literal.setAddress(host)) return {literal};
    Run run;
    m_run = &run;
    QList<QHostAddress> found;
    QObject context;
    QTimer stall;
    stall.setSingleShot(true);
    QObject::connect(&stall, &QTimer::timeout, &context,
                     [&] { run.fail(HttpError(404, kCantResolve)); });
    const int id = QHostInfo::lookupHost(host, &context, [&](const QHostInfo &info) {
        found = info.addresses();
        run.succeed();
    });
    stall.start(m_stallMs);
    if (!run.done) run.loop.exec();
    QHostInfo::abortHostLookup(id);
    m_run = nullptr;
    if (run.error && (run.error->aborted() || required)) throw *run.error;
    if (found.isEmpty() && required) throw HttpError(404, kCantResolve);
    return found;
}

HttpClient::Hop HttpClient::fetch(const http::Url &url, const QList<QHostAddress> &addresses)
{
    Run run;
    Hop hop;
    m_run = &run;
    m_status = 0;
    m_reason.clear();
    m_bytes = 0;

    const bool viaProxy = !m_proxyName.isEmpty();
    std::unique_ptr<QTcpSocket> socket;
    QSslSocket *ssl = nullptr;
    if (url.secure) {
        if (!QSslSocket::supportsSsl()) {
            m_run = nullptr;
            throw HttpError(0, QStringLiteral("Les adresses https ne sont pas prises en charge "
                                              "sur ce système"));
        }
        socket = std::make_unique<QSslSocket>();
        ssl = static_cast<QSslSocket *>(socket.get());
        // The server's certificate must name the server, whatever address
        // or tunnel leads to it.
        QSslConfiguration conf = ssl->sslConfiguration();
        if (!m_extraCa.isEmpty()) conf.addCaCertificates(m_extraCa);
        ssl->setSslConfiguration(conf);
        ssl->setPeerVerifyName(url.host);
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

    // Through a proxy, https first asks for a tunnel; the reply to that
    // request is read here, the server's by the reader.
    enum class Phase { Connecting, Tunnel, Handshake, Reply } phase = Phase::Connecting;
    QByteArray tunnelHead;
    const QByteArray request =
        http::buildRequest(url, m_userAgent, m_accept, m_noCache, viaProxy && !url.secure);

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

    auto sendRequest = [&] {
        if (run.done) return;
        phase = Phase::Reply;
        run.connected = true;
        stall.start();
        headTimer.start();
        socket->write(request);
    };
    auto startTls = [&] {
        phase = Phase::Handshake;
        headTimer.stop();
        ssl->startClientEncryption();
    };
    // The proxy's answer to CONNECT: 2xx and nothing after the head opens
    // the tunnel.
    auto readTunnel = [&] {
        tunnelHead += socket->readAll();
        const qsizetype end = http::headEnd(tunnelHead);
        const QString badReply = QStringLiteral("Réponse incorrecte du proxy");
        if (end < 0) {
            if (tunnelHead.size() > http::ReplyReader::kMaxHead) run.fail(HttpError(0, badReply));
            return;
        }
        int status = 0;
        QByteArray reason;
        if (!http::parseStatusLine(tunnelHead.left(tunnelHead.indexOf('\n')), &status, &reason))
            run.fail(HttpError(0, badReply));
        else if (status < 200 || status > 299)
            run.fail(HttpError(0, QStringLiteral("Le proxy refuse la connexion vers %1 : %2 %3")
                                      .arg(url.toString())
                                      .arg(status)
                                      .arg(QString::fromLatin1(reason))));
        else if (end != tunnelHead.size())
            run.fail(HttpError(0, badReply)); // the server speaks first only in clear
        else
            startTls();
    };

    QObject context;
    QObject::connect(socket.get(), &QTcpSocket::readyRead, &context, [&] {
        if (run.done) return;
        stall.start();
        if (phase == Phase::Tunnel)
            readTunnel();
        else if (phase == Phase::Reply)
            act(reader.feed(socket->readAll()));
    });
    QObject::connect(socket.get(), &QTcpSocket::disconnected, &context, [&] {
        if (run.done) return;
        if (phase == Phase::Tunnel) {
            run.fail(HttpError(0, QStringLiteral("Le proxy a fermé la connexion")));
            return;
        }
        // Bytes still waiting in the socket's buffer come first.
        if (socket->bytesAvailable() > 0) {
            act(reader.feed(socket->readAll()));
            if (run.done) return;
        }
        act(reader.finish());
    });

    // The server's addresses in turn (or the transport's, or the proxy).
    qsizetype nextAddress = 0;
    auto connectNext = [&] {
        if (viaProxy)
            socket->connectToHost(m_proxyName, quint16(m_proxyPort.toUInt()));
        else if (!m_transport.isNull())
            socket->connectToHost(m_transport, m_transportPort);
        else
            socket->connectToHost(addresses.at(nextAddress++), quint16(url.port));
    };
    QObject::connect(
        socket.get(), &QTcpSocket::errorOccurred, &context, [&](QAbstractSocket::SocketError e) {
            if (run.done) return;
            // The end of the body of an HTTP/1.0 reply, or of a tunnel.
            if (e == QAbstractSocket::RemoteHostClosedError &&
                (run.connected || phase == Phase::Tunnel))
                return;
            if (phase == Phase::Connecting && !viaProxy && m_transport.isNull() &&
                nextAddress < addresses.size()) {
                QTimer::singleShot(0, &context, [&] {
                    socket->abort();
                    connectNext();
                });
                return;
            }
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

    QObject::connect(socket.get(), &QTcpSocket::connected, &context, [&] {
        if (run.done) return;
        if (!url.secure) {
            sendRequest();
        } else if (viaProxy) {
            phase = Phase::Tunnel;
            headTimer.start(); // the proxy's head too comes whole in time
            socket->write(http::buildConnect(url, m_userAgent));
        } else {
            startTls();
        }
    });
    if (ssl) {
        QObject::connect(ssl, &QSslSocket::sslErrors, &context,
                         [&](const QList<QSslError> &errors) {
                             QStringList texts;
                             for (const QSslError &e : errors)
                                 texts.append(e.errorString());
                             sslProblems = texts.join(QStringLiteral(", "));
                         });
        QObject::connect(ssl, &QSslSocket::encrypted, &context, sendRequest);
    }
    if (!viaProxy && m_transport.isNull() && addresses.isEmpty()) {
        m_run = nullptr;
        throw HttpError(404, kCantResolve);
    }
    connectNext();
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

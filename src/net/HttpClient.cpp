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

// A head longer than this is not an HTTP reply.
constexpr qsizetype kMaxHead = 64 * 1024;

const QString kIncorrect = QStringLiteral("Réponse incorrecte du serveur");
const QString kSilent = QStringLiteral("Le serveur ne répond plus");

// The body length the head announces: -1 when it announces none, -2 when
// the announcement cannot be trusted (not a whole number, beyond any file,
// or several lengths that differ).
qint64 announcedLength(const http::ResponseHead &head)
{
    qint64 length = -1;
    for (const auto &[name, value] : head.headers) {
        if (name.compare("Content-Length", Qt::CaseInsensitive) != 0) continue;
        for (const QByteArray &part : value.split(',')) {
            const QByteArray digits = part.trimmed();
            if (digits.isEmpty() || digits.size() > 18) return -2;
            for (const char c : digits)
                if (c < '0' || c > '9') return -2;
            const qint64 n = digits.toLongLong();
            if (length >= 0 && n != length) return -2;
            length = n;
        }
    }
    return length;
}

const QString kCantResolve = QStringLiteral("can't resolve hostname to IP address");
const QString kCantConnect = QStringLiteral("can't connect: ");

} // namespace

HttpError::HttpError(int status, QString reason, bool aborted)
    : m_status(status), m_reason(std::move(reason)), m_aborted(aborted), m_utf8(message().toUtf8())
{
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

    QByteArray head;
    bool headDone = false;
    qint64 expected = -1;
    QString sslProblems;

    const bool viaProxy = !m_proxyName.isEmpty();
    const QByteArray request = http::buildRequest(url, m_userAgent, m_accept, m_noCache, viaProxy);

    auto writeBody = [&](const QByteArray &bytes) {
        QByteArray part = bytes;
        if (expected >= 0 && m_bytes + part.size() > expected) part.truncate(expected - m_bytes);
        if (!part.isEmpty()) {
            if (!m_destination || m_destination->write(part) != part.size()) {
                run.fail(HttpError(0, QStringLiteral("Erreur d'écriture du fichier reçu")));
                return;
            }
            m_bytes += part.size();
            emit progress(m_bytes);
        }
        if (expected >= 0 && m_bytes >= expected) run.succeed();
    };

    auto onHead = [&]() {
        const qsizetype end = http::headEnd(head);
        if (end > kMaxHead || (end < 0 && head.size() > kMaxHead)) {
            run.fail(HttpError(0, kIncorrect + QStringLiteral(" : en-tête trop long")));
            return;
        }
        if (end < 0) return;
        http::ResponseHead h;
        if (!http::parseHead(head.left(end), &h) || h.status < 100) {
            run.fail(HttpError(0, kIncorrect));
            return;
        }
        headDone = true;
        headTimer.stop();
        m_status = h.status;
        m_reason = h.reason;
        const bool success = h.status >= 200 && h.status < 300;
        if (h.status >= 400 || (!success && !http::isRedirection(h.status))) {
            // The body of an error is not wanted: the connection is closed.
            // Nor is a reply that brings no file (1xx, 300, 304...).
            run.fail(HttpError(h.status, QString::fromLatin1(h.reason)));
            return;
        }
        if (http::isRedirection(h.status)) {
            QString error;
            if (!http::resolveLocation(url, h.header("Location"), &hop.next, &error)) {
                run.fail(HttpError(0, error));
                return;
            }
            hop.redirected = true;
            run.succeed();
            return;
        }
        if (const QByteArray coding = h.header("Transfer-Encoding").trimmed();
            h.hasHeader("Transfer-Encoding") && coding.compare("identity", Qt::CaseInsensitive)) {
            // An HTTP/1.0 reply has no chunks: written as they come, their
            // framing would corrupt the file.
            run.fail(HttpError(
                0, kIncorrect + QStringLiteral(" : codage de transfert non pris en charge (") +
                       QString::fromLatin1(coding.left(40)) + QLatin1Char(')')));
            return;
        }
        expected = announcedLength(h);
        if (expected == -2) {
            run.fail(HttpError(0, kIncorrect +
                                      QStringLiteral(" : longueur du contenu incorrecte (") +
                                      QString::fromLatin1(h.header("Content-Length").left(40)) +
                                      QLatin1Char(')')));
            return;
        }
        // These replies have no body, whatever follows the head.
        if (h.status == 204 || h.status == 205) expected = 0;
        const QByteArray rest = head.mid(end);
        head.clear();
        writeBody(rest);
    };

    QObject context;
    QObject::connect(socket.get(), &QTcpSocket::readyRead, &context, [&] {
        if (run.done) return;
        stall.start();
        const QByteArray bytes = socket->readAll();
        if (headDone) {
            writeBody(bytes);
        } else {
            head += bytes;
            onHead();
        }
    });
    QObject::connect(socket.get(), &QTcpSocket::disconnected, &context, [&] {
        if (run.done) return;
        // Bytes still waiting in the socket's buffer come first.
        if (socket->bytesAvailable() > 0) {
            const QByteArray bytes = socket->readAll();
            if (headDone) {
                writeBody(bytes);
            } else {
                head += bytes;
                onHead();
            }
            if (run.done) return;
        }
        if (!headDone && head.isEmpty())
            run.fail(HttpError(0, QStringLiteral("Le serveur a fermé la connexion sans répondre")));
        else if (!headDone)
            run.fail(HttpError(0, kIncorrect));
        else if (expected >= 0 && m_bytes < expected)
            run.fail(HttpError(0, QStringLiteral("Transfert incomplet : %1 octets reçus sur %2")
                                      .arg(m_bytes)
                                      .arg(expected)));
        else
            run.succeed();
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

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>

// The wire side of the HTTP/1.0 client, without sockets: reading an address,
// building the request, reading the reply as its bytes come.
namespace http
{

// An address split for a request.
struct Url {
    bool secure = false; // https
    QString host;        // as typed, without brackets for IPv6
    int port = 80;
    bool portNamed = false; // the address names its port
    QByteArray target;      // path and query, percent-encoded; "/" when empty
    // "host" or "host:port" as the "Host" line carries it.
    QByteArray hostHeader() const;
    // The address back as text (for a redirection's base and the messages).
    QString toString() const;
};

// Reads an absolute address "http://host[:port][/path][?query]" (or https;
// an address without a scheme is taken as http). False, with the reason in
// `error`, for a text holding control characters, another scheme, no host or
// a bad port: such an address must never reach the wire.
bool parseUrl(const QString &text, Url *url, QString *error);

// The request, byte for byte: the request line, "Accept", "User-Agent",
// "Host" (and "Pragma: no-cache" when asked), then an empty line. Through a
// proxy the request line carries the whole address.
QByteArray buildRequest(const Url &url, const QByteArray &userAgent, const QByteArray &accept,
                        bool noCache = false, bool viaProxy = false);

// The request that asks a proxy for a tunnel to the server of an https
// address, byte for byte: "CONNECT host:port HTTP/1.0", "Host" (the same
// "host:port"), "User-Agent", then an empty line. TLS then runs in the tunnel.
QByteArray buildConnect(const Url &url, const QByteArray &userAgent);

// An address of this machine or of its local network: loopback (127/8, ::1),
// private (10/8, 172.16/12, 192.168/16, fc00::/7), link-local (169.254/16,
// fe80::/10) or "this host" (0/8, ::). An IPv4 address written as IPv6
// (::ffff:a.b.c.d) is judged as itself. A server outside may not redirect
// the client to one of them.
bool isLocalAddress(const QHostAddress &address);

// The head of a reply: status line and header lines.
struct ResponseHead {
    int status = 0;
    QByteArray reason;
    QList<QPair<QByteArray, QByteArray>> headers; // names as received
    // The value of the first header of that name (case-insensitive); empty
    // when absent.
    QByteArray header(const QByteArray &name) const;
    bool hasHeader(const QByteArray &name) const;
    // "Content-Length" when present and a whole number; -1 otherwise.
    qint64 contentLength() const;
};

// Where the head ends in the bytes received so far: the position just after
// the empty line (CR LF CR LF, or LF LF from careless servers); -1 while it
// has not come.
qsizetype headEnd(const QByteArray &bytes);

// Reads "HTTP/1.x code reason". False for anything else.
bool parseStatusLine(const QByteArray &line, int *status, QByteArray *reason);

// Reads the head (status line and header lines, up to the empty line).
// False when the status line is not one.
bool parseHead(const QByteArray &head, ResponseHead *out);

// True for the codes a client follows with the "Location" header.
bool isRedirection(int status);

// Resolves a "Location" value against the address it came from: an absolute
// address, "//host/path", "/path" or a path relative to the base's directory.
// False when the result is not an address we can fetch: another scheme
// ("ftp:", "file:", "javascript:"...), or a plain http address reached from
// an https one.
bool resolveLocation(const Url &base, const QByteArray &location, Url *next, QString *error);

// One reply read as its bytes come, in whatever pieces: the head (64 KiB at
// most), what it brings (a file, a redirection or a failure) and the body up
// to the length it announces. The client feeds it what the socket gives,
// writes the body bytes each step hands back, then acts on the step's `next`.
// Once the reply has ended, more bytes are ignored and the same end is given
// again.
class ReplyReader
{
public:
    // A head longer than this is not an HTTP reply.
    static constexpr qsizetype kMaxHead = 64 * 1024;

    enum class Next {
        More,     // the reply goes on
        Done,     // the reply is whole
        Redirect, // the file is at location()
        Fail,     // errorStatus() and error() say why
    };
    struct Step {
        QByteArray body; // the body's next bytes, written before acting on `next`
        Next next = Next::More;
    };

    // `asked` is the address the request went to: a relative "Location"
    // is resolved against it.
    explicit ReplyReader(Url asked) : m_asked(std::move(asked)) {}

    Step feed(QByteArrayView bytes);
    // The server has closed the connection: the reply is whole, or was cut
    // short.
    Step finish();

    // The status line and headers have been read (status() is then known).
    bool headRead() const { return m_headRead; }
    // Of the head; 0 and empty until it is read.
    int status() const { return m_status; }
    const QByteArray &reason() const { return m_reason; }
    // The body's announced length; -1 when there is none (or no head yet).
    qint64 length() const { return m_length; }
    // The body's bytes handed back so far.
    qint64 bodyBytes() const { return m_bodyBytes; }
    const Url &location() const { return m_location; }
    // Why the reply failed: the reply's own status and reason for one that
    // brings no file, status 0 and a French message for anything else.
    int errorStatus() const { return m_errorStatus; }
    const QString &error() const { return m_error; }

private:
    Step readHead(qsizetype end);
    Step takeBody(QByteArrayView bytes);
    Step fail(int status, const QString &reason);

    Url m_asked;
    QByteArray m_head;
    bool m_headRead = false;
    int m_status = 0;
    QByteArray m_reason;
    qint64 m_length = -1;
    qint64 m_bodyBytes = 0;
    Url m_location;
    int m_errorStatus = 0;
    QString m_error;
    Next m_end = Next::More;
};

} // namespace http

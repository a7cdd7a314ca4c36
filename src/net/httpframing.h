#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The wire side of the HTTP/1.0 client, without sockets: reading an address,
// building the request, reading the reply's head and its redirections.
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

} // namespace http

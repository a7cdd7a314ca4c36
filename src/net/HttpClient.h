#pragma once

#include "net/httpframing.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <exception>

class QIODevice;

// A failed request. For a reply of 400 or more, or one that brings no file
// and is not a redirection (1xx, 300, 304...), `status` is its code and
// `reason` its phrase; a name that does not resolve or a connection that
// cannot be made come as 404 too, with the reason "can't resolve hostname to
// IP address" or "can't connect: " and the socket's error. Any other failure
// (bad address, reply cut short, silent server, aborted transfer, too many
// redirections, failed write, a head too long, coming too slowly or that
// cannot be trusted) has status 0 and says why in `reason`.
class HttpError : public std::exception
{
public:
    // What failed, for a caller that words it its own way.
    enum class Kind {
        Status,            // the server answered with `status`
        HostNotFound,      // the name does not resolve
        ConnectionRefused, // no connection could be made
        ConnectionTimeout, // the connection was not made in time
        Other,             // status 0: `reason` says why
    };

    HttpError(int status, QString reason, bool aborted = false);
    Kind kind() const { return m_kind; }
    int status() const { return m_status; }
    const QString &reason() const { return m_reason; }
    bool aborted() const { return m_aborted; }
    // "404 Not Found", or the reason alone when there is no status.
    QString message() const;
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    int m_status;
    QString m_reason;
    bool m_aborted;
    Kind m_kind;
    QByteArray m_utf8;
};

// The HTTP/1.0 client of the download: one GET at a time over a TCP socket
// (TLS for https, with the system's certificate checks), asynchronous inside,
// waited for with an event loop so that windows stay live. The body goes to
// the destination device as it arrives; the caller creates and closes it.
// Redirections are followed here, at most five, to http or https only and
// never from https down to http. The head of a reply may hold 64 KiB at
// most and must come whole within the stall limit.
class HttpClient : public QObject
{
    Q_OBJECT
public:
    explicit HttpClient(QObject *parent = nullptr);
    ~HttpClient() override;

    void setUrl(const QString &url) { m_url = url; }
    QString url() const { return m_url; }
    // No proxy while the name is empty.
    void setProxy(const QString &name, const QString &port)
    {
        m_proxyName = name;
        m_proxyPort = port;
    }
    void setUserAgent(const QByteArray &agent) { m_userAgent = agent; }
    void setAccept(const QByteArray &types) { m_accept = types; }
    void setNoCache(bool noCache) { m_noCache = noCache; }
    void setDestination(QIODevice *device) { m_destination = device; }
    QIODevice *destination() const { return m_destination; }
    // How long the server may stay silent before the transfer fails; the
    // head of each reply must also come whole within it.
    void setStallTimeout(int ms) { m_stallMs = ms; }

    static constexpr int kMaxRedirections = 5;

    // Fetches the address into the destination and returns when the reply is
    // whole. Throws HttpError on any failure; the destination may then hold
    // part of a body.
    void get();
    // Ends the transfer under way: get() throws an aborted HttpError.
    void abort();
    bool isBusy() const { return m_run != nullptr; }

    int statusCode() const { return m_status; }
    QByteArray reasonPhrase() const { return m_reason; }
    qint64 bytesReceived() const { return m_bytes; }

signals:
    // Bytes of the body written so far.
    void progress(qint64 bytes);

private:
    struct Run;
    struct Hop {
        bool redirected = false;
        http::Url next;
    };
    Hop fetch(const http::Url &url);

    QString m_url;
    QString m_proxyName;
    QString m_proxyPort = QStringLiteral("80");
    QByteArray m_userAgent = "Mozilla/3.0 (compatible)";
    QByteArray m_accept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
    bool m_noCache = false;
    QIODevice *m_destination = nullptr;
    int m_stallMs = 30000;

    Run *m_run = nullptr;
    int m_status = 0;
    QByteArray m_reason;
    qint64 m_bytes = 0;
};

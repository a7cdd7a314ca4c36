#pragma once

// A web server on 127.0.0.1 for the tests of the download: each connection
// gets the next scripted reply, once its request is whole.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

class ScriptedServer : public QObject
{
public:
    struct Reply {
        Reply(QByteArray b = {}, bool c = true) : bytes(std::move(b)), close(c) {}
        QByteArray bytes;
        // After the bytes: close the connection, or stay silent and open.
        bool close = true;
        // Then these bytes again and again, every `everyMs` (0: as fast as
        // the client takes them), until the client goes or `limit` bytes
        // have gone; the connection is closed after the last.
        QByteArray repeat;
        int everyMs = 0;
        qint64 limit = 64 * 1024 * 1024;
        // The connection is closed as soon as it is accepted.
        bool hangUp = false;
    };

    ScriptedServer()
    {
        if (!m_server.listen(QHostAddress::LocalHost)) qFatal("cannot listen on 127.0.0.1");
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = m_server.nextPendingConnection()) {
                s->setParent(this);
                if (!replies.isEmpty() && replies.first().hangUp) {
                    replies.removeFirst();
                    s->abort();
                    continue;
                }
                connect(s, &QTcpSocket::readyRead, this, [this, s] { serve(s); });
            }
        });
    }

    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
    }

    QList<Reply> replies;
    // Each request, byte for byte, in order.
    QList<QByteArray> requests;

    static Reply ok(const QByteArray &body, bool withLength = true)
    {
        QByteArray r = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n";
        if (withLength) r += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
        return {r + "\r\n" + body};
    }
    static Reply status(const QByteArray &line)
    {
        return {"HTTP/1.0 " + line + "\r\nContent-Length: 9\r\n\r\nNot here."};
    }
    static Reply moved(const QByteArray &location, const QByteArray &code = "301 Moved Permanently")
    {
        return {"HTTP/1.0 " + code + "\r\nLocation: " + location + "\r\n\r\n"};
    }

private:
    void serve(QTcpSocket *s)
    {
        QByteArray &pending = m_pending[s];
        pending += s->readAll();
        if (!pending.contains("\r\n\r\n")) return;
        requests.append(pending);
        pending.clear();
        if (replies.isEmpty()) {
            s->disconnectFromHost();
            return;
        }
        const Reply r = replies.takeFirst();
        s->write(r.bytes);
        if (!r.repeat.isEmpty())
            feed(s, r);
        else if (r.close)
            s->disconnectFromHost();
    }

    // Writes the reply's repeated bytes on and on.
    void feed(QTcpSocket *s, const Reply &r)
    {
        auto sent = std::make_shared<qint64>(0);
        // Once on each tick, or as much as keeps a little ahead of the client.
        auto more = [s, r, sent] {
            do {
                if (s->state() != QAbstractSocket::ConnectedState) return;
                if (*sent >= r.limit) {
                    s->disconnectFromHost();
                    return;
                }
                s->write(r.repeat);
                *sent += r.repeat.size();
            } while (r.everyMs == 0 && s->bytesToWrite() < 256 * 1024);
        };
        if (r.everyMs > 0) {
            auto *timer = new QTimer(s);
            connect(timer, &QTimer::timeout, s, more);
            timer->start(r.everyMs);
        } else {
            connect(s, &QTcpSocket::bytesWritten, s, more);
            more();
        }
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

// A port of 127.0.0.1 where nobody listens.
inline quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

#include "net/httpframing.h"

#include <QUrl>

namespace http
{

namespace
{

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || (c.unicode() >= 0x80 && c.unicode() < 0xA0);
}

// Path and query as they go on the request line: printable ASCII kept (a
// '%' is taken as already encoded), everything else percent-encoded as UTF-8.
QByteArray encodeTarget(const QString &text)
{
    static const QByteArray unsafe = QByteArrayLiteral(" \"<>\\^`{|}");
    QByteArray out;
    const QByteArray utf8 = text.toUtf8();
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c > 0x20 && c < 0x7F && !unsafe.contains(ch)) {
            out.append(ch);
        } else {
            out.append('%');
            out.append(QByteArray::number(c, 16).rightJustified(2, '0').toUpper());
        }
    }
    return out;
}

QByteArray trimmedBytes(const QByteArray &b)
{
    return b.trimmed();
}

// headEnd() for bytes whose first `from` hold no end of head: only what
// follows is searched.
qsizetype headEndFrom(const QByteArray &bytes, qsizetype from)
{
    const qsizetype crlf = bytes.indexOf("\r\n\r\n", from);
    const qsizetype lf = bytes.indexOf("\n\n", from);
    if (crlf >= 0 && (lf < 0 || crlf < lf)) return crlf + 4;
    if (lf >= 0) return lf + 2;
    return -1;
}

} // namespace

QByteArray Url::hostHeader() const
{
    QByteArray h = QUrl::toAce(host);
    if (h.isEmpty()) h = host.toLatin1();
    if (host.contains(QLatin1Char(':'))) h = '[' + h + ']';
    if (portNamed) h += ':' + QByteArray::number(port);
    return h;
}

QString Url::toString() const
{
    return QString::fromLatin1(secure ? "https://" : "http://") +
           QString::fromLatin1(hostHeader()) + QString::fromLatin1(target);
}

bool parseUrl(const QString &text, Url *url, QString *error)
{
    const QString t = text.trimmed();
    for (const QChar c : t) {
        if (isControl(c)) {
            *error = QStringLiteral("L'adresse contient un caractère de contrôle");
            return false;
        }
    }
    Url u;
    QString rest = t;
    const qsizetype sep = rest.indexOf(QStringLiteral("://"));
    if (sep >= 0) {
        const QString scheme = rest.left(sep).toLower();
        if (scheme == QStringLiteral("https"))
            u.secure = true;
        else if (scheme != QStringLiteral("http")) {
            *error = QStringLiteral("Protocole non pris en charge : ") + rest.left(sep);
            return false;
        }
        rest = rest.mid(sep + 3);
    }
    u.port = u.secure ? 443 : 80;
    // The authority ends at the first '/', '?' or '#'.
    qsizetype end = rest.size();
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const QChar c = rest.at(i);
        if (c == QLatin1Char('/') || c == QLatin1Char('?') || c == QLatin1Char('#')) {
            end = i;
            break;
        }
    }
    QString authority = rest.left(end);
    QString target = rest.mid(end);
    const qsizetype fragment = target.indexOf(QLatin1Char('#'));
    if (fragment >= 0) target.truncate(fragment);
    // A user name is not sent: the part before '@' is dropped.
    const qsizetype at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) authority = authority.mid(at + 1);
    QString portText;
    if (authority.startsWith(QLatin1Char('['))) {
        const qsizetype close = authority.indexOf(QLatin1Char(']'));
        if (close < 0) {
            *error = QStringLiteral("Adresse incorrecte : ") + t;
            return false;
        }
        u.host = authority.mid(1, close - 1);
        const QString after = authority.mid(close + 1);
        if (after.startsWith(QLatin1Char(':')))
            portText = after.mid(1);
        else if (!after.isEmpty()) {
            *error = QStringLiteral("Adresse incorrecte : ") + t;
            return false;
        }
        u.portNamed = after.startsWith(QLatin1Char(':'));
    } else {
        const qsizetype colon = authority.indexOf(QLatin1Char(':'));
        u.host = colon < 0 ? authority : authority.left(colon);
        if (colon >= 0) {
            portText = authority.mid(colon + 1);
            u.portNamed = true;
        }
    }
    if (u.host.isEmpty() || u.host.contains(QLatin1Char(' '))) {
        *error = QStringLiteral("Adresse sans nom de serveur : ") + t;
        return false;
    }
    if (u.portNamed) {
        bool ok = false;
        const int port = portText.toInt(&ok);
        if (!ok || port < 1 || port > 65535 || portText.startsWith(QLatin1Char('+'))) {
            *error = QStringLiteral("Port incorrect dans l'adresse : ") + t;
            return false;
        }
        u.port = port;
    }
    if (target.isEmpty()) target = QStringLiteral("/");
    if (target.startsWith(QLatin1Char('?'))) target.prepend(QLatin1Char('/'));
    u.target = encodeTarget(target);
    *url = u;
    return true;
}

QByteArray buildRequest(const Url &url, const QByteArray &userAgent, const QByteArray &accept,
                        bool noCache, bool viaProxy)
{
    QByteArray r = "GET ";
    r += viaProxy ? url.toString().toLatin1() : url.target;
    r += " HTTP/1.0\r\n";
    r += "Accept: " + accept + "\r\n";
    r += "User-Agent: " + userAgent + "\r\n";
    r += "Host: " + url.hostHeader() + "\r\n";
    if (noCache) r += "Pragma: no-cache\r\n";
    r += "\r\n";
    return r;
}

QByteArray buildConnect(const Url &url, const QByteArray &userAgent)
{
    Url withPort = url;
    withPort.portNamed = true;
    const QByteArray authority = withPort.hostHeader();
    return "CONNECT " + authority + " HTTP/1.0\r\nHost: " + authority +
           "\r\nUser-Agent: " + userAgent + "\r\n\r\n";
}

bool isLocalAddress(const QHostAddress &address)
{
    bool v4 = false;
    const quint32 ip = address.toIPv4Address(&v4);
    if (v4) {
        const auto in = [ip](quint32 net, int bits) {
            return (ip >> (32 - bits)) == (net >> (32 - bits));
        };
        return in(0x7F000000, 8) || in(0x0A000000, 8) || in(0xAC100000, 12) || in(0xC0A80000, 16) ||
               in(0xA9FE0000, 16) || in(0x00000000, 8);
    }
    if (address.protocol() != QAbstractSocket::IPv6Protocol) return false;
    const Q_IPV6ADDR a = address.toIPv6Address();
    bool unspecified = true;
    for (int i = 0; i < 16; ++i)
        unspecified = unspecified && a[i] == 0;
    return unspecified || address.isLoopback() || (a[0] & 0xFE) == 0xFC ||
           (a[0] == 0xFE && (a[1] & 0xC0) == 0x80);
}

QByteArray ResponseHead::header(const QByteArray &name) const
{
    for (const auto &h : headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0) return h.second;
    return {};
}

bool ResponseHead::hasHeader(const QByteArray &name) const
{
    for (const auto &h : headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

qint64 ResponseHead::contentLength() const
{
    if (!hasHeader("Content-Length")) return -1;
    const QByteArray v = header("Content-Length");
    if (v.isEmpty()) return -1;
    for (const char c : v)
        if (c < '0' || c > '9') return -1;
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    return ok ? n : -1;
}

qsizetype headEnd(const QByteArray &bytes)
{
    return headEndFrom(bytes, 0);
}

bool parseStatusLine(const QByteArray &line, int *status, QByteArray *reason)
{
    const QByteArray l = line.endsWith('\r') ? line.chopped(1) : line;
    if (!l.startsWith("HTTP/")) return false;
    const qsizetype sp = l.indexOf(' ');
    if (sp < 0) return false;
    const QByteArray version = l.mid(5, sp - 5);
    if (version.size() != 3 || version[1] != '.' || version[0] < '0' || version[0] > '9' ||
        version[2] < '0' || version[2] > '9')
        return false;
    const QByteArray code = l.mid(sp + 1, 3);
    if (code.size() != 3) return false;
    for (const char c : code)
        if (c < '0' || c > '9') return false;
    const QByteArray after = l.mid(sp + 4);
    if (!after.isEmpty() && after[0] != ' ') return false;
    *status = code.toInt();
    *reason = trimmedBytes(after);
    return true;
}

bool parseHead(const QByteArray &head, ResponseHead *out)
{
    QList<QByteArray> lines = head.split('\n');
    if (lines.isEmpty()) return false;
    ResponseHead h;
    if (!parseStatusLine(lines.first(), &h.status, &h.reason)) return false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty()) break;
        // A folded line continues the header before it.
        if ((line[0] == ' ' || line[0] == '\t') && !h.headers.isEmpty()) {
            h.headers.last().second += ' ' + line.trimmed();
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) continue;
        h.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    *out = h;
    return true;
}

bool isRedirection(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

namespace
{

// The length of the scheme an address begins with ("javascript" in
// "javascript:x"): letters, digits, '+', '-' or '.' up to a ':' that comes
// before any '/', '?' or '#'; 0 for a relative address.
qsizetype schemeLength(const QString &loc)
{
    for (qsizetype i = 0; i < loc.size(); ++i) {
        const QChar c = loc.at(i);
        if (c == QLatin1Char(':')) return i;
        const bool letter = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                            (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
        const bool other = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                           c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.');
        if (!letter && (i == 0 || !other)) return 0;
    }
    return 0;
}

bool resolveReference(const Url &base, const QString &loc, Url *next, QString *error)
{
    if (const qsizetype scheme = schemeLength(loc); scheme > 0) {
        // Only an http or https address is fetched, whatever follows.
        if (!loc.mid(scheme).startsWith(QStringLiteral("://"))) {
            const QString name = loc.left(scheme).toLower();
            *error = name == QStringLiteral("http") || name == QStringLiteral("https")
                         ? QStringLiteral("Adresse incorrecte : ") + loc
                         : QStringLiteral("Protocole non pris en charge : ") + loc.left(scheme);
            return false;
        }
        return parseUrl(loc, next, error);
    }
    const QString scheme = QString::fromLatin1(base.secure ? "https:" : "http:");
    if (loc.startsWith(QStringLiteral("//"))) return parseUrl(scheme + loc, next, error);
    const QString authority =
        scheme + QStringLiteral("//") + QString::fromLatin1(base.hostHeader());
    if (loc.startsWith(QLatin1Char('/'))) return parseUrl(authority + loc, next, error);
    // Relative to the directory of the base's path (its query left out).
    QByteArray path = base.target;
    const qsizetype query = path.indexOf('?');
    if (query >= 0) path.truncate(query);
    if (loc.startsWith(QLatin1Char('?')))
        return parseUrl(authority + QString::fromLatin1(path) + loc, next, error);
    path.truncate(path.lastIndexOf('/') + 1);
    return parseUrl(authority + QString::fromLatin1(path) + loc, next, error);
}

} // namespace

bool resolveLocation(const Url &base, const QByteArray &location, Url *next, QString *error)
{
    const QString loc = QString::fromLatin1(location.trimmed());
    if (loc.isEmpty()) {
        *error = QStringLiteral("Redirection sans adresse");
        return false;
    }
    Url resolved;
    if (!resolveReference(base, loc, &resolved, error)) return false;
    // What was asked over a secured connection never comes over a plain one.
    if (base.secure && !resolved.secure) {
        *error = QStringLiteral("Redirection refusée : l'adresse sécurisée %1 mène à l'adresse "
                                "non sécurisée %2")
                     .arg(base.toString(), resolved.toString());
        return false;
    }
    *next = resolved;
    return true;
}

namespace
{

const QString kIncorrect = QStringLiteral("Réponse incorrecte du serveur");

// The body length the head announces: -1 when it announces none, -2 when
// the announcement cannot be trusted (not a whole number, beyond any file,
// or several lengths that differ).
qint64 announcedLength(const ResponseHead &head)
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

} // namespace

ReplyReader::Step ReplyReader::feed(QByteArrayView bytes)
{
    if (m_end != Next::More) return {{}, m_end};
    if (m_headRead) return takeBody(bytes);
    // The bytes already held end no head: the search starts at their last
    // three, which a new piece may complete.
    const qsizetype from = qMax<qsizetype>(0, m_head.size() - 3);
    m_head.append(bytes);
    const qsizetype end = headEndFrom(m_head, from);
    if (end > kMaxHead || (end < 0 && m_head.size() > kMaxHead))
        return fail(0, kIncorrect + QStringLiteral(" : en-tête trop long"));
    if (end < 0) return {};
    return readHead(end);
}

ReplyReader::Step ReplyReader::readHead(qsizetype end)
{
    ResponseHead h;
    if (!parseHead(m_head.left(end), &h) || h.status < 100) return fail(0, kIncorrect);
    m_headRead = true;
    m_status = h.status;
    m_reason = h.reason;
    const bool success = h.status >= 200 && h.status < 300;
    // The body of an error is not wanted, nor a reply that brings no file
    // (1xx, 300, 304...): the connection is closed.
    if (h.status >= 400 || (!success && !isRedirection(h.status)))
        return fail(h.status, QString::fromLatin1(h.reason));
    if (isRedirection(h.status)) {
        QString error;
        if (!resolveLocation(m_asked, h.header("Location"), &m_location, &error))
            return fail(0, error);
        m_end = Next::Redirect;
        return {{}, m_end};
    }
    if (const QByteArray coding = h.header("Transfer-Encoding").trimmed();
        h.hasHeader("Transfer-Encoding") && coding.compare("identity", Qt::CaseInsensitive)) {
        // An HTTP/1.0 reply has no chunks: written as they come, their
        // framing would corrupt the file.
        return fail(0, kIncorrect + QStringLiteral(" : codage de transfert non pris en charge (") +
                           QString::fromLatin1(coding.left(40)) + QLatin1Char(')'));
    }
    const qint64 length = announcedLength(h);
    if (length == -2)
        return fail(0, kIncorrect + QStringLiteral(" : longueur du contenu incorrecte (") +
                           QString::fromLatin1(h.header("Content-Length").left(40)) +
                           QLatin1Char(')'));
    // These replies have no body, whatever follows the head.
    m_length = h.status == 204 || h.status == 205 ? 0 : length;
    const QByteArray rest = m_head.mid(end);
    m_head.clear();
    return takeBody(rest);
}

ReplyReader::Step ReplyReader::takeBody(QByteArrayView bytes)
{
    // Bytes past the announced length are dropped.
    if (m_length >= 0 && m_bodyBytes + bytes.size() > m_length)
        bytes.truncate(m_length - m_bodyBytes);
    Step step{bytes.toByteArray(), Next::More};
    m_bodyBytes += bytes.size();
    if (m_length >= 0 && m_bodyBytes >= m_length) step.next = m_end = Next::Done;
    return step;
}

ReplyReader::Step ReplyReader::finish()
{
    if (m_end != Next::More) return {{}, m_end};
    if (!m_headRead && m_head.isEmpty())
        return fail(0, QStringLiteral("Le serveur a fermé la connexion sans répondre"));
    if (!m_headRead) return fail(0, kIncorrect);
    if (m_length >= 0 && m_bodyBytes < m_length)
        return fail(0, QStringLiteral("Transfert incomplet : %1 octets reçus sur %2")
                           .arg(m_bodyBytes)
                           .arg(m_length));
    // Without a length, the end of the connection is the end of the body.
    m_end = Next::Done;
    return {{}, m_end};
}

ReplyReader::Step ReplyReader::fail(int status, const QString &reason)
{
    m_errorStatus = status;
    m_error = reason;
    m_end = Next::Fail;
    return {{}, m_end};
}

} // namespace http

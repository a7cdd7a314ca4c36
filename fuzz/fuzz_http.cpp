// The server's reply to the HTTP client, received in pieces of sizes the
// bytes themselves choose, framed as the client frames it: the head found
// and read, a redirection resolved against the address asked (and the next
// request built), the body cut at its announced length. The first line of
// the bytes is also read as an address typed by the user.

#include "fuzzkit.h"

#include "net/httpframing.h"

namespace
{

// A request must hold nothing that ends or splits its lines but the CR LF
// that end them.
void checkRequest(const http::Url &url)
{
    for (bool proxy : {false, true}) {
        const QByteArray r = http::buildRequest(url, "Valmeq", "*/*", true, proxy);
        fuzzkit::check(r.endsWith("\r\n\r\n"), "the request ends with an empty line");
        const QList<QByteArray> lines = r.chopped(4).split('\n');
        fuzzkit::check(lines.size() == 5, "five request lines", QString::fromLatin1(r));
        for (const QByteArray &line : lines) {
            const QByteArray l = line.endsWith('\r') ? line.chopped(1) : line;
            for (char c : l)
                fuzzkit::check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F,
                               "no control character on the wire", QString::fromLatin1(r));
        }
    }
    fuzzkit::check(url.port >= 1 && url.port <= 65535, "a port that exists");
    fuzzkit::check(!url.host.isEmpty(), "a host");
}

const http::Url &base(int which)
{
    static const auto make = [](const char *text) {
        http::Url u;
        QString error;
        if (!http::parseUrl(QString::fromLatin1(text), &u, &error)) fuzzkit::fail("base address");
        return u;
    };
    static const http::Url bases[] = {make("http://www.exemple.fr/cours/jour.txt?d=1"),
                                      make("https://[::1]:8443/a/b/"),
                                      make("exemple.fr:8080")};
    return bases[which % 3];
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzkit::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply = fuzzkit::bytes(data, size);

    // As typed in the download window.
    http::Url typed;
    QString error;
    if (http::parseUrl(QString::fromUtf8(reply.left(reply.indexOf('\n'))), &typed, &error))
        checkRequest(typed);

    // The pieces the socket gives.
    QByteArray head;
    bool headDone = false;
    qint64 expected = -1;
    qint64 received = 0;
    const qsizetype wholeEnd = http::headEnd(reply);
    for (qsizetype at = 0; at < reply.size();) {
        const qsizetype piece = 1 + static_cast<unsigned char>(reply.at(at)) % 61;
        const QByteArray bytes = reply.mid(at, piece);
        at += bytes.size();
        if (headDone) {
            QByteArray part = bytes;
            if (expected >= 0 && received + part.size() > expected)
                part.truncate(expected - received);
            received += part.size();
            fuzzkit::check(expected < 0 || received <= expected, "no byte past the length");
            if (expected >= 0 && received >= expected) break;
            continue;
        }
        head += bytes;
        const qsizetype end = http::headEnd(head);
        if (end < 0) continue;
        fuzzkit::check(end == wholeEnd && end <= head.size(), "the head ends where it ends");
        http::ResponseHead h;
        if (!http::parseHead(head.left(end), &h)) break;
        fuzzkit::check(h.status >= 0 && h.status <= 999, "a three-digit status");
        headDone = true;
        if (h.status >= 400) break;
        if (http::isRedirection(h.status)) {
            http::Url next;
            if (http::resolveLocation(base(int(reply.size())), h.header("Location"), &next,
                                      &error))
                checkRequest(next);
            break;
        }
        expected = h.contentLength();
        fuzzkit::check(expected >= -1, "a length or none");
        QByteArray rest = head.mid(end);
        if (expected >= 0 && rest.size() > expected) rest.truncate(expected);
        received = rest.size();
        if (expected >= 0 && received >= expected) break;
    }
    return 0;
}

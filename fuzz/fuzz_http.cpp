// The server's reply to the HTTP client, read by the client's reply reader
// once whole and once in pieces of sizes the bytes themselves choose, then
// the connection ended: both readings agree, the body is what follows the
// head, cut at its announced length, and a redirection leads to an address
// whose request holds no stray line. The first line of the bytes is also
// read as an address typed by the user.

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
                                      make("https://[::1]:8443/a/b/"), make("exemple.fr:8080")};
    return bases[which % 3];
}

// What one reading of the reply came to.
struct Reading {
    http::ReplyReader::Next next = http::ReplyReader::Next::More;
    QByteArray body;
    int status = 0;
    QByteArray reason;
    qint64 length = -1;
    int errorStatus = 0;
    QString error;
    QString location;
    bool operator==(const Reading &) const = default;
};

Reading read(const QByteArray &reply, const http::Url &asked, bool whole)
{
    http::ReplyReader reader(asked);
    Reading r;
    for (qsizetype at = 0; at < reply.size();) {
        const qsizetype piece =
            whole ? reply.size() : 1 + static_cast<unsigned char>(reply.at(at)) % 61;
        r.body +=
            reader.feed(QByteArrayView(reply).sliced(at, qMin(piece, reply.size() - at))).body;
        at += piece;
        fuzzkit::check(reader.length() < 0 || reader.bodyBytes() <= reader.length(),
                       "no byte past the length");
    }
    r.next = reader.finish().next;
    fuzzkit::check(reader.bodyBytes() == r.body.size(), "every body byte counted");
    r.status = reader.status();
    r.reason = reader.reason();
    r.length = reader.length();
    r.errorStatus = reader.errorStatus();
    r.error = reader.error();
    if (r.next == http::ReplyReader::Next::Redirect) {
        checkRequest(reader.location());
        r.location = reader.location().toString();
    }
    return r;
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

    // Whole, then in the pieces the socket gives.
    using Next = http::ReplyReader::Next;
    const http::Url &asked = base(int(reply.size()));
    const Reading whole = read(reply, asked, true);
    fuzzkit::check(read(reply, asked, false) == whole, "the same reply whatever its pieces");
    fuzzkit::check(whole.next != Next::More, "the end of the connection ends the reply");
    fuzzkit::check(whole.status == 0 || (whole.status >= 100 && whole.status <= 999),
                   "a three-digit status");
    fuzzkit::check(whole.length >= -1, "a length or none");
    fuzzkit::check((whole.next == Next::Fail) == (whole.errorStatus > 0 || !whole.error.isEmpty()),
                   "a failure, and only a failure, says why");
    const qsizetype end = http::headEnd(reply);
    const QByteArray after = end < 0 ? QByteArray() : reply.mid(end);
    fuzzkit::check(after.startsWith(whole.body), "the body follows the head");
    if (whole.next == Next::Done)
        fuzzkit::check(whole.body.size() == (whole.length < 0 ? after.size() : whole.length),
                       "a whole body");
    return 0;
}

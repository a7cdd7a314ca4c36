#include "base/textfile.h"

#include "base/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QScopeGuard>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

// Code points of bytes 0x80 to 0x9F; the five holes of the code page map to
// the C1 control of the same value, so that every byte survives a round trip.
const char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeWindows1252(const char *bytes, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    QChar *d = out.data();
    const auto *s = reinterpret_cast<const unsigned char *>(bytes);
    for (qsizetype i = 0; i < size; ++i)
        d[i] = QChar(windows1252Char(s[i]));
    return out;
}

QString decodeWindows1252(const QByteArray &bytes)
{
    return decodeWindows1252(bytes.constData(), bytes.size());
}

namespace
{

const QHash<char16_t, char> &highBytes()
{
    static const QHash<char16_t, char> high = [] {
        QHash<char16_t, char> h;
        for (int i = 0; i < 32; ++i)
            h.insert(kWindows1252High[i], char(0x80 + i));
        return h;
    }();
    return high;
}

// Appends the text's bytes to `out`.
void appendWindows1252(QByteArray &out, const QString &text)
{
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char *d = out.data() + at;
    const QChar *s = text.constData();
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t u = s[i].unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            d[i] = char(u);
        else
            d[i] = highBytes().value(u, '?');
    }
}

// Hands the lines, each ended with CR LF, to `write` in chunks of about a
// megabyte, so that a store of a million lines does not need a second copy
// of itself in memory. Stops at the first chunk `write` refuses.
template <typename Write> bool writeChunks(const QStringList &lines, Write write)
{
    constexpr qsizetype kChunk = 1 << 20;
    QByteArray chunk;
    chunk.reserve(kChunk + 4096);
    for (const QString &line : lines) {
        appendWindows1252(chunk, line);
        chunk += "\r\n";
        if (chunk.size() >= kChunk) {
            if (!write(chunk)) return false;
            chunk.clear();
        }
    }
    return chunk.isEmpty() || write(chunk);
}

} // namespace

QByteArray encodeWindows1252(const QString &text)
{
    QByteArray out;
    appendWindows1252(out, text);
    return out;
}

bool encodeWindows1252Into(QStringView text, char *d)
{
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            d[i] = char(u);
            continue;
        }
        const auto it = highBytes().constFind(u);
        if (it == highBytes().cend()) return false;
        d[i] = it.value();
    }
    return true;
}

bool encodeWindows1252Exactly(QStringView text, QByteArray &out)
{
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char *d = out.data() + at;
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            d[i] = char(u);
            continue;
        }
        const auto it = highBytes().constFind(u);
        if (it == highBytes().cend()) {
            out.resize(at);
            return false;
        }
        d[i] = it.value();
    }
    return true;
}

QStringList splitTextLines(const QString &text)
{
    QStringList lines;
    const QChar *s = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && s[i + 1] == u'\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

void readLineBytes(const QString &path, const std::function<void(const char *, qsizetype)> &line)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw VError::cannotOpen(path);
    // Read by blocks: the whole file's bytes are never held at once.
    QByteArray carry;       // the start of a line the previous block cut
    bool pendingLf = false; // the previous block ended with CR
    constexpr qint64 kBlock = 4 << 20;
    for (;;) {
        const QByteArray block = file.read(kBlock);
        if (file.error() != QFileDevice::NoError) throw VError::cannotOpen(path);
        if (block.isEmpty()) break;
        const char *s = block.constData();
        const qsizetype n = block.size();
        qsizetype i = pendingLf && s[0] == '\n' ? 1 : 0;
        pendingLf = false;
        qsizetype start = i;
        for (; i < n; ++i) {
            if (s[i] != '\r' && s[i] != '\n') continue;
            if (carry.isEmpty()) {
                line(s + start, i - start);
            } else {
                carry.append(s + start, i - start);
                line(carry.constData(), carry.size());
                carry.clear();
            }
            if (s[i] == '\r') {
                if (i + 1 < n && s[i + 1] == '\n')
                    ++i;
                else if (i + 1 == n)
                    pendingLf = true;
            }
            start = i + 1;
        }
        carry.append(s + start, n - start);
    }
    if (!carry.isEmpty()) line(carry.constData(), carry.size());
}

QStringList readLines(const QString &path)
{
    QStringList lines;
    lines.reserve(QFileInfo(path).size() / 48 + 1);
    readLineBytes(path,
                  [&lines](const char *s, qsizetype n) { lines.append(decodeWindows1252(s, n)); });
    return lines;
}

bool writeLinesTo(QIODevice &device, const QStringList &lines)
{
    const bool written = writeChunks(
        lines, [&device](const QByteArray &chunk) { return device.write(chunk) == chunk.size(); });
    // A file keeps small writes in its buffer: they fail only when flushed.
    if (auto *file = qobject_cast<QFileDevice *>(&device)) return written && file->flush();
    return written;
}

#ifdef Q_OS_UNIX

QString finalTarget(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink()) return path;
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? path : target;
}

namespace
{

bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= n;
    }
    return true;
}

// Makes the renaming of an entry of that directory durable. The file is
// already in place when this runs: a failure here is not reported.
void syncDirectory(const QByteArray &dir)
{
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

// Written beside the target, synced, then renamed over it: the target is
// either the former file or the whole new one, even on a full disk or a
// crash. (QSaveFile of Qt 6.4 renames over the target even when the flush
// of its last buffered bytes failed.)
void writeBytes(const QString &path, const std::function<bool(const ByteSink &)> &produce)
{
    const QString target = finalTarget(path);
    const QFileInfo info(target);
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray dirName = QFile::encodeName(info.absolutePath());

    struct stat former = {};
    const bool replacing = ::stat(targetName.constData(), &former) == 0;
    // A file the user may not write stays as it is, though the directory
    // would let it be replaced.
    if (replacing && ::faccessat(AT_FDCWD, targetName.constData(), W_OK, AT_EACCESS) != 0)
        throw VError::cannotCreate(path);

    QByteArray tempName;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempName = targetName + '.' +
                   QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        // 0666 less the umask, as a new file gets.
        fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) throw VError::cannotCreate(path);

    bool done = false;
    const auto cleanUp = qScopeGuard([&] {
        if (fd >= 0) ::close(fd);
        if (!done) ::unlink(tempName.constData());
    });
    if (replacing && ::fchmod(fd, former.st_mode & 07777) != 0) throw VError::cannotCreate(path);
    if (!produce([fd](const char *data, qsizetype size) { return writeAll(fd, data, size); }))
        throw VError::cannotCreate(path);
    if (::fsync(fd) != 0) throw VError::cannotCreate(path);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 && errno != EINTR) throw VError::cannotCreate(path);
    if (::rename(tempName.constData(), targetName.constData()) != 0)
        throw VError::cannotCreate(path);
    done = true;
    syncDirectory(dirName);
}

#else

void writeBytes(const QString &path, const std::function<bool(const ByteSink &)> &produce)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw VError::cannotCreate(path);
    // Flushed: commit() renames only what is wholly written.
    if (!produce(
            [&file](const char *data, qsizetype size) { return file.write(data, size) == size; }) ||
        !file.flush()) {
        file.cancelWriting();
        file.commit();
        throw VError::cannotCreate(path);
    }
    if (!file.commit()) throw VError::cannotCreate(path);
}

#endif

void writeLines(const QString &path, const QStringList &lines)
{
    writeBytes(path, [&lines](const ByteSink &sink) {
        return writeChunks(lines, [&sink](const QByteArray &chunk) {
            return sink(chunk.constData(), chunk.size());
        });
    });
}

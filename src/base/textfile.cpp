#include "base/textfile.h"

#include "base/contenthash.h"
#include "base/errors.h"
#include "base/largepages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>

#include <algorithm>
#include <cstring>
#include <utility>

#include <cerrno>
#ifdef Q_OS_UNIX
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
    if (encodeWindows1252Into(text, out.data() + at)) return true;
    out.resize(at);
    return false;
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

namespace
{

QString megabytes(qint64 bytes)
{
    return QString::number((bytes + (1 << 20) - 1) >> 20);
}

VError notRegular(const QString &path)
{
    return VError(QStringLiteral("Le fichier %1 n'est pas un fichier ordinaire")
                      .arg(QDir::toNativeSeparators(path)));
}

VError tooBig(const QString &path, qint64 size, qint64 limit)
{
    return VError(QStringLiteral("Le fichier %1 est trop grand (%2 Mo, au plus %3 Mo)")
                      .arg(QDir::toNativeSeparators(path), megabytes(size), megabytes(limit)));
}

// Hands the file's bytes to `block` in blocks of a few megabytes. Only a
// regular file of at most `limit` bytes is read: its kind is checked before
// it is opened and again on what was opened, which never waits (a pipe put
// in its place between the two is not read).
// With `chunks`, each block is handed over instead, in memory of its own.
void readBlocks(const QString &path, qint64 limit, FileStamp *stamp,
                const std::function<void(const char *, qsizetype)> &block,
                const std::function<void(QByteArray)> *chunks = nullptr)
{
    ContentHash hash;
    constexpr qint64 kBlock = 4 << 20;
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat st = {};
    if (::stat(name.constData(), &st) != 0) throw VError::cannotOpen(path);
    if (!S_ISREG(st.st_mode)) throw notRegular(path);
    if (st.st_size > limit) throw tooBig(path, st.st_size, limit);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw VError::cannotOpen(path);
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    if (::fstat(fd, &st) != 0) throw VError::cannotOpen(path);
    if (!S_ISREG(st.st_mode)) throw notRegular(path);
    if (st.st_size > limit) throw tooBig(path, st.st_size, limit);
    // A small file needs no block of four megabytes.
    QByteArray buffer(qsizetype(std::min<qint64>(kBlock, st.st_size + 1)), Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), size_t(buffer.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw VError::cannotOpen(path);
        if (n == 0) break;
        total += n;
        // A file that grows while it is read stops at its limit.
        if (total > limit) throw tooBig(path, total, limit);
        if (stamp) hash.add(buffer.constData(), n);
        if (chunks) {
            const qsizetype next = total >= buffer.size() ? qsizetype(kBlock) : buffer.size();
            buffer.resize(qsizetype(n));
            (*chunks)(std::exchange(buffer, QByteArray(next, Qt::Uninitialized)));
            preferLargePages(buffer.constData(), size_t(buffer.size()));
            continue;
        }
        block(buffer.constData(), n);
        if (buffer.size() < kBlock && total >= buffer.size()) buffer.resize(qsizetype(kBlock));
    }
    if (stamp) {
        stamp->exists = true;
        stamp->size = total;
        stamp->modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        stamp->hash = hash.result();
    }
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) throw notRegular(path);
    if (info.size() > limit) throw tooBig(path, info.size(), limit);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw VError::cannotOpen(path);
    qint64 total = 0;
    for (;;) {
        const QByteArray bytes = file.read(kBlock);
        if (file.error() != QFileDevice::NoError) throw VError::cannotOpen(path);
        if (bytes.isEmpty()) break;
        total += bytes.size();
        if (total > limit) throw tooBig(path, total, limit);
        if (stamp) hash.add(bytes.constData(), bytes.size());
        if (chunks)
            (*chunks)(bytes);
        else
            block(bytes.constData(), bytes.size());
    }
    if (stamp) {
        stamp->exists = true;
        stamp->size = total;
        stamp->modified = info.lastModified().toMSecsSinceEpoch() * 1000000;
        stamp->hash = hash.result();
    }
#endif
}

} // namespace

qint64 largeFileLimit()
{
#ifdef Q_OS_UNIX
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0) return qint64(pages) * pageSize / 2;
#endif
    return qint64(2) << 30;
}

void readLineBytes(const QString &path, const std::function<void(const char *, qsizetype)> &line,
                   qint64 limit, FileStamp *stamp)
{
    // Read by blocks: the whole file's bytes are never held at once.
    LineCutter cutter;
    readBlocks(path, limit, stamp, [&](const char *s, qsizetype n) {
        cutter.feed(
            s, n, [&](qsizetype start, qsizetype end) { line(s + start, end - start); }, line);
    });
    cutter.finish(line);
}

void readChunks(const QString &path, const std::function<void(QByteArray)> &chunk, qint64 limit,
                FileStamp *stamp)
{
    readBlocks(path, limit, stamp, {}, &chunk);
}

QStringList readLines(const QString &path, qint64 limit, FileStamp *stamp)
{
    QStringList lines;
    const qint64 size = QFileInfo(path).size();
    if (size > 0 && size <= limit) lines.reserve(size / 48 + 1);
    readLineBytes(
        path, [&lines](const char *s, qsizetype n) { lines.append(decodeWindows1252(s, n)); },
        limit, stamp);
    return lines;
}

QByteArray readBytes(const QString &path, qint64 limit)
{
    QByteArray bytes;
    // The size told ahead gives the room at once, but it is not trusted:
    // the bytes grow as they come.
    const qint64 told = QFileInfo(path).size();
    if (told > 0 && told <= limit) bytes.reserve(qsizetype(told) + 1);
    readBlocks(path, limit, nullptr, [&bytes](const char *s, qsizetype n) { bytes.append(s, n); });
    return bytes;
}

FileStamp stampOf(const QString &path, qint64 limit)
{
    FileStamp stamp;
    if (!QFileInfo::exists(path)) return stamp;
    readBlocks(path, limit, &stamp, [](const char *, qsizetype) {});
    return stamp;
}

bool changedSince(const QString &path, const FileStamp &stamp, qint64 limit)
{
    // Only a regular file holds what another program may have written; in
    // front of anything else the write fails on its own.
    const QFileInfo info(path);
    if (!info.isFile()) return false;
    if (!stamp.exists || info.size() != stamp.size) return true;
#ifdef Q_OS_UNIX
    // The same size and the same modification time to the nanosecond: not
    // written since, and hashing a large file again is spared. A time in
    // whole seconds may come from a coarse file system, where two writes
    // share a second: the content decides then.
    struct stat st = {};
    if (stamp.modified % 1000000000 != 0 && ::stat(QFile::encodeName(path).constData(), &st) == 0 &&
        qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec == stamp.modified)
        return false;
#endif
    try {
        return stampOf(path, limit).hash != stamp.hash;
    } catch (const VError &) {
        return true; // no longer readable as it was
    }
}

QString changedQuestion(const QString &path)
{
    return QStringLiteral("Le fichier %1 a été modifié par un autre programme depuis sa "
                          "lecture. L'écraser ?")
        .arg(QDir::toNativeSeparators(path));
}

VError cannotCreate(const QString &path, int errorNumber)
{
    QString cause = VError::io(errorNumber).message();
    if (!cause.isEmpty()) cause[0] = cause[0].toLower();
    return VError(VError::cannotCreate(path).message() + QStringLiteral(" : ") + cause);
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
        if (n == 0) errno = ENOSPC;
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

// Bytes written from `from` up to `to`: each whole stretch of kWriteAhead
// bytes they complete starts on its way to the disk at once, while the next
// ones are produced, so that the sync at the end has little left to write.
// Only a hint: what it could not start, the sync writes.
void startWriting(int fd, qint64 from, qint64 to)
{
#ifdef Q_OS_LINUX
    constexpr qint64 kWriteAhead = 8 << 20;
    for (qint64 at = from / kWriteAhead * kWriteAhead; at + kWriteAhead <= to; at += kWriteAhead)
        if (at + kWriteAhead > from) ::sync_file_range(fd, at, kWriteAhead, SYNC_FILE_RANGE_WRITE);
#else
    Q_UNUSED(fd);
    Q_UNUSED(from);
    Q_UNUSED(to);
#endif
}

} // namespace

// Written beside the target, synced, then renamed over it: the target is
// either the former file or the whole new one, even on a full disk or a
// crash. (QSaveFile of Qt 6.4 renames over the target even when the flush
// of its last buffered bytes failed.)
FileStamp writeBytes(const QString &path, const std::function<bool(const ByteSink &)> &produce)
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
        throw cannotCreate(path, errno);

    // A short name of its own, whatever the length of the target's.
    QByteArray tempName;
    int fd = -1;
    int cause = EEXIST;
    static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 100 && fd < 0 && cause == EEXIST; ++attempt) {
        QByteArray random(6, '0');
        for (char &c : random)
            c = kDigits[QRandomGenerator::global()->bounded(36)];
        tempName = dirName + "/.vmq" + random + ".tmp";
        // 0666 less the umask, as a new file gets.
        fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) cause = errno;
    }
    if (fd < 0) throw cannotCreate(path, cause);

    bool done = false;
    const auto cleanUp = qScopeGuard([&] {
        if (fd >= 0) ::close(fd);
        if (!done) ::unlink(tempName.constData());
    });
    if (replacing && ::fchmod(fd, former.st_mode & 07777) != 0) throw cannotCreate(path, errno);
    ContentHash hash;
    qint64 size = 0;
    cause = 0;
    if (!produce([&](const char *data, qsizetype n) {
            hash.add(data, n);
            const qint64 before = size;
            size += n;
            if (writeAll(fd, data, n)) {
                startWriting(fd, before, size);
                return true;
            }
            cause = errno;
            return false;
        }))
        throw cannotCreate(path, cause ? cause : EIO);
    if (::fsync(fd) != 0) throw cannotCreate(path, errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 && errno != EINTR) throw cannotCreate(path, errno);
    if (::rename(tempName.constData(), targetName.constData()) != 0)
        throw cannotCreate(path, errno);
    done = true;
    syncDirectory(dirName);
    FileStamp stamp;
    struct stat written = {};
    stamp.exists = true;
    stamp.size = size;
    if (::stat(targetName.constData(), &written) == 0)
        stamp.modified = qint64(written.st_mtim.tv_sec) * 1000000000 + written.st_mtim.tv_nsec;
    stamp.hash = hash.result();
    return stamp;
}

int removeLeftoverTemporaries(const QString &dir)
{
    // Ours: ".vmq" and six characters, and the longer names of former
    // versions after the program's own files.
    static const QRegularExpression ours(
        QStringLiteral("^(\\.vmq[0-9a-z]{6}|(Cours\\.vmq|Valmeq\\.(ini|trt|prc|sit|nte)|.+\\.ptf)"
                       "\\.[0-9a-z]{1,7})\\.tmp$"));
    int removed = 0;
    const QFileInfoList entries =
        QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &entry : entries)
        if (ours.match(entry.fileName()).hasMatch() && QFile::remove(entry.filePath())) ++removed;
    return removed;
}

#else

FileStamp writeBytes(const QString &path, const std::function<bool(const ByteSink &)> &produce)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw VError::cannotCreate(path);
    ContentHash hash;
    qint64 size = 0;
    // Flushed: commit() renames only what is wholly written.
    if (!produce([&](const char *data, qsizetype n) {
            hash.add(data, n);
            size += n;
            return file.write(data, n) == n;
        }) ||
        !file.flush()) {
        file.cancelWriting();
        file.commit();
        throw VError::cannotCreate(path);
    }
    if (!file.commit()) throw VError::cannotCreate(path);
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = size;
    stamp.modified = QFileInfo(path).lastModified().toMSecsSinceEpoch() * 1000000;
    stamp.hash = hash.result();
    return stamp;
}

int removeLeftoverTemporaries(const QString &)
{
    return 0;
}

#endif

FileStamp writeLines(const QString &path, const QStringList &lines)
{
    return writeBytes(path, [&lines](const ByteSink &sink) {
        return writeChunks(lines, [&sink](const QByteArray &chunk) {
            return sink(chunk.constData(), chunk.size());
        });
    });
}

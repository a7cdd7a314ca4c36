#pragma once

#include "base/errors.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>

// Files of the program are 8-bit Windows Western text (code page 1252),
// read whole into a list of lines and written whole back with CR LF.

QString decodeWindows1252(const QByteArray &bytes);
QByteArray encodeWindows1252(const QString &text); // unmappable characters become '?'
// The characters of `size` bytes of the file's code page.
QString decodeWindows1252(const char *bytes, qsizetype size);
// Appends the text's bytes to `out`; false, with `out` as it was, when a
// character has no byte in the code page.
bool encodeWindows1252Exactly(QStringView text, QByteArray &out);
// Writes the text's bytes (one per character) from `out`; false when a
// character has no byte in the code page (the bytes written are then of no use).
bool encodeWindows1252Into(QStringView text, char *out);
// The character a byte stands for (bytes 0x80 to 0x9F through the table; the
// five holes of the code page stand for the C1 control of the same value).
extern const char16_t kWindows1252High[32];
inline char16_t windows1252Char(unsigned char byte)
{
    return (byte >= 0x80 && byte < 0xA0) ? kWindows1252High[byte - 0x80] : char16_t(byte);
}

// Splits on CR LF, lone CR or lone LF. A final line ending does not make an
// extra empty line.
QStringList splitTextLines(const QString &text);

// What a file held when it was read or written: enough to tell, before it is
// written again, whether another program changed it in between.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds since 1970
    quint64 hash = 0;    // of the whole content
    bool operator==(const FileStamp &) const = default;
};

// The most a file may hold to be read: the settings, the lists, the
// portfolio and the notepad a few megabytes; the quotation file half the
// memory of the machine.
constexpr qint64 kSmallFileLimit = qint64(16) << 20;
qint64 largeFileLimit();

// Reads the whole file. Only a regular file is read (a device, a pipe or a
// socket is refused without waiting on it), of at most `limit` bytes.
// Throws VError::cannotOpen when it cannot be read, or the refusal naming
// the file ("n'est pas un fichier ordinaire", "est trop grand"). `stamp`,
// when given, gets what the file held.
QStringList readLines(const QString &path, qint64 limit = largeFileLimit(),
                      FileStamp *stamp = nullptr);
// Cuts bytes given block after block into lines ended by CR, LF or CR LF,
// as readLines cuts a file. For each line, `inBlock(start, end)` when it lies
// within the block given, `carried(bytes, n)` when it began in an earlier one.
class LineCutter
{
public:
    template <typename InBlock, typename Carried>
    void feed(const char *s, qsizetype n, InBlock inBlock, Carried carried)
    {
        if (n == 0) return;
        qsizetype i = m_pendingLf && s[0] == '\n' ? 1 : 0;
        m_pendingLf = false;
        qsizetype start = i;
        for (; i < n; ++i) {
            if (s[i] != '\r' && s[i] != '\n') continue;
            if (m_carry.isEmpty()) {
                inBlock(start, i);
            } else {
                m_carry.append(s + start, i - start);
                carried(m_carry.constData(), m_carry.size());
                m_carry.clear();
            }
            if (s[i] == '\r') {
                if (i + 1 < n && s[i + 1] == '\n')
                    ++i;
                else if (i + 1 == n)
                    m_pendingLf = true;
            }
            start = i + 1;
        }
        m_carry.append(s + start, n - start);
    }
    // The last line, when the bytes ended without a line end.
    template <typename Carried> void finish(Carried carried)
    {
        if (!m_carry.isEmpty()) carried(m_carry.constData(), m_carry.size());
        m_carry.clear();
    }

private:
    QByteArray m_carry;       // the start of a line the previous block cut
    bool m_pendingLf = false; // the previous block ended with CR
};
// The same reading, handing each line's bytes (without its line end) to
// `line`, in file order; the bytes are valid only during the call.
void readLineBytes(const QString &path, const std::function<void(const char *, qsizetype)> &line,
                   qint64 limit = largeFileLimit(), FileStamp *stamp = nullptr);
// The same reading, handing the file's bytes to `chunk` in blocks of a few
// megabytes, each in memory of its own, in file order.
void readChunks(const QString &path, const std::function<void(QByteArray)> &chunk,
                qint64 limit = largeFileLimit(), FileStamp *stamp = nullptr);
// The file's bytes whole, read as readLines reads: a regular file of at most
// `limit` bytes, or the same refusals.
QByteArray readBytes(const QString &path, qint64 limit);
// What the file holds now (not existing: a stamp that says so).
FileStamp stampOf(const QString &path, qint64 limit);
// True when the regular file is no longer what `stamp` says: created, or of
// another content, since. A file removed since is not changed: writing it
// again loses nothing of another program's.
bool changedSince(const QString &path, const FileStamp &stamp, qint64 limit);
// "Le fichier X a été modifié par un autre programme depuis sa lecture.
// L'écraser ?"
QString changedQuestion(const QString &path);

// "Ne peut créer le fichier X : disque plein": the system's cause of a
// failed write, from its error number, in the download's words.
VError cannotCreate(const QString &path, int errorNumber);

// Writes every line followed by CR LF to the device; false on a failed write.
// A file device is flushed, so that a failure of its buffered bytes counts.
bool writeLinesTo(QIODevice &device, const QStringList &lines);

// Replaces the file whole and atomically: the lines go to a temporary file
// beside it, are synced to the disk, then renamed over it, keeping the
// former file's permissions. A file this user may not write is refused.
// On any failure (full disk, no right...) the
// former file is left byte for byte, no temporary file remains and
// VError::cannotCreate is thrown, with the system's cause. The temporary file
// has a short name of its own (".vmq" + six characters + ".tmp"), so that any
// name the system allows can be written. Returns what the file now holds.
FileStamp writeLines(const QString &path, const QStringList &lines);
// The same replacement, of bytes: `produce` hands the file's bytes in order
// to the sink it is given, and returns false at the first chunk the sink
// refused (or true when every byte went). The disk is sent each few
// megabytes once written, while the next ones are produced.
using ByteSink = std::function<bool(const char *, qsizetype)>;
// The file a path names, through its symbolic links: replacing that one
// keeps a link a link.
QString finalTarget(const QString &path);
FileStamp writeBytes(const QString &path, const std::function<bool(const ByteSink &)> &produce);
// Removes the temporary files a save cut short (the program killed, the
// machine stopped) left in the directory; the copy that holds the directory
// does it at start. Returns how many went.
int removeLeftoverTemporaries(const QString &dir);

#pragma once

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

// Reads the whole file. Throws VError::cannotOpen when it cannot be read.
QStringList readLines(const QString &path);
// The same reading, handing each line's bytes (without its line end) to
// `line`, in file order; the bytes are valid only during the call.
void readLineBytes(const QString &path, const std::function<void(const char *, qsizetype)> &line);

// Writes every line followed by CR LF to the device; false on a failed write.
// A file device is flushed, so that a failure of its buffered bytes counts.
bool writeLinesTo(QIODevice &device, const QStringList &lines);

// Replaces the file whole and atomically: the lines go to a temporary file
// beside it, are synced to the disk, then renamed over it, keeping the
// former file's permissions. A file this user may not write is refused.
// On any failure (full disk, no right...) the
// former file is left byte for byte, no temporary file remains and
// VError::cannotCreate is thrown.
void writeLines(const QString &path, const QStringList &lines);
// The same replacement, of bytes: `produce` hands the file's bytes in order
// to the sink it is given, and returns false at the first chunk the sink
// refused (or true when every byte went).
using ByteSink = std::function<bool(const char *, qsizetype)>;
// The file a path names, through its symbolic links: replacing that one
// keeps a link a link.
QString finalTarget(const QString &path);
void writeBytes(const QString &path, const std::function<bool(const ByteSink &)> &produce);

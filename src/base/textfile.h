#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

// Files of the program are 8-bit Windows Western text (code page 1252),
// read whole into a list of lines and written whole back with CR LF.

QString decodeWindows1252(const QByteArray &bytes);
QByteArray encodeWindows1252(const QString &text); // unmappable characters become '?'

// Splits on CR LF, lone CR or lone LF. A final line ending does not make an
// extra empty line.
QStringList splitTextLines(const QString &text);

// Reads the whole file. Throws VError::cannotOpen when it cannot be read.
QStringList readLines(const QString &path);

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

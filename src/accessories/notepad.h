#pragma once

#include "base/textfile.h"

#include <QString>
#include <QStringList>

// The notepad's file "Valmeq.nte".
namespace notepad
{

// The directory joined with "Valmeq.nte"; a doubled separator from a
// directory that already ends with one is reduced to one.
QString path(const QString &dir);
// The lines of the file; empty when there is none. A regular file of a
// few megabytes at most (kSmallFileLimit); `stamp` gets what it held.
QStringList load(const QString &path, FileStamp *stamp = nullptr);
// Replaces in the lines each character the file cannot hold again (a NUL,
// a control character, a byte the code page leaves undefined such as 0x81)
// with "?"; returns the message naming them, empty when there was none.
QString mend(const QString &path, QStringList &lines);
// The message naming what Windows-1252 cannot hold in the text; empty when
// it can hold it all.
QString refusal(const QString &text);
// Replaces the file whole and atomically. Text the file cannot hold is
// refused with `refusal`'s message; a failed write keeps the former file
// and throws "Ne peut créer le fichier %s" with the system's cause. Returns
// what the file now holds.
FileStamp save(const QString &path, const QStringList &lines);

} // namespace notepad

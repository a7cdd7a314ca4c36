#pragma once

#include <QString>
#include <QStringList>

// The notepad's file "Valmeq.nte".
namespace notepad
{

// The directory joined with "Valmeq.nte"; a doubled separator from a
// directory that already ends with one is reduced to one.
QString path(const QString &dir);
// The lines of the file; empty when there is none.
QStringList load(const QString &path);
// The message naming what Windows-1252 cannot hold in the text; empty when
// it can hold it all.
QString refusal(const QString &text);
// Replaces the file whole and atomically. Text the file cannot hold is
// refused with `refusal`'s message; a failed write keeps the former file
// and throws "Ne peut créer le fichier %s".
void save(const QString &path, const QStringList &lines);

} // namespace notepad

#pragma once

#include <QString>
#include <QStringList>

// The list of download sites: one line per site, name, tab, address, tab,
// local path.
namespace sites
{

struct Site {
    QString name;
    QString url;
    QString path;
};

// The three fields of a line (at most 1024 characters after each tab).
Site split(const QString &line);
QString join(const QString &name, const QString &url, const QString &path);

// The position of the site of that whole name, letters a to z compared
// without case; -1 when there is none.
int find(const QStringList &list, const QString &name);

// "Appliquer": the site named `name` (trimmed) gets these fields, or a new
// site is appended. Returns its position, or -1 when the name is blank
// (nothing changes).
int apply(QStringList &list, const QString &name, const QString &url, const QString &path);

// "Effacer": deletes the site of that name. Returns the position to keep
// afterwards, given the former one: the deleted site's place, moved back
// when past the end, 0 for an empty list. When no site has that name the
// list and the position stay.
int erase(QStringList &list, const QString &name, int position);

} // namespace sites

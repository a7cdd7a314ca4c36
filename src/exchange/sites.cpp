#include "exchange/sites.h"

#include "base/formats.h"
#include "base/records.h"

namespace sites
{

Site split(const QString &line)
{
    QString rest = line;
    Site s;
    s.name = nextField(rest, 1024);
    s.url = nextField(rest, 1024);
    s.path = nextField(rest, 1024);
    return s;
}

QString join(const QString &name, const QString &url, const QString &path)
{
    // A tab or a line break typed in a field would split or merge the
    // records of "Valmeq.sit": it becomes a space.
    return records::field(name) + QLatin1Char('\t') + records::field(url) + QLatin1Char('\t') +
           records::field(path);
}

int find(const QStringList &list, const QString &name)
{
    const QString wanted = upperAscii(name.trimmed());
    for (int i = 0; i < list.size(); ++i)
        if (upperAscii(split(list[i]).name.trimmed()) == wanted) return i;
    return -1;
}

int apply(QStringList &list, const QString &name, const QString &url, const QString &path)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) return -1;
    const QString line = join(trimmed, url, path);
    const int at = find(list, trimmed);
    if (at >= 0) {
        list[at] = line;
        return at;
    }
    list.append(line);
    return int(list.size()) - 1;
}

int erase(QStringList &list, const QString &name, int position)
{
    const int at = find(list, name);
    if (at < 0 || name.trimmed().isEmpty()) return position;
    list.removeAt(at);
    int p = at;
    if (p >= list.size()) --p;
    return list.isEmpty() ? 0 : p;
}

} // namespace sites

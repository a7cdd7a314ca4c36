#include "accessories/notepad.h"

#include "base/errors.h"
#include "base/records.h"
#include "base/textfile.h"

#include <QFile>

namespace notepad
{

QString path(const QString &dir)
{
    QString p = dir + QLatin1Char('/') + QStringLiteral("Valmeq.nte");
    const qsizetype doubled = p.indexOf(QStringLiteral("//"));
    if (doubled >= 0) p.remove(doubled, 1);
    return p;
}

QStringList load(const QString &path)
{
    if (!QFile::exists(path)) return {};
    return readLines(path);
}

QString refusal(const QString &text)
{
    return records::refusal(text);
}

void save(const QString &path, const QStringList &lines)
{
    for (const QString &line : lines)
        if (const QString m = refusal(line); !m.isEmpty()) throw VError(m);
    writeLines(path, lines);
}

} // namespace notepad

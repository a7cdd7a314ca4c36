#include "accessories/notepad.h"

#include "base/errors.h"
#include "base/records.h"
#include "base/textfile.h"

#include <QDir>
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

QStringList load(const QString &path, FileStamp *stamp)
{
    if (!QFile::exists(path)) return {};
    return readLines(path, kSmallFileLimit, stamp);
}

QString mend(const QString &path, QStringList &lines)
{
    QStringList named;
    for (QString &line : lines)
        for (QChar &c : line) {
            if (c == QLatin1Char('\t')) continue;
            const QString name = records::unstorableName(c);
            if (name.isEmpty()) continue;
            if (!named.contains(name)) named.append(name);
            c = QLatin1Char('?');
        }
    if (named.isEmpty()) return {};
    return QStringLiteral("Le fichier %1 contient des caractères que le bloc-notes ne peut pas "
                          "enregistrer (%2) : la page les montre par « ? », et le fichier les "
                          "perdra s'il est enregistré.")
        .arg(QDir::toNativeSeparators(path), named.join(QStringLiteral(", ")));
}

QString refusal(const QString &text)
{
    return records::refusal(text);
}

FileStamp save(const QString &path, const QStringList &lines)
{
    for (const QString &line : lines)
        if (const QString m = refusal(line); !m.isEmpty()) throw VError(m);
    return writeLines(path, lines);
}

} // namespace notepad

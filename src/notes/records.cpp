#include "notes/records.h"

#include "base/textfile.h"

#include <QStringList>

namespace records
{

QString field(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n') ||
            c == QChar(0x2028) || c == QChar(0x2029))
            c = QLatin1Char(' ');
    return out;
}

QString refusal(const QString &text)
{
    QStringList named;
    for (const QChar c : text) {
        if (c == QLatin1Char('\t')) continue;
        const bool control = c.unicode() < 0x20 || c.unicode() == 0x7F ||
                             (c.unicode() >= 0x80 && c.unicode() < 0xA0);
        if (!control && decodeWindows1252(encodeWindows1252(QString(c))) == QString(c)) continue;
        const QString name =
            c.isSurrogate() ? QStringLiteral("caractère hors alphabet")
            : control
                ? QStringLiteral("caractère de contrôle U+") +
                      QString::number(c.unicode(), 16).rightJustified(4, QLatin1Char('0')).toUpper()
                : QStringLiteral("« ") + c + QStringLiteral(" »");
        if (!named.contains(name)) named.append(name);
    }
    if (named.isEmpty()) return {};
    return QStringLiteral("Le texte contient des caractères que le fichier ne peut pas "
                          "enregistrer : %1")
        .arg(named.join(QStringLiteral(", ")));
}

} // namespace records

#include "notes/records.h"

#include "base/textfile.h"

#include <QStringList>

namespace records
{

namespace
{

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0x2028) ||
           c == QChar(0x2029);
}

// The name of a character Windows-1252 cannot hold, or of a control
// character; empty for any other.
QString badCharacter(QChar c)
{
    const bool control =
        c.unicode() < 0x20 || c.unicode() == 0x7F || (c.unicode() >= 0x80 && c.unicode() < 0xA0);
    if (!control && decodeWindows1252(encodeWindows1252(QString(c))) == QString(c)) return {};
    if (c.isSurrogate()) return QStringLiteral("caractère hors alphabet");
    if (control)
        return QStringLiteral("caractère de contrôle U+") +
               QString::number(c.unicode(), 16).rightJustified(4, QLatin1Char('0')).toUpper();
    return QStringLiteral("« ") + c + QStringLiteral(" »");
}

} // namespace

QString field(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c == QLatin1Char('\t') || isLineBreak(c)) c = QLatin1Char(' ');
    return out;
}

QString pageText(const QString &rawText)
{
    QString out = rawText;
    for (QChar &c : out)
        if (c == QChar(0x2028) || c == QChar(0x2029)) c = QLatin1Char('\n');
    return out;
}

QStringList unstorable(const QString &text)
{
    QStringList named;
    for (const QChar c : text) {
        const QString name = c == QLatin1Char('\t') ? QStringLiteral("tabulation")
                             : isLineBreak(c)       ? QStringLiteral("saut de ligne")
                                                    : badCharacter(c);
        if (!name.isEmpty() && !named.contains(name)) named.append(name);
    }
    return named;
}

QString refusal(const QString &text)
{
    QStringList named;
    for (const QChar c : text) {
        if (c == QLatin1Char('\t')) continue;
        const QString name = badCharacter(c);
        if (!name.isEmpty() && !named.contains(name)) named.append(name);
    }
    if (named.isEmpty()) return {};
    return QStringLiteral("Le texte contient des caractères que le fichier ne peut pas "
                          "enregistrer : %1")
        .arg(named.join(QStringLiteral(", ")));
}

} // namespace records

#include "base/records.h"

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

} // namespace

QString unstorableName(QChar c)
{
    if (c == QLatin1Char('\t')) return QStringLiteral("tabulation");
    if (isLineBreak(c)) return QStringLiteral("saut de ligne");
    const bool control =
        c.unicode() < 0x20 || c.unicode() == 0x7F || (c.unicode() >= 0x80 && c.unicode() < 0xA0);
    if (control)
        return QStringLiteral("caractère de contrôle U+") +
               QString::number(c.unicode(), 16).rightJustified(4, QLatin1Char('0')).toUpper();
    if (decodeWindows1252(encodeWindows1252(QString(c))) == QString(c)) return {};
    if (c.isSurrogate()) return QStringLiteral("caractère hors alphabet");
    return QStringLiteral("« ") + c + QStringLiteral(" »");
}

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
        const QString name = unstorableName(c);
        if (!name.isEmpty() && !named.contains(name)) named.append(name);
    }
    return named;
}

QString refusal(const QString &text)
{
    const QStringList named = unstorable(QString(text).remove(QLatin1Char('\t')));
    if (named.isEmpty()) return {};
    return QStringLiteral("Le texte contient des caractères que le fichier ne peut pas "
                          "enregistrer : %1")
        .arg(named.join(QStringLiteral(", ")));
}

} // namespace records

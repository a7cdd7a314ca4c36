#include "quotes/entry.h"

#include "base/errors.h"
#include "base/formats.h"
#include "base/textfile.h"

#include <QKeyEvent>

namespace entry
{

namespace
{
bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

QChar amountChar(QChar typed)
{
    if (typed == QLatin1Char('.') || typed == QLatin1Char(',')) return QLatin1Char(',');
    return isDigit(typed) ? typed : QChar();
}

QChar quantityChar(QChar typed)
{
    return isDigit(typed) ? typed : QChar();
}

KeyAction filterKey(const QKeyEvent &event, QChar (*rule)(QChar), QString *replacement)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return KeyAction::Pass;
    const QString text = event.text();
    if (text.isEmpty()) return KeyAction::Pass;
    QString out;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) return KeyAction::Pass;
        const QChar r = rule(c);
        if (!r.isNull()) out.append(r);
    }
    if (out == text) return KeyAction::Pass;
    if (out.isEmpty()) return KeyAction::Drop;
    *replacement = out;
    return KeyAction::Replace;
}

QString leftPrice(const QString &text)
{
    double value = 0;
    if (text.isEmpty() || !tryReadDecimal(text, &value)) return text;
    return formatAmount(value);
}

bool isWholeDate(const QString &shown)
{
    if (shown.size() != 10 || shown[2] != QLatin1Char('/') || shown[5] != QLatin1Char('/'))
        return false;
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (!isDigit(shown[i])) return false;
    QDate date;
    return tryReadShownDate(shown, &date);
}

QString lineOfRow(const QString &date, const QString &code, const QString &name,
                  const QString &price, const QString &volume)
{
    const QChar tab = QLatin1Char('\t');
    return shownToStored(date) + tab + code + tab + name + tab + price + tab + volume;
}

bool nameForCode(const QStringList &index, const QString &text, QString *name)
{
    for (const QString &e : index) {
        if (e.startsWith(text)) {
            *name = e.mid(6);
            return true;
        }
    }
    return false;
}

QString unstorable(const QString &text)
{
    QStringList named;
    for (const QChar c : text) {
        QString name;
        if (c == QLatin1Char('\t'))
            name = QStringLiteral("tabulation");
        else if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0x2028) ||
                 c == QChar(0x2029))
            name = QStringLiteral("saut de ligne");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            name = QStringLiteral("caractère de contrôle U+") +
                   QString::number(c.unicode(), 16).rightJustified(4, QLatin1Char('0')).toUpper();
        else if (decodeWindows1252(encodeWindows1252(QString(c))) != QString(c) ||
                 (c.unicode() >= 0x80 && c.unicode() < 0xA0))
            name = c.isSurrogate() ? QStringLiteral("caractère hors alphabet")
                                   : QStringLiteral("« ") + c + QStringLiteral(" »");
        if (!name.isEmpty() && !named.contains(name)) named.append(name);
    }
    if (named.isEmpty()) return {};
    return QStringLiteral("Le texte « %1 » contient ce que le fichier des cotations ne peut "
                          "pas enregistrer : %2")
        .arg(QString(text).replace(QLatin1Char('\t'), QLatin1Char(' ')).simplified(),
             named.join(QStringLiteral(", ")));
}

std::optional<Refusal> checkQuotation(const QString &code, const QString &name,
                                      const QString &price, const QString &volume)
{
    if (code.trimmed().isEmpty()) return Refusal{0, QStringLiteral("Le code du titre est vide")};
    if (const QString m = unstorable(code); !m.isEmpty()) return Refusal{0, m};
    if (const QString m = unstorable(name); !m.isEmpty()) return Refusal{1, m};
    double value = 0;
    if (!tryReadDecimal(price, &value)) return Refusal{2, VError::badFloat(price).message()};
    for (const QChar c : volume)
        if (!isDigit(c)) return Refusal{3, VError::badInteger(volume).message()};
    return std::nullopt;
}

QString searchCode(const QStringList &index, const QString &typed)
{
    const QString text = upperAscii(typed);
    if (text.isEmpty()) return text;
    if (isDigit(text[0])) return normaliseCode(text);
    for (const QString &e : index)
        if (upperAscii(e.mid(6, text.size())) == text) return e.left(6);
    return text;
}

} // namespace entry

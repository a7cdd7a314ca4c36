#include "quotes/entry.h"

#include "base/errors.h"
#include "base/formats.h"
#include "base/records.h"
#include "base/textfile.h"

namespace entry
{

namespace
{
bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

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
    const QStringList named = records::unstorable(text);
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

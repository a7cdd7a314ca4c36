#include "quotes/entry.h"

#include "base/formats.h"

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

QString storeKey(const QString &shownKey)
{
    return shownToStored(shownKey.left(10)) + shownKey.mid(10);
}

qsizetype findQuote(const QStringList &store, const QString &key)
{
    // The key is the line's date and code fields: it must end where the code
    // field ends, so that a short code (00120) does not find a longer one.
    const qsizetype n = key.size();
    for (qsizetype i = 0; i < store.size(); ++i) {
        const QString &line = store.at(i);
        if (line.startsWith(key) && (line.size() == n || line.at(n) == QLatin1Char('\t'))) return i;
    }
    return -1;
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

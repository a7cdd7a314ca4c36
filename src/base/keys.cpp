#include "base/keys.h"

#include <QKeyEvent>

namespace keys
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

} // namespace keys

#pragma once

#include <QChar>
#include <QString>

class QKeyEvent;

// Key filters of the amount, price and quantity fields of every window.
namespace keys
{

// The character a typed one becomes, or a null QChar when the field refuses
// it. Amount fields take digits and "," (a "." becomes ","); quantity fields
// take digits only.
QChar amountChar(QChar typed);
QChar quantityChar(QChar typed);

// What a key press does in a filtered field: pass as it is, be dropped, or be
// replaced by `replacement` (a typed "." becoming ","). Keys that type no
// character (Backspace, Tab, Enter, arrows) and shortcuts always pass.
enum class KeyAction { Pass, Drop, Replace };
KeyAction filterKey(const QKeyEvent &event, QChar (*rule)(QChar), QString *replacement);

} // namespace keys

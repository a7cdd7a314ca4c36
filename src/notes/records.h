#pragma once

#include <QString>
#include <QStringList>

// What the card and press-note files can hold: one record per line, fields
// separated by tabs, Windows-1252 text.
namespace records
{

// The text with each tab and line break replaced by a space, so that it
// stays one field of one record.
QString field(const QString &text);
// The characters of the text a field cannot hold as they are, each named
// once in order: "tabulation", "saut de ligne", control characters and the
// characters Windows-1252 lacks. Empty when the text can be a field.
QStringList unstorable(const QString &text);
// The text of a multi-line text box from its document's raw text: the
// paragraph and line separators become line feeds and every other character
// stays (a no-break space is not turned into a space as the plain text of a
// document would have it).
QString pageText(const QString &rawText);
// The message naming the characters Windows-1252 cannot hold (and control
// characters other than the tab); empty when the text can be written.
QString refusal(const QString &text);

} // namespace records

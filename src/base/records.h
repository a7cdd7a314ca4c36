#pragma once

#include <QString>
#include <QStringList>

// What the program's text files can hold: one record per line, fields
// separated by tabs, Windows-1252 text. The one rule of "text the file cannot
// hold" lives here; every file (quotations, portfolio, cards, press notes,
// sites, notepad) refuses through it.
namespace records
{

// The text with each tab and line break replaced by a space, so that it
// stays one field of one record.
QString field(const QString &text);
// The name of a character a field cannot hold as it is: "tabulation",
// "saut de ligne" (CR, LF and the Unicode line and paragraph separators),
// "caractère de contrôle U+XXXX" (C0 and C1 controls, DEL), "caractère hors
// alphabet" (half of a surrogate pair) or the character between « »
// (what Windows-1252 lacks). Empty for a character a field can hold.
QString unstorableName(QChar c);
// The characters of the text a field cannot hold as they are, each named
// once in order: "tabulation", "saut de ligne", control characters and the
// characters Windows-1252 lacks. Empty when the text can be a field.
QStringList unstorable(const QString &text);
// The text of a multi-line text box from its document's raw text: the
// paragraph and line separators become line feeds and every other character
// stays (a no-break space is not turned into a space as the plain text of a
// document would have it).
QString pageText(const QString &rawText);
// The message naming the characters of a line that Windows-1252 cannot
// hold, tabs allowed; empty when the line can be written.
QString refusal(const QString &text);

} // namespace records

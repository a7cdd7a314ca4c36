#pragma once

#include <QString>

// The HTML of a help page as the help window shows it. The help file is a
// text anyone may edit, so its HTML is rebuilt from a small set of tags:
// headings, paragraphs, line breaks, lists, links, bold, italic, underline,
// pre and code, and tables of one level (a table inside a table gives its
// cells' text to the outer cell). Every other tag is dropped and its text
// kept (the text of script, style and title is dropped with them); every
// attribute is dropped but a link's address to a page of the help ("#id").
// Tags left open are closed, so the result is well formed, and the limits
// below hold whatever the file holds: a page beyond one of them is cut there
// and ends with the note « (page tronquée) ».
namespace helphtml
{

// The limits keep the layout of any page within a fraction of a second or
// so: a page of 1 MB of text, or of thousands of table cells, holds the
// window for seconds to minutes.
// Elements open at once; a tag opened deeper is dropped, its text kept.
constexpr int kMaxDepth = 32;
// Characters of HTML read from a page.
constexpr qsizetype kMaxHtml = 1024 * 1024;
// Characters of text of a page.
constexpr qsizetype kMaxText = 64 * 1024;
// Paragraphs, headings, list items, line breaks, pre lines and table rows.
constexpr int kMaxBlocks = 1000;
// Table cells of a page.
constexpr int kMaxCells = 500;
// Elements of a page, of any kind (an empty "<b></b>" costs the layout too).
constexpr int kMaxElements = 5000;
// Characters in a row without a place to break the line: the layout of such
// a word grows with the square of its length, so a zero-width space is put
// after each run of this many.
constexpr int kMaxWord = 64;

QString filter(const QString &html);

// The note that ends a page cut at a limit.
QString truncatedNote();

} // namespace helphtml

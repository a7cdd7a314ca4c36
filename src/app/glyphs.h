#pragma once

#include <QIcon>
#include <QImage>

class QPainter;
class QRectF;

// The pictures of the program, painted in code: the 16x16 tool-bar glyphs
// and the program picture (a rising price line on a blue square).
namespace glyphs
{

enum class Glyph {
    Open,       // open folder
    Save,       // diskette
    Print,      // printer
    First,      // |<
    Previous,   // <
    Next,       // >
    Last,       // >|
    Journal,    // list of quotations
    Securities, // share certificate
    Chart,      // price chart
    Entry,      // pencil
    Press,      // newspaper
    Buy,        // +
    Sell,       // -
    Operations, // journal of operations
    Portfolio,  // briefcase
};

constexpr int kGlyphSize = 16;

QImage image(Glyph glyph); // kGlyphSize square, transparent background
QIcon icon(Glyph glyph);

void paintProgramPicture(QPainter &painter, const QRectF &rect);
QImage programPicture(int size);
QIcon programIcon(); // the window icon, in the usual sizes

} // namespace glyphs

#pragma once

#include "notes/recordbook.h"

#include <QString>
#include <QStringList>

// The press notes of "Valmeq.prc": one note per line, tab-separated: the
// date "yyyymmdd", the security code, its name, the subject, then one field
// per line of the text. An empty line is a note not yet filled in.
namespace press
{

struct Note {
    QString date; // "yyyymmdd" as stored
    QString code;
    QString name;
    QString subject;
    QStringList text;
    // Nothing typed but perhaps the date.
    bool isBlank() const;
};

// A note line read whole, however long.
Note read(const QString &line);
// Fields 1 to 4 always, then a tab and each text line. Tabs and line breaks
// inside a field become spaces.
QString write(const Note &note);
// Ascending, whole lines compared without regard to letter case in French
// collation (so by date, then code); lines equal but for case keep a fixed
// order.
void sort(QStringList &notes);

// The note's line as a record of the book: a blank note shown for an empty
// line leaves it empty.
struct LineFormat {
    using Record = Note;
    static constexpr bool keepsOneLine = true;
    static Note read(const QString &line) { return press::read(line); }
    static QString write(const Note &note) { return press::write(note); }
    static bool isBlank(const Note &shown) { return shown.isBlank(); }
};

} // namespace press

// The notes of one opening of "Vu dans la presse", the position of the note
// on display and the search: every move first stores the note on display.
// Nothing is stored past the last note, and the list keeps one empty line at
// least.
class NoteBook : public RecordBook<press::LineFormat>
{
public:
    // Copies both lists; an empty note list gets one empty line.
    void Init(const QStringList &index, const QStringList &noteList);
    const QStringList &notes() const { return lines(); }
    bool onNote() const { return onRecord(); }

    // Every change of the code box: the name of that code in the index
    // (null when none), and, past the last note, an empty line appended for
    // the new note.
    QString codeChanged(const QString &code);
    // "Rechercher": the search starts from the first note. Empty text does
    // nothing.
    void Rechercher(const press::Note &shown, const QString &code);
    // The search from the remembered position ("Rerchercher suivant" too):
    // false when no note further holds the code.
    bool Cherche(const press::Note &shown);
    // The notes sorted, for the document (the note on display stored first).
    QStringList Result(const press::Note &shown);

private:
    QString m_search;
    int m_searchFrom = 0;
};

#pragma once

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

} // namespace press

// The notes of one opening of "Vu dans la presse", the position of the note
// on display and the search: every move first stores the note on display.
class NoteBook
{
public:
    // Copies both lists; an empty note list gets one empty line.
    void Init(const QStringList &index, const QStringList &noteList);
    const QStringList &notes() const { return m_notes; }
    QStringList codes() const;
    int position() const { return m_pos; }
    bool onNote() const { return m_pos >= 0 && m_pos < m_notes.size(); }
    // The note at the position; an empty one past the last.
    press::Note current() const;

    // Stores the note on display at the position (nothing past the last).
    // A blank note shown for an empty line leaves it empty. Throws the
    // refusal of text the file cannot hold, storing nothing.
    void EcritFiche(const press::Note &shown);
    void first(const press::Note &shown);
    void previous(const press::Note &shown);
    void next(const press::Note &shown);
    void last(const press::Note &shown);
    // "Ajouter fiche": the position goes past the last note.
    void add(const press::Note &shown);
    // Every change of the code box: the name of that code in the index
    // (null when none), and, past the last note, an empty line appended for
    // the new note.
    QString codeChanged(const QString &code);
    // "Supprimer titre": at least one empty line stays; nothing past the
    // last note.
    void remove(const press::Note &shown);
    // "Rechercher": the search starts from the first note. Empty text does
    // nothing.
    void Rechercher(const press::Note &shown, const QString &code);
    // The search from the remembered position ("Rerchercher suivant" too):
    // false when no note further holds the code.
    bool Cherche(const press::Note &shown);
    // The notes sorted, for the document (the note on display stored first).
    QStringList Result(const press::Note &shown);

private:
    QStringList m_index;
    QStringList m_notes;
    int m_pos = 0;
    QString m_search;
    int m_searchFrom = 0;
};

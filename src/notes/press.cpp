#include "notes/press.h"

#include "base/errors.h"
#include "base/records.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace press
{

bool Note::isBlank() const
{
    return code.isEmpty() && name.isEmpty() && subject.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](const QString &l) { return l.isEmpty(); });
}

Note read(const QString &line)
{
    const QStringList f = line.split(QLatin1Char('\t'));
    Note n;
    n.date = f[0];
    n.code = f.value(1);
    n.name = f.value(2);
    n.subject = f.value(3);
    n.text = f.mid(4);
    return n;
}

QString write(const Note &note)
{
    QStringList fields{note.date, records::field(note.code), records::field(note.name),
                       records::field(note.subject)};
    for (const QString &line : note.text)
        fields.append(records::field(line));
    return fields.join(QLatin1Char('\t'));
}

void sort(QStringList &notes)
{
    QCollator collator{QLocale(QLocale::French, QLocale::France)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(notes.begin(), notes.end(), [&](const QString &a, const QString &b) {
        const int c = collator.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
}

} // namespace press

using press::Note;

void NoteBook::Init(const QStringList &index, const QStringList &noteList)
{
    m_index = index;
    m_notes = noteList;
    if (m_notes.isEmpty()) m_notes.append(QString());
    m_pos = 0;
    m_search.clear();
    m_searchFrom = 0;
}

QStringList NoteBook::codes() const
{
    QStringList out;
    for (const QString &entry : m_index)
        out.append(entry.left(6));
    return out;
}

Note NoteBook::current() const
{
    return onNote() ? press::read(m_notes[m_pos]) : Note{};
}

void NoteBook::EcritFiche(const Note &shown)
{
    if (!onNote()) return;
    if (m_notes[m_pos].isEmpty() && shown.isBlank()) return;
    const QString line = press::write(shown);
    if (const QString m = records::refusal(line); !m.isEmpty()) throw VError(m);
    m_notes[m_pos] = line;
}

void NoteBook::first(const Note &shown)
{
    EcritFiche(shown);
    m_pos = 0;
}

void NoteBook::previous(const Note &shown)
{
    EcritFiche(shown);
    m_pos = std::max(0, std::min(m_pos, int(m_notes.size())) - 1);
}

void NoteBook::next(const Note &shown)
{
    EcritFiche(shown);
    m_pos = std::max(0, std::min(m_pos + 1, int(m_notes.size()) - 1));
}

void NoteBook::last(const Note &shown)
{
    EcritFiche(shown);
    m_pos = int(m_notes.size()) - 1;
}

void NoteBook::add(const Note &shown)
{
    EcritFiche(shown);
    m_pos = int(m_notes.size());
}

QString NoteBook::codeChanged(const QString &code)
{
    QString name;
    for (const QString &entry : std::as_const(m_index)) {
        if (entry.left(6) == code) {
            name = entry.mid(6);
            break;
        }
    }
    if (m_pos == m_notes.size()) m_notes.append(QString());
    return name;
}

void NoteBook::remove(const Note &shown)
{
    if (!onNote()) return;
    EcritFiche(shown);
    m_notes.removeAt(m_pos);
    if (m_notes.isEmpty()) m_notes.append(QString());
    m_pos = std::min(m_pos, int(m_notes.size()) - 1);
}

void NoteBook::Rechercher(const Note &shown, const QString &code)
{
    if (code.isEmpty()) return;
    m_search = code;
    m_searchFrom = 0;
    Cherche(shown);
}

bool NoteBook::Cherche(const Note &shown)
{
    EcritFiche(shown);
    if (m_search.isEmpty()) return false;
    for (int i = std::max(0, m_searchFrom); i < m_notes.size(); ++i) {
        if (m_notes[i].mid(9, 6) == m_search) {
            m_pos = i;
            m_searchFrom = i + 1;
            return true;
        }
    }
    return false;
}

QStringList NoteBook::Result(const Note &shown)
{
    EcritFiche(shown);
    QStringList out = m_notes;
    press::sort(out);
    return out;
}

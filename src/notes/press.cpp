#include "notes/press.h"

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
    open(index, noteList);
    m_search.clear();
    m_searchFrom = 0;
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
    if (m_pos == m_lines.size()) m_lines.append(QString());
    return name;
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
    for (int i = std::max(0, m_searchFrom); i < m_lines.size(); ++i) {
        if (m_lines[i].mid(9, 6) == m_search) {
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
    QStringList out = m_lines;
    press::sort(out);
    return out;
}

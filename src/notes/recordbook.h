#pragma once

#include "base/errors.h"
#include "base/records.h"

#include <QString>
#include <QStringList>

#include <algorithm>

// The records of one opening of a notes window, one line each, and the
// position of the record on display: every move first stores the record on
// display. `Format` turns a line into its record and back:
//
//   using Record = ...;
//   static Record read(const QString &line);
//   static QString write(const Record &record);
//
// and may say more of its records:
//
//   static bool isNew(const QStringList &lines, const Record &shown);
//       past the last record (after "Ajouter fiche") the record on display
//       is appended when this says so; without it nothing is stored there;
//   static bool isBlank(const Record &shown);
//       a blank record shown for an empty line leaves the line empty;
//   static constexpr bool keepsOneLine = true;
//       the list never goes empty: an empty line stands for a record not
//       yet filled in.
template <typename Format> class RecordBook
{
public:
    using Record = typename Format::Record;

    const QStringList &lines() const { return m_lines; }
    // The code list: the first 6 characters of every index entry.
    QStringList codes() const
    {
        QStringList out;
        for (const QString &entry : m_index)
            out.append(entry.left(6));
        return out;
    }
    int position() const { return m_pos; }
    bool onRecord() const { return m_pos >= 0 && m_pos < m_lines.size(); }
    // The record at the position; an empty one past the last.
    Record current() const { return onRecord() ? Format::read(m_lines[m_pos]) : Record{}; }

    // Stores the record on display at the position. Throws the refusal of
    // text the file cannot hold, storing nothing.
    void EcritFiche(const Record &shown)
    {
        if (!onRecord() && !kStoresNew) return;
        if constexpr (requires(const Record &r) { Format::isBlank(r); }) {
            if (onRecord() && m_lines[m_pos].isEmpty() && Format::isBlank(shown)) return;
        }
        const QString line = Format::write(shown);
        if (const QString m = records::refusal(line); !m.isEmpty()) throw VError(m);
        if (onRecord()) {
            m_lines[m_pos] = line;
        } else if constexpr (kStoresNew) {
            if (m_pos == m_lines.size() && Format::isNew(m_lines, shown)) m_lines.append(line);
        }
    }

    void first(const Record &shown)
    {
        EcritFiche(shown);
        m_pos = 0;
    }
    void previous(const Record &shown)
    {
        EcritFiche(shown);
        m_pos = std::max(0, std::min(m_pos, int(m_lines.size())) - 1);
    }
    void next(const Record &shown)
    {
        EcritFiche(shown);
        m_pos = std::max(0, std::min(m_pos + 1, int(m_lines.size()) - 1));
    }
    void last(const Record &shown)
    {
        EcritFiche(shown);
        m_pos = int(m_lines.size()) - 1;
    }
    // "Ajouter fiche": the position goes past the last record.
    void add(const Record &shown)
    {
        EcritFiche(shown);
        m_pos = int(m_lines.size());
    }
    // "Supprimer titre": nothing past the last record.
    void remove(const Record &shown)
    {
        if (!onRecord()) return;
        EcritFiche(shown);
        m_lines.removeAt(m_pos);
        keepOneLine();
        m_pos = std::max(0, std::min(m_pos, int(m_lines.size()) - 1));
    }

protected:
    // Copies both lists and shows record 0.
    void open(const QStringList &index, const QStringList &lines)
    {
        m_index = index;
        m_lines = lines;
        keepOneLine();
        m_pos = 0;
    }

    QStringList m_index;
    QStringList m_lines;
    int m_pos = 0;

private:
    static constexpr bool kStoresNew = requires(const QStringList &l, const Record &r)
    {
        Format::isNew(l, r);
    };

    void keepOneLine()
    {
        if constexpr (requires { requires Format::keepsOneLine; }) {
            if (m_lines.isEmpty()) m_lines.append(QString());
        }
    }
};

#include "notes/cards.h"

#include "base/formats.h"
#include "base/records.h"
#include "quotes/entry.h"

#include <algorithm>

namespace cards
{

Card read(const QString &line)
{
    // The whole line: nothing of a long comment is cut.
    const QStringList f = line.split(QLatin1Char('\t'));
    Card c;
    c.code = f[0];
    c.name = f.value(1);
    c.year = f.value(2);
    for (int i = 0; i < 7; ++i)
        c.figures[i] = f.value(3 + i);
    c.comment = f.mid(10);
    return c;
}

QString write(const Card &card)
{
    QStringList fields{records::field(card.code.left(6)), records::field(card.name),
                       records::field(card.year)};
    for (const QString &f : card.figures)
        fields.append(entry::leftPrice(records::field(f)));
    for (const QString &line : card.comment)
        fields.append(records::field(line));
    return fields.join(QLatin1Char('\t'));
}

bool exists(const QStringList &cardList, const QString &text)
{
    const QString code = text.left(6);
    return std::any_of(cardList.begin(), cardList.end(),
                       [&](const QString &c) { return c.left(6) == code; });
}

QString automatic(const QString &indexEntry)
{
    return indexEntry.left(6) + QLatin1Char('\t') + indexEntry.mid(6);
}

bool LineFormat::isNew(const QStringList &cardList, const Card &shown)
{
    return !shown.code.trimmed().isEmpty() && !exists(cardList, shown.code);
}

} // namespace cards

using cards::Card;

void CardBook::Init(const QStringList &index, const QStringList &cardList)
{
    open(index, cardList);
    for (const QString &entry : index)
        if (!cards::exists(m_lines, entry)) m_lines.append(cards::automatic(entry));
}

bool CardBook::chooseCode(const Card &shown, const QString &code)
{
    EcritFiche(shown);
    for (int i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].left(6) == code) {
            m_pos = i;
            return true;
        }
    }
    return false;
}

#include "notes/cards.h"

#include "base/errors.h"
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

} // namespace cards

using cards::Card;

void CardBook::Init(const QStringList &index, const QStringList &cardList)
{
    m_cards = cardList;
    for (const QString &entry : index)
        if (!cards::exists(m_cards, entry)) m_cards.append(cards::automatic(entry));
    m_pos = 0;
    m_index = index;
}

QStringList CardBook::codes() const
{
    QStringList out;
    for (const QString &entry : m_index)
        out.append(entry.left(6));
    return out;
}

Card CardBook::current() const
{
    return onCard() ? cards::read(m_cards[m_pos]) : Card{};
}

void CardBook::EcritFiche(const Card &shown)
{
    const QString line = cards::write(shown);
    if (const QString m = records::refusal(line); !m.isEmpty()) throw VError(m);
    if (onCard()) {
        m_cards[m_pos] = line;
    } else if (m_pos == m_cards.size() && !shown.code.trimmed().isEmpty() &&
               !cards::exists(m_cards, shown.code)) {
        m_cards.append(line);
    }
}

void CardBook::previous(const Card &shown)
{
    EcritFiche(shown);
    m_pos = std::max(0, std::min(m_pos, int(m_cards.size())) - 1);
}

void CardBook::next(const Card &shown)
{
    EcritFiche(shown);
    m_pos = std::max(0, std::min(m_pos + 1, int(m_cards.size()) - 1));
}

bool CardBook::chooseCode(const Card &shown, const QString &code)
{
    EcritFiche(shown);
    for (int i = 0; i < m_cards.size(); ++i) {
        if (m_cards[i].left(6) == code) {
            m_pos = i;
            return true;
        }
    }
    return false;
}

void CardBook::remove(const Card &shown)
{
    if (!onCard()) return;
    EcritFiche(shown);
    m_cards.removeAt(m_pos);
    m_pos = std::max(0, std::min(m_pos, int(m_cards.size()) - 1));
}

void CardBook::add(const Card &shown)
{
    EcritFiche(shown);
    m_pos = int(m_cards.size());
}

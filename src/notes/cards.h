#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The security cards of "Valmeq.trt": one card per line, tab-separated:
// code, name, year, turnover, gross profit, profit per share, dividends,
// trading quota, nominal value, price/earnings ratio, then one field per
// line of the comment.
namespace cards
{

struct Card {
    QString code;
    QString name;
    QString year;
    std::array<QString, 7> figures;
    QStringList comment;
};

// A card line read whole, however long.
Card read(const QString &line);
// The card's line: fields 1 to 10 always, then a tab and each comment line.
// Tabs and line breaks inside a field become spaces; the figures that read
// as numbers are written "#.00".
QString write(const Card &card);
// True when some card's first 6 characters are the text's first 6.
bool exists(const QStringList &cards, const QString &text);
// The card made for an index entry: its code, a tab, its name.
QString automatic(const QString &indexEntry);

} // namespace cards

// The cards of one opening of "Liste des titres" and the position of the
// card on display: every move first stores the card on display.
class CardBook
{
public:
    // Copies both lists, gives every indexed security without a card one
    // (appended in index order), and shows card 0.
    void Init(const QStringList &index, const QStringList &cardList);
    const QStringList &cards() const { return m_cards; }
    // The code list: the first 6 characters of every index entry.
    QStringList codes() const;
    int position() const { return m_pos; }
    bool onCard() const { return m_pos >= 0 && m_pos < m_cards.size(); }
    // The card at the position; an empty card past the last.
    cards::Card current() const;

    // Stores the card on display at the position. Past the last card (after
    // "Ajouter fiche") a card whose code has none yet is appended. Throws the
    // refusal of text the file cannot hold, storing nothing.
    void EcritFiche(const cards::Card &shown);
    void previous(const cards::Card &shown);
    void next(const cards::Card &shown);
    // A code chosen or typed: `shown` holds the code the card was shown with.
    // False when no card has that code: the card on display stays.
    bool chooseCode(const cards::Card &shown, const QString &code);
    // "Supprimer titre": nothing past the last card.
    void remove(const cards::Card &shown);
    // "Ajouter fiche": the position goes past the last card.
    void add(const cards::Card &shown);

private:
    QStringList m_index;
    QStringList m_cards;
    int m_pos = 0;
};

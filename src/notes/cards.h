#pragma once

#include "notes/recordbook.h"

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

// The card's line as a record of the book: past the last card, a card whose
// code has none yet is appended.
struct LineFormat {
    using Record = Card;
    static Card read(const QString &line) { return cards::read(line); }
    static QString write(const Card &card) { return cards::write(card); }
    static bool isNew(const QStringList &cardList, const Card &shown);
};

} // namespace cards

// The cards of one opening of "Liste des titres" and the position of the
// card on display: every move first stores the card on display, and text the
// file cannot hold is refused even past the last card.
class CardBook : public RecordBook<cards::LineFormat>
{
public:
    // Copies both lists, gives every indexed security without a card one
    // (appended in index order), and shows card 0.
    void Init(const QStringList &index, const QStringList &cardList);
    const QStringList &cards() const { return lines(); }
    bool onCard() const { return onRecord(); }

    // A code chosen or typed: `shown` holds the code the card was shown with.
    // False when no card has that code: the card on display stays.
    bool chooseCode(const cards::Card &shown, const QString &code);
};

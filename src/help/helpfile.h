#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The help file "Valmeq.hlp": HTML in pages, each page opened by a line
//   <!-- page id="..." titre="..." contexte="2 5" mots-clés="a; b" -->
// and running to the next one. "contexte" lists the help context numbers
// the page answers (F1); "mots-clés" feed the keyword search. Links between
// pages are written href="#id". The page "sommaire" is the contents, the
// page "utiliser-aide" explains the help itself.
class HelpFile
{
public:
    struct Page {
        QString id;
        QString title;
        QList<int> contexts;
        QStringList keywords;
        QString html;
    };

    // The most a help file may hold.
    static constexpr qint64 kLimit = qint64(8) << 20;
    // Reads the file (UTF-8): a regular file of at most kLimit bytes. False
    // when it cannot be read, the reason in French in `error`.
    bool load(const QString &path, QString *error = nullptr);
    // Reads help text already in memory.
    void parse(const QString &text);

    const QList<Page> &pages() const { return m_pages; }
    const Page *page(const QString &id) const;
    // The page of a context number; the contents when none answers it.
    const Page *context(int number) const;
    const Page *contents() const;
    const Page *usingHelp() const;
    // Every keyword once, in French alphabetical order.
    QStringList keywords() const;
    // The pages listing the keyword (letter case ignored), in file order.
    QList<const Page *> pagesFor(const QString &keyword) const;

    // Where the help file is looked for, in order: the start directory, the
    // installed data directories, beside the program.
    static QStringList candidates(const QString &startDir, const QString &programDir);
    // The first of them that exists; empty when none does.
    static QString locate(const QString &startDir, const QString &programDir);

private:
    QList<Page> m_pages;
};

#pragma once

#include <QDialog>

#include "help/helpfile.h"

class QLineEdit;
class QListWidget;
class QTabWidget;
class HelpBrowser;

// "Aide de Valmeq": the pages of the help file, its contents and its
// keyword index.
//
// Controls: TabControl1 with the tabs "Sommaire" (ListSommaire, the pages)
// and "Index" (EditMotCle "Mot-clé", ListMotsCles); TextBrowser1 the page;
// BtnPrecedent "Précédent"; BtnFermer.
class THelp : public QDialog
{
    Q_OBJECT
public:
    // What the help is opened on.
    struct Request {
        enum Kind { Contents, Search, UsingHelp, Context } kind = Contents;
        int context = 0;
    };

    explicit THelp(const HelpFile &file, QWidget *parent = nullptr);

    void Init(const Request &request);
    // The page shown; empty for a list of pages.
    QString shownPage() const { return m_shown; }
    void showPage(const QString &id);
    // The keyword chosen in the index: its page, or the list of its pages.
    void showKeyword(const QString &keyword);

    // Opens the help of the start directory modally; a missing help file
    // is said in a message.
    static void open(QWidget *parent, const QString &startDir, const Request &request);

private:
    void filterKeywords(const QString &typed);

    HelpFile m_file;
    QString m_shown;
    QStringList m_history;
    QTabWidget *m_tabs;
    QListWidget *m_contents;
    QLineEdit *m_keyword;
    QListWidget *m_keywords;
    HelpBrowser *m_browser;
};

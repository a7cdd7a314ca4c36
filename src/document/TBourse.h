#pragma once

#include <QWidget>

#include <memory>

class BourseData;
class ChartCommands;
class ChartPage;
class EntryPage;
class ExchangeCommands;
class JournalPage;
class MaintenanceCommands;
class NotesCommands;
class PortfolioCommands;
class PrintCommands;
class QStackedWidget;
class QTableView;
class TitresPage;

// The document window: it owns the document's data, the four pages and the
// command objects, and runs the short sequences that call them in order
// (loading, the index, the navigation). Who holds what:
//  - BourseData: the eight lists, the values, the files, every store change;
//  - JournalPage: the monthly view and the value search (LitMois, Rech...);
//  - TitresPage: the security view (LitTitre, TriVi...);
//  - ChartPage: the chart page (ComboBox3Change, Dessine);
//  - EntryPage: the entry page and the entry copy (Saisie... TabSheet4Exit);
//  - MaintenanceCommands, ChartCommands, PortfolioCommands, ExchangeCommands,
//    PrintCommands, NotesCommands: the commands of each subsystem.
class TBourse : public QWidget
{
    Q_OBJECT
public:
    enum Page { PageJournal = 0, PageTitres = 1, PageGraphique = 2, PageSaisie = 3 };

    explicit TBourse(QWidget *parent = nullptr);
    ~TBourse() override;

    BourseData &data() const { return *m_data; }
    JournalPage &journal() const { return *m_journal; }
    TitresPage &titres() const { return *m_titres; }
    ChartPage &chart() const { return *m_chart; }
    EntryPage &entry() const { return *m_entry; }
    MaintenanceCommands &maintenance() const { return *m_maintenance; }
    ChartCommands &charts() const { return *m_charts; }
    PortfolioCommands &portfolio() const { return *m_portfolio; }
    ExchangeCommands &exchange() const { return *m_exchange; }
    PrintCommands &print() const { return *m_print; }
    NotesCommands &notes() const { return *m_notes; }

    // Loads "Cours.vmq" and fills the views, the month list and the index.
    void Init();
    // Rebuilds the securities index and its two name lists.
    void Indexe();
    bool Trouve(const QString &text) const;

    // Navigation on the page shown.
    void Premier();
    void Precedent();
    void Suivant();
    void Dernier();
    void Journal();
    void Titres();

    int page() const;
    // Brings a page to the front; leaving the entry page transfers its grid.
    void showPage(int page);
    // The quotation list of the page shown; null on the other pages.
    QTableView *shownList() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // After a change of the security shown: its view, and its chart there.
    void showSecurity();

    BourseData *m_data = nullptr;
    QStackedWidget *m_pages = nullptr;
    JournalPage *m_journal = nullptr;
    TitresPage *m_titres = nullptr;
    ChartPage *m_chart = nullptr;
    EntryPage *m_entry = nullptr;
    std::unique_ptr<MaintenanceCommands> m_maintenance;
    std::unique_ptr<ChartCommands> m_charts;
    std::unique_ptr<PortfolioCommands> m_portfolio;
    std::unique_ptr<ExchangeCommands> m_exchange;
    std::unique_ptr<PrintCommands> m_print;
    std::unique_ptr<NotesCommands> m_notes;
};

// The document window: its pages and command objects, loading, the index
// and the navigation.
#include "document/TBourse.h"

#include "base/Prompts.h"
#include "document/ChartCommands.h"
#include "document/ChartPage.h"
#include "document/EntryPage.h"
#include "document/ExchangeCommands.h"
#include "document/JournalPage.h"
#include "document/MaintenanceCommands.h"
#include "document/NotesCommands.h"
#include "document/PortfolioCommands.h"
#include "document/PrintCommands.h"
#include "document/TitresPage.h"
#include "quotes/BourseData.h"

#include <QDir>
#include <QStackedWidget>
#include <QVBoxLayout>

TBourse::TBourse(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Bourse"));
    m_data = new BourseData(QDir::currentPath(), this);
    m_data->setPromptParent(this);
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);

    m_journal = new JournalPage(*this, *m_data, m_pages);
    m_titres = new TitresPage(*this, *m_data, m_pages);
    m_chart = new ChartPage(*this, *m_data, m_pages);
    m_entry = new EntryPage(*this, *m_data, m_pages);
    for (QWidget *page : std::initializer_list<QWidget *>{m_journal, m_titres, m_chart, m_entry})
        m_pages->addWidget(page);

    m_maintenance = std::make_unique<MaintenanceCommands>(*this, *m_data);
    m_charts = std::make_unique<ChartCommands>(*this, *m_data);
    m_portfolio = std::make_unique<PortfolioCommands>(*this, *m_data);
    m_exchange = std::make_unique<ExchangeCommands>(*this, *m_data);
    m_print = std::make_unique<PrintCommands>(*this, *m_data);
    m_notes = std::make_unique<NotesCommands>(*this, *m_data);

    // Becoming active: the monthly page, then the settings.
    m_pages->setCurrentIndex(PageJournal);
    m_data->ChargeIni();
}

TBourse::~TBourse() = default;

int TBourse::page() const
{
    return m_pages->currentIndex();
}

void TBourse::showPage(int page)
{
    const int before = m_pages->currentIndex();
    if (before == page) return;
    m_pages->setCurrentIndex(page);
    if (before == PageSaisie) m_entry->TabSheet4Exit();
}

QTableView *TBourse::shownList() const
{
    if (page() == PageJournal) return m_journal->list();
    if (page() == PageTitres) return m_titres->list();
    return nullptr;
}

void TBourse::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int nameWidth = std::max(width() - 450, 20);
    m_journal->setNameWidth(nameWidth);
    m_titres->setNameWidth(nameWidth);
    m_entry->layoutFields(width(), height());
}

// --- Loading and the index -----------------------------------------------------------

void TBourse::Init()
{
    repaint();
    const QString report = m_data->Init();
    m_journal->LitMois();
    m_journal->InitCombo();
    Indexe();
    if (!report.isEmpty()) Prompts::get().error(this, report);
}

void TBourse::Indexe()
{
    const QuoteLines &store = m_data->store();
    // From the keys of the lines when every code is six digits, or from the store.
    std::vector<qsizetype> firsts;
    m_data->setIndex(m_data->firstLineOfEachCode(&firsts) ? buildIndex(store, firsts)
                                                          : buildIndex(store));
    // The name lists show the security of the first line of the store.
    QString first;
    for (const QString &line : store) {
        if (!quote::codeOf(line).trimmed().isEmpty()) {
            first = quote::nameOf(line);
            break;
        }
    }
    QStringList names;
    names.reserve(m_data->index().size());
    for (const QString &entry : std::as_const(m_data->index()))
        names.append(entry.mid(6));
    m_titres->setNames(names, first);
    m_chart->setNames(names, first);
}

bool TBourse::Trouve(const QString &text) const
{
    return indexHasPrefix(m_data->index(), text);
}

// --- Navigation ----------------------------------------------------------------------

void TBourse::showSecurity()
{
    m_titres->LitTitre();
    if (page() == PageGraphique) m_chart->Dessine();
}

void TBourse::Premier()
{
    BourseData &d = *m_data;
    if (page() == PageJournal) {
        if (!d.firstDate().isValid()) return; // an empty store has no month
        d.setCurrentMonth(d.firstDate());
        m_journal->LitMois();
    } else if (page() == PageTitres || page() == PageGraphique) {
        d.setCurrentSecurity(0);
        showSecurity();
    }
}

void TBourse::Precedent()
{
    BourseData &d = *m_data;
    if (page() == PageJournal) {
        const QDate m = d.currentMonth();
        if (d.firstDate().isValid() && m > d.firstDate()) {
            d.setCurrentMonth(QDate(m.year(), m.month(), 1).addMonths(-1));
            m_journal->LitMois();
        }
    } else if (page() == PageTitres || page() == PageGraphique) {
        if (d.currentSecurity() >= 1) {
            d.setCurrentSecurity(d.currentSecurity() - 1);
            showSecurity();
        }
    }
}

void TBourse::Suivant()
{
    BourseData &d = *m_data;
    if (page() == PageJournal) {
        const QDate m = d.currentMonth();
        if (d.lastDate().isValid() && m < d.lastDate()) {
            d.setCurrentMonth(QDate(m.year(), m.month(), 1).addMonths(1));
            m_journal->LitMois();
        }
    } else if (page() == PageTitres || page() == PageGraphique) {
        if (d.currentSecurity() != d.index().size() - 1) {
            d.setCurrentSecurity(d.currentSecurity() + 1);
            showSecurity();
        }
    }
}

void TBourse::Dernier()
{
    BourseData &d = *m_data;
    if (page() == PageJournal) {
        if (!d.lastDate().isValid()) return;
        d.setCurrentMonth(d.lastDate());
        m_journal->LitMois();
    } else if (page() == PageTitres || page() == PageGraphique) {
        d.setCurrentSecurity(int(d.index().size()) - 1);
        showSecurity();
    }
}

void TBourse::Journal()
{
    showPage(PageJournal);
    m_journal->LitMois();
}

void TBourse::Titres()
{
    showPage(PageTitres);
    m_titres->LitTitre();
}

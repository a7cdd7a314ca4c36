#include "document/PrintCommands.h"

#include "base/Prompts.h"
#include "charts/printedcharts.h"
#include "charts/series.h"
#include "document/ChartPage.h"
#include "document/JournalPage.h"
#include "document/TBourse.h"
#include "document/TitresPage.h"
#include "print/PrintPreview.h"
#include "print/printer.h"
#include "quotes/BourseData.h"
#include "quotes/QuoteListModel.h"

#include <QComboBox>
#include <QPrinter>

namespace
{
QList<QStringList> rowsOf(const QuoteListModel &model)
{
    QList<QStringList> rows;
    rows.reserve(model.rowCount());
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells.append(model.cell(r, c));
        rows.append(cells);
    }
    return rows;
}
} // namespace

void PrintCommands::Imprimer()
{
    QPrinter &printer = sharedPrinter();
    if (!Prompts::get().printDialog(&m_doc, &printer)) return;
    const QString title = documentTitle();
    if (title.isEmpty()) return; // the entry page prints nothing
    previewAndPrint(&m_doc, printer, title,
                    [this](QPagedPaintDevice &device) { return Imprimer(device); });
}

QString PrintCommands::documentTitle() const
{
    switch (m_doc.page()) {
    case TBourse::PageJournal:
        return QStringLiteral("Journal de ") + m_doc.journal().monthText();
    case TBourse::PageTitres:
        return QStringLiteral("Evolution de ") + m_doc.titres().currentName();
    case TBourse::PageGraphique:
        return QStringLiteral("Graphique de ") + m_doc.titres().currentName();
    default:
        return {};
    }
}

bool PrintCommands::Imprimer(QPagedPaintDevice &device)
{
    const PrintedPage page{PageMap(device), device.heightMM()};
    switch (m_doc.page()) {
    case TBourse::PageJournal:
        m_doc.journal().LitMois();
        return printSteps(device,
                          printedList(page, documentTitle(), rowsOf(*m_doc.journal().model())));
    case TBourse::PageTitres:
        m_doc.titres().LitTitre();
        return printSteps(device,
                          printedList(page, documentTitle(), rowsOf(*m_doc.titres().model())));
    case TBourse::PageGraphique: {
        m_doc.titres().LitTitre();
        Settings s = m_data.settings();
        const DrawSteps steps = printedPriceChart(page.map, m_doc.titres().currentName(),
                                                  m_doc.chart().history(), s.maSwitch, s.maLength);
        m_data.setSettings(s);
        return printSteps(device, steps);
    }
    default:
        return false; // the entry page prints nothing
    }
}

#include "document/ExchangeCommands.h"

#include "base/Prompts.h"
#include "base/textfile.h"
#include "document/JournalPage.h"
#include "document/TBourse.h"
#include "document/TitresPage.h"
#include "exchange/TExport.h"
#include "exchange/THttpGet.h"
#include "exchange/TImport.h"
#include "exchange/exporting.h"
#include "quotes/BourseData.h"

#include <QFileInfo>
#include <QTableView>

const QString ExchangeCommands::kImportFilter =
    QStringLiteral("Fichiers de cours (*.txt *.inf *.csv *.tsv);;Tous les fichiers (*)");
const QString ExchangeCommands::kExportFilter = kImportFilter;

void ExchangeCommands::Importer()
{
    TImport dialog(&m_doc);
    importWith(dialog);
}

void ExchangeCommands::Importer2()
{
    TImport2 dialog(&m_doc);
    importWith(dialog);
}

void ExchangeCommands::importWith(TImport &dialog)
{
    // After a download, the file received is proposed.
    const QString file = Prompts::get().openFileName(&m_doc, QStringLiteral("Importer"),
                                                     m_lastDownload, kImportFilter);
    if (file.isEmpty()) return;
    importFile(dialog, file);
}

void ExchangeCommands::importFile(TImport &dialog, const QString &file)
{
    dialog.Init(file, m_data.lastDate(), m_data.store(), m_data.index());
    Prompts::get().exec(&dialog);
    importing::Selection chosen;
    // A threshold or a line that does not read ends the command here, the
    // store untouched.
    const bool confirmed = dialog.Result(m_data.store(), m_data.index(), chosen);
    // Even a cancelled import takes the undo copy and marks the store.
    const bool newCodes = m_data.appendLines(BourseData::Change::Import, chosen.lines);

    qsizetype bad = -1;
    const QDate last = BourseData::storeDate(m_data.store(), true, &bad);
    if (last.isValid()) {
        QDate first = m_data.firstDate();
        if (!first.isValid()) first = BourseData::storeDate(m_data.store(), false, &bad);
        m_data.setPeriod(m_data.periodMode(), first, last);
        m_data.setCurrentMonth(last);
    }
    m_doc.journal().LitMois();
    m_doc.journal().InitCombo();
    if (newCodes) m_doc.Indexe();
    m_doc.titres().LitTitre();

    if (confirmed) Prompts::get().information(&m_doc, importing::summary(chosen));
}

void ExchangeCommands::Exporter()
{
    if (m_doc.page() == TBourse::PageJournal)
        Export1();
    else if (m_doc.page() == TBourse::PageTitres)
        Export2();
}

void ExchangeCommands::Export1()
{
    exportList(m_doc.shownList());
}

void ExchangeCommands::Export2()
{
    exportList(m_doc.shownList());
}

void ExchangeCommands::exportList(QTableView *list)
{
    if (!list || !list->model()) return;
    const QString proposed = m_exportName.isEmpty() ? QStringLiteral("Export.txt") : m_exportName;
    const QString name = Prompts::get().saveFileName(&m_doc, QStringLiteral("Exporter"), proposed,
                                                     kExportFilter, QStringLiteral("txt"));
    if (name.isEmpty()) return;
    m_exportName = name;
    // A file for a spreadsheet: its options asked, semicolons, UTF-8 and a
    // heading proposed.
    exporting::Options options;
    if (name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        TExport dialog(&m_doc);
        dialog.Init(exporting::spreadsheet());
        Prompts::get().exec(&dialog);
        if (!dialog.Result(options)) return;
    }
    // Written whole beside, then put in place: a failure leaves the former file.
    if (options.isDefault()) {
        writeLines(name, exporting::lines(*list->model()));
        return;
    }
    const QByteArray bytes = exporting::bytes(*list->model(), options);
    writeBytes(name,
               [&bytes](const ByteSink &sink) { return sink(bytes.constData(), bytes.size()); });
}

void ExchangeCommands::GetCours()
{
    THttpGet window(&m_doc);
    window.Init(m_data.sites(), m_data.sitePosition());
    Prompts::get().exec(&window);
    QStringList sites = m_data.sites();
    int position = 0;
    window.Result(sites, position);
    m_data.setSites(std::move(sites));
    m_data.setSitePosition(position);
    if (window.received().isEmpty()) return;
    m_lastDownload = QFileInfo(window.received()).absoluteFilePath();
    if (window.importAsked()) {
        TImport dialog(&m_doc);
        importFile(dialog, m_lastDownload);
    }
}

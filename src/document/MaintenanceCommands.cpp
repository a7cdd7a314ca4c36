// Maintenance commands: undo, conversion, split, deletions, reorganisation,
// sorts, the period, and the correction of a line.
#include "document/MaintenanceCommands.h"

#include "base/Prompts.h"
#include "base/formats.h"
#include "document/ChartPage.h"
#include "document/JournalPage.h"
#include "document/PageKit.h"
#include "document/TBourse.h"
#include "document/TitresPage.h"
#include "quotes/BourseData.h"
#include "quotes/QuoteListModel.h"
#include "quotes/TConvert.h"
#include "quotes/TDivise.h"
#include "quotes/TModif.h"
#include "quotes/TReorg.h"
#include "quotes/TSeldate.h"
#include "quotes/TSupp.h"
#include "quotes/maintenance.h"

#include <QItemSelectionModel>
#include <QTableView>

namespace
{

// The rows whose flag is `state`, one range per run of such rows.
QItemSelection rowRuns(const QAbstractItemModel *model, const QList<bool> &flags, bool state)
{
    QItemSelection runs;
    const int lastColumn = model->columnCount() - 1;
    const int n = int(flags.size());
    for (int r = 0; r < n;) {
        if (flags[r] != state) {
            ++r;
            continue;
        }
        const int top = r;
        while (r < n && flags[r] == state)
            ++r;
        runs.append(QItemSelectionRange(model->index(top, 0), model->index(r - 1, lastColumn)));
    }
    return runs;
}

// Replaces the selection of a list in one step. Qt compares the former and
// the new selection range by range, which is quadratic when thousands of
// rows are selected apart; from an empty selection both steps stay linear.
void replaceSelection(QTableView *list, const QItemSelection &selection)
{
    QItemSelectionModel *model = list->selectionModel();
    model->clearSelection();
    if (!selection.isEmpty()) model->select(selection, QItemSelectionModel::Select);
}

} // namespace

void MaintenanceCommands::Annuler()
{
    const bool codesChanged = m_data.restoreUndo();
    m_doc.journal().LitMois();
    m_doc.journal().InitCombo();
    // A security the undo brings back (or takes away) shows at once.
    if (codesChanged) m_doc.Indexe();
    m_doc.titres().LitTitre();
}

void MaintenanceCommands::Convertir()
{
    QString codeDebut, codeFin;
    if (m_doc.page() == TBourse::PageJournal) {
        codeDebut = QStringLiteral("00000");
        codeFin = QStringLiteral("99999");
    } else if (m_doc.page() == TBourse::PageTitres) {
        codeDebut = codeFin = m_data.currentCode();
    }
    TConvert dialog(&m_doc);
    dialog.Init(m_data.firstDate(), m_data.lastDate(), m_data.settings().euroRate, codeDebut,
                codeFin);
    Prompts::get().exec(&dialog);
    QDate debut, fin;
    const int direction = dialog.Result(debut, fin, codeDebut, codeFin);
    if (direction == 0) return;
    // A refused conversion (a price that would overflow) changes nothing,
    // the undo copy included.
    ExecCvt(direction, toStored(debut), toStored(fin), codeDebut, codeFin,
            m_data.settings().euroRate);
    m_doc.journal().LitMois();
    m_doc.titres().LitTitre();
}

void MaintenanceCommands::ExecCvt(int direction, const QString &dateDebut, const QString &dateFin,
                                  const QString &codeDebut, const QString &codeFin, double factor,
                                  BourseData::Change kind)
{
    m_data.changePrices(
        kind,
        [&](const QuoteLines &store) {
            maintenance::checkPrices(store, direction, dateDebut, dateFin, codeDebut, codeFin,
                                     factor);
        },
        [&](QuoteLines &store, QuoteLines::Former &former) {
            maintenance::overwritePrices(store, former, direction, dateDebut, dateFin, codeDebut,
                                         codeFin, factor);
        });
}

void MaintenanceCommands::Diviser()
{
    if (m_doc.page() != TBourse::PageTitres) return;
    TDivise dialog(&m_doc);
    dialog.Init(m_data.currentCode(), m_data.firstDate(), m_data.lastDate());
    Prompts::get().exec(&dialog);
    QDate debut, fin;
    QString chosen;
    const int coefficient = dialog.Result(debut, fin, chosen);
    if (coefficient == 0) return;
    ExecCvt(1, toStored(debut), toStored(fin), chosen, chosen, coefficient,
            BourseData::Change::Split);
    m_doc.titres().LitTitre();
}

void MaintenanceCommands::SupTitre()
{
    TSupp dialog(&m_doc);
    dialog.Init(m_data.index(),
                m_doc.page() == TBourse::PageTitres ? m_data.currentSecurity() : -1);
    Prompts::get().exec(&dialog);
    const QString code = dialog.Result();
    if (code.isEmpty()) return;
    m_data.change(BourseData::Change::SecurityDeletion,
                  [&](QuoteLines &store) { maintenance::removeSecurity(store, code); });
    m_doc.Indexe();
    m_doc.journal().LitMois();
    m_doc.titres().LitTitre();
    // The index may have shrunk below the current security: its deleted lines
    // must not stay on show.
    if (m_data.currentCode().isEmpty()) m_doc.titres().model()->setLines({});
    Prompts::get().information(&m_doc,
                               QStringLiteral("Titre ") + code + QStringLiteral(" a été supprimé"));
}

void MaintenanceCommands::Selection(QTableView *list)
{
    if (!list) return;
    const QAbstractItemModel *model = list->model();
    const int rows = model->rowCount();
    if (rows == 0) return;
    replaceSelection(
        list, QItemSelection(model->index(0, 0), model->index(rows - 1, model->columnCount() - 1)));
}

void MaintenanceCommands::SelectAll()
{
    if (pagekit::selectFieldText()) return;
    Selection(m_doc.shownList());
}

void MaintenanceCommands::Selectinv(QTableView *list)
{
    if (!list) return;
    replaceSelection(list, rowRuns(list->model(), pagekit::selectedFlags(list), false));
}

void MaintenanceCommands::Inverser()
{
    Selectinv(m_doc.shownList());
}

void MaintenanceCommands::SupLignes(QTableView *list)
{
    // Exactly the lines shown selected go, even when another line has the
    // same date and code.
    if (!list) return;
    const QList<ShownLine> lines = pagekit::selectedLines(list);
    m_data.removeLines(BourseData::Change::LineDeletion,
                       [&](QuoteLines &store, std::vector<qint32> &removed) {
                           shown::remove(store, lines, &removed);
                       });
}

void MaintenanceCommands::Supprimer()
{
    QTableView *list = m_doc.shownList();
    // The undo copy is taken and the flag set on every page.
    if (list)
        SupLignes(list);
    else
        m_data.change(BourseData::Change::LineDeletion, [](QuoteLines &) {});
    if (m_doc.page() == TBourse::PageJournal) m_doc.journal().LitMois();
    if (m_doc.page() == TBourse::PageTitres) m_doc.titres().LitTitre();
}

void MaintenanceCommands::Reorganiser()
{
    TReorg dialog(&m_doc);
    dialog.Init(m_data.firstDate(), m_data.store().size() - 1);
    Prompts::get().exec(&dialog);
    QDate oldest;
    const int keep = dialog.Result(oldest);
    if (keep <= 0) return;
    if (m_data.store().size() - keep <= 0) return;
    m_data.change(BourseData::Change::Reorganisation, [&](QuoteLines &store) {
        maintenance::reorganise(store, toStored(oldest), keep);
    });
    qsizetype bad = -1;
    m_data.setPeriod(m_data.periodMode(), BourseData::storeDate(m_data.store(), false, &bad),
                     m_data.lastDate());
    m_doc.journal().InitCombo();
    m_doc.showPage(TBourse::PageJournal);
    m_doc.Premier();
}

void MaintenanceCommands::TrierNom()
{
    m_data.changeWithKeys(BourseData::Change::SortByName,
                          [](QuoteLines &store, const maintenance::KeysOfSorted &keys,
                             maintenance::Reordered *reordered) {
                              maintenance::sortByName(store, 0, keys, reordered);
                          });
    m_doc.journal().LitMois();
}

void MaintenanceCommands::TrierCode()
{
    m_data.changeWithKeys(BourseData::Change::SortByCode,
                          [](QuoteLines &store, const maintenance::KeysOfSorted &keys,
                             maintenance::Reordered *reordered) {
                              maintenance::sortByCode(store, 0, keys, reordered);
                          });
    m_doc.journal().LitMois();
}

bool MaintenanceCommands::Selectionner(int mode)
{
    if (mode == 0) {
        m_data.setPeriod(0, m_data.firstDate(), m_data.lastDate());
        m_data.resetPeriodDates();
        m_doc.journal().InitCombo();
        // The page shown leaves the former period at once.
        const int page = m_doc.page();
        if (page == TBourse::PageJournal) m_doc.journal().LitMois();
        if (page == TBourse::PageTitres || page == TBourse::PageGraphique)
            m_doc.titres().LitTitre();
        if (page == TBourse::PageGraphique) m_doc.chart().Dessine();
        return false;
    }
    m_data.setPeriod(1, m_data.firstDate(), m_data.lastDate());
    TSeldate dialog(&m_doc);
    dialog.Init(m_data.firstDate(), m_data.lastDate());
    Prompts::get().exec(&dialog);
    QString debut, fin;
    dialog.Result(debut, fin);
    if (debut.isEmpty()) return false;
    // Both dates are read before either is taken: a wrong one changes nothing.
    const QDate first = readShownDate(debut);
    const QDate last = readShownDate(fin);
    m_data.setPeriod(1, first, last);
    m_doc.journal().InitCombo();
    // The security shown stays: its view and chart follow the new period.
    const int page = m_doc.page();
    if (page == TBourse::PageTitres || page == TBourse::PageGraphique) {
        m_doc.titres().LitTitre();
        if (page == TBourse::PageGraphique) m_doc.chart().Dessine();
    } else {
        m_doc.Premier();
    }
    return true;
}

void MaintenanceCommands::Modifier()
{
    QTableView *list = m_doc.shownList();
    if (!list) return;
    const QList<ShownLine> lines = pagekit::selectedLines(list);
    if (lines.size() != 1) return;
    MajModif(lines.first());
    if (list == m_doc.journal().list())
        m_doc.journal().LitMois();
    else
        m_doc.titres().LitTitre();
}

void MaintenanceCommands::MajModif(const ShownLine &shownLine)
{
    // Exactly the line the row shows, even beside another of the same date
    // and code.
    const qsizetype at = shown::locate(m_data.store(), shownLine);
    if (at < 0) return;
    TModif dialog(&m_doc);
    dialog.Init(m_data.store().at(at));
    Prompts::get().exec(&dialog);
    QString line;
    dialog.Result(line);
    if (line.isEmpty()) return;
    const bool newCode = m_data.change(BourseData::Change::Correction,
                                       [&](QuoteLines &store) { store.set(at, line); });
    if (newCode) m_doc.Indexe();
}

// Maintenance commands: undo, conversion, split, deletions, reorganisation,
// sorts and the period.
#include "quotes/TBourse.h"

#include "base/Prompts.h"
#include "base/formats.h"
#include "quotes/TConvert.h"
#include "quotes/TDivise.h"
#include "quotes/TReorg.h"
#include "quotes/TSeldate.h"
#include "quotes/TSupp.h"
#include "quotes/maintenance.h"
#include "quotes/quotelistmodel.h"

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

void TBourse::Annuler()
{
    m_store = m_undo;
    if (!m_store.isEmpty()) {
        qsizetype bad = -1;
        m_last = storeDate(m_store, true, &bad);
        if (m_last.isValid()) m_month = m_last;
    }
    LitMois();
    InitCombo();
    LitTitre();
}

void TBourse::Convertir()
{
    QString codeDebut, codeFin;
    if (page() == PageJournal) {
        codeDebut = QStringLiteral("00000");
        codeFin = QStringLiteral("99999");
    } else if (page() == PageTitres && m_security >= 0 && m_security < m_index.size()) {
        codeDebut = codeFin = m_index[m_security].left(6);
    }
    TConvert dialog(this);
    dialog.Init(m_first, m_last, m_settings.euroRate, codeDebut, codeFin);
    Prompts::get().exec(&dialog);
    QDate debut, fin;
    const int direction = dialog.Result(debut, fin, codeDebut, codeFin);
    if (direction == 0) return;
    // A refused conversion (a price that would overflow) changes nothing,
    // the undo copy included.
    QStringList before = m_store;
    ExecCvt(direction, toStored(debut), toStored(fin), codeDebut, codeFin, m_settings.euroRate);
    m_undo = std::move(before);
    LitMois();
    LitTitre();
    m_modified = true;
}

void TBourse::ExecCvt(int direction, const QString &dateDebut, const QString &dateFin,
                      const QString &codeDebut, const QString &codeFin, double factor)
{
    maintenance::rewritePrices(m_store, direction, dateDebut, dateFin, codeDebut, codeFin, factor);
}

void TBourse::Diviser()
{
    if (page() != PageTitres) return;
    const QString code =
        m_security >= 0 && m_security < m_index.size() ? m_index[m_security].left(6) : QString();
    TDivise dialog(this);
    dialog.Init(code, m_first, m_last);
    Prompts::get().exec(&dialog);
    QDate debut, fin;
    QString chosen;
    const int coefficient = dialog.Result(debut, fin, chosen);
    if (coefficient == 0) return;
    QStringList before = m_store;
    ExecCvt(1, toStored(debut), toStored(fin), chosen, chosen, coefficient);
    m_undo = std::move(before);
    LitTitre();
    m_modified = true;
}

void TBourse::SupTitre()
{
    TSupp dialog(this);
    dialog.Init(m_index, page() == PageTitres ? m_security : -1);
    Prompts::get().exec(&dialog);
    const QString code = dialog.Result();
    if (code.isEmpty()) return;
    m_undo = m_store;
    maintenance::removeSecurity(m_store, code);
    Indexe();
    LitMois();
    LitTitre();
    // The index may have shrunk below the current security: its deleted lines
    // must not stay on show.
    if (m_security < 0 || m_security >= m_index.size()) m_securityModel->setLines({});
    Prompts::get().information(this,
                               QStringLiteral("Titre ") + code + QStringLiteral(" a été supprimé"));
    m_modified = true;
}

void TBourse::Selection(QTableView *list)
{
    if (!list) return;
    const QAbstractItemModel *model = list->model();
    const int rows = model->rowCount();
    if (rows == 0) return;
    replaceSelection(
        list, QItemSelection(model->index(0, 0), model->index(rows - 1, model->columnCount() - 1)));
}

void TBourse::SelectAll()
{
    Selection(shownList());
}

void TBourse::Selectinv(QTableView *list)
{
    if (!list) return;
    replaceSelection(list, rowRuns(list->model(), selectedFlags(list), false));
}

void TBourse::Inverser()
{
    Selectinv(shownList());
}

void TBourse::SupLignes(QTableView *list)
{
    // Exactly the lines shown selected go, even when another line has the
    // same date and code.
    shown::remove(m_store, selectedLines(list));
}

void TBourse::Supprimer()
{
    m_undo = m_store;
    if (page() == PageJournal) {
        SupLignes(m_listView1);
        LitMois();
    } else if (page() == PageTitres) {
        SupLignes(m_listView2);
        LitTitre();
    }
    m_modified = true;
}

void TBourse::Reorganiser()
{
    TReorg dialog(this);
    dialog.Init(m_first, m_store.size() - 1);
    Prompts::get().exec(&dialog);
    QDate oldest;
    const int keep = dialog.Result(oldest);
    if (keep <= 0) return;
    if (m_store.size() - keep <= 0) return;
    m_undo = m_store;
    maintenance::reorganise(m_store, toStored(oldest), keep);
    qsizetype bad = -1;
    m_first = storeDate(m_store, false, &bad);
    InitCombo();
    showPage(PageJournal);
    Premier();
    m_modified = true;
}

void TBourse::TrierNom()
{
    m_undo = m_store;
    maintenance::sortByName(m_store);
    LitMois();
    m_modified = true;
}

void TBourse::TrierCode()
{
    m_undo = m_store;
    maintenance::sortByCode(m_store);
    LitMois();
    m_modified = true;
}

bool TBourse::Selectionner(int mode)
{
    if (mode == 0) {
        m_periodMode = 0;
        if (!m_store.isEmpty()) {
            qsizetype bad = -1;
            m_first = storeDate(m_store, false, &bad);
            m_last = storeDate(m_store, true, &bad);
        }
        InitCombo();
        // The page shown leaves the former period at once.
        if (page() == PageJournal) LitMois();
        if (page() == PageTitres || page() == PageGraphique) LitTitre();
        if (page() == PageGraphique) Dessine();
        return false;
    }
    m_periodMode = 1;
    TSeldate dialog(this);
    dialog.Init(m_first, m_last);
    Prompts::get().exec(&dialog);
    QString debut, fin;
    dialog.Result(debut, fin);
    if (debut.isEmpty()) return false;
    // Both dates are read before either is taken: a wrong one changes nothing.
    const QDate first = readShownDate(debut);
    const QDate last = readShownDate(fin);
    m_first = first;
    m_last = last;
    InitCombo();
    Premier();
    return true;
}

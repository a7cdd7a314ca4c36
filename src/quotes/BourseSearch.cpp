// Value search in the monthly view, and the entry page's copy buffer.
#include "quotes/TBourse.h"

#include "base/Prompts.h"
#include "quotes/entry.h"
#include "quotes/quotelistmodel.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>

void TBourse::Rechercher()
{
    if (page() != PageJournal) return;
    QString text;
    Prompts::get().inputText(this, QStringLiteral("Rechercher une valeur"),
                             QStringLiteral("Taper le code ou le libellé"), text);
    m_searchText = entry::searchCode(m_index, text);
    if (m_searchText.isEmpty()) return;
    m_searchPos = 0;
    Rech();
}

void TBourse::Rech()
{
    // The focus goes to the view first: leaving the month list may refill it.
    m_listView1->setFocus(Qt::OtherFocusReason);
    const int rows = m_monthModel->rowCount();
    int found = -1;
    for (int r = std::max(m_searchPos, 0); r < rows; ++r) {
        if (m_monthModel->cell(r, 1) == m_searchText) {
            found = r;
            break;
        }
    }
    if (found >= 0) {
        // The find joins the rows already selected.
        const QModelIndex at = m_monthModel->index(found, 0);
        QItemSelectionModel *selection = m_listView1->selectionModel();
        selection->select(at, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
        m_searchPos = found;
    } else {
        Prompts::get().information(this, QStringLiteral("Valeur ") + m_searchText +
                                             QStringLiteral(" non trouvée"));
    }
    if (found >= 0)
        m_listView1->scrollTo(m_monthModel->index(found, 0), QAbstractItemView::EnsureVisible);
    else
        m_listView1->scrollToTop();
}

void TBourse::continuer()
{
    if (m_searchPos >= 0 && m_searchPos < m_monthModel->rowCount())
        m_listView1->selectionModel()->select(m_monthModel->index(m_searchPos, 0),
                                              QItemSelectionModel::Deselect |
                                                  QItemSelectionModel::Rows);
    ++m_searchPos;
    Rech();
}

void TBourse::Copier()
{
    if (page() != PageSaisie) return;
    m_entryBuffer = {m_maskEdit1->displayText(), m_comboBox4->currentText(), m_edit2->text(),
                     m_edit3->text(), m_edit6->text()};
}

void TBourse::Coller()
{
    if (page() != PageSaisie || m_entryBuffer.size() <= 4) return;
    m_maskEdit1->setText(m_entryBuffer.at(0));
    m_comboBox4->setEditText(m_entryBuffer.at(1));
    m_edit2->setText(m_entryBuffer.at(2));
    m_edit3->setText(m_entryBuffer.at(3));
    m_edit6->setText(m_entryBuffer.at(4));
}

#include "document/JournalPage.h"

#include "base/Prompts.h"
#include "base/formats.h"
#include "document/MaintenanceCommands.h"
#include "document/PageKit.h"
#include "document/TBourse.h"
#include "document/TitresPage.h"
#include "quotes/BourseData.h"
#include "quotes/QuoteListModel.h"
#include "quotes/entry.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

JournalPage::JournalPage(TBourse &doc, BourseData &data, QWidget *parent)
    : QWidget(parent), m_doc(doc), m_data(data)
{
    setObjectName(QStringLiteral("TabSheet1"));
    m_comboBox1 = pagekit::pageCombo(this, QStringLiteral("ComboBox1"), 220);
    m_monthModel = new QuoteListModel(this);
    m_listView1 = pagekit::quoteList(m_monthModel, QStringLiteral("ListView1"));
    pagekit::onDeleteKey(m_listView1, [this] { m_doc.maintenance().Supprimer(); });
    pagekit::layoutPage(this, QStringLiteral("Journal"), m_comboBox1, m_listView1);

    connect(m_comboBox1, &QComboBox::activated, this,
            [this] { runCommand(this, [this] { ComboBox1Change(); }); });
    connect(m_comboBox1->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { runCommand(this, [this] { ComboBox1Change(); }); });
    connect(m_listView1, &QTableView::doubleClicked, this, [this] { ListView1DblClick(); });
}

void JournalPage::setNameWidth(int width)
{
    m_listView1->setColumnWidth(2, width);
}

QString JournalPage::monthText() const
{
    return m_comboBox1->currentText();
}

void JournalPage::LitMois()
{
    const QDate month = m_data.currentMonth();
    // Without a month (an empty store) the view and the month's text stay empty.
    QList<qsizetype> positions = month.isValid() ? m_data.monthLines(month) : QList<qsizetype>();
    QuoteLines rows = m_data.store().picked(positions);
    m_monthModel->setLines(std::move(rows), std::move(positions));
    pagekit::showText(m_comboBox1, month.isValid() ? monthEntry(month) : QString());
}

void JournalPage::InitCombo()
{
    m_comboBox1->clear();
    const QStringList months = monthEntries(m_data.firstDate(), m_data.lastDate());
    m_comboBox1->addItems(months);
    pagekit::showText(m_comboBox1, months.isEmpty() ? QString() : months.constLast());
}

void JournalPage::ComboBox1Change()
{
    m_data.setCurrentMonth(readMonthEntry(m_comboBox1->currentText()));
    LitMois();
}

void JournalPage::ListView1DblClick()
{
    const QList<int> rows = pagekit::selectedRows(m_listView1);
    if (rows.size() != 1) return;
    const QString code = m_monthModel->cell(rows.first(), 1);
    const QStringList &index = m_data.index();
    for (int i = 0; i < index.size(); ++i) {
        if (index[i].contains(code)) {
            m_data.setCurrentSecurity(i);
            break;
        }
    }
    m_doc.showPage(TBourse::PageTitres);
    m_doc.titres().LitTitre();
}

// --- Value search ------------------------------------------------------------------

void JournalPage::Rechercher()
{
    if (m_doc.page() != TBourse::PageJournal) return;
    QString text;
    Prompts::get().inputText(this, QStringLiteral("Rechercher une valeur"),
                             QStringLiteral("Taper le code ou le libellé"), text);
    m_searchText = entry::searchCode(m_data.index(), text);
    if (m_searchText.isEmpty()) return;
    m_searchPos = 0;
    Rech();
}

void JournalPage::Rech()
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

void JournalPage::continuer()
{
    if (m_searchPos >= 0 && m_searchPos < m_monthModel->rowCount())
        m_listView1->selectionModel()->select(m_monthModel->index(m_searchPos, 0),
                                              QItemSelectionModel::Deselect |
                                                  QItemSelectionModel::Rows);
    ++m_searchPos;
    Rech();
}

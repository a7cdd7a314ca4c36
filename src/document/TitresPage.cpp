#include "document/TitresPage.h"

#include "base/Prompts.h"
#include "document/ChartPage.h"
#include "document/MaintenanceCommands.h"
#include "document/PageKit.h"
#include "document/TBourse.h"
#include "quotes/BourseData.h"
#include "quotes/QuoteListModel.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>

TitresPage::TitresPage(TBourse &doc, BourseData &data, QWidget *parent)
    : QWidget(parent), m_doc(doc), m_data(data)
{
    setObjectName(QStringLiteral("TabSheet2"));
    m_comboBox2 = pagekit::pageCombo(this, QStringLiteral("ComboBox2"), 240);
    m_securityModel = new QuoteListModel(this);
    m_listView2 = pagekit::quoteList(m_securityModel, QStringLiteral("ListView2"));
    pagekit::onDeleteKey(m_listView2, [this] { m_doc.maintenance().Supprimer(); });
    pagekit::layoutPage(this, QStringLiteral("Titres"), m_comboBox2, m_listView2);

    connect(m_comboBox2, &QComboBox::activated, this, [this] { ComboBox2Change(); });
}

void TitresPage::setNameWidth(int width)
{
    m_listView2->setColumnWidth(2, width);
}

void TitresPage::setNames(const QStringList &names, const QString &first)
{
    m_comboBox2->clear();
    m_comboBox2->addItems(names);
    pagekit::showText(m_comboBox2, first);
}

void TitresPage::showName(const QString &name, int position)
{
    pagekit::showText(m_comboBox2, name, position);
}

QString TitresPage::currentName() const
{
    return m_comboBox2->currentText();
}

int TitresPage::currentEntry() const
{
    return m_comboBox2->currentIndex();
}

void TitresPage::TriVi()
{
    QStringList index = m_data.index();
    sortIndexByName(index);
    m_data.setIndex(std::move(index));
    QStringList names;
    for (const QString &entry : std::as_const(m_data.index()))
        names.append(entry.mid(6));
    m_comboBox2->clear();
    m_comboBox2->addItems(names);
}

void TitresPage::LitTitre()
{
    const int security = m_data.currentSecurity();
    const QStringList &index = m_data.index();
    if (security < 0 || security >= index.size()) return;
    const QString name = m_comboBox2->itemText(security);
    pagekit::showText(m_comboBox2, name, security);
    m_doc.chart().showName(name, security);
    QList<qsizetype> positions = m_data.codeLines(index[security].left(6));
    QuoteLines rows = m_data.store().picked(positions);
    m_securityModel->setLines(std::move(rows), std::move(positions));
}

void TitresPage::ComboBox2Change()
{
    const int i = m_comboBox2->currentIndex();
    if (i < 0 || m_comboBox2->itemText(i) != m_comboBox2->currentText()) return;
    m_data.setCurrentSecurity(i);
    LitTitre();
}

#include "document/ChartPage.h"

#include "base/formats.h"
#include "charts/PaintArea.h"
#include "quotes/QuoteListModel.h"

#include "document/PageKit.h"
#include "document/TBourse.h"
#include "document/TitresPage.h"
#include "quotes/BourseData.h"

#include <QComboBox>
#include <QVBoxLayout>

ChartPage::ChartPage(TBourse &doc, BourseData &data, QWidget *parent)
    : QWidget(parent), m_doc(doc), m_data(data)
{
    setObjectName(QStringLiteral("TabSheet3"));
    m_comboBox3 = pagekit::pageCombo(this, QStringLiteral("ComboBox3"), 240);
    m_paintBox1 = new PaintArea(this);
    m_paintBox1->setSource([this](QSize size, const TextMeasure &measure) {
        Settings settings = m_data.settings();
        auto steps = priceChart(size, history(), settings.maSwitch, settings.maLength, measure);
        m_data.setSettings(settings);
        return steps;
    });
    pagekit::layoutPage(this, QStringLiteral("Graphique"), m_comboBox3, m_paintBox1);

    connect(m_comboBox3, &QComboBox::activated, this, [this] { ComboBox3Change(); });
}

History ChartPage::history() const
{
    History h = historyOf(m_doc.titres().model()->lines());
    const Period period = m_data.period();
    if (period.mode == 1) {
        h.from = storedToShown(period.first);
        h.to = storedToShown(period.last);
    } else if (m_data.firstDate().isValid()) {
        h.from = toShown(m_data.firstDate());
        h.to = toShown(m_data.lastDate());
    }
    return h;
}

void ChartPage::setNames(const QStringList &names, const QString &first)
{
    m_comboBox3->clear();
    m_comboBox3->addItems(names);
    pagekit::showText(m_comboBox3, first);
}

void ChartPage::showName(const QString &name, int position)
{
    pagekit::showText(m_comboBox3, name, position);
}

void ChartPage::ComboBox3Change()
{
    const int i = m_comboBox3->currentIndex();
    if (i < 0 || m_comboBox3->itemText(i) != m_comboBox3->currentText()) return;
    m_data.setCurrentSecurity(i);
    m_doc.titres().showName(m_comboBox3->currentText(), i);
    m_doc.titres().LitTitre();
    Dessine();
}

void ChartPage::Dessine()
{
    m_paintBox1->update();
}

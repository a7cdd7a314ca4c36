#include "document/ChartPage.h"

#include "base/formats.h"
#include "charts/PaintArea.h"
#include "quotes/QuoteListModel.h"

#include "document/PageKit.h"
#include "document/TBourse.h"
#include "document/TitresPage.h"
#include "quotes/BourseData.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

ChartPage::ChartPage(TBourse &doc, BourseData &data, QWidget *parent)
    : QWidget(parent), m_doc(doc), m_data(data)
{
    setObjectName(QStringLiteral("TabSheet3"));
    m_comboBox3 = pagekit::pageCombo(this, QStringLiteral("ComboBox3"), 240);
    m_paintBox1 = new PaintArea(this);
    m_paintBox1->setNavigable(true);
    m_paintBox1->setSource(
        [this](QSize size, const TextMeasure &measure) { return draw(size, measure); });

    // The period presets, in a bar under the chart.
    auto *bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("PresetBar"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 1, 4, 1);
    row->setSpacing(2);
    auto *label = new QLabel(QStringLiteral("Période :"), bar);
    row->addWidget(label);
    m_presets = new QButtonGroup(this);
    m_presets->setExclusive(true);
    static const Preset presets[] = {Preset::OneMonth, Preset::SixMonths, Preset::OneYear,
                                     Preset::FiveYears, Preset::All};
    for (Preset p : presets) {
        auto *button = new QToolButton(bar);
        const QString caption = presetCaption(p);
        button->setText(caption);
        button->setObjectName(QStringLiteral("Periode ") + caption);
        button->setCheckable(true);
        button->setChecked(p == m_preset);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setToolTip(p == Preset::All ? QStringLiteral("Toute la période choisie")
                                            : QStringLiteral("Les derniers ") + caption +
                                                  QStringLiteral(" de la période"));
        button->setAccessibleName(QStringLiteral("Période : ") + caption);
        m_presets->addButton(button, int(p));
        row->addWidget(button);
    }
    label->setBuddy(m_presets->buttons().first());
    row->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pagekit::headerStrip(this, QStringLiteral("Graphique"), m_comboBox3));
    layout->addWidget(m_paintBox1, 1);
    layout->addWidget(bar);

    connect(m_comboBox3, &QComboBox::activated, this, [this] { ComboBox3Change(); });
    connect(m_presets, &QButtonGroup::idClicked, this, [this](int id) { setPreset(Preset(id)); });
    connect(m_paintBox1, &PaintArea::zoomAsked, this,
            [this](int x, double factor) { zoomAt(x, factor); });
    connect(m_paintBox1, &PaintArea::dragStarted, this,
            [this] { m_dragFrom = m_paintBox1->drawing().shown; });
    connect(m_paintBox1, &PaintArea::dragged, this, [this](int dx) {
        const ChartDrawing &d = m_paintBox1->drawing();
        if (d.total < 2) return;
        setZoom(panned(m_dragFrom, d.total, pointsDragged(dx, d.spread)));
    });
    connect(m_paintBox1, &PaintArea::panAsked, this, [this](int way) { pan(way); });
    connect(m_paintBox1, &PaintArea::resetAsked, this, [this] { resetZoom(); });
}

namespace
{
// Which history a drawing is of: the security and its dates.
QString keyOf(const History &h)
{
    return h.name + QLatin1Char('|') + h.periodText() + QLatin1Char('|') +
           QString::number(h.size());
}
} // namespace

ChartDrawing ChartPage::draw(QSize size, const TextMeasure &measure)
{
    const History h = history();
    m_drawnKey = keyOf(h);
    if (m_zoom && m_zoomKey != m_drawnKey) m_zoom.reset();
    Settings settings = m_data.settings();
    ChartOptions options;
    options.range = m_zoom;
    options.logScale = settings.logScale == 1;
    ChartDrawing d = priceChart(size, h, settings.maSwitch, settings.maLength, measure, options);
    m_data.setSettings(settings);
    return d;
}

History ChartPage::history() const
{
    const QuoteLines &lines = m_doc.titres().model()->lines();
    const Period period = m_data.period();
    if (m_read && m_read->lines.sameLines(lines) && m_read->period.mode == period.mode &&
        m_read->period.first == period.first && m_read->period.last == period.last &&
        m_read->firstDate == m_data.firstDate() && m_read->lastDate == m_data.lastDate() &&
        m_read->preset == m_preset)
        return m_read->history;
    m_read = ReadHistory{lines, period, m_data.firstDate(), m_data.lastDate(), m_preset, {}};
    m_read->history = readHistory(lines, period);
    return m_read->history;
}

History ChartPage::readHistory(const QuoteLines &lines, const Period &period) const
{
    History h = historyOf(lines);
    QDate last;
    if (period.mode == 1) {
        h.from = storedToShown(period.first);
        h.to = storedToShown(period.last);
        last = storedToDate(period.last);
    } else if (m_data.firstDate().isValid()) {
        h.from = toShown(m_data.firstDate());
        h.to = toShown(m_data.lastDate());
        // Without a chosen period, from the security's own newest
        // quotation: one that stopped before the others still shows its
        // last year.
        last = newestDate(h);
        if (!last.isValid()) last = m_data.lastDate();
    }
    // The preset counts back from the end of the period.
    const QDate start = presetStart(m_preset, last);
    return start.isValid() ? since(h, start) : h;
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
    m_paintBox1->redraw();
}

void ChartPage::setPreset(Preset preset)
{
    m_preset = preset;
    if (QAbstractButton *b = m_presets->button(int(preset))) b->setChecked(true);
    m_zoom.reset();
    Dessine();
}

void ChartPage::setZoom(const ShownRange &range)
{
    m_zoom = range;
    m_zoomKey = m_drawnKey;
    Dessine();
}

void ChartPage::zoomAt(int x, double factor)
{
    const ChartDrawing &d = m_paintBox1->drawing();
    if (d.total < 2) return;
    const int anchor = d.shown.first + pointAt(x, d.spread);
    const ShownRange range = zoomed(d.shown, d.total, anchor, factor);
    if (range == wholeRange(d.total))
        resetZoom();
    else
        setZoom(range);
}

void ChartPage::pan(int direction)
{
    const ChartDrawing &d = m_paintBox1->drawing();
    if (d.total < 2) return;
    setZoom(panned(d.shown, d.total, direction * std::max(1, d.shown.count() / 10)));
}

void ChartPage::resetZoom()
{
    m_zoom.reset();
    Dessine();
}

#include "charts/IndicatorWindow.h"

#include "base/Prompts.h"
#include "charts/HelpKey.h"
#include "charts/PaintArea.h"
#include "charts/printedcharts.h"
#include "print/PrintPreview.h"
#include "print/printer.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

IndicatorWindow::IndicatorWindow(const QString &caption, QWidget *parent) : QDialog(parent)
{
    setObjectName(caption);
    setWindowTitle(caption);
    helpOnF1(this, kHelpIndicators);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setFixedHeight(33);
    m_speedButton8 = new QToolButton(panel);
    m_speedButton8->setObjectName(QStringLiteral("SpeedButton8"));
    m_speedButton8->setAutoRaise(true);
    m_speedButton8->setToolTip(QStringLiteral("Imprimer"));
    m_speedButton8->setIcon(QIcon::fromTheme(QStringLiteral("document-print")));
    if (m_speedButton8->icon().isNull()) m_speedButton8->setText(QStringLiteral("Imprimer"));
    m_speedButton8->setAccessibleName(QStringLiteral("Imprimer"));
    m_panel1 = new QLabel(panel);
    m_panel1->setObjectName(QStringLiteral("Panel1Caption"));
    m_panel1->setAlignment(Qt::AlignCenter);
    QFont f = m_panel1->font();
    f.setPixelSize(17);
    m_panel1->setFont(f);
    m_button1 = new QPushButton(QStringLiteral("Fermer"), panel);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setAutoDefault(false);
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(m_speedButton8);
    row->addWidget(m_panel1, 1);
    row->addWidget(m_button1);

    m_paintBox1 = new PaintArea(this);
    m_paintBox1->setSource([this](QSize size, const TextMeasure &measure) {
        return indicatorChart(size, m_indicator, measure);
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    layout->addWidget(m_paintBox1, 1);
    // Resizable: the curve follows the window, never below a size that
    // keeps the frame and its labels apart.
    resize(616, 376);
    setMinimumSize(480, 300);
    setSizeGripEnabled(true);

    connect(m_speedButton8, &QToolButton::clicked, this, [this] { SpeedButton8Click(); });
    connect(m_button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

QString IndicatorWindow::title() const
{
    return m_panel1->text();
}

void IndicatorWindow::setIndicator(Indicator indicator)
{
    m_indicator = std::move(indicator);
    QString caption = m_indicator.title;
    if (!m_indicator.period.isEmpty()) caption += QLatin1Char(' ') + m_indicator.period;
    m_panel1->setText(caption);
    m_paintBox1->setImageName(objectName().toLower() + QStringLiteral(".png"));
    m_paintBox1->redraw();
}

void IndicatorWindow::SpeedButton8Click()
{
    QPrinter &printer = sharedPrinter();
    if (!Prompts::get().printDialog(this, &printer)) return;
    runCommand(this, [&] {
        previewAndPrint(this, printer, title(),
                        [this](QPagedPaintDevice &device) { return Imprime(device); });
    });
}

bool IndicatorWindow::Imprime(QPagedPaintDevice &device) const
{
    return printSteps(device, printedIndicator(PageMap(device), m_indicator));
}

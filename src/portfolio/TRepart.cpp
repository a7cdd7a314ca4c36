#include "portfolio/TRepart.h"

#include "base/Prompts.h"
#include "base/clock.h"
#include "base/formats.h"
#include "portfolio/pie.h"
#include "print/PrintPreview.h"
#include "print/printer.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>

namespace
{

class PaintBox : public QWidget
{
public:
    PaintBox(TRepart *window) : QWidget(window), m_window(window) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        m_window->Dessine(p);
    }

private:
    TRepart *m_window;
};

} // namespace

TRepart::TRepart(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Repart"));
    setWindowTitle(QStringLiteral("R\u00e9partition du portefeuille au ") +
                   toShown(Clock::get().today()));
    setFixedSize(518, 298);

    auto *print = new QToolButton(this);
    print->setObjectName(QStringLiteral("SpeedButton8"));
    print->setText(QStringLiteral("Imprimer"));
    print->setToolTip(QStringLiteral("Imprimer"));
    print->setGeometry(7, 4, 80, 26);
    auto *close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->setAutoDefault(false);
    close->setGeometry(430, 4, 80, 26);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(print, &QToolButton::clicked, this, &TRepart::SpeedButton8Click);

    m_paintBox = new PaintBox(this);
    m_paintBox->setObjectName(QStringLiteral("PaintBox1"));
    m_paintBox->setGeometry(7, 38, 256, 256);

    auto *bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(518 - 222, 34, 222, 262);
    bevel->lower();
    const QList<QColor> colours = ptf::sliceColours();
    for (int j = 0; j < 15; ++j) {
        auto *square = new QLabel(this);
        square->setObjectName(QStringLiteral("Shape%1").arg(j + 1));
        square->setGeometry(310, 48 + 16 * j, 15, 15);
        square->setAutoFillBackground(true);
        QPalette pal = square->palette();
        pal.setColor(QPalette::Window, colours[j]);
        square->setPalette(pal);
        square->setFrameShape(QFrame::Box);
        auto *percent = new QLabel(this);
        percent->setObjectName(QStringLiteral("Pourcent%1").arg(j + 1));
        percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        percent->setGeometry(330, 47 + 16 * j, 48, 16);
        auto *name = new QLabel(this);
        name->setObjectName(QStringLiteral("Nom%1").arg(j + 1));
        name->setGeometry(390, 47 + 16 * j, 518 - 390 - 4, 16);
        for (QLabel *l : {square, percent, name})
            l->hide();
        m_squares.append(square);
        m_percents.append(percent);
        m_names.append(name);
    }
}

void TRepart::Init(const QStringList &portfolio, const QStringList &index, const QuoteLines &store)
{
    const ptf::Reading read = ptf::readPortfolio(portfolio);
    m_unreadable = ptf::unreadableReport(read.unreadable);
    const auto v = ptf::Valuation::build(read.ops, store, index, true);
    Valorise(v.rows());
}

void TRepart::Valorise(const QList<ptf::Valuation::Row> &rows)
{
    m_legend = ptf::distribution(rows);
    for (int j = 0; j < m_legend.size(); ++j) {
        m_percents[j]->setText(m_legend[j].percent);
        m_names[j]->setText(m_legend[j].name);
        for (QLabel *l : {m_squares[j], m_percents[j], m_names[j]})
            l->show();
    }
    m_paintBox->update();
}

void TRepart::Dessine(QPainter &painter) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    ptf::drawPie(painter, QRect(20, 20, 220, 220), m_legend);
}

void TRepart::SpeedButton8Click()
{
    QPrinter &printer = sharedPrinter();
    if (!Prompts::get().printDialog(this, &printer)) return;
    previewAndPrint(this, printer, windowTitle(), [this](QPagedPaintDevice &device) {
        return ptf::printDistribution(device, windowTitle(), m_legend, Clock::get().today());
    });
}

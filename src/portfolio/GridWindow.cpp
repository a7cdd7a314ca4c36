#include "portfolio/GridWindow.h"

#include "base/BusyCursor.h"
#include "base/Prompts.h"
#include "base/clock.h"
#include "portfolio/GridModel.h"
#include "print/PrintPreview.h"
#include "print/pagemap.h"
#include "print/printer.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

GridWindow::GridWindow(QWidget *parent, const QString &objectName, const QString &caption,
                       const QStringList &titles, const QList<int> &widths, const QList<int> &rset)
    : QDialog(parent), m_widths(widths), m_rset(rset)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    QList<int> right;
    for (int c = 0; c < rset.size(); ++c)
        if (rset[c] > 0) right.append(c);
    m_model = new GridModel(titles, right, this);

    m_top = new QHBoxLayout;
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    int total = 0;
    for (int c = 0; c < widths.size(); ++c) {
        m_grid->setColumnWidth(c, widths[c]);
        m_grid->setColumnHidden(c, widths[c] == 0);
        total += widths[c];
    }
    m_grid->setMinimumSize(total + m_grid->verticalScrollBar()->sizeHint().width() + 4, 340);
    m_grid->installEventFilter(this);

    m_column = new QVBoxLayout(this);
    m_column->addLayout(m_top);
    m_column->addWidget(m_grid, 1);
}

QToolButton *GridWindow::speedButton(const QString &objectName, const QString &text,
                                     const QString &hint)
{
    auto *b = new QToolButton(this);
    b->setObjectName(objectName);
    b->setText(text);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setAccessibleName(hint);
    m_top->addWidget(b);
    return b;
}

void GridWindow::addClose()
{
    m_top->addStretch(1);
    auto *close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    m_top->addWidget(close);
}

PrintedGrid GridWindow::printedGrid() const
{
    PrintedGrid g;
    for (int c = 0; c < m_widths.size(); ++c)
        g.widths.append(m_grid->isColumnHidden(c) ? 0 : m_grid->columnWidth(c));
    g.font = m_grid->font();
    g.screenWidth = m_grid->width();
    const QFontMetrics fm(g.font);
    const auto padded = [&](QStringList cells) {
        for (int c = 0; c < cells.size() && c < m_rset.size(); ++c)
            if (m_rset[c] > 0) cells[c] = Rset(cells[c], m_rset[c], fm);
        return cells;
    };
    g.rows.append(padded(m_model->titles()));
    for (const QStringList &row : m_model->rows())
        g.rows.append(padded(row));
    return g;
}

void GridWindow::print(const QString &heading)
{
    QPrinter &printer = sharedPrinter();
    if (!Prompts::get().printDialog(this, &printer)) return;
    const PrintedGrid g = printedGrid();
    const QDate today = Clock::get().today();
    previewAndPrint(this, printer, heading, [&](QPagedPaintDevice &device) {
        const BusyCursor busy;
        return ImprimeGrille(device, g, heading, int(g.rows.size()) - 1, today) > 0;
    });
}

bool GridWindow::removeCurrent()
{
    const int row = m_grid->currentIndex().row();
    if (row < 0) return false;
    if (Prompts::get().question(this,
                                QStringLiteral("Supprimer la ligne de la liste affich\u00e9e ? Le "
                                               "portefeuille n'est pas modifi\u00e9."),
                                false) != Prompts::Yes)
        return false;
    m_model->removeShown(row);
    return true;
}

void GridWindow::fitColumns()
{
    int total = 0;
    for (int c = 0; c < m_widths.size(); ++c) {
        if (m_grid->isColumnHidden(c)) continue;
        m_grid->resizeColumnToContents(c);
        m_grid->setColumnWidth(c, std::max(m_grid->columnWidth(c), m_widths[c]));
        total += m_grid->columnWidth(c);
    }
    m_grid->setMinimumWidth(total + m_grid->verticalScrollBar()->sizeHint().width() + 4);
}

bool GridWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        runCommand(this, [this] { Supprimer(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QLabel *valueLabel(QWidget *parent, const QString &objectName, int width)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(width);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

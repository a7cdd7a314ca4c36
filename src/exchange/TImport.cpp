#include "exchange/TImport.h"

#include "base/BusyCursor.h"
#include "base/DialogKit.h"
#include "base/clock.h"
#include "base/formats.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

constexpr int kRows = 8;

struct Column {
    const char16_t *heading;
    int width;
};

} // namespace

TImport::TImport(importing::Order order, QWidget *parent) : QDialog(parent), m_order(order)
{
    setObjectName(order == importing::Order::DateFirst ? QStringLiteral("Import")
                                                       : QStringLiteral("Import2"));
    setWindowTitle(QStringLiteral("Importer"));

    m_grid = new QTableWidget(kRows, 5, this);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->setFocusPolicy(Qt::NoFocus);
    const Column dateFirst[5] = {
        {u"Date", 80}, {u"Code", 64}, {u"Libellé", 220}, {u"Cours", 80}, {u"Volume", 80}};
    const Column codeFirst[5] = {
        {u"Code", 64}, {u"Libellé", 220}, {u"Date", 80}, {u"Cours", 80}, {u"Volume", 80}};
    const Column *columns = order == importing::Order::DateFirst ? dateFirst : codeFirst;
    int width = 2 * m_grid->frameWidth();
    for (int c = 0; c < 5; ++c) {
        auto *heading = new QTableWidgetItem(QString::fromUtf16(columns[c].heading));
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        m_grid->setItem(0, c, heading);
        m_grid->setColumnWidth(c, columns[c].width);
        width += columns[c].width;
    }
    int height = 2 * m_grid->frameWidth();
    for (int r = 0; r < kRows; ++r)
        height += m_grid->rowHeight(r);
    m_grid->setFixedSize(width, height);

    m_allDays = new QRadioButton(QStringLiteral("Tous les cours"), this);
    m_allDays->setObjectName(QStringLiteral("RadioButton1"));
    m_fridays = new QRadioButton(QStringLiteral("Cours du vendredi"), this);
    m_fridays->setObjectName(QStringLiteral("RadioButton2"));
    m_fridays->setChecked(true);

    m_after = new QLineEdit(this);
    m_after->setObjectName(QStringLiteral("MaskEdit1"));
    m_after->setInputMask(QStringLiteral("99/99/9999;_"));
    m_after->setMaxLength(10);
    auto *afterLabel = dialogkit::buddyLabel(this, QStringLiteral("Après le"), m_after);

    auto *options = new QHBoxLayout;
    options->addWidget(m_allDays);
    options->addWidget(m_fridays);
    options->addStretch(1);
    options->addWidget(afterLabel);
    options->addWidget(m_after);

    auto *buttons = dialogkit::buttonRow(this, QStringLiteral("OK"), &m_ok, &m_cancel);

    auto *layout = dialogkit::fixedColumn(this);
    layout->addWidget(m_grid);
    layout->addLayout(options);
    layout->addLayout(buttons);

    dialogkit::tabOrder({m_allDays, m_fridays, m_after, m_ok, m_cancel});
    m_fridays->setFocus();
}

void TImport::Init(const QString &fileName, const QDate &lastDate)
{
    m_after->setText(lastDate.isValid() ? toShown(lastDate) : QString());
    m_lines = importing::readFile(fileName);
    for (int r = 1; r < kRows; ++r) {
        const QStringList fields =
            r - 1 < m_lines.size() ? importing::rawFields(m_lines[r - 1]) : QStringList();
        for (int c = 0; c < 5; ++c)
            m_grid->setItem(r, c, new QTableWidgetItem(fields.value(c)));
    }
}

int TImport::Reformate()
{
    return importing::Reformate(m_lines, m_order, Clock::get().today());
}

bool TImport::Vendredi(const QString &line) const
{
    return importing::Vendredi(line, m_allDays->isChecked());
}

bool TImport::Result(const QuoteLines &store, const QStringList &index,
                     importing::Selection &chosen)
{
    chosen = {};
    if (result() != QDialog::Accepted) return false;
    const QString after = importing::threshold(m_after->text());
    const BusyCursor busy;
    const int headings = Reformate();
    chosen = importing::select(m_lines, after, m_allDays->isChecked(), store, index);
    chosen.refused += headings;
    return true;
}

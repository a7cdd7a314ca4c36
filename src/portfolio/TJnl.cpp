#include "portfolio/TJnl.h"

#include "base/DialogKit.h"
#include "base/Prompts.h"
#include "base/clock.h"
#include "portfolio/GridModel.h"
#include "portfolio/TOperation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

TJnl::TJnl(QWidget *parent)
    : GridWindow(parent, QStringLiteral("Jnl"), QStringLiteral("Journal des op\u00e9rations"),
                 {QStringLiteral("Date"), QStringLiteral("Code"), QStringLiteral("Titre"),
                  QStringLiteral("Montant"), QStringLiteral("Qt\u00e9"), QString()},
                 {96, 73, 245, 97, 76, 15}, {0, 0, 0, 92, 76, 0}),
      m_year(Clock::get().today().year())
{
    auto *print = speedButton(QStringLiteral("SpeedButton8"), QStringLiteral("Imprimer"),
                              QStringLiteral("Imprimer"));
    auto *remove = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("Supprimer ligne"),
                               QStringLiteral("Supprimer ligne"));
    auto *before = speedButton(QStringLiteral("SpeedButton3"), QStringLiteral("<<"),
                               QStringLiteral("Ann\u00e9e pr\u00e9c\u00e9dente"));
    m_panel1 = new QLabel(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setAlignment(Qt::AlignCenter);
    m_panel1->setMinimumWidth(60);
    topPanel()->addWidget(m_panel1);
    auto *after = speedButton(QStringLiteral("SpeedButton4"), QStringLiteral(">>"),
                              QStringLiteral("ann\u00e9e suivante"));
    auto *modify = speedButton(QStringLiteral("SpeedButton5"), QStringLiteral("Modifier..."),
                               QStringLiteral("Modifier l'op\u00e9ration..."));
    auto *erase =
        speedButton(QStringLiteral("SpeedButton6"), QStringLiteral("Supprimer l'op\u00e9ration"),
                    QStringLiteral("Supprimer l'op\u00e9ration"));
    m_undoButton = speedButton(QStringLiteral("SpeedButton7"), QStringLiteral("Annuler"),
                               QStringLiteral("Annuler la derni\u00e8re modification"));
    m_undoButton->setEnabled(false);
    addClose();

    m_cessions = valueLabel(this, QStringLiteral("Label2"), 120);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(dialogkit::buddyLabel(this, QStringLiteral("Cessions"), m_cessions));
    bottom->addWidget(m_cessions);
    column()->addLayout(bottom);

    connect(print, &QToolButton::clicked, this,
            [this] { this->print(QStringLiteral("Journal des op\u00e9rations")); });
    connect(remove, &QToolButton::clicked, this, [this] { Supprimer(); });
    connect(before, &QToolButton::clicked, this, &TJnl::SpeedButton3Click);
    connect(after, &QToolButton::clicked, this, &TJnl::SpeedButton4Click);
    connect(modify, &QToolButton::clicked, this,
            [this] { runCommand(this, [this] { Modifier(); }); });
    connect(erase, &QToolButton::clicked, this,
            [this] { runCommand(this, [this] { SupprimerOperation(); }); });
    connect(m_undoButton, &QToolButton::clicked, this, &TJnl::Annuler);
}

void TJnl::Init(const QStringList &portfolio, const QStringList &index)
{
    m_lines = portfolio;
    m_index = index;
    const ptf::Reading read = ptf::readPortfolio(portfolio);
    setUnreadable(ptf::unreadableReport(read.unreadable));
    m_ops = read.ops;
    m_names.emplace(index);
    m_year = ptf::journalYear(m_ops, Clock::get().today().year());
    LitAn();
}

bool TJnl::Result(QStringList *portfolio) const
{
    if (!m_changed) return false;
    *portfolio = m_lines;
    return true;
}

void TJnl::LitAn()
{
    m_panel1->setText(QString::number(m_year));
    const QList<QStringList> rows = ptf::journalRows(m_ops, *m_names, m_year, &m_rowLines);
    model()->setRows(rows, 16);
    m_cessions->setText(ptf::cessions(rows));
}

void TJnl::SpeedButton3Click()
{
    --m_year;
    LitAn();
}

void TJnl::SpeedButton4Click()
{
    ++m_year;
    LitAn();
}

void TJnl::Supprimer()
{
    const int row = grid()->currentIndex().row();
    if (!removeCurrent()) return;
    m_rowLines.removeAt(row);
    m_cessions->setText(ptf::cessions(model()->rows()));
}

qsizetype TJnl::currentLine() const
{
    const int row = grid()->currentIndex().row();
    return row >= 0 && row < m_rowLines.size() ? m_rowLines[row] : -1;
}

void TJnl::change(const QStringList &lines)
{
    m_undo.append(m_lines);
    m_lines = lines;
    m_changed = true;
    m_undoButton->setEnabled(true);
    m_ops = ptf::readOperations(m_lines);
    const int row = grid()->currentIndex().row();
    LitAn();
    grid()->setCurrentIndex(
        model()->index(std::max(0, std::min(row, int(m_rowLines.size()) - 1)), 0));
}

void TJnl::Modifier()
{
    const qsizetype line = currentLine();
    if (line < 0) return;
    const auto op = std::find_if(m_ops.cbegin(), m_ops.cend(),
                                 [line](const ptf::Operation &o) { return o.line == line; });
    if (op == m_ops.cend()) return;
    const QChar kind = op->kind;
    std::unique_ptr<TOperation> dialog;
    if (kind == QLatin1Char('D')) {
        auto *d = new TDividende(this);
        d->Init(m_index, -1);
        dialog.reset(d);
    } else {
        dialog = std::make_unique<TOperation>(this);
        dialog->Init(kind == QLatin1Char('A') ? QStringLiteral("Achat") : QStringLiteral("Vente"),
                     m_index, -1);
    }
    dialog->Fill(*op);
    dialog->setPortfolio(m_lines, kind, line);
    Prompts::get().exec(dialog.get());
    const QString text = dialog->Result();
    if (text.isEmpty()) return;
    QStringList lines = m_lines;
    lines[line] = QString(kind) + text;
    if (lines != m_lines) change(lines);
}

void TJnl::SupprimerOperation()
{
    const qsizetype line = currentLine();
    if (line < 0) return;
    if (Prompts::get().question(this,
                                QStringLiteral("Supprimer cette op\u00e9ration du portefeuille ?"),
                                false) != Prompts::Yes)
        return;
    QStringList lines = m_lines;
    lines.removeAt(line);
    change(lines);
}

void TJnl::Annuler()
{
    if (m_undo.isEmpty()) return;
    m_lines = m_undo.takeLast();
    m_undoButton->setEnabled(!m_undo.isEmpty());
    m_changed = !m_undo.isEmpty();
    m_ops = ptf::readOperations(m_lines);
    LitAn();
}

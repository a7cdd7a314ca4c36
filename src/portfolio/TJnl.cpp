#include "portfolio/TJnl.h"

#include "base/DialogKit.h"
#include "base/clock.h"
#include "portfolio/GridModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TJnl::TJnl(QWidget *parent)
    : GridWindow(parent, QStringLiteral("Jnl"), QStringLiteral("Journal des op\u00e9rations"),
                 {QStringLiteral("Date"), QStringLiteral("Code"), QStringLiteral("Titre"),
                  QStringLiteral("Montant"), QStringLiteral("Qt\u00e9"), QString()},
                 {96, 73, 245, 97, 76, 15}, {0, 0, 0, 92, 76, 0}),
      m_year(Clock::get().today().year())
{
    auto *print = speedButton(QStringLiteral("SpeedButton8"), QStringLiteral("Imprimer"),
                              QStringLiteral("Imprimer"));
    auto *remove = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("Supprimer"),
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
}

void TJnl::Init(const QStringList &portfolio, const QStringList &index)
{
    m_ops = ptf::readOperations(portfolio);
    m_names.emplace(index);
    LitAn();
}

void TJnl::LitAn()
{
    m_panel1->setText(QString::number(m_year));
    const QList<QStringList> rows = ptf::journalRows(m_ops, *m_names, m_year);
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
    if (removeCurrent()) m_cessions->setText(ptf::cessions(model()->rows()));
}

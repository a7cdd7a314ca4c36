#include "portfolio/TPortef.h"

#include "base/DialogKit.h"
#include "base/clock.h"
#include "base/formats.h"
#include "portfolio/GridModel.h"
#include "portfolio/valuation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TPortef::TPortef(QWidget *parent)
    : GridWindow(parent, QStringLiteral("Portef"),
                 QStringLiteral("Portefeuille au ") + toShown(Clock::get().today()),
                 {QStringLiteral("Code"), QStringLiteral("Titre"), QStringLiteral("Nbr"),
                  QStringLiteral("Co\u00fbt net"), QStringLiteral("Prix Unit."),
                  QStringLiteral("Dern.cours"), QStringLiteral("Total"), QStringLiteral("(%)")},
                 {0, 178, 49, 86, 89, 90, 83, 60}, {0, 0, 50, 80, 90, 90, 80, 60})
{
    auto *print = speedButton(QStringLiteral("SpeedButton8"), QStringLiteral("Imprimer"),
                              QStringLiteral("Imprimer"));
    addClose();
    connect(print, &QToolButton::clicked, this,
            [this] { this->print(QStringLiteral("Portefeuille")); });

    m_pricesDate = new QLabel(this);
    m_pricesDate->setObjectName(QStringLiteral("Label5"));
    m_evaluation = valueLabel(this, QStringLiteral("Label4"), 110);
    m_gain = valueLabel(this, QStringLiteral("Label2"), 110);
    m_gainCaption = dialogkit::buddyLabel(this, QStringLiteral("Plus value"), m_gain);
    m_gainCaption->setObjectName(QStringLiteral("Label1"));
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_pricesDate);
    bottom->addStretch(1);
    bottom->addWidget(dialogkit::buddyLabel(this, QStringLiteral("Evaluation"), m_evaluation));
    bottom->addWidget(m_evaluation);
    bottom->addSpacing(20);
    bottom->addWidget(m_gainCaption);
    bottom->addWidget(m_gain);
    column()->addLayout(bottom);
}

void TPortef::Init(const QStringList &portfolio, const QStringList &index, const QuoteLines &store)
{
    const auto v = ptf::Valuation::build(ptf::readOperations(portfolio), store, index, false);
    QList<QStringList> rows;
    for (const auto &r : v.rows())
        rows.append({r.code, r.name, r.quantity, r.cost, r.unit, r.last, r.total,
                     r.total.isEmpty() ? QString() : r.percent + QLatin1Char('%')});
    m_count = int(rows.size());
    model()->setRows(rows, 16);
    m_evaluation->setText(v.evaluation());
    m_gain->setText(v.gain());
    m_gainCaption->setText(v.loss() ? QStringLiteral("Moins value") : QStringLiteral("Plus value"));
    // The prices are those of the store's newest quotation date.
    const QDate last = store.isEmpty() ? QDate() : storedToDate(store.last().left(8));
    m_pricesDate->setText(last.isValid() ? QStringLiteral("Cours du ") + toShown(last)
                                         : QStringLiteral("Aucun cours"));
}

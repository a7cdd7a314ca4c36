#include "portfolio/TPortef.h"

#include "base/DialogKit.h"
#include "base/clock.h"
#include "base/formats.h"
#include "portfolio/GridModel.h"
#include "portfolio/valuation.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TPortef::TPortef(QWidget *parent)
    : GridWindow(parent, QStringLiteral("Portef"),
                 QStringLiteral("Portefeuille au ") + toShown(Clock::get().today()),
                 {QStringLiteral("Code"), QStringLiteral("Titre"), QStringLiteral("Nbr"),
                  QStringLiteral("Co\u00fbt net"), QStringLiteral("Prix Unit."),
                  QStringLiteral("Dern.cours"), QStringLiteral("Total"), QStringLiteral("(%)"),
                  QStringLiteral("Date cours"), QStringLiteral("R\u00e9alis\u00e9"),
                  QStringLiteral("Dividendes"), QStringLiteral("Frais"),
                  QStringLiteral("Rdt annuel")},
                 {0, 178, 49, 86, 89, 90, 83, 60, 80, 80, 80, 70, 80},
                 {0, 0, 50, 80, 90, 90, 80, 60, 0, 80, 80, 70, 80})
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

    // What the portfolio earned, under the totals.
    auto *earned = new QGridLayout;
    const std::pair<const char *, QString> figures[] = {
        {"Label6", QStringLiteral("Plus-values r\u00e9alis\u00e9es")},
        {"Label7", QStringLiteral("Dividendes")},
        {"Label8", QStringLiteral("Avoirs fiscaux")},
        {"Label9", QStringLiteral("Frais pay\u00e9s")},
        {"Label10", QStringLiteral("Rendement annuel")}};
    int col = 0;
    for (const auto &[name, caption] : figures) {
        QLabel *value = valueLabel(this, QLatin1String(name), 90);
        earned->addWidget(dialogkit::buddyLabel(this, caption, value), 0, col);
        earned->addWidget(value, 1, col++);
        m_earned.append(value);
    }
    column()->addLayout(earned);
}

void TPortef::Init(const QStringList &portfolio, const QStringList &index, const QuoteLines &store)
{
    const ptf::Reading read = ptf::readPortfolio(portfolio);
    setUnreadable(ptf::unreadableReport(read.unreadable));
    const auto v = ptf::Valuation::build(read.ops, store, index, false);
    QList<QStringList> rows;
    for (const auto &r : v.rows())
        rows.append({r.code, r.name, r.quantity, r.cost, r.unit, r.last, r.total,
                     r.total.isEmpty() ? QString() : r.percent + QLatin1Char('%'), r.priceDate,
                     r.realised, r.dividends, r.fees, r.annual});
    m_count = int(rows.size());
    model()->setRows(rows, 16);
    fitColumns();
    m_evaluation->setText(v.evaluation());
    m_gain->setText(v.gain());
    m_gainCaption->setText(v.loss() ? QStringLiteral("Moins value") : QStringLiteral("Plus value"));
    const QString texts[] = {v.realised(), v.dividends(), v.credits(), v.fees(), v.annual()};
    for (int i = 0; i < m_earned.size(); ++i)
        m_earned[i]->setText(texts[i]);
    // The prices are those of each row's own date.
    const QDate oldest = v.oldestPrice(), newest = v.newestPrice();
    if (!newest.isValid())
        m_pricesDate->setText(QStringLiteral("Aucun cours"));
    else if (oldest == newest)
        m_pricesDate->setText(QStringLiteral("Cours du ") + toShown(newest));
    else
        m_pricesDate->setText(
            QStringLiteral("Cours du %1 au %2").arg(toShown(oldest), toShown(newest)));
}

#include "portfolio/TFrais.h"

#include "portfolio/GridModel.h"
#include "portfolio/portfolio.h"

#include <QToolButton>

TFrais::TFrais(QWidget *parent)
    : GridWindow(parent, QStringLiteral("Frais"), QStringLiteral("Frais de bourse"),
                 {QStringLiteral("Date"), QStringLiteral("Code"), QStringLiteral("Titre"),
                  QStringLiteral("Frais"), QStringLiteral("Qt\u00e9"), QString()},
                 {96, 73, 245, 97, 76, 15}, {0, 0, 0, 92, 76, 0})
{
    auto *print = speedButton(QStringLiteral("SpeedButton8"), QStringLiteral("Imprimer"),
                              QStringLiteral("Imprimer"));
    auto *remove = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("Supprimer ligne"),
                               QStringLiteral("Supprimer ligne"));
    addClose();
    // The printed heading is the journal's.
    connect(print, &QToolButton::clicked, this,
            [this] { this->print(QStringLiteral("Journal des op\u00e9rations")); });
    connect(remove, &QToolButton::clicked, this, [this] { Supprimer(); });
}

void TFrais::Init(const QStringList &portfolio, const QStringList &index)
{
    const ptf::Reading read = ptf::readPortfolio(portfolio);
    setUnreadable(ptf::unreadableReport(read.unreadable));
    model()->setRows(ptf::feeRows(read.ops, ptf::SecurityNames(index)), 16);
}

void TFrais::Supprimer()
{
    removeCurrent();
}

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
    auto *remove = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("Supprimer"),
                               QStringLiteral("Supprimer ligne"));
    addClose();
    // The printed heading is the journal's.
    connect(print, &QToolButton::clicked, this,
            [this] { this->print(QStringLiteral("Journal des op\u00e9rations")); });
    connect(remove, &QToolButton::clicked, this, [this] { Supprimer(); });
}

void TFrais::Init(const QStringList &portfolio, const QStringList &index)
{
    const QList<ptf::Operation> ops = ptf::readOperations(portfolio);
    model()->setRows(ptf::feeRows(ops, ptf::SecurityNames(index)), 16);
}

void TFrais::Supprimer()
{
    removeCurrent();
}

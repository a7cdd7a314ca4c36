#include "quotes/TSupp.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TSupp::TSupp(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Supp"));
    setWindowTitle(QStringLiteral("Supprimer titre"));

    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("ComboBox1"));
    m_list->setMinimumWidth(260);
    m_list->setMaxVisibleItems(20);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("OKBtn"));
    m_cancel = new QPushButton(QStringLiteral("Annuler"), this);
    m_cancel->setObjectName(QStringLiteral("CancelBtn"));
    for (QPushButton *b : {m_ok, m_cancel})
        b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_list, m_ok);
    setTabOrder(m_ok, m_cancel);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_list->setFocus();
}

void TSupp::Init(const QStringList &index, int current)
{
    m_list->clear();
    m_list->addItems(index);
    m_list->setCurrentIndex(current >= 0 && current < index.size() ? current : -1);
}

QString TSupp::Result() const
{
    if (result() != QDialog::Accepted) return {};
    return m_list->currentText().left(6);
}

#include "quotes/TSupp.h"

#include "base/DialogKit.h"

#include <QComboBox>
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

    auto *buttons = dialogkit::buttonRow(this, QStringLiteral("OK"), &m_ok, &m_cancel);

    auto *layout = dialogkit::fixedColumn(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    dialogkit::tabOrder({m_list, m_ok, m_cancel});

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

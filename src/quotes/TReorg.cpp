#include "quotes/TReorg.h"

#include "base/DialogKit.h"
#include "base/formats.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TReorg::TReorg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Reorg"));
    setWindowTitle(QStringLiteral("Réorganiser la base"));

    m_date = dialogkit::datePicker(this, QStringLiteral("DateTimePicker1"));
    m_count = new QLineEdit(this);
    m_count->setObjectName(QStringLiteral("Edit1"));
    // At most six typed digits; a longer count proposed by the program stays.
    dialogkit::digitsOnly(m_count, 6);
    m_count->installEventFilter(this);

    auto *grid =
        dialogkit::fieldGrid(this, {{QStringLiteral("Date la plus ancienne à conserver"), m_date},
                                    {QStringLiteral("Nombre de lignes a conserver"), m_count}});

    auto *buttons = dialogkit::buttonRow(this, QStringLiteral("OK"), &m_ok, &m_cancel);

    auto *layout = dialogkit::fixedColumn(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    dialogkit::tabOrder({m_date, m_count, m_ok, m_cancel});

    m_count->setFocus();
}

void TReorg::Init(const QDate &oldest, qsizetype count)
{
    m_date->setDate(oldest);
    m_count->setText(QString::number(count));
    m_count->selectAll();
}

int TReorg::Result(QDate &oldest) const
{
    if (result() != QDialog::Accepted) return 0;
    const int count = readInteger(m_count->text());
    oldest = m_date->date();
    return count;
}

bool TReorg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_count && dialogkit::isEnterPress(event)) {
        m_ok->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

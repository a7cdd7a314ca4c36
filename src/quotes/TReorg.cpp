#include "quotes/TReorg.h"

#include "base/formats.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TReorg::TReorg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Reorg"));
    setWindowTitle(QStringLiteral("Réorganiser la base"));

    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("DateTimePicker1"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_count = new QLineEdit(this);
    m_count->setObjectName(QStringLiteral("Edit1"));
    // At most six typed digits; a longer count proposed by the program stays.
    m_count->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), m_count));
    m_count->installEventFilter(this);

    auto *grid = new QGridLayout;
    auto *dateLabel = new QLabel(QStringLiteral("Date la plus ancienne à conserver"), this);
    dateLabel->setBuddy(m_date);
    auto *countLabel = new QLabel(QStringLiteral("Nombre de lignes a conserver"), this);
    countLabel->setBuddy(m_count);
    grid->addWidget(dateLabel, 0, 0);
    grid->addWidget(m_date, 0, 1);
    grid->addWidget(countLabel, 1, 0);
    grid->addWidget(m_count, 1, 1);

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
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_date, m_count);
    setTabOrder(m_count, m_ok);
    setTabOrder(m_ok, m_cancel);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
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
    if (watched == m_count && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_ok->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

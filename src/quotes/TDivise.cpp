#include "quotes/TDivise.h"

#include "base/DialogKit.h"
#include "base/formats.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TDivise::TDivise(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Divise"));
    setWindowTitle(QStringLiteral("Diviser titre"));

    m_dateDebut = dialogkit::datePicker(this, QStringLiteral("DateTimePicker1"));
    m_dateFin = dialogkit::datePicker(this, QStringLiteral("DateTimePicker2"));
    m_coefficient = new QLineEdit(QStringLiteral("0"), this);
    m_coefficient->setObjectName(QStringLiteral("Edit1"));
    dialogkit::digitsOnly(m_coefficient);
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Edit2"));
    m_code->setReadOnly(true);

    auto *grid = dialogkit::fieldGrid(this, {{QStringLiteral("Date début"), m_dateDebut},
                                             {QStringLiteral("Date fin"), m_dateFin},
                                             {QStringLiteral("Coefficient"), m_coefficient},
                                             {QStringLiteral("Code titre"), m_code}});

    auto *buttons = dialogkit::buttonRow(this, QStringLiteral("Ok"), &m_ok, &m_cancel);

    auto *layout = dialogkit::fixedColumn(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    dialogkit::tabOrder({m_dateDebut, m_dateFin, m_coefficient, m_code, m_ok, m_cancel});

    m_coefficient->setFocus();
}

void TDivise::Init(const QString &code, const QDate &dateDebut, const QDate &dateFin)
{
    m_code->setText(code);
    m_dateDebut->setDate(dateDebut);
    m_dateFin->setDate(dateFin);
    m_coefficient->selectAll();
}

int TDivise::Result(QDate &dateDebut, QDate &dateFin, QString &code) const
{
    if (result() != QDialog::Accepted) return 0;
    const int coefficient = readInteger(m_coefficient->text());
    dateDebut = m_dateDebut->date();
    dateFin = m_dateFin->date();
    code = m_code->text();
    return coefficient;
}

#include "quotes/TDivise.h"

#include "base/formats.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TDivise::TDivise(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Divise"));
    setWindowTitle(QStringLiteral("Diviser titre"));

    m_dateDebut = new QDateEdit(this);
    m_dateDebut->setObjectName(QStringLiteral("DateTimePicker1"));
    m_dateFin = new QDateEdit(this);
    m_dateFin->setObjectName(QStringLiteral("DateTimePicker2"));
    for (QDateEdit *picker : {m_dateDebut, m_dateFin}) {
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    }
    m_coefficient = new QLineEdit(QStringLiteral("0"), this);
    m_coefficient->setObjectName(QStringLiteral("Edit1"));
    m_coefficient->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*")), m_coefficient));
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Edit2"));
    m_code->setReadOnly(true);

    auto *grid = new QGridLayout;
    const std::pair<QString, QWidget *> rows[] = {{QStringLiteral("Date début"), m_dateDebut},
                                                  {QStringLiteral("Date fin"), m_dateFin},
                                                  {QStringLiteral("Coefficient"), m_coefficient},
                                                  {QStringLiteral("Code titre"), m_code}};
    int row = 0;
    for (const auto &[text, field] : rows) {
        auto *label = new QLabel(text, this);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }

    m_ok = new QPushButton(QStringLiteral("Ok"), this);
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

    setTabOrder(m_dateDebut, m_dateFin);
    setTabOrder(m_dateFin, m_coefficient);
    setTabOrder(m_coefficient, m_code);
    setTabOrder(m_code, m_ok);
    setTabOrder(m_ok, m_cancel);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
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

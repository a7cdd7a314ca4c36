#include "quotes/TConvert.h"

#include "base/formats.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace
{

QDateEdit *datePicker(QWidget *parent, const QString &name)
{
    auto *picker = new QDateEdit(parent);
    picker->setObjectName(name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    return picker;
}

// Digits only, at most five typed; a longer code set by the program stays.
QLineEdit *codeField(QWidget *parent, const QString &name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), edit));
    return edit;
}

} // namespace

TConvert::TConvert(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Convert"));
    setWindowTitle(QStringLiteral("Convertir"));

    m_dateDebut = datePicker(this, QStringLiteral("DateTimePicker1"));
    m_dateFin = datePicker(this, QStringLiteral("DateTimePicker2"));
    m_rate = new QLineEdit(this);
    m_rate->setObjectName(QStringLiteral("Edit1"));
    m_rate->setReadOnly(true);
    m_codeDebut = codeField(this, QStringLiteral("Edit2"));
    m_codeFin = codeField(this, QStringLiteral("Edit3"));

    auto *grid = new QGridLayout;
    const std::pair<QString, QWidget *> rows[] = {{QStringLiteral("Date début"), m_dateDebut},
                                                  {QStringLiteral("Date fin"), m_dateFin},
                                                  {QStringLiteral("Taux de l'euro"), m_rate},
                                                  {QStringLiteral("Code début"), m_codeDebut},
                                                  {QStringLiteral("Code fin"), m_codeFin}};
    int row = 0;
    for (const auto &[text, field] : rows) {
        auto *label = new QLabel(text, this);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }

    auto *sens = new QGroupBox(QStringLiteral("Sens"), this);
    sens->setObjectName(QStringLiteral("RadioGroup1"));
    m_toEuro = new QRadioButton(QStringLiteral("Franc -> Euro"), sens);
    m_toEuro->setObjectName(QStringLiteral("RadioButton1"));
    m_toEuro->setChecked(true);
    m_toFranc = new QRadioButton(QStringLiteral("Euro -> Franc"), sens);
    m_toFranc->setObjectName(QStringLiteral("RadioButton2"));
    auto *sensLayout = new QVBoxLayout(sens);
    sensLayout->addWidget(m_toEuro);
    sensLayout->addWidget(m_toFranc);

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
    layout->addWidget(sens);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_dateDebut, m_dateFin);
    setTabOrder(m_dateFin, m_rate);
    setTabOrder(m_rate, m_codeDebut);
    setTabOrder(m_codeDebut, m_codeFin);
    setTabOrder(m_codeFin, m_toEuro);
    setTabOrder(m_toEuro, m_toFranc);
    setTabOrder(m_toFranc, m_ok);
    setTabOrder(m_ok, m_cancel);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TConvert::Init(const QDate &dateDebut, const QDate &dateFin, double rate,
                    const QString &codeDebut, const QString &codeFin)
{
    m_dateDebut->setDate(dateDebut);
    m_dateFin->setDate(dateFin);
    m_rate->setText(formatUpTo(rate, 5));
    m_codeDebut->setText(codeDebut);
    m_codeFin->setText(codeFin);
}

int TConvert::Result(QDate &dateDebut, QDate &dateFin, QString &codeDebut, QString &codeFin) const
{
    if (result() != QDialog::Accepted) return 0;
    dateDebut = m_dateDebut->date();
    dateFin = m_dateFin->date();
    codeDebut = m_codeDebut->text();
    codeFin = m_codeFin->text();
    return m_toEuro->isChecked() ? 1 : 2;
}

#include "quotes/TConvert.h"

#include "base/DialogKit.h"
#include "base/formats.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TConvert::TConvert(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Convert"));
    setWindowTitle(QStringLiteral("Convertir"));

    m_dateDebut = dialogkit::datePicker(this, QStringLiteral("DateTimePicker1"));
    m_dateFin = dialogkit::datePicker(this, QStringLiteral("DateTimePicker2"));
    m_rate = new QLineEdit(this);
    m_rate->setObjectName(QStringLiteral("Edit1"));
    m_rate->setReadOnly(true);
    // Codes: digits only, at most five typed; a longer code set by the
    // program stays.
    m_codeDebut = new QLineEdit(this);
    m_codeDebut->setObjectName(QStringLiteral("Edit2"));
    dialogkit::digitsOnly(m_codeDebut, 5);
    m_codeFin = new QLineEdit(this);
    m_codeFin->setObjectName(QStringLiteral("Edit3"));
    dialogkit::digitsOnly(m_codeFin, 5);

    auto *grid = dialogkit::fieldGrid(this, {{QStringLiteral("Date début"), m_dateDebut},
                                             {QStringLiteral("Date fin"), m_dateFin},
                                             {QStringLiteral("Taux de l'euro"), m_rate},
                                             {QStringLiteral("Code début"), m_codeDebut},
                                             {QStringLiteral("Code fin"), m_codeFin}});

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

    auto *buttons = dialogkit::buttonRow(this, QStringLiteral("Ok"), &m_ok, &m_cancel);

    auto *layout = dialogkit::fixedColumn(this);
    layout->addLayout(grid);
    layout->addWidget(sens);
    layout->addLayout(buttons);

    dialogkit::tabOrder({m_dateDebut, m_dateFin, m_rate, m_codeDebut, m_codeFin, m_toEuro,
                         m_toFranc, m_ok, m_cancel});
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

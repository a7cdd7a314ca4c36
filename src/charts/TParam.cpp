#include "charts/TParam.h"

#include "base/DialogKit.h"
#include "charts/HelpKey.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TParam::TParam(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Param"));
    setWindowTitle(QStringLiteral("Paramètres"));
    helpOnF1(this, kHelpIndicators);

    m_checkBox1 = new QCheckBox(QStringLiteral("Tracer moyenne mobile"), this);
    m_checkBox1->setObjectName(QStringLiteral("CheckBox1"));
    m_checkBox2 = new QCheckBox(QStringLiteral("Échelle logarithmique des cours"), this);
    m_checkBox2->setObjectName(QStringLiteral("CheckBox2"));
    auto spin = [this](const char *name) {
        auto *s = new QSpinBox(this);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(1, 50);
        return s;
    };
    m_spinEdit1 = spin("SpinEdit1");
    m_spinEdit2 = spin("SpinEdit2");
    m_spinEdit3 = spin("SpinEdit3");
    m_spinEdit4 = spin("SpinEdit4");

    auto *grid = dialogkit::fieldGrid(
        this, {{QStringLiteral("Nombre de bourses moy. mobile"), m_spinEdit1},
               {QStringLiteral("Nombre de bourses mometum"), m_spinEdit2},
               {QStringLiteral("Nombre de bourses RI index"), m_spinEdit3},
               {QStringLiteral("Pourcentage de variation Zigzag"), m_spinEdit4}});
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
    auto *buttons = dialogkit::buttonRow(this, QStringLiteral("OK"), &ok, &cancel);
    m_button1 = cancel;
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button2 = ok;
    m_button2->setObjectName(QStringLiteral("Button2"));
    m_button2->setDefault(true);

    auto *layout = dialogkit::fixedColumn(this);
    layout->addWidget(m_checkBox1);
    layout->addLayout(grid);
    layout->addWidget(m_checkBox2);
    layout->addLayout(buttons);
    dialogkit::tabOrder({m_checkBox1, m_spinEdit1, m_spinEdit2, m_spinEdit3, m_spinEdit4,
                         m_checkBox2, m_button2, m_button1});
}

void TParam::Init(int maSwitch, int maLength, int rsiLength, int momentumLength, int zigzagPercent,
                  int logScale)
{
    m_checkBox1->setChecked(maSwitch == 1);
    m_checkBox2->setChecked(logScale == 1);
    m_spinEdit1->setValue(maLength);
    m_spinEdit2->setValue(momentumLength);
    m_spinEdit3->setValue(rsiLength);
    m_spinEdit4->setValue(zigzagPercent);
}

void TParam::Result(int &maSwitch, int &maLength, int &rsiLength, int &momentumLength,
                    int &zigzagPercent) const
{
    if (result() != QDialog::Accepted) return;
    maSwitch = m_checkBox1->isChecked() ? 1 : 0;
    maLength = m_spinEdit1->value();
    momentumLength = m_spinEdit2->value();
    rsiLength = m_spinEdit3->value();
    zigzagPercent = m_spinEdit4->value();
}

void TParam::Result(int &maSwitch, int &maLength, int &rsiLength, int &momentumLength,
                    int &zigzagPercent, int &logScale) const
{
    if (result() != QDialog::Accepted) return;
    Result(maSwitch, maLength, rsiLength, momentumLength, zigzagPercent);
    logScale = m_checkBox2->isChecked() ? 1 : 0;
}

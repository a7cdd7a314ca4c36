#include "quotes/TSeldate.h"

#include "base/formats.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TSeldate::TSeldate(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Seldate"));
    setWindowTitle(QStringLiteral("Sélectionner intervalle des dates"));

    m_dateDebut = new QLineEdit(this);
    m_dateDebut->setObjectName(QStringLiteral("MaskEdit1"));
    m_dateFin = new QLineEdit(this);
    m_dateFin->setObjectName(QStringLiteral("MaskEdit2"));
    for (QLineEdit *edit : {m_dateDebut, m_dateFin})
        edit->setInputMask(QStringLiteral("99/99/9999")); // dd/mm/yyyy
    m_dateDebut->installEventFilter(this);

    auto *grid = new QGridLayout;
    auto *debutLabel = new QLabel(QStringLiteral("Date début"), this);
    debutLabel->setBuddy(m_dateDebut);
    auto *finLabel = new QLabel(QStringLiteral("Date fin"), this);
    finLabel->setBuddy(m_dateFin);
    grid->addWidget(debutLabel, 0, 0);
    grid->addWidget(m_dateDebut, 0, 1);
    grid->addWidget(finLabel, 1, 0);
    grid->addWidget(m_dateFin, 1, 1);

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

    setTabOrder(m_dateDebut, m_dateFin);
    setTabOrder(m_dateFin, m_ok);
    setTabOrder(m_ok, m_cancel);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_dateDebut->setFocus();
}

void TSeldate::Init(const QDate &dateDebut, const QDate &dateFin)
{
    m_dateDebut->setText(dateDebut.isValid() ? toShown(dateDebut) : QString());
    m_dateFin->setText(dateFin.isValid() ? toShown(dateFin) : QString());
}

void TSeldate::Result(QString &dateDebut, QString &dateFin) const
{
    if (result() != QDialog::Accepted) {
        dateDebut.clear();
        dateFin.clear();
        return;
    }
    // The fields as shown, blanks included: what an error message quotes.
    dateDebut = m_dateDebut->displayText();
    dateFin = m_dateFin->displayText();
}

bool TSeldate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_dateDebut && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_ok->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

#include "quotes/TSeldate.h"

#include "base/DialogKit.h"
#include "base/formats.h"

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

    auto *grid = dialogkit::fieldGrid(this, {{QStringLiteral("Date début"), m_dateDebut},
                                             {QStringLiteral("Date fin"), m_dateFin}});

    auto *buttons = dialogkit::buttonRow(this, QStringLiteral("OK"), &m_ok, &m_cancel);

    auto *layout = dialogkit::fixedColumn(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    dialogkit::tabOrder({m_dateDebut, m_dateFin, m_ok, m_cancel});

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
    if (watched == m_dateDebut && dialogkit::isEnterPress(event)) {
        m_ok->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

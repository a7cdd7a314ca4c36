#include "portfolio/TOperation.h"

#include "base/DialogKit.h"
#include "base/Prompts.h"
#include "base/clock.h"
#include "base/formats.h"
#include "portfolio/OperationFields.h"
#include "portfolio/portfolio.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

QLineEdit *field(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

} // namespace

TOperation::TOperation(QWidget *parent)
    : TOperation(parent, QStringLiteral("Prix total"), QStringLiteral("Fraise de bourse"))
{
}

TOperation::TOperation(QWidget *parent, const QString &amountLabel, const QString &fifthLabel)
    : QDialog(parent), m_amountLabel(amountLabel), m_fifthLabel(fifthLabel)
{
    setObjectName(QStringLiteral("Operation"));
    m_code = OperationFields::codeBox(this, QStringLiteral("ComboBox1"));
    m_date = dialogkit::datePicker(this, QStringLiteral("DateTimePicker1"));
    m_amount = field(this, "Edit1");
    m_quantity = field(this, "Edit2");
    m_fifth = field(this, "Edit3");

    auto *fields = dialogkit::fieldGrid(this, {{QStringLiteral("Code"), m_code},
                                               {QStringLiteral("Date"), m_date},
                                               {amountLabel, m_amount},
                                               {QStringLiteral("Quantit\u00e9"), m_quantity},
                                               {fifthLabel, m_fifth}});
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("NomTitre"));
    m_name->setMinimumWidth(180);
    fields->addWidget(m_name, 0, 2);
    auto *buttons = dialogkit::buttonRow(this, QStringLiteral("OK"), &m_ok, &m_cancel);
    m_ok->setObjectName(QStringLiteral("Button2"));
    m_cancel->setObjectName(QStringLiteral("Button1"));
    // The caption is set by Init: room for the longest.
    setWindowTitle(QStringLiteral("Vente de titres"));
    auto *layout = dialogkit::fixedColumn(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    dialogkit::tabOrder({m_code, m_date, m_amount, m_quantity, m_fifth, m_ok, m_cancel});

    m_fields = new OperationFields(this);
    m_fields->addCode(m_code);
    m_fields->addEnter(m_date);
    m_fields->addAmount(m_amount);
    m_fields->addQuantity(m_quantity);
    m_fields->addAmount(m_fifth);
    m_code->setFocus();
}

void TOperation::fillCodes(const QStringList &index, int current)
{
    m_date->setDate(Clock::get().today());
    m_index = index;
    m_fields->fillCodes(m_code, index, current, m_name);
}

void TOperation::Fill(const ptf::Operation &op)
{
    m_date->setDate(storedToDate(op.date));
    m_code->setEditText(op.code);
    m_amount->setText(op.amount);
    m_quantity->setText(op.quantity);
    m_fifth->setText(op.fifth);
}

void TOperation::setPortfolio(const QStringList &portfolio, QChar kind, qsizetype except)
{
    m_portfolio = portfolio;
    m_kind = kind;
    m_except = except;
}

void TOperation::Init(const QString &name, const QStringList &index, int current)
{
    setWindowTitle(name + QStringLiteral(" de titres"));
    fillCodes(index, current);
}

QString TOperation::Result() const
{
    if (!m_accepted) return {};
    return ptf::operationText(m_date->date(), m_code->currentText(), m_amount->text(),
                              m_quantity->text(), m_fifth->text());
}

void TOperation::accept()
{
    m_fields->normaliseFocused();
    if (OperationFields::refuseFirst(
            this, {{m_code, ptf::codeRefusal(QStringLiteral("Code"), m_code->currentText())}}))
        return;
    // Text pasted past the key filters that the portfolio file cannot hold.
    if (OperationFields::refuseFirst(
            this,
            {{m_code, ptf::textRefusal(QStringLiteral("Code"), m_code->currentText())},
             {m_amount, ptf::textRefusal(m_amountLabel, m_amount->text())},
             {m_quantity, ptf::textRefusal(QStringLiteral("Quantit\u00e9"), m_quantity->text())},
             {m_fifth, ptf::textRefusal(m_fifthLabel, m_fifth->text())}}))
        return;
    using ptf::Figure;
    if (OperationFields::refuseFirst(
            this, {{m_amount, ptf::figureRefusal(m_amountLabel, m_amount->text(), Figure::Amount)},
                   {m_quantity, ptf::figureRefusal(QStringLiteral("Quantit\u00e9"),
                                                   m_quantity->text(), Figure::Quantity)},
                   {m_fifth, ptf::figureRefusal(m_fifthLabel, m_fifth->text(), Figure::Amount)}}))
        return;
    if (!m_kind.isNull()) {
        qint64 quantity = 0;
        tryReadInteger(m_quantity->text(), &quantity);
        const auto warnings = ptf::recordWarnings(m_kind, m_code->currentText(), quantity, m_index,
                                                  ptf::readOperations(m_portfolio), m_except);
        for (const ptf::Warning &w : warnings)
            if (Prompts::get().question(this, w.question, false) != Prompts::Yes) {
                (w.aboutQuantity ? static_cast<QWidget *>(m_quantity) : m_code)
                    ->setFocus(Qt::OtherFocusReason);
                return;
            }
    }
    m_accepted = true;
    QDialog::accept();
}

TDividende::TDividende(QWidget *parent)
    : TOperation(parent, QStringLiteral("Dividende total"), QStringLiteral("Avoir fiscal"))
{
    setObjectName(QStringLiteral("Dividende"));
    setWindowTitle(QStringLiteral("Dividendes"));
}

void TDividende::Init(const QStringList &index, int current)
{
    fillCodes(index, current);
}

#include "portfolio/TEchan.h"

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

TEchan::TEchan(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Echan"));
    setWindowTitle(QStringLiteral("Echange de titres"));
    m_codeOut = OperationFields::codeBox(this, QStringLiteral("ComboBox1"));
    m_codeIn = OperationFields::codeBox(this, QStringLiteral("ComboBox2"));
    m_date = dialogkit::datePicker(this, QStringLiteral("DateTimePicker1"));
    const auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    m_qtyOut = edit("Edit1");
    m_qtyIn = edit("Edit4");
    m_soulte = edit("Edit2");
    m_fees = edit("Edit3");

    auto *fields =
        dialogkit::fieldGrid(this, {{QStringLiteral("Code \u00e9chang\u00e9"), m_codeOut},
                                    {QStringLiteral("Code re\u00e7u"), m_codeIn},
                                    {QStringLiteral("Date"), m_date},
                                    {QStringLiteral("Quantit\u00e9 \u00e9chang\u00e9e"), m_qtyOut},
                                    {QStringLiteral("Quantit\u00e9 re\u00e7ue"), m_qtyIn},
                                    {QStringLiteral("Soulte"), m_soulte},
                                    {QStringLiteral("Fraise de bourse"), m_fees}});
    m_nameOut = new QLabel(this);
    m_nameOut->setObjectName(QStringLiteral("NomTitre1"));
    m_nameOut->setMinimumWidth(180);
    fields->addWidget(m_nameOut, 0, 2);
    m_nameIn = new QLabel(this);
    m_nameIn->setObjectName(QStringLiteral("NomTitre2"));
    fields->addWidget(m_nameIn, 1, 2);
    auto *buttons = dialogkit::buttonRow(this, QStringLiteral("OK"), &m_ok, &m_cancel);
    m_ok->setObjectName(QStringLiteral("Button2"));
    m_cancel->setObjectName(QStringLiteral("Button1"));
    auto *layout = dialogkit::fixedColumn(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    dialogkit::tabOrder(
        {m_codeOut, m_codeIn, m_date, m_qtyOut, m_qtyIn, m_soulte, m_fees, m_ok, m_cancel});

    m_fields = new OperationFields(this);
    m_fields->addCode(m_codeOut);
    m_fields->addCode(m_codeIn);
    m_fields->addEnter(m_date);
    m_fields->addQuantity(m_qtyOut);
    m_fields->addQuantity(m_qtyIn);
    m_fields->addAmount(m_soulte);
    m_fields->addAmount(m_fees);
    m_codeOut->setFocus();
}

void TEchan::Init(const QString &name, const QStringList &index, int current,
                  const QuoteLines &store)
{
    setWindowTitle(name + QStringLiteral(" de titres"));
    m_date->setDate(Clock::get().today());
    m_fields->fillCodes(m_codeOut, index, current, m_nameOut);
    m_fields->fillCodes(m_codeIn, index, -1, m_nameIn);
    m_store = store; // shares the bytes: only the references are copied
}

bool TEchan::Dernier(const QString &code, QString *price) const
{
    return ptf::lastPrice(m_store, code, price);
}

std::pair<QString, QString> TEchan::Result() const
{
    if (!m_accepted) return {};
    return ptf::exchangeParts(m_date->date(), m_codeOut->currentText(), m_codeIn->currentText(),
                              m_qtyOut->text(), m_qtyIn->text(), m_soulte->text(), m_fees->text(),
                              m_store);
}

void TEchan::accept()
{
    m_fields->normaliseFocused();
    const std::pair<QComboBox *, QString> codes[] = {
        {m_codeOut, QStringLiteral("Code \u00e9chang\u00e9")},
        {m_codeIn, QStringLiteral("Code re\u00e7u")}};
    for (const auto &[box, label] : codes) {
        const QString refusal = ptf::codeRefusal(label, box->currentText());
        if (refusal.isEmpty()) continue;
        Prompts::get().error(this, refusal);
        box->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Text pasted past the key filters that the portfolio file cannot hold.
    if (OperationFields::refuseFirst(
            this, {{m_codeOut, ptf::textRefusal(codes[0].second, m_codeOut->currentText())},
                   {m_codeIn, ptf::textRefusal(codes[1].second, m_codeIn->currentText())},
                   {m_qtyOut, ptf::textRefusal(QStringLiteral("Quantit\u00e9 \u00e9chang\u00e9e"),
                                               m_qtyOut->text())},
                   {m_qtyIn,
                    ptf::textRefusal(QStringLiteral("Quantit\u00e9 re\u00e7ue"), m_qtyIn->text())},
                   {m_soulte, ptf::textRefusal(QStringLiteral("Soulte"), m_soulte->text())},
                   {m_fees, ptf::textRefusal(QStringLiteral("Fraise de bourse"), m_fees->text())}}))
        return;
    using ptf::Figure;
    if (OperationFields::refuseFirst(
            this, {{m_qtyOut, ptf::figureRefusal(QStringLiteral("Quantit\u00e9 \u00e9chang\u00e9e"),
                                                 m_qtyOut->text(), Figure::Quantity)},
                   {m_qtyIn, ptf::figureRefusal(QStringLiteral("Quantit\u00e9 re\u00e7ue"),
                                                m_qtyIn->text(), Figure::Quantity)},
                   {m_soulte,
                    ptf::figureRefusal(QStringLiteral("Soulte"), m_soulte->text(), Figure::Amount)},
                   {m_fees, ptf::figureRefusal(QStringLiteral("Fraise de bourse"), m_fees->text(),
                                               Figure::Amount)}}))
        return;
    // Both sides are valued at their last price: a code without one cannot be.
    QString price;
    const auto unpriced = [this, &price](const QString &label, QComboBox *box) {
        if (Dernier(box->currentText(), &price)) return QString();
        return QStringLiteral("%1 : le code %2 n'a aucun cours dans la base.")
            .arg(label, box->currentText());
    };
    if (OperationFields::refuseFirst(this, {{m_codeOut, unpriced(codes[0].second, m_codeOut)},
                                            {m_codeIn, unpriced(codes[1].second, m_codeIn)}}))
        return;
    if (m_withPortfolio) {
        qint64 quantity = 0;
        tryReadInteger(m_qtyOut->text(), &quantity);
        const auto warnings = ptf::recordWarnings(QLatin1Char('E'), m_codeOut->currentText(),
                                                  quantity, {}, ptf::readOperations(m_portfolio));
        for (const ptf::Warning &w : warnings)
            if (Prompts::get().question(this, w.question, false) != Prompts::Yes) {
                m_qtyOut->setFocus(Qt::OtherFocusReason);
                return;
            }
    }
    m_accepted = true;
    QDialog::accept();
}

#include "quotes/TModif.h"

#include "base/DialogKit.h"
#include "base/Prompts.h"
#include "base/errors.h"
#include "base/formats.h"
#include "base/keys.h"
#include "quotes/entry.h"

#include <QApplication>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TModif::TModif(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Modif"));
    setWindowTitle(QStringLiteral("Modifier ligne"));

    m_date = dialogkit::datePicker(this, QStringLiteral("DateTimePicker1"));
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Edit1"));
    m_code->setMaxLength(6);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Edit2"));
    m_price = new QLineEdit(this);
    m_price->setObjectName(QStringLiteral("Edit3"));
    m_volume = new QLineEdit(this);
    m_volume->setObjectName(QStringLiteral("Edit4"));

    auto *fields = dialogkit::fieldGrid(this, {{QStringLiteral("Date"), m_date},
                                               {QStringLiteral("Code"), m_code},
                                               {QStringLiteral("Nom"), m_name},
                                               {QStringLiteral("Courss"), m_price},
                                               {QStringLiteral("Volume"), m_volume}});
    m_name->setMinimumWidth(220);

    auto *buttons = dialogkit::buttonRow(this, QStringLiteral("OK"), &m_ok, &m_cancel);

    auto *layout = dialogkit::fixedColumn(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    dialogkit::tabOrder({m_date, m_code, m_name, m_price, m_volume, m_ok, m_cancel});

    // Enter confirms from the code, price and volume fields only; on a
    // button it presses that button.
    for (QPushButton *b : {m_ok, m_cancel})
        b->installEventFilter(this);
    for (QLineEdit *e : {m_code, m_price, m_volume})
        e->installEventFilter(this);

    m_price->setFocus();
}

void TModif::Init(const QString &line)
{
    QString rest = line;
    const QString stored = nextField(rest);
    const QDate date = storedToDate(stored);
    if (!date.isValid()) throw VError::badDate(storedToShown(stored));
    m_date->setDate(date);
    m_code->setText(nextField(rest));
    m_name->setText(nextField(rest));
    m_price->setText(nextField(rest));
    m_volume->setText(nextField(rest));
    m_price->selectAll();
}

void TModif::Result(QString &line) const
{
    if (!m_accepted) {
        line.clear();
        return;
    }
    const QChar tab = QLatin1Char('\t');
    line = toStored(m_date->date()) + tab + m_code->text() + tab + m_name->text() + tab +
           m_price->text() + tab + m_volume->text();
}

bool TModif::checkPrice()
{
    const QString text = m_price->text();
    const QString shown = entry::leftPrice(text);
    if (shown != text) m_price->setText(shown);
    double value = 0;
    return shown.isEmpty() || tryReadDecimal(shown, &value);
}

void TModif::reportPrice()
{
    Prompts::get().error(this, VError::badFloat(m_price->text()).message());
}

void TModif::accept()
{
    // The line keeps its former text while a field is refused: the dialog
    // stays open on that field.
    checkPrice();
    if (const auto refusal = entry::checkQuotation(m_code->text(), m_name->text(), m_price->text(),
                                                   m_volume->text())) {
        Prompts::get().error(this, refusal->message);
        QLineEdit *const fields[] = {m_code, m_name, m_price, m_volume};
        fields[refusal->field]->setFocus(Qt::OtherFocusReason);
        fields[refusal->field]->selectAll();
        return;
    }
    m_accepted = true;
    QDialog::accept();
}

void TModif::done(int r)
{
    m_closing = true;
    QDialog::done(r);
}

bool TModif::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = dialogkit::isEnterPress(event);
        if (watched == m_ok || watched == m_cancel) {
            if (!enter) return QDialog::eventFilter(watched, event);
            static_cast<QPushButton *>(watched)->click();
            return true;
        }
        if (enter) {
            accept();
            return true;
        }
        auto *edit = static_cast<QLineEdit *>(watched);
        QString replacement;
        const auto action = keys::filterKey(
            *key, watched == m_price ? keys::amountChar : keys::quantityChar, &replacement);
        if (action == keys::KeyAction::Drop) return true;
        if (action == keys::KeyAction::Replace) {
            edit->insert(replacement);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && watched == m_price && !m_closing) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            return QDialog::eventFilter(watched, event);
        // A click on a button: "OK" reports the error itself, "Annuler"
        // needs no error.
        const QWidget *to = QApplication::focusWidget();
        const bool toButton = reason == Qt::MouseFocusReason && (to == m_ok || to == m_cancel);
        if (!checkPrice() && !toButton) reportPrice();
    }
    return QDialog::eventFilter(watched, event);
}

#include "quotes/TModif.h"

#include "base/Prompts.h"
#include "base/errors.h"
#include "base/formats.h"
#include "quotes/entry.h"

#include <QApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TModif::TModif(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Modif"));
    setWindowTitle(QStringLiteral("Modifier ligne"));

    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("DateTimePicker1"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Edit1"));
    m_code->setMaxLength(6);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Edit2"));
    m_price = new QLineEdit(this);
    m_price->setObjectName(QStringLiteral("Edit3"));
    m_volume = new QLineEdit(this);
    m_volume->setObjectName(QStringLiteral("Edit4"));

    auto *fields = new QGridLayout;
    const std::pair<QString, QWidget *> rows[] = {{QStringLiteral("Date"), m_date},
                                                  {QStringLiteral("Code"), m_code},
                                                  {QStringLiteral("Nom"), m_name},
                                                  {QStringLiteral("Courss"), m_price},
                                                  {QStringLiteral("Volume"), m_volume}};
    int row = 0;
    for (const auto &[caption, field] : rows) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        fields->addWidget(label, row, 0);
        fields->addWidget(field, row, 1);
        ++row;
    }
    m_name->setMinimumWidth(220);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("OKBtn"));
    m_cancel = new QPushButton(QStringLiteral("Annuler"), this);
    m_cancel->setObjectName(QStringLiteral("CancelBtn"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget *order[] = {m_date, m_code, m_name, m_price, m_volume, m_ok, m_cancel};
    for (int i = 0; i + 1 < 7; ++i)
        setTabOrder(order[i], order[i + 1]);

    // Enter confirms from the code, price and volume fields only; on a
    // button it presses that button.
    for (QPushButton *b : {m_ok, m_cancel}) {
        b->setAutoDefault(false);
        b->installEventFilter(this);
    }
    for (QLineEdit *e : {m_code, m_price, m_volume})
        e->installEventFilter(this);
    connect(m_ok, &QPushButton::clicked, this, &TModif::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TModif::reject);

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
    if (!checkPrice()) {
        // The line keeps its former text: the dialog stays open on the price.
        reportPrice();
        m_price->setFocus(Qt::OtherFocusReason);
        m_price->selectAll();
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
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
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
        const auto action = entry::filterKey(
            *key, watched == m_price ? entry::amountChar : entry::quantityChar, &replacement);
        if (action == entry::KeyAction::Drop) return true;
        if (action == entry::KeyAction::Replace) {
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

#include "portfolio/OperationFields.h"

#include "base/DialogKit.h"
#include "base/Prompts.h"
#include "base/formats.h"
#include "base/keys.h"
#include "quotes/entry.h"

#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace
{

const QString kDash = QStringLiteral(" \u2014 ");

} // namespace

OperationFields::OperationFields(QDialog *dialog) : QObject(dialog), m_dialog(dialog) {}

void OperationFields::addCode(QComboBox *box)
{
    m_codes.append(box);
    box->installEventFilter(this);
    if (box->lineEdit()) box->lineEdit()->installEventFilter(this);
}

void OperationFields::addQuantity(QLineEdit *edit)
{
    m_quantities.append(edit);
    edit->installEventFilter(this);
}

void OperationFields::addAmount(QLineEdit *edit)
{
    m_amounts.append(edit);
    edit->installEventFilter(this);
}

void OperationFields::addEnter(QWidget *widget)
{
    widget->installEventFilter(this);
}

void OperationFields::normaliseFocused()
{
    for (QComboBox *box : std::as_const(m_codes))
        if (box->hasFocus()) normalise(box);
}

void OperationFields::normalise(QComboBox *box)
{
    // Once per text typed: "0012" left a second time stays "0012".
    if (box->currentText() == m_normalised.value(box)) return;
    const QString code = normaliseCode(codeOf(box->currentText()));
    box->setEditText(code);
    m_normalised.insert(box, code);
}

QComboBox *OperationFields::codeBox(QWidget *parent, const QString &objectName)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    return box;
}

QString OperationFields::codeOf(const QString &text)
{
    const qsizetype dash = text.indexOf(kDash);
    return dash < 0 ? text : text.left(dash);
}

void OperationFields::fillCodes(QComboBox *box, const QStringList &index, int current, QLabel *name)
{
    QStringList entries;
    entries.reserve(index.size());
    for (const QString &entry : index) {
        const QString code = entry.left(6);
        if (!m_names.contains(code)) m_names.insert(code, entry.mid(6));
        entries.append(code + kDash + entry.mid(6));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const QString &a, const QString &b) { return a.left(6) < b.left(6); });
    box->clear();
    box->addItems(entries);
    // A chosen entry leaves its code alone in the box.
    const auto takeCode = [box](int i) {
        if (i >= 0) box->setEditText(box->itemText(i).left(6));
    };
    connect(box, &QComboBox::activated, box, takeCode);
    connect(box, &QComboBox::currentIndexChanged, box, takeCode);
    if (name) {
        const auto showName = [this, name](const QString &text) {
            const QString code = codeOf(text).trimmed();
            if (code.isEmpty()) {
                name->clear();
                return;
            }
            const auto found = m_names.constFind(normaliseCode(code));
            name->setText(found != m_names.constEnd() ? *found
                                                      : QStringLiteral("inconnu dans la base"));
        };
        connect(box, &QComboBox::editTextChanged, name, showName);
    }
    box->setEditText(current >= 0 && current < index.size() ? index[current].left(6) : QString());
}

bool OperationFields::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        if (dialogkit::isEnterPress(event)) {
            m_dialog->accept();
            return true;
        }
        auto *edit = qobject_cast<QLineEdit *>(watched);
        const bool quantity = m_quantities.contains(edit);
        if (edit && (quantity || m_amounts.contains(edit))) {
            QString replacement;
            const auto action =
                keys::filterKey(*static_cast<QKeyEvent *>(event),
                                quantity ? keys::quantityChar : keys::amountChar, &replacement);
            if (action == keys::KeyAction::Drop) return true;
            if (action == keys::KeyAction::Replace) {
                edit->insert(replacement);
                return true;
            }
        }
    } else if (event->type() == QEvent::FocusOut) {
        // The pop-up of a list or another window taking the keyboard does
        // not leave the field.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            return QObject::eventFilter(watched, event);
        if (auto *box = qobject_cast<QComboBox *>(watched); box && m_codes.contains(box))
            normalise(box);
        else if (auto *edit = qobject_cast<QLineEdit *>(watched); edit && m_amounts.contains(edit))
            edit->setText(entry::leftPrice(edit->text()));
    }
    return QObject::eventFilter(watched, event);
}

bool OperationFields::refuseFirst(QWidget *dialog,
                                  std::initializer_list<std::pair<QWidget *, QString>> refusals)
{
    for (const auto &[field, message] : refusals) {
        if (message.isEmpty()) continue;
        Prompts::get().error(dialog, message);
        field->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

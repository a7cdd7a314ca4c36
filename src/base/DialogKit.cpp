#include "base/DialogKit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QSpacerItem>
#include <QToolBar>

#include <QDateEdit>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace dialogkit
{

QDateEdit *datePicker(QWidget *parent, const QString &objectName)
{
    auto *picker = new QDateEdit(parent);
    picker->setObjectName(objectName);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    return picker;
}

void digitsOnly(QLineEdit *edit, int maxDigits)
{
    const QString pattern =
        maxDigits < 0 ? QStringLiteral("[0-9]*") : QStringLiteral("[0-9]{0,%1}").arg(maxDigits);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
}

QLabel *buddyLabel(QWidget *parent, const QString &text, QWidget *field)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(field);
    return label;
}

QGridLayout *fieldGrid(QWidget *parent, std::initializer_list<std::pair<QString, QWidget *>> rows)
{
    auto *grid = new QGridLayout;
    int row = 0;
    for (const auto &[caption, field] : rows) {
        grid->addWidget(buddyLabel(parent, caption, field), row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }
    return grid;
}

QHBoxLayout *buttonRow(QDialog *dialog, const QString &okText, QPushButton **ok,
                       QPushButton **cancel)
{
    auto *okButton = new QPushButton(okText, dialog);
    okButton->setObjectName(QStringLiteral("OKBtn"));
    auto *cancelButton = new QPushButton(QStringLiteral("Annuler"), dialog);
    cancelButton->setObjectName(QStringLiteral("CancelBtn"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {okButton, cancelButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    // QDialog::accept is virtual: a dialog's own check runs.
    QObject::connect(okButton, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancelButton, &QPushButton::clicked, dialog, &QDialog::reject);
    *ok = okButton;
    *cancel = cancelButton;
    return buttons;
}

QAction *toolAction(QToolBar *bar, const char *objectName, QStyle::StandardPixmap icon,
                    const char *hint, std::function<void()> call)
{
    QAction *a = bar->addAction(bar->style()->standardIcon(icon), QString::fromUtf8(hint));
    a->setObjectName(QLatin1String(objectName));
    a->setToolTip(QString::fromUtf8(hint));
    QObject::connect(a, &QAction::triggered, bar, std::move(call));
    return a;
}

int captionWidth(const QString &caption)
{
    // Title bars commonly use a bold face of the application font.
    QFont font = QApplication::font();
    font.setBold(true);
    const int kIconAndButtons = 130;
    return QFontMetrics(font).horizontalAdvance(caption) + kIconAndButtons;
}

QVBoxLayout *fixedColumn(QDialog *dialog)
{
    auto *layout = new QVBoxLayout(dialog);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    const int margins = layout->contentsMargins().left() + layout->contentsMargins().right();
    // A fixed-size column is as wide as its widest item: this one keeps the
    // caption whole.
    layout->addSpacerItem(
        new QSpacerItem(captionWidth(dialog->windowTitle()) - margins, 0, QSizePolicy::Fixed));
    return layout;
}

void tabOrder(std::initializer_list<QWidget *> widgets)
{
    QWidget *const *w = widgets.begin();
    for (std::size_t i = 0; i + 1 < widgets.size(); ++i)
        QWidget::setTabOrder(w[i], w[i + 1]);
}

bool isEnterPress(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace dialogkit

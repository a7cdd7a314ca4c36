#include "accessories/KeypadDialog.h"

#include <QKeyEvent>
#include <QLabel>

void KeypadDialog::routeKeys(const QList<QWidget *> &controls)
{
    for (int i = 1; i < controls.size(); ++i)
        setTabOrder(controls[i - 1], controls[i]);
    for (QWidget *w : controls)
        w->installEventFilter(this);
}

bool KeypadDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void KeypadDialog::keyPressEvent(QKeyEvent *event)
{
    if (!handleKey(event)) QDialog::keyPressEvent(event);
}

void showOnDisplay(QLabel *display, const QString &name, const QString &text)
{
    display->setText(text);
    display->setAccessibleName(name + QStringLiteral(" : ") +
                               (text.isEmpty() ? QStringLiteral("vide") : text));
}

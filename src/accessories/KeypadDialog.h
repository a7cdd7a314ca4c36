#pragma once

#include <QDialog>
#include <QList>

class QKeyEvent;
class QLabel;

// Shows `text` on a display and says it to screen readers: the display's
// accessible name becomes "`name` : `text`" ("`name` : vide" when empty).
void showOnDisplay(QLabel *display, const QString &name, const QString &text);

// A keypad accessory (the calculator, the converter): its keys reach its
// input whichever of its controls has the focus, and the window itself
// when none of them has.
class KeypadDialog : public QDialog
{
    Q_OBJECT
public:
    explicit KeypadDialog(QWidget *parent = nullptr) : QDialog(parent) {}

protected:
    // One key press for the input: true when it is used up there, false
    // when the control or the window goes on with it.
    virtual bool handleKey(QKeyEvent *event) = 0;
    // Tab goes along `controls`, and their keys are handed to handleKey
    // first.
    void routeKeys(const QList<QWidget *> &controls);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

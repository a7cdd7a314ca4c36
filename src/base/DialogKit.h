#pragma once

#include <QString>
#include <QStyle>

#include <functional>

#include <initializer_list>
#include <utility>

class QAction;
class QDateEdit;
class QToolBar;
class QDialog;
class QEvent;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

// The pieces the modal windows of the commands are built from.
namespace dialogkit
{

// A date field with its calendar pop-up, shown "dd/MM/yyyy".
QDateEdit *datePicker(QWidget *parent, const QString &objectName);

// Lets `edit` take digits only, at most `maxDigits` typed when it is not
// negative. A longer text set by the program stays.
void digitsOnly(QLineEdit *edit, int maxDigits = -1);

// A label showing `text` whose buddy is `field`.
QLabel *buddyLabel(QWidget *parent, const QString &text, QWidget *field);

// One row per caption and field: the caption's buddy label in column 0, the
// field in column 1. The labels are created in the order of the rows.
QGridLayout *fieldGrid(QWidget *parent, std::initializer_list<std::pair<QString, QWidget *>> rows);

// The row of the dialog's buttons, pushed to the right: `okText` ("OKBtn",
// accepts) then "Annuler" ("CancelBtn", rejects). Neither button is an
// automatic default, so Enter presses only what each dialog decides.
QHBoxLayout *buttonRow(QDialog *dialog, const QString &okText, QPushButton **ok,
                       QPushButton **cancel);

// An action of a window's tool bar: its object name, the style's icon, the
// hint as text and tooltip, and what it calls.
QAction *toolAction(QToolBar *bar, const char *objectName, QStyle::StandardPixmap icon,
                    const char *hint, std::function<void()> call);

// The dialog's main layout: a column whose size is fixed by its contents,
// never narrower than the dialog's caption (set the caption first).
QVBoxLayout *fixedColumn(QDialog *dialog);

// The width a window needs for its whole caption in the title bar, with room
// for the window's icon and buttons.
int captionWidth(const QString &caption);

// Tab goes from each widget to the next one of the list.
void tabOrder(std::initializer_list<QWidget *> widgets);

// True for a press of Return or of the keypad's Enter.
bool isEnterPress(const QEvent *event);

} // namespace dialogkit

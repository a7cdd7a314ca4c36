#include "base/QtPrompts.h"

#include "base/DialogKit.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>

namespace
{
QString title()
{
    const QString t = QApplication::applicationDisplayName();
    return t.isEmpty() ? QStringLiteral("Valmeq") : t;
}

// A message box that shows its text as it is: a message may quote a server's
// reply or a file's text, which must never be taken for markup.
int messageBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption, const QString &text,
               QMessageBox::StandardButtons buttons, QMessageBox::StandardButton chosen)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(chosen);
    return box.exec();
}
} // namespace

void QtPrompts::information(QWidget *parent, const QString &text)
{
    messageBox(parent, QMessageBox::Information, title(), text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtPrompts::error(QWidget *parent, const QString &text)
{
    messageBox(parent, QMessageBox::Critical, title(), text, QMessageBox::Ok, QMessageBox::Ok);
}

Prompts::Answer QtPrompts::question(QWidget *parent, const QString &text, bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) buttons |= QMessageBox::Cancel;
    const int r = messageBox(parent, QMessageBox::Question, QStringLiteral("Confirmation"), text,
                             buttons, QMessageBox::Yes);
    if (r == QMessageBox::Yes) return Yes;
    if (r == QMessageBox::No) return No;
    return withCancel ? Cancel : No;
}

QString QtPrompts::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString QtPrompts::saveFileName(QWidget *parent, const QString &caption, const QString &proposed,
                                const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(parent, caption, proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!proposed.isEmpty()) dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

bool QtPrompts::inputText(QWidget *parent, const QString &caption, const QString &prompt,
                          QString &value)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annuler"));
    // Wide enough for the whole caption.
    dialog.setMinimumWidth(dialogkit::captionWidth(caption));
    const bool ok = dialog.exec() == QDialog::Accepted;
    value = ok ? dialog.textValue() : QString();
    return ok;
}

bool QtPrompts::printDialog(QWidget *parent, QPrinter *printer)
{
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::pageSetup(QWidget *parent, QPrinter *printer)
{
    QPageSetupDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

int QtPrompts::exec(QDialog *dialog)
{
    return dialog->exec();
}

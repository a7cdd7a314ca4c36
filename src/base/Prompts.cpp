#include "base/Prompts.h"

#include "base/DialogKit.h"
#include "base/errors.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>

namespace
{
Prompts kQtPrompts;
Prompts *gPrompts = &kQtPrompts;

QString title()
{
    const QString t = QApplication::applicationDisplayName();
    return t.isEmpty() ? QStringLiteral("Valmeq") : t;
}
} // namespace

Prompts &Prompts::get()
{
    return *gPrompts;
}

void Prompts::install(Prompts *prompts)
{
    gPrompts = prompts ? prompts : &kQtPrompts;
}

void Prompts::information(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, title(), text, QMessageBox::Ok);
}

void Prompts::error(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, title(), text, QMessageBox::Ok);
}

Prompts::Answer Prompts::question(QWidget *parent, const QString &text, bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) buttons |= QMessageBox::Cancel;
    const auto r = QMessageBox::question(parent, QStringLiteral("Confirmation"), text, buttons,
                                         QMessageBox::Yes);
    if (r == QMessageBox::Yes) return Yes;
    if (r == QMessageBox::No) return No;
    return withCancel ? Cancel : No;
}

QString Prompts::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                              const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString Prompts::saveFileName(QWidget *parent, const QString &caption, const QString &proposed,
                              const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(parent, caption, proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!proposed.isEmpty()) dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

bool Prompts::inputText(QWidget *parent, const QString &caption, const QString &prompt,
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

bool Prompts::printDialog(QWidget *parent, QPrinter *printer)
{
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool Prompts::pageSetup(QWidget *parent, QPrinter *printer)
{
    QPageSetupDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

int Prompts::exec(QDialog *dialog)
{
    return dialog->exec();
}

void runCommand(QWidget *parent, const std::function<void()> &command)
{
    try {
        command();
    } catch (const VError &e) {
        Prompts::get().error(parent, e.message());
    } catch (const std::exception &e) {
        Prompts::get().error(parent, QString::fromLocal8Bit(e.what()));
    }
}

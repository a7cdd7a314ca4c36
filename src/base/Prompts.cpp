#include "base/Prompts.h"

#include "base/errors.h"

#include <QDebug>

namespace
{
Prompts kSilentPrompts;
Prompts *gDefault = &kSilentPrompts;
Prompts *gPrompts = &kSilentPrompts;
} // namespace

Prompts &Prompts::get()
{
    return *gPrompts;
}

void Prompts::install(Prompts *prompts)
{
    gPrompts = prompts ? prompts : gDefault;
}

void Prompts::setDefault(Prompts *prompts)
{
    if (gPrompts == gDefault) gPrompts = prompts ? prompts : &kSilentPrompts;
    gDefault = prompts ? prompts : &kSilentPrompts;
}

void Prompts::information(QWidget *, const QString &text)
{
    qInfo().noquote() << text;
}

void Prompts::error(QWidget *, const QString &text)
{
    qWarning().noquote() << text;
}

Prompts::Answer Prompts::question(QWidget *, const QString &, bool withCancel)
{
    return withCancel ? Cancel : No;
}

QString Prompts::openFileName(QWidget *, const QString &, const QString &, const QString &)
{
    return {};
}

QString Prompts::saveFileName(QWidget *, const QString &, const QString &, const QString &,
                              const QString &)
{
    return {};
}

bool Prompts::inputText(QWidget *, const QString &, const QString &, QString &value)
{
    value.clear();
    return false;
}

bool Prompts::printDialog(QWidget *, QPrinter *)
{
    return false;
}

bool Prompts::pageSetup(QWidget *, QPrinter *)
{
    return false;
}

int Prompts::exec(QDialog *)
{
    return 0; // rejected
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

#pragma once

#include <QString>

#include <functional>

class QDialog;
class QPrinter;
class QWidget;

// Every question the program asks the user goes through here: message boxes,
// file dialogs, the input box, the printer dialogs and the modal windows of
// the commands. The application installs Qt's (QtPrompts); tests install a
// scripted version. Without either, messages go to the log and every
// question is answered as if cancelled.
class Prompts
{
public:
    enum Answer { Ok, Yes, No, Cancel };

    virtual ~Prompts() = default;

    virtual void information(QWidget *parent, const QString &text);
    virtual void error(QWidget *parent, const QString &text);
    // Yes/No, or Yes/No/Cancel when `withCancel`.
    virtual Answer question(QWidget *parent, const QString &text, bool withCancel);

    // Empty text when cancelled.
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter);
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &proposed,
                                 const QString &filter, const QString &defaultSuffix);
    // False when cancelled.
    virtual bool inputText(QWidget *parent, const QString &caption, const QString &prompt,
                           QString &value);
    virtual bool printDialog(QWidget *parent, QPrinter *printer);
    virtual bool pageSetup(QWidget *parent, QPrinter *printer);
    // Shows a command's window modally; returns QDialog::exec's result.
    virtual int exec(QDialog *dialog);

    static Prompts &get();
    // Installs prompts (not owned); nullptr puts the default ones back.
    static void install(Prompts *prompts);
    // The prompts `install(nullptr)` puts back (not owned).
    static void setDefault(Prompts *prompts);
};

// Runs one command: a failure it raises (VError or any other exception) is
// shown in the error box and ends the command; the program goes on.
void runCommand(QWidget *parent, const std::function<void()> &command);

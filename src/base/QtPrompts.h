#pragma once

#include "base/Prompts.h"

// The prompts of the application: Qt's message boxes, file dialogs, input
// box and printer dialogs, in French.
class QtPrompts : public Prompts
{
public:
    void information(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    Answer question(QWidget *parent, const QString &text, bool withCancel) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &proposed,
                         const QString &filter, const QString &defaultSuffix) override;
    bool inputText(QWidget *parent, const QString &caption, const QString &prompt,
                   QString &value) override;
    bool printDialog(QWidget *parent, QPrinter *printer) override;
    bool pageSetup(QWidget *parent, QPrinter *printer) override;
    int exec(QDialog *dialog) override;
};

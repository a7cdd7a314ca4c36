#pragma once

#include "base/Prompts.h"

// Questions whose safe answer, No, is the default one: what Enter or a
// hurried click gives keeps what is there. The application installs a box
// that shows them so; without it Prompts::question asks them.
namespace questions
{

using Asker = Prompts::Answer (*)(QWidget *parent, const QString &text);
void setNoFirstAsker(Asker asker);
// Yes or No, No by default.
Prompts::Answer askNoFirst(QWidget *parent, const QString &text);

} // namespace questions

#include "base/questions.h"

namespace questions
{

namespace
{
Asker g_asker = nullptr;
}

void setNoFirstAsker(Asker asker)
{
    g_asker = asker;
}

Prompts::Answer askNoFirst(QWidget *parent, const QString &text)
{
    if (g_asker) return g_asker(parent, text);
    return Prompts::get().question(parent, text, false);
}

} // namespace questions

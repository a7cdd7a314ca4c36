#include "document/NotesCommands.h"

#include "base/Prompts.h"
#include "document/TBourse.h"
#include "notes/TListe.h"
#include "notes/TPresse.h"
#include "quotes/BourseData.h"

void NotesCommands::ListeTitres()
{
    TListe window(&m_doc);
    window.Init(m_data.index(), m_data.cards());
    Prompts::get().exec(&window);
    m_data.setCards(window.Result());
}

void NotesCommands::Coupures()
{
    TPresse window(&m_doc);
    window.Init(m_data.index(), m_data.pressNotes());
    Prompts::get().exec(&window);
    m_data.setPressNotes(window.Result());
}

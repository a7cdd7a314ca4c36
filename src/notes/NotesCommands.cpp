#include "notes/NotesCommands.h"

// The card and press-note windows come with their issue; until then these
// commands do nothing.
void NotesCommands::ListeTitres() {}
void NotesCommands::Coupures() {}

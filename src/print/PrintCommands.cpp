#include "print/PrintCommands.h"

// The printed pages come with the printing; until then the command does
// nothing.
void PrintCommands::Imprimer() {}

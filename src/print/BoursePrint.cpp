// Printing of the shown list or chart. Comes with the printed pages; until
// then the command does nothing.
#include "quotes/TBourse.h"

void TBourse::Imprimer() {}

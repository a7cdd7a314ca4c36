// Value search in the monthly view, and the entry page's copy buffer.
#include "quotes/TBourse.h"

void TBourse::Rechercher() {}
void TBourse::Rech() {}
void TBourse::continuer() {}
void TBourse::Copier() {}
void TBourse::Coller() {}

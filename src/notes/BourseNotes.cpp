// Security cards and press notes. They come with their windows; until then
// these commands do nothing.
#include "quotes/TBourse.h"

void TBourse::ListeTitres() {}
void TBourse::Coupures() {}

// Import, export and download commands of the document window. They come
// with their windows; until then they do nothing.
#include "quotes/TBourse.h"

void TBourse::Importer() {}
void TBourse::Importer2() {}
void TBourse::Exporter() {}
void TBourse::GetCours() {}

#include "exchange/ExchangeCommands.h"

// The import, export and download windows come with their issue; until then
// these commands do nothing.
void ExchangeCommands::Importer() {}
void ExchangeCommands::Importer2() {}
void ExchangeCommands::Exporter() {}
void ExchangeCommands::GetCours() {}

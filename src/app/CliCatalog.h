// ordivan-cli commands over the catalogue: search, show, register a slot, photometric import, product-number list.
#pragma once
#include "app/Cli.h"

#include <string>

namespace app {

// The catalogue directory of the command line: --data DIR, else the programs' own search (base::findDataDir).
std::string cliCatalogDir(const CliRun& run);

int cmdCatalog(CliRun& run);
int cmdRegister(CliRun& run);
int cmdListCsv(CliRun& run);
int cmdImportPhotometry(CliRun& run);

} // namespace app

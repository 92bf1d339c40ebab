#pragma once

#include "transfer/CatalogueImport.h"

#include <functional>

class CatalogueFolder;
class Messenger;

/// The commands that take the catalogue of a folder in and out (`--export`, `--import`, `--import-mdb`), and the
/// import of the old program's file that the start offers. The commands print their report and return the exit
/// status: 0 done, 1 refused or failed, 2 for an empty value.
namespace TransferCommands {

int exportCatalogue(const QString& csvFolder, const CatalogueFolder& folder, Messenger& messenger);
int importCsv(const QString& csvFolder, const CatalogueFolder& folder, Messenger& messenger);
int importAccess(const QString& file, const CatalogueFolder& folder, Messenger& messenger);

/// Imports what `gather` reads into the catalogue of `folder`. A catalogue that holds anything is refused before
/// `gather` runs; a folder without one gets one (and a settings file) only once the input passed its checks. The
/// catalogue is copied into the backups folder before it is written; `messenger` hears of a failed copy.
ImportOutcome importInto(const CatalogueFolder& folder, const std::function<ImportInput()>& gather,
                         Messenger& messenger);

/// The start's offer taken: imports the old program's file of `folder` and tells the keeper how it went. Returns
/// false when nothing was imported.
bool importOldCatalogue(const CatalogueFolder& folder, Messenger& messenger);

} // namespace TransferCommands

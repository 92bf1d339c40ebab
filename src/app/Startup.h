#pragma once

#include "catalogue/Catalogue.h"
#include "ui/MainWindow.h"

#include <memory>
#include <optional>

class Messenger;

/// Start-up before the main window is filled: the catalogue file is opened (or, when the folder has none,
/// created or imported from the old program's file at the keeper's request) and the search program's setting is
/// read. Every failure is shown as a message and gives nothing back; nothing is written to an existing catalogue
/// but the schema upgrade of an older one. The catalogue given back copies itself into the backups folder before
/// its first write (that upgrade, if any) and tells `messenger` (which must outlive it) of a failure.
namespace Startup {
/// `access`: ReadOnly where the folder's lock could not be written; nothing is created then.
std::optional<LoadedCatalogue> open(const CatalogueFolder& folder, Messenger& messenger,
                                    Catalogue::Access access = Catalogue::Access::ReadWrite);
/// The whole start of the program after the folder lock: opens the catalogue and loads a main window on it. Returns
/// nothing, after a message through `services.messenger`, when the start is refused.
std::unique_ptr<MainWindow> openWindow(const CatalogueFolder& folder, const Services& services,
                                       Catalogue::Access access = Catalogue::Access::ReadWrite);
} // namespace Startup

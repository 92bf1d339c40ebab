#pragma once

#include "ui/MainWindow.h"

#include <memory>
#include <optional>

class QLockFile;

class Messenger;

/// Start-up before the main window is filled: the catalogue file is opened (or, when the folder has none,
/// created at the keeper's request) and the search program's setting is read. Every failure is shown as a
/// message and gives nothing back; nothing is written to an existing catalogue but the schema upgrade of an older
/// one. The catalogue given back copies itself into the backups folder before its first write (that upgrade, if
/// any) and tells `messenger` (which must outlive it) of a failure.
namespace Startup {
std::optional<LoadedCatalogue> open(const CatalogueFolder& folder, Messenger& messenger);
/// Takes the folder's single-instance lock, making the folder first if it does not exist. Returns nothing, after a
/// message, when another Mézor holds it. A lock held on another computer, or one that cannot be taken at all (a
/// read-only folder), is explained and the keeper chooses: leave, or open anyway (taking the lock over, or without
/// one).
std::optional<std::unique_ptr<QLockFile>> lockFolder(const CatalogueFolder& folder, Messenger& messenger);
/// The whole start of the program after the folder lock: opens the catalogue and loads a main window on it. Returns
/// nothing, after a message through `services.messenger`, when the start is refused.
std::unique_ptr<MainWindow> openWindow(const CatalogueFolder& folder, const Services& services);
/// Creates an empty catalogue in `folder`, and a settings file with an empty "programme=" line if there is none.
void createCatalogue(const CatalogueFolder& folder);
/// Opens the catalogue of `folder` (throws CatalogueError), set to copy itself into the backups folder before its
/// first write; a failed copy is told to `messenger` (which must outlive it) and the write goes on.
std::unique_ptr<Catalogue> openCatalogue(const CatalogueFolder& folder, Messenger& messenger);
} // namespace Startup

#pragma once

#include "catalogue/Catalogue.h"
#include "ui/MainWindow.h"

#include <QStringList>

#include <memory>
#include <optional>

class CatalogueFolder;
class Messenger;
class QLockFile;

/// The steps that every way in (the window, each command) takes to open the catalogue of a folder: the folder's
/// single-instance lock, then the catalogue file with its backup before the first write.
namespace Opening {

/// The folder's lock held for one run, and the folder levels the run made to hold it. Released, it takes those
/// levels away again when nothing was put in them: a refused start or command leaves the disk as it found it.
class FolderLock {
public:
    FolderLock(std::unique_ptr<QLockFile> lock, QStringList madeFolders);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    /// Whether the lock is held. Without it (a folder where no lock can be written: read-only media) the catalogue
    /// is only read.
    bool isHeld() const { return bool(m_lock); }
    Catalogue::Access access() const { return isHeld() ? Catalogue::Access::ReadWrite : Catalogue::Access::ReadOnly; }

private:
    std::unique_ptr<QLockFile> m_lock;
    QStringList m_madeFolders; ///< deepest first
};

/// Takes the folder's single-instance lock, making the folder first if it does not exist. Returns nothing, after a
/// message, when another Mézor holds it. A lock file that names no holder (left empty by a start cut short) is
/// taken over once it is a few seconds old. A lock held on another computer is explained and the keeper chooses:
/// leave, or take it over. Where no lock can be written at all, the lock comes back not held, without a question.
std::unique_ptr<FolderLock> lockFolder(const CatalogueFolder& folder, Messenger& messenger);

/// The name QLockFile writes for this computer: on Windows the computer's NetBIOS name, not its DNS host name.
QString lockHostName();

/// Creates an empty catalogue in `folder`, and a settings file with an empty "programme=" line if there is none.
void createCatalogue(const CatalogueFolder& folder);
/// Opens the catalogue of `folder` (throws CatalogueError), set to copy itself into the backups folder before its
/// first write; a failed copy is told to `messenger` (which must outlive it) and the write goes on.
std::unique_ptr<Catalogue> openCatalogue(const CatalogueFolder& folder, Messenger& messenger,
                                         Catalogue::Access access = Catalogue::Access::ReadWrite);
/// Opens the existing catalogue of `folder` with the search program's setting, brings an older file up to date
/// (unless only read) and reports repeated numbers. Every failure is shown as a message and gives nothing back.
std::optional<LoadedCatalogue> load(const CatalogueFolder& folder, Messenger& messenger, Catalogue::Access access);
/// The same without the report of repeated numbers, for a start that reads the series meanwhile.
std::optional<LoadedCatalogue> loadUnreported(const CatalogueFolder& folder, Messenger& messenger,
                                              Catalogue::Access access);
/// Tells the keeper once which numbers a series holds more than once (a file made by another tool).
void reportRepeatedNumbers(const Catalogue& catalogue, Messenger& messenger);

} // namespace Opening

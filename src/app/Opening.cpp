#include "app/Opening.h"

#include "catalogue/CatalogueBackup.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueFolder.h"
#include "catalogue/SettingsFile.h"
#include "ui/Messenger.h"
#include "ui/UiTexts.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QSaveFile>
#include <QSysInfo>

namespace Opening {

namespace {

// A lock file that names no holder is one being written by a Mézor starting now, or one that a start cut short
// left empty (a stick pulled out): past this age, the latter.
constexpr qint64 unnamedLockSeconds = 5;

void removeMadeFolders(const QStringList& madeFolders)
{
    for (const QString& level : madeFolders) {
        QDir().rmdir(level); // only an empty folder goes
    }
}

} // namespace

// A file made by another tool may repeat a number; it is opened, and the keeper is told once which numbers.
void reportRepeatedNumbers(const Catalogue& catalogue, Messenger& messenger)
{
    QStringList series;
    try {
        for (const Category& category : Category::all()) {
            const QStringList numbers = catalogue.repeatedNumbers(category);
            if (!numbers.isEmpty()) {
                series.append(UiTexts::repeatedInSeries().arg(category.caption, numbers.join(u", ")));
            }
        }
    } catch (const CatalogueError&) {
        return; // the load step reads the same tables and reports the failure
    }
    if (!series.isEmpty()) {
        messenger.warning(UiTexts::repeatedNumbers().arg(series.join(u" ; ")));
    }
}

FolderLock::FolderLock(std::unique_ptr<QLockFile> lock, QStringList madeFolders)
    : m_lock(std::move(lock))
    , m_madeFolders(std::move(madeFolders))
{
}

FolderLock::~FolderLock()
{
    m_lock.reset(); // the lock file goes first, or the folder it is in would not be empty
    removeMadeFolders(m_madeFolders);
}

QString lockHostName()
{
#ifdef Q_OS_WIN
    return qEnvironmentVariable("COMPUTERNAME");
#else
    return QSysInfo::machineHostName();
#endif
}

std::unique_ptr<FolderLock> lockFolder(const CatalogueFolder& folder, Messenger& messenger)
{
    const QString shownFolder = QDir::toNativeSeparators(folder.path());
    // The lock lives in the folder: on a first run the folder is made now, or a second Mézor would find no lock.
    QStringList made;
    for (QString level = folder.path(); !QFileInfo::exists(level) && !made.contains(level);
         level = QFileInfo(level).path()) {
        made.append(level);
    }
    if (!QDir().mkpath(folder.path())) {
        removeMadeFolders(made);
        messenger.critical(UiTexts::folderFailed().arg(shownFolder));
        return nullptr;
    }
    auto lock = std::make_unique<QLockFile>(folder.lockFile());
    lock->setStaleLockTime(0); // a lock left by a crashed Mézor of this computer is taken over once its process is gone
    if (lock->tryLock(200)) {
        return std::make_unique<FolderLock>(std::move(lock), made);
    }
    if (lock->error() != QLockFile::LockFailedError) {
        // No lock can be written here (read-only media): reading needs none, and nothing is written without it.
        return std::make_unique<FolderLock>(nullptr, made);
    }
    qint64 pid = 0;
    QString host;
    QString application;
    const bool named = lock->getLockInfo(&pid, &host, &application);
    const QDateTime modified = QFileInfo(folder.lockFile()).lastModified();
    bool takeOver = !named && qAbs(modified.secsTo(QDateTime::currentDateTime())) >= unnamedLockSeconds;
    // A lock taken on another computer never goes stale by itself (its process cannot be seen from here): after a
    // power cut or a pulled stick there, the keeper says whether that Mézor is really gone. The name compared is
    // the one QLockFile writes, or a live lock of this computer would pass for another's.
    if (named && !host.isEmpty() && host != lockHostName()) {
        const QString since = QLocale(QLocale::French).toString(modified, QStringLiteral("d MMMM yyyy 'à' HH:mm"));
        if (!messenger.ask(UiTexts::lockedElsewhere().arg(shownFolder, host, QString::number(pid), since))) {
            removeMadeFolders(made);
            return nullptr;
        }
        takeOver = true;
    }
    if (takeOver && lock->removeStaleLockFile() && lock->tryLock(200)) {
        return std::make_unique<FolderLock>(std::move(lock), made);
    }
    removeMadeFolders(made);
    messenger.critical(UiTexts::alreadyRunning().arg(shownFolder));
    return nullptr;
}

void createCatalogue(const CatalogueFolder& folder)
{
    if (!QDir().mkpath(folder.path())) {
        throw CatalogueError(CatalogueError::Kind::Write, UiTexts::folderFailed().arg(folder.path()));
    }
    Catalogue::create(folder.database());
    if (!QFileInfo::exists(folder.settings())) {
        QSaveFile settings(folder.settings());
        if (!settings.open(QIODevice::WriteOnly) || settings.write("programme=\r\n") < 0 || !settings.commit()) {
            throw CatalogueError(CatalogueError::Kind::Write, UiTexts::settingsCreateFailed().arg(folder.settings()),
                                 settings.errorString());
        }
    }
}

std::unique_ptr<Catalogue> openCatalogue(const CatalogueFolder& folder, Messenger& messenger,
                                         Catalogue::Access access)
{
    auto catalogue = std::make_unique<Catalogue>(folder.database(), access);
    if (access == Catalogue::Access::ReadOnly) {
        return catalogue; // every write is refused: there is nothing to copy before one
    }
    // A copy before the first write of each run; when it fails the keeper is told once and the write goes on.
    CatalogueBackup::install(*catalogue, folder.backups(), [&messenger](const CatalogueError& failure) {
        messenger.warning(failure.message(), failure.detail());
    });
    return catalogue;
}

std::optional<LoadedCatalogue> load(const CatalogueFolder& folder, Messenger& messenger, Catalogue::Access access)
{
    std::optional<LoadedCatalogue> loaded = loadUnreported(folder, messenger, access);
    if (loaded) {
        reportRepeatedNumbers(*loaded->catalogue, messenger);
    }
    return loaded;
}

std::optional<LoadedCatalogue> loadUnreported(const CatalogueFolder& folder, Messenger& messenger,
                                              Catalogue::Access access)
{
    LoadedCatalogue loaded;
    try {
        loaded.catalogue = openCatalogue(folder, messenger, access);
    } catch (const CatalogueError& error) {
        if (error.kind() == CatalogueError::Kind::OutOfDate) {
            messenger.critical(UiTexts::outOfDate(), error.message() + u'\n' + error.detail());
        } else {
            messenger.critical(error.message(), error.detail());
        }
        return std::nullopt;
    }
    QString problem;
    const std::optional<QStringList> lines = SettingsFile::readLines(folder.settings(), &problem);
    if (!lines) {
        messenger.critical(UiTexts::outOfDate(),
                           problem.isEmpty() ? UiTexts::noSettingsFile().arg(folder.settings()) : problem);
        return std::nullopt;
    }
    const std::optional<QString> setting = SettingsFile::programSetting(*lines);
    if (!setting) {
        messenger.critical(UiTexts::outOfDate(), UiTexts::noProgramLine().arg(folder.settings()));
        return std::nullopt;
    }
    loaded.programSetting = *setting;
    // An older file gets the newer tables now, after its backup. When it cannot (a read-only file), the keeper is
    // told and works on without the image archive; a catalogue opened only to be read is not even tried.
    if (access == Catalogue::Access::ReadWrite) {
        try {
            loaded.catalogue->upgradeSchema();
        } catch (const CatalogueError& error) {
            messenger.warning(error.message(), error.detail());
        }
    }
    return loaded;
}

} // namespace Opening

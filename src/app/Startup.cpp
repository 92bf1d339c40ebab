#include "app/Startup.h"

#include "app/TransferCommands.h"
#include "app/Wiring.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueBackup.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/SettingsFile.h"
#include "transfer/AccessFile.h"
#include "transfer/TransferTexts.h"
#include "ui/Messenger.h"
#include "ui/UiTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QSaveFile>
#include <QSysInfo>

#include <future>

namespace Startup {

namespace {

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

} // namespace

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

std::optional<std::unique_ptr<QLockFile>> lockFolder(const CatalogueFolder& folder, Messenger& messenger)
{
    const QString shownFolder = QDir::toNativeSeparators(folder.path());
    // The lock lives in the folder: on a first run the folder is made now, or a second Mézor would find no lock.
    if (!QDir().mkpath(folder.path())) {
        messenger.critical(UiTexts::folderFailed().arg(shownFolder));
        return std::nullopt;
    }
    auto lock = std::make_unique<QLockFile>(folder.lockFile());
    lock->setStaleLockTime(0); // a lock left by a crashed Mézor of this computer is taken over once its process is gone
    if (lock->tryLock(200)) {
        return lock;
    }
    if (lock->error() != QLockFile::LockFailedError) {
        const QString reason =
            lock->error() == QLockFile::PermissionError ? UiTexts::lockDenied() : UiTexts::lockUnknown();
        if (messenger.ask(UiTexts::lockFailed().arg(shownFolder, reason))) {
            return std::unique_ptr<QLockFile>();
        }
        return std::nullopt;
    }
    // A lock taken on another computer never goes stale by itself (its process cannot be seen from here): after a
    // power cut or a pulled stick there, the keeper says whether that Mézor is really gone.
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock->getLockInfo(&pid, &host, &application) && !host.isEmpty() && host != QSysInfo::machineHostName()) {
        const QString since =
            QLocale(QLocale::French)
                .toString(QFileInfo(folder.lockFile()).lastModified(), QStringLiteral("d MMMM yyyy 'à' HH:mm"));
        if (!messenger.ask(UiTexts::lockedElsewhere().arg(shownFolder, host, QString::number(pid), since))) {
            return std::nullopt;
        }
        if (lock->removeStaleLockFile() && lock->tryLock(200)) {
            return lock;
        }
    }
    messenger.critical(UiTexts::alreadyRunning().arg(shownFolder));
    return std::nullopt;
}

std::unique_ptr<Catalogue> openCatalogue(const CatalogueFolder& folder, Messenger& messenger)
{
    auto catalogue = std::make_unique<Catalogue>(folder.database());
    // A copy before the first write of each run; when it fails the keeper is told once and the write goes on.
    CatalogueBackup::install(*catalogue, folder.backups(), [&messenger](const CatalogueError& failure) {
        messenger.warning(failure.message(), failure.detail());
    });
    return catalogue;
}

namespace {

// The opening without the report of repeated numbers, which needs the series read.
std::optional<LoadedCatalogue> openUnread(const CatalogueFolder& folder, Messenger& messenger)
{
    LoadedCatalogue loaded;
    try {
        if (!QFileInfo::exists(folder.database())) {
            // Where the old program lived, its catalogue is offered before an empty one.
            if (QFileInfo::exists(AccessFile::inFolder(folder)) &&
                messenger.ask(TransferTexts::importOldQuestion(), {}, Messenger::Answer::Yes)) {
                if (!TransferCommands::importOldCatalogue(folder, messenger)) {
                    return std::nullopt;
                }
            } else if (!messenger.ask(UiTexts::createQuestion().arg(QDir::toNativeSeparators(folder.path())), {},
                                      Messenger::Answer::Yes)) {
                return std::nullopt;
            } else {
                createCatalogue(folder);
            }
        }
        loaded.catalogue = openCatalogue(folder, messenger);
    } catch (const CatalogueError& error) {
        if (error.kind() == CatalogueError::Kind::OutOfDate) {
            messenger.critical(UiTexts::outOfDate(), error.message() + u'\n' + error.detail());
        } else {
            messenger.critical(error.message(), error.detail());
        }
        return std::nullopt;
    }
    const std::optional<QStringList> lines = SettingsFile::readLines(folder.settings());
    if (!lines) {
        messenger.critical(UiTexts::outOfDate(), UiTexts::noSettingsFile().arg(folder.settings()));
        return std::nullopt;
    }
    const std::optional<QString> setting = SettingsFile::programSetting(*lines);
    if (!setting) {
        messenger.critical(UiTexts::outOfDate(), UiTexts::noProgramLine().arg(folder.settings()));
        return std::nullopt;
    }
    loaded.programSetting = *setting;
    // An older file gets the newer tables now, after its backup. When it cannot (a read-only file), the keeper is
    // told and works on without the image archive.
    try {
        loaded.catalogue->upgradeSchema();
    } catch (const CatalogueError& error) {
        messenger.warning(error.message(), error.detail());
    }
    return loaded;
}

} // namespace

std::optional<LoadedCatalogue> open(const CatalogueFolder& folder, Messenger& messenger)
{
    std::optional<LoadedCatalogue> loaded = openUnread(folder, messenger);
    if (loaded) {
        reportRepeatedNumbers(*loaded->catalogue, messenger);
    }
    return loaded;
}

std::unique_ptr<MainWindow> openWindow(const CatalogueFolder& folder, const Services& services)
{
    std::optional<LoadedCatalogue> loaded = openUnread(folder, *services.messenger);
    if (!loaded) {
        return nullptr;
    }
    // The series are read on a worker while the window is built; the load step then finds them read.
    Catalogue& catalogue = *loaded->catalogue;
    std::optional<qint64> mark;
    try {
        mark = catalogue.contentMark();
    } catch (const CatalogueError&) {
        // the load step reads the same file and reports the failure
    }
    std::future<std::optional<SeriesContent>> series;
    if (mark) {
        series = std::async(std::launch::async, &Catalogue::readSeries, catalogue.path());
    }
    auto window = std::make_unique<MainWindow>(folder, services);
    if (series.valid()) {
        if (std::optional<SeriesContent> read = series.get()) {
            catalogue.adoptSeries(std::move(*read), *mark);
        }
    }
    reportRepeatedNumbers(catalogue, *services.messenger);
    if (!window->load(std::move(*loaded))) {
        return nullptr;
    }
    Wiring::connectSubsystems(*window);
    return window;
}

} // namespace Startup

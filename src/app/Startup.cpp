#include "app/Startup.h"

#include "app/Wiring.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueBackup.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/SettingsFile.h"
#include "ui/Messenger.h"
#include "ui/UiTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

namespace Startup {

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
    auto lock = std::make_unique<QLockFile>(folder.lockFile());
    lock->setStaleLockTime(0); // a lock left by a crashed Mézor is taken over once its process is gone
    if (lock->tryLock(200)) {
        return lock;
    }
    if (lock->error() == QLockFile::LockFailedError) {
        messenger.critical(UiTexts::alreadyRunning().arg(QDir::toNativeSeparators(folder.path())));
        return std::nullopt;
    }
    return std::unique_ptr<QLockFile>();
}

std::optional<LoadedCatalogue> open(const CatalogueFolder& folder, Messenger& messenger)
{
    LoadedCatalogue loaded;
    try {
        if (!QFileInfo::exists(folder.database())) {
            if (!messenger.ask(UiTexts::createQuestion().arg(QDir::toNativeSeparators(folder.path())))) {
                return std::nullopt;
            }
            createCatalogue(folder);
        }
        loaded.catalogue = std::make_unique<Catalogue>(folder.database());
        // A copy before the first write of each run; when it fails the keeper is told once and the write goes on.
        CatalogueBackup::install(*loaded.catalogue, folder.backups(), [&messenger](const CatalogueError& failure) {
            messenger.warning(failure.message(), failure.detail());
        });
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
    return loaded;
}

std::unique_ptr<MainWindow> openWindow(const CatalogueFolder& folder, const Services& services)
{
    std::optional<LoadedCatalogue> loaded = open(folder, *services.messenger);
    if (!loaded) {
        return nullptr;
    }
    auto window = std::make_unique<MainWindow>(folder, services);
    if (!window->load(std::move(*loaded))) {
        return nullptr;
    }
    Wiring::connectSubsystems(*window);
    return window;
}

} // namespace Startup

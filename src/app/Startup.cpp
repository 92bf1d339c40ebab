#include "app/Startup.h"

#include "app/Opening.h"
#include "app/TransferCommands.h"
#include "app/Wiring.h"
#include "catalogue/CatalogueError.h"
#include "transfer/AccessFile.h"
#include "transfer/TransferTexts.h"
#include "ui/Messenger.h"
#include "ui/UiTexts.h"

#include <QDir>
#include <QFileInfo>

namespace Startup {

std::optional<LoadedCatalogue> open(const CatalogueFolder& folder, Messenger& messenger, Catalogue::Access access)
{
    if (access == Catalogue::Access::ReadWrite && !QFileInfo::exists(folder.database())) {
        try {
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
                Opening::createCatalogue(folder);
            }
        } catch (const CatalogueError& error) {
            messenger.critical(error.message(), error.detail());
            return std::nullopt;
        }
    }
    return Opening::load(folder, messenger, access);
}

std::unique_ptr<MainWindow> openWindow(const CatalogueFolder& folder, const Services& services,
                                       Catalogue::Access access)
{
    std::optional<LoadedCatalogue> loaded = open(folder, *services.messenger, access);
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

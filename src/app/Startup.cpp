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

#include <future>

namespace Startup {

namespace {

// A folder without a catalogue gets one, imported from the old program's file or empty, when the keeper agrees.
bool prepare(const CatalogueFolder& folder, Messenger& messenger, Catalogue::Access access)
{
    if (access == Catalogue::Access::ReadWrite && !QFileInfo::exists(folder.database())) {
        try {
            // Where the old program lived, its catalogue is offered before an empty one.
            if (QFileInfo::exists(AccessFile::inFolder(folder)) &&
                messenger.ask(TransferTexts::importOldQuestion(), {}, Messenger::Answer::Yes)) {
                if (!TransferCommands::importOldCatalogue(folder, messenger)) {
                    return false;
                }
            } else if (!messenger.ask(UiTexts::createQuestion().arg(QDir::toNativeSeparators(folder.path())), {},
                                      Messenger::Answer::Yes)) {
                return false;
            } else {
                Opening::createCatalogue(folder);
            }
        } catch (const CatalogueError& error) {
            messenger.critical(error.message(), error.detail());
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<LoadedCatalogue> open(const CatalogueFolder& folder, Messenger& messenger, Catalogue::Access access)
{
    if (!prepare(folder, messenger, access)) {
        return std::nullopt;
    }
    return Opening::load(folder, messenger, access);
}

std::unique_ptr<MainWindow> openWindow(const CatalogueFolder& folder, const Services& services,
                                       Catalogue::Access access)
{
    if (!prepare(folder, *services.messenger, access)) {
        return nullptr;
    }
    std::optional<LoadedCatalogue> loaded = Opening::loadUnreported(folder, *services.messenger, access);
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
    Opening::reportRepeatedNumbers(catalogue, *services.messenger);
    if (!window->load(std::move(*loaded))) {
        return nullptr;
    }
    Wiring::connectSubsystems(*window);
    return window;
}

} // namespace Startup

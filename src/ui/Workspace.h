#pragma once

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFolder.h"
#include "ui/CatalogueEvents.h"
#include "ui/Messenger.h"
#include "ui/Services.h"

#include <memory>

/// What every subsystem acts on besides its own views: the open catalogue, the folder it lives in, the search
/// program's setting read at start, the announcements of changes, and the services (messages, desktop, outside programs). The main window owns
/// it; the catalogue is there from the load step to the shutdown.
struct Workspace {
    CatalogueFolder folder;
    Services services;
    std::unique_ptr<Catalogue> catalogue;
    QString programSetting;
    /// Announces committed changes to the views; owned by the main window.
    CatalogueEvents* events = nullptr;

    Messenger& messenger() const { return *services.messenger; }
};

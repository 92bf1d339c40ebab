#pragma once

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFolder.h"
#include "ui/Messenger.h"
#include "ui/Services.h"

#include <memory>

/// What every subsystem acts on besides its own views: the open catalogue, the folder it lives in, the search
/// program's setting read at start, and the services (messages, desktop, outside programs). The main window owns
/// it; the catalogue is there from the load step to the shutdown.
struct Workspace {
    CatalogueFolder folder;
    Services services;
    std::unique_ptr<Catalogue> catalogue;
    QString programSetting;

    Messenger& messenger() const { return *services.messenger; }
};

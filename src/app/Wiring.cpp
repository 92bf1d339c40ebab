#include "app/Wiring.h"

#include "browsing/GridBrowser.h"
#include "check/ComparisonLauncher.h"
#include "editing/EntryEditController.h"
#include "image/ImageWindow.h"
#include "search/SearchController.h"
#include "transfer/TransferController.h"
#include "ui/CategoryTab.h"
#include "ui/MainWindow.h"
#include "ui/SearchTab.h"
#include "ui/WindowPlacement.h"

#include <QButtonGroup>
#include <QPushButton>

namespace Wiring {

namespace {

// The image window replaces the main window on screen until it is closed.
void openImageWindow(MainWindow& window, const ImageRequest& request)
{
    auto* image = new ImageWindow(window.folder(), window.messenger(), ImagePreviewSettings{}, &window);
    WindowPlacement::centre(*image, &window);
    image->show();
    image->raise();
    image->activateWindow();
    window.hide();
    image->display(request);
}

} // namespace

void connectSubsystems(MainWindow& window)
{
    const Workspace& workspace = window.workspace();
    auto* editing = new EntryEditController(workspace, &window);
    auto* browsing = new GridBrowser(workspace, &window);
    auto* searching = new SearchController(workspace,
                                           {*window.searchTab(), *window.statisticsTab(), window.categoryTabs(),
                                            *window.tabs(), *window.lastSelection()},
                                           &window);
    auto* checking = new ComparisonLauncher(workspace, &window, &window);

    // The four category tabs: add, update, sort, select; "<<" and ">>" scroll the tab's own grid.
    for (CategoryTab* tab : window.categoryTabs()) {
        QObject::connect(tab, &CategoryTab::addClicked, editing, [editing, tab] { editing->add(*tab); });
        QObject::connect(tab, &CategoryTab::updateClicked, editing, [editing, tab] { editing->update(*tab); });
        QObject::connect(tab, &CategoryTab::headerClicked, browsing,
                         [browsing, tab](int column) { browsing->sort(*tab, column); });
        QObject::connect(tab, &CategoryTab::rowClicked, browsing,
                         [browsing, tab](int gridRow) { browsing->select(*tab, gridRow); });
    }
    QObject::connect(browsing, &GridBrowser::imageRequested, &window,
                     [&window](const Category& category, const PuzzleEntry& entry) {
                         openImageWindow(window, ImageRequest::of(category, entry));
                     });

    // The search tab, and the step that every change of tab runs.
    SearchTab* search = window.searchTab();
    QObject::connect(search->searchButton(), &QPushButton::clicked, searching, &SearchController::search);
    QObject::connect(search->options(), &QButtonGroup::idToggled, searching, [searching](int, bool checked) {
        if (checked) {
            searching->reset();
        }
    });
    QObject::connect(search, &SearchTab::resultChosen, searching, &SearchController::pick);
    QObject::connect(&window, &MainWindow::tabChanged, searching, &SearchController::tabChanged);

    // "Vérifier les MAJ".
    QObject::connect(search->checkButton(), &QPushButton::clicked, checking, &ComparisonLauncher::compare);

    // Menu "Catalogue": the CSV export and import, the catalogue's folder. An import shows the new catalogue as a
    // start does: grids and author lists, then the tab-change step for the statistics.
    auto* transfer = new TransferController(workspace, &window, &window);
    transfer->addActions(*window.catalogueMenu());
    QObject::connect(transfer, &TransferController::imported, &window, [&window, searching] {
        if (window.reload()) {
            searching->reset();
            searching->tabChanged();
        }
    });
}

} // namespace Wiring

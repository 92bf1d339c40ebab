#include "app/Wiring.h"

#include "app/LinkJobs.h"
#include "browsing/GridBrowser.h"
#include "catalogue/CatalogueError.h"
#include "check/ComparisonLauncher.h"
#include "consistency/ConsistencyTexts.h"
#include "consistency/ConsistencyWindow.h"
#include "editing/EntryEditController.h"
#include "image/ImageArchive.h"
#include "image/ImageWindow.h"
#include "links/LinkCheckWindow.h"
#include "links/LinksTexts.h"
#include "search/SearchController.h"
#include "transfer/Csv.h"
#include "transfer/TransferController.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/MainWindow.h"
#include "ui/SearchTab.h"
#include "ui/WindowPlacement.h"

#include <QAction>
#include <QButtonGroup>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

namespace Wiring {

namespace {

// The image window replaces the main window on screen until it is closed.
void openImageWindow(MainWindow& window, ImageArchive& archive, const Category& category, const PuzzleEntry& entry)
{
    auto* image = new ImageWindow(window.folder(), window.messenger(), ImagePreviewSettings{}, &window, &archive);
    WindowPlacement::centre(*image, &window);
    image->show();
    image->raise();
    image->activateWindow();
    window.hide();
    image->display(ImageRequest::of(category, entry), &category);
}

// ---- Links that last: "Vérifier les liens…" and "Archiver les images…" ----

// What a row click does, for the entry that a row of the link window names.
void showEntry(MainWindow& window, GridBrowser& browsing, int category, const QString& ref)
{
    CategoryTab* tab = window.categoryTab(Category::all().at(category));
    window.raise();
    window.activateWindow();
    window.tabs()->setCurrentWidget(tab);
    const int row = tab->model()->findRow(0, ref);
    if (row < 0) {
        return; // no longer in the grid
    }
    tab->grid()->setCurrentIndex(tab->model()->index(row, 0));
    tab->scrollToGridRow(row + 1);
    browsing.select(*tab, row + 1);
}

// One link window at a time: two runs side by side would double the requests to each host.
void runLinks(MainWindow& window, GridBrowser& browsing, ImageArchive& archive, LinkMode mode)
{
    LinkCheckWindow* current = window.findChild<LinkCheckWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (current && current->isRunning()) {
        current->raise();
        current->activateWindow();
        return;
    }
    LinkJob job;
    try {
        job = mode == LinkMode::Check ? LinkJobs::check(window.catalogue())
                                      : LinkJobs::archive(window.catalogue(), archive);
    } catch (const CatalogueError& error) {
        window.messenger().critical(error.message(), error.detail());
        return;
    }
    if (current) {
        current->close();
    }
    current = new LinkCheckWindow(window.messenger(), {LinkJobs::settings(), &Csv::file, {}}, &window);
    QObject::connect(
        current, &LinkCheckWindow::entryChosen, &browsing,
        [&window, &browsing](int category, const QString& ref) { showEntry(window, browsing, category, ref); });
    WindowPlacement::centre(*current, &window);
    current->show();
    current->start(job, mode == LinkMode::Archive ? LinkJobs::keeper(archive) : LinkRun::Keeper());
}

void connectLinks(MainWindow& window, GridBrowser& browsing, ImageArchive& archive)
{
    QAction* check = window.catalogueMenu()->addAction(LinksTexts::checkAction());
    check->setObjectName(QStringLiteral("action_liens"));
    QObject::connect(check, &QAction::triggered, &window,
                     [&window, &browsing, &archive] { runLinks(window, browsing, archive, LinkMode::Check); });
    QAction* keep = window.catalogueMenu()->addAction(LinksTexts::archiveAction());
    keep->setObjectName(QStringLiteral("action_images"));
    QObject::connect(keep, &QAction::triggered, &window,
                     [&window, &browsing, &archive] { runLinks(window, browsing, archive, LinkMode::Archive); });
}

// ---- "Contrôler le catalogue…" ----

// One window at a time, checked again each time it is asked for.
void openConsistency(MainWindow& window, GridBrowser& browsing)
{
    auto* current = window.findChild<ConsistencyWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!current) {
        current = new ConsistencyWindow(window.workspace(), &window);
        QObject::connect(
            current, &ConsistencyWindow::entryChosen, &browsing,
            [&window, &browsing](int category, const QString& ref) { showEntry(window, browsing, category, ref); });
        WindowPlacement::centre(*current, &window);
    }
    current->refresh();
    current->show();
    current->raise();
    current->activateWindow();
}

} // namespace

void connectSubsystems(MainWindow& window)
{
    const Workspace& workspace = window.workspace();
    auto* editing = new EntryEditController(workspace, &window);
    auto* browsing = new GridBrowser(workspace, &window);
    auto* searching = new SearchController(
        workspace,
        {*window.searchTab(), *window.statisticsTab(), window.categoryTabs(), *window.tabs(), *window.lastSelection()},
        &window);
    auto* checking = new ComparisonLauncher(workspace, &window, &window);
    auto* archive = new ImageArchive(window.folder(), window.catalogue(), &window);

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
                     [&window, archive](const Category& category, const PuzzleEntry& entry) {
                         openImageWindow(window, *archive, category, entry);
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

    // Menu "Catalogue": the CSV export and import, the catalogue's folder.
    auto* transfer = new TransferController(workspace, &window, &window);
    transfer->addActions(*window.catalogueMenu());
    QObject::connect(transfer, &TransferController::imported, &window.events(), &CatalogueEvents::catalogueReplaced);

    // Whatever changed entries outside a tab's panel shows them as a start does: grids and author lists, then the
    // tab-change step for the statistics.
    const auto reloadAll = [&window, searching] {
        if (window.reload()) {
            searching->reset();
            searching->tabChanged();
        }
    };
    QObject::connect(&window.events(), &CatalogueEvents::catalogueReplaced, &window, reloadAll);
    QObject::connect(&window.events(), &CatalogueEvents::seriesChanged, &window, reloadAll);
    QObject::connect(archive, &ImageArchive::kept, &window.events(), &CatalogueEvents::keptCopyChanged);

    // "Catalogue" › "Vérifier les liens…" and "Archiver les images…".
    connectLinks(window, *browsing, *archive);

    // "Catalogue" › "Contrôler le catalogue…".
    QAction* check = window.catalogueMenu()->addAction(ConsistencyTexts::checkAction());
    check->setObjectName(QStringLiteral("action_controle"));
    QObject::connect(check, &QAction::triggered, &window, [&window, browsing] { openConsistency(window, *browsing); });
}

} // namespace Wiring

#include "app/Wiring.h"

#include "app/LinkJobs.h"
#include "browsing/GridBrowser.h"
#include "catalogue/CatalogueError.h"
#include "check/CheckTexts.h"
#include "check/ComparisonLauncher.h"
#include "check/ProgramChooser.h"
#include "consistency/ConsistencyTexts.h"
#include "consistency/ConsistencyWindow.h"
#include "editing/EntryEditController.h"
#include "history/BackupRestoreWindow.h"
#include "history/HistoryTexts.h"
#include "history/HistoryWindow.h"
#include "history/UndoController.h"
#include "gallery/GalleryTexts.h"
#include "gallery/GalleryWindow.h"
#include "image/ImageArchive.h"
#include "image/ImageWindow.h"
#include "links/LinkCheckWindow.h"
#include "links/LinksTexts.h"
#include "publish/BbcodeDialog.h"
#include "publish/PublishTexts.h"
#include "publish/PublishWindow.h"
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
#include <QDir>
#include <QFileDialog>
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

// ---- Nothing lost by a slip: undo and redo, the history, the backups ----

// One window of each kind, shown again when asked again.
template <typename W> W* shownWindow(MainWindow& window)
{
    W* shown = window.findChild<W*>(QString(), Qt::FindDirectChildrenOnly);
    if (!shown) {
        shown = new W(window.workspace(), &window);
        WindowPlacement::centre(*shown, &window);
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
    return shown;
}

void connectHistory(MainWindow& window)
{
    auto* undo = new UndoController(window.workspace(), &window);
    window.editMenu()->addAction(undo->undoAction());
    window.editMenu()->addAction(undo->redoAction());

    QAction* history = window.catalogueMenu()->addAction(HistoryTexts::historyAction());
    history->setObjectName(QStringLiteral("action_historique"));
    QObject::connect(history, &QAction::triggered, &window,
                     [&window] { shownWindow<HistoryWindow>(window)->showAll(); });
    QAction* backups = window.catalogueMenu()->addAction(HistoryTexts::backupsAction());
    backups->setObjectName(QStringLiteral("action_sauvegardes"));
    QObject::connect(backups, &QAction::triggered, &window,
                     [&window] { shownWindow<BackupRestoreWindow>(window)->reload(); });

    // "Historique de cette entrée" on each grid's context menu, for the row under the pointer (made current by the
    // press that opens the menu).
    for (CategoryTab* tab : window.categoryTabs()) {
        auto* entry = new QAction(HistoryTexts::entryHistoryAction(), tab->grid());
        entry->setObjectName(tab->category().name(u"historique_"));
        tab->grid()->setContextMenuPolicy(Qt::ActionsContextMenu);
        tab->grid()->addAction(entry);
        QObject::connect(entry, &QAction::triggered, &window, [&window, tab] {
            const QModelIndex current = tab->grid()->currentIndex();
            if (current.isValid()) {
                shownWindow<HistoryWindow>(window)->showEntry(tab->category(), tab->model()->cell(current.row(), 0));
            }
        });
    }
}

// ---- "Galerie…": the series of the current tab as pictures ----

void openGallery(MainWindow& window, GridBrowser& browsing, ImageArchive& archive, const Category& category)
{
    // One gallery per series: asking again brings it forward.
    for (GalleryWindow* open : window.findChildren<GalleryWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (open->category().index == category.index) {
            open->raise();
            open->activateWindow();
            return;
        }
    }
    auto* gallery = new GalleryWindow(window.workspace(), category, &window);
    QObject::connect(gallery, &GalleryWindow::imageRequested, &window,
                     [&window, &archive](const Category& series, const PuzzleEntry& entry) {
                         openImageWindow(window, archive, series, entry);
                     });
    QObject::connect(
        gallery, &GalleryWindow::entryChosen, &browsing,
        [&window, &browsing](int series, const QString& ref) { showEntry(window, browsing, series, ref); });
    QObject::connect(gallery, &GalleryWindow::archiveRequested, &window, [&window] {
        if (auto* keep = window.findChild<QAction*>(QStringLiteral("action_images"))) {
            keep->trigger();
        }
    });
    WindowPlacement::centre(*gallery, &window);
    gallery->show();
}

void connectGallery(MainWindow& window, GridBrowser& browsing, ImageArchive& archive)
{
    QAction* gallery = window.catalogueMenu()->addAction(GalleryTexts::action());
    gallery->setObjectName(QStringLiteral("action_galerie"));
    gallery->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    // A gallery shows a series: the action is there on the four category tabs only.
    const auto follow = [&window, gallery] {
        gallery->setEnabled(Category::byTab(window.tabs()->currentIndex()) != nullptr);
    };
    QObject::connect(window.tabs(), &QTabWidget::currentChanged, gallery, follow);
    follow();
    QObject::connect(gallery, &QAction::triggered, &window, [&window, &browsing, &archive] {
        if (const Category* category = Category::byTab(window.tabs()->currentIndex())) {
            openGallery(window, browsing, archive, *category);
        }
    });
}

// ---- "Publier": the recap for the forum and the HTML catalogue ----

// One publication at a time: two would write the same files.
void publishHtml(MainWindow& window)
{
    PublishWindow* current = window.findChild<PublishWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (current && current->isRunning()) {
        current->raise();
        current->activateWindow();
        return;
    }
    const QString folder = QFileDialog::getExistingDirectory(&window, PublishTexts::chooseFolder(), QDir::homePath());
    if (folder.isEmpty()) {
        return;
    }
    PublicationPlan plan;
    try {
        plan = PublicationPlan::of(window.catalogue(), window.folder());
    } catch (const CatalogueError& error) {
        window.messenger().critical(error.message(), error.detail());
        return;
    }
    if (current) {
        current->close();
    }
    current = new PublishWindow(&window);
    WindowPlacement::centre(*current, &window);
    current->show();
    current->start(folder, std::move(plan));
}

void connectPublish(MainWindow& window)
{
    QMenu* publish = window.catalogueMenu()->addMenu(PublishTexts::menu());
    publish->setObjectName(QStringLiteral("menu_publier"));
    QAction* bbcode = publish->addAction(PublishTexts::bbcodeAction());
    bbcode->setObjectName(QStringLiteral("action_bbcode"));
    QObject::connect(bbcode, &QAction::triggered, &window, [&window] {
        BbcodeDialog dialog(window.catalogue(), window.messenger(), &window);
        dialog.exec();
    });
    QAction* html = publish->addAction(PublishTexts::htmlAction());
    html->setObjectName(QStringLiteral("action_publication"));
    QObject::connect(html, &QAction::triggered, &window, [&window] { publishHtml(window); });
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
        // The panel holds the highlighted entry, so that a "MAJ" corrects the one the keeper looks at.
        QObject::connect(tab, &CategoryTab::rowHighlighted, browsing,
                         [browsing, tab](int gridRow) { browsing->follow(*tab, gridRow); });
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

    // "Vérifier les MAJ", and the menu's choice of the program it starts.
    QObject::connect(search->checkButton(), &QPushButton::clicked, checking, &ComparisonLauncher::compare);
    auto* programs = new ProgramChooser(workspace, &window, &window);
    QAction* program = window.catalogueMenu()->addAction(CheckTexts::chooseProgramAction());
    program->setObjectName(QStringLiteral("mnu_programme"));
    QObject::connect(program, &QAction::triggered, programs, &ProgramChooser::choose);
    QObject::connect(programs, &ProgramChooser::chosen, &window, &MainWindow::setProgramSetting);

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

    // "Édition" › "Annuler", "Rétablir"; "Catalogue" › "Historique…", "Restaurer une sauvegarde…".
    connectHistory(window);

    // "Catalogue" › "Galerie…" (Ctrl+G on a category tab).
    connectGallery(window, *browsing, *archive);

    // "Catalogue" › "Publier" › "Récapitulatif BBCode…" and "Catalogue HTML…".
    connectPublish(window);

    // "Catalogue" › "Contrôler le catalogue…".
    QAction* check = window.catalogueMenu()->addAction(ConsistencyTexts::checkAction());
    check->setObjectName(QStringLiteral("action_controle"));
    QObject::connect(check, &QAction::triggered, &window, [&window, browsing] { openConsistency(window, *browsing); });
}

} // namespace Wiring

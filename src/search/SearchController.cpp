#include "search/SearchController.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/Category.h"
#include "search/Search.h"
#include "search/Statistics.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/SearchTab.h"
#include "ui/StatisticsTab.h"
#include "ui/Workspace.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

namespace {

// The option ids of the search tab are the categories' descriptor indexes; −1 when none is chosen.
const Category* chosenCategory(const SearchTab& tab)
{
    const int id = tab.options()->checkedId();
    return id >= 0 && id < Category::all().size() ? &Category::all().at(id) : nullptr;
}

} // namespace

SearchController::SearchController(const Workspace& workspace, SearchViews views, QObject* parent)
    : QObject(parent)
    , m_workspace(workspace)
    , m_views(std::move(views))
{
}

void SearchController::search()
{
    SearchTab* tab = &m_views.search;
    const Category* category = chosenCategory(*tab);
    if (category) {
        tab->criterion()->setText(tab->criterion()->text().trimmed());
    }
    if (const auto refusal = Search::refusal(category != nullptr, tab->criterion()->text())) {
        m_workspace.messenger().warning(*refusal);
        return;
    }
    try {
        const QList<PuzzleEntry> entries = m_workspace.catalogue->entries(*category, EntryOrder::Stored);
        tab->showHits(Search::hits(entries, tab->criterion()->text()));
    } catch (const CatalogueError& error) {
        m_workspace.messenger().critical(error.message(), error.detail());
    }
}

void SearchController::reset()
{
    m_views.search.clearResults();
}

void SearchController::pick(int gridRow)
{
    SearchTab* tab = &m_views.search;
    const Category* category = chosenCategory(*tab);
    const QString number = tab->resultsModel()->cell(gridRow - 1, 0);
    // The empty row after the hits and the "Non trouvé" row carry no number.
    if (!category || number.isEmpty()) {
        return;
    }
    // Runs the tab-change step to its end, which clears any earlier mark, before this pick marks its row.
    m_views.tabs.setCurrentIndex(category->tabIndex);

    // The row that shows the picked number, whatever the grid's order (in number order, entry N is row N).
    CategoryTab* page = m_views.categories.at(category->index);
    GridModel* model = page->model();
    const int row = model->findRow(0, number);
    if (row >= 0) {
        // Current without being selected, so that the selection colour does not hide the yellow mark.
        page->grid()->selectionModel()->setCurrentIndex(model->index(row, 1), QItemSelectionModel::Clear);
        page->scrollToGridRow(row + 1);
        model->setCellBackground(row, 1, QColor(Qt::yellow));
        m_views.lastSelection.setText(QString::number(row + 1));
    }
    page->numberBox()->clear();
    page->answerBox()->clear();
    page->authorBox()->setEditText(QString());
}

void SearchController::tabChanged()
{
    StatisticsTab* statistics = &m_views.statistics;
    statistics->setHeaders();
    for (const Category& category : Category::all()) {
        m_views.categories.at(category.index)->clearPanel();
    }
    rebuildStatistics();
    removeMark();
}

void SearchController::rebuildStatistics()
{
    StatisticsTab* statistics = &m_views.statistics;
    // Everything is read before any grid changes, so a failed read leaves no grid half rebuilt.
    QList<QList<AuthorCount>> counts;
    try {
        const Catalogue& catalogue = *m_workspace.catalogue;
        const Statistics registered(catalogue.authors());
        for (const Category& category : Category::all()) {
            QStringList entryAuthors;
            for (const PuzzleEntry& entry : catalogue.entries(category, EntryOrder::Stored)) {
                entryAuthors.append(entry.author);
            }
            counts.append(registered.count(entryAuthors));
        }
    } catch (const CatalogueError& error) {
        // Counts that can no longer be read are not shown as if they were current.
        for (const Category& category : Category::all()) {
            statistics->showCounts(category.index, {});
        }
        m_workspace.messenger().critical(error.message(), error.detail());
        return;
    }
    for (const Category& category : Category::all()) {
        statistics->showCounts(category.index, counts.at(category.index));
    }
}

void SearchController::removeMark()
{
    QLineEdit* lastSelection = &m_views.lastSelection;
    const int row = lastSelection->text().toInt();
    if (row > 0) {
        for (const Category& category : Category::all()) {
            GridModel* model = m_views.categories.at(category.index)->model();
            if (row <= model->rowCount()) {
                model->setCellBackground(row - 1, 1, QColor());
            }
        }
    }
    lastSelection->setText(QStringLiteral("0"));
}

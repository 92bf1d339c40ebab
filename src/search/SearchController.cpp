#include "search/SearchController.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/Category.h"
#include "search/Search.h"
#include "search/SearchTab.h"
#include "search/Statistics.h"
#include "search/StatisticsTab.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/MainWindow.h"
#include "ui/Messenger.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
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

SearchController::SearchController(MainWindow& window)
    : QObject(&window)
    , m_window(window)
{
    SearchTab* tab = window.searchTab();
    connect(tab->searchButton(), &QPushButton::clicked, this, &SearchController::search);
    connect(tab->options(), &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) {
            reset();
        }
    });
    connect(tab->results(), &QTableView::clicked, this, [this](const QModelIndex& index) { pick(index.row() + 1); });
    connect(&window, &MainWindow::tabChanged, this, &SearchController::tabChanged);
}

void SearchController::search()
{
    SearchTab* tab = m_window.searchTab();
    const Category* category = chosenCategory(*tab);
    if (category) {
        tab->criterion()->setText(tab->criterion()->text().trimmed());
    }
    if (const auto refusal = Search::refusal(category != nullptr, tab->criterion()->text())) {
        m_window.messenger().warning(*refusal);
        return;
    }
    try {
        const QList<PuzzleEntry> entries = m_window.catalogue().entries(*category, EntryOrder::Stored);
        tab->showHits(Search::hits(entries, tab->criterion()->text()));
    } catch (const CatalogueError& error) {
        m_window.messenger().critical(error.message(), error.detail());
    }
}

void SearchController::reset()
{
    m_window.searchTab()->clearResults();
}

void SearchController::pick(int gridRow)
{
    SearchTab* tab = m_window.searchTab();
    const Category* category = chosenCategory(*tab);
    const QString number = tab->resultsModel()->cell(gridRow - 1, 0);
    // The empty row after the hits and the "Non trouvé" row carry no number.
    bool numeric = false;
    const int row = number.toInt(&numeric);
    if (!category || number.isEmpty() || !numeric || row < 1) {
        return;
    }
    // Runs the tab-change step to its end, which clears any earlier mark, before this pick marks its row.
    m_window.tabs()->setCurrentIndex(category->tabIndex);

    // Entry N is grid row N while the grid lists the series in number order.
    CategoryTab* page = m_window.categoryTab(*category);
    GridModel* model = page->model();
    if (row <= model->rowCount()) {
        // Current without being selected, so that the selection colour does not hide the yellow mark.
        page->grid()->selectionModel()->setCurrentIndex(model->index(row - 1, 1), QItemSelectionModel::Clear);
        page->scrollToGridRow(row);
        model->setCellBackground(row - 1, 1, QColor(Qt::yellow));
        m_window.lastSelection()->setText(QString::number(row));
    }
    page->numberBox()->clear();
    page->answerBox()->clear();
    page->authorBox()->setEditText(QString());
}

void SearchController::tabChanged()
{
    StatisticsTab* statistics = m_window.statisticsTab();
    statistics->setHeaders();
    for (const Category& category : Category::all()) {
        m_window.categoryTab(category)->clearPanel();
    }
    rebuildStatistics();
    removeMark();
}

void SearchController::rebuildStatistics()
{
    StatisticsTab* statistics = m_window.statisticsTab();
    // Everything is read before any grid changes, so a failed read leaves no grid half rebuilt.
    QList<QList<AuthorCount>> counts;
    try {
        const Catalogue& catalogue = m_window.catalogue();
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
        m_window.messenger().critical(error.message(), error.detail());
        return;
    }
    for (const Category& category : Category::all()) {
        statistics->showCounts(category.index, counts.at(category.index));
    }
}

void SearchController::removeMark()
{
    QLineEdit* lastSelection = m_window.lastSelection();
    const int row = lastSelection->text().toInt();
    if (row > 0) {
        for (const Category& category : Category::all()) {
            GridModel* model = m_window.categoryTab(category)->model();
            if (row <= model->rowCount()) {
                model->setCellBackground(row - 1, 1, QColor());
            }
        }
    }
    lastSelection->setText(QStringLiteral("0"));
}

#pragma once

#include <QList>
#include <QObject>

class CategoryTab;
class QLineEdit;
class QTabWidget;
class SearchTab;
class StatisticsTab;
struct Workspace;

/// The views that the search and the tab-change step drive.
struct SearchViews {
    SearchTab& search;
    StatisticsTab& statistics;
    QList<CategoryTab*> categories; ///< descriptor order
    QTabWidget& tabs;
    QLineEdit& lastSelection; ///< the grid row marked by the last pick, or "0"
};

/// The search tab's search, reset and pick, and the tab-change step that rebuilds the statistics grids, empties
/// the edit panels and removes the mark of the last pick.
class SearchController : public QObject {
    Q_OBJECT

public:
    SearchController(const Workspace& workspace, SearchViews views, QObject* parent = nullptr);

    /// "GO !": searches the chosen category's answers for the criterion.
    void search();
    /// A category option was chosen: the criterion and the results are emptied.
    void reset();
    /// A click on grid row `gridRow` of the results: shows that entry's tab with its row marked.
    void pick(int gridRow);
    /// The tab-change step.
    void tabChanged();

private:
    void rebuildStatistics();
    void removeMark();

    const Workspace& m_workspace;
    SearchViews m_views;
};

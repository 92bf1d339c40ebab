#pragma once

#include <QObject>

class MainWindow;

/// The search tab's search, reset and pick, and the tab-change step that rebuilds the statistics grids, empties
/// the edit panels and removes the mark of the last pick.
class SearchController : public QObject {
    Q_OBJECT

public:
    explicit SearchController(MainWindow& window);

private:
    void search();
    void reset();
    void pick(int gridRow);
    void tabChanged();
    void rebuildStatistics();
    void removeMark();

    MainWindow& m_window;
};

#pragma once

#include <QObject>

class MainWindow;

/// The search tab's search, reset and pick, and the tab-change step.
class SearchController : public QObject {
    Q_OBJECT

public:
    explicit SearchController(MainWindow& window);

private:
    MainWindow& m_window;
};

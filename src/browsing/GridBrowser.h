#pragma once

#include <QObject>

class MainWindow;

/// Header clicks, row clicks and the scroll buttons of the four category grids.
class GridBrowser : public QObject {
    Q_OBJECT

public:
    explicit GridBrowser(MainWindow& window);

private:
    MainWindow& m_window;
};

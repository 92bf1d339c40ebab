#pragma once

#include <QObject>

class CategoryTab;
class MainWindow;
struct PuzzleEntry;

/// Header clicks and row clicks of the four category grids: a header click re-reads the series in the order of
/// its column; a row click copies the entry into the edit panel and, when asked, shows its image on the desktop
/// or in the image window. (The "<<" and ">>" buttons are wired by the tab itself.)
class GridBrowser : public QObject {
    Q_OBJECT

public:
    explicit GridBrowser(MainWindow& window);

private:
    void sort(CategoryTab& tab, int column);
    void select(CategoryTab& tab, int gridRow);
    void openOnDesktop(const QString& address);
    void openImageWindow(const CategoryTab& tab, const PuzzleEntry& entry);

    MainWindow& m_window;
};

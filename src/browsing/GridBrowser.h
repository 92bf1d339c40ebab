#pragma once

#include <QObject>

class CategoryTab;
struct Category;
struct PuzzleEntry;
struct Workspace;

/// Header clicks and row clicks of the four category grids: a header click re-reads the series in the order of
/// its column; a row click copies the entry into the edit panel and, when asked, shows its image on the desktop
/// or asks for the image window. (The "<<" and ">>" buttons are wired by the tab itself.)
class GridBrowser : public QObject {
    Q_OBJECT

public:
    explicit GridBrowser(const Workspace& workspace, QObject* parent = nullptr);

    /// Refills the tab's grid in the order of header column `column` (0 number, 1 answer, 2 author).
    void sort(CategoryTab& tab, int column);
    /// Takes the entry shown on grid row `gridRow` (1 = first entry) into the panel and shows its image.
    void select(CategoryTab& tab, int gridRow);

signals:
    /// The keeper asked to see this stored entry's picture in the image window.
    void imageRequested(const Category& category, const PuzzleEntry& entry);

private:
    void openOnDesktop(const QString& address);

    const Workspace& m_workspace;
};

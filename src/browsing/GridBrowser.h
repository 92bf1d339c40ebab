#pragma once

#include "catalogue/PuzzleEntry.h"

#include <QObject>

#include <optional>

class CategoryTab;
struct Category;
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
    /// Takes that entry into the panel only: the panel follows the row the keeper highlights with the keys.
    void follow(CategoryTab& tab, int gridRow);

signals:
    /// The keeper asked to see this stored entry's picture in the image window.
    void imageRequested(const Category& category, const PuzzleEntry& entry);

private:
    /// The entry of grid row `gridRow` as the panel now shows it, and as stored; nothing when there is no such row
    /// or the catalogue could not be read (the keeper was told).
    std::optional<std::pair<PuzzleEntry, std::optional<PuzzleEntry>>> takeIntoPanel(CategoryTab& tab, int gridRow);
    void openOnDesktop(const QString& address);

    const Workspace& m_workspace;
};

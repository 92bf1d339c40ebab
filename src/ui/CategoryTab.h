#pragma once

#include "catalogue/Category.h"
#include "catalogue/PuzzleEntry.h"

#include <QWidget>

#include <optional>

class GridModel;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

/// One category tab: the grid of the series, the scroll buttons, the "Affichage" options and the edit panel.
/// The four tabs are this one widget built from their `Category`; every child carries its documented objectName.
class CategoryTab : public QWidget {
    Q_OBJECT

public:
    enum class Display { Window, Web, Forum };

    explicit CategoryTab(const Category& category, QWidget* parent = nullptr);

    const Category& category() const { return m_category; }
    GridModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }

    /// Grid fill: one row per entry, in the given order, then the last entry scrolled to the top.
    void fill(const QList<PuzzleEntry>& entries);
    static QStringList gridCells(const PuzzleEntry& entry);

    /// Scrolls so that grid row `gridRow` (1 = first entry) is the first row shown, as far as the grid allows, and
    /// keeps it there while the view changes size, until the keeper scrolls.
    void scrollToGridRow(int gridRow);
    /// The grid row shown first under the header, or 0 when the grid has no entry.
    int topGridRow() const;
    void showFirstRows();
    void showLastRows();

    /// The panel as typed: number, answer, author (the combo's edit text), image and forum addresses.
    PuzzleEntry panel() const;
    void setPanel(const PuzzleEntry& entry);
    /// Empties the five boxes; the author list itself stays.
    void clearPanel();
    void setAuthorList(const QStringList& authors);

    bool showImageChecked() const;
    Display display() const;

    QLineEdit* numberBox() const { return m_number; }
    QLineEdit* answerBox() const { return m_answer; }
    QComboBox* authorBox() const { return m_author; }
    QLineEdit* urlBox() const { return m_url; }
    QLineEdit* linkBox() const { return m_link; }

signals:
    void addClicked();
    void updateClicked();
    /// A click on the header of column 0, 1 or 2.
    void headerClicked(int column);
    /// A click on any cell of a body row, or Enter on the current row; `gridRow` counts the header as row 0.
    void rowClicked(int gridRow);
    /// The keeper moved the current row with the keys (arrows, page keys, Home, End) to `gridRow`.
    void rowHighlighted(int gridRow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keepPinnedRow();

    Category m_category;
    std::optional<int> m_pinnedRow; ///< grid row kept first under the header, until the keeper scrolls
    bool m_keyHeld = false;         ///< between a key's press and release on the grid
    GridModel* m_model;
    QTableView* m_grid;
    QLineEdit* m_number;
    QLineEdit* m_answer;
    QComboBox* m_author;
    QLineEdit* m_url;
    QLineEdit* m_link;
    QCheckBox* m_showImage;
    QRadioButton* m_window;
    QRadioButton* m_web;
    QRadioButton* m_forum;
};

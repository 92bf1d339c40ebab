#pragma once

#include "catalogue/PuzzleEntry.h"

#include <QWidget>

class GridModel;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

/// The "Recherche" tab: a category option, the criterion, "GO !", the hits and their count, and "Vérifier les MAJ".
class SearchTab : public QWidget {
    Q_OBJECT

public:
    explicit SearchTab(QWidget* parent = nullptr);

    QLineEdit* criterion() const { return m_criterion; }
    QPushButton* searchButton() const { return m_search; }
    QPushButton* checkButton() const { return m_check; }
    QTableView* results() const { return m_results; }
    GridModel* resultsModel() const { return m_model; }
    QLabel* countLabel() const { return m_count; }
    QButtonGroup* options() const { return m_options; }
    /// The option of category `index` (descriptor order).
    QRadioButton* option(int index) const;

    /// The hits with their count, or the "Non trouvé" row when there is none.
    void showHits(const QList<PuzzleEntry>& hits);
    /// Empties the criterion, the results (one empty row) and the count.
    void clearResults();

signals:
    /// A click on a row of the results, or Enter on the current one; `gridRow` counts the header as row 0.
    void resultChosen(int gridRow);

private:
    QLineEdit* m_criterion;
    QPushButton* m_search;
    QPushButton* m_check;
    QTableView* m_results;
    GridModel* m_model;
    QLabel* m_count;
    QButtonGroup* m_options;
};

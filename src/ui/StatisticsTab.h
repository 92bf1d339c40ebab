#pragma once

#include "catalogue/AuthorList.h"

#include <QList>
#include <QWidget>

class GridModel;
class QTableView;

/// The "Stats" tab: one grid of posts per registered author for each category.
class StatisticsTab : public QWidget {
    Q_OBJECT

public:
    explicit StatisticsTab(QWidget* parent = nullptr);

    /// The grid model of category `index` (descriptor order).
    GridModel* model(int index) const { return m_models.at(index); }
    QTableView* grid(int index) const { return m_grids.at(index); }

    /// Writes the headers "Auteur" and "Posts" with their widths and alignments on the four grids.
    void setHeaders();
    /// Fills grid `index` with one row per author, in the order given, then one empty row.
    void showCounts(int index, const QList<AuthorCount>& counts);

private:
    QList<GridModel*> m_models;
    QList<QTableView*> m_grids;
};

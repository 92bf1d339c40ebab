#include "ui/GridStyle.h"

#include <QHeaderView>
#include <QPalette>
#include <QTableView>

namespace GridStyle {

void configure(QTableView* view, const QList<int>& widthsInTwips)
{
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->verticalHeader()->setMinimumSectionSize(view->fontMetrics().height() + 2);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setTabKeyNavigation(false); // Tab leaves the grid; the arrows move inside it
    view->setSelectionBehavior(QAbstractItemView::SelectItems);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setWordWrap(false);
    view->setSortingEnabled(false);
    QHeaderView* header = view->horizontalHeader();
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(true);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < widthsInTwips.size(); ++column) {
        view->setColumnWidth(column, pixels(widthsInTwips.at(column)));
    }
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, Qt::white);
    view->setPalette(palette);
}

} // namespace GridStyle

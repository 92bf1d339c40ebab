#pragma once

#include <QList>

class QTableView;

/// The look shared by every grid of the main window: header row, no row numbers, whole-row selection.
namespace GridStyle {
/// Twips of the original layout to pixels (15 twips a pixel).
inline int pixels(int twips)
{
    return (twips + 7) / 15;
}
/// Configures a read-only grid with the given column widths in twips.
void configure(QTableView* view, const QList<int>& widthsInTwips);
} // namespace GridStyle

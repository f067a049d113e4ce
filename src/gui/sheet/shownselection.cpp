#include "sheet/shownselection.h"

#include "sheet.h"

QRegion ShownSelection::take_changes(const Sheet &sheet)
{
    const QPoint current(sheet.col(), sheet.row());
    const QRect selection =
        QRect(current, QPoint(sheet.sel_col(), sheet.sel_row())).normalized();
    QRegion changed = QRegion(selection_).xored(QRegion(selection));
    // The old current cell left the selection with it; the new one may lie
    // inside the selection before and after, its look changed all the same.
    if (current != current_)
        changed += QRect(current, current);
    current_ = current;
    selection_ = selection;
    return changed;
}

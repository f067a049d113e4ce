#pragma once

#include <QPoint>
#include <QRect>
#include <QRegion>

class Sheet;

// The current cell and the selection as the grid last showed them, to tell
// which cells a move changed: the old and new current cells and the cells
// that entered or left the selection. Cell coordinates: x the column, y the
// row.
class ShownSelection
{
public:
    // The cells that look different now than when last taken; from here on
    // the sheet's current cell and selection count as shown.
    QRegion take_changes(const Sheet &sheet);

private:
    QPoint current_{-1, -1};
    QRect selection_;
};

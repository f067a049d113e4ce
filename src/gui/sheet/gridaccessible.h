#pragma once

#include <QObject>
#include <QString>

class QLineEdit;
class Sheet;
class SheetGrid;

// The grid as a table for screen readers: every cell of the sheet, the title
// row and the row numbers included, with the titles and row numbers as the
// headers, the current cell focused and the selection selected. A cell that
// needs the teacher's look says why in its description.
namespace grid_accessible {

// Installs the table's factory; later calls do nothing.
void install();
// "3 行 中間": the row number and the column's title (its number when it
// has none), as a screen reader speaks the cursor's place.
QString position(const Sheet &sheet, int row, int col);

}  // namespace grid_accessible

// Tells screen readers where the cursor went: the cell editor, which holds
// the keys, is named by its cell's place and described by why that cell
// needs a look, and the table reports its new current cell.
class GridSpeech : public QObject
{
    Q_OBJECT

public:
    GridSpeech(Sheet *sheet, SheetGrid *grid, QLineEdit *editor, QObject *parent);

private:
    void follow_cursor();

    Sheet *sheet_;
    SheetGrid *grid_;
    QLineEdit *editor_;
};

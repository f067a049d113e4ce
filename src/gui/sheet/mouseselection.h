#pragma once

#include <QObject>
#include <functional>

class CellEditor;
class InputPanels;
class QMenu;
class Sheet;
class SheetGrid;

// What the mouse does on the grid: a left press hides the editor while a
// range is dragged, the release makes the cell where the drag ended current,
// a right press opens the context menu, scrolling hides the editor, and the
// pointer turns to a crosshair over the title band.
class MouseSelection : public QObject
{
    Q_OBJECT

public:
    MouseSelection(Sheet *sheet, SheetGrid *grid, CellEditor *editor, InputPanels *inputs,
                   QMenu *context_menu, std::function<bool()> is_active, QObject *parent);

private:
    void press(Qt::MouseButtons buttons);
    void drag(double x, double y);
    void release(Qt::MouseButtons buttons);
    void follow_scroll();
    void context_press(int row, int col);

    Sheet *sheet_;
    SheetGrid *grid_;
    CellEditor *editor_;
    InputPanels *inputs_;
    QMenu *context_menu_;
    std::function<bool()> is_active_;
    bool context_menu_open_ = false;
};

#include "sheet/mouseselection.h"

#include "sheet.h"
#include "sheet/celleditor.h"
#include "sheet/inputpanels.h"
#include "sheet/sheetgrid.h"

#include <QCursor>
#include <QMenu>

#include <utility>

MouseSelection::MouseSelection(Sheet *sheet, SheetGrid *grid, CellEditor *editor,
                               InputPanels *inputs, QMenu *context_menu,
                               std::function<bool()> is_active, QObject *parent)
    : QObject(parent), sheet_(sheet), grid_(grid), editor_(editor), inputs_(inputs),
      context_menu_(context_menu), is_active_(std::move(is_active))
{
    connect(grid_, &SheetGrid::mouse_down, this,
            [this](Qt::MouseButtons buttons) { press(buttons); });
    connect(grid_, &SheetGrid::mouse_move, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y) { drag(x, y); });
    connect(grid_, &SheetGrid::mouse_up, this,
            [this](Qt::MouseButtons buttons) { release(buttons); });
    connect(grid_, &SheetGrid::scrolled, this, &MouseSelection::follow_scroll);
    connect(grid_, &SheetGrid::context_press, this, &MouseSelection::context_press);
}

// As spreadsheets do: a right press outside the selection makes the pressed
// cell current, so the context menu acts where the teacher pointed; inside
// the selection it keeps it.
void MouseSelection::context_press(int row, int col)
{
    if (col < 1 || (row >= sheet_->top_selected_row() && row <= sheet_->bottom_selected_row() &&
                    col >= sheet_->left_selected_col() && col <= sheet_->right_selected_col()))
        return;
    sheet_->set_current_cell(row, col);
    // The editor stays where it is (the menu opens next), so no return_to_current_cell.
    editor_->reload();
    inputs_->set_position_display(row, col, true);
}

void MouseSelection::press(Qt::MouseButtons buttons)
{
    context_menu_open_ = false;
    if (buttons & Qt::LeftButton) {
        editor_->hide_editor();
        // Reported before the cell changes: until the release the display
        // names the cell the press left, in its short form.
        inputs_->set_position_display(sheet_->row(), sheet_->col(), false);
        grid_->set_pointer(SheetGrid::Pointer::SizeAll);
    } else if (buttons & Qt::RightButton) {
        context_menu_open_ = true;
        context_menu_->exec(QCursor::pos());
    }
}

void MouseSelection::drag(double x, double y)
{
    if (!is_active_())
        return;
    const double h0 = grid_->title_height_twips();
    const double w0 = grid_->column_width_twips(0);
    if (y < 0.8 * h0 || x < 0.9 * w0) {
        grid_->set_pointer(SheetGrid::Pointer::Crosshair);
        return;
    }
    if (!grid_->row_visible(sheet_->row()) || !grid_->col_visible(sheet_->col())) {
        grid_->set_pointer(SheetGrid::Pointer::Default);
        return;
    }
    editor_->show_editor();
    // put_editor, not a reload: catching up with the pressed cell counts as
    // typing, so the cell's first change may move fixed-length entry on.
    if (grid_->pointer() != SheetGrid::Pointer::Crosshair) {
        editor_->put_editor();
        return;
    }
    // The pointer has just left the title band.
    if ((0.8 * h0 < y && y < h0) || (0.8 * w0 < x && x < w0))
        editor_->setFocus();
    else
        editor_->put_editor();
    grid_->set_pointer(SheetGrid::Pointer::Default);
}

void MouseSelection::release(Qt::MouseButtons buttons)
{
    // The release of the press that opened the context menu belongs to the
    // menu; it must not move the cursor.
    if (context_menu_open_ && buttons == Qt::RightButton) {
        context_menu_open_ = false;
        return;
    }
    grid_->set_pointer(SheetGrid::Pointer::Default);
    int rs = sheet_->sel_row();
    int cs = sheet_->sel_col();
    int r = sheet_->row();
    int c = sheet_->col();
    // Whole columns or rows: the current cell is their first cell, as in a
    // spreadsheet; the last row or the grade column would take the marks
    // typed next, out of sight.
    if (grid_->selecting_columns())
        std::swap(rs, r);
    if (grid_->selecting_rows())
        std::swap(cs, c);
    // The cell where the drag ended becomes current; the rectangle stays.
    sheet_->set_current_cell(rs, cs);
    sheet_->set_selection_end(r, c);
    // The display follows only now, when the drag is over.
    editor_->hide();
    editor_->load_editor(sheet_->text(sheet_->row(), sheet_->col()));
    editor_->set_system_text_pending(false);
    editor_->show_editor();
    editor_->setFocus();
    inputs_->set_position_display(rs, cs, true);
}

void MouseSelection::follow_scroll()
{
    const int row = sheet_->row();
    const int col = sheet_->col();
    // A cell scrolled out of view leaves the display as it was.
    if (grid_->row_visible(row) && grid_->col_visible(col)) {
        inputs_->set_position_display(row, col, true);
        editor_->set_system_text_pending(false);
    }
    editor_->hide_editor();
}

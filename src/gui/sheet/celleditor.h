#pragma once

#include <QLineEdit>

class InputPanels;
class QKeyEvent;
class QMenu;
class Sheet;
class SheetGrid;

// The in-place editor over the current cell: every change of its text goes
// into the cell at once; Enter, Tab and the arrow keys move the cursor,
// writing the cell they leave; fixed-length entry moves on by itself.
//
// Its text and the position display are set by the commands that change the
// sheet, not tied to the sheet's signals: the sheet also reports moves they
// must not follow at once (the grid's press before its release, select-all
// and paste, which leave the display where it was), and when the editor
// catches up with its cell decides whether that counts as typing.
class CellEditor : public QLineEdit
{
    Q_OBJECT

public:
    CellEditor(Sheet *sheet, SheetGrid *grid, InputPanels *inputs, QWidget *parent);

    // Enter in these boxes confirms the box only, not a cursor move.
    void hold_enter_in(const QList<QWidget *> &boxes);
    // The menu a right click opens.
    void set_context_menu(QMenu *menu) { context_menu_ = menu; }

    // A system load is pending: put_editor bringing the editor up to date
    // with its cell is then the system's load, else it counts as typing.
    bool system_text_pending() const { return system_text_pending_; }
    void set_system_text_pending(bool pending) { system_text_pending_ = pending; }
    // The cell was entered with text in it: its first change does not make
    // fixed-length entry move on.
    bool holds_first_advance() const { return holds_first_advance_; }
    // A box of the window has the focus: the next Enter confirms that box.
    bool enter_held() const { return enter_held_; }

    // Places the editor over the current cell; put_editor also loads its text.
    void fit_editor();
    void put_editor();
    // Loads a text as the system, not as typing.
    void load_editor(const QString &text);
    // After the grid changed under it: the current cell's text, loaded as
    // the system, and the editor over that cell.
    void reload();
    // After a command moved the cursor or changed the sheet under it: the
    // current cell reloaded, named by the position display, and the editor
    // shown there with the focus (also where a scroll had hidden it).
    void return_to_current_cell();
    void hide_editor();
    void show_editor();

    // One-step cursor moves; each writes the editor into the cell it leaves.
    void move_down();
    void move_up();
    void move_right();
    void move_left();
    // The Enter key.
    void press_enter();
    // The current cell changed: the editor takes the focus when shown.
    void follow_current_cell();

    void setVisible(bool visible) override;

signals:
    // The editor got the focus before the window was first laid out.
    void layout_wanted();
    // Shift+Delete: clear the selected cells.
    void delete_requested();
    // Paste of a block of cells (a TAB or a line end between values), or
    // Ctrl+V with more than one cell selected; Ctrl+C and Ctrl+X with more
    // than one: the range's copy and cut, as the Edit menu's.
    void paste_requested();
    void copy_requested();
    void cut_requested();
    // Ctrl+Z, and Ctrl+Y or Ctrl+Shift+Z: the sheet's undo, not the line edit's.
    void undo_requested();
    void redo_requested();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Hiding or disabling the editor while it has the focus would pass the
    // focus on to the next box of the window, where keys do not belong.
    void release_focus();
    void disable();
    void write_to_cell();
    // A cell's text into the editor, as it is.
    void show_cell_text(const QString &text);
    void follow_typing(const QString &text);
    void take_focus();
    bool handle_key(Qt::Key key, Qt::KeyboardModifiers modifiers);
    bool sheet_command_key(const QKeyEvent *key);
    void press_other_button();
    void one_step(int drow, int dcol);
    void extend_selection(int drow, int dcol);

    Sheet *sheet_;
    SheetGrid *grid_;
    InputPanels *inputs_;
    QMenu *context_menu_ = nullptr;
    QList<QObject *> enter_holders_;
    bool system_text_pending_ = true;
    bool holds_first_advance_ = false;
    bool enter_held_ = false;
    // Where the current run of Tab moves began; -1: no run. Enter after a
    // run goes to the next row at that column.
    int tab_run_col_ = -1;
    bool loading_cell_ = false;
};

#pragma once

#include "sheet/commands.h"

#include <QWidget>

class CellEditor;
class ClipboardCommands;
class EvaluationCommands;
class EvaluationPanel;
class FileCommands;
class InputPanels;
class MouseSelection;
class PanelDragger;
class PrintCommands;
class ScorePanel;
class UndoCommands;
class ViewpointCommands;
class ViewpointPanel;
class Sheet;
class SheetGrid;
class SheetHost;
class SheetMenus;
class StructureCommands;

// One sheet window: it creates its parts (the grid, the in-place editor, the
// side panels, the menus, the file and evaluation commands), lays them out,
// and runs the closing logic. Other windows reach it through the public
// operations below and hear from it through its signals.
class SheetWindow : public QWidget
{
    Q_OBJECT

public:
    SheetWindow(SheetHost &host, int number, bool first, QWidget *parent = nullptr);

    int number() const { return number_; }
    Sheet *sheet() const { return sheet_; }
    SheetGrid *grid() const { return grid_; }
    SheetMenus *menus() const { return menus_; }
    CellEditor *editor() const { return editor_; }
    InputPanels *inputs() const { return inputs_; }
    ScorePanel *score_panel() const { return score_panel_; }
    EvaluationPanel *evaluation_panel() const { return evaluation_panel_; }
    // The viewpoint panel, made now if it was never opened.
    ViewpointPanel *viewpoint_panel() const;
    FileCommands *file_commands() const { return file_; }
    StructureCommands *structure_commands() const { return structure_; }
    UndoCommands *undo_commands() const { return undo_; }

    // Takes over another sheet's set-up; the sheet stays untouched, so that
    // closing it asks nothing until something is typed or pasted.
    void take_setup(const Sheet &from);

    // Asks the window to close through its closing logic; true when it closed.
    bool close_window();
    // The next closing asks nothing.
    void set_never_prompt() { never_prompt_ = true; }
    // The window became the active sheet window.
    void activated();
    // The keys go to the current cell's editor, the cell brought into view.
    void give_keys_to_editor();

    // Runs a command of the table on this sheet, as one undo step where the
    // table names one. The frame's toolbar and the menus come here.
    void run(Command id);
    // Look-alike marks in their half-width form.
    void fold_marks();
    // The selected columns (all when one cell is selected) widen so that
    // their titles show whole on one line.
    void fit_titles();

signals:
    // The closing logic let the window close.
    void closed(SheetWindow *sheet);
    // This sheet has content: a new sheet window is to read a file.
    void load_in_new_sheet_requested();
    // A new sheet window is to take this sheet's set-up.
    void same_setup_requested();
    // The grade-meeting report over several sheets is wanted.
    void report_requested();
    void end_program_requested();
    void arrange_requested(int code);
    void about_requested();
    void help_requested();
    void print_settings_requested();
    // The frame's commands wait while an evaluation starts.
    void busy(bool on);
    // An evaluation ran: a moment worth keeping a recovery copy.
    void evaluated();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // The window draws nothing that shows its focus, which it takes at every
    // cell move: repainting it all then would cost more than the move.
    void focusInEvent(QFocusEvent *) override {}
    void focusOutEvent(QFocusEvent *) override {}
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void build_parts();
    void build_views();
    void connect_views();
    void build_commands();
    void build_evaluation();
    void build_viewpoints();
    ViewpointPanel *make_viewpoint_panel();
    // Its place: over the grid, up to a size that shows a class whole.
    void place_viewpoint_panel(ViewpointPanel *panel);
    void connect_menus();
    void build_sheet(bool first);
    // The cursor and the editor to a cell the teacher should look at.
    void go_to_cell(int row, int col);
    void lay_out();
    void change_character_size(double points);
    void read_done(const QString &path);
    // After a menu of the bar closes, the keys go back to the cell.
    void menu_closed();
    // The caption names the file the sheet belongs to.
    void show_file(const QString &path);

    SheetHost &host_;
    int number_;
    QString base_title_;
    Sheet *sheet_;
    SheetGrid *grid_;
    CellEditor *editor_;
    SheetMenus *menus_;
    InputPanels *inputs_;
    ScorePanel *score_panel_;
    EvaluationPanel *evaluation_panel_;
    FileCommands *file_;
    EvaluationCommands *evaluation_;
    ViewpointCommands *viewpoints_ = nullptr;
    ClipboardCommands *clipboard_;
    StructureCommands *structure_;
    PrintCommands *print_;
    UndoCommands *undo_ = nullptr;
    CommandTargets targets_;
    MouseSelection *mouse_;
    PanelDragger *drag4_;
    PanelDragger *drag6_;
    bool laid_out_ = false;
    bool never_prompt_ = false;
    bool closed_ = false;
};

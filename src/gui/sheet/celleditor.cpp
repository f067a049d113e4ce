#include "sheet/celleditor.h"

#include "common/contrast.h"
#include "common/geometry.h"
#include "cliptext.h"
#include "common/objectnames.h"
#include "numbers.h"
#include "sheet.h"
#include "sheet/inputpanels.h"
#include "sheet/sheetgrid.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QValidator>

using namespace Qt::StringLiterals;

namespace {

// The editor holds one line without control characters: a line end the
// teacher pastes would break the row in the sheet file, a NUL would go into
// it. The caret keeps its place in what is left. A cell's text the editor
// loads is left as it is.
class OneLine : public QValidator
{
public:
    OneLine(const bool *loading, QObject *parent) : QValidator(parent), loading_(loading) {}

    State validate(QString &input, int &pos) const override
    {
        if (*loading_)
            return Acceptable;
        const QString line = cliptext::one_line(input);
        if (line != input) {
            // What is left before the caret, as if more text followed it.
            pos = qBound(0, int(cliptext::one_line(input.left(pos) + u'x').size()) - 1, int(line.size()));
            input = line;
        }
        return Acceptable;
    }

private:
    const bool *loading_;
};

}  // namespace

CellEditor::CellEditor(Sheet *sheet, SheetGrid *grid, InputPanels *inputs, QWidget *parent)
    : QLineEdit(parent), sheet_(sheet), grid_(grid), inputs_(inputs)
{
    setObjectName(object_name::cell_editor);
    setFrame(false);
    setStyleSheet(u"QLineEdit { background: %1; border: none; padding: 0px; }"_s.arg(
        contrast::tint(QColor(255, 255, 192)).name()));
    setContextMenuPolicy(Qt::PreventContextMenu);
    setValidator(new OneLine(&loading_cell_, this));
    connect(this, &QLineEdit::textChanged, this, &CellEditor::write_to_cell);
    connect(this, &QLineEdit::textEdited, this, &CellEditor::follow_typing);
    // A click ends a run of Tab moves, even on the cell the run is in.
    connect(grid_, &SheetGrid::mouse_down, this, [this] { tab_run_col_ = -1; });
}

void CellEditor::hold_enter_in(const QList<QWidget *> &boxes)
{
    for (QWidget *box : boxes) {
        enter_holders_.append(box);
        box->installEventFilter(this);
    }
}

void CellEditor::fit_editor()
{
    const int row = sheet_->row();
    const int col = sheet_->col();
    grid_->ensure_visible(row, col);
    const double left = geometry::left(grid_) + grid_->cell_left_twips(col);
    const double top = geometry::top(grid_) + grid_->cell_top_twips(row);
    geometry::place(this, left, top, grid_->column_width_twips(col), grid_->row_height_twips());
}

void CellEditor::put_editor()
{
    fit_editor();
    // Catching up with a cell the cursor went to counts as typing, unless a
    // system load is pending: after a drag, the first typed change of the
    // cell it ended on may already move fixed-length entry on.
    const bool typing = !system_text_pending_;
    const QString before = text();
    show_cell_text(sheet_->text(sheet_->row(), sheet_->col()));
    if (typing && text() != before)
        follow_typing(text());
}

void CellEditor::load_editor(const QString &text)
{
    system_text_pending_ = true;
    show_cell_text(text);
}

void CellEditor::show_cell_text(const QString &text)
{
    loading_cell_ = true;
    setText(text);
    loading_cell_ = false;
}

void CellEditor::reload()
{
    load_editor(sheet_->text(sheet_->row(), sheet_->col()));
    system_text_pending_ = false;
    fit_editor();
}

void CellEditor::return_to_current_cell()
{
    reload();
    inputs_->set_position_display(sheet_->row(), sheet_->col(), true);
    show_editor();
    setFocus();
}

void CellEditor::hide_editor()
{
    hide();
    disable();
}

void CellEditor::release_focus()
{
    // The window takes the focus: Enter still reaches it, typing goes nowhere.
    if (hasFocus() && parentWidget())
        parentWidget()->setFocus(Qt::OtherFocusReason);
}

void CellEditor::disable()
{
    release_focus();
    setEnabled(false);
}

void CellEditor::setVisible(bool visible)
{
    if (!visible)
        release_focus();
    QLineEdit::setVisible(visible);
}

void CellEditor::show_editor()
{
    setEnabled(true);
    show();
}

// Every change of the text goes into the current cell, the system's loads
// as well as typing; a change heard here ends a pending system load.
void CellEditor::write_to_cell()
{
    // The editor's text, not the signal's: the typing rules may already have
    // moved on to the next cell when a typed change is heard here.
    sheet_->set_text(sheet_->row(), sheet_->col(), text());
    sheet_->set_has_content();
    system_text_pending_ = false;
}

// The typing rules, after each change the teacher makes.
void CellEditor::follow_typing(const QString &text)
{
    // Keys and the input method end a pending load before they edit; an edit
    // with neither (a drop) right after a load is still taken as that load.
    if (system_text_pending_)
        return;
    // The cell first: moving on writes the cell it leaves.
    sheet_->set_text(sheet_->row(), sheet_->col(), text);
    sheet_->set_has_content();
    const int n = inputs_->fixed_length();
    if (!holds_first_advance_ && n != 0 && text.toUcs4().size() == n) {
        // Shortcuts for the marks that do not fit the count.
        if (n == 2 && text == u"++"_s)
            setText(u"100"_s);
        else if (n == 1 && text == u"+"_s)
            setText(u"10"_s);
        move_down();
    }
    holds_first_advance_ = false;
    show_editor();
    setFocus();
}

void CellEditor::take_focus()
{
    emit layout_wanted();
    put_editor();
}

void CellEditor::follow_current_cell()
{
    tab_run_col_ = -1;
    if (!isHidden()) {
        setEnabled(true);
        setFocus();
        return;
    }
    holds_first_advance_ = !sheet_->text(sheet_->row(), sheet_->col()).isEmpty();
}

void CellEditor::one_step(int drow, int dcol)
{
    disable();
    const int row = sheet_->row();
    const int col = sheet_->col();
    if (drow > 0 && row >= sheet_->rows() - 1) {
        // Keying down past the last row adds a row, whatever the row limit.
        sheet_->append_row(numbers::row_number_fixed(sheet_->rows()));
    } else if ((drow < 0 && row <= 1) || (dcol < 0 && col <= 1) ||
               (dcol > 0 && col >= sheet_->cols() - 1)) {
        show_editor();
        return;
    }
    system_text_pending_ = true;
    sheet_->set_text(row, col, text());
    sheet_->set_current_cell(row + drow, col + dcol);
    show_cell_text(sheet_->text(sheet_->row(), sheet_->col()));
    // A typed step moves the display with it (pushed: see the class comment).
    inputs_->set_position_display(sheet_->row(), sheet_->col(), true);
    system_text_pending_ = false;
    put_editor();
    show_editor();
    setFocus();
}

void CellEditor::move_down()
{
    one_step(1, 0);
}

void CellEditor::move_up()
{
    one_step(-1, 0);
}

void CellEditor::move_right()
{
    one_step(0, 1);
}

void CellEditor::move_left()
{
    one_step(0, -1);
}

void CellEditor::press_enter()
{
    if (enter_held_)
        enter_held_ = false;
    else if (tab_run_col_ >= 0)
        one_step(1, tab_run_col_ - sheet_->col());  // next row, where the Tab run began
    else
        move_down();
    setFocus();
}

// Shift with an arrow key moves the selection's far corner one step, within
// the data cells; from the fixed row or column it starts at the cursor.
void CellEditor::extend_selection(int drow, int dcol)
{
    int row = sheet_->sel_row();
    int col = sheet_->sel_col();
    if (dcol != 0) {
        if (row < 1)
            row = sheet_->row();
        if (col + dcol >= 1 && col + dcol <= sheet_->cols() - 1)
            col += dcol;
    } else {
        if (col < 1)
            col = sheet_->col();
        if (row + drow >= 1 && row + drow <= sheet_->rows() - 1)
            row += drow;
    }
    sheet_->set_selection_end(row, col);
}

// The keys that move the cursor or act on the sheet; true: the key is used
// up, the line edit does not see it. Of the modifiers only Shift, Ctrl and
// Alt count (the keypad's Enter is Enter).
bool CellEditor::handle_key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    const bool plain = modifiers == Qt::NoModifier;
    const bool shift_only = modifiers == Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    {
        // A run of Tab moves remembers the column it began in (the move
        // itself ends any run, as every other move does).
        const int run_start = tab_run_col_ >= 0 ? tab_run_col_ : sheet_->col();
        const int before = sheet_->col();
        if (shift_only) {
            if (sheet_->col() != 1)
                move_left();
        } else if (sheet_->col() != sheet_->cols() - 1) {
            move_right();
        }
        if (sheet_->col() != before)
            tab_run_col_ = run_start;
        return true;  // focus stays in the editor
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (shift_only)
            move_left();
        else if (plain)
            press_enter();
        return true;
    case Qt::Key_Escape:
        if (sheet_->sel_row() != sheet_->row() || sheet_->sel_col() != sheet_->col())
            sheet_->set_selection_end(sheet_->row(), sheet_->col());
        return false;
    case Qt::Key_Left:
        if (shift_only)
            extend_selection(0, -1);
        return false;
    case Qt::Key_Up:
        if (sheet_->row() < 2)
            return false;
        if (plain)
            move_up();
        else
            extend_selection(-1, 0);
        return false;
    case Qt::Key_Right:
        if (shift_only)
            extend_selection(0, 1);
        return false;
    case Qt::Key_Down:
        if (plain)
            move_down();
        else
            extend_selection(1, 0);
        return false;
    case Qt::Key_Delete:
        if (!plain) {
            emit delete_requested();
            return true;
        }
        return false;
    default:
        return false;
    }
}

// A press of any button but the left: the context menu, for the cell the
// position display shows.
void CellEditor::press_other_button()
{
    disable();
    if (context_menu_)
        context_menu_->exec(QCursor::pos());
    sheet_->set_current_cell(inputs_->shown_row(), inputs_->shown_col());
    setEnabled(true);
}

// The clipboard and undo keys the sheet answers; true: the key is used up.
bool CellEditor::sheet_command_key(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    // With a range selected the clipboard keys act on the range: the editor's
    // empty selection would copy nothing, and the next paste would bring back
    // whatever was on the clipboard before. A block from a spreadsheet goes
    // into the cells, not into one cell.
    const bool range = sheet_->sel_row() != sheet_->row() || sheet_->sel_col() != sheet_->col();
    if (key->matches(QKeySequence::Paste) &&
        (range || cliptext::is_block(QGuiApplication::clipboard()->text())))
        emit paste_requested();
    else if (range && mods == Qt::ControlModifier && key->key() == Qt::Key_C)
        emit copy_requested();
    else if (range && mods == Qt::ControlModifier && key->key() == Qt::Key_X)
        emit cut_requested();
    else if (key->key() == Qt::Key_Z && mods == Qt::ControlModifier)
        emit undo_requested();
    else if ((key->key() == Qt::Key_Y && mods == Qt::ControlModifier) ||
             (key->key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier)))
        emit redo_requested();
    else
        return false;
    return true;
}

bool CellEditor::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Whatever the teacher types is typing, even while a system load of
        // the editor is still pending.
        system_text_pending_ = false;
        // Seen before the line edit itself, which would take Tab to leave.
        auto *key = static_cast<QKeyEvent *>(event);
        if (sheet_command_key(key))
            return true;
        Qt::KeyboardModifiers modifiers =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (key->key() == Qt::Key_Backtab)
            modifiers |= Qt::ShiftModifier;
        if (handle_key(Qt::Key(key->key()), modifiers))
            return true;
        break;
    }
    case QEvent::InputMethod:
        system_text_pending_ = false;
        break;
    case QEvent::FocusOut:
        // A click into a box ends a run of Tabs; a menu or a dialog does not.
        if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason)
            tab_run_col_ = -1;
        break;
    case QEvent::FocusIn: {
        // Back in the editor, Enter moves again: only a box the teacher is in
        // holds it.
        enter_held_ = false;
        take_focus();
        // The line edit selects its text when the focus comes by Tab, as it
        // does when a hidden panel hands the focus on: the next key would
        // replace the mark. Every way back leaves the editor as typing left it.
        const bool done = QLineEdit::event(event);
        end(false);
        return done;
    }
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton) {
            press_other_button();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QLineEdit::event(event);
}

bool CellEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && enter_holders_.contains(watched))
        enter_held_ = true;
    return QLineEdit::eventFilter(watched, event);
}

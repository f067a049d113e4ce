#include "sheet/celleditor.h"

#include "common/geometry.h"
#include "cliptext.h"
#include "common/inputcodes.h"
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

// Key codes as the key table knows them.
enum KeyCode { kTab = 9, kEnter = 13, kEsc = 27, kLeft = 37, kUp = 38, kRight = 39, kDown = 40,
               kDelete = 46 };

int key_code(int qt_key)
{
    switch (qt_key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return kTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kEnter;
    case Qt::Key_Escape:
        return kEsc;
    case Qt::Key_Left:
        return kLeft;
    case Qt::Key_Up:
        return kUp;
    case Qt::Key_Right:
        return kRight;
    case Qt::Key_Down:
        return kDown;
    case Qt::Key_Delete:
        return kDelete;
    default:
        return 0;
    }
}

// The editor holds one line: a line end the teacher pastes would break the
// row in the sheet file. A trailing one is dropped, an inner one becomes a
// space. Text the system loads is left as it is.
class OneLine : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        if (!input.contains(u'\n') && !input.contains(u'\r'))
            return Acceptable;
        QString line;
        line.reserve(input.size());
        int new_pos = pos;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input[i];
            if (c != u'\r' && c != u'\n') {
                line += c;
                continue;
            }
            const bool pair = c == u'\r' && i + 1 < input.size() && input[i + 1] == u'\n';
            const qsizetype end = i + (pair ? 2 : 1);
            // A line end with nothing but line ends after it is dropped.
            qsizetype rest = end;
            while (rest < input.size() && (input[rest] == u'\r' || input[rest] == u'\n'))
                ++rest;
            const bool trailing = rest == input.size();
            if (!trailing)
                line += u' ';
            if (i < pos)
                new_pos -= int(end - i) - (trailing ? 0 : 1);
            i = end - 1;
        }
        input = line;
        pos = qBound(0, new_pos, int(line.size()));
        return Acceptable;
    }
};

}  // namespace

CellEditor::CellEditor(Sheet *sheet, SheetGrid *grid, InputPanels *inputs, QWidget *parent)
    : QLineEdit(parent), sheet_(sheet), grid_(grid), inputs_(inputs)
{
    setObjectName(object_name::cell_editor);
    setFrame(false);
    setStyleSheet(u"QLineEdit { background: rgb(255, 255, 192); border: none; padding: 0px; }"_s);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setValidator(new OneLine(this));
    connect(this, &QLineEdit::textChanged, this, &CellEditor::Text1_Change);
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
    setText(sheet_->text(sheet_->row(), sheet_->col()));
}

void CellEditor::load_editor(const QString &text)
{
    auto_text_flg_ = true;
    setText(text);
}

void CellEditor::reload()
{
    load_editor(sheet_->text(sheet_->row(), sheet_->col()));
    auto_text_flg_ = false;
    fit_editor();
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

void CellEditor::Text1_Change(const QString &text)
{
    sheet_->set_text(sheet_->row(), sheet_->col(), text);
    sheet_->set_has_content();
    if (auto_text_flg_) {
        auto_text_flg_ = false;
        return;
    }
    const int n = inputs_->fixed_length();
    if (skip_adv_flg_ != 1 && n != 0 && text.toUcs4().size() == n) {
        // Shortcuts for the marks that do not fit the count.
        if (n == 2 && text == u"++"_s) {
            setText(u"100"_s);
            sheet_->set_text(sheet_->row(), sheet_->col(), u"100"_s);
        } else if (n == 1 && text == u"+"_s) {
            setText(u"10"_s);
            sheet_->set_text(sheet_->row(), sheet_->col(), u"10"_s);
        }
        move_down();
    }
    skip_adv_flg_ = 0;
    show_editor();
    setFocus();
}

void CellEditor::Text1_GotFocus()
{
    emit layout_wanted();
    put_editor();
}

void CellEditor::follow_current_cell()
{
    if (!isHidden()) {
        setEnabled(true);
        setFocus();
        return;
    }
    skip_adv_flg_ = sheet_->text(sheet_->row(), sheet_->col()).isEmpty() ? 0 : 1;
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
    auto_text_flg_ = true;
    sheet_->set_text(row, col, text());
    sheet_->set_current_cell(row + drow, col + dcol);
    setText(sheet_->text(sheet_->row(), sheet_->col()));
    inputs_->set_position_display(sheet_->row(), sheet_->col(), true);
    auto_text_flg_ = false;
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
    if (enter_hold_flg_ == 0)
        move_down();
    else
        enter_hold_flg_ = 0;
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

bool CellEditor::Text1_KeyDown(int key, int shift)
{
    switch (key) {
    case kTab:
        if (shift == 1) {
            if (sheet_->col() != 1)
                move_left();
        } else if (sheet_->col() != sheet_->cols() - 1) {
            move_right();
        }
        return true;  // focus stays in the editor
    case kEnter:
        if (shift == 1)
            move_left();
        else if (shift == 0)
            press_enter();
        return true;
    case kEsc:
        if (sheet_->sel_row() != sheet_->row() || sheet_->sel_col() != sheet_->col())
            sheet_->set_selection_end(sheet_->row(), sheet_->col());
        return false;
    case kLeft:
        if (shift == 1)
            extend_selection(0, -1);
        return false;
    case kUp:
        if (sheet_->row() < 2)
            return false;
        if (shift == 0)
            move_up();
        else
            extend_selection(-1, 0);
        return false;
    case kRight:
        if (shift == 1)
            extend_selection(0, 1);
        return false;
    case kDown:
        if (shift == 0)
            move_down();
        else
            extend_selection(1, 0);
        return false;
    case kDelete:
        if (shift != 0) {
            emit delete_requested();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void CellEditor::Text1_MouseDown(int button)
{
    if (button == 1)
        return;
    disable();
    if (context_menu_)
        context_menu_->exec(QCursor::pos());
    sheet_->set_current_cell(inputs_->shown_row(), inputs_->shown_col());
    setEnabled(true);
}

bool CellEditor::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Whatever the teacher types is typing, even while a system load of
        // the editor is still pending.
        auto_text_flg_ = false;
        // Seen before the line edit itself, which would take Tab to leave.
        auto *key = static_cast<QKeyEvent *>(event);
        // A block from a spreadsheet goes into the cells, not into one cell.
        if (key->matches(QKeySequence::Paste) &&
            cliptext::is_block(QGuiApplication::clipboard()->text())) {
            emit paste_requested();
            return true;
        }
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Z && mods == Qt::ControlModifier) {
            emit undo_requested();
            return true;
        }
        if ((key->key() == Qt::Key_Y && mods == Qt::ControlModifier) ||
            (key->key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier))) {
            emit redo_requested();
            return true;
        }
        const int code = key_code(key->key());
        if (code == 0)
            break;
        int shift = inputcodes::shift_mask(key->modifiers());
        if (key->key() == Qt::Key_Backtab)
            shift |= 1;
        if (Text1_KeyDown(code, shift))
            return true;
        break;
    }
    case QEvent::InputMethod:
        auto_text_flg_ = false;
        break;
    case QEvent::FocusIn:
        // Back in the editor, Enter moves again: only a box the teacher is in
        // holds it.
        enter_hold_flg_ = 0;
        Text1_GotFocus();
        break;
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton) {
            Text1_MouseDown(mouse->button() == Qt::RightButton ? 2 : 4);
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
        enter_hold_flg_ = 1;
    return QLineEdit::eventFilter(watched, event);
}

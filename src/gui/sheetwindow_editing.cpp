// Typing and moving in a sheet window: the in-place editor over the current
// cell, fixed-length entry, character size, keys, mouse and scrolling.
#include "sheetwindow.h"

#include "fonts.h"
#include "geometry.h"
#include "mainwindow.h"
#include "inputcodes.h"
#include "numbers.h"
#include "paneldragger.h"
#include "scorepanel.h"
#include "evaluationpanel.h"
#include "sheet.h"
#include "sheetgrid.h"
#include "sheetmenus.h"
#include "twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

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

}  // namespace

void SheetWindow::connect_editing()
{
    text1_->installEventFilter(this);
    text1_->setContextMenuPolicy(Qt::PreventContextMenu);
    connect(grid_, &SheetGrid::mouse_down, this, &SheetWindow::grdhyouka_MouseDown);
    connect(grid_, &SheetGrid::mouse_move, this, &SheetWindow::grdhyouka_MouseMove);
    connect(grid_, &SheetGrid::mouse_up, this, &SheetWindow::grdhyouka_MouseUp);
    connect(grid_, &SheetGrid::scrolled, this, &SheetWindow::grdhyouka_Scroll);
    connect(vscroll1_, &QScrollBar::valueChanged, this, &SheetWindow::VScroll1_Change);
    connect(vscroll2_, &QScrollBar::valueChanged, this, &SheetWindow::VScroll2_Change);

    // The hidden default button that takes Enter for the whole window.
    command1_ = new QPushButton(this);
    command1_->setObjectName(u"Command1"_s);
    command1_->setFocusPolicy(Qt::NoFocus);
    geometry::place(command1_, -500, 0, 15, 15);
    connect(command1_, &QPushButton::clicked, this, &SheetWindow::Command1_Click);

    // Enter in the weight or full-marks box confirms that box only.
    frame4_->weight_box()->installEventFilter(this);
    frame4_->full_marks_box()->installEventFilter(this);

    auto text_height = [this] { return twips::unit_height(font()); };
    drag4_ = new PanelDragger(frame4_, text_height);
    drag6_ = new PanelDragger(frame6_, text_height);
}

int SheetWindow::fixed_length() const
{
    return 5 - vscroll2_->value();
}

double SheetWindow::character_size() const
{
    return numbers::leading_number(label3_->text());
}

void SheetWindow::fit_editor()
{
    const int row = sheet_->row();
    const int col = sheet_->col();
    grid_->ensure_visible(row, col);
    const double left = geometry::left(grid_) + grid_->cell_left_twips(col);
    const double top = geometry::top(grid_) + grid_->cell_top_twips(row);
    geometry::place(text1_, left, top, grid_->column_width_twips(col), grid_->row_height_twips());
}

void SheetWindow::put_editor()
{
    fit_editor();
    text1_->setText(sheet_->text(sheet_->row(), sheet_->col()));
}

void SheetWindow::load_editor(const QString &text)
{
    auto_text_flg = true;
    text1_->setText(text);
}

void SheetWindow::Text1_Change(const QString &text)
{
    sheet_->set_text(sheet_->row(), sheet_->col(), text);
    sheet_->set_content_flg();
    if (auto_text_flg) {
        auto_text_flg = false;
        return;
    }
    const int n = fixed_length();
    if (skip_adv_flg != 1 && n != 0 && text.toUcs4().size() == n) {
        // Shortcuts for the marks that do not fit the count.
        if (n == 2 && text == u"++"_s) {
            text1_->setText(u"100"_s);
            sheet_->set_text(sheet_->row(), sheet_->col(), u"100"_s);
        } else if (n == 1 && text == u"+"_s) {
            text1_->setText(u"10"_s);
            sheet_->set_text(sheet_->row(), sheet_->col(), u"10"_s);
        }
        move_down();
    }
    skip_adv_flg = 0;
    text1_->setEnabled(true);
    text1_->show();
    text1_->setFocus();
}

void SheetWindow::Text1_GotFocus()
{
    if (!layout_flg)
        lay_out();
    put_editor();
}

void SheetWindow::one_step(int drow, int dcol)
{
    text1_->setEnabled(false);
    const int row = sheet_->row();
    const int col = sheet_->col();
    if (drow > 0 && row >= sheet_->rows() - 1) {
        // Keying down past the last row adds a row, whatever the row limit.
        sheet_->append_row(numbers::row_number_fixed(sheet_->rows()));
    } else if ((drow < 0 && row <= 1) || (dcol < 0 && col <= 1) ||
               (dcol > 0 && col >= sheet_->cols() - 1)) {
        text1_->setEnabled(true);
        text1_->show();
        return;
    }
    auto_text_flg = true;
    sheet_->set_text(row, col, text1_->text());
    sheet_->set_current_cell(row + drow, col + dcol);
    text1_->setText(sheet_->text(sheet_->row(), sheet_->col()));
    set_position_display(sheet_->row(), sheet_->col(), true);
    auto_text_flg = false;
    put_editor();
    text1_->setEnabled(true);
    text1_->show();
    text1_->setFocus();
}

void SheetWindow::move_down()
{
    one_step(1, 0);
}

void SheetWindow::move_up()
{
    one_step(-1, 0);
}

void SheetWindow::move_right()
{
    one_step(0, 1);
}

void SheetWindow::move_left()
{
    one_step(0, -1);
}

void SheetWindow::Command1_Click()
{
    if (enter_hold_flg == 0)
        move_down();
    else
        enter_hold_flg = 0;
    text1_->setFocus();
}

void SheetWindow::set_position_display(int row, int col, bool leading_space)
{
    const QString r = leading_space ? numbers::signed_form(row) : QString::number(row);
    const QString c = leading_space ? numbers::signed_form(col) : QString::number(col);
    label6_->setText(c);
    if (label5_->text() != r) {
        label5_->setText(r);
        Label5_Change();
    }
}

void SheetWindow::Label5_Change()
{
    const int last_row = sheet_->rows() - 1;
    const int last_col = sheet_->cols() - 1;
    if (numbers::leading_number(label5_->text()) > last_row)
        label5_->setText(QString::number(last_row));
    if (numbers::leading_number(label6_->text()) > last_col)
        label6_->setText(QString::number(last_col));
}

bool SheetWindow::Text1_KeyDown(int key, int shift)
{
    const int last_row = sheet_->rows() - 1;
    const int last_col = sheet_->cols() - 1;
    switch (key) {
    case kTab:
        if (shift == 1) {
            if (sheet_->col() != 1)
                move_left();
        } else if (sheet_->col() != last_col) {
            move_right();
        }
        return true;  // focus stays in the editor
    case kEnter:
        if (shift == 1) {
            move_left();
            return true;
        }
        if (shift == 0) {
            Command1_Click();
            return true;
        }
        return true;
    case kEsc:
        if (sheet_->sel_row() != sheet_->row() || sheet_->sel_col() != sheet_->col())
            sheet_->set_selection_end(sheet_->row(), sheet_->col());
        return false;
    case kLeft:
        if (shift == 1) {
            const int sel_row = sheet_->sel_row() < 1 ? sheet_->row() : sheet_->sel_row();
            const int sel_col = sheet_->sel_col() > 1 ? sheet_->sel_col() - 1 : sheet_->sel_col();
            sheet_->set_selection_end(sel_row, sel_col);
        }
        return false;
    case kUp:
        if (sheet_->row() < 2)
            return false;
        if (shift == 0) {
            move_up();
        } else {
            const int sel_col = sheet_->sel_col() < 1 ? sheet_->col() : sheet_->sel_col();
            const int sel_row = sheet_->sel_row() > 1 ? sheet_->sel_row() - 1 : sheet_->sel_row();
            sheet_->set_selection_end(sel_row, sel_col);
        }
        return false;
    case kRight:
        if (shift == 1) {
            const int sel_row = sheet_->sel_row() < 1 ? sheet_->row() : sheet_->sel_row();
            const int sel_col =
                sheet_->sel_col() < last_col ? sheet_->sel_col() + 1 : sheet_->sel_col();
            sheet_->set_selection_end(sel_row, sel_col);
        }
        return false;
    case kDown:
        if (shift == 0) {
            move_down();
        } else {
            const int sel_col = sheet_->sel_col() < 1 ? sheet_->col() : sheet_->sel_col();
            const int sel_row =
                sheet_->sel_row() < last_row ? sheet_->sel_row() + 1 : sheet_->sel_row();
            sheet_->set_selection_end(sel_row, sel_col);
        }
        return false;
    case kDelete:
        if (shift != 0) {
            QMetaObject::invokeMethod(this, "del_moji");
            return true;
        }
        return false;
    default:
        return false;
    }
}

void SheetWindow::Text1_MouseDown(int button)
{
    if (button == 1)
        return;
    text1_->setEnabled(false);
    menus_->context_menu()->exec(QCursor::pos());
    sheet_->set_current_cell(int(numbers::round_half_even(numbers::leading_number(label5_->text()))),
                             int(numbers::round_half_even(numbers::leading_number(label6_->text()))));
    text1_->setEnabled(true);
}

bool SheetWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == text1_) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            const int code = key_code(key->key());
            if (code == 0)
                return false;
            int shift = inputcodes::shift_mask(key->modifiers());
            if (key->key() == Qt::Key_Backtab)
                shift |= 1;
            // Keys the table acts on still reach the editor, except those the
            // editor would only use to leave the box.
            const bool swallow = Text1_KeyDown(code, shift);
            return swallow;
        }
        case QEvent::FocusIn:
            Text1_GotFocus();
            return false;
        case QEvent::MouseButtonPress: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() != Qt::LeftButton) {
                Text1_MouseDown(mouse->button() == Qt::RightButton ? 2 : 4);
                return true;
            }
            return false;
        }
        default:
            return false;
        }
    }
    if (event->type() == QEvent::FocusIn &&
        (watched == frame4_->weight_box() || watched == frame4_->full_marks_box()))
        enter_hold_flg = 1;
    return QWidget::eventFilter(watched, event);
}

void SheetWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter anywhere in the window that no box took for itself.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        Command1_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SheetWindow::VScroll2_Change()
{
    const int n = fixed_length();
    label7_->setText(n == 0 ? u"なし"_s : numbers::signed_form(n));
}

void SheetWindow::VScroll1_Change()
{
    text1_->hide();
    text1_->setEnabled(false);
    const double s = 30 - vscroll1_->value();
    label3_->setText(QString::number(s));
    setFont(fonts::sheet_font(grid_->font().pointSizeF()));
    const double w_old = twips::unit_width(font());
    setFont(fonts::sheet_font(s));
    const double w_new = twips::unit_width(font());
    text1_->setFont(fonts::editor_font(s));
    grid_->setFont(fonts::sheet_font(s));
    for (int c = 0; c < sheet_->cols(); ++c)
        sheet_->set_column_width(
            c, int(numbers::round_half_even(w_new / w_old * sheet_->column_width(c))));
    for (int r = 1; r < sheet_->rows(); ++r)
        sheet_->set_text(r, 0, numbers::row_number_fixed(r));
    fit_editor();
    text1_->setEnabled(true);
    text1_->show();
    text1_->setFocus();
}

void SheetWindow::grdhyouka_RowColChange()
{
    refresh_score_panel();
    if (!text1_->isHidden()) {
        text1_->setEnabled(true);
        text1_->setFocus();
        return;
    }
    skip_adv_flg = sheet_->text(sheet_->row(), sheet_->col()).isEmpty() ? 0 : 1;
}

void SheetWindow::grdhyouka_MouseDown(int button, int, double, double)
{
    context_menu_open_ = false;
    if (button & 1) {
        text1_->hide();
        text1_->setEnabled(false);
        set_position_display(sheet_->row(), sheet_->col(), false);
        grid_->set_pointer(SheetGrid::Pointer::SizeAll);
    } else if (button & 2) {
        context_menu_open_ = true;
        menus_->context_menu()->exec(QCursor::pos());
    }
}

void SheetWindow::grdhyouka_MouseMove(int, int, double x, double y)
{
    if (main_->active_sheet() != this)
        return;
    const double h0 = grid_->row_height_twips();
    const double w0 = grid_->column_width_twips(0);
    if (y < 0.8 * h0 || x < 0.9 * w0) {
        grid_->set_pointer(SheetGrid::Pointer::Crosshair);
        return;
    }
    if (!grid_->row_visible(sheet_->row()) || !grid_->col_visible(sheet_->col())) {
        grid_->set_pointer(SheetGrid::Pointer::Default);
        return;
    }
    text1_->setEnabled(true);
    text1_->show();
    if (grid_->pointer() != SheetGrid::Pointer::Crosshair) {
        put_editor();
        return;
    }
    // The pointer has just left the title band.
    if ((0.8 * h0 < y && y < h0) || (0.8 * w0 < x && x < w0))
        text1_->setFocus();
    else
        put_editor();
    grid_->set_pointer(SheetGrid::Pointer::Default);
}

void SheetWindow::grdhyouka_MouseUp(int button, int, double, double)
{
    // The release of the press that opened the context menu belongs to the
    // menu; it must not move the cursor.
    if (context_menu_open_ && button == 2) {
        context_menu_open_ = false;
        return;
    }
    grid_->set_pointer(SheetGrid::Pointer::Default);
    const int rs = sheet_->sel_row();
    const int cs = sheet_->sel_col();
    const int r = sheet_->row();
    const int c = sheet_->col();
    // The cell where the drag ended becomes current; the rectangle stays.
    sheet_->set_current_cell(rs, cs);
    sheet_->set_selection_end(r, c);
    text1_->hide();
    auto_text_flg = true;
    text1_->setText(sheet_->text(sheet_->row(), sheet_->col()));
    auto_text_flg = false;
    text1_->show();
    text1_->setEnabled(true);
    text1_->setFocus();
    set_position_display(rs, cs, true);
}

void SheetWindow::grdhyouka_Scroll()
{
    const int row = sheet_->row();
    const int col = sheet_->col();
    if (grid_->row_visible(row) && grid_->col_visible(col)) {
        set_position_display(row, col, true);
        auto_text_flg = false;
    }
    text1_->hide();
    text1_->setEnabled(false);
}

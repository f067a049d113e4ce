#include "sheet/sheetwindow.h"

#include "common/accessiblenames.h"
#include "common/contrast.h"
#include "common/fonts.h"
#include "common/geometry.h"
#include "common/objectnames.h"
#include "common/paneldragger.h"
#include "common/prompter.h"
#include "common/twips.h"
#include "evaluation/criterioninput.h"
#include "evaluation/evaluationcommands.h"
#include "evaluation/evaluationpanel.h"
#include "numbers.h"
#include "print/printcommands.h"
#include "sheet.h"
#include "sheet/celleditor.h"
#include "sheet/clipboardcommands.h"
#include "sheet/filecommands.h"
#include "sheet/gridaccessible.h"
#include "sheet/inputpanels.h"
#include "sheet/mouseselection.h"
#include "sheet/panelkeys.h"
#include "sheet/scorepanel.h"
#include "sheet/sheetgrid.h"
#include "common/sheethost.h"
#include "sheet/sheetmenus.h"
#include "sheet/sideboxescape.h"
#include "sheet/structurecommands.h"
#include "sheet/undocommands.h"
#include "viewpoint/viewpointcommands.h"
#include "viewpoint/viewpointpanel.h"
#include "marks.h"
#include "setupcopy.h"
#include "structure/countdialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

bool is_modifier_only(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_unknown:
        return event->text().isEmpty();
    default:
        return false;
    }
}

}  // namespace

SheetWindow::SheetWindow(SheetHost &host, int number, bool first, QWidget *parent)
    : QWidget(parent), host_(host), number_(number)
{
    setObjectName(object_name::sheet_window);
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, contrast::background(QColor(224, 224, 224), QPalette::Window));
    setPalette(pal);

    // Inside its frame the window is no window of its own: readers would
    // not hear its caption.
    connect(this, &QWidget::windowTitleChanged, this, &QWidget::setAccessibleName);
    build_parts();
    connect_menus();
    build_sheet(first);
    // What the new sheet holds is the start: the history begins after it.
    undo_ = new UndoCommands(this, sheet_, editor_, menus_);
    viewpoints_->set_history(undo_->history());
    targets_ = {this, file_, clipboard_, structure_, evaluation_, print_, undo_, viewpoints_};
    connect(file_, &FileCommands::loaded, undo_, &UndoCommands::clear);
    connect(evaluation_panel_, &EvaluationPanel::acted, undo_, [this] { undo_->name(u"評価"_s); });
    accessible_names::name_controls(this);
}

void SheetWindow::build_parts()
{
    build_views();
    connect_views();
    build_commands();
    build_evaluation();
    build_viewpoints();
}

void SheetWindow::build_views()
{
    sheet_ = new Sheet(this);
    // Before the grid: a grid keeps the first accessibility interface made for it.
    grid_accessible::install();
    grid_ = new SheetGrid(sheet_, this);
    // Creation order is stacking order: the editor lies above the grid and
    // below the panels.
    inputs_ = new InputPanels(sheet_, this);
    editor_ = new CellEditor(sheet_, grid_, inputs_, this);
    editor_->stackUnder(inputs_);
    score_panel_ = new ScorePanel(this);
    evaluation_panel_ = new EvaluationPanel(this);
    menus_ = new SheetMenus(this);
    editor_->set_context_menu(menus_->context_menu());
    // The evaluation panel, the side panels and some of the grid beside them
    // always fit: a smaller window would cut off the panel's last rows or the
    // 評価計算 button.
    setMinimumSize(evaluation_panel_->width() + inputs_->panel_width() * 3 / 2 + 100,
                   evaluation_panel_->height() + 2);
}

void SheetWindow::connect_views()
{
    // The panel follows the cursor before the editor takes the focus.
    score_panel_->attach(sheet_);
    connect(sheet_, &Sheet::current_cell_changed, editor_, &CellEditor::follow_current_cell);
    connect(editor_, &CellEditor::layout_wanted, this, [this] {
        if (!laid_out_)
            lay_out();
    });
    editor_->hold_enter_in({score_panel_->title_box(), score_panel_->weight_box(),
                            score_panel_->full_marks_box()});
    for (CriterionInput *criterion : evaluation_panel_->criteria())
        editor_->hold_enter_in({criterion->box()});
    auto *escape = new SideBoxEscape(sheet_, score_panel_, evaluation_panel_, this);
    connect(escape, &SideBoxEscape::escaped, this, &SheetWindow::give_keys_to_editor);
    new GridSpeech(sheet_, grid_, editor_, this);
    connect(evaluation_panel_, &EvaluationPanel::message_requested, this,
            [this](const QString &text) { host_.prompter().message(this, text); });
    connect(inputs_, &InputPanels::character_size_changed, this, &SheetWindow::change_character_size);
    // The editor follows its cell when columns widen; a cell that a border
    // drag pushes out of view loses it, as scrolling does.
    connect(grid_, &SheetGrid::widths_changed, editor_, [this] {
        if (!editor_->isVisible())
            return;
        if (grid_->resizing_column() &&
            !(grid_->row_visible(sheet_->row()) && grid_->col_visible(sheet_->col())))
            editor_->hide_editor();
        else
            editor_->fit_editor();
    });

    mouse_ = new MouseSelection(sheet_, grid_, editor_, inputs_, menus_->context_menu(),
                                [this] { return host_.is_active(this); }, this);

    // The hidden default button that takes Enter for the whole window.
    auto *enter_button = new QPushButton(this);
    enter_button->setObjectName(object_name::enter_button);
    enter_button->setFocusPolicy(Qt::NoFocus);
    geometry::place(enter_button, -500, 0, 15, 15);
    connect(enter_button, &QPushButton::clicked, editor_, &CellEditor::press_enter);

    auto text_height = [this] { return twips::unit_height(font()); };
    drag4_ = new PanelDragger(score_panel_, text_height);
    drag6_ = new PanelDragger(evaluation_panel_, text_height);
}

void SheetWindow::build_commands()
{
    file_ = new FileCommands(this, sheet_, editor_, inputs_, host_.prompter());
    connect(file_, &FileCommands::read_elsewhere_requested, this,
            &SheetWindow::load_in_new_sheet_requested);
    connect(file_, &FileCommands::close_requested, this, [this] {
        never_prompt_ = true;
        close_window();
    });
    connect(file_, &FileCommands::read_done, this, &SheetWindow::read_done);
    connect(file_, &FileCommands::saved_to, this, &SheetWindow::show_file);
    file_->set_open_copy_check(
        [this](const QString &path) { return host_.go_to_open_copy(this, path); });

    clipboard_ = new ClipboardCommands(this, sheet_, grid_, editor_, inputs_, host_.prompter());
    structure_ = new StructureCommands(this, sheet_, editor_, host_);
    print_ = new PrintCommands(this, sheet_, grid_, host_);
    connect(editor_, &CellEditor::delete_requested, this, [this] { run(Command::DeleteContents); });
    connect(editor_, &CellEditor::paste_requested, this, [this] { run(Command::Paste); });
    connect(editor_, &CellEditor::copy_requested, this, [this] { run(Command::Copy); });
    connect(editor_, &CellEditor::cut_requested, this, [this] { run(Command::Cut); });
    // A press on the grid puts the count dialog away.
    connect(grid_, &SheetGrid::mouse_down, this, [this] { host_.count_dialog().put_away(); });
}

void SheetWindow::build_evaluation()
{
    // The count grids are sized by the window's font as it is now, before the
    // sheet's own font size is set.
    evaluation_panel_->attach(sheet_, twips::unit_width(font()));
    evaluation_ = new EvaluationCommands(this, sheet_, evaluation_panel_, host_.prompter());
    connect(evaluation_, &EvaluationCommands::busy, this, &SheetWindow::busy);
    connect(evaluation_, &EvaluationCommands::computed, grid_,
            [this] { grid_->set_pointer(SheetGrid::Pointer::Default); });
    // The button would keep the focus, and the keys typed next would be lost.
    connect(score_panel_->evaluate_button(), &QPushButton::clicked, this, [this] {
        run(Command::Evaluate);
        give_keys_to_editor();
    });
    // After a panel button the keys go to the current cell again, never to a
    // box the focus happened to fall into.
    auto back_to_editor = [this] {
        editor_->show_editor();
        editor_->setFocus();
    };
    connect(evaluation_panel_, &EvaluationPanel::acted, editor_, back_to_editor);
    connect(evaluation_panel_, &EvaluationPanel::acted, this, &SheetWindow::evaluated);
    connect(evaluation_panel_, &EvaluationPanel::look_alike_requested, this, [this] {
        if (const auto cell = marks::first_look_alike(*sheet_))
            go_to_cell(cell->first, cell->second);
    });
    connect(evaluation_, &EvaluationCommands::check_requested, this, &SheetWindow::go_to_cell);
    connect(evaluation_, &EvaluationCommands::answered, editor_, back_to_editor);

    // F6 walks the panels' controls in the order they stand, top to bottom.
    auto control = [this](QLatin1StringView name) {
        auto *found = findChild<QWidget *>(name);
        Q_ASSERT(found);
        return found;
    };
    QList<QWidget *> boxes{score_panel_->title_box(), score_panel_->full_marks_box(),
                           score_panel_->weight_box()};
    for (CriterionInput *criterion : evaluation_panel_->criteria())
        boxes << criterion->box() << criterion->scroll();
    using namespace object_name;
    const QList<QWidget *> order{
        control(character_size_scroll), control(fixed_length_scroll), boxes[0], boxes[1],
        boxes[2], score_panel_->viewpoint_choice(), score_panel_->evaluate_button(),
        score_panel_->viewpoints_button(), boxes[3], boxes[4], boxes[5], boxes[6],
        control(candidate_list), control(recalculate_button), control(decide_button),
        control(abort_button), control(look_alike_button), control(close_button)};
    auto *keys = new PanelKeys(this, order, boxes);
    connect(keys, &PanelKeys::cell_wanted, this, &SheetWindow::give_keys_to_editor);
}

void SheetWindow::build_viewpoints()
{
    viewpoints_ = new ViewpointCommands(this, sheet_, [this] { return make_viewpoint_panel(); },
                                        host_.prompter());
    connect(score_panel_->viewpoints_button(), &QPushButton::clicked, this, [this] { run(Command::Viewpoints); });
    connect(viewpoints_, &ViewpointCommands::closed, this, &SheetWindow::give_keys_to_editor);
    connect(viewpoints_, &ViewpointCommands::decided, this, &SheetWindow::evaluated);
    // Choosing a column's viewpoint, the teacher goes on typing marks.
    // The list's popup takes the focus back to the choice as it closes.
    connect(score_panel_->viewpoint_choice(), &QComboBox::activated, this,
            [this] { QTimer::singleShot(0, this, &SheetWindow::give_keys_to_editor); });
    grid_->set_result_notes([this](int row, int col) { return viewpoints_->result_note(row, col); });
    score_panel_->set_result_checks([this] { return viewpoints_->check_count(); });
    connect(viewpoints_, &ViewpointCommands::checks_changed, this, [this] {
        grid_->viewport()->update();
        score_panel_->refresh();
    });
}

ViewpointPanel *SheetWindow::viewpoint_panel() const
{
    return viewpoints_->panel();
}

ViewpointPanel *SheetWindow::make_viewpoint_panel()
{
    // Made without a parent, then given its font: made inside the window,
    // its captions would keep the sheet's font.
    auto *panel = new ViewpointPanel;
    panel->setParent(this);
    panel->setFont(fonts::panel_font());
    place_viewpoint_panel(panel);
    return panel;
}

void SheetWindow::place_viewpoint_panel(ViewpointPanel *panel)
{
    const int room = qMax(0, inputs_->x() - 8);
    panel->setGeometry(4, 4, qMin(room, 980), qMax(0, qMin(height() - 8, 640)));
}

void SheetWindow::go_to_cell(int row, int col)
{
    sheet_->set_current_cell(row, col);
    editor_->return_to_current_cell();
}

void SheetWindow::connect_menus()
{
    connect(menus_, &SheetMenus::triggered, this, &SheetWindow::run);
    // The editor has no use for these keys: they reach the window's shortcuts.
    for (const CommandInfo &command : commands::all()) {
        if (!command.key.exists())
            continue;
        auto *shortcut = new QShortcut(QKeySequence(command.key.combination), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, id = command.id] { run(id); });
    }
    // Checked once the menu is gone and its command has run.
    for (QMenu *menu : menus_->bar_menus()) {
        connect(menu, &QMenu::aboutToHide, this,
                [this] { QTimer::singleShot(0, this, &SheetWindow::menu_closed); });
        menu->installEventFilter(this);
    }
}

// Esc in a menu of the bar closes it and gives the keys back at once: the
// bar would keep them, and keys typed right after Esc (before any later
// check) would open and walk its menus.
bool SheetWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        if (auto *menu = qobject_cast<QMenu *>(watched); menu && host_.is_active(this)) {
            menu->hide();
            give_keys_to_editor();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Esc closes a menu but leaves the bar holding the keys, where typing goes
// nowhere and Ctrl+Z does nothing. A command that opened a dialog keeps its
// keys: the focus is then in the dialog, not on the bar.
void SheetWindow::menu_closed()
{
    if (QApplication::activePopupWidget() || !host_.is_active(this))
        return;
    QWidget *focus = QApplication::focusWidget();
    if (!focus || qobject_cast<QMenuBar *>(focus) || focus == this)
        give_keys_to_editor();
}

void SheetWindow::give_keys_to_editor()
{
    // Placing it first: bringing the cell into view scrolls, which hides it.
    editor_->fit_editor();
    editor_->show_editor();
    editor_->setFocus(Qt::OtherFocusReason);
}

void SheetWindow::build_sheet(bool first)
{
    const double size = inputs_->character_size();
    // Panels keep the ordinary dialog font. The parts get their own fonts
    // before the window: the window's then stops at them instead of passing
    // through every panel twice.
    for (QWidget *panel : {static_cast<QWidget *>(inputs_), static_cast<QWidget *>(score_panel_),
                           static_cast<QWidget *>(evaluation_panel_)})
        panel->setFont(fonts::panel_font());
    editor_->setFont(fonts::editor_font(size));
    grid_->setFont(fonts::sheet_font(size));
    setFont(fonts::sheet_font(size));
    sheet_->build_new(twips::unit_width(font()));
    score_panel_->show();
    score_panel_->title_box()->clear();
    base_title_ = first ? u"評価計算(1)"_s : u"評価計算( "_s + QString::number(number_) + u')';
    setWindowTitle(base_title_);
    editor_->set_system_text_pending(true);
    editor_->clear();
    editor_->show_editor();
}

void SheetWindow::take_setup(const Sheet &from)
{
    setupcopy::copy_setup(from, *sheet_);
    // The set-up is where this sheet starts, not a step to undo.
    undo_->clear();
    // As after reading a file: the row display reads "1" as written.
    inputs_->show_row(u"1"_s);
    editor_->reload();
    editor_->show_editor();
    editor_->setFocus();
}

void SheetWindow::run(Command id)
{
    const CommandInfo &command = commands::info(id);
    Q_ASSERT(command.handler);
    std::optional<UndoCommands::Held> step;
    if (!command.undo_step.isEmpty())
        step.emplace(*undo_, command.undo_step.toString());
    command.handler(targets_);
}

void SheetWindow::fold_marks()
{
    // One cell selected: every score cell of the sheet.
    const bool one_cell = sheet_->row() == sheet_->sel_row() && sheet_->col() == sheet_->sel_col();
    const int changed =
        one_cell ? marks::fold_look_alikes(*sheet_, 1, 1, sheet_->rows() - 1, sheet_->cols() - 1)
                 : marks::fold_look_alikes(*sheet_, sheet_->top_selected_row(),
                                           sheet_->left_selected_col(),
                                           sheet_->bottom_selected_row(),
                                           sheet_->right_selected_col());
    // The current cell may be among those folded.
    editor_->reload();
    if (changed == 0)
        host_.prompter().message(this, u"半角に直す値はありません。"_s);
}

void SheetWindow::fit_titles()
{
    const bool one_cell = sheet_->row() == sheet_->sel_row() && sheet_->col() == sheet_->sel_col();
    const int first = one_cell ? 1 : qMax(1, sheet_->left_selected_col());
    const int last = one_cell ? sheet_->cols() - 1 : sheet_->right_selected_col();
    // Never narrower: a width the teacher gave or a wide mark stays.
    for (int c = first; c <= last; ++c)
        if (const int wanted = grid_->title_width_twips(c); wanted > sheet_->column_width(c))
            sheet_->set_column_width(c, wanted);
    editor_->fit_editor();
}

void SheetWindow::mousePressEvent(QMouseEvent *event)
{
    // A press on the window itself (not on the grid) disables the dialog.
    host_.count_dialog().setEnabled(false);
    QWidget::mousePressEvent(event);
}

void SheetWindow::read_done(const QString &path)
{
    score_panel_->show();
    show_file(path);
}

// After a save under another name the caption must not keep naming the
// file read before: the marks are no longer there.
void SheetWindow::show_file(const QString &path)
{
    setWindowTitle(base_title_ + u"  "_s + path);
}

void SheetWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    lay_out();
}

void SheetWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        lay_out();
}

void SheetWindow::keyPressEvent(QKeyEvent *event)
{
    // The window itself holds the keys while the editor is hidden (after a
    // scroll took the current cell out of view): a key brings the cell back
    // and goes there, as in a spreadsheet, instead of being dropped. Keys a
    // side box let pass stay out of the cells.
    if (QApplication::focusWidget() == this && QGuiApplication::mouseButtons() == Qt::NoButton &&
        event->key() != Qt::Key_Escape && !is_modifier_only(event)) {
        give_keys_to_editor();
        if (editor_->hasFocus()) {
            QKeyEvent again(event->type(), event->key(), event->modifiers(), event->text(),
                            event->isAutoRepeat(), ushort(event->count()));
            QCoreApplication::sendEvent(editor_, &again);
            return;
        }
    }
    // Enter anywhere in the window that no box took for itself.
    // The keypad's Enter counts as Enter.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        editor_->press_enter();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Tab never reaches keyPressEvent: held by the window itself, it would pass
// the focus on to the first box instead of moving the cursor.
bool SheetWindow::focusNextPrevChild(bool next)
{
    if (QApplication::focusWidget() != this)
        return QWidget::focusNextPrevChild(next);
    give_keys_to_editor();
    QKeyEvent tab(QEvent::KeyPress, next ? Qt::Key_Tab : Qt::Key_Backtab,
                  next ? Qt::NoModifier : Qt::ShiftModifier);
    QCoreApplication::sendEvent(editor_, &tab);
    return true;
}

void SheetWindow::lay_out()
{
    const double w = geometry::width(this);
    const double w1 = twips::from_px(inputs_->panel_width());
    geometry::move(evaluation_panel_, w - 1.5 * w1 - geometry::width(evaluation_panel_),
                   geometry::top(evaluation_panel_));
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (sub && sub->isMinimized())
        return;
    geometry::move(grid_, 0, 0);
    if (host_.frame_minimized())
        return;
    // The side panels hug the right edge, one below the other.
    geometry::move(inputs_, w - w1, 0);
    grid_->setGeometry(0, 0, qMax(0, inputs_->x()), height());
    geometry::move(score_panel_, geometry::left(inputs_),
                   geometry::top(inputs_) + geometry::height(inputs_));
    score_panel_->resize(inputs_->width(), score_panel_->height());
    inputs_->lay_out();
    // The viewpoint panel takes the grid's place, no more than the window
    // leaves it.
    if (ViewpointPanel *panel = viewpoints_ ? viewpoints_->built_panel() : nullptr)
        place_viewpoint_panel(panel);
    editor_->fit_editor();
    laid_out_ = true;
}

// The character size: fonts of the window, the editor and the grid, column
// widths scaled by the new unit width, row numbers written afresh.
void SheetWindow::change_character_size(double points)
{
    editor_->hide_editor();
    setFont(fonts::sheet_font(grid_->font().pointSizeF()));
    const double w_old = twips::unit_width(font());
    setFont(fonts::sheet_font(points));
    const double w_new = twips::unit_width(font());
    editor_->setFont(fonts::editor_font(points));
    grid_->setFont(fonts::sheet_font(points));
    for (int c = 0; c < sheet_->cols(); ++c)
        sheet_->set_column_width(
            c, int(numbers::round_half_even(w_new / w_old * sheet_->column_width(c))));
    for (int r = 1; r < sheet_->rows(); ++r)
        sheet_->set_text(r, 0, numbers::row_number_fixed(r));
    editor_->fit_editor();
    editor_->show_editor();
    editor_->setFocus();
}

void SheetWindow::activated()
{
    grid_->set_pointer(SheetGrid::Pointer::Default);
    unsetCursor();
    // By Ctrl+F6, an arrangement or a title bar: the keys go to the cell, not
    // to the first box of the window. A click into a box of the window keeps
    // that box.
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus != editor_ && isAncestorOf(focus) &&
        QGuiApplication::mouseButtons() != Qt::NoButton &&
        focus->rect().contains(focus->mapFromGlobal(QCursor::pos())))
        return;
    give_keys_to_editor();
}

// One question, with キャンセル, and none about a sheet just saved: a second
// question right after a save teaches teachers to answer いいえ.
bool SheetWindow::close_window()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        return sub->close();
    return close();
}

void SheetWindow::closeEvent(QCloseEvent *event)
{
    if (closed_) {
        event->accept();
        return;
    }
    setCursor(Qt::WaitCursor);
    grid_->set_pointer(SheetGrid::Pointer::Wait);
    Prompter::Answer answer = Prompter::Answer::No;
    const QString remembered_name = sheet_->sheet_name();
    if (sheet_->has_content() && !never_prompt_ && !sheet_->is_saved()) {
        answer = host_.prompter().ask(this,
                                      windowTitle() + u" を閉じます。\r\nワークシート["_s +
                                          sheet_->sheet_name() + u"]を保存しますか？"_s,
                                      Prompter::Buttons::YesNoCancel);
    }
    // A save that wrote nothing (cancelled or failed) keeps the window open.
    const bool closing =
        answer != Prompter::Answer::Yes || file_->save_sheet() == FileCommands::SaveOutcome::Saved;
    unsetCursor();
    grid_->set_pointer(SheetGrid::Pointer::Default);
    if (answer == Prompter::Answer::Cancel) {
        never_prompt_ = false;
        event->ignore();
        return;
    }
    if (!closing)
        sheet_->set_sheet_name(remembered_name);
    never_prompt_ = false;
    if (!closing) {
        event->ignore();
        return;
    }
    closed_ = true;
    emit closed(this);
    event->accept();
}

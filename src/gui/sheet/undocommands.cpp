#include "sheet/undocommands.h"

#include "history.h"
#include "sheet/celleditor.h"
#include "sheet/sheetmenus.h"

#include <QAction>
#include <QShortcut>
#include <QWidget>

using namespace Qt::StringLiterals;

UndoCommands::UndoCommands(QWidget *window, Sheet *sheet, CellEditor *editor,
                           SheetMenus *menus)
    : QObject(window), editor_(editor), menus_(menus),
      history_(new SheetHistory(*sheet, this))
{
    // One step for everything one key press or click does.
    history_->set_auto_close(true);
    connect(history_, &SheetHistory::changed, this, &UndoCommands::update_items);
    // The editor passes these keys on; the shortcuts serve the rest of the window.
    const std::pair<QKeySequence, void (UndoCommands::*)()> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Z), &UndoCommands::undo},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), &UndoCommands::redo},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &UndoCommands::redo}};
    for (const auto &[sequence, operation] : keys) {
        auto *shortcut = new QShortcut(sequence, window);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, operation);
    }
    connect(editor_, &CellEditor::undo_requested, this, &UndoCommands::undo);
    connect(editor_, &CellEditor::redo_requested, this, &UndoCommands::redo);
    update_items();
}

void UndoCommands::name(const QString &what)
{
    history_->name_step(what);
}

UndoCommands::Held::Held(UndoCommands &commands, const QString &what)
    : history_(*commands.history_)
{
    history_.name_step(what);
    history_.hold();
}

UndoCommands::Held::~Held()
{
    history_.release();
}

void UndoCommands::clear()
{
    history_->clear();
}

void UndoCommands::undo()
{
    history_->undo();
    after();
}

void UndoCommands::redo()
{
    history_->redo();
    after();
}

// The editor shows the cell the cursor went to, never a text of before.
void UndoCommands::after()
{
    editor_->return_to_current_cell();
}

// The items name the step they would take back or do again.
void UndoCommands::update_items()
{
    menus_->enable_for({.sheet_open = true,
                        .can_undo = history_->can_undo(),
                        .can_redo = history_->can_redo()});
    const auto show = [this](Command id, bool can, const QString &step) {
        const QString caption = commands::info(id).menu_item.caption.toString();
        menus_->action(id)->setText(can ? caption + u": "_s + step : caption);
    };
    show(Command::Undo, history_->can_undo(), history_->undo_name());
    show(Command::Redo, history_->can_redo(), history_->redo_name());
}

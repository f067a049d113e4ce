#pragma once

#include <QKeyCombination>
#include <QLatin1StringView>
#include <QStringView>
#include <QStyle>
#include <span>

class ClipboardCommands;
class EvaluationCommands;
class FileCommands;
class PrintCommands;
class SheetWindow;
class StructureCommands;
class UndoCommands;
class ViewpointCommands;

// Everything the teacher can ask of a sheet from its menus, its context menu
// and the frame's toolbar.
enum class Command {
    ReadSheet,
    SameSetup,
    WriteSheet,
    CloseSheet,
    PrintSettings,
    Preview,
    Print,
    EndProgram,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    SelectAll,
    FoldMarks,
    InsertColumns,
    DeleteColumns,
    InsertRows,
    DeleteRows,
    Evaluate,
    Report,
    TileStacked,
    TileSideBySide,
    Cascade,
    CloseContextMenu,
    Help,
    About,
    NewSheet,
    ReadInNewSheet,
    SaveSheet,
    DeleteContents,
    SaveInPlace,
    FitTitles,
    Viewpoints,
    CopyViewpoints,
};

// What a command's handler acts on: the window and its command objects.
struct CommandTargets {
    SheetWindow *window = nullptr;
    FileCommands *file = nullptr;
    ClipboardCommands *clipboard = nullptr;
    StructureCommands *structure = nullptr;
    EvaluationCommands *evaluation = nullptr;
    PrintCommands *print = nullptr;
    UndoCommands *undo = nullptr;
    ViewpointCommands *viewpoints = nullptr;
};

// What decides whether a command can be chosen now.
struct CommandState {
    bool sheet_open = false;
    bool can_undo = false;
    bool can_redo = false;
};

// One command: where it shows, under which names, and what it does.
struct CommandInfo {
    enum class Availability { Always, WithSheet, WithUndoStep, WithRedoStep };
    // An item of a menu: its object name and its caption (with access key).
    struct Item {
        QLatin1StringView name = {};
        QStringView caption = {};
    };
    struct Button {
        QLatin1StringView name = {};
        QStringView label = {};
        QStyle::StandardPixmap icon = QStyle::SP_CustomBase;
        QStringView tip = {};
    };
    // A key that runs the command anywhere in the sheet window, shown beside
    // the menu item of another command.
    struct Key {
        QKeyCombination combination = {};
        Command shown_beside = {};
        bool exists() const { return combination.key() != Qt::Key_unknown; }
    };
    using Handler = void (*)(const CommandTargets &);

    Command id;
    Item menu_item = {};     // in the menu bar's menus; no name: none
    Item context_item = {};  // in the context menu; no name: none
    Button button = {};      // on the frame's toolbar; no name: none
    Key key = {};            // no combination: none
    // What 元に戻す names the step the command makes; empty: the command makes
    // no step of its own.
    QStringView undo_step = {};
    Availability availability = Availability::WithSheet;
    // None for the frame's own commands (the frame runs them) and for
    // キャンセル, which only closes its menu.
    Handler handler = nullptr;
};

// An entry of the menu tree, in the order the menus show.
struct MenuEntry {
    enum class Kind { BarMenu, Submenu, ContextMenu, Item, Separator };
    Kind kind;
    QLatin1StringView name;   // menus and separators
    QStringView title;        // menus
    QLatin1StringView under;  // submenus: the menu they stand in
    Command id;               // items; they stand in the menu opened last
};

namespace commands {

const CommandInfo &info(Command id);
// Every command, in the order of its ids.
std::span<const CommandInfo> all();
// The menu bar's menus and the context menu, item by item.
std::span<const MenuEntry> menu_tree();
// The toolbar's buttons, left to right.
std::span<const Command> toolbar();
bool is_enabled(Command id, const CommandState &state);

}  // namespace commands

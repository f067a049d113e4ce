#include "sheet/commands.h"

#include "common/objectnames.h"
#include "evaluation/evaluationcommands.h"
#include "print/printcommands.h"
#include "sheet/clipboardcommands.h"
#include "sheet/filecommands.h"
#include "sheet/sheetwindow.h"
#include "sheet/structurecommands.h"
#include "sheet/undocommands.h"
#include "viewpoint/viewpointcommands.h"

#include <iterator>

using namespace object_name;
using Availability = CommandInfo::Availability;
using Kind = MenuEntry::Kind;

namespace {

// In the order of the ids; a command needs an open sheet unless its row says
// otherwise. The toolbar's ｼｰﾄ呼出 and ｼｰﾄ保存 are commands of
// their own: the first reads into a new sheet, the second, like Ctrl+S,
// saves into the sheet's own file without asking (the menu's シート保存
// asks where).
const CommandInfo kCommands[] = {
    {.id = Command::ReadSheet,
     .menu_item = {read_item, u"シート読込(&R)"},
     .handler = [](const CommandTargets &t) { t.file->read_sheet(); }},
    {.id = Command::SameSetup,
     .menu_item = {same_setup_item, u"同じ設定で新規作成(&N)"},
     .handler = [](const CommandTargets &t) { emit t.window->same_setup_requested(); }},
    {.id = Command::WriteSheet,
     .menu_item = {write_item, u"シート保存(&W)"},
     .handler = [](const CommandTargets &t) { t.file->sheet_write(); }},
    {.id = Command::CloseSheet,
     .menu_item = {close_item, u"シートを閉じる(&C)"},
     .handler = [](const CommandTargets &t) { t.window->close_window(); }},
    {.id = Command::PrintSettings,
     .menu_item = {print_settings_item, u"印刷設定(&U)"},
     .handler = [](const CommandTargets &t) { emit t.window->print_settings_requested(); }},
    {.id = Command::Preview,
     .menu_item = {preview_item, u"印刷ﾌﾟﾚﾋﾞｭｰ(&V)"},
     .handler = [](const CommandTargets &t) { t.print->preview(); }},
    {.id = Command::Print,
     .menu_item = {print_item, u"指定範囲印刷(&p)"},
     .button = {print_button, u"ｼｰﾄ印刷", QStyle::SP_FileDialogDetailedView, {}},
     .handler = [](const CommandTargets &t) { t.print->print(); }},
    {.id = Command::EndProgram,
     .menu_item = {end_program_item, u"ﾌﾟﾛｸﾞﾗﾑを終わらせる(&E)"},
     .handler = [](const CommandTargets &t) { emit t.window->end_program_requested(); }},
    {.id = Command::Undo,
     .menu_item = {undo_item, u"元に戻す(&U)"},
     .availability = Availability::WithUndoStep,
     .handler = [](const CommandTargets &t) { t.undo->undo(); }},
    {.id = Command::Redo,
     .menu_item = {redo_item, u"やり直し(&R)"},
     .availability = Availability::WithRedoStep,
     .handler = [](const CommandTargets &t) { t.undo->redo(); }},
    {.id = Command::Cut,
     .menu_item = {cut_item, u"切り取り(&T)"},
     .context_item = {context_cut_item, u"切り取り"},
     .button = {cut_button, u"カット", QStyle::SP_DialogDiscardButton,
                u"ﾃｷｼﾄをｸﾘｯﾌﾟﾎﾞｰﾄﾞに移動します。"},
     .undo_step = u"切り取り",
     .handler = [](const CommandTargets &t) { t.clipboard->cut(); }},
    {.id = Command::Copy,
     .menu_item = {copy_item, u"コピー(&C)"},
     .context_item = {context_copy_item, u"コピー"},
     .button = {copy_button, u"コピー", QStyle::SP_FileDialogNewFolder,
                u"ﾃｷｽﾄをｸﾘｯﾌﾟﾎﾞｰﾄﾞに複写します。"},
     .handler = [](const CommandTargets &t) { t.clipboard->copy(); }},
    {.id = Command::Paste,
     .menu_item = {paste_item, u"貼り付け(&P)"},
     .context_item = {context_paste_item, u"貼り付け"},
     .button = {paste_button, u"ペースト", QStyle::SP_DialogApplyButton,
                u"ｸﾘｯﾌﾟﾎﾞｰﾄﾞからﾃｷｽﾄを貼り付けます。"},
     .undo_step = u"貼り付け",
     .handler = [](const CommandTargets &t) { t.clipboard->paste(); }},
    {.id = Command::SelectAll,
     .menu_item = {select_all_item, u"全てを指定(&A)"},
     .handler = [](const CommandTargets &t) { t.clipboard->select_all(); }},
    {.id = Command::FoldMarks,
     .menu_item = {fold_marks_item, u"全角数字を半角に(&Z)"},
     .undo_step = u"全角数字を半角に",
     .handler = [](const CommandTargets &t) { t.window->fold_marks(); }},
    {.id = Command::InsertColumns,
     .menu_item = {insert_columns_item, u"挿入(&I)"},
     .button = {insert_columns_button, u"列挿入", QStyle::SP_ArrowRight,
                u"列を挿入します(評価計算ｼｰﾄは点数ﾌｨｰﾙﾄﾞのみ)"},
     .undo_step = u"列の挿入",
     .handler = [](const CommandTargets &t) { t.structure->insert_columns(); }},
    {.id = Command::DeleteColumns,
     .menu_item = {delete_columns_item, u"削除(&D)"},
     .button = {delete_columns_button, u"列削除", QStyle::SP_ArrowLeft,
                u"列を削除します(評価計算ｼｰﾄは点数ﾌｨｰﾙﾄﾞのみ)"},
     .undo_step = u"列の削除",
     .handler = [](const CommandTargets &t) { t.structure->delete_columns(); }},
    {.id = Command::InsertRows,
     .menu_item = {insert_rows_item, u"挿入(&I)"},
     .button = {insert_rows_button, u"行挿入", QStyle::SP_ArrowDown, u"行を挿入します。"},
     .undo_step = u"行の挿入",
     .handler = [](const CommandTargets &t) { t.structure->insert_rows(); }},
    {.id = Command::DeleteRows,
     .menu_item = {delete_rows_item, u"削除(&D)"},
     .button = {delete_rows_button, u"行削除", QStyle::SP_ArrowUp, u"行を削除します。"},
     .undo_step = u"行の削除",
     .handler = [](const CommandTargets &t) { t.structure->delete_rows(); }},
    {.id = Command::Evaluate,
     .menu_item = {evaluate_item, u"評価計算実行(&G)"},
     .undo_step = u"評価計算",
     .handler =
         [](const CommandTargets &t) {
             t.evaluation->evaluate();
             emit t.window->evaluated();
         }},
    {.id = Command::Report,
     .menu_item = {report_item, u"成績一覧表(&L)…"},
     .handler = [](const CommandTargets &t) { emit t.window->report_requested(); }},
    {.id = Command::TileStacked,
     .menu_item = {tile_stacked_item, u"上下に並べて表示(&H)"},
     .handler = [](const CommandTargets &t) { emit t.window->arrange_requested(1); }},
    {.id = Command::TileSideBySide,
     .menu_item = {tile_side_by_side_item, u"左右に並べて表示(&V)"},
     .handler = [](const CommandTargets &t) { emit t.window->arrange_requested(2); }},
    {.id = Command::Cascade,
     .menu_item = {cascade_item, u"重ねて表示(&C)"},
     .handler = [](const CommandTargets &t) { emit t.window->arrange_requested(0); }},
    {.id = Command::CloseContextMenu,
     .context_item = {context_cancel_item, u"ｷｬﾝｾﾙ"}},
    {.id = Command::Help,
     .menu_item = {help_item, u"ヘルプの表示(&H)"},
     .handler = [](const CommandTargets &t) { emit t.window->help_requested(); }},
    {.id = Command::About,
     .menu_item = {about_item, u"「ぽん採点」について"},
     .handler = [](const CommandTargets &t) { emit t.window->about_requested(); }},
    {.id = Command::NewSheet,
     .button = {new_sheet_button, u"新規作成", QStyle::SP_FileIcon,
                u"新しい計算シートを表示します。"},
     .availability = Availability::Always},
    {.id = Command::ReadInNewSheet,
     .button = {read_in_new_sheet_button, u"ｼｰﾄ呼出", QStyle::SP_DialogOpenButton,
                u"ファイルから読み込みます"},
     .availability = Availability::Always},
    {.id = Command::SaveSheet,
     .button = {save_button, u"ｼｰﾄ保存", QStyle::SP_DialogSaveButton,
                u"シートをファイルに書き込みます。"},
     .handler = [](const CommandTargets &t) { t.file->save_in_place(); }},
    {.id = Command::DeleteContents,
     .button = {delete_contents_button, u"文字消去", QStyle::SP_LineEditClearButton, {}},
     .undo_step = u"文字消去",
     .handler = [](const CommandTargets &t) { t.clipboard->delete_contents(); }},
    // Ctrl+S: a sheet with a file of its own goes back into it at once.
    {.id = Command::SaveInPlace,
     .key = {Qt::CTRL | Qt::Key_S, Command::WriteSheet},
     .handler = [](const CommandTargets &t) { t.file->save_in_place(); }},
    {.id = Command::FitTitles,
     .menu_item = {fit_titles_item, u"列の幅を見出しに合わせる"},
     .undo_step = u"列の幅を見出しに合わせる",
     .handler = [](const CommandTargets &t) { t.window->fit_titles(); }},
    {.id = Command::Viewpoints,
     .menu_item = {viewpoints_item, u"観点別評価(&K)…"},
     .handler = [](const CommandTargets &t) { t.viewpoints->open_panel(); }},
    {.id = Command::CopyViewpoints,
     .menu_item = {copy_viewpoints_item, u"観点別評価のコピー(&C)"},
     .handler = [](const CommandTargets &t) { t.viewpoints->copy_results(); }},
};

constexpr MenuEntry bar_menu(QLatin1StringView name, QStringView title)
{
    return {Kind::BarMenu, name, title, {}, {}};
}

constexpr MenuEntry submenu(QLatin1StringView name, QLatin1StringView under, QStringView title)
{
    return {Kind::Submenu, name, title, under, {}};
}

constexpr MenuEntry context(QLatin1StringView name, QStringView title)
{
    return {Kind::ContextMenu, name, title, {}, {}};
}

constexpr MenuEntry item(Command id)
{
    return {Kind::Item, {}, {}, {}, id};
}

constexpr MenuEntry separator(QLatin1StringView name)
{
    return {Kind::Separator, name, {}, {}, {}};
}

// The context menu stands before ヘルプ, as in the teacher's earlier program.
const MenuEntry kMenuTree[] = {
    bar_menu(file_menu, u"ﾌｧｲﾙ(&F)"),
    item(Command::ReadSheet),
    item(Command::SameSetup),
    item(Command::WriteSheet),
    separator(file_separator_before_close),
    item(Command::CloseSheet),
    separator(file_separator_before_print),
    item(Command::PrintSettings),
    item(Command::Preview),
    item(Command::Print),
    separator(file_separator_before_end),
    item(Command::EndProgram),
    bar_menu(edit_menu, u"編集(&E)"),
    item(Command::Undo),
    item(Command::Redo),
    separator(edit_separator_after_redo),
    item(Command::Cut),
    item(Command::Copy),
    item(Command::Paste),
    separator(edit_separator_before_select_all),
    item(Command::SelectAll),
    separator(edit_separator_before_fold),
    item(Command::FoldMarks),
    bar_menu(view_menu, u"表示(&V)"),
    item(Command::FitTitles),
    submenu(columns_menu, view_menu, u"列表示(&R)"),
    item(Command::InsertColumns),
    item(Command::DeleteColumns),
    separator(columns_separator),
    submenu(rows_menu, view_menu, u"行表示(&G)"),
    item(Command::InsertRows),
    item(Command::DeleteRows),
    bar_menu(evaluation_menu, u"評価計算(&H)"),
    item(Command::Evaluate),
    item(Command::Viewpoints),
    item(Command::CopyViewpoints),
    item(Command::Report),
    bar_menu(window_menu, u"ウインドウ(&W)"),
    item(Command::TileStacked),
    item(Command::TileSideBySide),
    item(Command::Cascade),
    context(context_menu, u"編集２"),
    item(Command::Copy),
    item(Command::Cut),
    item(Command::Paste),
    separator(context_separator),
    item(Command::CloseContextMenu),
    bar_menu(help_menu, u"ヘルプ(&H)"),
    item(Command::Help),
    item(Command::About),
};

const Command kToolbar[] = {
    Command::NewSheet,      Command::ReadInNewSheet, Command::SaveSheet,  Command::Print,
    Command::Cut,           Command::Copy,           Command::Paste,      Command::InsertColumns,
    Command::InsertRows,    Command::DeleteColumns,  Command::DeleteRows, Command::DeleteContents,
};

}  // namespace

namespace commands {

const CommandInfo &info(Command id)
{
    const auto index = std::size_t(id);
    Q_ASSERT(index < std::size(kCommands));
    Q_ASSERT(kCommands[index].id == id);
    return kCommands[index];
}

std::span<const CommandInfo> all()
{
    return kCommands;
}

std::span<const MenuEntry> menu_tree()
{
    return kMenuTree;
}

std::span<const Command> toolbar()
{
    return kToolbar;
}

bool is_enabled(Command id, const CommandState &state)
{
    switch (info(id).availability) {
    case Availability::Always:
        return true;
    case Availability::WithSheet:
        return state.sheet_open;
    case Availability::WithUndoStep:
        return state.sheet_open && state.can_undo;
    case Availability::WithRedoStep:
        return state.sheet_open && state.can_redo;
    }
    Q_UNREACHABLE();
}

}  // namespace commands

#include "sheet/structurecommands.h"

#include "common/prompter.h"
#include "common/twips.h"
#include "sheet.h"
#include "sheet/celleditor.h"
#include "common/sheethost.h"
#include "structure.h"
#include "structure/countdialog.h"

#include <QWidget>

using namespace Qt::StringLiterals;

StructureCommands::StructureCommands(QWidget *window, Sheet *sheet, CellEditor *editor,
                                     SheetHost &host)
    : QObject(window), window_(window), sheet_(sheet), editor_(editor), host_(host)
{
}

bool StructureCommands::single_cell() const
{
    return sheet_->sel_row() == sheet_->row() && sheet_->sel_col() == sheet_->col();
}

void StructureCommands::ask_count(const QString &caption, const QString &prompt,
                                  void (StructureCommands::*act)(int, int), bool rows)
{
    host_.count_dialog().ask(window_, caption, prompt, [this, act, rows](int n) {
        (this->*act)(rows ? sheet_->row() : sheet_->col(), n);
    });
}

void StructureCommands::insert_columns()
{
    host_.count_dialog().put_away();
    if (single_cell())
        ask_count(u"列を挿入"_s, u"挿入する列数．．．"_s, &StructureCommands::insert_columns, false);
    else
        insert_columns(sheet_->left_selected_col(),
                    sheet_->right_selected_col() - sheet_->left_selected_col() + 1);
}

void StructureCommands::delete_columns()
{
    host_.count_dialog().put_away();
    if (single_cell())
        ask_count(u"列を削除"_s, u"削除する列数"_s, &StructureCommands::delete_columns, false);
    else
        delete_columns(sheet_->left_selected_col(),
                 sheet_->right_selected_col() - sheet_->left_selected_col() + 1);
}

void StructureCommands::insert_rows()
{
    host_.count_dialog().put_away();
    if (single_cell())
        ask_count(u"行を挿入"_s, u"挿入する行数．．．"_s, &StructureCommands::insert_rows, true);
    else
        insert_rows(sheet_->top_selected_row(),
                    sheet_->bottom_selected_row() - sheet_->top_selected_row() + 1);
}

void StructureCommands::delete_rows()
{
    host_.count_dialog().put_away();
    if (single_cell())
        ask_count(u"行を削除"_s, u"削除する行数"_s, &StructureCommands::delete_rows, true);
    else
        delete_rows(sheet_->top_selected_row(),
                 sheet_->bottom_selected_row() - sheet_->top_selected_row() + 1);
}

void StructureCommands::insert_columns(int col, int count)
{
    finish(structure::insert_columns(*sheet_, col, count, twips::unit_width(window_->font())));
}

void StructureCommands::delete_columns(int col, int count)
{
    const int selected = sheet_->right_selected_col() - sheet_->left_selected_col() + 1;
    finish(structure::delete_columns(*sheet_, col, count, selected));
}

void StructureCommands::insert_rows(int row, int count)
{
    finish(structure::insert_rows(*sheet_, row, count));
}

void StructureCommands::delete_rows(int row, int count)
{
    finish(structure::delete_rows(*sheet_, row, count));
}

void StructureCommands::finish(const structure::Result &result)
{
    if (!result.refusal.isEmpty()) {
        host_.prompter().message(window_, result.refusal);
        return;
    }
    // The editor never keeps the text of a cell that moved away under it.
    editor_->return_to_current_cell();
}

#include "sheet/clipboardcommands.h"

#include "cliptext.h"
#include "common/prompter.h"
#include "common/twips.h"
#include "sheet.h"
#include "sheet/celleditor.h"
#include "sheet/inputpanels.h"
#include "sheet/sheetgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QWidget>

using namespace Qt::StringLiterals;

ClipboardCommands::ClipboardCommands(QWidget *window, Sheet *sheet, SheetGrid *grid,
                                     CellEditor *editor, InputPanels *inputs, Prompter &prompter)
    : QObject(window), window_(window), sheet_(sheet), grid_(grid), editor_(editor),
      inputs_(inputs), prompter_(prompter)
{
}

void ClipboardCommands::copy()
{
    editor_->set_system_text_pending(false);
    QGuiApplication::clipboard()->setText(cliptext::copy_text(*sheet_));
}

void ClipboardCommands::cut()
{
    QGuiApplication::clipboard()->setText(cliptext::cut(*sheet_));
    // As return_to_current_cell, but a cell out of view keeps the editor hidden.
    inputs_->set_position_display(sheet_->row(), sheet_->col(), true);
    editor_->reload();
    if (grid_->row_visible(sheet_->row()) && grid_->col_visible(sheet_->col())) {
        editor_->show_editor();
        editor_->setFocus();
    }
}

void ClipboardCommands::paste()
{
    const QString caption = window_->windowTitle();
    window_->setCursor(Qt::WaitCursor);
    grid_->set_pointer(SheetGrid::Pointer::Wait);
    // The caption counts the lines; the window stays responsive but takes no
    // input until the block is in.
    const auto progress = [this, &caption](int lines) {
        if (lines % 20 != 1)
            return;
        window_->setWindowTitle(caption + u"      ("_s + QString::number(lines) + u"件追加)"_s);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    const cliptext::PasteResult done = cliptext::paste(
        *sheet_, QGuiApplication::clipboard()->text(), twips::unit_width(window_->font()), progress);
    window_->setWindowTitle(caption);
    window_->unsetCursor();
    grid_->set_pointer(SheetGrid::Pointer::Default);
    if (!done.refusal.isEmpty())
        prompter_.message(window_, done.refusal);
    // Loaded as the system: fixed-length entry does not move on. The block's
    // corner became current, but the display only comes back into the grid.
    editor_->reload();
    inputs_->clamp_position_display();
}

void ClipboardCommands::delete_contents()
{
    cliptext::delete_contents(*sheet_);
    // The current cell may be among those cleared.
    editor_->reload();
}

void ClipboardCommands::select_all()
{
    cliptext::select_all(*sheet_);
    // The cursor went to the title row; the display keeps the cell it named.
    editor_->reload();
    inputs_->clamp_position_display();
}

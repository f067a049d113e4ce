#include "sheet/filecommands.h"

#include "common/prompter.h"
#include "common/twips.h"
#include "sheet.h"
#include "sheet/celleditor.h"
#include "sheet/inputpanels.h"
#include "sheetfile.h"

#include <QFile>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

bool file_exists(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

QString unencodable_question(const sheetfile::Unencodable &found)
{
    const QString where =
        found.row == -2 ? u"観点 %1 の名前"_s.arg(found.col)
        : found.row < 0
            ? (found.col == 1 ? u"評価基準「２の上限点数」"_s : u"評価基準「10の下限点数」"_s)
            : QString::number(found.row) + u" 行 "_s + QString::number(found.col) + u" 列"_s;
    return where + u"の文字「"_s + found.character +
           u"」はファイルに保存できません。\r\n保存できない文字を「"_s + found.replacement +
           u"」に置き換えて保存しますか？"_s;
}

}  // namespace

FileCommands::FileCommands(QWidget *window, Sheet *sheet, CellEditor *editor,
                           InputPanels *inputs, Prompter &prompter)
    : QObject(window), window_(window), sheet_(sheet), editor_(editor), inputs_(inputs),
      prompter_(prompter)
{
}

QStringList FileCommands::file_filters()
{
    return {u"ｶﾝﾏ区切りﾌｧｲﾙ (*.csv)"_s, u"全てのﾌｧｲﾙ (*)"_s};
}

FileCommands::SaveOutcome FileCommands::save_sheet()
{
    if (!sheet_->has_content() &&
        prompter_.ask(window_, u"なにも入力していませんが、保存しますか？"_s,
                      Prompter::Buttons::YesNo, u"確認"_s, Prompter::Answer::No) !=
            Prompter::Answer::Yes)
        return SaveOutcome::Cancelled;

    SaveOutcome outcome = SaveOutcome::Cancelled;
    QString path;
    for (;;) {
        const std::optional<QString> chosen =
            prompter_.save_file(window_, file_filters(), sheet_->sheet_name());
        editor_->hide_editor();
        editor_->set_system_text_pending(false);
        if (!chosen) {
            sheet_->set_sheet_name(QString());
            break;
        }
        if (!file_exists(*chosen) ||
            prompter_.ask(window_, *chosen + u" はすでに存在します。上書きしますか？"_s,
                          Prompter::Buttons::YesNo, u"確認"_s, Prompter::Answer::No) ==
                Prompter::Answer::Yes) {
            path = *chosen;
            break;
        }
    }

    if (!path.isEmpty())
        outcome = write_to(path);

    editor_->show_editor();
    editor_->set_system_text_pending(true);
    editor_->setFocus();
    return outcome;
}

FileCommands::SaveOutcome FileCommands::write_to(const QString &path)
{
    // Characters the file cannot hold are never dropped without asking.
    const std::optional<sheetfile::Unencodable> lost = sheetfile::find_unencodable(*sheet_);
    if (lost && prompter_.ask(window_, unencodable_question(*lost), Prompter::Buttons::YesNo,
                              u"確認"_s, Prompter::Answer::No) != Prompter::Answer::Yes)
        return SaveOutcome::Cancelled;
    const sheetfile::WriteResult written = sheetfile::write_file(path, sheetfile::encode(*sheet_));
    if (!written.ok) {
        prompter_.message(window_, path + u" に保存できませんでした。\r\n"_s + written.error);
        return SaveOutcome::Failed;
    }
    sheet_->set_sheet_name(path);
    // Whatever route the save took, the closing question must not ask again
    // about what is now in the file.
    sheet_->mark_saved();
    emit saved_to(path);
    return SaveOutcome::Saved;
}

FileCommands::SaveOutcome FileCommands::save_in_place()
{
    const QString path = sheet_->sheet_name();
    if (path.isEmpty() || path == Sheet::untitled_name())
        return save_sheet();
    // The editor keeps its cell and the focus: nothing else opens.
    return write_to(path);
}

void FileCommands::sheet_write()
{
    save_sheet();
}

void FileCommands::read_sheet()
{
    if (sheet_->has_content()) {
        emit read_elsewhere_requested();
        return;
    }
    const std::optional<QString> chosen = prompter_.open_file(window_, file_filters());
    editor_->hide_editor();
    editor_->set_system_text_pending(false);
    if (!chosen || (open_copy_check_ && open_copy_check_(*chosen))) {
        window_->unsetCursor();
        emit close_requested();
        return;
    }

    read_path(*chosen);
}

void FileCommands::read_path(const QString &path)
{
    editor_->hide_editor();
    editor_->set_system_text_pending(false);
    window_->setCursor(Qt::WaitCursor);
    // Either the history is cleared after (loaded) or the window closes.
    const sheetfile::ReadResult result = [&] {
        const Sheet::Unrecorded unrecorded(*sheet_);
        return sheetfile::read_file(path, *sheet_, twips::unit_width(window_->font()));
    }();
    if (result.outcome == sheetfile::ReadOutcome::Foreign ||
        result.outcome == sheetfile::ReadOutcome::Refused) {
        window_->unsetCursor();
        prompter_.message(window_, result.outcome == sheetfile::ReadOutcome::Foreign
                                       ? path + u"\r\n"_s + sheetfile::foreign_file_message()
                                       : path + u" を読み込めませんでした。\r\n"_s + result.reason);
        emit close_requested();
        return;
    }

    show_read(path);
    window_->unsetCursor();
    if (result.outcome == sheetfile::ReadOutcome::Incomplete)
        prompter_.message(window_, path + u" を最後まで読み込めませんでした。\r\n"_s + result.reason);
}

void FileCommands::restore(const QByteArray &sheet_file, const QString &sheet_name)
{
    {
        const Sheet::Unrecorded unrecorded(*sheet_);  // the history is cleared after
        sheetfile::read_bytes(sheet_file, *sheet_, twips::unit_width(window_->font()));
    }
    const bool named = !sheet_name.isEmpty() && sheet_name != Sheet::untitled_name();
    if (named)
        sheet_->set_sheet_name(sheet_name);
    show_read(named ? sheet_name : QString());
}

void FileCommands::show_read(const QString &path)
{
    // The row display reads "1" as written, its column stays: not the form a
    // cursor move shows, so pushed here.
    inputs_->show_row(u"1"_s);
    sheet_->set_current_cell(1, 1);
    editor_->load_editor(sheet_->text(1, 1));
    editor_->show_editor();
    editor_->put_editor();
    editor_->setFocus();
    if (!path.isEmpty())
        emit read_done(path);
    emit loaded();
}

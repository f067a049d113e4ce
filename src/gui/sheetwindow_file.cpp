// Saving and reading sheet files from a sheet window.
#include "sheetwindow.h"

#include "evaluationpanel.h"
#include "mainwindow.h"
#include "numbers.h"
#include "prompter.h"
#include "scorepanel.h"
#include "sheet.h"
#include "sheetfile.h"
#include "sheetgrid.h"
#include "sheetmenus.h"
#include "twips.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

QStringList SheetWindow::file_filters()
{
    return {u"ｶﾝﾏ区切りﾌｧｲﾙ (*.csv)"_s, u"全てのﾌｧｲﾙ (*)"_s};
}

double SheetWindow::unit_width() const
{
    return twips::unit_width(font());
}

void SheetWindow::hide_editor()
{
    text1_->hide();
    text1_->setEnabled(false);
}

void SheetWindow::show_editor()
{
    text1_->setEnabled(true);
    text1_->show();
}

namespace {

bool file_exists(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

QString unencodable_question(const sheetfile::Unencodable &found)
{
    const QString where =
        found.row < 0
            ? (found.col == 1 ? u"評価基準「２の上限点数」"_s : u"評価基準「10の下限点数」"_s)
            : QString::number(found.row) + u" 行 "_s + QString::number(found.col) + u" 列"_s;
    return where + u"の文字「"_s + found.character +
           u"」はファイルに保存できません。\r\n保存できない文字を「?」に置き換えて保存しますか？"_s;
}

}  // namespace

void SheetWindow::save_sheet()
{
    Prompter &prompter = main_->prompter();
    save_cancel_flg = false;
    if (!sheet_->content_flg() &&
        prompter.ask(this, u"なにも入力していませんが、保存しますか？"_s, Prompter::Buttons::YesNo,
                     u"確認"_s) != Prompter::Answer::Yes)
        return;

    QString path;
    for (;;) {
        const std::optional<QString> chosen = prompter.save_file(this, file_filters(), sheet_->sheet_name());
        hide_editor();
        auto_text_flg = false;
        if (!chosen) {
            save_cancel_flg = true;
            sheet_->set_sheet_name(QString());
            break;
        }
        if (!file_exists(*chosen) ||
            prompter.ask(this, *chosen + u" はすでに存在します。上書きしますか？"_s,
                         Prompter::Buttons::YesNo, u"確認"_s) == Prompter::Answer::Yes) {
            path = *chosen;
            break;
        }
    }

    if (!path.isEmpty()) {
        // Characters the file cannot hold are never dropped without asking.
        const std::optional<sheetfile::Unencodable> lost = sheetfile::find_unencodable(*sheet_);
        if (lost && prompter.ask(this, unencodable_question(*lost), Prompter::Buttons::YesNo,
                                 u"確認"_s) != Prompter::Answer::Yes) {
            save_cancel_flg = true;
        } else {
            const sheetfile::WriteResult written =
                sheetfile::write_file(path, sheetfile::encode(*sheet_));
            if (written.ok) {
                sheet_->set_sheet_name(path);
            } else {
                prompter.message(this, path + u" に保存できませんでした。\r\n"_s + written.error);
                // Nothing was saved: callers must not close or mark the sheet
                // saved, exactly as after a cancelled dialog.
                save_cancel_flg = true;
            }
        }
    }

    show_editor();
    auto_text_flg = true;
    text1_->setFocus();
}

void SheetWindow::file_menu_save()
{
    save_sheet();
    if (!save_cancel_flg)
        sheet_->mark_saved();
}

void SheetWindow::read_sheet()
{
    if (sheet_->content_flg()) {
        main_->create_sheet_and_load();
        return;
    }
    Prompter &prompter = main_->prompter();
    const std::optional<QString> chosen = prompter.open_file(this, file_filters());
    hide_editor();
    auto_text_flg = false;
    if (!chosen) {
        no_prompt_flg = true;
        unsetCursor();
        close_window();
        return;
    }

    const QString path = *chosen;
    setCursor(Qt::WaitCursor);
    const sheetfile::ReadResult result = sheetfile::read_file(path, *sheet_, unit_width());
    if (result.outcome == sheetfile::ReadOutcome::Foreign) {
        unsetCursor();
        prompter.message(this, sheetfile::foreign_file_message());
        no_prompt_flg = true;
        close_window();
        return;
    }

    menus_->action(u"mnu_culc"_s)->setEnabled(true);
    frame4_->show();
    frame6_->refresh_criteria();
    label5_->setText(u"1"_s);
    sheet_->set_current_cell(1, 1);
    load_editor(sheet_->text(1, 1));
    show_editor();
    put_editor();
    text1_->setFocus();
    setWindowTitle(windowTitle() + u"  "_s + path);
    unsetCursor();
    if (result.outcome == sheetfile::ReadOutcome::Incomplete)
        prompter.message(this, path + u" を最後まで読み込めませんでした。\r\n"_s + result.reason);
}

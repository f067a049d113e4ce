#include "app/recoverykeeper.h"

#include "app/sheetframe.h"
#include "common/prompter.h"
#include "sheet.h"
#include "history.h"
#include "sheet/filecommands.h"
#include "sheet/undocommands.h"
#include "sheet/sheetwindow.h"
#include "sheetfile.h"

#include <QFile>

using namespace Qt::StringLiterals;

RecoveryKeeper::RecoveryKeeper(SheetFrame &frame, QWidget *window, const QString &folder,
                               std::chrono::milliseconds interval)
    : QObject(window), frame_(frame), window_(window), store_(folder)
{
    timer_.setInterval(interval);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::keep_all);
    timer_.start();
}

void RecoveryKeeper::watch(SheetWindow *sheet)
{
    const int id = next_id_++;
    ids_.insert(sheet, id);
    connect(sheet, &SheetWindow::evaluated, this, [this, sheet] { keep(sheet); });
    // The minute's copy is written only when something changed since the last.
    connect(sheet->undo_commands()->history(), &SheetHistory::changed, this,
            [this, sheet] { changed_.insert(sheet); });
    // Saved, the copy is of no more use.
    connect(sheet->sheet(), &Sheet::document_changed, this, [this, sheet, id] {
        if (sheet->sheet()->is_saved())
            store_.forget(id);
    });
    // Closed on purpose: the teacher answered the save question.
    connect(sheet, &SheetWindow::closed, this, [this, id](SheetWindow *closed) {
        store_.forget(id);
        ids_.remove(closed);
        changed_.remove(closed);
    });
}

void RecoveryKeeper::keep_all()
{
    for (SheetWindow *sheet : frame_.sheets())
        if (changed_.contains(sheet))
            keep(sheet);
}

void RecoveryKeeper::keep_before_exit()
{
    timer_.stop();
    keep_all();
    store_.release();
}

void RecoveryKeeper::keep(SheetWindow *sheet)
{
    const auto id = ids_.constFind(sheet);
    if (id == ids_.constEnd())
        return;
    changed_.remove(sheet);
    const Sheet &data = *sheet->sheet();
    if (data.is_saved() || !data.has_content()) {
        store_.forget(*id);
        return;
    }
    store_.keep(*id, sheetfile::encode(data), sheet->windowTitle(), data.sheet_name());
}

void RecoveryKeeper::offer()
{
    Prompter &prompter = frame_.prompter();
    for (const RecoveryStore::Entry &entry : store_.orphans()) {
        QFile file(entry.sheet_path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        file.close();
        const QString text = u"保存されないまま終わったシート「"_s + entry.caption +
                             u"」があります。\n「いいえ」を選ぶと、この内容は削除されます。\n\n"
                             u"このシートを復元しますか？"_s;
        if (prompter.ask(window_, text, Prompter::Buttons::YesNo) != Prompter::Answer::Yes) {
            RecoveryStore::discard(entry);
            continue;
        }
        // The empty sheet of a fresh start takes the first copy.
        SheetWindow *sheet = frame_.empty_start_sheet();
        if (!sheet)
            sheet = frame_.create_sheet();
        if (!sheet)
            return;  // twenty sheets open: the rest wait for the next start
        sheet->file_commands()->restore(bytes, entry.sheet_name);
        RecoveryStore::discard(entry);
        // Kept again at once under this run, so a second crash loses nothing.
        keep(sheet);
    }
}

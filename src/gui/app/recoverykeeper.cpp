#include "app/recoverykeeper.h"

#include "app/mainwindow.h"
#include "common/prompter.h"
#include "sheet.h"
#include "sheet/filecommands.h"
#include "sheet/sheetwindow.h"
#include "sheetfile.h"

#include <QFile>

using namespace Qt::StringLiterals;

RecoveryKeeper::RecoveryKeeper(MainWindow *frame, const QString &folder)
    : QObject(frame), frame_(frame), store_(folder)
{
    timer_.setInterval(60 * 1000);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::keep_all);
    timer_.start();
}

void RecoveryKeeper::watch(SheetWindow *sheet)
{
    const int id = next_id_++;
    ids_.insert(sheet, id);
    connect(sheet, &SheetWindow::evaluated, this, [this, sheet] { keep(sheet); });
    // Saved, the copy is of no more use.
    connect(sheet->sheet(), &Sheet::document_changed, this, [this, sheet, id] {
        if (sheet->sheet()->saved_flg())
            store_.forget(id);
    });
    // Closed on purpose: the teacher answered the save question.
    connect(sheet, &SheetWindow::closed, this, [this, id](SheetWindow *closed) {
        store_.forget(id);
        ids_.remove(closed);
    });
}

void RecoveryKeeper::keep_all()
{
    for (SheetWindow *sheet : frame_->sheets())
        keep(sheet);
}

void RecoveryKeeper::keep(SheetWindow *sheet)
{
    const auto id = ids_.constFind(sheet);
    if (id == ids_.constEnd())
        return;
    const Sheet &data = *sheet->sheet();
    if (data.saved_flg() || !data.content_flg()) {
        store_.forget(*id);
        return;
    }
    store_.keep(*id, sheetfile::encode(data), sheet->windowTitle(), data.sheet_name());
}

SheetWindow *RecoveryKeeper::window_for_restore()
{
    // The empty sheet of a fresh start takes the first copy.
    const QList<SheetWindow *> open = frame_->sheets();
    if (open.size() == 1 && !open.first()->sheet()->content_flg())
        return open.first();
    return frame_->create_sheet();
}

void RecoveryKeeper::offer()
{
    Prompter &prompter = frame_->prompter();
    for (const RecoveryStore::Entry &entry : store_.orphans()) {
        QFile file(entry.sheet_path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        file.close();
        const QString text = u"保存されないまま終わったシート「"_s + entry.caption +
                             u"」があります。\n「いいえ」を選ぶと、この内容は削除されます。\n\n"
                             u"このシートを復元しますか？"_s;
        if (prompter.ask(frame_, text, Prompter::Buttons::YesNo) != Prompter::Answer::Yes) {
            RecoveryStore::discard(entry);
            continue;
        }
        SheetWindow *sheet = window_for_restore();
        if (!sheet)
            return;  // twenty sheets open: the rest wait for the next start
        sheet->file_commands()->restore(bytes, entry.sheet_name);
        RecoveryStore::discard(entry);
        // Kept again at once under this run, so a second crash loses nothing.
        keep(sheet);
    }
}

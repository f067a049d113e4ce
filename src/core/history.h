#pragma once

#include "sheetchange.h"

#include <QList>
#include <QObject>
#include <QString>
#include <array>
#include <optional>

// Undo and redo of one sheet. Every change the sheet's mutators make is
// recorded into the open step; a step is one thing the teacher did, named for
// the menu ("貼り付け"). Typing into one cell is one step however many
// characters it takes. Memory is bounded: the oldest steps go first.
class SheetHistory : public QObject, public SheetRecorder
{
    Q_OBJECT

public:
    explicit SheetHistory(Sheet &sheet, QObject *parent = nullptr);
    ~SheetHistory() override;

    void record(SheetChange &&change) override;
    // Names the step in progress; the first command's name wins over the
    // name its first change would give.
    void name_step(const QString &name);
    // Ends the step in progress; with auto_close, this happens by itself
    // once control is back in the event loop.
    void close_step();
    void set_auto_close(bool on) { auto_close_ = on; }
    // While held, the step stays open even through nested event loops (a
    // progress display, a question): one command, one step.
    void hold() { ++held_; }
    void release();

    bool can_undo() const;
    bool can_redo() const { return !undone_.isEmpty(); }
    QString undo_name() const;
    QString redo_name() const;
    // Undo puts the cursor and selection on what changed; redo puts them
    // where the step left them (after a fixed-length mark, on the next row),
    // or on what changed when that was the titles or the row numbers.
    void undo();
    void redo();
    // A fresh start (a file was read): nothing to undo.
    void clear();

    void set_memory_limit(qsizetype bytes);
    qsizetype memory() const { return memory_; }
    int steps() const { return int(done_.size()); }

signals:
    void changed();

private:
    struct Step {
        QString name;
        QList<SheetChange> changes;
        qsizetype bytes = 0;
        bool named = false;  // by a command, not after its first change
        // The cursor moved between the change before and this step's first.
        bool moved_before = true;
        // The cursor and selection end as the step left them.
        std::array<int, 4> cursor_after{};
    };
    Step replay(Step &&step);
    void show_changed(const Step &step);
    void push(Step &&step);
    void trim();
    bool merges_into_last(const Step &step) const;
    void merge_into_last(Step &&step);
    void schedule_close();

    Sheet &sheet_;
    std::optional<Step> open_;
    QList<Step> done_;
    QList<Step> undone_;
    qsizetype memory_ = 0;
    qsizetype limit_ = 50 * 1024 * 1024;
    // done_.size() when the sheet was last saved; -1 when no undo or redo
    // can bring that state back.
    qsizetype saved_at_ = 0;
    bool auto_close_ = false;
    bool close_pending_ = false;
    int held_ = 0;
    bool replaying_ = false;
    bool moved_since_change_ = true;
    bool sheet_gone_ = false;
};

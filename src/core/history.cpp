#include "history.h"

#include <QTimer>

#include <climits>

using namespace Qt::StringLiterals;

namespace {

QString default_name(const SheetChange &change)
{
    using Kind = SheetChange::Kind;
    switch (change.kind) {
    case Kind::Cells:
        return u"入力"_s;
    case Kind::Rows:
        return change.inserted ? u"行の挿入"_s : u"行の削除"_s;
    case Kind::Columns:
        return change.inserted ? u"列の挿入"_s : u"列の削除"_s;
    case Kind::Widths:
        return u"列の幅"_s;
    case Kind::Settings:
        return u"最高・重み"_s;
    case Kind::Document:
        return u"評価基準"_s;
    case Kind::Whole:
        return u"シート"_s;
    }
    return QString();
}

}  // namespace

SheetHistory::SheetHistory(Sheet &sheet, QObject *parent) : QObject(parent), sheet_(sheet)
{
    sheet_.set_recorder(this);
    // A sheet may go first when both belong to one window.
    connect(&sheet_, &QObject::destroyed, this, [this] { sheet_gone_ = true; });
    saved_at_ = sheet_.is_saved() ? 0 : -1;
    connect(&sheet_, &Sheet::document_changed, this, [this] {
        // A save: this is the state the closing question need not ask about.
        if (sheet_.is_saved() && !replaying_) {
            close_step();
            saved_at_ = done_.size();
        }
    });
    connect(&sheet_, &Sheet::current_cell_changed, this, [this] { moved_since_change_ = true; });
}

SheetHistory::~SheetHistory()
{
    if (!sheet_gone_)
        sheet_.set_recorder(nullptr);
}

void SheetHistory::record(SheetChange &&change)
{
    if (!open_) {
        open_ = Step{default_name(change), {}, 0, false};
        schedule_close();
    }
    if (open_->changes.isEmpty())
        open_->moved_before = moved_since_change_;
    moved_since_change_ = false;
    open_->bytes += change.bytes();
    open_->changes.append(std::move(change));
}

void SheetHistory::schedule_close()
{
    if (!auto_close_ || close_pending_)
        return;
    close_pending_ = true;
    QTimer::singleShot(0, this, [this] {
        close_pending_ = false;
        if (held_ == 0)
            close_step();
    });
}

void SheetHistory::release()
{
    if (held_ > 0 && --held_ == 0)
        schedule_close();
}

void SheetHistory::name_step(const QString &name)
{
    schedule_close();
    if (!open_)
        open_ = Step{name, {}, 0, true};
    else if (!open_->named)
        open_ = Step{name, std::move(open_->changes), open_->bytes, true};
}

void SheetHistory::close_step()
{
    if (!open_)
        return;
    Step step = std::move(*open_);
    open_.reset();
    if (step.changes.isEmpty())
        return;
    step.cursor_after = {sheet_.row(), sheet_.col(), sheet_.sel_row(), sheet_.sel_col()};
    // Changes after an undo make the undone steps unreachable.
    undone_.clear();
    if (saved_at_ > done_.size())
        saved_at_ = -1;
    if (merges_into_last(step))
        merge_into_last(std::move(step));
    else
        push(std::move(step));
    emit changed();
}

// Typing into one cell, a character at a time, stays one step until the
// cursor moves; fixed-length entry's move to the next row, made by the key
// that completes the mark, ends the step without splitting it.
bool SheetHistory::merges_into_last(const Step &step) const
{
    if (done_.isEmpty() || step.moved_before)
        return false;
    const Step &last = done_.last();
    if (last.changes.size() != 1 || last.name != u"入力"_s || step.name != u"入力"_s)
        return false;
    const SheetChange &a = last.changes.first();
    const SheetChange &b = step.changes.first();
    return a.kind == SheetChange::Kind::Cells && b.kind == SheetChange::Kind::Cells &&
           a.at == b.at && a.col == b.col && a.cells.first().size() == 1 &&
           b.cells.first().size() == 1 && saved_at_ != done_.size();
}

void SheetHistory::merge_into_last(Step &&step)
{
    // The older step already holds what the cell held before typing; what
    // came after this step's first change (a row the move added) joins it.
    Step &last = done_.last();
    last.cursor_after = step.cursor_after;
    for (qsizetype i = 1; i < step.changes.size(); ++i) {
        const qsizetype bytes = step.changes[i].bytes();
        last.bytes += bytes;
        memory_ += bytes;
        last.changes.append(std::move(step.changes[i]));
    }
    trim();
}

void SheetHistory::push(Step &&step)
{
    memory_ += step.bytes;
    done_.append(std::move(step));
    trim();
}

void SheetHistory::trim()
{
    // The oldest steps go first; the newest one always stays.
    while (memory_ > limit_ && done_.size() > 1) {
        memory_ -= done_.first().bytes;
        done_.removeFirst();
        saved_at_ = saved_at_ > 0 ? saved_at_ - 1 : -1;
    }
}

bool SheetHistory::can_undo() const
{
    return !done_.isEmpty() || (open_ && !open_->changes.isEmpty());
}

QString SheetHistory::undo_name() const
{
    if (open_ && !open_->changes.isEmpty())
        return open_->name;
    return done_.isEmpty() ? QString() : done_.last().name;
}

QString SheetHistory::redo_name() const
{
    return undone_.isEmpty() ? QString() : undone_.last().name;
}

SheetHistory::Step SheetHistory::replay(Step &&step)
{
    replaying_ = true;
    Step back{step.name, {}, 0, true, true, step.cursor_after};
    for (qsizetype i = step.changes.size() - 1; i >= 0; --i) {
        SheetChange opposite = sheet_.revert(std::move(step.changes[i]));
        back.bytes += opposite.bytes();
        back.changes.append(std::move(opposite));
    }
    replaying_ = false;
    return back;
}

void SheetHistory::undo()
{
    close_step();
    if (done_.isEmpty())
        return;
    Step step = done_.takeLast();
    memory_ -= step.bytes;
    undone_.append(replay(std::move(step)));
    show_changed(undone_.last());
    if (saved_at_ == done_.size())
        sheet_.mark_saved();
    moved_since_change_ = true;
    emit changed();
}

void SheetHistory::redo()
{
    close_step();
    if (undone_.isEmpty())
        return;
    Step step = replay(undone_.takeLast());
    const auto [row, col, sel_row, sel_col] = step.cursor_after;
    if (row >= 1 && col >= 1 && sel_row >= 1 && sel_col >= 1) {
        sheet_.set_current_cell(row, col);
        sheet_.set_selection_end(sel_row, sel_col);
    } else {
        show_changed(step);
    }
    push(std::move(step));
    if (saved_at_ == done_.size())
        sheet_.mark_saved();
    moved_since_change_ = true;
    emit changed();
}

void SheetHistory::clear()
{
    open_.reset();
    done_.clear();
    undone_.clear();
    memory_ = 0;
    saved_at_ = sheet_.is_saved() ? 0 : -1;
    emit changed();
}

void SheetHistory::set_memory_limit(qsizetype bytes)
{
    limit_ = bytes;
    trim();
}

// The cursor goes to the first cell the step changed, the selection over
// all of them; never onto the titles or the row numbers, where typing
// would change what is no mark.
void SheetHistory::show_changed(const Step &step)
{
    using Kind = SheetChange::Kind;
    int top = INT_MAX, left = INT_MAX, bottom = -1, right = -1;
    auto take = [&](int r1, int c1, int r2, int c2) {
        top = qMin(top, r1);
        left = qMin(left, c1);
        bottom = qMax(bottom, r2);
        right = qMax(right, c2);
    };
    for (const SheetChange &change : step.changes) {
        switch (change.kind) {
        case Kind::Cells: {
            // Row numbers follow every row change, which is shown by itself.
            const int last =
                change.col + int(qMax<qsizetype>(change.cells.first().size(), 1)) - 1;
            if (last >= 1)
                take(change.at, qMax(change.col, 1), change.at, last);
            break;
        }
        case Kind::Rows:
            take(change.at, 1, change.at + qMax(change.count, 1) - 1, 1);
            // Rows leaving with texts, as a paste's new rows on undo: their
            // cells came in unrecorded, and the selection still covers them.
            for (const QList<Sheet::Cell> &line : change.cells)
                for (qsizetype c = line.size() - 1; c > right; --c)
                    if (!line[c].text.isEmpty())
                        right = int(c);
            break;
        case Kind::Columns:
            take(1, change.at, 1, change.at + qMax(change.count, 1) - 1);
            break;
        case Kind::Settings:
            take(1, Sheet::column_of_slot(change.at), 1, Sheet::column_of_slot(change.at));
            break;
        default:
            break;
        }
    }
    if (bottom < 0)
        return;
    sheet_.set_current_cell(qMax(top, 1), qMax(left, 1));
    sheet_.set_selection_end(qMax(bottom, 1), qMax(right, 1));
}

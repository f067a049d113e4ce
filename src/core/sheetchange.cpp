#include "sheetchange.h"

#include <algorithm>
#include <utility>

// Undo: what each change replaced, and putting it back.

void Sheet::record(SheetChange &&change)
{
    if (recorder_)
        recorder_->record(std::move(change));
}

void Sheet::record_cells(int row, int first_col, int count)
{
    if (!recorder_)
        return;
    SheetChange change;
    change.kind = SheetChange::Kind::Cells;
    change.at = row;
    change.col = first_col;
    change.cells = {cells_[row].mid(first_col, count)};
    record(std::move(change));
}

// Rows at..at+count-1 about to be inserted, or removed (their cells kept).
void Sheet::record_rows(int at, int count, bool inserted, const QVariant &kept)
{
    if (!recorder_)
        return;
    SheetChange change;
    change.kind = SheetChange::Kind::Rows;
    change.at = at;
    change.count = count;
    change.inserted = inserted;
    change.kept = kept;
    if (!inserted)
        change.cells = cells_.mid(at, count);
    record(std::move(change));
}

// Columns about to be inserted or removed; moves_settings when the settings
// slots move with them.
void Sheet::record_columns(int at, int count, bool inserted, bool moves_settings)
{
    if (!recorder_)
        return;
    SheetChange change;
    change.kind = SheetChange::Kind::Columns;
    change.at = at;
    change.count = count;
    change.inserted = inserted;
    change.moves_settings = moves_settings;
    change.result_cols = result_cols_;
    if (!inserted) {
        for (const auto &line : cells_)
            change.cells.append(line.mid(at, count));
        change.widths = widths_.mid(at, count);
    }
    if (moves_settings)
        change.settings = settings_;
    record(std::move(change));
}

void Sheet::record_widths()
{
    if (!recorder_)
        return;
    SheetChange change;
    change.kind = SheetChange::Kind::Widths;
    change.widths = widths_;
    record(std::move(change));
}

void Sheet::record_settings(int k)
{
    if (!recorder_)
        return;
    SheetChange change;
    change.kind = SheetChange::Kind::Settings;
    change.at = k;
    change.settings = {settings_[k]};
    record(std::move(change));
}

void Sheet::record_document()
{
    if (!recorder_)
        return;
    SheetChange change;
    change.kind = SheetChange::Kind::Document;
    change.lower = lower_text_;
    change.upper = upper_text_;
    change.candidate = candidate_index_;
    change.viewpoints = viewpoint_settings_;
    record(std::move(change));
}

void Sheet::record_whole()
{
    if (!recorder_)
        return;
    SheetChange change;
    change.kind = SheetChange::Kind::Whole;
    change.cells = cells_;
    change.widths = widths_;
    change.settings = settings_;
    change.result_cols = result_cols_;
    record(std::move(change));
}

SheetChange Sheet::revert(SheetChange &&change)
{
    using Kind = SheetChange::Kind;
    // Putting back is not a change of its own.
    SheetRecorder *const recorder = std::exchange(recorder_, nullptr);
    SheetChange back;
    back.kind = change.kind;
    back.at = change.at;
    back.col = change.col;
    back.count = change.count;
    back.inserted = !change.inserted;
    back.moves_settings = change.moves_settings;
    switch (change.kind) {
    case Kind::Cells:
        if (signalsBlocked())
            texts_changed_unheard();
        revert_cells(change, back);
        break;
    case Kind::Rows:
        texts_changed_unheard();
        revert_rows(change, back);
        break;
    case Kind::Columns:
        revert_columns(change, back);
        break;
    case Kind::Widths:
        revert_widths(change, back);
        break;
    case Kind::Settings:
        revert_settings(change, back);
        break;
    case Kind::Document:
        revert_document(change, back);
        break;
    case Kind::Whole:
        texts_changed_unheard();
        revert_whole(change, back);
        break;
    }
    mark_unsaved();
    clamp_cursor();
    // Cells, settings and the document sent signals of their own.
    if (change.kind != Kind::Cells && change.kind != Kind::Settings && change.kind != Kind::Document)
        emit shape_changed();
    recorder_ = recorder;
    return back;
}

void Sheet::revert_cells(const SheetChange &change, SheetChange &back)
{
    QList<Cell> &line = cells_[change.at];
    const QList<Cell> &run = change.cells.first();
    back.cells = {line.mid(change.col, run.size())};
    for (qsizetype i = 0; i < run.size(); ++i)
        line[change.col + i] = run[i];
    for (qsizetype i = 0; i < run.size(); ++i)
        emit cell_changed(change.at, change.col + int(i));
}

void Sheet::revert_rows(const SheetChange &change, SheetChange &back)
{
    if (change.inserted) {
        back.cells = cells_.mid(change.at, change.count);
        if (follower_)
            back.kept = follower_->take_rows(change.at, change.count);
        cells_.remove(change.at, change.count);
        emit rows_removed(change.at, change.count);
    } else {
        cells_.insert(change.at, change.cells.size(), QList<Cell>());
        std::copy(change.cells.begin(), change.cells.end(), cells_.begin() + change.at);
        if (follower_)
            follower_->put_rows(change.at, change.count, change.kept);
        emit rows_inserted(change.at, change.count);
    }
}

void Sheet::revert_columns(const SheetChange &change, SheetChange &back)
{
    if (change.inserted) {
        for (auto &line : cells_) {
            back.cells.append(line.mid(change.at, change.count));
            line.remove(change.at, change.count);
        }
        back.widths = widths_.mid(change.at, change.count);
        widths_.remove(change.at, change.count);
        cols_ -= change.count;
        note_column_move(change.at, -change.count);
    } else {
        // Each run goes in at once: one shift of the row, not one per cell.
        for (qsizetype r = 0; r < cells_.size(); ++r) {
            const QList<Cell> run = change.cells.value(r, QList<Cell>(change.count));
            QList<Cell> &line = cells_[r];
            line.insert(change.at, run.size(), Cell{});
            std::copy(run.begin(), run.end(), line.begin() + change.at);
        }
        widths_.insert(change.at, change.widths.size(), 0);
        std::copy(change.widths.begin(), change.widths.end(), widths_.begin() + change.at);
        cols_ += change.count;
        note_column_move(change.at, change.count);
    }
    back.result_cols = std::exchange(result_cols_, change.result_cols);
    if (change.moves_settings) {
        back.settings = settings_;
        settings_ = change.settings;
        for (int k = 1; k < settings_.size(); ++k)
            emit settings_changed(k);
    }
}

void Sheet::revert_widths(const SheetChange &change, SheetChange &back)
{
    back.widths = widths_;
    widths_ = change.widths;
}

void Sheet::revert_settings(const SheetChange &change, SheetChange &back)
{
    if (change.at >= settings_.size())
        settings_.resize(change.at + 1);
    back.settings = {settings_[change.at]};
    settings_[change.at] = change.settings.first();
    emit settings_changed(change.at);
}

void Sheet::revert_document(const SheetChange &change, SheetChange &back)
{
    back.lower = lower_text_;
    back.upper = upper_text_;
    back.candidate = candidate_index_;
    lower_text_ = change.lower;
    upper_text_ = change.upper;
    candidate_index_ = change.candidate;
    if (change.viewpoints) {
        back.viewpoints = viewpoint_settings_;
        viewpoint_settings_ = *change.viewpoints;
    }
    emit document_changed();
}

void Sheet::revert_whole(const SheetChange &change, SheetChange &back)
{
    back.cells = cells_;
    back.widths = widths_;
    back.settings = settings_;
    cells_ = change.cells;
    widths_ = change.widths;
    settings_ = change.settings;
    cols_ = int(widths_.size());
    back.result_cols = std::exchange(result_cols_, change.result_cols);
}

qsizetype SheetChange::bytes() const
{
    qsizetype total = qsizetype(sizeof(SheetChange));
    for (const auto &line : cells)
        for (const Sheet::Cell &cell : line)
            total += qsizetype(sizeof(Sheet::Cell)) + cell.text.size() * 2;
    total += widths.size() * qsizetype(sizeof(int));
    total += settings.size() * qsizetype(sizeof(ScoreSettings));
    return total;
}

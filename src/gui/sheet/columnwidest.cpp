#include "sheet/columnwidest.h"

#include "sheet.h"
#include "sheet/textcache.h"

#include <algorithm>
#include <array>

ColumnWidest::ColumnWidest(const Sheet &sheet, TextCache &texts)
    : sheet_(sheet), texts_(texts), text_revision_(sheet.text_revision()),
      moves_seen_(sheet.column_move_count())
{
}

void ColumnWidest::catch_up()
{
    const auto moves = sheet_.column_moves_since(moves_seen_);
    if (!moves || sheet_.text_revision() != text_revision_) {
        forget_all();
    } else {
        for (const Sheet::ColumnMove &move : *moves) {
            if (move.count > 0)
                insert(move.at, move.count);
            else
                remove(move.at, -move.count);
        }
    }
    text_revision_ = sheet_.text_revision();
    moves_seen_ = sheet_.column_move_count();
    // Rows may have come or gone: where the widest texts stand is not known.
    widest_row_.fill(-1);
}

void ColumnWidest::fit_sheet() const
{
    // What is kept no longer fits the sheet: a change went unheard.
    if (widest_.size() != sheet_.cols()) {
        widest_ = QList<double>(sheet_.cols(), kUnknown);
        widest_row_ = QList<int>(sheet_.cols(), -1);
        text_revision_ = sheet_.text_revision();
        moves_seen_ = sheet_.column_move_count();
    }
}

double ColumnWidest::widest(int col) const
{
    Q_ASSERT(col >= 0 && col < sheet_.cols());
    fit_sheet();
    double &kept = widest_[col];
    if (kept == kUnknown) {
        kept = 0;
        widest_row_[col] = -1;
        for (int r = 1; r < sheet_.rows(); ++r) {
            const QString &text = sheet_.text(r, col);
            if (text.isEmpty())
                continue;
            if (const double width = texts_.number_width(text); width > kept) {
                kept = width;
                widest_row_[col] = r;
            }
        }
    }
    return kept;
}

void ColumnWidest::measure(const QList<int> &cols) const
{
    fit_sheet();
    QList<int> unknown;
    for (const int c : cols) {
        Q_ASSERT(c >= 0 && c < widest_.size());
        if (widest_[c] == kUnknown) {
            unknown.append(c);
            widest_[c] = 0;
            widest_row_[c] = -1;
        }
    }
    if (unknown.isEmpty())
        return;
    // Cells read from a file share one copy of each short text, so within
    // this pass, when nothing can free a text, its address tells its width.
    struct Seen {
        const QChar *text = nullptr;
        double width = 0;
    };
    std::array<Seen, 512> seen{};
    double *widest = widest_.data();
    // Row by row, as the cells lie in memory: a whole sheet read column by
    // column misses the cache at nearly every cell.
    for (int r = 1; r < sheet_.rows(); ++r) {
        for (const int c : std::as_const(unknown)) {
            const QString &text = sheet_.text(r, c);
            if (text.isEmpty())
                continue;
            Seen &slot = seen[(quintptr(text.constData()) >> 4) % seen.size()];
            if (slot.text != text.constData())
                slot = {text.constData(), texts_.number_width(text)};
            if (slot.width > widest[c]) {
                widest[c] = slot.width;
                widest_row_[c] = r;
            }
        }
    }
}

void ColumnWidest::cell_changed(int row, int col)
{
    if (col < 0 || col >= widest_.size() || widest_[col] == kUnknown)
        return;
    const QString &text = sheet_.text(row, col);
    const double width = text.isEmpty() ? 0.0 : texts_.number_width(text);
    if (width > 0 && width >= widest_[col]) {
        widest_[col] = width;
        widest_row_[col] = row;
    } else if (widest_[col] > 0 && (widest_row_[col] < 0 || widest_row_[col] == row)) {
        widest_[col] = kUnknown;  // this cell may have held the widest
    }
}

void ColumnWidest::insert(int at, int count)
{
    if (at < 0 || at > widest_.size())
        return forget_all();
    widest_.insert(at, count, kUnknown);
    widest_row_.insert(at, count, -1);
}

void ColumnWidest::remove(int at, int count)
{
    if (at < 0 || at + count > widest_.size())
        return forget_all();
    widest_.remove(at, count);
    widest_row_.remove(at, count);
}

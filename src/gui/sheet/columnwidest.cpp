#include "sheet/columnwidest.h"

#include "sheet.h"
#include "sheet/textcache.h"

#include <algorithm>

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
}

double ColumnWidest::widest(int col) const
{
    Q_ASSERT(col >= 0 && col < sheet_.cols());
    // What is kept no longer fits the sheet: a change went unheard.
    if (widest_.size() != sheet_.cols()) {
        widest_ = QList<double>(sheet_.cols(), kUnknown);
        text_revision_ = sheet_.text_revision();
        moves_seen_ = sheet_.column_move_count();
    }
    double &kept = widest_[col];
    if (kept == kUnknown) {
        kept = 0;
        for (int r = 1; r < sheet_.rows(); ++r) {
            const QString &text = sheet_.text(r, col);
            if (!text.isEmpty())
                kept = std::max(kept, texts_.number_width(text));
        }
    }
    return kept;
}

void ColumnWidest::forget(int col)
{
    if (col >= 0 && col < widest_.size())
        widest_[col] = kUnknown;
}

void ColumnWidest::insert(int at, int count)
{
    if (at < 0 || at > widest_.size())
        return forget_all();
    widest_.insert(at, count, kUnknown);
}

void ColumnWidest::remove(int at, int count)
{
    if (at < 0 || at + count > widest_.size())
        return forget_all();
    widest_.remove(at, count);
}

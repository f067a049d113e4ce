#include "sheet/columnwidest.h"

#include "sheet.h"
#include "sheet/textcache.h"

#include <algorithm>

double ColumnWidest::widest(int col) const
{
    Q_ASSERT(col >= 0 && col < sheet_.cols());
    // What is kept no longer fits the sheet: a change went unheard.
    if (widest_.size() != sheet_.cols())
        widest_ = QList<double>(sheet_.cols(), kUnknown);
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

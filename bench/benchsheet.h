#pragma once

#include "sheet.h"

// What the benchmarks share: a sheet of rows × cols filled with names and
// marks 0 to 100 (one to three characters), no full marks typed.
inline void fill_with_marks(Sheet &sheet, int rows, int cols)
{
    using namespace Qt::StringLiterals;
    const Sheet::Batch batch(sheet);
    sheet.set_cols(cols);
    sheet.set_rows(rows);
    sheet.set_text(0, 4, u"氏名"_s);
    sheet.set_text(0, sheet.total_col(), u"総合点"_s);
    sheet.set_text(0, sheet.grade_col(), u"評価･評定"_s);
    for (int k = 1; k <= sheet.score_count(); ++k)
        sheet.set_text(0, k + 4, u"点"_s + QString::number(k));
    for (int r = 1; r < sheet.rows(); ++r) {
        sheet.set_text(r, 4, u"生徒"_s + QString::number(r));
        for (int k = 1; k <= sheet.score_count(); ++k)
            sheet.set_text(r, k + 4, QString::number((r * 37 + k * 11) % 101));
    }
}

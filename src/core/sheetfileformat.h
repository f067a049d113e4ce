#pragma once

#include <QString>

// What the writing and the reading of sheet files share.
namespace sheetfile {

// The first field of every sheet file.
inline QString marker()
{
    return QStringLiteral("評価計算ｼｰﾄ(K_saiten)");
}

// Field 4 of line 2 when the sheet uses viewpoint grading. The fields after
// it: threshold A, threshold B, the method (1 points, 2 rates), the points
// table and the rate bounds (numbers separated by spaces), each score
// column's viewpoint (one digit a column, 0 none), the number of result
// columns, the hand-set result cells ("row.index" separated by spaces),
// then each viewpoint's name and short name. Readers that know only three
// fields of line 2 pass over them.
inline QString viewpoint_marker()
{
    return QStringLiteral("観点別評価");
}

}  // namespace sheetfile

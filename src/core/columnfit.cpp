#include "columnfit.h"

#include "numbers.h"
#include "sheet.h"

#include <algorithm>

namespace columnfit {

bool is_number(QStringView text)
{
    const QStringView trimmed = numbers::trim_spaces(text);
    // "inf" and "nan" read as numbers too, but are no marks.
    if (!std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.isDigit(); }))
        return false;
    bool ok = false;
    (void)trimmed.toDouble(&ok);
    return ok;
}

bool widens(const Sheet &sheet, int col)
{
    return sheet.is_score_col(col) || (sheet.has_evaluation_layout() && col == sheet.total_col());
}

double widest_number(const Sheet &sheet, int col, const Measure &measure)
{
    Q_ASSERT(col >= 0 && col < sheet.cols());
    double widest = 0;
    for (int r = 1; r < sheet.rows(); ++r) {
        const QString &text = sheet.text(r, col);
        if (is_number(text))
            widest = std::max(widest, measure(numbers::trim_spaces(text).toString()));
    }
    return widest;
}

QString shown(const QString &text, double room, const Measure &measure)
{
    if (is_number(text) && measure(numbers::trim_spaces(text).toString()) > room)
        return kNoRoom;
    return text;
}

}  // namespace columnfit

#include "columnfit.h"

#include "numbers.h"
#include "sheet.h"

#include <QHash>

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
    // Marks repeat down a column: each text is read and measured once, which
    // keeps a refit of the largest sheet from dominating an insertion.
    QHash<QStringView, double> seen;
    double widest = 0;
    for (int r = 1; r < sheet.rows(); ++r) {
        const QStringView text = numbers::trim_spaces(sheet.text(r, col));
        if (text.isEmpty())
            continue;
        auto it = seen.constFind(text);
        if (it == seen.constEnd())
            it = seen.insert(text, is_number(text) ? measure(text.toString()) : 0.0);
        widest = std::max(widest, *it);
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

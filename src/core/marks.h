#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

class Sheet;

// What the numbers of a sheet say before grading: marks that look like a
// number to a person but do not count as it, and the statistics teachers
// would otherwise compute by hand.
namespace marks {

// Full-width digits, signs, points and spaces in their half-width form, trimmed.
QString folded(QStringView text);

// Why the text reads as a number to a person but the totals do not count it
// as that number; empty when it counts as it reads, or holds no digit at all
// (a teacher's note such as "欠").
QString look_alike(QStringView text);

// A teacher's mark for a student without a score ("欠", "公欠", "／", ...):
// left out of the totals on purpose, so never flagged.
bool is_absence_mark(QStringView text);

// Why score cell (row, col) needs the teacher's look: it reads as a number
// that does not count, it is text that is neither a mark nor an absence mark,
// or it is above the full marks the teacher gave its column. Empty when the
// cell counts as it reads, or is empty.
QString needs_look(const Sheet &sheet, int row, int col);

// Score cells of one column that need a look.
int count_look_alikes(const Sheet &sheet, int col);
// ... and of every score column.
int count_look_alikes(const Sheet &sheet);
// The first score cell that needs a look, row by row; none when there is none.
std::optional<std::pair<int, int>> first_look_alike(const Sheet &sheet);
// Puts the folded form into the look-alike score cells of the rectangle;
// returns how many cells changed.
int fold_look_alikes(Sheet &sheet, int top, int left, int bottom, int right);

struct Statistics {
    int count = 0;  // cells that count
    double average = 0;
    double median = 0;
    double deviation = 0;  // standard deviation of the class, not of a sample
    double highest = 0;
    double lowest = 0;
};
// Over the cells of a column (rows 1 on) that count as scores.
Statistics column_statistics(const Sheet &sheet, int col);
// The same over a column's texts by grid row ([0] the title, skipped).
Statistics column_statistics(const QStringList &texts);
// The same over the scores themselves, in any order.
Statistics statistics_of(std::vector<double> scores);

}  // namespace marks

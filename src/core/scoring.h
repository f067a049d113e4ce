#pragma once

#include <QString>
#include <array>

class Sheet;

// Totals from raw scores, full marks and weights, and their statistics.
namespace scoring {

struct TotalStatistics {
    double highest = -99999;
    double lowest = 99999;
    std::array<int, 10> classes{};  // counts of 0-9, 10-19, ..., 90-100
};

// Raises full marks, writes every total, returns the statistics of the totals,
// and rewrites the current score column's full-marks text.
TotalStatistics calc_sougouten(Sheet &sheet);

// Statistics of the totals as they stand in the total column.
TotalStatistics total_statistics(const Sheet &sheet);

// Average of score column k as shown in the raw-score panel ("72.35", "0").
QString retu_heikin(const Sheet &sheet, int k);

}  // namespace scoring

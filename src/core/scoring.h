#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <vector>

class Sheet;

// Totals from raw scores, full marks and weights, and their statistics.
namespace scoring {

struct TotalStatistics {
    double highest = -99999;
    double lowest = 99999;
    std::array<int, 10> classes{};  // counts of 0-9, 10-19, ..., 90-100
};

// Every score cell parsed once, by grid row and score column; rows from 1,
// as in the grid. Built from a sheet, or row by row by a reader that never
// builds one.
class ScoreGrid
{
public:
    // omomi[k] is the weight of score column k; omomi[0] is not used.
    explicit ScoreGrid(std::vector<double> omomi);
    static ScoreGrid of(const Sheet &sheet);

    int columns() const { return n_; }
    int rows() const { return rows_; }  // grid rows, the title row included
    double weight(int k) const { return omomi_[size_t(k)]; }

    // A new grid row after the last, with no scores; set() fills it.
    void add_row();
    void set(int k, int row, QStringView text);
    // NaN when the cell holds no score (the parse itself never gives NaN).
    double score(int k, int row) const { return values_[index(k, row)]; }

private:
    size_t index(int k, int row) const { return size_t(row - 1) * size_t(n_) + size_t(k - 1); }

    int n_;
    int rows_ = 1;
    std::vector<double> omomi_;
    std::vector<double> values_;  // a row's scores side by side, as the cells lie
};

// The two steps of the totals on the numbers alone. raise_full_marks raises
// manten[k] to each column's highest score and returns the first column whose
// full-marks text is rewritten (columns() + 1 when none); write_totals sets
// totals[r] for every grid row r from 1, "" where a student has no score.
int raise_full_marks(const ScoreGrid &scores, std::vector<double> &manten);
void write_totals(const ScoreGrid &scores, const std::vector<double> &manten,
                  QStringList &totals);

// Statistics of a total column's texts by grid row ([0] the title, skipped).
TotalStatistics total_statistics(const QStringList &totals);

// Raises full marks, writes every total, returns the statistics of the totals,
// and rewrites the current score column's full-marks text.
TotalStatistics calc_sougouten(Sheet &sheet);

// Statistics of the totals as they stand in the total column.
TotalStatistics total_statistics(const Sheet &sheet);

// Average of score column k as shown in the raw-score panel ("72.35", "0").
QString retu_heikin(const Sheet &sheet, int k);

}  // namespace scoring

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

// Every score cell parsed once and kept as much as the totals need: each
// column's highest score and count, each row's weighted sum and which of its
// cells hold a score. Rows count from 1, as in the grid. Built from a sheet,
// or row by row by a reader that never builds one.
class ScoreGrid
{
public:
    // omomi[k] is the weight of score column k; omomi[0] is not used.
    explicit ScoreGrid(std::vector<double> omomi);
    static ScoreGrid of(const Sheet &sheet);

    int columns() const { return n_; }
    int rows() const { return int(sums_.size()) + 1; }  // the title row included
    double weight(int k) const { return omomi_[size_t(k)]; }

    void reserve(int rows);
    // A new row after the last, with no scores. Its cells are then set left
    // to right, each once: the weighted sum adds up in the order the totals
    // always have.
    void add_row();
    void set(int k, QStringView text);

    double highest(int k) const { return highest_[size_t(k)]; }  // -inf when none
    int count(int k) const { return count_[size_t(k)]; }
    double weighted_sum(int row) const { return sums_[size_t(row - 1)]; }
    bool has_score(int k, int row) const
    {
        const size_t bit = size_t(k - 1);
        return (bits_[size_t(row - 1) * words_ + bit / 64] >> (bit % 64)) & 1;
    }

private:
    int n_;
    size_t words_;
    std::vector<double> omomi_;
    std::vector<double> highest_;
    std::vector<int> count_;
    std::vector<double> sums_;
    std::vector<quint64> bits_;  // words_ per row
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

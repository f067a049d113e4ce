#pragma once

#include "sheet.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <vector>

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
    // weight[k] is the weight of score column k; weight[0] is not used.
    explicit ScoreGrid(std::vector<double> weight);
    static ScoreGrid of(const Sheet &sheet);

    int columns() const { return n_; }
    int rows() const { return int(sums_.size()) + 1; }  // the title row included
    double weight(int k) const { return weights_[size_t(k)]; }

    // Full marks the teacher gave each column ([k], 0 for none): marks above
    // them are kept in above() as the cells are set.
    void watch_full_marks(std::vector<double> full_marks);

    void reserve(int rows);
    // A new row after the last, with no scores. Its cells are then set left
    // to right, each once: the weighted sum adds up in the order the totals
    // always have.
    void add_row();
    // Score columns 1 .. count of the new row, from scores[0 .. count - 1].
    void set_row(const QStringView *scores, int count);

    double highest(int k) const { return highest_[size_t(k)]; }  // -inf when none
    int count(int k) const { return count_[size_t(k)]; }
    double weighted_sum(int row) const { return sums_[size_t(row - 1)]; }
    struct MarkAbove {
        int row;
        int k;
        double mark;
        double full_marks;
    };
    const std::vector<MarkAbove> &above() const { return above_; }
    bool has_score(int k, int row) const
    {
        const size_t bit = size_t(k - 1);
        return (bits_[size_t(row - 1) * words_ + bit / 64] >> (bit % 64)) & 1;
    }

private:
    int n_;
    size_t words_;
    std::vector<double> weights_;
    std::vector<char> small_fits_;  // [k]: any mark of up to three digits weighs finitely
    std::vector<double> highest_;
    std::vector<int> count_;
    std::vector<double> sums_;
    std::vector<quint64> bits_;  // words_ per row
    std::vector<double> watched_;
    std::vector<MarkAbove> above_;
};

// The two steps of the totals on the numbers alone. raise_full_marks raises
// the full marks the teacher gave (given[k]) to the column's highest score;
// full marks the program inferred follow the highest score, down as well as
// up, so a corrected typo leaves no trace. It returns the first column whose
// full-marks text is rewritten (columns() + 1 when none). write_totals sets
// totals[r] for every grid row r from 1, "" where a student has no score.
int raise_full_marks(const ScoreGrid &scores, std::vector<double> &full_marks,
                     const std::vector<bool> &given);
void write_totals(const ScoreGrid &scores, const std::vector<double> &full_marks,
                  QStringList &totals);

// Statistics of a total column's texts by grid row ([0] the title, skipped).
TotalStatistics total_statistics(const QStringList &totals);

// Full marks the teacher gave: typed, or read from a file; 0 is none.
bool full_marks_given(const ScoreSettings &settings);
// The same for full marks read from a file, by column.
std::vector<bool> given_where_set(const std::vector<double> &full_marks);

// Marks above the full marks the teacher gave their column, row by row.
std::vector<ScoreGrid::MarkAbove> marks_above_full_marks(const Sheet &sheet);

// Raises full marks, writes every total, returns the statistics of the totals,
// and rewrites the current score column's full-marks text.
TotalStatistics compute_totals(Sheet &sheet);
// The same from the sheet's scores already read into a grid.
TotalStatistics compute_totals(Sheet &sheet, const ScoreGrid &scores);

// Statistics of the totals as they stand in the total column.
TotalStatistics total_statistics(const Sheet &sheet);

// The totals and full marks as they were before an evaluation, so that
// stopping it puts the sheet back whole: totals beside the grades they came
// from. Rows follow inserts and removals; what the teacher changed since the
// evaluation is left alone.
class TotalsBackup
{
public:
    void save(const Sheet &sheet);
    // What the evaluation wrote, noted after each run.
    void note_result(const Sheet &sheet);
    // Puts back each total and each column's full marks that still hold what
    // the evaluation wrote.
    void restore(Sheet &sheet) const;
    void insert_rows(int at, int count);
    void remove_rows(int at, int count);
    // Removed rows' totals, to come back when the removal is undone.
    QVariant take_rows(int at, int count);
    void put_rows(int at, int count, const QVariant &kept);

private:
    QStringList before_, after_;  // the total column by grid row
    QList<ScoreSettings> settings_before_, settings_after_;  // by slot
};

// Average of score column k as shown in the raw-score panel ("72.35", "0").
QString column_average(const Sheet &sheet, int k);

}  // namespace scoring

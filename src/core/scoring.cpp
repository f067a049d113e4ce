#include "scoring.h"

#include "numbers.h"
#include "sheet.h"

#include <QList>
#include <cmath>
#include <limits>
#include <vector>

namespace scoring {

namespace {

constexpr double kNoScore = std::numeric_limits<double>::quiet_NaN();

// Every score cell parsed once: both steps read the same cells.
class ScoreGrid
{
public:
    explicit ScoreGrid(const Sheet &sheet)
        : n_(qMax(sheet.score_count(), 0)), values_(size_t(n_) * size_t(sheet.rows()))
    {
        const int n = n_;
        const int rows = sheet.rows();
        std::vector<double> omomi(size_t(n) + 1);
        for (int k = 1; k <= n; ++k)
            omomi[size_t(k)] = sheet.settings(k).omomi;
        // Row by row, as the cells lie in memory.
        for (int r = 1; r < rows; ++r) {
            for (int k = 1; k <= n; ++k) {
                double v = 0;
                // A score too large to weigh, sum and turn into a percentage
                // reads as no number, like one out of range: an infinity
                // must never reach a total.
                at(k, r) = numbers::holds_score(sheet.text(r, k + 4), &v) &&
                                   std::isfinite(v * omomi[size_t(k)] * 100 * n)
                               ? v
                               : kNoScore;
            }
        }
    }
    // NaN when the cell holds no score (the parse itself never gives NaN).
    double score(int k, int r) const { return values_[index(k, r)]; }

private:
    // Stored as the cells lie: a row's scores side by side.
    size_t index(int k, int r) const { return size_t(r) * size_t(n_) + size_t(k - 1); }
    double &at(int k, int r) { return values_[index(k, r)]; }

    int n_;
    std::vector<double> values_;
};

// Step 1: each column's full marks go up to its highest score. The counter is
// shared by all columns on purpose: once any column has held a score, every
// later column gets its full-marks text rewritten, even an empty one.
void raise_full_marks(Sheet &sheet, const ScoreGrid &scores)
{
    const int n = sheet.score_count();
    // Each column's highest score and count, in one pass along the rows.
    std::vector<double> m(size_t(n) + 1);
    std::vector<int> counted(size_t(n) + 1);
    for (int k = 1; k <= n; ++k)
        m[size_t(k)] = sheet.settings(k).manten;
    for (int r = 1; r < sheet.rows(); ++r)
        for (int k = 1; k <= n; ++k) {
            const double v = scores.score(k, r);
            if (std::isnan(v))
                continue;
            ++counted[size_t(k)];
            if (v > m[size_t(k)])
                m[size_t(k)] = v;
        }
    int seen = 0;
    for (int k = 1; k <= n; ++k) {
        seen += counted[size_t(k)];
        if (seen > 0) {
            ScoreSettings s = sheet.settings(k);
            s.manten = m[size_t(k)];
            s.manten_text = numbers::plain_form(s.manten);
            sheet.set_settings(k, s);
        }
    }
}

// Step 2: the weighted percentage of the scores a student actually has.
void write_totals(Sheet &sheet, const ScoreGrid &scores)
{
    if (sheet.cols() < 8)
        return;
    const int n = sheet.score_count();
    QList<double> omomi(n + 1), manten(n + 1);
    for (int k = 1; k <= n; ++k) {
        omomi[k] = sheet.settings(k).omomi;
        manten[k] = sheet.settings(k).manten;
    }
    const int total_col = sheet.total_col();
    for (int r = 1; r < sheet.rows(); ++r) {
        double s = 0;
        double d = 0;
        bool found = false;
        for (int k = 1; k <= n; ++k) {
            const double v = scores.score(k, r);
            if (std::isnan(v))
                continue;
            found = true;
            s = s + v * omomi[k];
            d = d + omomi[k] * manten[k];
            // Guarded after every counted cell, not once at the end: a leading
            // zero-weight column leaves D at 1 and later columns add to it.
            if (d == 0)
                d = 1;
        }
        if (!found) {
            sheet.set_text(r, total_col, QString());
            continue;
        }
        const double ratio = s / d;
        const double percent = ratio * 100;
        const double total = std::floor(percent + 0.5);
        // A denominator cancelled almost to nothing can still overflow.
        sheet.set_text(r, total_col, std::isfinite(total) ? numbers::signed_form(total) : QString());
    }
}

}  // namespace

TotalStatistics calc_sougouten(Sheet &sheet)
{
    {
        const ScoreGrid scores(sheet);
        raise_full_marks(sheet, scores);
        write_totals(sheet, scores);
    }
    const TotalStatistics stats = total_statistics(sheet);
    const int c = sheet.col();
    if (sheet.is_score_col(c)) {
        ScoreSettings s = sheet.settings(c - 4);
        s.manten_text = numbers::plain_form(s.manten);
        s.manten_flg = true;
        sheet.set_settings(c - 4, s);
    }
    return stats;
}

TotalStatistics total_statistics(const Sheet &sheet)
{
    TotalStatistics stats;
    const int total_col = sheet.total_col();
    for (int r = 1; r < sheet.rows(); ++r) {
        double v = 0;
        if (!numbers::holds_score(numbers::trim_spaces(sheet.text(r, total_col)), &v))
            continue;
        if (v > stats.highest)
            stats.highest = v;
        if (v < stats.lowest)
            stats.lowest = v;
        // A negative total has no class to go to: it only shows in the lowest.
        const double j = std::floor(v / 10);
        if (j < 0)
            continue;
        stats.classes[j >= 10 ? 9 : int(j)] += 1;
    }
    return stats;
}

QString retu_heikin(const Sheet &sheet, int k)
{
    const int col = k + 4;
    int c = 0;
    double sum = 0;
    for (int r = 1; r < sheet.rows(); ++r) {
        const QStringView text = numbers::trim_spaces(sheet.text(r, col));
        if (text.isEmpty())
            continue;
        // Unlike the totals, text without a number counts here, as 0.
        ++c;
        // A number that would overflow the sum counts as 0, like text.
        const double v = numbers::leading_number(text);
        if (std::isfinite(sum + v))
            sum = sum + v;
    }
    if (c < 1)
        c = 1;
    return numbers::two_decimals(sum / c);
}

}  // namespace scoring

#include "scoring.h"

#include "numbers.h"
#include "sheet.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace scoring {

namespace {

std::vector<double> full_marks_of(const Sheet &sheet)
{
    std::vector<double> full_marks(size_t(qMax(sheet.score_count(), 0)) + 1);
    for (size_t k = 1; k < full_marks.size(); ++k)
        full_marks[k] = sheet.settings(int(k)).full_marks;
    return full_marks;
}

}  // namespace

ScoreGrid::ScoreGrid(std::vector<double> weight)
    : n_(qMax(int(weight.size()) - 1, 0)),
      words_((size_t(n_) + 63) / 64),
      weights_(std::move(weight)),
      highest_(size_t(n_) + 1, -std::numeric_limits<double>::infinity()),
      count_(size_t(n_) + 1)
{
    weights_.resize(size_t(n_) + 1);
    // Rounding keeps order: if the largest short mark stays finite weighed,
    // every smaller one does.
    small_fits_.resize(weights_.size());
    for (size_t k = 0; k < weights_.size(); ++k)
        small_fits_[k] = std::isfinite(999.0 * weights_[k] * 100 * double(n_));
}

ScoreGrid ScoreGrid::of(const Sheet &sheet)
{
    const int n = qMax(sheet.score_count(), 0);
    std::vector<double> weight(size_t(n) + 1);
    for (int k = 1; k <= n; ++k)
        weight[size_t(k)] = sheet.settings(k).weight;
    ScoreGrid grid(std::move(weight));
    std::vector<double> given(size_t(n) + 1);
    for (int k = 1; k <= n; ++k)
        if (full_marks_given(sheet.settings(k)))
            given[size_t(k)] = sheet.settings(k).full_marks;
    grid.watch_full_marks(std::move(given));
    grid.reserve(sheet.rows() - 1);
    std::vector<QStringView> row(static_cast<size_t>(n));
    for (int r = 1; r < sheet.rows(); ++r) {
        grid.add_row();
        for (int k = 1; k <= n; ++k)
            row[size_t(k - 1)] = sheet.text(r, Sheet::column_of_slot(k));
        grid.set_row(row.data(), n);
    }
    return grid;
}

void ScoreGrid::watch_full_marks(std::vector<double> full_marks)
{
    watched_ = std::move(full_marks);
    watched_.resize(size_t(n_) + 1);
}

void ScoreGrid::reserve(int rows)
{
    sums_.reserve(size_t(qMax(rows, 0)));
    bits_.reserve(size_t(qMax(rows, 0)) * words_);
}

void ScoreGrid::add_row()
{
    sums_.push_back(0);
    bits_.resize(bits_.size() + words_);
}

void ScoreGrid::set_row(const QStringView *scores, int count)
{
    Q_ASSERT(!sums_.empty() && count <= n_);
    const size_t row = sums_.size();
    quint64 *const bits = bits_.data() + (row - 1) * words_;
    const double *const weights = weights_.data();
    const double *const watched = watched_.empty() ? nullptr : watched_.data();
    double *const highest = highest_.data();
    int *const counts = count_.data();
    const double n = n_;
    double sum = sums_.back();
    for (int k = 1; k <= count; ++k) {
        const QStringView text = scores[k - 1];
        const double w = weights[k];
        double v = 0;
        if (const int digits = numbers::short_digits_value(text); digits >= 0 && small_fits_[k]) {
            v = digits;
        } else {
            if (!numbers::holds_score(text, &v))
                continue;
            // A score too large to weigh, sum and turn into a percentage reads
            // as no number, like one out of range: an infinity must never
            // reach a total.
            if (!std::isfinite(v * w * 100 * n))
                continue;
        }
        const int bit = k - 1;
        bits[bit / 64] |= quint64(1) << (bit % 64);
        sum = sum + v * w;
        ++counts[k];
        if (v > highest[k])
            highest[k] = v;
        if (watched && watched[k] != 0 && v > watched[k])
            above_.push_back({int(row), k, v, watched[k]});
    }
    sums_.back() = sum;
}

// Step 1: each column's full marks go up to its highest score. The counter is
// shared by all columns on purpose: once any column has held a score, every
// later column gets its full-marks text rewritten, even an empty one.
int raise_full_marks(const ScoreGrid &scores, std::vector<double> &full_marks,
                     const std::vector<bool> &given)
{
    const int n = scores.columns();
    Q_ASSERT(full_marks.size() > size_t(n) && given.size() > size_t(n));
    int first = n + 1;
    for (int k = n; k >= 1; --k) {
        if (scores.count(k) > 0) {
            first = k;
            // Inferred full marks start again from nothing at every evaluation.
            const double from = given[size_t(k)] ? full_marks[size_t(k)] : 0;
            full_marks[size_t(k)] = std::max(from, scores.highest(k));
        }
    }
    return first;
}

// Step 2: the weighted percentage of the scores a student actually has.
void write_totals(const ScoreGrid &scores, const std::vector<double> &full_marks,
                  QStringList &totals)
{
    const int n = scores.columns();
    if (n < 1)
        return;
    for (int r = 1; r < scores.rows(); ++r) {
        double d = 0;
        bool found = false;
        for (int k = 1; k <= n; ++k) {
            if (!scores.has_score(k, r))
                continue;
            found = true;
            d = d + scores.weight(k) * full_marks[size_t(k)];
            // Guarded after every counted cell, not once at the end: a leading
            // zero-weight column leaves D at 1 and later columns add to it.
            if (d == 0)
                d = 1;
        }
        if (!found) {
            totals[r] = QString();
            continue;
        }
        const double ratio = scores.weighted_sum(r) / d;
        const double percent = ratio * 100;
        const double total = std::floor(percent + 0.5);
        // A denominator cancelled almost to nothing can still overflow.
        totals[r] = std::isfinite(total) ? numbers::signed_form(total) : QString();
    }
}

bool full_marks_given(const ScoreSettings &settings)
{
    return settings.full_marks_given && settings.full_marks != 0;
}

std::vector<bool> given_where_set(const std::vector<double> &full_marks)
{
    std::vector<bool> given(full_marks.size());
    for (size_t k = 0; k < full_marks.size(); ++k)
        given[k] = full_marks[k] != 0;
    return given;
}

std::vector<ScoreGrid::MarkAbove> marks_above_full_marks(const Sheet &sheet)
{
    return ScoreGrid::of(sheet).above();
}

TotalStatistics compute_totals(Sheet &sheet)
{
    return compute_totals(sheet, ScoreGrid::of(sheet));
}

TotalStatistics compute_totals(Sheet &sheet, const ScoreGrid &scores)
{
    {
        std::vector<double> full_marks = full_marks_of(sheet);
        std::vector<bool> given(full_marks.size());
        for (size_t k = 1; k < given.size(); ++k)
            given[k] = full_marks_given(sheet.settings(int(k)));
        const int first_raised = raise_full_marks(scores, full_marks, given);
        for (int k = first_raised; k <= scores.columns(); ++k) {
            ScoreSettings s = sheet.settings(k);
            s.full_marks = full_marks[size_t(k)];
            s.full_marks_text = numbers::plain_form(s.full_marks);
            sheet.set_settings(k, s);
        }
        if (sheet.cols() >= 8) {
            const int total_col = sheet.total_col();
            QStringList totals = sheet.column_texts(total_col);
            write_totals(scores, full_marks, totals);
            for (int r = 1; r < sheet.rows(); ++r)
                sheet.set_text(r, total_col, totals[r]);
        }
    }
    const TotalStatistics stats = total_statistics(sheet);
    const int c = sheet.col();
    if (sheet.is_score_col(c)) {
        const int k = Sheet::slot_of_column(c);
        ScoreSettings s = sheet.settings(k);
        s.full_marks_text = numbers::plain_form(s.full_marks);
        sheet.set_settings(k, s);
    }
    return stats;
}

TotalStatistics total_statistics(const QStringList &totals)
{
    TotalStatistics stats;
    for (qsizetype r = 1; r < totals.size(); ++r) {
        double v = 0;
        if (!numbers::holds_score(numbers::trim_spaces(totals[r]), &v))
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

TotalStatistics total_statistics(const Sheet &sheet)
{
    return total_statistics(sheet.column_texts(sheet.total_col()));
}

namespace {

QList<ScoreSettings> settings_of(const Sheet &sheet)
{
    QList<ScoreSettings> settings;
    for (int k = 0; k <= qMax(sheet.score_count(), 0); ++k)
        settings.append(sheet.settings(k));
    return settings;
}

}  // namespace

void TotalsBackup::save(const Sheet &sheet)
{
    before_ = sheet.column_texts(sheet.total_col());
    after_ = before_;
    settings_before_ = settings_of(sheet);
    settings_after_ = settings_before_;
}

void TotalsBackup::note_result(const Sheet &sheet)
{
    after_ = sheet.column_texts(sheet.total_col());
    // Rows added since the save had no total before.
    while (before_.size() < after_.size())
        before_.append(QString());
    settings_after_ = settings_of(sheet);
}

void TotalsBackup::restore(Sheet &sheet) const
{
    const int total_col = sheet.total_col();
    for (int r = 1; r < sheet.rows() && r < after_.size() && r < before_.size(); ++r)
        if (sheet.text(r, total_col) == after_[r])
            sheet.set_text(r, total_col, before_[r]);
    const qsizetype kept = qMin(settings_before_.size(), settings_after_.size());
    for (int k = 1; k < kept && k <= sheet.score_count(); ++k)
        if (sheet.settings(k) == settings_after_[k])
            sheet.set_settings(k, settings_before_[k]);
}

void TotalsBackup::insert_rows(int at, int count)
{
    for (QStringList *rows : {&before_, &after_})
        if (at >= 0 && count > 0 && at <= rows->size())
            rows->insert(at, count, QString());
}

void TotalsBackup::remove_rows(int at, int count)
{
    for (QStringList *rows : {&before_, &after_})
        if (at >= 0 && count > 0 && at < rows->size())
            rows->remove(at, qMin(qsizetype(count), rows->size() - at));
}

QVariant TotalsBackup::take_rows(int at, int count)
{
    const QVariantList kept{before_.mid(at, count), after_.mid(at, count)};
    remove_rows(at, count);
    return kept;
}

void TotalsBackup::put_rows(int at, int count, const QVariant &kept)
{
    const QVariantList both = kept.toList();
    QStringList *lists[] = {&before_, &after_};
    for (int i = 0; i < 2; ++i) {
        QStringList *rows = lists[i];
        if (at < 0 || count <= 0 || at > rows->size())
            continue;
        QStringList texts = both.value(i).toStringList();
        texts.resize(count);
        for (qsizetype j = 0; j < count; ++j)
            rows->insert(at + j, texts[j]);
    }
}

QString column_average(const Sheet &sheet, int k)
{
    const int col = Sheet::column_of_slot(k);
    int c = 0;
    double sum = 0;
    // Over the cells that hold a score, as the count and the totals are: an
    // absence counted as 0 would pull the class average down.
    for (int r = 1; r < sheet.rows(); ++r) {
        double v = 0;
        if (!numbers::holds_score(sheet.text(r, col), &v) || !std::isfinite(sum + v))
            continue;
        ++c;
        sum = sum + v;
    }
    if (c < 1)
        c = 1;
    return numbers::two_decimals(sum / c);
}

}  // namespace scoring

#include "grading.h"

#include "numbers.h"
#include "sheet.h"

#include <QList>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace grading {

namespace {

struct Criteria {
    double lower = 0;
    double upper = 0;
};

// Read at every use, so a criterion changed between two choices takes effect.
Criteria criteria(const Sheet &sheet)
{
    return {numbers::leading_number(sheet.lower_text()),
            numbers::leading_number(sheet.upper_text())};
}

// The candidate entry text: the average rounded half up to two decimals.
QString entry_text(double sum, int count)
{
    const double a = sum / count + 5.0 / 1000;
    const double i = std::floor(a);
    double f = std::floor((a - i) * 100);
    if (f > 99)
        f = 99;  // (a - i) * 100 can round up to 100 when a lies just below i + 1
    const int cents = int(f);
    return numbers::plain_form(i) + u'.' + QChar(u'0' + cents / 10) + QChar(u'0' + cents % 10);
}

}  // namespace

double exponent(int k)
{
    const double s = (1.7 - 0.7) / 31;
    return 0.7 + (k - 1) * s;
}

int grade_of(int k, double t, double lower, double upper)
{
    if (t <= lower)
        return 2;
    if (t >= upper)
        return 10;
    double r = (t - lower - 1) / (upper - lower - 1);
    // A fractional lower bound puts totals between L and L + 1 below the curve's
    // start; a negative base would make the power undefined, so they start it.
    if (!(r >= 0))
        r = 0;
    double g = std::floor((std::pow(r, exponent(k)) * 7 + 0.5) + 2.5);
    // Compared as doubles: an infinite power must not reach the int conversion.
    if (!(g >= 2))
        g = 2;
    if (g > 10)
        g = 10;
    return int(g);
}

bool criteria_in_order(double lower, double upper)
{
    return lower < upper;
}

bool criteria_in_order(const Sheet &sheet)
{
    const Criteria c = criteria(sheet);
    return criteria_in_order(c.lower, c.upper);
}

QStringList make_candidates(const Sheet &sheet)
{
    const Criteria c = criteria(sheet);
    return make_candidates(sheet.column_texts(sheet.total_col()), c.lower, c.upper);
}

QStringList make_candidates(const QStringList &totals, double lower, double upper)
{
    int n = 0;
    std::vector<double> positive;  // whole-number parts of the totals above 0
    for (qsizetype r = 1; r < totals.size(); ++r) {
        const QStringView text = numbers::trim_spaces(totals[r]);
        double v = 0;
        if (numbers::holds_score(text, &v))
            ++n;
        // A total of 0 or below counts in N but adds nothing to the sum.
        if (v > 0)
            positive.push_back(std::floor(v));
    }
    QStringList list;
    if (n == 0 || !criteria_in_order(lower, upper))
        return list;
    // Totals repeat: each distinct one is graded once per candidate. The sum
    // of whole grades is exact in any order.
    std::sort(positive.begin(), positive.end());
    std::vector<std::pair<double, int>> distinct;
    for (const double t : positive) {
        if (distinct.empty() || distinct.back().first != t)
            distinct.emplace_back(t, 0);
        ++distinct.back().second;
    }
    for (int k = 0; k < kCandidates; ++k) {
        double sum = 0;
        for (const auto &[t, count] : distinct)
            sum = sum + double(grade_of(k, t, lower, upper)) * count;
        list.append(entry_text(sum, n));
    }
    return list;
}

void write_grades(Sheet &sheet, int k)
{
    const Criteria c = criteria(sheet);
    const int grade_col = sheet.grade_col();
    QStringList grades = sheet.column_texts(grade_col);
    write_grades(k, sheet.column_texts(sheet.total_col()), c.lower, c.upper, grades);
    // Unchanged texts are no change to the sheet.
    for (int r = 1; r < sheet.rows(); ++r)
        sheet.set_text(r, grade_col, grades[r]);
}

void write_grades(int k, const QStringList &totals, double lower, double upper,
                QStringList &grades)
{
    for (qsizetype r = 1; r < totals.size() && r < grades.size(); ++r) {
        double v = 0;
        if (numbers::holds_score(numbers::trim_spaces(totals[r]), &v))
            grades[r] = numbers::plain_form(grade_of(k, std::floor(v), lower, upper));
    }
}

QString GradeCounts::graded_text() const
{
    return numbers::plain_form(graded) + u"人"_s;
}

GradeCounts count_grades(const Sheet &sheet)
{
    return count_grades(sheet.column_texts(sheet.grade_col()));
}

GradeCounts count_grades(const QStringList &grades)
{
    GradeCounts result;
    for (qsizetype r = 1; r < grades.size(); ++r) {
        const double g = numbers::round_half_even(numbers::leading_number(grades[r]));
        // A value outside 0..10 is no grade the table has a row for: left out,
        // and not among the graded either.
        if (g < 0 || g > 10)
            continue;
        result.counts[int(g)] += 1;
    }
    for (int g = 1; g <= 10; ++g)
        result.graded += result.counts[g];
    return result;
}

void GradeBackup::save(const Sheet &sheet)
{
    const int rows = sheet.rows();
    if (slots_.size() < rows)
        slots_.resize(rows);
    const int grade_col = sheet.grade_col();
    for (int r = 1; r < rows; ++r)
        slots_[r] = sheet.text(r, grade_col);
}

void GradeBackup::restore(Sheet &sheet) const
{
    const int grade_col = sheet.grade_col();
    for (int r = 1; r < sheet.rows(); ++r)
        sheet.set_text(r, grade_col, slot(r));
}

void GradeBackup::insert_rows(int at, int count)
{
    if (at < 0 || count <= 0 || at > slots_.size())
        return;
    slots_.insert(at, count, QString());
}

void GradeBackup::remove_rows(int at, int count)
{
    if (at < 0 || count <= 0 || at >= slots_.size())
        return;
    slots_.remove(at, qMin(qsizetype(count), slots_.size() - at));
}

QVariant GradeBackup::take_rows(int at, int count)
{
    const QStringList kept = slots_.mid(at, count);
    remove_rows(at, count);
    return kept;
}

void GradeBackup::put_rows(int at, int count, const QVariant &kept)
{
    if (at < 0 || count <= 0 || at > slots_.size())
        return;
    QStringList grades = kept.toStringList();
    grades.resize(count);
    for (qsizetype i = 0; i < count; ++i)
        slots_.insert(at + i, grades[i]);
}

QString GradeBackup::slot(int row) const
{
    if (row < 0 || row >= slots_.size())
        return QString();
    return slots_[row];
}

}  // namespace grading

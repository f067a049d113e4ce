#pragma once

#include "sheet.h"

#include <QString>
#include <QStringList>
#include <array>

// The grading curve, the 32 candidate averages, assigning and counting grades.
namespace grading {

inline constexpr int kCandidates = 32;

// Exponent of candidate k: 0.7 + (k - 1) * (1.7 - 0.7) / 31.
double exponent(int k);

// Grade 2..10 for candidate k and whole-number total t, with L and U.
int grade_of(int k, double t, double lower, double upper);

// The criteria the right way round: L, the highest total graded 2, below
// U, the lowest graded 10. Otherwise every total falls on one side of them
// and each candidate grades alike.
bool criteria_in_order(double lower, double upper);
bool criteria_in_order(const Sheet &sheet);

// The candidate list texts ("6.35"), empty when no total holds a score or
// the criteria are the wrong way round. L and U are read from the sheet's
// criteria texts.
QStringList make_candidates(const Sheet &sheet);
// The same from a total column's texts by grid row ([0] the title, skipped).
QStringList make_candidates(const QStringList &totals, double lower, double upper);

// Writes candidate k's grades into the grade column.
void write_grades(Sheet &sheet, int k);
// The same on a grade column's texts by grid row, from the total column's;
// a row without a total keeps its grade.
void write_grades(int k, const QStringList &totals, double lower, double upper,
                QStringList &grades);

struct GradeCounts {
    std::array<int, 11> counts{};  // counts[g] for grades 0..10; 0 means no grade
    int graded = 0;                // counts[1] + ... + counts[10]
    QString graded_text() const;   // "35人"
};
GradeCounts count_grades(const Sheet &sheet);
// The same from a grade column's texts by grid row ([0] the title, skipped).
GradeCounts count_grades(const QStringList &grades);

// The grade column as it was when the evaluation command last ran. Slots are
// kept from one evaluation to the next and grow with the sheet.
class GradeBackup : public RowFollower
{
public:
    void save(const Sheet &sheet);     // rows 1 .. Rows-1
    void restore(Sheet &sheet) const;  // rows 1 .. Rows-1 as they are now
    QString slot(int row) const;
    // Rows inserted or removed since the save: each grade stays with its
    // student, a new student has none.
    void insert_rows(int at, int count);
    void remove_rows(int at, int count);
    // As a sheet's row follower: the grades of removed rows come back when
    // the removal is undone.
    QVariant take_rows(int at, int count) override;
    void put_rows(int at, int count, const QVariant &kept) override;

private:
    QStringList slots_;  // slots_[r] for row r; slot 0 unused
};

}  // namespace grading

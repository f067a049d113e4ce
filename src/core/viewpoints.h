#pragma once

#include "viewpointsettings.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

class Sheet;

// Viewpoint grading (観点別評価): per student and viewpoint the achievement
// rate over the marks of that viewpoint's columns and its letter A / B / C,
// then the 評定 1-5 from the letters; hand-set values kept, the checks a
// record office makes, the distributions, writing the result columns and the
// text for the school's record system.
namespace viewpoints {

// The letter of a student with no mark in a viewpoint.
QString no_letter();  // "－"
// The title of the last result column.
QString grade_title();  // "評定"
// The result columns' titles: each viewpoint's name, then 評定.
QStringList result_titles(const ViewpointSettings &settings);

// Each score column's viewpoint by slot ([k - 1] for slot k), 0 for none.
QList<int> column_viewpoints(const Sheet &sheet);
// Sets them from a list like that of the batch command: short names, "-"
// for none. Empty when done, otherwise why not (unknown name, wrong count).
QString set_column_viewpoints(Sheet &sheet, const QString &list);

// A rate as shown and printed: percent cut (not rounded) to one decimal, so
// that it reads 80 only when it reaches 80; "" for no mark.
QString rate_text(double rate);
// The letter of a rate in percent; rate < 0 means no mark: no_letter().
QString letter_of(double rate, const ViewpointSettings &settings);
// 評定 from letters by the points table, 0 when a letter is missing.
int grade_of_letters(const QStringList &letters, const ViewpointSettings &settings);
// 評定 from rates (percent, < 0 none) by the rate bounds, 0 when one is missing.
int grade_of_rates(const QList<double> &rates, const ViewpointSettings &settings);

// One value shown in a result column.
struct Item {
    QString value;     // what the column shows: a letter, "1".."5", "－" or ""
    QString computed;  // what a recomputation gives
    bool hand_set = false;
    // A hand-set value that a recomputation would not give.
    bool differs() const { return hand_set && value != computed; }
};

struct Student {
    int row = 0;              // grid row
    bool has_mark = false;    // a mark in some viewpoint
    QList<double> rates;      // percent per viewpoint, -1 when no mark there
    QList<Item> letters;      // per viewpoint
    Item grade;               // 評定
    QStringList checks;       // reasons to look again, empty when none
};

// A value set by hand in the panel, not yet written. item: the viewpoint's
// index (0-based), or the viewpoint count for 評定. An empty value takes the
// hand setting away (the computed value returns).
struct Correction {
    int row = 0;
    int item = 0;
    QString value;
};

struct Result {
    ViewpointSettings settings;
    QList<Student> students;  // one per grid row from 1, in row order
    // Students with at least one check: what 要確認 counts.
    int checked_count() const;
};

// Computes every student's rates, letters and 評定 by the given settings and
// the columns' viewpoints. Hand-set values already in the sheet's result
// columns are kept, then the pending corrections are applied over them.
Result compute(const Sheet &sheet, const ViewpointSettings &settings,
               const QList<Correction> &pending = {});
// The same with the sheet's own settings.
Result compute(const Sheet &sheet);

// "知: 手入力 A（再計算では B）" for each hand-set value a recomputation
// would change.
QStringList recomputation_notes(const Result &result, const Student &student);

struct Distribution {
    QList<std::array<int, 3>> letters;  // per viewpoint: A, B, C
    std::array<int, 5> grades{};        // 評定 1..5 at [0]..[4]
    int graded = 0;                     // students with a 評定
    double grade_average = 0;           // of those, 0 when none
};
Distribution distribution(const Result &result);
// The same from result columns as a sheet holds them (the report).
Distribution distribution(const Sheet &sheet);
// From result columns' texts by grid row ([0] the title): the letters'
// columns, then 評定's.
Distribution distribution(const QList<QStringList> &columns);
// A's, B's and C's of each viewpoint and the grades added up; the widest
// keeps its viewpoints.
void add(Distribution &to, const Distribution &from);

// Writes the result into the sheet: the settings, one result column per
// viewpoint and 評定 (added or removed to fit, titled), every letter and
// 評定, hand-set marks as the result has them. The caller makes it one
// undo step.
void write_results(Sheet &sheet, const Result &result);

// 年, 組, NO, 氏名, each letter and 評定, TAB-separated, one student row a
// line (rows with a name or a result), CR LF between lines, from the
// result columns as the sheet holds them. Empty without result columns.
QString clipboard_text(const Sheet &sheet);

}  // namespace viewpoints

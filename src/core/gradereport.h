#pragma once

#include "grading.h"
#include "marks.h"
#include "viewpoints.h"

#include <QList>
#include <QString>
#include <QStringList>

// The grade-meeting report: every class's totals and grades side by side and
// all of them together, with the statistics the evaluation panel shows.
namespace gradereport {

struct ClassResult {
    QString name;     // the file as the teacher gave it, or the sheet's caption
    QString file;     // real_path() of the file it came from; empty for a sheet never saved
    QString problem;  // why the file could not be read; empty when it was
    bool partly_read = false;  // the file was read only up to where problem says
    marks::Statistics totals;     // over the totals as the file holds them
    grading::GradeCounts grades;  // from the grade column as saved
    QStringList total_texts;      // the total column by grid row, for the whole year
    // Letters and 評定 1-5 counted from the result columns, when it has them.
    viewpoints::Distribution viewpoints;
    QStringList viewpoint_names;  // short names, by position

    bool readable() const { return problem.isEmpty(); }
    // Grades are decided once the grade column holds any.
    bool decided() const { return readable() && grades.graded > 0; }
    // 評定平均: the average grade, of every grade the table shows (1 to 10);
    // 0 when none is decided.
    double grade_average() const;
    // The note on a class left out of the numbers; empty when it counts.
    QString left_out_note() const;
};

// The file a path names, links and "." resolved: a file given twice under
// two paths is still one class.
QString real_path(const QString &path);

// A class from its total and grade columns' texts by grid row ([0] the title).
ClassResult of_columns(const QString &name, const QStringList &totals, const QStringList &grades);
// An open sheet as it stands: totals, grades and result columns.
ClassResult of_sheet(const QString &name, const Sheet &sheet);
// A sheet file as saved: its total and grade columns, or why it could not be
// read. When the file is no sheet file of this program, foreign_skip gets
// what to say on leaving it out of a folder's files (empty otherwise).
ClassResult of_file(const QString &path, QString *foreign_skip = nullptr);
// A class that could not be read.
ClassResult unreadable(const QString &name, const QString &problem);

struct Report {
    QList<ClassResult> classes;
    // The readable classes together; its grades are those of the decided ones.
    ClassResult all;
    int decided_classes = 0;
    int readable_classes = 0;
    // Viewpoints of the widest class with results, by position; none when
    // no class has any, and then no line has their fields.
    QStringList viewpoint_names;
    int viewpoint_classes = 0;  // readable classes with 評定 1-5
};
Report combine(QList<ClassResult> classes);

// The name of the line for all classes together.
QString all_name();

// The column titles, in the order of every line's fields.
QStringList field_titles();
// One line's fields: empty where there is no number (no total, grades not
// decided), and a note on what the numbers are or why there are none.
QStringList fields(const ClassResult &result, bool is_all, const Report &report);
// One tab-separated line per class and one for all of them, each ending in
// "\n"; a backslash, tab, line feed or carriage return in a field is written
// \\, \t, \n or \r, so that a file name cannot split a line.
QString tsv(const Report &report);

// The viewpoint table: A, B and C of each viewpoint, 評定 1-5 and their
// average, empty where a class has none; the titles start with the sheet's.
QStringList viewpoint_titles(const Report &report);
QStringList viewpoint_fields(const ClassResult &result, bool is_all, const Report &report);

}  // namespace gradereport

#pragma once

#include <QString>

class Sheet;

// Inserting and deleting columns and rows. On a sheet with the evaluation
// layout the fixed data columns, the total and the grade column stay in place
// and only score columns come and go; a plain sheet is headed with letters
// after a change of its columns. Each operation either changes the sheet or
// refuses with the message the teacher is shown, and then changes nothing.
namespace structure {

inline constexpr int kMaxCols = 450;
inline constexpr int kMaxRows = 450;

QString too_many_columns();  // これ以上列を増やすことは出来ません。
QString needed_columns();    // 必要な列の削除は出来ません。
QString all_columns();       // 全列の削除は出来ません。
QString too_many_rows();     // これ以上行を増やすことはできません。
QString all_rows();          // 全行の削除は出来ません。

struct Result {
    QString refusal;  // empty when the sheet was changed (or nothing was to do)
    int first = -1;   // the first column or row treated
    int count = 0;    // how many were treated
};

// Inserts count empty columns in front of col (in front of the total column
// on an evaluation sheet), each unit_width × 4 wide; the first new column
// becomes the current column.
Result insert_columns(Sheet &sheet, int col, int count, double unit_width);

// Deletes count columns from col; selected is how many columns the grid's
// selection covers, for the whole-sheet check.
Result delete_columns(Sheet &sheet, int col, int count, int selected);

// Inserts count empty rows in front of row (never in front of the title
// row); the first new row, column 1, becomes the current cell.
Result insert_rows(Sheet &sheet, int row, int count);

// Deletes count rows from row (never the title row, never every data row).
Result delete_rows(Sheet &sheet, int row, int count);

// 1: column headings "A" .. "Z", "AA" .. "AZ", "AA" .. for a plain sheet;
// anything else: row numbers " 1", " 2", ... in column 0.
void set_headings(Sheet &sheet, int which);

// A score column title the program may renumber: empty, or "点" and a number.
bool is_numbered_title(const QString &title);

}  // namespace structure

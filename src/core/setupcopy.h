#pragma once

class Sheet;

// A class's set-up taken over by the sheet of the next class: the columns with
// their titles and widths, each score column's full marks and weight, and both
// criteria. No student, mark, total, grade or chosen candidate comes along.
namespace setupcopy {

// to is a sheet as a new sheet window builds it.
void copy_setup(const Sheet &from, Sheet &to);

}  // namespace setupcopy

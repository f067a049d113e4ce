#pragma once

#include <QString>
#include <functional>

class Sheet;

// The sheet and the clipboard: the selected rectangle as tab-separated text
// with CR LF line ends, and a block of such text pasted into the grid.
namespace cliptext {

// The selected rectangle: cells joined by TAB, each row ended by CR LF.
QString copy_text(const Sheet &sheet);

// As copy_text without the last CR LF; the cells are emptied and the
// rectangle's top-left cell becomes the current cell.
QString cut(Sheet &sheet);

// Empties the selected cells.
void delete_contents(Sheet &sheet);

// Selects the whole grid from the title row down, the row numbers excepted;
// the title of column 1 becomes the current cell.
void select_all(Sheet &sheet);

// The text a cell may hold, as the editor and a paste keep it: one line, no
// control character (a NUL would go into the sheet file). Line ends and tabs
// at the end are dropped, each one inside becomes a space (CR LF as one);
// other control characters are dropped.
QString one_line(const QString &text);

// Text a spreadsheet puts on the clipboard for more than one cell: a TAB, or
// a line end with more text after it.
bool is_block(const QString &text);

// Why a block that starts on the total or grade column and is wider than
// the columns left is not pasted.
QString paste_the_edge();

struct PasteResult {
    QString refusal;  // the message when the block does not fit: nothing pasted
    int lines = 0;    // lines written
};

// Pastes text from the current cell on: one line a row down, one field a
// column right; CR LF or LF ends a line, TAB or comma a field, except inside
// a quoted field; each field is kept as one_line keeps it. The whole block is checked
// first: rows or columns it would add beyond the limits refuse it. Columns
// missing on the right are added: on an evaluation sheet in front of the
// total column (a block copied from a whole sheet, its last two titles the
// total's and one beginning with 評価, keeps its total and grade in those
// columns), on a plain sheet at the end. Rows missing at the bottom are
// appended, with one empty row after them. progress, if given, hears the
// number of lines written so far.
PasteResult paste(Sheet &sheet, const QString &text, double unit_width,
                 const std::function<void(int)> &progress = {});

}  // namespace cliptext

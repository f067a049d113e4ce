// Clipboard text pasted into a new sheet. Input: five set-up bytes, then the
// text. Byte 0 shapes the sheet; bytes 1 and 2 pick a cell that gets the text
// before the first NUL as it is, so texts a paste cannot make (line ends,
// quotes mid-cell) reach the writer too; bytes 3 and 4 pick where the paste
// starts. Long texts reach the row and column limits by themselves.
#include "cliptext.h"
#include "fuzz_check.h"
#include "sheet.h"
#include "sheetfile.h"
#include "structure.h"

#include <utility>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 5)
        return 0;
    Sheet sheet;
    sheet.build_new(120);
    const uint8_t shape = data[0];
    if (shape & 1)
        sheet.set_text(0, sheet.cols() - 1, QStringLiteral("成績"));  // a plain sheet
    if (shape & 2)
        structure::insert_columns(sheet, sheet.col(), 1 + (shape >> 2 & 7), 120);
    // Mostly a short class: with a character code page 932 lacks, writing 100
    // rows of 450 columns takes a tenth of a second under the sanitizers.
    if (!(shape & 0x40))
        sheet.remove_rows(11, sheet.rows() - 11);
    auto cell_at = [&sheet](uint8_t r, uint8_t c) {
        return std::pair{r * sheet.rows() / 256, c % sheet.cols()};
    };

    QString text = text_of(data + 5, size - 5);
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0) {
        const auto [r, c] = cell_at(data[1], data[2]);
        sheet.set_text(r, c, text.left(nul));
        text.remove(0, nul + 1);
    }
    const auto [r0, c0] = cell_at(data[3], data[4]);
    sheet.set_current_cell(r0, c0);

    const int rows = sheet.rows(), cols = sheet.cols();
    const cliptext::PasteResult result = cliptext::paste(sheet, text, 120);
    check(sheet.rows() <= structure::kMaxRows && sheet.cols() <= structure::kMaxCols,
          "a paste keeps the sheet within 450 rows and 450 columns");
    check(sheet.row() < sheet.rows() && sheet.col() < sheet.cols(),
          "the current cell stays in the grid");
    if (!result.refusal.isEmpty())
        check(sheet.rows() == rows && sheet.cols() == cols && result.lines == 0,
              "a refused paste changes nothing");
    else
        check(sheet.rows() >= rows && sheet.cols() >= cols, "a paste never shrinks the sheet");

    // Whatever a paste put in the cells, a save and a reopen must give it back.
    const QByteArray once = sheetfile::encode(sheet);
    Sheet back;
    const sheetfile::ReadResult read = sheetfile::read_bytes(once, back, 120);
    check(read.outcome == sheetfile::ReadOutcome::Complete, "a written sheet reads back complete",
          read.reason);
    const QByteArray twice = sheetfile::encode(back);
    check(once == twice, "a sheet written, read back and written again gives the same bytes",
          first_difference(once, twice));
    return 0;
}

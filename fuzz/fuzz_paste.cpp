// Clipboard text pasted into a new sheet. Input: five set-up bytes, then the
// text. Byte 0 shapes the sheet; bytes 1 and 2 pick a cell that gets the text
// before the first NUL as it is, so texts a paste cannot make (line ends,
// quotes mid-cell) reach the writer too; bytes 3 and 4 pick where the paste
// starts. Long texts reach the row and column limits by themselves.
//
// Only the texts the paste wrote are saved and read back, in a small sheet
// of their own: a paste that grows the sheet to hundreds of columns would
// otherwise spend the minute writing and reading empty cells.
#include "cliptext.h"
#include "fuzz_check.h"
#include "sheet.h"
#include "sheetfile.h"
#include "structure.h"

#include <set>
#include <utility>

namespace {

// Every text of the given rows, in the order written, side by side in rows
// as wide as a new sheet's. Where a text stood does not matter to the file,
// which writes every field alike; column 0 (the row numbers) is never saved.
void copy_written(const Sheet &sheet, const std::set<int> &rows, Sheet &part)
{
    QList<QString> texts;
    for (int r : rows) {
        for (int c = 1; c < sheet.cols(); ++c) {
            if (!sheet.text(r, c).isEmpty())
                texts.append(sheet.text(r, c));
        }
    }
    constexpr int width = Sheet::kNewCols - 1;
    part.set_cols(Sheet::kNewCols);
    part.set_rows(qMax(int((texts.size() + width - 1) / width), 1));
    for (qsizetype i = 0; i < texts.size(); i += width)
        part.set_row_texts(int(i / width), 1, texts.mid(i, width));
}

}  // namespace

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
    // Mostly a short class: columns a paste adds go into every row, so a wide
    // paste into the new sheet's 100 rows costs ten times as much.
    if (!(shape & 0x40))
        sheet.remove_rows(11, sheet.rows() - 11);
    auto cell_at = [&sheet](uint8_t r, uint8_t c) {
        return std::pair{r * sheet.rows() / 256, c % sheet.cols()};
    };

    std::set<int> written{0};
    QString text = text_of(data + 5, size - 5);
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0) {
        const auto [r, c] = cell_at(data[1], data[2]);
        sheet.set_text(r, c, text.left(nul));
        text.remove(0, nul + 1);
        written.insert(r);
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
    for (int line = 0; line < result.lines; ++line)
        written.insert(r0 + line);
    Sheet part;
    copy_written(sheet, written, part);
    const QByteArray once = sheetfile::encode(part);
    Sheet back;
    const sheetfile::ReadResult read = sheetfile::read_bytes(once, back, 120);
    check(read.outcome == sheetfile::ReadOutcome::Complete, "a written sheet reads back complete",
          read.reason);
    const QByteArray twice = sheetfile::encode(back);
    check(once == twice, "a sheet written, read back and written again gives the same bytes",
          first_difference(once, twice));
    return 0;
}

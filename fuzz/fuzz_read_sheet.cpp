// Any bytes opened as a sheet file: the reader must survive them, and what it
// makes of them must write the same bytes after one more read. A save and a
// reopen may never change a sheet a second time. The batch command's reading
// of the numbers alone must evaluate the same as the whole sheet, and save
// the same bytes, or leave the save to the whole sheet only when it must.
// Decoding a line a run at a time reads it as decoding it whole does.
#include "codepage932.h"
#include "fuzz_check.h"
#include "grading.h"
#include "numbers.h"
#include "scoring.h"
#include "sheet.h"
#include "sheetfile.h"

#include <optional>

using sheetfile::ReadOutcome;

namespace {

void check_scores_agree(const QByteArray &bytes, const sheetfile::ReadResult &read, Sheet &sheet)
{
    sheetfile::Scores scores;
    const sheetfile::ReadResult alone =
        sheetfile::read_scores_from_bytes(bytes, scores, sheetfile::KeepRows::Yes);
    check(alone.outcome == read.outcome && alone.reason == read.reason,
          "reading the numbers alone ends as reading the sheet", alone.reason);
    if (read.outcome != ReadOutcome::Complete)
        return;
    scoring::raise_full_marks(scores.grid, scores.full_marks, scoring::given_where_set(scores.full_marks));
    check(scores.grid.above().size() == scoring::marks_above_full_marks(sheet).size(),
          "the numbers alone find the sheet's marks above full marks");
    scoring::write_totals(scores.grid, scores.full_marks, scores.totals);
    scoring::compute_totals(sheet);
    check(scores.totals == sheet.column_texts(sheet.total_col()),
          "the numbers alone give the sheet's totals");
    const double lower = numbers::leading_number(scores.lower_text);
    const double upper = numbers::leading_number(scores.upper_text);
    const QStringList candidates = grading::make_candidates(scores.totals, lower, upper);
    check(candidates == grading::make_candidates(sheet), "the numbers alone give the sheet's candidates");
    int candidate = scores.candidate;
    if (!candidates.isEmpty()) {
        candidate = int(size_t(bytes.size()) % grading::kCandidates);
        grading::write_grades(candidate, scores.totals, lower, upper, scores.grades);
        grading::write_grades(sheet, candidate);
        sheet.set_candidate_index(candidate);
        check(scores.grades.mid(1) == sheet.column_texts(sheet.grade_col()).mid(1),
              "the numbers alone give the sheet's grades");
    }
    check(candidate == sheet.candidate_index(), "the numbers alone keep the sheet's candidate");
    const std::optional<QByteArray> saved =
        sheetfile::encode_evaluated(scores, scores.lower_text, scores.upper_text, candidate);
    if (saved) {
        const QByteArray whole = sheetfile::encode(sheet);
        check(*saved == whole, "the numbers alone save the evaluated sheet's bytes",
              first_difference(*saved, whole));
    } else {
        check(scores.has_viewpoint_fields || sheetfile::find_unencodable(sheet).has_value(),
              "the numbers alone leave the save to the whole sheet only when they must");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    cp932::LineDecoder decoder;
    check(decoder.decode(bytes) == cp932::decode_line(bytes),
          "a line decoded a run at a time reads as decoded whole");
    Sheet first;
    const sheetfile::ReadResult read = sheetfile::read_bytes(bytes, first, 120);
    // Neither leaves a sheet of the file's own to write back.
    if (read.outcome == ReadOutcome::Foreign || read.outcome == ReadOutcome::Refused) {
        check_scores_agree(bytes, read, first);
        return 0;
    }
    const QByteArray once = sheetfile::encode(first);

    Sheet second;
    const sheetfile::ReadResult again = sheetfile::read_bytes(once, second, 120);
    check(again.outcome == ReadOutcome::Complete, "a written sheet reads back complete",
          again.reason);
    const QByteArray twice = sheetfile::encode(second);
    check(once == twice, "a sheet written, read back and written again gives the same bytes",
          first_difference(once, twice));
    check_scores_agree(bytes, read, first);
    return 0;
}

// The viewpoint grading command's core time on the largest sheet it meets
// (450 rows, 440 score columns over three viewpoints, so its four result
// columns take the grid past 450 columns), beside the totals of the same
// sheet for scale.
#include "scoring.h"
#include "sheet.h"
#include "viewpoints.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kScoreColumns = 440;

void build_largest(Sheet &sheet)
{
    sheet.build_new(120);
    sheet.set_cols(kScoreColumns + 7);
    sheet.set_rows(Sheet::kMaxRows);
    sheet.set_text(0, sheet.total_col(), u"総合点"_s);
    sheet.set_text(0, sheet.grade_col(), u"評価･評定"_s);
    for (int k = 1; k <= kScoreColumns; ++k) {
        ScoreSettings s = sheet.settings(k);
        s.viewpoint = 1 + k % 3;
        s.full_marks = 100;
        s.full_marks_given = k % 2 == 0;
        sheet.set_settings(k, s);
    }
    for (int r = 1; r < sheet.rows(); ++r) {
        sheet.set_text(r, 4, u"生徒"_s + QString::number(r));
        for (int k = 1; k <= kScoreColumns; ++k)
            sheet.set_text(r, k + 4, (r + k) % 97 == 0 ? u"欠"_s : QString::number((r * 37 + k * 11) % 101));
    }
}

// Everything the command does once the teacher asks: rates, letters, 評定,
// checks, the distributions, and writing the result columns.
void BM_ViewpointCommand(benchmark::State &state)
{
    Sheet sheet;
    build_largest(sheet);
    for (auto _ : state) {
        const viewpoints::Result result = viewpoints::compute(sheet);
        const viewpoints::Distribution counts = viewpoints::distribution(result);
        viewpoints::write_results(sheet, result);
        benchmark::DoNotOptimize(counts);
    }
    if (sheet.cols() != kScoreColumns + 7 + 4)
        state.SkipWithError("the result columns are missing");
}
BENCHMARK(BM_ViewpointCommand)->Unit(benchmark::kMillisecond);

// The yardstick: the totals of the same sheet.
void BM_Totals(benchmark::State &state)
{
    Sheet sheet;
    build_largest(sheet);
    for (auto _ : state)
        benchmark::DoNotOptimize(scoring::compute_totals(sheet));
}
BENCHMARK(BM_Totals)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Undoing and redoing the deletion of nine columns of the largest sheet
// (450 × 450), each beside the deletion itself in the same run; the aim is
// no more than twice its cost.
#include "history.h"
#include "sheet.h"
#include "structure.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

struct Largest {
    Sheet sheet;
    SheetHistory history{sheet};

    Largest()
    {
        sheet.set_recorder(nullptr);  // filled without history
        sheet.build_new(120);
        sheet.set_cols(Sheet::kMaxCols);
        sheet.set_rows(Sheet::kMaxRows);
        for (int r = 1; r < sheet.rows(); ++r)
            for (int c = 4; c < sheet.cols() - 2; ++c)
                sheet.set_text(r, c, QString::number((r * 37 + c * 11) % 101));
        sheet.set_recorder(&history);
    }

    void delete_nine()
    {
        sheet.set_current_cell(1, 10);
        sheet.set_selection_end(1, 18);
        structure::delete_columns(sheet, 10, 9, 9);
        history.close_step();
    }
};

void BM_DeleteNineColumns(benchmark::State &state)
{
    Largest largest;
    for (auto _ : state) {
        largest.delete_nine();
        state.PauseTiming();
        largest.history.undo();
        state.ResumeTiming();
    }
}

void BM_UndoDeleteNineColumns(benchmark::State &state)
{
    Largest largest;
    for (auto _ : state) {
        state.PauseTiming();
        largest.delete_nine();
        state.ResumeTiming();
        largest.history.undo();
    }
}

void BM_RedoDeleteNineColumns(benchmark::State &state)
{
    Largest largest;
    largest.delete_nine();
    largest.history.undo();
    for (auto _ : state) {
        largest.history.redo();
        state.PauseTiming();
        largest.history.undo();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_DeleteNineColumns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoDeleteNineColumns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDeleteNineColumns)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

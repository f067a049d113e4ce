// The evaluation command on the largest sheet (450 rows, 443 score columns):
// the core computation alone, the whole batch command on that sheet's file,
// and, for scale, only decoding the same file's bytes.
#include "benchsheet.h"
#include "cli.h"
#include "grading.h"
#include "scoring.h"
#include "sheet.h"
#include "sheetfile.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCandidate = 15;

// Scores 0 to 100 (one to three characters), no full marks typed, so the
// computation also raises every column's full marks.
void build_largest(Sheet &sheet)
{
    fill_with_marks(sheet, Sheet::kMaxRows, Sheet::kMaxCols);
}

// The sheet file of the largest sheet, written once for the whole run.
struct LargestFile {
    QTemporaryDir dir;
    QString path;
    QByteArray bytes;

    LargestFile()
    {
        Sheet sheet;
        build_largest(sheet);
        bytes = sheetfile::encode(sheet);
        path = dir.filePath(u"largest.csv"_s);
        if (!sheetfile::write_file(path, bytes).ok)
            qFatal("cannot write the benchmark's sheet file");
    }
};

const LargestFile &largest_file()
{
    static const LargestFile file;
    return file;
}

void BM_EvaluationComputation(benchmark::State &state)
{
    Sheet sheet;
    build_largest(sheet);
    for (auto _ : state) {
        const scoring::TotalStatistics stats = scoring::compute_totals(sheet);
        const QStringList candidates = grading::make_candidates(sheet);
        grading::write_grades(sheet, kCandidate);
        const grading::GradeCounts counts = grading::count_grades(sheet);
        benchmark::DoNotOptimize(stats);
        benchmark::DoNotOptimize(candidates);
        benchmark::DoNotOptimize(counts);
    }
}
BENCHMARK(BM_EvaluationComputation)->Unit(benchmark::kMillisecond);

void run_command(benchmark::State &state, const QStringList &extra)
{
    const LargestFile &file = largest_file();
    const QStringList args =
        QStringList{u"ponsaiten"_s, u"evaluate"_s, file.path, u"--candidate"_s,
                    QString::number(kCandidate)}
        + extra;
    for (auto _ : state) {
        QString out_text, err_text;
        QTextStream out(&out_text), err(&err_text);
        if (cli::run(args, out, err) != cli::kExitOk) {
            state.SkipWithError("evaluate failed");
            break;
        }
        out.flush();
        benchmark::DoNotOptimize(out_text);
    }
    state.SetBytesProcessed(state.iterations() * file.bytes.size());
}

void BM_EvaluateCommand(benchmark::State &state)
{
    run_command(state, {});
}
BENCHMARK(BM_EvaluateCommand)->Unit(benchmark::kMillisecond);

void BM_EvaluateCommandWithOutput(benchmark::State &state)
{
    const LargestFile &file = largest_file();
    run_command(state, {u"-o"_s, file.dir.filePath(u"graded.csv"_s)});
}
BENCHMARK(BM_EvaluateCommandWithOutput)->Unit(benchmark::kMillisecond);

void BM_DecodeOnly(benchmark::State &state)
{
    const LargestFile &file = largest_file();
    if (!QStringDecoder("Windows-31J").isValid()) {
        state.SkipWithError("no Windows-31J decoder");
        return;
    }
    for (auto _ : state) {
        QStringDecoder decoder("Windows-31J");
        const QString text = decoder.decode(file.bytes);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(state.iterations() * file.bytes.size());
}
BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

#include "sheet.h"
#include "sheetfile.h"

#include <QSignalBlocker>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

// Reading and writing the largest sheet, each beside the bare code page 932
// conversion of the same bytes: the ratio says what the file logic costs.

namespace {

// 450 rows by 450 columns of scores of up to three characters.
const Sheet &largest_sheet()
{
    static const Sheet *sheet = [] {
        auto *s = new Sheet;
        s->build_new(120);
        s->set_rows(Sheet::kMaxRows);
        s->set_cols(Sheet::kMaxCols);
        for (int r = 0; r < s->rows(); ++r)
            for (int c = 1; c < s->cols(); ++c)
                s->set_text(r, c, QString::number((r * 31 + c * 17) % 1000));
        return s;
    }();
    return *sheet;
}

const QByteArray &largest_bytes()
{
    static const QByteArray bytes = sheetfile::encode(largest_sheet());
    return bytes;
}

// As the program reads: into the new sheet of a new sheet window. Building
// that sheet and, later, freeing the grid read are not part of reading.
void BM_ReadSheet(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto sheet = std::make_unique<Sheet>();
        sheet->build_new(120);
        state.ResumeTiming();
        const sheetfile::ReadResult result = sheetfile::read_bytes(largest_bytes(), *sheet, 120);
        benchmark::DoNotOptimize(result.outcome);
        state.PauseTiming();
        sheet.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * largest_bytes().size());
}

// Reading over a sheet that already holds the largest grid, which the read
// first has to free.
void BM_ReadSheetOverFullSheet(benchmark::State &state)
{
    Sheet sheet;
    sheetfile::read_bytes(largest_bytes(), sheet, 120);
    for (auto _ : state) {
        const sheetfile::ReadResult result = sheetfile::read_bytes(largest_bytes(), sheet, 120);
        benchmark::DoNotOptimize(result.outcome);
    }
    state.SetBytesProcessed(state.iterations() * largest_bytes().size());
}

// The grid model's own share of a read: a new sheet grown to the largest
// size and every cell set, with the texts already at hand.
void BM_FillSheetOnly(benchmark::State &state)
{
    const Sheet &source = largest_sheet();
    for (auto _ : state) {
        state.PauseTiming();
        auto sheet = std::make_unique<Sheet>();
        sheet->build_new(120);
        state.ResumeTiming();
        {
            const QSignalBlocker quiet(sheet.get());
            sheet->set_rows(source.rows());
            sheet->set_cols(source.cols());
            for (int r = 0; r < source.rows(); ++r)
                for (int c = 1; c < source.cols(); ++c)
                    sheet->set_text(r, c, source.text(r, c));
        }
        state.PauseTiming();
        sheet.reset();
        state.ResumeTiming();
    }
}

void BM_DecodeOnly(benchmark::State &state)
{
    for (auto _ : state) {
        QStringDecoder decoder("Windows-31J");
        const QString text = decoder(largest_bytes());
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * largest_bytes().size());
}

void BM_WriteSheet(benchmark::State &state)
{
    const Sheet &sheet = largest_sheet();
    for (auto _ : state) {
        const QByteArray bytes = sheetfile::encode(sheet);
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * largest_bytes().size());
}

void BM_EncodeOnly(benchmark::State &state)
{
    QStringDecoder decoder("Windows-31J");
    const QString text = decoder(largest_bytes());
    for (auto _ : state) {
        QStringEncoder encoder("Windows-31J");
        const QByteArray bytes = encoder(text);
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * largest_bytes().size());
}

// Checking for characters code page 932 cannot hold, done before every save.
void BM_FindUnencodable(benchmark::State &state)
{
    const Sheet &sheet = largest_sheet();
    for (auto _ : state) {
        const auto hit = sheetfile::find_unencodable(sheet);
        benchmark::DoNotOptimize(hit.has_value());
    }
}

// The same with the disk: the atomic save and the read of a real file.
void BM_SaveAndReadFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("largest.csv"));
    Sheet sheet;
    for (auto _ : state) {
        const bool ok = sheetfile::write_file(path, sheetfile::encode(largest_sheet())).ok;
        const sheetfile::ReadResult result = sheetfile::read_file(path, sheet, 120);
        if (!ok || result.outcome != sheetfile::ReadOutcome::Complete)
            state.SkipWithError("save or read failed");
    }
}

}  // namespace

BENCHMARK(BM_ReadSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSheetOverFullSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillSheetOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindUnencodable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAndReadFile)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

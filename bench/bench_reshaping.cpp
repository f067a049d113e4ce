// Pasting a 449 × 443 block of marks into a new sheet, and inserting nine
// columns into a sheet of 450 rows and 441 columns: through a sheet window
// (offscreen, shown, with its editor, panels and grid) and, beside it, the
// core alone on the same data. Read the ratio of each pair.
#include "app/mainwindow.h"
#include "cliptext.h"
#include "common/twips.h"
#include "sheet.h"
#include "sheet/sheetwindow.h"
#include "sheet/structurecommands.h"
#include "silentprompter.h"
#include "structure.h"

#include <QApplication>
#include <QClipboard>
#include <benchmark/benchmark.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr double kUnit = 120;

const QString &block()
{
    static const QString text = [] {
        QString t;
        for (int r = 1; r <= 449; ++r) {
            for (int k = 1; k <= 443; ++k) {
                t += QString::number((r * 37 + k * 11) % 101);
                t += k < 443 ? u'\t' : u'\r';
            }
            t += u'\n';
        }
        return t;
    }();
    return text;
}

void fill_wide(Sheet &sheet)
{
    const Sheet::Batch batch(sheet);  // a window's views hear of it once
    sheet.set_cols(441);
    sheet.set_rows(450);
    sheet.set_text(0, sheet.grade_col(), u"評価･評定"_s);
    for (int r = 1; r < sheet.rows(); ++r)
        for (int c = 1; c < sheet.cols(); ++c)
            sheet.set_text(r, c, QString::number((r + c) % 101));
}

struct Frame {
    SilentPrompter prompter;
    std::unique_ptr<MainWindow> main = std::make_unique<MainWindow>(prompter);
    Frame() { main->show(); }
    ~Frame()
    {
        for (SheetWindow *sheet : main->sheets())
            sheet->set_never_prompt();
    }
    SheetWindow *fresh_sheet()
    {
        for (SheetWindow *sheet : main->sheets()) {
            sheet->set_never_prompt();
            sheet->close_window();
        }
        return main->create_sheet();
    }
};

void BM_PasteCore(benchmark::State &state)
{
    std::unique_ptr<Sheet> sheet;
    for (auto _ : state) {
        state.PauseTiming();
        sheet = std::make_unique<Sheet>();  // the last one is taken down untimed
        sheet->build_new(kUnit);
        sheet->set_current_cell(1, 5);
        state.ResumeTiming();
        if (!cliptext::paste(*sheet, block(), kUnit).refusal.isEmpty())
            state.SkipWithError("paste refused");
    }
}

void BM_PasteWindow(benchmark::State &state)
{
    Frame frame;
    QGuiApplication::clipboard()->setText(block());
    for (auto _ : state) {
        state.PauseTiming();
        SheetWindow *sheet = frame.fresh_sheet();
        sheet->sheet()->set_current_cell(1, 5);
        QApplication::processEvents();
        state.ResumeTiming();
        sheet->run(Command::Paste);
        QApplication::processEvents();  // the repaint it caused
        if (sheet->sheet()->cols() != 450)
            state.SkipWithError("paste refused");
    }
}

void BM_InsertColumnsCore(benchmark::State &state)
{
    std::unique_ptr<Sheet> sheet;
    for (auto _ : state) {
        state.PauseTiming();
        sheet = std::make_unique<Sheet>();
        sheet->build_new(kUnit);
        fill_wide(*sheet);
        state.ResumeTiming();
        structure::insert_columns(*sheet, 6, 9, kUnit);
    }
}

void BM_InsertColumnsWindow(benchmark::State &state)
{
    Frame frame;
    for (auto _ : state) {
        state.PauseTiming();
        SheetWindow *sheet = frame.fresh_sheet();
        fill_wide(*sheet->sheet());
        QApplication::processEvents();
        state.ResumeTiming();
        sheet->structure_commands()->insert_columns(6, 9);
        if (state.range(0))
            QApplication::processEvents();  // the repaint it caused
        if (sheet->sheet()->cols() != 450)
            state.SkipWithError("insert refused");
    }
}

}  // namespace

// Fixed counts: making a fresh sheet for every run costs far more than
// what is timed, and the library would otherwise run it for minutes.
BENCHMARK(BM_PasteCore)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteWindow)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertColumnsCore)->Iterations(300)->Unit(benchmark::kMillisecond);
// 0: the command alone; 1: with the repaint it causes.
BENCHMARK(BM_InsertColumnsWindow)->Arg(0)->Arg(1)->Iterations(100)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

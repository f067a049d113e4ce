// The teacher's actions through a sheet window (offscreen, shown, each with
// the repaint it causes) beside a yardstick on the same data in the same run:
// the core alone, or for a cursor move and a one-cell repaint a bare
// QTableWidget of the same size. Each runs on a square sheet of 50 and of
// 450 rows and columns, and on a class sheet (41 rows, 20 columns: size 40).
// bench/window_ratio.sh prints the table of ratios.
#include "app/mainwindow.h"
#include "benchsheet.h"
#include "cliptext.h"
#include "evaluation/evaluationpanel.h"
#include "grading.h"
#include "history.h"
#include "scoring.h"
#include "sheet.h"
#include "sheet/celleditor.h"
#include "sheet/commands.h"
#include "sheet/filecommands.h"
#include "sheet/sheetgrid.h"
#include "sheet/sheetwindow.h"
#include "sheetfile.h"
#include "silentprompter.h"
#include "structure.h"

#include <QApplication>
#include <QClipboard>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr double kUnit = 120;
constexpr int kClass = 40;  // the size code of the class sheet

int rows_of(int size) { return size == kClass ? 41 : size; }
int cols_of(int size) { return size == kClass ? 20 : size; }
// Room for nine more columns or rows on the largest sheet.
int insert_cols(int size) { return std::min(cols_of(size), Sheet::kMaxCols - 9); }
int insert_rows(int size) { return std::min(rows_of(size), structure::kMaxRows - 9); }

// One sheet file per size and column count, written once for the run.
const QString &sheet_file(int size, int cols)
{
    static QTemporaryDir dir;
    static QHash<int, QString> paths;
    const int key = size * 1000 + cols;
    if (!paths.contains(key)) {
        Sheet sheet;
        sheet.build_new(kUnit);
        fill_with_marks(sheet, rows_of(size), cols);
        const QString path = dir.filePath(QString::number(key) + u".csv"_s);
        if (!sheetfile::write_file(path, sheetfile::encode(sheet)).ok)
            qFatal("cannot write the benchmark's sheet file");
        paths.insert(key, path);
    }
    return paths[key];
}

// A block of marks that makes a new sheet, pasted at column 5, the size's
// number of columns.
const QString &block(int size)
{
    static QHash<int, QString> blocks;
    if (!blocks.contains(size)) {
        const int rows = rows_of(size) - 1;
        const int cols = cols_of(size) - 7;
        QString t;
        for (int r = 1; r <= rows; ++r) {
            for (int k = 1; k <= cols; ++k) {
                t += QString::number((r * 37 + k * 11) % 101);
                t += k < cols ? u'\t' : u'\r';
            }
            t += u'\n';
        }
        blocks.insert(size, t);
    }
    return blocks[size];
}

struct Frame {
    SilentPrompter prompter;
    std::unique_ptr<MainWindow> main = std::make_unique<MainWindow>(prompter);
    Frame()
    {
        main->resize(1280, 960);
        main->show();
    }
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
        SheetWindow *sheet = main->create_sheet();
        sheet->showMaximized();
        QApplication::processEvents();
        return sheet;
    }
    // A sheet window holding the size's sheet read from its file.
    SheetWindow *read_sheet(int size, int cols)
    {
        SheetWindow *sheet = fresh_sheet();
        sheet->file_commands()->read_path(sheet_file(size, cols));
        QApplication::processEvents();
        return sheet;
    }
};

// The core's sheet of the same size, with its undo history.
struct CoreSheet {
    Sheet sheet;
    SheetHistory history{sheet};
    CoreSheet(int size, int cols)
    {
        sheet.set_recorder(nullptr);
        sheet.build_new(kUnit);
        fill_with_marks(sheet, rows_of(size), cols);
        sheet.set_recorder(&history);
    }
};

void settle()
{
    QApplication::processEvents();  // the repaint the action caused
}

void select_nine_columns(Sheet &sheet)
{
    sheet.set_current_cell(1, 6);
    sheet.set_selection_end(1, 14);
}

// --- Cursor moves: the arrow key down and back up --------------------------------

void BM_MoveWindow(benchmark::State &state)
{
    const int size = int(state.range(0));
    Frame frame;
    SheetWindow *sheet = frame.read_sheet(size, cols_of(size));
    sheet->sheet()->set_current_cell(5, 6);
    sheet->give_keys_to_editor();
    settle();
    bool down = true;
    for (auto _ : state) {
        QTest::keyClick(sheet->editor(), down ? Qt::Key_Down : Qt::Key_Up);
        settle();
        down = !down;
    }
}

void BM_MoveTable(benchmark::State &state)
{
    const int size = int(state.range(0));
    QTableWidget table(rows_of(size), cols_of(size));
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.columnCount(); ++c)
            table.setItem(r, c, new QTableWidgetItem(QString::number((r * 37 + c * 11) % 101)));
    table.resize(1280, 900);
    table.show();
    table.setCurrentCell(5, 6);
    table.setFocus();
    settle();
    bool down = true;
    for (auto _ : state) {
        QTest::keyClick(&table, down ? Qt::Key_Down : Qt::Key_Up);
        settle();
        down = !down;
    }
}

// --- Typing one digit into a cell: the one-cell repaint ---------------------------

void BM_TypeDigitWindow(benchmark::State &state)
{
    const int size = int(state.range(0));
    Frame frame;
    SheetWindow *sheet = frame.read_sheet(size, cols_of(size));
    int digit = 0;
    for (auto _ : state) {
        sheet->sheet()->set_text(5, 6, QString::number(digit++ % 10));
        settle();
    }
}

void BM_TypeDigitTable(benchmark::State &state)
{
    const int size = int(state.range(0));
    QTableWidget table(rows_of(size), cols_of(size));
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.columnCount(); ++c)
            table.setItem(r, c, new QTableWidgetItem(QString::number((r * 37 + c * 11) % 101)));
    table.resize(1280, 900);
    table.show();
    settle();
    int digit = 0;
    for (auto _ : state) {
        table.item(4, 5)->setText(QString::number(digit++ % 10));
        settle();
    }
}

// --- Repainting the whole view: what every change of shape costs -----------------

void BM_RepaintWindow(benchmark::State &state)
{
    const int size = int(state.range(0));
    Frame frame;
    SheetWindow *sheet = frame.read_sheet(size, cols_of(size));
    QWidget *view = sheet->grid()->viewport();
    for (auto _ : state)
        view->repaint();
}

void BM_RepaintTable(benchmark::State &state)
{
    const int size = int(state.range(0));
    QTableWidget table(rows_of(size), cols_of(size));
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.columnCount(); ++c)
            table.setItem(r, c, new QTableWidgetItem(QString::number((r * 37 + c * 11) % 101)));
    table.resize(1280, 900);
    table.show();
    settle();
    for (auto _ : state)
        table.viewport()->repaint();
}

// --- Inserting and deleting nine columns, and undoing the deletion ---------------

void BM_InsertColumnsWindow(benchmark::State &state)
{
    const int size = int(state.range(0));
    Frame frame;
    SheetWindow *sheet = frame.read_sheet(size, insert_cols(size));
    for (auto _ : state) {
        select_nine_columns(*sheet->sheet());
        sheet->run(Command::InsertColumns);
        settle();
        state.PauseTiming();
        sheet->run(Command::Undo);
        settle();
        state.ResumeTiming();
    }
}

void BM_InsertColumnsCore(benchmark::State &state)
{
    const int size = int(state.range(0));
    CoreSheet core(size, insert_cols(size));
    for (auto _ : state) {
        structure::insert_columns(core.sheet, 6, 9, kUnit);
        core.history.close_step();
        state.PauseTiming();
        core.history.undo();
        state.ResumeTiming();
    }
}

void BM_DeleteColumnsWindow(benchmark::State &state)
{
    const int size = int(state.range(0));
    Frame frame;
    SheetWindow *sheet = frame.read_sheet(size, cols_of(size));
    for (auto _ : state) {
        select_nine_columns(*sheet->sheet());
        sheet->run(Command::DeleteColumns);
        settle();
        state.PauseTiming();
        sheet->run(Command::Undo);
        settle();
        state.ResumeTiming();
    }
}

void BM_DeleteColumnsCore(benchmark::State &state)
{
    const int size = int(state.range(0));
    CoreSheet core(size, cols_of(size));
    for (auto _ : state) {
        structure::delete_columns(core.sheet, 6, 9, 9);
        core.history.close_step();
        state.PauseTiming();
        core.history.undo();
        state.ResumeTiming();
    }
}

void BM_UndoDeleteWindow(benchmark::State &state)
{
    const int size = int(state.range(0));
    Frame frame;
    SheetWindow *sheet = frame.read_sheet(size, cols_of(size));
    for (auto _ : state) {
        state.PauseTiming();
        select_nine_columns(*sheet->sheet());
        sheet->run(Command::DeleteColumns);
        settle();
        state.ResumeTiming();
        sheet->run(Command::Undo);
        settle();
    }
}

void BM_UndoDeleteCore(benchmark::State &state)
{
    const int size = int(state.range(0));
    CoreSheet core(size, cols_of(size));
    for (auto _ : state) {
        state.PauseTiming();
        structure::delete_columns(core.sheet, 6, 9, 9);
        core.history.close_step();
        state.ResumeTiming();
        core.history.undo();
    }
}

// --- Inserting nine rows, and redoing a deletion of columns ------------------------

void select_nine_rows(Sheet &sheet)
{
    sheet.set_current_cell(6, 1);
    sheet.set_selection_end(14, 1);
}

void BM_InsertRowsWindow(benchmark::State &state)
{
    const int size = int(state.range(0));
    Frame frame;
    SheetWindow *sheet = frame.read_sheet(size, cols_of(size));
    if (rows_of(size) > insert_rows(size))
        structure::delete_rows(*sheet->sheet(), 1, rows_of(size) - insert_rows(size));
    settle();
    for (auto _ : state) {
        select_nine_rows(*sheet->sheet());
        sheet->run(Command::InsertRows);
        settle();
        if (sheet->sheet()->rows() != insert_rows(size) + 9)
            state.SkipWithError("insertion refused");
        state.PauseTiming();
        sheet->run(Command::Undo);
        settle();
        state.ResumeTiming();
    }
}

void BM_InsertRowsCore(benchmark::State &state)
{
    const int size = int(state.range(0));
    CoreSheet core(size, cols_of(size));
    if (rows_of(size) > insert_rows(size))
        structure::delete_rows(core.sheet, 1, rows_of(size) - insert_rows(size));
    core.history.close_step();
    for (auto _ : state) {
        if (!structure::insert_rows(core.sheet, 6, 9).refusal.isEmpty())
            state.SkipWithError("insertion refused");
        core.history.close_step();
        state.PauseTiming();
        core.history.undo();
        state.ResumeTiming();
    }
}

void BM_RedoDeleteWindow(benchmark::State &state)
{
    const int size = int(state.range(0));
    Frame frame;
    SheetWindow *sheet = frame.read_sheet(size, cols_of(size));
    for (auto _ : state) {
        state.PauseTiming();
        select_nine_columns(*sheet->sheet());
        sheet->run(Command::DeleteColumns);
        sheet->run(Command::Undo);
        settle();
        state.ResumeTiming();
        sheet->run(Command::Redo);
        settle();
        state.PauseTiming();
        sheet->run(Command::Undo);
        settle();
        state.ResumeTiming();
    }
}

void BM_RedoDeleteCore(benchmark::State &state)
{
    const int size = int(state.range(0));
    CoreSheet core(size, cols_of(size));
    for (auto _ : state) {
        state.PauseTiming();
        structure::delete_columns(core.sheet, 6, 9, 9);
        core.history.close_step();
        core.history.undo();
        state.ResumeTiming();
        core.history.redo();
        state.PauseTiming();
        core.history.undo();
        state.ResumeTiming();
    }
}

// --- Pasting a whole sheet into a new one ------------------------------------------

void BM_PasteWindow(benchmark::State &state)
{
    const int size = int(state.range(0));
    Frame frame;
    QGuiApplication::clipboard()->setText(block(size));
    for (auto _ : state) {
        state.PauseTiming();
        SheetWindow *sheet = frame.fresh_sheet();
        sheet->sheet()->set_current_cell(1, 5);
        settle();
        state.ResumeTiming();
        sheet->run(Command::Paste);
        settle();
        if (sheet->sheet()->cols() != cols_of(size))
            state.SkipWithError("paste refused");
    }
}

void BM_PasteCore(benchmark::State &state)
{
    const int size = int(state.range(0));
    std::unique_ptr<Sheet> sheet;
    for (auto _ : state) {
        state.PauseTiming();
        sheet = std::make_unique<Sheet>();  // the last one is taken down untimed
        sheet->build_new(kUnit);
        sheet->set_current_cell(1, 5);
        state.ResumeTiming();
        if (!cliptext::paste(*sheet, block(size), kUnit).refusal.isEmpty())
            state.SkipWithError("paste refused");
    }
}

// --- 評価計算: the command and the panel it opens ------------------------------------

void BM_EvaluateWindow(benchmark::State &state)
{
    const int size = int(state.range(0));
    Frame frame;
    SheetWindow *sheet = frame.read_sheet(size, cols_of(size));
    for (auto _ : state) {
        sheet->run(Command::Evaluate);
        settle();
        state.PauseTiming();
        sheet->evaluation_panel()->hide();
        settle();
        state.ResumeTiming();
    }
}

void BM_EvaluateCore(benchmark::State &state)
{
    const int size = int(state.range(0));
    CoreSheet core(size, cols_of(size));
    core.sheet.set_recorder(nullptr);
    for (auto _ : state) {
        const scoring::TotalStatistics stats = scoring::compute_totals(core.sheet);
        const QStringList candidates = grading::make_candidates(core.sheet);
        const grading::GradeCounts counts = grading::count_grades(core.sheet);
        benchmark::DoNotOptimize(stats);
        benchmark::DoNotOptimize(candidates);
        benchmark::DoNotOptimize(counts);
    }
}

// --- Choosing a candidate in the panel: grades written and counted ----------------

void BM_CandidateWindow(benchmark::State &state)
{
    const int size = int(state.range(0));
    Frame frame;
    SheetWindow *sheet = frame.read_sheet(size, cols_of(size));
    sheet->run(Command::Evaluate);
    settle();
    int k = 14;
    for (auto _ : state) {
        sheet->evaluation_panel()->choose_entry(k);
        settle();
        if (sheet->sheet()->candidate_index() != k)
            state.SkipWithError("candidate not chosen");
        k = k == 14 ? 15 : 14;
    }
}

void BM_CandidateCore(benchmark::State &state)
{
    const int size = int(state.range(0));
    CoreSheet core(size, cols_of(size));
    core.sheet.set_recorder(nullptr);
    (void)scoring::compute_totals(core.sheet);
    int k = 14;
    for (auto _ : state) {
        grading::write_grades(core.sheet, k);
        benchmark::DoNotOptimize(grading::count_grades(core.sheet));
        k = k == 14 ? 15 : 14;
    }
}

// --- Opening a sheet file into a new sheet window -----------------------------------

void BM_OpenWindow(benchmark::State &state)
{
    const int size = int(state.range(0));
    const QString &path = sheet_file(size, cols_of(size));
    Frame frame;
    for (auto _ : state) {
        state.PauseTiming();
        SheetWindow *sheet = frame.fresh_sheet();
        state.ResumeTiming();
        sheet->file_commands()->read_path(path);
        settle();
    }
}

void BM_OpenCore(benchmark::State &state)
{
    const int size = int(state.range(0));
    const QString &path = sheet_file(size, cols_of(size));
    std::unique_ptr<Sheet> sheet;
    for (auto _ : state) {
        state.PauseTiming();
        sheet = std::make_unique<Sheet>();
        sheet->build_new(kUnit);
        state.ResumeTiming();
        const sheetfile::ReadResult result = sheetfile::read_file(path, *sheet, kUnit);
        if (result.outcome != sheetfile::ReadOutcome::Complete)
            state.SkipWithError("read failed");
    }
}

// --- Start to first paint: the main window with its start sheet -------------------
// In one process, each round a new frame: what a start costs beyond loading
// the libraries and fonts, which a whole process would add alike to both.

// Sees the first paint of one widget.
class PaintSeen : public QObject
{
public:
    bool seen = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        seen = seen || event->type() == QEvent::Paint;
        return false;
    }
};

bool wait_for_paint(QWidget *widget)
{
    PaintSeen paint;
    widget->installEventFilter(&paint);
    for (int round = 0; round < 1000 && !paint.seen; ++round)
        QApplication::processEvents();
    widget->removeEventFilter(&paint);
    return paint.seen;
}

// The program's menus and toolbar as captions, shortcuts and icons: what the
// bare window is made with.
struct MenuShape {
    QString title;
    QList<std::pair<QString, QKeySequence>> items;  // an empty caption: a separator
};
struct FrameShape {
    QList<MenuShape> menus;
    QStringList buttons;
    QSize size;
    int rows = 0;
    int cols = 0;
};

const FrameShape &frame_shape()
{
    static const FrameShape shape = [] {
        SilentPrompter prompter;
        MainWindow main(prompter);
        main.show();
        QApplication::processEvents();
        FrameShape out;
        out.size = main.size();
        const Sheet &sheet = *main.sheets().first()->sheet();
        out.rows = sheet.rows();
        out.cols = sheet.cols();
        for (QAction *top : main.menuBar()->actions()) {
            MenuShape menu{top->text(), {}};
            if (top->menu())
                for (QAction *item : top->menu()->actions())
                    menu.items.append({item->isSeparator() ? QString() : item->text(), item->shortcut()});
            out.menus.append(menu);
        }
        for (QAction *button : main.findChild<QToolBar *>()->actions())
            out.buttons.append(button->text());
        for (SheetWindow *window : main.sheets())
            window->set_never_prompt();
        return out;
    }();
    return shape;
}

void BM_StartWindow(benchmark::State &state)
{
    frame_shape();
    SilentPrompter prompter;
    for (auto _ : state) {
        auto main = std::make_unique<MainWindow>(prompter);
        main->resize(frame_shape().size);
        main->show();
        if (!wait_for_paint(main->sheets().first()->findChild<SheetGrid *>()->viewport()))
            state.SkipWithError("never painted");
        state.PauseTiming();
        for (SheetWindow *window : main->sheets())
            window->set_never_prompt();
        main.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_StartBare(benchmark::State &state)
{
    const FrameShape &shape = frame_shape();
    for (auto _ : state) {
        auto main = std::make_unique<QMainWindow>();
        auto *area = new QMdiArea;
        main->setCentralWidget(area);
        QToolBar *toolbar = main->addToolBar(u"Toolbar1"_s);
        toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        // The same pictures, made as the program makes them: a start loads them.
        Q_ASSERT(commands::toolbar().size() == size_t(shape.buttons.size()));
        for (qsizetype i = 0; i < shape.buttons.size(); ++i) {
            const Command id = commands::toolbar()[size_t(i)];
            toolbar->addAction(main->style()->standardIcon(commands::info(id).button.icon),
                               shape.buttons[i]);
        }
        for (const MenuShape &menu : shape.menus) {
            QMenu *added = main->menuBar()->addMenu(menu.title);
            for (const auto &[text, keys] : menu.items) {
                if (text.isEmpty())
                    added->addSeparator();
                else
                    added->addAction(text)->setShortcut(keys);
            }
        }
        auto *table = new QTableWidget(shape.rows, shape.cols);
        area->addSubWindow(table)->showMaximized();
        main->resize(shape.size);
        main->show();
        if (!wait_for_paint(table->viewport()))
            state.SkipWithError("never painted");
        state.PauseTiming();
        main.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// --- A new sheet window: 新規作成 in a running frame ----------------------------
// The frame made once; each round the new window to its first paint, then
// closed again untimed (a frame holds twenty at most).

void BM_NewSheetWindow(benchmark::State &state)
{
    frame_shape();
    SilentPrompter prompter;
    MainWindow main(prompter);
    main.resize(frame_shape().size);
    main.show();
    wait_for_paint(main.sheets().first()->findChild<SheetGrid *>()->viewport());
    const QString caption = commands::info(Command::NewSheet).button.label.toString();
    for (auto _ : state) {
        main.toolbar_click(caption);
        SheetWindow *fresh = main.sheets().last();
        if (main.sheet_count() != 2 || !wait_for_paint(fresh->grid()->viewport()))
            state.SkipWithError("no new sheet painted");
        state.PauseTiming();
        fresh->set_never_prompt();
        fresh->close_window();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    main.sheets().first()->set_never_prompt();
}

// A sub window holding a table of the sheet's size, as large as the frame
// makes a new sheet window.
void BM_NewSheetBare(benchmark::State &state)
{
    const FrameShape &shape = frame_shape();
    QMainWindow main;
    auto *area = new QMdiArea;
    main.setCentralWidget(area);
    main.resize(shape.size);
    main.show();
    QApplication::processEvents();
    for (auto _ : state) {
        auto *table = new QTableWidget(shape.rows, shape.cols);
        QMdiSubWindow *sub = area->addSubWindow(table);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->resize(area->viewport()->size() * 9 / 10);
        sub->show();
        area->setActiveSubWindow(sub);
        if (!wait_for_paint(table->viewport()))
            state.SkipWithError("never painted");
        state.PauseTiming();
        sub->close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(kClass)->Arg(50)->Arg(450)->Unit(benchmark::kMillisecond)->MinTime(0.2);
}

}  // namespace

// Each pair: the window first, its yardstick second.
BENCHMARK(BM_MoveWindow)->Apply(sizes);
BENCHMARK(BM_MoveTable)->Apply(sizes);
BENCHMARK(BM_TypeDigitWindow)->Apply(sizes);
BENCHMARK(BM_TypeDigitTable)->Apply(sizes);
BENCHMARK(BM_RepaintWindow)->Apply(sizes);
BENCHMARK(BM_RepaintTable)->Apply(sizes);
BENCHMARK(BM_InsertColumnsWindow)->Apply(sizes);
BENCHMARK(BM_InsertColumnsCore)->Apply(sizes);
BENCHMARK(BM_DeleteColumnsWindow)->Apply(sizes);
BENCHMARK(BM_DeleteColumnsCore)->Apply(sizes);
BENCHMARK(BM_UndoDeleteWindow)->Apply(sizes);
BENCHMARK(BM_UndoDeleteCore)->Apply(sizes);
BENCHMARK(BM_InsertRowsWindow)->Apply(sizes);
BENCHMARK(BM_InsertRowsCore)->Apply(sizes);
BENCHMARK(BM_RedoDeleteWindow)->Apply(sizes);
BENCHMARK(BM_RedoDeleteCore)->Apply(sizes);
BENCHMARK(BM_PasteWindow)->Apply(sizes);
BENCHMARK(BM_PasteCore)->Apply(sizes);
BENCHMARK(BM_EvaluateWindow)->Apply(sizes);
BENCHMARK(BM_EvaluateCore)->Apply(sizes);
BENCHMARK(BM_CandidateWindow)->Apply(sizes);
BENCHMARK(BM_CandidateCore)->Apply(sizes);
BENCHMARK(BM_OpenWindow)->Apply(sizes);
BENCHMARK(BM_OpenCore)->Apply(sizes);
// Size 0: the empty sheet a start shows.
BENCHMARK(BM_StartWindow)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_StartBare)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_NewSheetWindow)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_NewSheetBare)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(0.5);

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

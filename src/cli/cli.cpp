#include "cli.h"

#include "reportcommand.h"

#include "grading.h"
#include "helppages.h"
#include "numbers.h"
#include "scoring.h"
#include "sheet.h"
#include "sheetfile.h"
#include "viewpoints.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace cli {

namespace {

// Width of "*" at 12 points: there is no window font to measure in batch mode.
constexpr double kUnitWidth = 120;

const QString kUsage =
    u"使い方: ponsaiten evaluate ファイル [--lower L] [--upper U] [--candidate K] [--viewpoints 一覧] [-o 出力]\n"
    u"  --lower L      評価 2 になる総合点の上限（数）\n"
    u"  --upper U      評価 10 になる総合点の下限（数）\n"
    u"  --candidate K  候補 K（0 から 31）の評価を書き込み、評価ごとの人数を数える\n"
    u"  --viewpoints 一覧  素点の列ごとの観点を列の順にコンマ区切りで（知,思,態 などの略称、観点なしは -）\n"
    u"                 ファイルの観点に代えて使う。観点のある列があれば（この指定がなくても）、\n"
    u"                 観点に点数のある生徒ごとに 1 行: viewpoints TAB 行 TAB 観点ごとに 達成率(%) TAB A/B/C/－\n"
    u"                 TAB 評定（出せないときは空）\n"
    u"  -o 出力        評価したシートを「出力」に保存する（K を選んだ候補として。観点別評価も書き込む）\n"_s;

const QString kPrefix = u"ponsaiten evaluate: "_s;

struct Options {
    QString file;
    std::optional<QString> lower;
    std::optional<QString> upper;
    std::optional<int> candidate;
    std::optional<QString> out;
    std::optional<QString> viewpoints;
    bool help = false;
};

// "--lower=30" as "--lower 30", "-oFILE" as "-o FILE", as GNU tools take them.
QStringList split_attached_values(const QStringList &args)
{
    QStringList out;
    bool only_files = false;
    for (const QString &arg : args) {
        if (only_files || arg == u"--"_s) {
            only_files = true;
            out.append(arg);
            continue;
        }
        const qsizetype equals = arg.indexOf(u'=');
        if (arg.startsWith(u"--"_s) && equals > 2) {
            out << arg.left(equals) << arg.mid(equals + 1);
        } else if (arg.startsWith(u"-o"_s) && arg.size() > 2) {
            out << u"-o"_s << arg.mid(2);
        } else {
            out.append(arg);
        }
    }
    return out;
}

// Fills options from args[2...]; returns an explanation when they are wrong.
std::optional<QString> parse(const QStringList &given, Options &options)
{
    const QStringList args = split_attached_values(given);
    bool have_file = false;
    bool only_files = false;
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!only_files && arg == u"--"_s) {
            only_files = true;
            continue;
        }
        if (only_files) {
            // Files only from here on.
        } else if (arg == u"-h"_s || arg == u"--help"_s) {
            options.help = true;
            return std::nullopt;
        } else if (arg == u"--lower"_s || arg == u"--upper"_s || arg == u"-o"_s
                   || arg == u"--candidate"_s || arg == u"--viewpoints"_s) {
            if (i + 1 >= args.size())
                return arg + u" の値がありません"_s;
            const QString value = args[++i];
            if (arg == u"--candidate"_s) {
                if (options.candidate)
                    return arg + u" が 2 回指定されています"_s;
                bool ok = false;
                const int k = value.toInt(&ok);
                if (!ok || k < 0 || k >= grading::kCandidates)
                    return u"--candidate には 0 から 31 までの整数を指定してください（「"_s + value +
                           u"」は使えません）"_s;
                options.candidate = k;
                continue;
            }
            std::optional<QString> &slot = arg == u"--lower"_s        ? options.lower
                                           : arg == u"--upper"_s      ? options.upper
                                           : arg == u"--viewpoints"_s ? options.viewpoints
                                                                      : options.out;
            if (slot)
                return arg + u" が 2 回指定されています"_s;
            // A criterion that is no number would count as 0 and be saved as typed.
            bool number = true;
            if (arg == u"--lower"_s || arg == u"--upper"_s)
                value.trimmed().toDouble(&number);
            if (!number)
                return arg + u" には数を指定してください（「"_s + value + u"」は数ではありません）"_s;
            slot = value;
            continue;
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            return u"不明なオプションです: "_s + arg;
        }
        if (have_file)
            return u"評価できるファイルは 1 つだけです"_s;
        options.file = arg;
        have_file = true;
    }
    if (!have_file || options.file.isEmpty())
        return u"ファイルが指定されていません"_s;
    if (options.out && options.out->isEmpty())
        return u"-o に保存先のファイル名を指定してください"_s;
    return std::nullopt;
}

int usage_error(QTextStream &err, const QString &why)
{
    err << kPrefix << why << u'\n' << kUsage;
    return kExitUsage;
}

// Refuses to save a text that code page 932 cannot hold instead of writing "?".
std::optional<int> check_encodable(const Sheet &sheet, const QString &out_file, QTextStream &err)
{
    const std::optional<sheetfile::Unencodable> bad = sheetfile::find_unencodable(sheet);
    if (!bad)
        return std::nullopt;
    if (bad->row == -2) {
        err << kPrefix << out_file << u": 観点 "_s << bad->col << u" の名前の「"_s << bad->character
            << u"」はシートのファイルに書けない文字です\n"_s;
        return kExitIo;
    }
    if (bad->row < 0) {
        const QString option = bad->col == 1 ? u"--lower"_s : u"--upper"_s;
        return usage_error(err, option + u" の「"_s + bad->character +
                                    u"」はシートのファイルに書けない文字です"_s);
    }
    err << kPrefix << out_file << u": "_s << bad->row << u" 行 "_s << bad->col << u" 列の「"_s
        << bad->character << u"」はシートのファイルに書けない文字です\n"_s;
    return kExitIo;
}

// What the command prints, whichever way it evaluated.
struct Evaluation {
    scoring::TotalStatistics stats;
    QStringList candidates;
    std::optional<grading::GradeCounts> counts;  // of the chosen candidate, when it exists
};

// The window keeps what it could read; a batch result from half a sheet
// would be silently wrong, so a read that was not complete stops it.
std::optional<int> refused(const sheetfile::ReadResult &read, const QString &file,
                           QTextStream &err)
{
    switch (read.outcome) {
    case sheetfile::ReadOutcome::Complete:
        return std::nullopt;
    case sheetfile::ReadOutcome::Foreign:
        err << kPrefix << file << u": "_s << sheetfile::foreign_file_message() << u'\n';
        return kExitForeign;
    case sheetfile::ReadOutcome::Incomplete:
    case sheetfile::ReadOutcome::Refused:
        break;
    }
    err << kPrefix << file << u" を読み込めません"_s;
    if (!read.reason.isEmpty())
        err << u": "_s << read.reason;
    err << u'\n';
    return kExitIo;
}

bool can_choose(const Options &options, const QStringList &candidates)
{
    // The window cannot choose from an empty list either.
    return options.candidate && *options.candidate < candidates.size();
}

// The same steps as the evaluation command of the window, on the whole sheet,
// which -o then saves.
Evaluation evaluate_sheet(Sheet &sheet, const scoring::ScoreGrid &scores, const Options &options)
{
    if (options.lower)
        sheet.set_lower_text(*options.lower);
    if (options.upper)
        sheet.set_upper_text(*options.upper);
    Evaluation result{scoring::compute_totals(sheet, scores), grading::make_candidates(sheet), std::nullopt};
    if (can_choose(options, result.candidates)) {
        sheet.set_candidate_index(*options.candidate);
        grading::write_grades(sheet, *options.candidate);
        result.counts = grading::count_grades(sheet);
    }
    return result;
}

// The same steps on the numbers alone, when nothing is saved.
Evaluation evaluate_scores(sheetfile::Scores &scores, const Options &options)
{
    const double lower = numbers::leading_number(options.lower.value_or(scores.lower_text));
    const double upper = numbers::leading_number(options.upper.value_or(scores.upper_text));
    // Full marks a file holds count as the teacher's; with nobody to ask
    // they are raised, and each mark above them is named (report_above).
    scoring::raise_full_marks(scores.grid, scores.full_marks, scoring::given_where_set(scores.full_marks));
    scoring::write_totals(scores.grid, scores.full_marks, scores.totals);
    Evaluation result{scoring::total_statistics(scores.totals),
                      grading::make_candidates(scores.totals, lower, upper), std::nullopt};
    if (can_choose(options, result.candidates)) {
        grading::write_grades(*options.candidate, scores.totals, lower, upper, scores.grades);
        result.counts = grading::count_grades(scores.grades);
    }
    return result;
}

int report(const Evaluation &result, const Options &options, QTextStream &out, QTextStream &err)
{
    // Without any total the statistics hold only the window's placeholders.
    const bool any_total = !result.candidates.isEmpty();
    const scoring::TotalStatistics &stats = result.stats;
    out << u"highest\t"_s << (any_total ? numbers::plain_form(stats.highest) : QString()) << u'\n';
    out << u"lowest\t"_s << (any_total ? numbers::plain_form(stats.lowest) : QString()) << u'\n';
    for (int i = 1; i <= 10; ++i)
        out << u"class\t"_s << i << u'\t' << stats.classes[i - 1] << u'\n';
    for (qsizetype k = 0; k < result.candidates.size(); ++k)
        out << u"candidate\t"_s << k << u'\t' << result.candidates[k] << u'\n';

    if (options.candidate && !result.counts) {
        out.flush();
        err << kPrefix << options.file
            << u": 総合点のある生徒がいないため、評価できません（候補 "_s << *options.candidate
            << u" はありません）\n"_s;
        return kExitNothingToGrade;
    }
    if (result.counts) {
        for (int g = 1; g <= 10; ++g)
            out << u"grade\t"_s << g << u'\t' << result.counts->counts[g] << u'\n';
        out << u"graded\t"_s << result.counts->graded << u'\n';
    }
    out.flush();
    return kExitOk;
}

int write_out(const QByteArray &bytes, const QString &out_file, QTextStream &err)
{
    const sheetfile::WriteResult written = sheetfile::write_file(out_file, bytes);
    if (written.ok)
        return kExitOk;
    err << kPrefix << out_file << u" に保存できません"_s;
    if (!written.error.isEmpty())
        err << u": "_s << written.error;
    err << u'\n';
    return kExitIo;
}

int save(const Sheet &sheet, const QString &out_file, QTextStream &err)
{
    if (const std::optional<int> refusal = check_encodable(sheet, out_file, err))
        return *refusal;
    return write_out(sheetfile::encode(sheet), out_file, err);
}

// The window asks before it raises full marks the teacher gave; the batch
// raises them and says which marks did it.
void report_above(const std::vector<scoring::ScoreGrid::MarkAbove> &above, const QString &file,
                  QTextStream &err)
{
    for (const scoring::ScoreGrid::MarkAbove &a : above)
        err << kPrefix << file << u": "_s << a.row << u" 行 "_s << Sheet::column_of_slot(a.k) << u" 列の点数 "_s
            << numbers::plain_form(a.mark) << u" が満点 "_s << numbers::plain_form(a.full_marks)
            << u" を超えています（満点を上げて計算します）\n"_s;
}

// Every total would fall on one side of a lower criterion not below the
// upper one: each candidate comes out the same. A file's own pair the wrong
// way round is refused as well (the window lists no candidate for it);
// --lower and --upper can set it right.
std::optional<int> check_criteria(const Options &options, const QString &file_lower,
                                  const QString &file_upper, QTextStream &err)
{
    const QString lower = options.lower.value_or(file_lower);
    const QString upper = options.upper.value_or(file_upper);
    if (grading::criteria_in_order(numbers::leading_number(lower), numbers::leading_number(upper)))
        return std::nullopt;
    return usage_error(err, u"評価 2 の上限（"_s + lower.trimmed() + u"）は評価 10 の下限（"_s +
                                upper.trimmed() +
                                u"）より小さくしてください（--lower と --upper、またはシートの評価基準）"_s);
}

// Saving is checked before anything is printed: a table followed by a failed
// save would look like a result.
std::optional<int> check_output(const QString &out_file, QTextStream &err)
{
    const QFileInfo target(out_file);
    const QFileInfo folder(target.absolutePath());
    QString why;
    if (!folder.isDir())
        why = u"保存先のフォルダー "_s + QDir::toNativeSeparators(folder.filePath()) +
              u" がありません"_s;
    else if (target.isDir())
        why = u"フォルダーです"_s;
    else if (target.exists() ? !target.isWritable() : !folder.isWritable())
        why = u"書き込みの権限がありません"_s;
    if (why.isEmpty())
        return std::nullopt;
    err << kPrefix << out_file << u" に保存できません: "_s << why << u'\n';
    return kExitIo;
}

// One line per student with a mark in some viewpoint: the rate and letter of
// each viewpoint, then 評定. -o then saves the sheet as 決定 leaves it.
void report_viewpoints(Sheet &sheet, QTextStream &out)
{
    const viewpoints::Result result = viewpoints::compute(sheet);
    for (const viewpoints::Student &s : result.students) {
        if (!s.has_mark)
            continue;
        out << u"viewpoints\t"_s << s.row;
        for (qsizetype i = 0; i < s.rates.size(); ++i)
            out << u'\t' << viewpoints::rate_text(s.rates[i]) << u'\t' << s.letters[i].value;
        out << u'\t' << s.grade.value << u'\n';
    }
    out.flush();
    viewpoints::write_results(sheet, result);
}

int evaluate(const Options &options, QTextStream &out, QTextStream &err)
{
    if (options.out) {
        if (const std::optional<int> code = check_output(*options.out, err))
            return *code;
    }
    // A file whose columns have viewpoints is read again whole. So is one
    // that -o cannot save from its fields alone (encode_evaluated).
    sheetfile::Scores scores;
    if (!options.viewpoints) {
        const auto keep = options.out ? sheetfile::KeepRows::Yes : sheetfile::KeepRows::No;
        if (const std::optional<int> code =
                refused(sheetfile::read_scores(options.file, scores, keep), options.file, err))
            return *code;
    }
    if (!options.viewpoints && !scores.has_viewpoints) {
        if (const std::optional<int> code =
                check_criteria(options, scores.lower_text, scores.upper_text, err))
            return *code;
        const Evaluation result = evaluate_scores(scores, options);
        std::optional<QByteArray> bytes;
        if (options.out) {
            const int candidate =
                can_choose(options, result.candidates) ? *options.candidate : scores.candidate;
            bytes = sheetfile::encode_evaluated(scores, options.lower.value_or(scores.lower_text),
                                                options.upper.value_or(scores.upper_text),
                                                candidate);
        }
        if (!options.out || bytes) {
            report_above(scores.grid.above(), options.file, err);
            const int code = report(result, options, out, err);
            return code == kExitOk && bytes ? write_out(*bytes, *options.out, err) : code;
        }
    }
    Sheet sheet;
    if (const std::optional<int> code =
            refused(sheetfile::read_file(options.file, sheet, kUnitWidth), options.file, err))
        return *code;
    if (const std::optional<int> code =
            check_criteria(options, sheet.lower_text(), sheet.upper_text(), err))
        return *code;
    if (options.viewpoints) {
        const QString why = viewpoints::set_column_viewpoints(sheet, *options.viewpoints);
        if (!why.isEmpty())
            return usage_error(err, u"--viewpoints: "_s + why);
    }
    // The scores are read from the sheet once, for the marks above full
    // marks and for the totals.
    const scoring::ScoreGrid grid = scoring::ScoreGrid::of(sheet);
    report_above(grid.above(), options.file, err);
    const int code = report(evaluate_sheet(sheet, grid, options), options, out, err);
    if (code != kExitOk)
        return code;
    if (viewpoints::column_viewpoints(sheet).count(0) < sheet.score_count())
        report_viewpoints(sheet, out);
    return options.out ? save(sheet, *options.out, err) : code;
}

// Help is asked for before any application object exists.
QString program_dir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(u"/proc/self/exe"_s).canonicalPath();
}

const QString kStartUsage =
    u"使い方: ponsaiten [ファイル...]\n"
    u"       ponsaiten evaluate ファイル [オプション]   （詳しくは ponsaiten evaluate --help）\n"
    u"       ponsaiten report ファイル... [-o 出力.pdf | --tsv]   （詳しくは ponsaiten report --help）\n"
    u"ぽん採点を起動し、指定したシートのファイルをそれぞれ別のシートで開きます。\n"
    u"  -h, --help     この説明を表示して終わる\n"
    u"  -v, --version  版を表示して終わる\n"_s;

}  // namespace

StartOptions start_options(const QStringList &args, bool before_qt, QTextStream &out,
                           QTextStream &err)
{
    StartOptions options;
    bool only_files = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (only_files || !arg.startsWith(u'-') || arg.size() == 1) {
            options.files.append(arg);
        } else if (arg == u"--"_s) {
            only_files = true;
        } else if (arg == u"-h"_s || arg == u"--help"_s) {
            out << kStartUsage << u"\nヘルプ: "_s
                << help::start_page(QDir::currentPath(),
                                    help::installed_folders(program_dir()))
                << u'\n';
            options.exit_code = kExitOk;
            return options;
        } else if (arg == u"-v"_s || arg == u"--version"_s) {
            out << u"ぽん採点 (ponsaiten) "_s << QStringLiteral(PONSAITEN_VERSION) << u'\n';
            options.exit_code = kExitOk;
            return options;
        } else if (const std::optional<bool> takes_value = qt_option(arg); before_qt && takes_value) {
            // Qt takes it (and its value) out of the arguments itself.
            if (*takes_value && i + 1 < args.size())
                options.qt_options << arg << args[++i];
            else
                options.qt_options << arg;
        } else {
            err << u"ponsaiten: 不明なオプションです: "_s << arg << u'\n' << kStartUsage;
            options.exit_code = kExitUsage;
            return options;
        }
    }
    return options;
}

std::optional<bool> qt_option(const QString &arg)
{
    // Those a teacher or a test may give; Qt knows a few more.
    static const QStringList with_value{u"-platform"_s, u"-platformtheme"_s, u"-style"_s,
                                        u"-stylesheet"_s, u"-display"_s, u"-qwindowgeometry"_s,
                                        u"-qwindowtitle"_s};
    static const QStringList plain{u"-reverse"_s, u"-nograb"_s, u"-sync"_s};
    if (with_value.contains(arg))
        return true;
    if (plain.contains(arg))
        return false;
    return std::nullopt;
}

bool display_missing(const QStringList &qt_options, const QString &platform_env,
                     const QString &display, const QString &wayland_display)
{
    QString platform = platform_env;
    for (qsizetype i = 0; i < qt_options.size(); ++i) {
        if (qt_options[i] == u"-platform"_s)
            platform = qt_options.value(i + 1);
    }
    // Qt tries the platforms of a list in turn; offscreen and the like need no screen.
    for (const QString &name : platform.split(u';', Qt::SkipEmptyParts)) {
        const QString plugin = name.section(u':', 0, 0);
        if (plugin != u"xcb"_s && !plugin.startsWith(u"wayland"_s))
            return false;
    }
    return display.isEmpty() && wayland_display.isEmpty();
}

QString no_display_message()
{
    return u"ponsaiten: ぽん採点のウインドウを開く画面（デスクトップ）が見つかりません。\n"
           u"デスクトップにログインしてから起動してください。\n"
           u"画面のない所でも、評価の計算は ponsaiten evaluate ファイル でできます"
           u"（詳しくは ponsaiten evaluate --help）。\n"_s;
}

StartOptions start_options(const QStringList &args, bool before_qt)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    return start_options(args, before_qt, out, err);
}

bool is_batch(const QStringList &args)
{
    return args.size() > 1 && (args.at(1) == u"evaluate"_s || args.at(1) == u"report"_s);
}

int run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (!is_batch(args))
        return usage_error(err, u"不明なコマンドです"_s);
    if (args.at(1) == u"report"_s)
        return run_report(args, out, err, report_painter());
    Options options;
    if (const std::optional<QString> why = parse(args, options))
        return usage_error(err, *why);
    if (options.help) {
        out << kUsage;
        return kExitOk;
    }
    return evaluate(options, out, err);
}

namespace {
ReportPainter &painter_slot()
{
    static ReportPainter painter;
    return painter;
}
}  // namespace

void set_report_painter(ReportPainter painter)
{
    painter_slot() = std::move(painter);
}

const ReportPainter &report_painter()
{
    return painter_slot();
}

int run(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    return run(args, out, err);
}

}  // namespace cli

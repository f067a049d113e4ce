#include "cli.h"

#include "grading.h"
#include "numbers.h"
#include "scoring.h"
#include "sheet.h"
#include "sheetfile.h"

#include <QTextStream>
#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace cli {

namespace {

// Width of "*" at 12 points: there is no window font to measure in batch mode.
constexpr double kUnitWidth = 120;

const QString kUsage =
    u"usage: ponsaiten evaluate FILE [--lower L] [--upper U] [--candidate K] [-o OUT]\n"
    u"  --lower L      upper-bound total for grade 2 (stored as given)\n"
    u"  --upper U      lower-bound total for grade 10 (stored as given)\n"
    u"  --candidate K  write the grades of candidate K (0 to 31) and count them\n"
    u"  -o OUT         save the evaluated sheet to OUT with K as the chosen candidate\n"_s;

struct Options {
    QString file;
    std::optional<QString> lower;
    std::optional<QString> upper;
    std::optional<int> candidate;
    std::optional<QString> out;
    bool help = false;
};

// Fills options from args[2...]; returns an explanation when they are wrong.
std::optional<QString> parse(const QStringList &args, Options &options)
{
    bool have_file = false;
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == u"-h"_s || arg == u"--help"_s) {
            options.help = true;
            return std::nullopt;
        }
        if (arg == u"--lower"_s || arg == u"--upper"_s || arg == u"-o"_s
            || arg == u"--candidate"_s) {
            if (i + 1 >= args.size())
                return arg + u" needs a value"_s;
            const QString value = args[++i];
            if (arg == u"--candidate"_s) {
                if (options.candidate)
                    return arg + u" is given twice"_s;
                bool ok = false;
                const int k = value.toInt(&ok);
                if (!ok || k < 0 || k >= grading::kCandidates)
                    return u"--candidate needs a whole number from 0 to 31, not \""_s + value
                           + u'"';
                options.candidate = k;
                continue;
            }
            std::optional<QString> &slot = arg == u"--lower"_s   ? options.lower
                                           : arg == u"--upper"_s ? options.upper
                                                                 : options.out;
            if (slot)
                return arg + u" is given twice"_s;
            slot = value;
            continue;
        }
        if (arg.startsWith(u'-') && arg.size() > 1)
            return u"unknown option "_s + arg;
        if (have_file)
            return u"only one FILE can be evaluated"_s;
        options.file = arg;
        have_file = true;
    }
    if (!have_file || options.file.isEmpty())
        return u"FILE is missing"_s;
    if (options.out && options.out->isEmpty())
        return u"-o needs a file name"_s;
    return std::nullopt;
}

int usage_error(QTextStream &err, const QString &why)
{
    err << u"ponsaiten evaluate: "_s << why << u'\n' << kUsage;
    return kExitUsage;
}

// Refuses to save a text that code page 932 cannot hold instead of writing "?".
std::optional<int> check_encodable(const Sheet &sheet, QTextStream &err)
{
    const std::optional<sheetfile::Unencodable> bad = sheetfile::find_unencodable(sheet);
    if (!bad)
        return std::nullopt;
    if (bad->row < 0) {
        const QString option = bad->col == 1 ? u"--lower"_s : u"--upper"_s;
        return usage_error(err, option + u" holds \""_s + bad->character
                                    + u"\", which a sheet file cannot hold"_s);
    }
    err << u"ponsaiten evaluate: cell at row "_s << bad->row << u", column "_s << bad->col
        << u" holds \""_s << bad->character << u"\", which a sheet file cannot hold\n"_s;
    return kExitIo;
}

int evaluate(const Options &options, QTextStream &out, QTextStream &err)
{
    Sheet sheet;
    const sheetfile::ReadResult read =
        sheetfile::read_file(options.file, sheet, kUnitWidth);
    if (read.outcome == sheetfile::ReadOutcome::Foreign) {
        err << sheetfile::foreign_file_message() << u'\n';
        return kExitForeign;
    }
    // The window keeps what it could read; a batch result from half a sheet
    // would be silently wrong, so it stops here.
    if (read.outcome == sheetfile::ReadOutcome::Incomplete ||
        read.outcome == sheetfile::ReadOutcome::Refused) {
        err << u"ponsaiten evaluate: cannot read "_s << options.file;
        if (!read.reason.isEmpty())
            err << u": "_s << read.reason;
        err << u'\n';
        return kExitIo;
    }

    if (options.lower)
        sheet.set_lower_text(*options.lower);
    if (options.upper)
        sheet.set_upper_text(*options.upper);

    // The same steps as the evaluation command of the window.
    const scoring::TotalStatistics stats = scoring::calc_sougouten(sheet);
    const QStringList candidates = grading::mk_kouho(sheet);

    out << u"highest\t"_s << numbers::plain_form(stats.highest) << u'\n';
    out << u"lowest\t"_s << numbers::plain_form(stats.lowest) << u'\n';
    for (int i = 1; i <= 10; ++i)
        out << u"class\t"_s << i << u'\t' << stats.classes[i - 1] << u'\n';
    for (qsizetype k = 0; k < candidates.size(); ++k)
        out << u"candidate\t"_s << k << u'\t' << candidates[k] << u'\n';

    int chosen = -1;
    if (options.candidate) {
        // The window cannot choose from an empty list either.
        if (*options.candidate >= candidates.size()) {
            out.flush();
            err << u"ponsaiten evaluate: no candidate "_s << *options.candidate
                << u": no student has a numeric total\n"_s;
            return kExitUsage;
        }
        chosen = *options.candidate;
        sheet.set_candidate_index(chosen);
        grading::set_hyouka(sheet, chosen);
        const grading::GradeCounts counts = grading::hyouka_dosuu(sheet);
        for (int g = 1; g <= 10; ++g)
            out << u"grade\t"_s << g << u'\t' << counts.counts[g] << u'\n';
        out << u"graded\t"_s << counts.graded_text() << u'\n';
    }
    out.flush();

    if (options.out) {
        if (const std::optional<int> refused = check_encodable(sheet, err))
            return *refused;
        const sheetfile::WriteResult written =
            sheetfile::write_file(*options.out, sheetfile::encode(sheet));
        if (!written.ok) {
            err << u"ponsaiten evaluate: cannot write "_s << *options.out;
            if (!written.error.isEmpty())
                err << u": "_s << written.error;
            err << u'\n';
            return kExitIo;
        }
    }
    return kExitOk;
}

}  // namespace

bool is_batch(const QStringList &args)
{
    return args.size() > 1 && args.at(1) == u"evaluate"_s;
}

int run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (!is_batch(args))
        return usage_error(err, u"unknown command"_s);
    Options options;
    if (const std::optional<QString> why = parse(args, options))
        return usage_error(err, *why);
    if (options.help) {
        out << kUsage;
        return kExitOk;
    }
    return evaluate(options, out, err);
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

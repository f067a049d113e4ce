#include "reportcommand.h"

#include "cli.h"
#include "gradereport.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>
#include <optional>

using namespace Qt::StringLiterals;

namespace cli {

namespace {

const QString kPrefix = u"ponsaiten report: "_s;

QString usage()
{
    return u"使い方: ponsaiten report ファイル... [-o 一覧表.pdf | --tsv]\n"
           u"各シートの総合点と評価を並べた成績一覧表を作ります。\n"
           u"フォルダーを指定すると、その中のシートのファイルを名前の順に読みます（下のフォルダーは読みません）。\n"
           u"  -o 出力.pdf  一覧表を PDF に保存する\n"
           u"  --tsv        一覧表をタブ区切りのテキストで標準出力に書く（省略時も同じ）\n"
           u"タブ区切りの行はシートごとに 1 行、最後に全体の 1 行で、列の順は次のとおり:\n"
           u"  "_s + gradereport::field_titles().join(u' ') +
           u"\n総合点のない欄と評価の決まっていないシートの評価の欄は空です。"
           u"全体の評価は評価の決まったシートの合計です。"
           u"評定平均は、表にある評価1〜評価10 の平均です。\n"
           u"観点別評価の結果（評定 1〜5）のあるシートがあるときは、備考の前に次の列が加わります:\n"
           u"  観点ごとに A・B・C の人数（知A 知B 知C …、観点の略称で）、評定1〜評定5 の人数、評定1-5平均\n"
           u"観点別評価のないシートのその欄は空です。\n"
           u"欄の中の \\ ・タブ・改行（LF）・復帰（CR）は、\\\\ ・\\t・\\n・\\r と書きます"
           u"（ファイル名にタブや改行があっても 1 行は 1 行のままです）。\n"
           u"同じファイルを 2 回指定したときは 1 回だけ読みます。\n"_s;
}

struct Options {
    QStringList inputs;
    std::optional<QString> pdf;
    bool tsv = false;
    bool help = false;
};

std::optional<QString> parse(const QStringList &args, Options &options)
{
    bool only_files = false;
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (only_files || !arg.startsWith(u'-') || arg.size() == 1) {
            options.inputs.append(arg);
        } else if (arg == u"--"_s) {
            only_files = true;
        } else if (arg == u"-h"_s || arg == u"--help"_s) {
            options.help = true;
            return std::nullopt;
        } else if (arg == u"--tsv"_s) {
            options.tsv = true;
        } else if (arg == u"-o"_s) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return u"-o に保存先のファイル名を指定してください"_s;
            if (options.pdf)
                return u"-o が 2 回指定されています"_s;
            options.pdf = args[++i];
        } else {
            return u"不明なオプションです: "_s + arg;
        }
    }
    if (options.pdf && options.tsv)
        return u"-o と --tsv は同時に指定できません"_s;
    if (options.inputs.isEmpty())
        return u"ファイルが指定されていません"_s;
    return std::nullopt;
}

// One sheet file; a foreign file inside a folder is skipped (nullopt).
std::optional<gradereport::ClassResult> read_class(const QString &path, bool from_folder,
                                                   QTextStream &err)
{
    QString foreign_skip;
    gradereport::ClassResult result = gradereport::of_file(path, &foreign_skip);
    if (result.readable())
        return result;
    if (!foreign_skip.isEmpty() && from_folder) {
        err << kPrefix << path << u": "_s << foreign_skip << u'\n';
        return std::nullopt;
    }
    err << kPrefix << path << u": "_s << result.left_out_note() << u'\n';
    return result;
}

}  // namespace

QStringList report_files(const QString &arg)
{
    const QFileInfo info(arg);
    if (!info.isDir())
        return {arg};
    const QDir dir(arg);
    QStringList files;
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        files.append(dir.filePath(name));
    return files;
}

bool report_wants_pdf(const QStringList &args)
{
    if (args.size() < 2 || args[1] != u"report"_s)
        return false;
    for (qsizetype i = 2; i < args.size(); ++i) {
        if (args[i] == u"--"_s)
            return false;
        if (args[i] == u"-h"_s || args[i] == u"--help"_s)
            return false;
        if (args[i] == u"-o"_s)
            return true;
    }
    return false;
}

int run_report(const QStringList &args, QTextStream &out, QTextStream &err,
               const ReportPainter &painter)
{
    Q_ASSERT(args.size() >= 2 && args[1] == u"report"_s);
    Options options;
    if (const std::optional<QString> why = parse(args, options)) {
        err << kPrefix << *why << u'\n' << usage();
        return kExitUsage;
    }
    if (options.help) {
        out << usage();
        return kExitOk;
    }

    QList<gradereport::ClassResult> classes;
    QSet<QString> seen;  // real paths: a class counted twice doubles 全体
    bool all_read = true;
    for (const QString &input : options.inputs) {
        const bool folder = QFileInfo(input).isDir();
        const QStringList files = report_files(input);
        if (folder && files.isEmpty())
            err << kPrefix << input << u": シートのファイルがありません\n"_s;
        for (const QString &file : files) {
            const QString real = gradereport::real_path(file);
            if (seen.contains(real)) {
                err << kPrefix << file << u": 同じファイルがすでに一覧にあるので飛ばしました\n"_s;
                continue;
            }
            std::optional<gradereport::ClassResult> result = read_class(file, folder, err);
            if (!result)
                continue;
            seen.insert(real);
            all_read = all_read && result->readable();
            classes.append(std::move(*result));
        }
    }
    const gradereport::Report report = gradereport::combine(std::move(classes));

    if (options.pdf) {
        if (!painter) {
            err << kPrefix << u"PDF を作る部品がありません\n"_s;
            return kExitIo;
        }
        if (const QString why = painter(report, *options.pdf); !why.isEmpty()) {
            err << kPrefix << *options.pdf << u" に保存できません: "_s << why << u'\n';
            return kExitIo;
        }
    } else {
        out << gradereport::tsv(report);
        out.flush();
    }
    return all_read ? kExitOk : kExitIo;
}

}  // namespace cli

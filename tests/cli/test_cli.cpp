#include "cli.h"
#include "grading.h"
#include "numbers.h"
#include "scoring.h"
#include "sheet.h"
#include "sheetfile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

struct Result {
    int code = -1;
    QString out;
    QString err;
};

Result evaluate(const QStringList &options)
{
    Result result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.code = cli::run(QStringList{u"ponsaiten"_s, u"evaluate"_s} + options, out, err);
    out.flush();
    err.flush();
    return result;
}

QString data(const QString &name)
{
    return QStringLiteral(PONSAITEN_TEST_DATA) + u'/' + name;
}

QStringList lines(const QString &text)
{
    QStringList list = text.split(u'\n');
    if (!list.isEmpty() && list.last().isEmpty())
        list.removeLast();
    return list;
}

QStringList repeated(const QString &text, int times)
{
    QStringList list;
    for (int i = 0; i < times; ++i)
        list.append(text);
    return list;
}

QStringList candidate_lines(const QStringList &texts)
{
    QStringList list;
    for (int k = 0; k < texts.size(); ++k)
        list.append(u"candidate\t"_s + QString::number(k) + u'\t' + texts[k]);
    return list;
}

QStringList file_lines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder decoder("Windows-31J");
    const QString text = decoder.decode(file.readAll());
    QStringList list = text.split(u"\r\n"_s);
    if (!list.isEmpty() && list.last().isEmpty())
        list.removeLast();
    return list;
}

// The candidate list of the five totals 30, 45, 60, 75 and 90 at L 25, U 95.
const QStringList kFiveCandidates =
    QStringList{u"6.60"_s} + repeated(u"6.40"_s, 3) + repeated(u"6.20"_s, 6)
    + repeated(u"5.80"_s, 7) + repeated(u"5.60"_s, 10) + repeated(u"5.40"_s, 3)
    + repeated(u"5.20"_s, 2);

const QStringList kFiveStatistics{
    u"highest\t90"_s, u"lowest\t30"_s,  u"class\t1\t0"_s, u"class\t2\t0"_s,
    u"class\t3\t0"_s, u"class\t4\t1"_s, u"class\t5\t1"_s, u"class\t6\t0"_s,
    u"class\t7\t1"_s, u"class\t8\t1"_s, u"class\t9\t0"_s, u"class\t10\t1"_s,
};

}  // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void recognises_the_command_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("batch");
        QTest::newRow("no arguments") << QStringList{u"ponsaiten"_s} << false;
        QTest::newRow("evaluate") << QStringList{u"ponsaiten"_s, u"evaluate"_s} << true;
        QTest::newRow("a file to open") << QStringList{u"ponsaiten"_s, u"a.csv"_s} << false;
        QTest::newRow("other word") << QStringList{u"ponsaiten"_s, u"evaluat"_s} << false;
    }

    void recognises_the_command()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, batch);
        QCOMPARE(cli::is_batch(args), batch);
    }

    // The window's own command line: help and version before any window
    // system, Qt's one-dash options left to Qt, files to open.
    void start_options_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("before_qt");
        QTest::addColumn<int>("exit_code");  // -1: the window starts
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("said");
        QTest::newRow("files") << QStringList{u"a.csv"_s, u"b.csv"_s} << false << -1
                               << QStringList{u"a.csv"_s, u"b.csv"_s} << QString();
        QTest::newRow("help") << QStringList{u"a.csv"_s, u"--help"_s} << true << 0 << QStringList{}
                              << u"使い方: ponsaiten [ファイル...]"_s;
        QTest::newRow("version") << QStringList{u"-v"_s} << true << 0 << QStringList{}
                                 << u"ぽん採点 (ponsaiten) "_s;
        QTest::newRow("unknown long option") << QStringList{u"--open"_s} << true << 2
                                             << QStringList{} << u"不明なオプションです: --open"_s;
        QTest::newRow("Qt's option before Qt")
            << QStringList{u"-platform"_s, u"xcb"_s, u"a.csv"_s} << true << -1
            << QStringList{u"a.csv"_s} << QString();
        QTest::newRow("unknown after Qt") << QStringList{u"-x"_s} << false << 2 << QStringList{}
                                          << u"不明なオプションです: -x"_s;
        // Refused by the launcher too, before any window system is asked for.
        QTest::newRow("unknown before Qt") << QStringList{u"-x"_s} << true << 2 << QStringList{}
                                           << u"不明なオプションです: -x"_s;
        QTest::newRow("capital V") << QStringList{u"a.csv"_s, u"-V"_s} << true << 2
                                   << QStringList{} << u"不明なオプションです: -V"_s;
        QTest::newRow("batch option") << QStringList{u"--lower=30"_s} << true << 2
                                      << QStringList{} << u"不明なオプションです: --lower=30"_s;
        QTest::newRow("after --, a file before Qt") << QStringList{u"--"_s, u"-x.csv"_s} << true
                                                    << -1 << QStringList{u"-x.csv"_s} << QString();
        QTest::newRow("after --, a file") << QStringList{u"--"_s, u"-x.csv"_s} << false << -1
                                          << QStringList{u"-x.csv"_s} << QString();
        QTest::newRow("after --, -o and = in names")
            << QStringList{u"--"_s, u"-o.csv"_s, u"--a=b.csv"_s, u"--"_s} << true << -1
            << QStringList{u"-o.csv"_s, u"--a=b.csv"_s, u"--"_s} << QString();
    }

    void start_options()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, before_qt);
        QFETCH(int, exit_code);
        QFETCH(QStringList, files);
        QFETCH(QString, said);
        QString out_text, err_text;
        QTextStream out(&out_text), err(&err_text);
        const cli::StartOptions options =
            cli::start_options(QStringList{u"ponsaiten"_s} + args, before_qt, out, err);
        out.flush();
        err.flush();
        QCOMPARE(options.exit_code.value_or(-1), exit_code);
        if (exit_code < 0)
            QCOMPARE(options.files, files);
        const QString all = out_text + err_text;
        if (said.isEmpty())
            QCOMPARE(all, QString());
        else
            QVERIFY2(all.contains(said), qPrintable(all));
        // Only a refusal goes to the error stream.
        QCOMPARE(err_text.isEmpty(), exit_code != 2);
    }

    // Without a screen Qt would abort in English; the launcher says it first.
    void display_missing_data()
    {
        QTest::addColumn<QStringList>("qt_options");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("wayland");
        QTest::addColumn<bool>("missing");
        QTest::newRow("nothing") << QStringList{} << QString() << QString() << QString() << true;
        QTest::newRow("X display") << QStringList{} << QString() << u":0"_s << QString() << false;
        QTest::newRow("Wayland") << QStringList{} << QString() << QString() << u"wayland-0"_s
                                 << false;
        QTest::newRow("xcb asked, none") << QStringList{} << u"xcb"_s << QString() << QString()
                                         << true;
        QTest::newRow("offscreen") << QStringList{} << u"offscreen"_s << QString() << QString()
                                   << false;
        QTest::newRow("offscreen by option") << QStringList{u"-platform"_s, u"offscreen"_s}
                                             << u"xcb"_s << QString() << QString() << false;
        QTest::newRow("xcb by option") << QStringList{u"-platform"_s, u"xcb"_s} << u"offscreen"_s
                                       << QString() << QString() << true;
        QTest::newRow("a list with offscreen") << QStringList{} << u"wayland;offscreen"_s
                                               << QString() << QString() << false;
    }

    void display_missing()
    {
        QFETCH(QStringList, qt_options);
        QFETCH(QString, platform);
        QFETCH(QString, display);
        QFETCH(QString, wayland);
        QFETCH(bool, missing);
        QCOMPARE(cli::display_missing(qt_options, platform, display, wayland), missing);
    }

    void output_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("statistics and candidates")
            << QStringList{data(u"evaluate_five.csv"_s)}
            << kFiveStatistics + candidate_lines(kFiveCandidates);
        QTest::newRow("candidate 1 graded")
            << QStringList{data(u"evaluate_five.csv"_s), u"--candidate"_s, u"1"_s}
            << kFiveStatistics + candidate_lines(kFiveCandidates)
                   + QStringList{u"grade\t1\t0"_s, u"grade\t2\t0"_s, u"grade\t3\t1"_s,
                                 u"grade\t4\t0"_s, u"grade\t5\t1"_s, u"grade\t6\t0"_s,
                                 u"grade\t7\t1"_s, u"grade\t8\t1"_s, u"grade\t9\t1"_s,
                                 u"grade\t10\t0"_s, u"graded\t5"_s};
        // Options may come before the file; the criteria override the file's.
        QTest::newRow("criteria from the command line")
            << QStringList{u"--candidate"_s, u"0"_s, u"--lower"_s, u" 50"_s, u"--upper"_s,
                           u"51"_s, data(u"evaluate_five.csv"_s)}
            << kFiveStatistics + candidate_lines(repeated(u"6.80"_s, 32))
                   + QStringList{u"grade\t1\t0"_s, u"grade\t2\t2"_s, u"grade\t3\t0"_s,
                                 u"grade\t4\t0"_s, u"grade\t5\t0"_s, u"grade\t6\t0"_s,
                                 u"grade\t7\t0"_s, u"grade\t8\t0"_s, u"grade\t9\t0"_s,
                                 u"grade\t10\t3"_s, u"graded\t5"_s};
        // GNU forms: values after "=", a file after "--".
        QTest::newRow("criteria with =")
            << QStringList{u"--candidate=0"_s, u"--lower= 50"_s, u"--upper=51"_s, u"--"_s,
                           data(u"evaluate_five.csv"_s)}
            << kFiveStatistics + candidate_lines(repeated(u"6.80"_s, 32))
                   + QStringList{u"grade\t1\t0"_s, u"grade\t2\t2"_s, u"grade\t3\t0"_s,
                                 u"grade\t4\t0"_s, u"grade\t5\t0"_s, u"grade\t6\t0"_s,
                                 u"grade\t7\t0"_s, u"grade\t8\t0"_s, u"grade\t9\t0"_s,
                                 u"grade\t10\t3"_s, u"graded\t5"_s};
        QTest::newRow("no totals: no candidates")
            << QStringList{data(u"evaluate_no_totals.csv"_s)}
            << QStringList{u"highest\t"_s, u"lowest\t"_s}
                   + QStringList{u"class\t1\t0"_s, u"class\t2\t0"_s, u"class\t3\t0"_s,
                                 u"class\t4\t0"_s, u"class\t5\t0"_s, u"class\t6\t0"_s,
                                 u"class\t7\t0"_s, u"class\t8\t0"_s, u"class\t9\t0"_s,
                                 u"class\t10\t0"_s};
    }

    void output()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, expected);
        const Result result = evaluate(options);
        QCOMPARE(result.err, QString());
        QCOMPARE(result.code, cli::kExitOk);
        QCOMPARE(lines(result.out), expected);
    }

    void viewpoint_lines_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three viewpoints") << u"知,知,思,態"_s
                                          << u"1\t85\tA\t50\tB\t\t－\t|2\t100\tA\t100\tA\t100\tA\t5|"
                                             u"3\t15\tC\t90\tA\t30\tC\t3|4\t\t－\t70\tB\t80\tA\t"_s;
        QTest::newRow("one column") << u"態,-,-,-"_s
                                    << u"1\t\t－\t\t－\t80\tA\t|2\t\t－\t\t－\t100\tA\t|3\t\t－\t\t－\t20\tC\t"_s;
        QTest::newRow("none") << u"-,-,-,-"_s << QString();
    }

    // After the evaluation's lines, as without the option; -o saves the
    // letters, and the saved file alone gives the same lines.
    void viewpoint_lines()
    {
        QFETCH(QString, list);
        QFETCH(QString, expected);
        QStringList students = expected.split(u'|', Qt::SkipEmptyParts);
        for (QString &line : students)
            line.prepend(u"viewpoints\t"_s);
        const QString file = data(u"evaluate_viewpoints.csv"_s);
        const QStringList part = lines(evaluate({file}).out);
        const Result result = evaluate({file, u"--viewpoints"_s, list});
        QCOMPARE(result.err, QString());
        QCOMPARE(result.code, cli::kExitOk);
        QCOMPARE(lines(result.out), part + students);

        QTemporaryDir dir;
        const QString saved = dir.filePath(u"saved.csv"_s);
        QCOMPARE(evaluate({file, u"--viewpoints"_s, list, u"-o"_s, saved}).out, result.out);
        QCOMPARE(evaluate({saved}).out, result.out);
        Sheet sheet;
        QCOMPARE(sheetfile::read_file(saved, sheet, 120).outcome, sheetfile::ReadOutcome::Complete);
        QCOMPARE(sheet.result_count(), expected.isEmpty() ? 0 : 4);
        QCOMPARE(sheet.text(2, sheet.cols() - 1), expected.section(u'|', 1, 1).section(u'\t', -1));
    }

    void graded_file_read_back_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("criteria_line");
        QTest::addColumn<QStringList>("grades");
        QTest::addColumn<int>("candidate");

        QTest::newRow("candidate 1") << QStringList{u"--candidate"_s, u"1"_s}
                                     << u"25,95, 1 "_s
                                     << QStringList{u"3"_s, u"5"_s, u"7"_s, u"8"_s, u"9"_s,
                                                    u"見学"_s}
                                     << 1;
        QTest::newRow("candidate 31 with new criteria")
            << QStringList{u"--candidate"_s, u"31"_s, u"--lower"_s, u"30"_s}
            << u"30,95, 31 "_s
            << QStringList{u"2"_s, u"3"_s, u"4"_s, u"6"_s, u"9"_s, u"見学"_s} << 31;
        QTest::newRow("totals only") << QStringList{} << u"25,95,-1 "_s
                                     << QStringList{u""_s, u""_s, u""_s, u""_s, u""_s,
                                                    u"見学"_s}
                                     << -1;
    }

    void graded_file_read_back()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, criteria_line);
        QFETCH(QStringList, grades);
        QFETCH(int, candidate);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString out_path = dir.filePath(u"graded.csv"_s);
        const Result result =
            evaluate(QStringList{data(u"evaluate_five.csv"_s), u"-o"_s, out_path} + options);
        QCOMPARE(result.err, QString());
        QCOMPARE(result.code, cli::kExitOk);

        const QStringList written = file_lines(out_path);
        QCOMPARE(written.value(0), u"評価計算ｼｰﾄ(K_saiten), 100 , 10 ,"_s);
        QCOMPARE(written.value(1), criteria_line);

        Sheet sheet;
        const sheetfile::ReadResult read = sheetfile::read_file(out_path, sheet, 120);
        QCOMPARE(read.outcome, sheetfile::ReadOutcome::Complete);
        QCOMPARE(sheet.rows(), 7);
        QCOMPARE(sheet.cols(), 8);
        QCOMPARE(sheet.candidate_index(), candidate);
        const QStringList totals{u" 30"_s, u" 45"_s, u" 60"_s, u" 75"_s, u" 90"_s, u""_s};
        for (int r = 1; r <= 6; ++r) {
            QCOMPARE(sheet.text(r, sheet.total_col()), totals[r - 1]);
            QCOMPARE(sheet.text(r, sheet.grade_col()), grades[r - 1]);
        }
        QCOMPARE(sheet.text(6, 4), u"加藤"_s);
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");

        const QString five = data(u"evaluate_five.csv"_s);
        const QString usage = u"使い方: ponsaiten evaluate ファイル"_s;
        QTest::newRow("no file") << QStringList{} << 2 << usage;
        QTest::newRow("empty file name") << QStringList{u""_s} << 2 << usage;
        QTest::newRow("two files") << QStringList{five, five} << 2 << usage;
        QTest::newRow("unknown option") << QStringList{five, u"--bogus"_s} << 2 << usage;
        QTest::newRow("lower without value") << QStringList{five, u"--lower"_s} << 2 << usage;
        QTest::newRow("output without value") << QStringList{five, u"-o"_s} << 2 << usage;
        QTest::newRow("lower twice")
            << QStringList{five, u"--lower"_s, u"1"_s, u"--lower"_s, u"2"_s} << 2 << usage;
        QTest::newRow("candidate twice")
            << QStringList{five, u"--candidate"_s, u"1"_s, u"--candidate"_s, u"2"_s} << 2
            << usage;
        QTest::newRow("candidate missing") << QStringList{five, u"--candidate"_s} << 2 << usage;
        QTest::newRow("candidate text") << QStringList{five, u"--candidate"_s, u"abc"_s} << 2
                                        << usage;
        QTest::newRow("candidate fraction")
            << QStringList{five, u"--candidate"_s, u"1.5"_s} << 2 << usage;
        QTest::newRow("candidate negative")
            << QStringList{five, u"--candidate"_s, u"-1"_s} << 2 << usage;
        QTest::newRow("candidate 32") << QStringList{five, u"--candidate"_s, u"32"_s} << 2
                                      << usage;
        // Criteria that are no number would be counted as 0 and saved as typed.
        QTest::newRow("lower not a number") << QStringList{five, u"--lower"_s, u"abc"_s} << 2
                                            << u"--lower には数を指定してください（「abc」は数ではありません）"_s;
        QTest::newRow("upper empty") << QStringList{five, u"--upper"_s, u""_s} << 2 << usage;
        QTest::newRow("lower with = not a number") << QStringList{five, u"--lower=abc"_s} << 2
                                                   << u"--lower には数を指定してください"_s;
        QTest::newRow("option after --") << QStringList{u"--"_s, five, u"--lower"_s} << 2
                                         << u"評価できるファイルは 1 つだけです"_s;
        // After "--" nothing is split: one file each, named as given.
        QTest::newRow("file -o… after --") << QStringList{u"--"_s, u"-ox.csv"_s} << 4
                                           << u"ponsaiten evaluate: -ox.csv を読み込めません"_s;
        QTest::newRow("file with = after --") << QStringList{u"--"_s, u"--lower=1"_s} << 4
                                              << u"ponsaiten evaluate: --lower=1 を読み込めません"_s;
        // Every total on one side: each candidate would be the same.
        const QString criteria = u"より小さくしてください"_s;
        QTest::newRow("lower above upper")
            << QStringList{five, u"--lower"_s, u"96"_s, u"--upper"_s, u"20"_s} << 2 << criteria;
        QTest::newRow("lower equal to upper")
            << QStringList{five, u"--lower=50"_s, u"--upper=50"_s} << 2 << criteria;
        QTest::newRow("lower above the file's upper")
            << QStringList{five, u"--lower"_s, u"95"_s} << 2 << u"評価 2 の上限（95）は評価 10 の下限（95）"_s;
        QTest::newRow("upper below the file's lower, saving")
            << QStringList{five, u"--upper"_s, u"10"_s, u"-o"_s, QDir::tempPath() + u"/x.csv"_s}
            << 2 << criteria;
        QTest::newRow("the file's criteria the wrong way round")
            << QStringList{data(u"evaluate_reversed.csv"_s), u"-o"_s, QDir::tempPath() + u"/x.csv"_s}
            << 2 << u"評価 2 の上限（95）は評価 10 の下限（90）"_s;
        QTest::newRow("foreign file")
            << QStringList{data(u"foreign.csv"_s)} << 3
            << u"ponsaiten evaluate: "_s + data(u"foreign.csv"_s) + u": 「ぽん採点」で作成したファイルではありません。"_s;
        QTest::newRow("missing file") << QStringList{data(u"no such file.csv"_s)} << 4
                                      << u"ponsaiten evaluate: "_s + data(u"no such file.csv"_s) + u" を読み込めません: ファイルを開けません: ファイルまたはフォルダーが見つかりません"_s;
        QTest::newRow("directory") << QStringList{data(QString())} << 4 << u"を読み込めません"_s;
        const QString vp = data(u"evaluate_viewpoints.csv"_s);
        QTest::newRow("viewpoints for too few columns") << QStringList{vp, u"--viewpoints"_s, u"知,思,態"_s} << 2
                                                        << u"観点の数 3 が素点の列の数 4 と合いません"_s;
        QTest::newRow("no such viewpoint") << QStringList{vp, u"--viewpoints=知,思,態,主"_s} << 2
                                           << u"--viewpoints: 「主」という観点はありません"_s;
    }

    // Refused before anything is computed: nothing on stdout.
    void refusals()
    {
        QFETCH(QStringList, options);
        QFETCH(int, code);
        QFETCH(QString, message);
        const Result result = evaluate(options);
        QCOMPARE(result.code, code);
        QVERIFY2(result.err.contains(message), qPrintable(result.err));
        QCOMPARE(result.out, QString());
    }

    void candidate_from_an_empty_list_is_refused()
    {
        QTemporaryDir dir;
        const QString out_path = dir.filePath(u"out.csv"_s);
        const Result result = evaluate({data(u"evaluate_no_totals.csv"_s), u"--candidate"_s,
                                        u"0"_s, u"-o"_s, out_path});
        QCOMPARE(result.code, cli::kExitNothingToGrade);
        QVERIFY2(result.err.startsWith(u"ponsaiten evaluate: "_s + data(u"evaluate_no_totals.csv"_s) +
                                       u": 総合点のある生徒がいないため"_s),
                 qPrintable(result.err));
        QVERIFY(!result.out.contains(u"graded"_s));
        QVERIFY(!QFile::exists(out_path));
    }

    // The window keeps the rows read before a line too long; a batch result
    // from part of a sheet would mislead, so it is an error.
    void partial_read_is_an_error()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"long line.csv"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QStringEncoder encoder("Windows-31J");
        file.write(encoder.encode(u"評価計算ｼｰﾄ(K_saiten), 100 , 10 ,\r\n25,95,-1 \r\n"
                                  u"年,組,NO,氏名,点1,総合点,評価･評定\r\n1,1,1,青木,30,,\r\n"_s));
        file.write(QByteArray(600, ',') + "\r\n1,1,2,井上,45,,\r\n");
        file.close();

        const Result result = evaluate({path, u"--candidate"_s, u"1"_s});
        QCOMPARE(result.code, cli::kExitIo);
        QVERIFY2(result.err.contains(u"を読み込めません"_s), qPrintable(result.err));
        QCOMPARE(result.out, QString());
    }

    // Checked before evaluating: no table followed by a failed save.
    void unwritable_output_data()
    {
        QTest::addColumn<QString>("out");  // "@" stands for a temporary folder
        QTest::addColumn<QString>("why");
        QTest::newRow("missing folder") << u"@/missing folder/out.csv"_s
                                        << u"保存先のフォルダー @/missing folder がありません"_s;
        QTest::newRow("a folder") << u"@"_s << u"フォルダーです"_s;
    }

    void unwritable_output()
    {
        QFETCH(QString, out);
        QFETCH(QString, why);
        QTemporaryDir dir;
        out.replace(u"@"_s, dir.path());
        why.replace(u"@"_s, dir.path());
        const Result result =
            evaluate({data(u"evaluate_five.csv"_s), u"--candidate"_s, u"1"_s, u"-o"_s, out});
        QCOMPARE(result.code, cli::kExitIo);
        QCOMPARE(result.err, u"ponsaiten evaluate: "_s + out + u" に保存できません: "_s + why + u'\n');
        QCOMPARE(result.out, QString());
        QVERIFY(!QFile::exists(dir.filePath(u"missing folder"_s)));
    }

    void criterion_that_a_sheet_file_cannot_hold()
    {
        QTemporaryDir dir;
        const QString out_path = dir.filePath(u"out.csv"_s);
        const Result result = evaluate(
            {data(u"evaluate_five.csv"_s), u"--lower"_s, u"25😀"_s, u"-o"_s, out_path});
        QCOMPARE(result.code, cli::kExitUsage);
        QVERIFY2(result.err.contains(u"--lower"_s), qPrintable(result.err));
        QVERIFY(!QFile::exists(out_path));
    }

    // Without -o the command reads only the numbers it needs. With it, it
    // must print the same and save what the window saves once it has
    // evaluated the sheet read from the file and chosen the candidate.
    void both_ways_agree_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("options");
        const auto cp932 = [](const QString &text) -> QByteArray {
            QStringEncoder encoder("Windows-31J");
            return encoder.encode(text);
        };
        const QString head = u"評価計算ｼｰﾄ(K_saiten), 100 , 10 , 50 , 5 ,\r\n25,95,-1 \r\n"
                             u"年,組,NO,氏名,点1,点2,総合点,評価･評定\r\n"_s;
        const QStringList graded{u"--candidate"_s, u"7"_s};
        QTest::newRow("short and long rows, blank lines")
            << cp932(head + u"1,1,1,a,30\r\n\r\n1,1,2,b,,40,,,x,y\r\n1,1,3,c,50,20,99,3\r\n"_s)
            << graded;
        // A student without scores keeps the file's total and grade.
        QTest::newRow("no scores keep the grade")
            << cp932(head + u"1,1,1,a,欠,,77,2\r\n1,1,2,b,60,30,,\r\n"_s) << graded;
        QTest::newRow("number forms")
            << cp932(head + u"1,1,1,a,1e308, 0 \r\n1,1,2,b,-20,　5\r\n1,1,3,c,&H1F,\"7,5\"\r\n"
                            u"1,1,4,d,0,00\r\n1,1,5,e,120.5,3D1\r\n"_s)
            << QStringList{u"--candidate"_s, u"0"_s, u"--lower"_s, u"-3"_s};
        QTest::newRow("zero weight first")
            << cp932(u"評価計算ｼｰﾄ(K_saiten), 100 , 0 , 0 , 0 , 50 , 10 ,\r\n30,90,-1 \r\n"
                     u"年,組,NO,氏名,点1,点2,点3,総合点,評価･評定\r\n1,1,1,a,80,10,40\r\n"
                     u"1,1,2,b,,10,\r\n1,1,3,c,90,,\r\n"_s)
            << graded;
        QTest::newRow("bad bytes and DEL")
            << cp932(head) + QByteArray("1,1,1,\x82,40,2\r\n1,1,2,x\x7fy,\x82\x41\x82,50\r\n")
            << graded;
        QTest::newRow("UTF-8 with a byte-order mark")
            << QByteArray("\xEF\xBB\xBF") + (head + u"1,1,1,青木,70,30\r\n"_s).toUtf8() << graded;
        QTest::newRow("bare line feeds")
            << cp932(QString(head).replace(u"\r\n"_s, u"\n"_s) + u"1,1,1,a,70,3\r0\n1,1,2,b,8,\n"_s)
            << graded;
        QTest::newRow("no score columns")
            << cp932(u"評価計算ｼｰﾄ(K_saiten),\r\n25,95,-1 \r\n年,組,NO,氏名,総合点,評価･評定\r\n"
                     u"1,1,1,a, 80 ,9\r\n1,1,2,b,,4\r\n"_s)
            << graded;
        QTest::newRow("title row only") << cp932(head) << graded;
        QTest::newRow("no title row")
            << cp932(u"評価計算ｼｰﾄ(K_saiten), 100 , 10 ,\r\n25,95, 3 \r\n"_s) << QStringList{};
        QTest::newRow("separators, names and a kept candidate")
            << cp932(u"評価計算ｼｰﾄ(K_saiten), 100 , 10 ,\r\n25,95, 3 \r\n"
                     u"年,組,NO,\"氏名,ふりがな\",点1,総合点,評価･評定,メモ\r\n"
                     u"1,1,1,\"青木\ta\",70, 99 ,7,x\r\n1,1,2,髙橋 ﾀｶﾊｼ,50\r\n"_s)
            << QStringList{u"--upper"_s, u"90"_s};
    }

    void both_ways_agree()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"sheet.csv"_s);
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
        out.close();

        const Result numbers_only = evaluate(QStringList{path} + options);
        const QString saved = dir.filePath(u"out.csv"_s);
        const Result whole_sheet = evaluate(QStringList{path, u"-o"_s, saved} + options);
        QVERIFY2(numbers_only.out.startsWith(u"highest\t"_s), qPrintable(numbers_only.err));
        QCOMPARE(numbers_only.out, whole_sheet.out);
        // Only the save may refuse more: a character the file cannot hold.
        if (QFile::exists(saved) || whole_sheet.code == cli::kExitNothingToGrade) {
            QCOMPARE(numbers_only.err, whole_sheet.err);
            QCOMPARE(numbers_only.code, whole_sheet.code);
        }
        if (!QFile::exists(saved))
            return;
        Sheet sheet;
        QCOMPARE(sheetfile::read_file(path, sheet, 120).outcome, sheetfile::ReadOutcome::Complete);
        const qsizetype lower = options.indexOf(u"--lower"_s);
        const qsizetype upper = options.indexOf(u"--upper"_s);
        const qsizetype candidate = options.indexOf(u"--candidate"_s);
        if (lower >= 0)
            sheet.set_lower_text(options[lower + 1]);
        if (upper >= 0)
            sheet.set_upper_text(options[upper + 1]);
        scoring::compute_totals(sheet);
        if (candidate >= 0 && !grading::make_candidates(sheet).isEmpty()) {
            sheet.set_candidate_index(options[candidate + 1].toInt());
            grading::write_grades(sheet, sheet.candidate_index());
        }
        QFile written(saved);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), sheetfile::encode(sheet));
    }

    // Nobody to ask: full marks are raised as before, and each mark above
    // them is named, whichever way the command reads; the candidate the
    // file was saved with is written back by -o.
    void marks_above_full_marks_named()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"typo.csv"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringEncoder("Windows-31J").encode(
            u"評価計算ｼｰﾄ(K_saiten), 100 , 10 , 0 , 10 ,\r\n25,95, 4 \r\n"
            u"年,組,NO,氏名,点1,点2,総合点,評価･評定\r\n"
            u"1,1,1,a,74\r\n1,1,2,b,150\r\n1,1,3,c,100.5\r\n"_s));
        file.close();
        const QString saved = dir.filePath(u"out.csv"_s);
        for (const QStringList &options : {QStringList{path}, QStringList{path, u"-o"_s, saved}}) {
            const Result result = evaluate(options);
            QCOMPARE(result.code, cli::kExitOk);
            QCOMPARE(lines(result.err),
                     (QStringList{u"ponsaiten evaluate: "_s + path +
                                      u": 2 行 5 列の点数 150 が満点 100 を超えています（満点を上げて計算します）"_s,
                                  u"ponsaiten evaluate: "_s + path +
                                      u": 3 行 5 列の点数 100.5 が満点 100 を超えています（満点を上げて計算します）"_s}));
            QCOMPARE(lines(result.out).first(), u"highest\t100"_s);
        }
        Sheet back;
        QCOMPARE(sheetfile::read_file(saved, back, 120).outcome, sheetfile::ReadOutcome::Complete);
        QCOMPARE(back.candidate_index(), 4);
        QCOMPARE(back.settings(1).full_marks, 150.0);
    }

    // 1999 students whose totals run 0, 1, ..., 100 and round again; a second
    // score column holds only absence marks, which leave it out.
    void large_sheet_evaluated_and_graded()
    {
        const int students = 1999;
        Sheet sheet;
        sheet.set_cols(9);
        sheet.set_rows(students + 1);
        const QStringList titles{u"年"_s,  u"組"_s,  u"NO"_s,     u"氏名"_s,
                                 u"点1"_s, u"点2"_s, u"総合点"_s, u"評価･評定"_s};
        for (int c = 1; c <= 8; ++c)
            sheet.set_text(0, c, titles[c - 1]);
        sheet.set_full_marks(1, 100);
        for (int r = 1; r <= students; ++r) {
            sheet.set_text(r, 4, u"生徒"_s + QString::number(r));
            sheet.set_text(r, 5, QString::number((r - 1) % 101));
            sheet.set_text(r, 6, u"欠"_s);
        }
        QTemporaryDir dir;
        const QString in_path = dir.filePath(u"large.csv"_s);
        const QString out_path = dir.filePath(u"large graded.csv"_s);
        QVERIFY(sheetfile::write_file(in_path, sheetfile::encode(sheet)).ok);

        const Result result =
            evaluate({in_path, u"--candidate"_s, u"0"_s, u"-o"_s, out_path});
        QCOMPARE(result.err, QString());
        QCOMPARE(result.code, cli::kExitOk);
        const QStringList out = lines(result.out);
        QCOMPARE(out.mid(0, 12),
                 (QStringList{u"highest\t100"_s, u"lowest\t0"_s, u"class\t1\t200"_s,
                              u"class\t2\t200"_s, u"class\t3\t200"_s, u"class\t4\t200"_s,
                              u"class\t5\t200"_s, u"class\t6\t200"_s, u"class\t7\t200"_s,
                              u"class\t8\t200"_s, u"class\t9\t190"_s, u"class\t10\t209"_s}));
        QCOMPARE(out.size(), 12 + 32 + 11);
        // Totals up to 25 get 2 (20 rounds of 26), totals 95 to 100 get 10 (19 rounds).
        QVERIFY(out.contains(u"grade\t2\t520"_s));
        QVERIFY(out.contains(u"grade\t10\t114"_s));
        QCOMPARE(out.last(), u"graded\t1999"_s);

        Sheet graded;
        QCOMPARE(sheetfile::read_file(out_path, graded, 120).outcome,
                 sheetfile::ReadOutcome::Complete);
        QCOMPARE(graded.rows(), students + 1);
        QCOMPARE(graded.candidate_index(), 0);
        // Spot checks against the curve for candidate 0 at L 25, U 95.
        const struct {
            int total;
            QString grade;
        } spots[] = {{0, u"2"_s},  {25, u"2"_s}, {26, u"3"_s}, {40, u"5"_s},  {60, u"7"_s},
                     {80, u"8"_s}, {94, u"9"_s}, {95, u"10"_s}, {100, u"10"_s}};
        for (int round : {0, 10, 18}) {
            for (const auto &spot : spots) {
                const int r = round * 101 + spot.total + 1;
                QCOMPARE(graded.text(r, graded.total_col()), numbers::signed_form(spot.total));
                QCOMPARE(graded.text(r, graded.grade_col()), spot.grade);
            }
        }
        QCOMPARE(graded.text(students, 4), u"生徒1999"_s);
        QCOMPARE(graded.text(students, graded.grade_col()), u"8"_s);  // total 79
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"

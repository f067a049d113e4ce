// The grade-meeting report on the command line: the numbers of each class and
// of all together, undecided grades, files that cannot be read, folders.
#include "cli.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

using Rows = QList<std::pair<QString, QString>>;  // total, grade per student

// A sheet file as the program saves it: one score column, then the total
// and the grade column.
QByteArray sheet_bytes(const Rows &rows)
{
    QString text = u"評価計算ｼｰﾄ(K_saiten), 100 , 10 ,\r\n25,95,-1 \r\n"
                   u"年,組,NO,氏名,点1,総合点,評価･評定\r\n"_s;
    int n = 0;
    for (const auto &[total, grade] : rows) {
        ++n;
        text += u"1,1,"_s + QString::number(n) + u",生徒,"_s +
                (total.isEmpty() ? u"欠"_s : u"1"_s) + u',' + total + u',' + grade + u"\r\n"_s;
    }
    QStringEncoder encoder("Windows-31J");
    return encoder(text);
}

struct Run {
    int code = -1;
    QString out, err;
};

Run report(const QStringList &args)
{
    Run run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.code = cli::run(QStringList{u"ponsaiten"_s, u"report"_s} + args, out, err);
    out.flush();
    err.flush();
    return run;
}

}  // namespace

class TestReport : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    // One class's line: every field after the file name, hand-computed.
    void class_line_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QString>("fields");
        QTest::newRow("absent student left out")
            << Rows{{u"80"_s, u"8"_s}, {u"70"_s, u"7"_s}, {u""_s, u""_s}, {u"50"_s, u"5"_s}}
            << u"3\t66.67\t12.47\t70\t80\t50\t0\t0\t0\t0\t1\t0\t1\t1\t0\t0\t6.67\t"_s;
        QTest::newRow("text in the total column is no total")
            << Rows{{u"100"_s, u"10"_s}, {u"見学"_s, u""_s}, {u"0"_s, u"2"_s}}
            << u"2\t50\t50\t50\t100\t0\t0\t1\t0\t0\t0\t0\t0\t0\t0\t1\t6\t"_s;
        QTest::newRow("undecided grades are no zeros")
            << Rows{{u"60"_s, u""_s}, {u"40"_s, u""_s}}
            << u"2\t50\t10\t50\t60\t40\t\t\t\t\t\t\t\t\t\t\t\t評価未決定"_s;
        QTest::newRow("one student") << Rows{{u"73"_s, u"6"_s}}
                                     << u"1\t73\t0\t73\t73\t73\t0\t0\t0\t0\t0\t1\t0\t0\t0\t0\t6\t"_s;
        QTest::newRow("nobody with a total") << Rows{{u""_s, u""_s}}
                                             << u"0\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t評価未決定"_s;
        Rows many;
        for (int r = 1; r <= 450; ++r)
            many.append({QString::number(r), QString::number(2 + r % 9)});
        // 1..450: the deviation is sqrt((450² - 1) / 12); 50 of each grade.
        QTest::newRow("450 students")
            << many << u"450\t225.5\t129.9\t225.5\t450\t1\t0\t50\t50\t50\t50\t50\t50\t50\t50\t50\t6\t"_s;
    }

    void class_line()
    {
        QFETCH(Rows, rows);
        QFETCH(QString, fields);
        const QString path = write(u"class.csv"_s, sheet_bytes(rows));
        const Run run = report({u"--tsv"_s, path});
        QCOMPARE(run.code, cli::kExitOk);
        const QStringList lines = run.out.split(u'\n');
        QCOMPARE(lines.size(), 3);  // the class, all, and the end of the last line
        QCOMPARE(lines[0], path + u'\t' + fields);
        QVERIFY(lines[1].startsWith(u"全体\t"_s));
    }

    // Three classes, one not yet graded, a file that is no sheet, one too long, a class again.
    void whole_year_table()
    {
        const QString a = write(u"a.csv"_s, sheet_bytes({{u"80"_s, u"8"_s}, {u"70"_s, u"7"_s},
                                                         {u""_s, u""_s}, {u"50"_s, u"5"_s}}));
        const QString b = write(u"b.csv"_s, sheet_bytes({{u"90"_s, u""_s}}));
        const QString c = write(u"c.csv"_s, sheet_bytes({{u"100"_s, u"10"_s}, {u"0"_s, u"2"_s}}));
        const QString d = write(u"d.txt"_s, "not a sheet\r\n");
        const QString e = write(u"e.csv"_s, sheet_bytes(Rows(10001, {u"50"_s, u"5"_s})));
        const Run run = report({a, b, c, d, e, dir.path() + u"/./a.csv"_s});
        QCOMPARE(run.code, cli::kExitIo);
        const QString expected =
            a + u"\t3\t66.67\t12.47\t70\t80\t50\t0\t0\t0\t0\t1\t0\t1\t1\t0\t0\t6.67\t\n"_s +
            b + u"\t1\t90\t0\t90\t90\t90\t\t\t\t\t\t\t\t\t\t\t\t評価未決定\n"_s +
            c + u"\t2\t50\t50\t50\t100\t0\t0\t1\t0\t0\t0\t0\t0\t0\t0\t1\t6\t\n"_s +
            d + u"\t"_s.repeated(18) + u"読み込めません: 「ぽん採点」で作成したファイルではありません。\n"_s +
            e + u"\t"_s.repeated(18) +
            u"数に入れていません: 10000 行を超えるシートは 10000 行目までしか読み込めません。\n"_s +
            // 80 70 50 90 100 0; grades of a and c only.
            u"全体\t6\t65\t33.04\t75\t100\t0\t0\t1\t0\t0\t1\t0\t1\t1\t0\t1\t6.4\t評価は決定済み 2 シート分\n"_s;
        QCOMPARE(run.out, expected);
        QVERIFY(run.err.contains(d));
        QVERIFY(run.err.contains(u"/./a.csv: 同じファイルがすでに一覧にあるので飛ばしました\n"_s));
    }

    // A folder stands for its sheet files in name order; other files are
    // skipped with a word, subfolders are not entered.
    void folder()
    {
        QTemporaryDir year;
        QDir(year.path()).mkdir(u"sub"_s);
        auto put = [&](const QString &name, const QByteArray &bytes) {
            QFile file(year.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        put(u"2組.csv"_s, sheet_bytes({{u"40"_s, u"4"_s}}));
        put(u"1組.csv"_s, sheet_bytes({{u"60"_s, u"6"_s}}));
        put(u"memo.txt"_s, "memo\r\n");
        put(u"sub/3組.csv"_s, sheet_bytes({{u"99"_s, u"9"_s}}));
        QFile big(year.filePath(u"big.csv"_s));  // sparse: takes no disk space
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(32 * 1024 * 1024 + 1));
        const Run run = report({year.path()});
        QCOMPARE(run.code, cli::kExitOk);
        const QStringList lines = run.out.split(u'\n');
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].startsWith(year.filePath(u"1組.csv"_s) + u"\t1\t60\t"_s));
        QVERIFY(lines[1].startsWith(year.filePath(u"2組.csv"_s) + u"\t1\t40\t"_s));
        QVERIFY(lines[2].startsWith(u"全体\t2\t50\t"_s));
        QVERIFY(run.err.contains(u"memo.txt: シートのファイルではないので飛ばしました"_s));
        QVERIFY(run.err.contains(u"big.csv: シートのファイルにしては大きすぎる（32 MB を超えている）ので飛ばしました"_s));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("why");
        QTest::newRow("no file") << QStringList{u"--tsv"_s} << u"ファイルが指定されていません"_s;
        QTest::newRow("both forms") << QStringList{u"x.csv"_s, u"--tsv"_s, u"-o"_s, u"r.pdf"_s}
                                    << u"-o と --tsv は同時に指定できません"_s;
        QTest::newRow("-o without a name") << QStringList{u"x.csv"_s, u"-o"_s}
                                           << u"-o に保存先のファイル名を指定してください"_s;
        QTest::newRow("-o with an empty name") << QStringList{u"x.csv"_s, u"-o"_s, u""_s}
                                               << u"-o に保存先のファイル名を指定してください"_s;
        QTest::newRow("unknown") << QStringList{u"--all"_s} << u"不明なオプションです: --all"_s;
    }

    void usage()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, why);
        const Run run = report(args);
        QCOMPARE(run.code, cli::kExitUsage);
        QVERIFY2(run.err.startsWith(u"ponsaiten report: "_s + why + u'\n'), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "test_report.moc"

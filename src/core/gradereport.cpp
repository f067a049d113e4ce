#include "gradereport.h"

#include "numbers.h"
#include "sheetfile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace gradereport {

double ClassResult::grade_average() const
{
    if (grades.graded == 0)
        return 0;
    double sum = 0;
    for (int g = 1; g <= 10; ++g)
        sum += double(g) * grades.counts[size_t(g)];
    return sum / grades.graded;
}

QString ClassResult::left_out_note() const
{
    if (readable())
        return {};
    // What was read of a file cut short is no class's numbers.
    return (partly_read ? u"数に入れていません: "_s : u"読み込めません: "_s) + problem;
}

QString real_path(const QString &path)
{
    const QFileInfo info(path);
    const QString real = info.canonicalFilePath();
    return real.isEmpty() ? info.absoluteFilePath() : real;
}

ClassResult of_columns(const QString &name, const QStringList &totals, const QStringList &grades)
{
    ClassResult result;
    result.name = name;
    result.totals = marks::column_statistics(totals);
    result.grades = grading::count_grades(grades);
    result.total_texts = totals;
    return result;
}

ClassResult of_file(const QString &path, QString *foreign_skip)
{
    sheetfile::Scores scores;
    const sheetfile::ReadResult read = sheetfile::read_scores(path, scores);
    const bool is_foreign = read.outcome == sheetfile::ReadOutcome::Foreign;
    if (foreign_skip)
        *foreign_skip = is_foreign      ? u"シートのファイルではないので飛ばしました"_s
                        : read.too_large ? u"シートのファイルにしては大きすぎる（%1 MB を超えている）ので飛ばしました"_s.arg(
                                              sheetfile::kMaxFileBytes / (1024 * 1024))
                                         : QString();
    ClassResult result;
    if (read.outcome == sheetfile::ReadOutcome::Complete)
        result = of_columns(path, scores.totals, scores.grades);
    else  // Half a class would give wrong numbers that look right.
        result = unreadable(path, is_foreign              ? sheetfile::foreign_file_message()
                                  : read.too_large        ? sheetfile::too_large_message()
                                  : read.reason.isEmpty() ? u"読み込めませんでした"_s
                                                          : read.reason);
    result.partly_read = read.outcome == sheetfile::ReadOutcome::Incomplete;
    result.file = real_path(path);
    return result;
}

ClassResult unreadable(const QString &name, const QString &problem)
{
    Q_ASSERT(!problem.isEmpty());
    ClassResult result;
    result.name = name;
    result.problem = problem;
    return result;
}

QString all_name()
{
    return u"全体"_s;
}

Report combine(QList<ClassResult> classes)
{
    Report report;
    QStringList totals{QString()};  // the title row the statistics skip
    for (const ClassResult &c : classes) {
        if (!c.readable())
            continue;
        ++report.readable_classes;
        totals.append(c.total_texts.mid(1));
        if (!c.decided())
            continue;
        ++report.decided_classes;
        for (int g = 0; g <= 10; ++g)
            report.all.grades.counts[size_t(g)] += c.grades.counts[size_t(g)];
        report.all.grades.graded += c.grades.graded;
    }
    report.all.name = all_name();
    report.all.totals = marks::column_statistics(totals);
    report.classes = std::move(classes);
    return report;
}

QStringList field_titles()
{
    QStringList titles = {u"シート"_s, u"人数"_s, u"平均"_s, u"標準偏差"_s, u"中央値"_s,
                          u"最高"_s,   u"最低"_s};
    // Grade 1 too: the evaluation never gives it, but a teacher may, and the
    // average counts it.
    for (int g = 1; g <= 10; ++g)
        titles.append(u"評価"_s + QString::number(g));
    titles << u"評定平均"_s << u"備考"_s;
    return titles;
}

QStringList fields(const ClassResult &result, bool is_all, const Report &report)
{
    QStringList line{result.name};
    const marks::Statistics &s = result.totals;
    const bool numbers_there = result.readable() && s.count > 0;
    line.append(result.readable() ? QString::number(s.count) : QString());
    for (double v : {s.average, s.deviation, s.median})
        line.append(numbers_there ? numbers::two_decimals(v) : QString());
    for (double v : {s.highest, s.lowest})
        line.append(numbers_there ? numbers::plain_form(v) : QString());
    const bool grades_there = is_all ? report.decided_classes > 0 : result.decided();
    for (int g = 1; g <= 10; ++g)
        line.append(grades_there ? QString::number(result.grades.counts[size_t(g)]) : QString());
    line.append(grades_there ? numbers::two_decimals(result.grade_average()) : QString());

    QString note;
    if (!result.readable())
        note = result.left_out_note();
    else if (!grades_there)
        note = u"評価未決定"_s;
    else if (is_all && report.decided_classes < report.readable_classes)
        note = u"評価は決定済み "_s + QString::number(report.decided_classes) +
               u" シート分"_s;
    line.append(note);
    return line;
}

namespace {

QString tsv_line(QStringList fields)
{
    for (QString &field : fields)
        field.replace(u'\\', u"\\\\"_s)
            .replace(u'\t', u"\\t"_s)
            .replace(u'\n', u"\\n"_s)
            .replace(u'\r', u"\\r"_s);
    return fields.join(u'\t') + u'\n';
}

}  // namespace

QString tsv(const Report &report)
{
    QString text;
    for (const ClassResult &c : report.classes)
        text += tsv_line(fields(c, false, report));
    text += tsv_line(fields(report.all, true, report));
    return text;
}

}  // namespace gradereport

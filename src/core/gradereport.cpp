#include "gradereport.h"

#include "numbers.h"
#include "sheet.h"
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

namespace {

// Short names for the result columns' letters; a column beyond the
// viewpoints named by its place.
QStringList names_for(const viewpoints::Distribution &d, const QStringList &short_names)
{
    QStringList names;
    for (qsizetype i = 0; i < d.letters.size(); ++i)
        names.append(i < short_names.size() ? short_names[i] : u"観点"_s + QString::number(i + 1));
    return names;
}

}  // namespace

ClassResult of_sheet(const QString &name, const Sheet &sheet)
{
    ClassResult result =
        of_columns(name, sheet.column_texts(sheet.total_col()), sheet.column_texts(sheet.grade_col()));
    result.viewpoints = viewpoints::distribution(sheet);
    QStringList short_names;
    for (const Viewpoint &v : sheet.viewpoint_settings().viewpoints)
        short_names.append(v.short_name);
    result.viewpoint_names = names_for(result.viewpoints, short_names);
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
    if (read.outcome == sheetfile::ReadOutcome::Complete) {
        result = of_columns(path, scores.totals, scores.grades);
        result.viewpoints = viewpoints::distribution(scores.results);
        result.viewpoint_names = names_for(result.viewpoints, scores.viewpoint_names);
    }
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
    for (const ClassResult &c : classes) {
        if (!c.readable() || c.viewpoints.letters.isEmpty())
            continue;
        ++report.viewpoint_classes;
        viewpoints::add(report.all.viewpoints, c.viewpoints);
        for (qsizetype i = report.viewpoint_names.size(); i < c.viewpoint_names.size(); ++i)
            report.viewpoint_names.append(c.viewpoint_names[i]);
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

// The viewpoint fields go in front of the note, which stays last.
QStringList line_fields(const ClassResult &c, bool is_all, const Report &report)
{
    QStringList line = fields(c, is_all, report);
    if (!report.viewpoint_names.isEmpty())
        line = line.mid(0, line.size() - 1) + viewpoint_fields(c, is_all, report).mid(1) + line.mid(line.size() - 1);
    return line;
}

}  // namespace

QString tsv(const Report &report)
{
    QString text;
    for (const ClassResult &c : report.classes)
        text += tsv_line(line_fields(c, false, report));
    text += tsv_line(line_fields(report.all, true, report));
    return text;
}

QStringList viewpoint_titles(const Report &report)
{
    QStringList titles{u"シート"_s};
    for (const QString &name : report.viewpoint_names)
        titles << name + u'A' << name + u'B' << name + u'C';
    for (int g = 1; g <= 5; ++g)
        titles.append(u"評定"_s + QString::number(g));
    titles.append(u"評定1-5平均"_s);
    return titles;
}

QStringList viewpoint_fields(const ClassResult &result, bool is_all, const Report &report)
{
    QStringList line{result.name};
    const viewpoints::Distribution &d = result.viewpoints;
    const bool there = result.readable() && (is_all ? report.viewpoint_classes > 0 : !d.letters.isEmpty());
    for (qsizetype i = 0; i < report.viewpoint_names.size(); ++i)
        for (size_t j = 0; j < 3; ++j)
            line.append(there && i < d.letters.size() ? QString::number(d.letters[i][j]) : QString());
    for (size_t g = 0; g < 5; ++g)
        line.append(there ? QString::number(d.grades[g]) : QString());
    line.append(there && d.graded > 0 ? numbers::two_decimals(d.grade_average) : QString());
    return line;
}

}  // namespace gradereport

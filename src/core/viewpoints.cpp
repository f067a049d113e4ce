#include "viewpoints.h"

#include "numbers.h"
#include "sheet.h"

#include <cmath>
#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

QList<Viewpoint> ViewpointSettings::default_viewpoints()
{
    return {{u"知識・技能"_s, u"知"_s},
            {u"思考・判断・表現"_s, u"思"_s},
            {u"主体的に学習に取り組む態度"_s, u"態"_s}};
}

// The three-viewpoint table read at the same share of the points: a sum s of
// count viewpoints stands where 3 s / count stands among sums 3..9.
QList<int> ViewpointSettings::default_points_table(int count)
{
    Q_ASSERT(count >= 1 && count <= kMaxViewpoints);
    static constexpr int three[] = {1, 2, 3, 3, 4, 4, 5};  // sums 3..9
    QList<int> table;
    for (int sum = count; sum <= 3 * count; ++sum) {
        const double at = numbers::round_half_even(3.0 * sum / count);
        table.append(three[int(at) - 3]);
    }
    return table;
}

QList<double> ViewpointSettings::default_rate_bounds()
{
    return QList<double>{90, 70, 50, 30};
}

namespace viewpoints {

namespace {

// "A", "ａ", "Ａ" and the like as A, B or C; anything else empty.
QChar normal_letter(QStringView text)
{
    const QString t = text.trimmed().toString().normalized(QString::NormalizationForm_KC).toUpper();
    if (t.size() == 1 && t[0] >= u'A' && t[0] <= u'C')
        return t[0];
    return {};
}

int points_of(QStringView letter)
{
    const QChar c = normal_letter(letter);
    return c.isNull() ? 0 : 3 - (c.unicode() - u'A');
}

// 1..5 when the text is one of them.
int grade_number(QStringView text)
{
    const QString t = text.trimmed().toString().normalized(QString::NormalizationForm_KC);
    return t.size() == 1 && t[0] >= u'1' && t[0] <= u'5' ? t[0].unicode() - u'0' : 0;
}

QString grade_text(int grade)
{
    return grade > 0 ? QString::number(grade) : QString();
}

// The viewpoint whose letter is compared with all the others.
int attitude_index(const ViewpointSettings &settings)
{
    const auto &vps = settings.viewpoints;
    for (int i = 0; i < vps.size(); ++i)
        if (vps[i].short_name == u"態"_s || vps[i].name.contains(u"態度"_s))
            return i;
    return vps.size() == 3 ? 2 : -1;
}

void check(Student &s, const ViewpointSettings &settings)
{
    const auto &vps = settings.viewpoints;
    for (int i = 0; i < s.letters.size(); ++i) {
        const Item &item = s.letters[i];
        if (item.hand_set && normal_letter(item.value).isNull())
            s.checks.append(u"%1の「%2」は A・B・C のどれでもありません"_s.arg(vps[i].short_name, item.value));
    }
    if (s.grade.hand_set && grade_number(s.grade.value) == 0)
        s.checks.append(u"評定「%1」は 1～5 のどれでもありません"_s.arg(s.grade.value));
    else if (s.grade.hand_set && !s.grade.computed.isEmpty() && s.grade.value != s.grade.computed)
        s.checks.append(u"評定 %1 は観点の評価からは %2 です"_s.arg(s.grade.value, s.grade.computed));

    const int att = attitude_index(settings);
    if (att < 0 || vps.size() < 2)
        return;
    const QChar mine = normal_letter(s.letters[att].value);
    if (mine != u'A' && mine != u'C')
        return;
    const QChar far = mine == u'A' ? u'C' : u'A';
    for (int i = 0; i < vps.size(); ++i)
        if (i != att && normal_letter(s.letters[i].value) != far)
            return;
    s.checks.append(u"%1が %2 で、ほかの観点がすべて %3 です"_s.arg(vps[att].name, mine, far));
}

void set_item(Item &item, const QString &value)
{
    item.hand_set = !value.isEmpty();
    item.value = item.hand_set ? value : item.computed;
}

}  // namespace

QString no_letter()
{
    return u"－"_s;
}

QString grade_title()
{
    return u"評定"_s;
}

QStringList result_titles(const ViewpointSettings &settings)
{
    QStringList titles;
    for (const Viewpoint &v : settings.viewpoints)
        titles.append(v.name);
    titles.append(grade_title());
    return titles;
}

QList<int> column_viewpoints(const Sheet &sheet)
{
    QList<int> list;
    for (int k = 1; k <= sheet.score_count(); ++k)
        list.append(sheet.settings(k).viewpoint);
    return list;
}

QString set_column_viewpoints(Sheet &sheet, const QString &list)
{
    const QStringList names = list.split(u',');
    if (names.size() != sheet.score_count())
        return u"観点の数 %1 が素点の列の数 %2 と合いません"_s.arg(names.size()).arg(sheet.score_count());
    const auto &vps = sheet.viewpoint_settings().viewpoints;
    QList<int> chosen;
    for (const QString &name : names) {
        const QString n = name.trimmed();
        int v = n == u"-"_s ? 0 : -1;
        for (int i = 0; i < vps.size() && v < 0; ++i)
            if (vps[i].short_name == n)
                v = i + 1;
        if (v < 0)
            return u"「%1」という観点はありません"_s.arg(n);
        chosen.append(v);
    }
    for (int k = 1; k <= chosen.size(); ++k) {
        ScoreSettings s = sheet.settings(k);
        s.viewpoint = chosen[k - 1];
        sheet.set_settings(k, s);
    }
    return {};
}

QString rate_text(double rate)
{
    return rate < 0 ? QString() : numbers::plain_form(std::floor(rate * 10 + 1e-9) / 10);
}

QString letter_of(double rate, const ViewpointSettings &settings)
{
    if (rate < 0)
        return no_letter();
    return rate >= settings.threshold_a ? u"A"_s : rate >= settings.threshold_b ? u"B"_s : u"C"_s;
}

int grade_of_letters(const QStringList &letters, const ViewpointSettings &settings)
{
    int sum = 0;
    for (const QString &letter : letters) {
        const int points = points_of(letter);
        if (points == 0)
            return 0;
        sum += points;
    }
    const qsizetype at = sum - letters.size();
    return letters.isEmpty() || at >= settings.points_table.size() ? 0 : settings.points_table[at];
}

int grade_of_rates(const QList<double> &rates, const ViewpointSettings &settings)
{
    double sum = 0;
    for (double rate : rates) {
        if (rate < 0)
            return 0;
        sum += rate;
    }
    if (rates.isEmpty())
        return 0;
    const double average = sum / double(rates.size());
    for (int i = 0; i < settings.rate_bounds.size(); ++i)
        if (average >= settings.rate_bounds[i])
            return 5 - i;
    return 1;
}

int Result::checked_count() const
{
    int count = 0;
    for (const Student &s : students)
        count += s.checks.isEmpty() ? 0 : 1;
    return count;
}

Result compute(const Sheet &sheet, const ViewpointSettings &settings, const QList<Correction> &pending)
{
    Result result;
    result.settings = settings;
    const int v = int(settings.viewpoints.size());
    const int rows = sheet.rows();

    struct Column {
        int col;
        int viewpoint;  // 0-based
        double weight;
        double full_marks;  // given ones; the highest mark otherwise
        bool given;
    };
    std::vector<Column> columns;
    for (int k = 1; k <= sheet.score_count(); ++k) {
        const ScoreSettings &s = sheet.settings(k);
        if (s.viewpoint >= 1 && s.viewpoint <= v)
            columns.push_back({Sheet::column_of_slot(k), s.viewpoint - 1, s.weight,
                               s.full_marks_given ? s.full_marks : 0, s.full_marks_given && s.full_marks != 0});
    }

    // Every mark parsed once, row by row as the grid keeps them; NaN where
    // a cell holds no score. Full marks not given follow the highest mark,
    // as the evaluation sets them.
    const size_t width = columns.size();
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> marks(width * size_t(qMax(rows - 1, 0)), none);
    std::vector<double> highest(width, -std::numeric_limits<double>::infinity());
    for (int r = 1; r < rows; ++r) {
        double *line = marks.data() + size_t(r - 1) * width;
        for (size_t j = 0; j < width; ++j) {
            double x = 0;
            if (numbers::holds_score(sheet.text(r, columns[j].col), &x) && std::isfinite(x)) {
                line[j] = x;
                highest[j] = std::max(highest[j], x);
            }
        }
    }
    for (size_t j = 0; j < width; ++j)
        if (!columns[j].given || highest[j] > columns[j].full_marks)
            columns[j].full_marks = highest[j];

    const int result_cols = sheet.result_count();
    const int first_result = sheet.first_result_col();
    std::vector<double> sums(static_cast<size_t>(v)), fulls(static_cast<size_t>(v));
    std::vector<bool> has(static_cast<size_t>(v));
    result.students.reserve(qMax(rows - 1, 0));
    for (int r = 1; r < rows; ++r) {
        Student s;
        s.row = r;
        std::fill(sums.begin(), sums.end(), 0.0);
        std::fill(fulls.begin(), fulls.end(), 0.0);
        std::fill(has.begin(), has.end(), false);
        const double *line = marks.data() + size_t(r - 1) * width;
        for (size_t j = 0; j < width; ++j) {
            if (std::isnan(line[j]))
                continue;
            const size_t i = size_t(columns[j].viewpoint);
            has[i] = true;
            sums[i] += line[j] * columns[j].weight;
            fulls[i] += columns[j].full_marks * columns[j].weight;
        }
        QStringList letters;
        for (int i = 0; i < v; ++i) {
            // Marks over nothing (all of them 0 of full marks 0) are no rate
            // to speak of: 0, as the total counts them.
            const double rate = !has[size_t(i)]   ? -1
                                : fulls[size_t(i)] > 0 ? sums[size_t(i)] * 100 / fulls[size_t(i)]
                                                       : 0;
            s.has_mark = s.has_mark || has[size_t(i)];
            s.rates.append(rate);
            Item item;
            item.computed = letter_of(rate, settings);
            s.letters.append(item);
        }
        // Hand-set values in the result columns, by their place: the letters
        // first, 評定 always last.
        for (int i = 0; i < v; ++i) {
            Item &item = s.letters[i];
            if (!s.has_mark)
                item.computed = QString();
            const int col = first_result + i;
            item.value = item.computed;
            if (i < result_cols - 1 && sheet.is_hand_set(r, col))
                set_item(item, sheet.text(r, col));
        }
        const int grade_col = first_result + result_cols - 1;
        const bool grade_hand_set = result_cols > 0 && sheet.is_hand_set(r, grade_col);
        QString grade_value = grade_hand_set ? sheet.text(r, grade_col) : QString();
        for (const Correction &c : pending) {
            if (c.row != r)
                continue;
            Q_ASSERT(c.item >= 0 && c.item <= v);
            if (c.item < v)
                set_item(s.letters[c.item], c.value);
            else
                grade_value = c.value;
        }
        for (const Item &item : std::as_const(s.letters))
            letters.append(item.value);
        s.grade.computed = grade_text(settings.method == ViewpointSettings::Method::Points
                                          ? grade_of_letters(letters, settings)
                                          : grade_of_rates(s.rates, settings));
        s.grade.value = s.grade.computed;
        set_item(s.grade, grade_value);
        check(s, settings);
        result.students.append(std::move(s));
    }
    return result;
}

Result compute(const Sheet &sheet)
{
    return compute(sheet, sheet.viewpoint_settings());
}

QStringList recomputation_notes(const Result &result, const Student &student)
{
    QStringList notes;
    auto note = [&notes](const QString &name, const Item &item) {
        if (item.differs())
            notes.append(u"%1: 手入力 %2（再計算では %3）"_s.arg(
                name, item.value, item.computed.isEmpty() ? u"空欄"_s : item.computed));
    };
    for (int i = 0; i < student.letters.size(); ++i)
        note(result.settings.viewpoints.value(i).short_name, student.letters[i]);
    note(grade_title(), student.grade);
    return notes;
}

namespace {

void count(Distribution &d, const QStringList &letters, const QString &grade)
{
    for (int i = 0; i < letters.size() && i < d.letters.size(); ++i) {
        const QChar c = normal_letter(letters[i]);
        if (!c.isNull())
            ++d.letters[i][size_t(c.unicode() - u'A')];
    }
    if (const int g = grade_number(grade)) {
        ++d.grades[size_t(g - 1)];
        ++d.graded;
    }
}

void finish(Distribution &d)
{
    double sum = 0;
    for (int g = 1; g <= 5; ++g)
        sum += g * d.grades[size_t(g - 1)];
    d.grade_average = d.graded > 0 ? sum / d.graded : 0;
}

}  // namespace

Distribution distribution(const Result &result)
{
    Distribution d;
    d.letters.resize(result.settings.viewpoints.size());
    for (const Student &s : result.students) {
        QStringList letters;
        for (const Item &item : s.letters)
            letters.append(item.value);
        count(d, letters, s.grade.value);
    }
    finish(d);
    return d;
}

Distribution distribution(const Sheet &sheet)
{
    QList<QStringList> columns;
    for (int c = sheet.first_result_col(); c < sheet.cols(); ++c)
        columns.append(sheet.column_texts(c));
    return distribution(columns);
}

Distribution distribution(const QList<QStringList> &columns)
{
    Distribution d;
    const qsizetype n = columns.size();
    if (n == 0)
        return d;
    d.letters.resize(n - 1);
    for (qsizetype r = 1; r < columns.last().size(); ++r) {
        QStringList letters;
        for (qsizetype c = 0; c + 1 < n; ++c)
            letters.append(columns[c].value(r));
        count(d, letters, columns.last()[r]);
    }
    finish(d);
    return d;
}

void add(Distribution &to, const Distribution &from)
{
    if (to.letters.size() < from.letters.size())
        to.letters.resize(from.letters.size());
    for (qsizetype i = 0; i < from.letters.size(); ++i)
        for (size_t j = 0; j < 3; ++j)
            to.letters[i][j] += from.letters[i][j];
    for (size_t g = 0; g < 5; ++g)
        to.grades[g] += from.grades[g];
    to.graded += from.graded;
    finish(to);
}

void write_results(Sheet &sheet, const Result &result)
{
    const int v = int(result.settings.viewpoints.size());
    sheet.set_viewpoint_settings(result.settings);
    sheet.set_result_count(v + 1);
    const int first = sheet.first_result_col();
    const QStringList titles = result_titles(result.settings);
    for (int i = 0; i <= v; ++i)
        sheet.set_text(0, first + i, titles[i]);
    for (const Student &s : result.students) {
        Q_ASSERT(s.row >= 1 && s.row < sheet.rows());
        for (int i = 0; i <= v; ++i) {
            const Item &item = i < v ? s.letters[i] : s.grade;
            sheet.set_text(s.row, first + i, item.value);
            sheet.set_hand_set(s.row, first + i, item.hand_set);
        }
    }
}

QString clipboard_text(const Sheet &sheet)
{
    QString text;
    const int n = sheet.result_count();
    if (n == 0)
        return text;
    const int first = sheet.first_result_col();
    for (int r = 1; r < sheet.rows(); ++r) {
        bool any = !sheet.text(r, 4).isEmpty();
        for (int c = first; c < sheet.cols() && !any; ++c)
            any = !sheet.text(r, c).isEmpty();
        if (!any)
            continue;
        for (int c = 1; c <= 4; ++c)
            text += sheet.text(r, c) + u'\t';
        for (int c = first; c < sheet.cols(); ++c)
            text += sheet.text(r, c) + (c + 1 < sheet.cols() ? u"\t"_s : u"\r\n"_s);
    }
    return text;
}

}  // namespace viewpoints

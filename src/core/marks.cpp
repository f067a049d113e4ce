#include "marks.h"

#include "numbers.h"
#include "sheet.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace Qt::StringLiterals;

namespace marks {

namespace {

bool is_full_width_digit(QChar c)
{
    return c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19;
}

QChar half_width(QChar c)
{
    if (is_full_width_digit(c))
        return QChar(char16_t(u'0' + (c.unicode() - 0xFF10)));
    switch (c.unicode()) {
    case 0xFF0D:  // －
    case 0x2212:  // −
        return u'-';
    case 0xFF0B:
        return u'+';
    case 0xFF0E:
        return u'.';
    case 0x3000:
        return u' ';
    default:
        return c;
    }
}

bool is_plain_number(const QString &text)
{
    static const QRegularExpression number(u"^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)([EeDd][+-]?\\d+)?$"_s);
    return number.match(text).hasMatch();
}

}  // namespace

QString folded(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        out += half_width(c);
    return out.trimmed();
}

QString look_alike(QStringView text)
{
    const QString plain = folded(text);
    if (!is_plain_number(plain))
        return QString();
    double own = 0;
    if (numbers::holds_score(text, &own) && own == numbers::leading_number(plain))
        return QString();
    if (std::any_of(text.begin(), text.end(), is_full_width_digit))
        return u"全角の数字は点数として数えられません。"_s;
    if (text.contains(QChar(0x3000)))
        return u"全角の空白があるため、点数として数えられません。"_s;
    return u"全角の符号や小数点は点数として数えられません。"_s;
}

bool is_absence_mark(QStringView text)
{
    static const QStringList marks = {
        u"欠"_s, u"欠席"_s, u"公欠"_s, u"病欠"_s, u"忌引"_s, u"出停"_s, u"免除"_s, u"見学"_s, u"未提出"_s,
        u"／"_s, u"/"_s, u"－"_s, u"-"_s, u"ー"_s, u"―"_s, u"・"_s, u"＊"_s, u"*"_s,
    };
    const QString plain = text.toString().remove(QChar(0x3000)).trimmed();
    return marks.contains(plain);
}

QString needs_look(const Sheet &sheet, int row, int col)
{
    const QString &text = sheet.text(row, col);
    if (text.isEmpty())
        return QString();
    double v = 0;
    if (numbers::holds_score(text, &v)) {
        const ScoreSettings &s = sheet.settings(Sheet::slot_of_column(col));
        if (s.full_marks_given && s.full_marks != 0 && v > s.full_marks)
            return u"満点（"_s + numbers::plain_form(s.full_marks) + u"）を超えています。"_s;
        return look_alike(text);
    }
    const QString why = look_alike(text);
    if (!why.isEmpty())
        return why;
    if (numbers::trim_spaces(text).isEmpty() || is_absence_mark(text))
        return QString();
    return u"点数でも欠席などの印でもないため、総合点に数えられません。"_s;
}

int count_look_alikes(const Sheet &sheet, int col)
{
    if (!sheet.is_score_col(col))
        return 0;
    int count = 0;
    for (int r = 1; r < sheet.rows(); ++r)
        if (!needs_look(sheet, r, col).isEmpty())
            ++count;
    return count;
}

int count_look_alikes(const Sheet &sheet)
{
    // Marks repeat across a sheet: each text is judged once for each full
    // marks it is held against, not once per cell.
    QHash<std::pair<QString, double>, bool> judged;
    int count = 0;
    for (int c = Sheet::kFirstScoreCol; sheet.is_score_col(c); ++c) {
        const ScoreSettings &s = sheet.settings(Sheet::slot_of_column(c));
        const double full_marks = s.full_marks_given ? s.full_marks : 0;
        for (int r = 1; r < sheet.rows(); ++r) {
            const QString &text = sheet.text(r, c);
            if (text.isEmpty())
                continue;
            // Plain digits are a score as written: only full marks can flag them.
            if (const int v = numbers::short_digits_value(text); v >= 0) {
                count += full_marks != 0 && v > full_marks ? 1 : 0;
                continue;
            }
            auto it = judged.constFind({text, full_marks});
            if (it == judged.constEnd())
                it = judged.insert({text, full_marks}, !needs_look(sheet, r, c).isEmpty());
            count += *it ? 1 : 0;
        }
    }
    return count;
}

std::optional<std::pair<int, int>> first_look_alike(const Sheet &sheet)
{
    for (int r = 1; r < sheet.rows(); ++r)
        for (int c = Sheet::kFirstScoreCol; sheet.is_score_col(c); ++c)
            if (!needs_look(sheet, r, c).isEmpty())
                return std::pair{r, c};
    return std::nullopt;
}

int fold_look_alikes(Sheet &sheet, int top, int left, int bottom, int right)
{
    int changed = 0;
    for (int r = qMax(top, 1); r <= bottom && r < sheet.rows(); ++r)
        for (int c = left; c <= right; ++c)
            if (sheet.is_score_col(c) && !look_alike(sheet.text(r, c)).isEmpty()) {
                sheet.set_text(r, c, folded(sheet.text(r, c)));
                ++changed;
            }
    return changed;
}

Statistics column_statistics(const Sheet &sheet, int col)
{
    return column_statistics(sheet.column_texts(col));
}

Statistics column_statistics(const QStringList &texts)
{
    std::vector<double> scores;
    for (qsizetype r = 1; r < texts.size(); ++r) {
        double v = 0;
        if (numbers::holds_score(texts[r], &v) && std::isfinite(v))
            scores.push_back(v);
    }
    return statistics_of(std::move(scores));
}

Statistics statistics_of(std::vector<double> scores)
{
    Statistics s;
    s.count = int(scores.size());
    if (scores.empty())
        return s;
    std::sort(scores.begin(), scores.end());
    double sum = 0;
    for (double v : scores)
        sum += v;
    s.average = sum / double(scores.size());
    double squares = 0;
    for (double v : scores)
        squares += (v - s.average) * (v - s.average);
    s.deviation = std::sqrt(squares / double(scores.size()));
    const size_t middle = scores.size() / 2;
    s.median = scores.size() % 2 ? scores[middle] : (scores[middle - 1] + scores[middle]) / 2;
    s.lowest = scores.front();
    s.highest = scores.back();
    return s;
}

}  // namespace marks

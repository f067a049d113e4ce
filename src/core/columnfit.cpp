#include "columnfit.h"

#include "numbers.h"
#include "sheet.h"

#include <QHash>

#include <algorithm>
#include <optional>

namespace columnfit {

bool is_number(QStringView text)
{
    const QStringView trimmed = numbers::trim_spaces(text);
    // "inf" and "nan" read as numbers too, but are no marks.
    if (!std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.isDigit(); }))
        return false;
    bool ok = false;
    (void)trimmed.toDouble(&ok);
    return ok;
}

bool widens(const Sheet &sheet, int col)
{
    return sheet.is_score_col(col) || (sheet.has_evaluation_layout() && col == sheet.total_col());
}

double widest_number(const Sheet &sheet, int col, const Measure &measure)
{
    Q_ASSERT(col >= 0 && col < sheet.cols());
    // Marks repeat down a column: each text is read and measured once, which
    // keeps a refit of the largest sheet from dominating an insertion.
    QHash<QStringView, double> seen;
    double widest = 0;
    for (int r = 1; r < sheet.rows(); ++r) {
        const QStringView text = numbers::trim_spaces(sheet.text(r, col));
        if (text.isEmpty())
            continue;
        auto it = seen.constFind(text);
        if (it == seen.constEnd())
            it = seen.insert(text, is_number(text) ? measure(text.toString()) : 0.0);
        widest = std::max(widest, *it);
    }
    return widest;
}

QString shown(const QString &text, double room, const Measure &measure)
{
    if (is_number(text) && measure(numbers::trim_spaces(text).toString()) > room)
        return kNoRoom;
    return text;
}

namespace {

// The next character's start after i: a surrogate pair stays whole.
qsizetype next_char(const QString &text, qsizetype i)
{
    ++i;
    if (i < text.size() && text[i].isLowSurrogate())
        ++i;
    return i;
}

// The text broken greedily into lines of the room; none when it needs more
// lines or a character alone is wider than the room.
std::optional<QStringList> wrap(const QString &text, double room, int lines,
                                const Measure &measure)
{
    QStringList out;
    qsizetype start = 0;
    while (start < text.size()) {
        if (out.size() == lines)
            return std::nullopt;
        qsizetype end = next_char(text, start);
        if (measure(text.mid(start, end - start)) > room)
            return std::nullopt;
        while (end < text.size()) {
            const qsizetype further = next_char(text, end);
            if (measure(text.mid(start, further - start)) > room)
                break;
            end = further;
        }
        out.append(text.mid(start, end - start));
        start = end;
    }
    return out;
}

}  // namespace

QStringList fit_title(const QString &title, double room, int lines, const Measure &measure)
{
    Q_ASSERT(lines >= 1);
    if (title.isEmpty())
        return {title};
    if (const auto whole = wrap(title, room, lines, measure))
        return *whole;
    const QString ellipsis = QStringLiteral("…");
    for (qsizetype cut = next_char(title, 0); cut < title.size(); cut = next_char(title, cut))
        if (const auto shortened = wrap(ellipsis + title.mid(cut), room, lines, measure))
            return *shortened;
    return {ellipsis};
}

}  // namespace columnfit

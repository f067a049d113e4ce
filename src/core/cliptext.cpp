#include "cliptext.h"

#include "numbers.h"
#include "sheet.h"
#include "sharedtexts.h"
#include "sheetfile.h"
#include "structure.h"

#include <QStringList>
#include <algorithm>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace cliptext {

namespace {

QString rectangle_text(const Sheet &sheet, bool last_line_end)
{
    QString text;
    const int top = sheet.top_selected_row(), bottom = sheet.bottom_selected_row();
    const int left = sheet.left_selected_col(), right = sheet.right_selected_col();
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            text += sheet.text(r, c);
            if (c < right)
                text += u'\t';
            else if (r < bottom || last_line_end)
                text += u"\r\n"_s;
        }
    }
    return text;
}

// Where the quoted field opening at `open` closes, or -1 when it never does.
// A doubled quote inside is a quote of the text, as spreadsheets write it.
qsizetype closing_quote(const QString &text, qsizetype open)
{
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        if (text[i] != u'"')
            continue;
        if (i + 1 < text.size() && text[i + 1] == u'"')
            ++i;
        else
            return i;
    }
    return -1;
}

// Lines of a clipboard text: CR LF or LF ends one, and a line end at the
// very end adds no line. Spreadsheets put a cell holding a line break in
// quotes: a line end inside a field that opens with a quote and closes is
// part of that field, so the student's row stays whole.
QList<QStringView> lines_of(const QString &text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    bool field_start = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\n') {
            const bool crlf = i > start && text[i - 1] == u'\r';
            lines.append(QStringView(text).sliced(start, i - start - (crlf ? 1 : 0)));
            start = i + 1;
            field_start = true;
        } else if (c == u'"' && field_start) {
            const qsizetype close = closing_quote(text, i);
            if (close > 0)
                i = close;
            field_start = false;
        } else {
            field_start = c == u'\t' || c == u',';
        }
    }
    lines.append(QStringView(text).sliced(start));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A block copied from a whole evaluation sheet: its last two titles are the
// total's and a grade's. A block of marks whose last title merely begins
// with 評価 is not one.
bool is_whole_sheet_block(const Sheet &sheet, const QStringList &titles)
{
    const qsizetype n = titles.size();
    if (n < 2 || !titles[n - 1].startsWith(u"評価"_s))
        return false;
    const QString &total = titles[n - 2];
    return total == sheet.text(0, sheet.total_col()) || total == u"総合点"_s;
}

// Unicode's control characters (QChar::Other_Control) are exactly these two
// ranges; a comparison is much cheaper than looking up the category of
// every character of a pasted sheet.
constexpr bool is_control(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

}  // namespace

QString one_line(const QString &text)
{
    const auto control = [](QChar c) { return is_control(c.unicode()); };
    if (std::none_of(text.begin(), text.end(), control))
        return text;
    QString line;
    line.reserve(text.size());
    int breaks = 0;  // line ends (CR LF as one) and tabs not yet written
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\t' || (c == u'\n' && (i == 0 || text[i - 1] != u'\r')))
            ++breaks;
        else if (!control(c)) {
            line += QString(breaks, u' ') + c;
            breaks = 0;
        }
    }
    return line;
}

QString copy_text(const Sheet &sheet)
{
    return rectangle_text(sheet, true);
}

QString cut(Sheet &sheet)
{
    const QString text = rectangle_text(sheet, false);
    delete_contents(sheet);
    sheet.set_current_cell(sheet.top_selected_row(), sheet.left_selected_col());
    return text;
}

void delete_contents(Sheet &sheet)
{
    for (int r = sheet.top_selected_row(); r <= sheet.bottom_selected_row(); ++r)
        for (int c = sheet.left_selected_col(); c <= sheet.right_selected_col(); ++c)
            sheet.set_text(r, c, QString());
}

void select_all(Sheet &sheet)
{
    sheet.set_current_cell(0, 1);
    sheet.set_selection_end(sheet.rows() - 1, sheet.cols() - 1);
}

bool is_block(const QString &text)
{
    if (text.contains(u'\t'))
        return true;
    QStringView rest(text);
    while (!rest.isEmpty() && (rest.back() == u'\n' || rest.back() == u'\r'))
        rest.chop(1);
    return rest.contains(u'\n') || rest.contains(u'\r');
}

QString paste_the_edge()
{
    return u"貼り付ける範囲がシートの右端を越えるため、貼り付けできません。"
           u"総合点と評価･評定の列には、右端までの列数の範囲を貼り付けてください。"_s;
}

namespace {

// The block's lines, each split into one-line fields when it is written:
// a whole sheet's fields held at once would take as much fresh memory as
// the sheet itself. Its fields are mostly a few short marks repeated, and
// the cells share one copy of each.
class Block
{
public:
    explicit Block(const QString &text) : text_(text), lines_(lines_of(text_))
    {
        for (const QStringView line : lines_)
            widest_ = qMax(widest_, field_count(line));
    }

    int lines() const { return int(lines_.size()); }
    // The most fields in a line.
    int widest() const { return widest_; }

    // The fields of a line; valid until the next call.
    QStringList &fields(int line)
    {
        fields_.resize(split(lines_[line]));
        QString *out = fields_.data();
        for (const QStringView field : split_) {
            if (std::any_of(field.begin(), field.end(), [](QChar c) { return is_control(c.unicode()); })) {
                // CR LF becomes LF first, as between lines: CR CR LF is one
                // break, as the lone CR before a line end is.
                QString kept = field.toString();
                *out++ = one_line(kept.replace(u"\r\n"_s, u"\n"_s));
            } else {
                *out++ = shared_.get(field);
            }
        }
        return fields_;
    }

private:
    // A line too long keeps its first fields.
    int split(QStringView line)
    {
        sheetfile::split_views(line, split_);
        return int(split_.size());
    }

    // As many as split gives: without quotes, the separators and the text
    // after the last one, a count several times cheaper than the split.
    int field_count(QStringView line)
    {
        if (line.contains(u'"'))
            return split(line);
        qsizetype separators = 0;
        for (const QChar c : line)
            separators += c == u'\t' || c == u',';
        const bool text_after = !line.isEmpty() && line.back() != u'\t' && line.back() != u',';
        return int(qMin<qsizetype>(separators + (text_after ? 1 : 0), sheetfile::kFieldLimit));
    }

    QString text_;
    QList<QStringView> lines_;
    int widest_ = 0;
    std::vector<QStringView> split_;
    QStringList fields_;
    SharedTexts shared_;
};

// Field i (from 0) of every line goes to column target(i), or nowhere when
// that is -1. A whole sheet's block of n fields sends its last two to the
// total and the grade, wherever those are once the missing columns are in.
struct Target {
    const Sheet *sheet = nullptr;  // set for a whole sheet's block only
    int c0 = 0;
    int n = 0;
    int operator()(int i) const
    {
        if (!sheet)
            return c0 + i;
        if (i == n - 2)
            return sheet->total_col();
        if (i == n - 1)
            return sheet->grade_col();
        return i < n - 2 ? c0 + i : -1;
    }
};

// Where a block pasted at column c0 goes; the missing columns to add first.
struct Placement {
    Target target;
    int missing = 0;
    QString refusal;
};

Placement place(const Sheet &sheet, const QStringList &titles, int widest, int c0)
{
    const bool evaluation = sheet.has_evaluation_layout();
    Placement placement;
    placement.target.c0 = c0;
    if (evaluation && c0 >= sheet.total_col()) {
        // Onto the total or the grade: written there, never widened, and
        // never cut short without a word.
        if (c0 + widest > sheet.cols())
            placement.refusal = paste_the_edge();
    } else if (evaluation && is_whole_sheet_block(sheet, titles)) {
        // A whole sheet's block: its last two fields are a total and a grade,
        // which go to those columns once the missing ones are in.
        const int n = int(titles.size());
        placement.missing = qMax(0, c0 + n - sheet.grade_col() - 1);
        placement.target = {&sheet, c0, n};
    } else if (evaluation) {
        placement.missing = qMax(0, c0 + widest - sheet.total_col());
    } else {
        placement.missing = qMax(0, c0 + widest - sheet.cols());
    }
    return placement;
}

// Adds the missing columns; the cursor stays at (r0, c0).
void make_room(Sheet &sheet, int r0, int c0, int missing, double unit_width)
{
    if (missing > 0 && sheet.has_evaluation_layout()) {
        structure::insert_columns(sheet, c0, missing, unit_width);
        sheet.set_current_cell(r0, c0);
    } else if (missing > 0) {
        const int at = sheet.cols();
        sheet.insert_columns(at, missing);
        const int width = int(numbers::round_half_even(4 * unit_width));
        for (int c = at; c < sheet.cols(); ++c)
            sheet.set_column_width(c, width);
        structure::set_headings(sheet, 1);
        sheet.set_current_cell(r0, c0);
    }
}

// A line below the sheet's last row, as the row it adds: numbered, its
// texts moved where write_row would put them. The rows come in together, so
// their cells need no undo record of their own.
QList<Sheet::Cell> new_row(const Sheet &sheet, int row, QStringList &texts, const Target &target)
{
    QList<Sheet::Cell> cells(sheet.cols());
    Sheet::Cell *const cell = cells.data();
    cell[0].text = numbers::row_number_fixed(row);
    for (int i = 0; i < texts.size(); ++i) {
        const int c = target(i);
        if (c >= 0 && c < sheet.cols())
            cell[c].text = std::move(texts[i]);
    }
    return cells;
}

// One line of the block into its row: each run of changed cells side by
// side is one recorded change, so that a whole sheet's block records a few
// hundred changes rather than one per cell. Cells that stay as they are
// record nothing, as when set one by one. The texts written are moved out.
void write_row(Sheet &sheet, int row, QStringList &texts, const Target &target)
{
    QList<QString> run;
    int run_start = 0;
    const auto write_run = [&] {
        if (!run.isEmpty())
            sheet.set_row_texts(row, run_start, std::exchange(run, {}));
    };
    for (int i = 0; i < texts.size(); ++i) {
        const int c = target(i);
        if (c < 0 || c >= sheet.cols())
            continue;
        if (c == 0 || sheet.text(row, c) == texts[i]) {
            write_run();
            sheet.set_text(row, c, texts[i]);  // records nothing when unchanged
            continue;
        }
        if (!run.isEmpty() && c != run_start + run.size())
            write_run();
        if (run.isEmpty()) {
            run_start = c;
            run.reserve(texts.size() - i);
        }
        run.append(std::move(texts[i]));
    }
    write_run();
}

}  // namespace

PasteResult paste(Sheet &sheet, const QString &text, double unit_width,
                 const std::function<void(int)> &progress)
{
    Block block(text);
    const int r0 = sheet.row();
    const int c0 = sheet.col();
    const Placement placement = place(sheet, block.fields(0), block.widest(), c0);
    if (!placement.refusal.isEmpty())
        return {placement.refusal};

    // The whole block is checked before anything is written. Only rows or
    // columns the block adds count against the limits: a sheet read from a
    // file may already hold more.
    const int last_row = r0 + block.lines() - 1;
    if (placement.missing > 0 &&
        sheet.cols() - sheet.result_count() + placement.missing > structure::kMaxCols)
        return {structure::too_many_columns()};
    if (last_row >= sheet.rows() && last_row + 1 > structure::kMaxRows)
        return {structure::too_many_rows()};

    PasteResult result;
    {
        const Sheet::Batch batch(sheet);
        make_room(sheet, r0, c0, placement.missing, unit_width);
        const int old_rows = sheet.rows();
        const bool grows = last_row >= old_rows;
        QList<QList<Sheet::Cell>> added;
        added.reserve(qMax(0, last_row + 1 - old_rows));
        for (int line = 0; line < block.lines(); ++line) {
            const int row = r0 + line;
            if (row < old_rows)
                write_row(sheet, row, block.fields(line), placement.target);
            else
                added.append(new_row(sheet, row, block.fields(line), placement.target));
            result.lines = line + 1;
            if (progress)
                progress(result.lines);
        }
        sheet.append_rows(std::move(added));
        // An empty row after a block that made the sheet longer.
        if (grows && sheet.rows() < structure::kMaxRows)
            sheet.append_row(numbers::row_number_fixed(sheet.rows()));
    }
    return result;
}

}  // namespace cliptext

#include "sheetfile.h"

#include "codepage932.h"
#include "numbers.h"
#include "sheet.h"
#include "sheetfileformat.h"
#include "sharedtexts.h"
#include "systemerror.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

// Reading a sheet file, into a sheet or only into what an evaluation needs.
namespace sheetfile {

namespace {

// Where the line from pos ends: the position of its line end, or the text's
// size. A search for the LF alone, then a look back for the CR, is several
// times faster than a search for the pair.
qsizetype line_stop(QByteArrayView text, qsizetype pos, bool crlf)
{
    qsizetype stop = text.indexOf('\n', pos);
    while (crlf && stop >= 0 && (stop == 0 || text[stop - 1] != '\r'))
        stop = text.indexOf('\n', stop + 1);
    return stop < 0 ? text.size() : stop - (crlf ? 1 : 0);
}

// What ends a line: CR LF, as this program and the earlier one write it, so
// that a line end inside a cell stays in the cell; LF in a file with no CR LF
// at all (one saved again by an editor that writes bare LF). Neither byte is
// ever part of a double-byte character.
bool ends_lines_with_crlf(QByteArrayView bytes)
{
    return line_stop(bytes, 0, true) < bytes.size();
}

// Text after the last line end counts as a line.
QList<QByteArrayView> split_lines(QByteArrayView text, bool crlf)
{
    QList<QByteArrayView> lines;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype stop = line_stop(text, pos, crlf);
        lines.append(text.sliced(pos, stop - pos));
        pos = stop + (crlf ? 2 : 1);
    }
    return lines;
}

// Walks the fields of a line as split_line describes them, handing each to
// take(); stops once there are more than limit. Returns field_count.
template <typename Take>
int walk_fields(QStringView line, int limit, Take &&take)
{
    int count = 0;
    auto store = [&](QStringView field) {
        if (++count > limit) {
            count = limit + 1;
            return false;
        }
        take(field);
        return true;
    };

    // The pending text is always the run of characters since the last field
    // ended, so it is kept as a start position.
    const qsizetype n = line.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = line[i];
        if (c.unicode() > u',') {  // digits, letters and kana end nothing
            ++i;
        } else if (c == u',' || c == u'\t') {
            if (!store(line.sliced(start, i - start)))
                return count;
            start = ++i;
        } else if (c == u'"') {
            if (i > start && !store(line.sliced(start, i - start)))
                return count;
            qsizetype close = line.indexOf(u'"', i + 1);
            if (close < 0)
                close = n;
            if (!store(line.sliced(i + 1, close - i - 1)))
                return count;
            // The character after the closing quote is skipped.
            i = start = close + 2;
        } else {
            ++i;
        }
    }
    if (start < n)
        store(line.sliced(start));
    return count;
}

// The viewpoint fields of line 2, as far as they make sense.
struct ViewpointFields {
    ViewpointSettings settings;
    QString columns;  // a digit per score column
    int result_count = 0;
    QList<std::pair<int, int>> hand_set;  // grid row, index among the result columns
};

QList<double> numbers_of(QStringView text)
{
    QList<double> list;
    for (QStringView part : text.split(u' ', Qt::SkipEmptyParts))
        list.append(numbers::leading_number(part));
    return list;
}

ViewpointFields parse_viewpoints(const std::vector<QStringView> &fields)
{
    auto field = [&fields](size_t i) { return i <= fields.size() ? fields[i - 1] : QStringView(); };
    ViewpointFields out;
    ViewpointSettings &vs = out.settings;
    QList<Viewpoint> names;
    for (size_t i = 13; i + 1 <= fields.size() && names.size() < ViewpointSettings::kMaxViewpoints; i += 2)
        names.append({field(i).toString(), field(i + 1).toString()});
    if (!names.isEmpty())
        vs.viewpoints = names;
    const int count = int(vs.viewpoints.size());
    vs.threshold_a = numbers::leading_number(field(5));
    vs.threshold_b = numbers::leading_number(field(6));
    vs.method = field(7) == u"2" ? ViewpointSettings::Method::Rates : ViewpointSettings::Method::Points;
    const QList<double> table = numbers_of(field(8));
    vs.points_table = ViewpointSettings::default_points_table(count);
    if (table.size() == vs.points_table.size())
        for (qsizetype i = 0; i < table.size(); ++i)
            vs.points_table[i] = qBound(1, int(table[i]), 5);
    const QList<double> bounds = numbers_of(field(9));
    if (bounds.size() == vs.rate_bounds.size())
        vs.rate_bounds = bounds;
    out.columns = field(10).toString();
    out.result_count = qBound(0, int(numbers::leading_number(field(11))), Sheet::kMaxResultCols);
    for (QStringView cell : field(12).split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype dot = cell.indexOf(u'.');
        if (dot > 0)
            out.hand_set.append({int(numbers::leading_number(cell.first(dot))),
                                 int(numbers::leading_number(cell.sliced(dot + 1)))});
    }
    return out;
}

QString too_many_fields(int line, int limit)
{
    return u"%1 行目の項目が %2 を超えています。"_s.arg(line).arg(limit);
}

// Where a read puts what it finds: the whole sheet for the window, or only
// what an evaluation reads for the batch command.
class ReadTarget
{
public:
    virtual ~ReadTarget() = default;
    // The file is one of ours, or at least names itself so: what was there goes.
    virtual void clear() = 0;
    // How many row lines may follow, at most, in how many bytes: room made
    // at once.
    virtual void expect_rows(qsizetype, qsizetype) {}
    virtual void set_settings(int k, double full_marks, double weight) = 0;
    // candidate: the chosen candidate the field names, -1 when none.
    virtual void set_criteria(const QString &lower, const QString &upper,
                              int candidate) = 0;
    // The fields of a row line; the first row line holds the titles.
    virtual void add_row(const std::vector<QStringView> &fields, bool titles) = 0;
    // Viewpoint grading as line 2 holds it; only a whole sheet takes it.
    virtual void set_viewpoints(ViewpointFields &&) {}
    virtual int rows() const = 0;  // grid rows so far, the title row included
    // Ends every read that got past the file's opening, complete or not.
    virtual void finish(int score_columns) = 0;
};

class SheetTarget : public ReadTarget
{
public:
    SheetTarget(Sheet &sheet, double unit_width) : sheet_(sheet), unit_width_(unit_width) {}

    // Views hear of nothing between the clearing and the end of the read.
    void clear() override
    {
        sheet_.clear_to_single_cell();
        quiet_.emplace(&sheet_);
    }

    void set_settings(int k, double full_marks, double weight) override
    {
        ScoreSettings s = sheet_.settings(k);
        s.full_marks = full_marks;
        s.weight = weight;
        // Full marks a file holds were the teacher's, typed or agreed to:
        // shown as they are and never raised without asking.
        s.full_marks_given = full_marks != 0;
        s.full_marks_text = s.full_marks_given ? numbers::plain_form(full_marks) : ScoreSettings().full_marks_text;
        sheet_.set_settings(k, s);
    }

    void set_criteria(const QString &lower, const QString &upper, int candidate) override
    {
        sheet_.set_lower_text(lower);
        sheet_.set_upper_text(upper);
        // The candidate the file was saved with stays chosen until the
        // teacher chooses another, so a save writes it back.
        sheet_.set_candidate_index(candidate);
    }

    void add_row(const std::vector<QStringView> &fields, bool titles) override
    {
        const int count = int(fields.size());
        if (count >= sheet_.cols())
            sheet_.set_cols(count + 1);
        int row = 0;
        if (!titles) {
            sheet_.append_row(QString());
            row = sheet_.rows() - 1;
        }
        QList<QString> row_texts;
        row_texts.reserve(count);
        for (QStringView f : fields)
            row_texts.append(texts_.get(f));
        sheet_.set_row_texts(row, 1, std::move(row_texts));
    }

    int rows() const override { return sheet_.rows(); }

    void set_viewpoints(ViewpointFields &&fields) override
    {
        sheet_.set_viewpoint_settings(fields.settings);
        viewpoints_ = std::move(fields);
    }

    // The cut to n + 7 columns (and the result columns), row numbers, red grade cells, widths, cursor.
    // The cells are filled with the sheet's signals held back; the widths
    // then tell views that the whole grid changed.
    void finish(int score_columns) override
    {
        quiet_.reset();
        {
            const QSignalBlocker quiet(&sheet_);
            sheet_.set_cols(score_columns + 7 + viewpoints_.result_count);
            sheet_.take_result_columns(viewpoints_.result_count);
            take_viewpoints(score_columns);
            const int grade = sheet_.grade_col();
            for (int r = 1; r < sheet_.rows(); ++r) {
                sheet_.set_text(r, 0, numbers::row_number_signed(r));
                const double v = numbers::leading_number(sheet_.text(r, grade));
                sheet_.set_red(r, grade, v > 0 && v < 3);
            }
            sheet_.set_has_content();
        }
        sheet_.apply_standard_widths(unit_width_);
        sheet_.set_current_cell(1, 1);
        // Views missed the document's own changes while the signals were held.
        emit sheet_.document_changed();
    }

private:
    void take_viewpoints(int score_columns)
    {
        const int count = int(viewpoints_.settings.viewpoints.size());
        for (int k = 1; k <= score_columns && k <= viewpoints_.columns.size(); ++k) {
            ScoreSettings s = sheet_.settings(k);
            const int v = viewpoints_.columns[k - 1].digitValue();
            s.viewpoint = v >= 1 && v <= count ? v : 0;
            sheet_.set_settings(k, s);
        }
        for (const auto &[row, index] : viewpoints_.hand_set)
            if (row >= 1 && row < sheet_.rows() && index >= 0 && index < sheet_.result_count())
                sheet_.set_hand_set(row, sheet_.first_result_col() + index, true);
    }

    Sheet &sheet_;
    double unit_width_;
    ViewpointFields viewpoints_;
    std::optional<QSignalBlocker> quiet_;
    SharedTexts texts_;
};

// Field i of a row line is grid column i: score column k's, then the total
// and the grade after the last one; fields past the grade column are cut as
// in the grid.
class ScoresTarget : public ReadTarget
{
public:
    ScoresTarget(Scores &scores, KeepRows keep) : scores_(scores), keep_(keep) {}

    void clear() override
    {
        scores_ = Scores();
        weights_.assign(1, 0.0);
        scores_.full_marks.assign(1, 0.0);
    }

    void expect_rows(qsizetype rows, qsizetype bytes) override
    {
        rows_ = rows;
        bytes_ = bytes;
    }

    void set_settings(int k, double full_marks, double weight) override
    {
        scores_.full_marks.resize(size_t(k) + 1);
        weights_.resize(size_t(k) + 1);
        scores_.full_marks[size_t(k)] = full_marks;
        weights_[size_t(k)] = weight;
    }

    void set_criteria(const QString &lower, const QString &upper, int candidate) override
    {
        scores_.lower_text = lower;
        scores_.upper_text = upper;
        scores_.candidate = candidate;
    }

    void set_viewpoints(ViewpointFields &&fields) override
    {
        const QString &c = fields.columns;
        scores_.has_viewpoint_fields = true;
        scores_.has_viewpoints =
            std::any_of(c.begin(), c.end(), [](QChar d) { return d > u'0' && d <= u'9'; });
        for (const Viewpoint &v : fields.settings.viewpoints)
            scores_.viewpoint_names.append(v.short_name);
        scores_.results.resize(fields.result_count);
    }

    void add_row(const std::vector<QStringView> &fields, bool titles) override
    {
        start();
        if (keep_ == KeepRows::Yes)
            scores_.encoded.add_row(fields);
        const int total = Sheet::column_of_slot(n_) + 1;
        scores_.totals.append(field(fields, total).toString());
        scores_.grades.append(field(fields, total + 1).toString());
        for (qsizetype i = 0; i < scores_.results.size(); ++i)
            scores_.results[i].append(field(fields, total + 2 + int(i)).toString());
        if (titles)
            return;
        scoring::ScoreGrid &grid = scores_.grid;
        grid.add_row();
        // Field i is grid column i: score column k's is field k + 4.
        const int last = qMin(n_, Sheet::slot_of_column(int(fields.size())));
        if (last > 0)
            grid.set_row(fields.data() + Sheet::column_of_slot(1) - 1, last);
    }

    int rows() const override { return qMax(int(scores_.totals.size()), 1); }

    void finish(int) override
    {
        start();
        // A file without any row line still has its title row.
        if (scores_.totals.isEmpty()) {
            scores_.totals.append(QString());
            scores_.grades.append(QString());
            for (QStringList &column : scores_.results)
                column.append(QString());
        }
    }

private:
    static QStringView field(const std::vector<QStringView> &fields, int i)
    {
        return i <= int(fields.size()) ? fields[size_t(i - 1)] : QStringView();
    }

    // The settings all come before the first row line.
    void start()
    {
        if (started_)
            return;
        started_ = true;
        n_ = int(weights_.size()) - 1;
        scores_.grid = scoring::ScoreGrid(weights_);
        scores_.grid.watch_full_marks(scores_.full_marks);
        if (keep_ == KeepRows::Yes)
            scores_.encoded.start(Sheet::column_of_slot(n_ + 1) - 1, bytes_);
        scores_.grid.reserve(int(qMin<qsizetype>(rows_, kMaxReadRows)));
        scores_.totals.reserve(qMin<qsizetype>(rows_, kMaxReadRows));
        scores_.grades.reserve(qMin<qsizetype>(rows_, kMaxReadRows));
    }

    Scores &scores_;
    KeepRows keep_;
    std::vector<double> weights_ = {0.0};
    qsizetype rows_ = 0;
    qsizetype bytes_ = 0;
    int n_ = 0;
    bool started_ = false;
};

// Everything after the marker: the settings on line 1, the criteria on line
// 2, then one grid row per line that has fields. The first failure ends it.
class SheetReader
{
public:
    explicit SheetReader(ReadTarget &target) : target_(target)
    {
        fields_.reserve(kFieldLimit);
    }

    bool ok() const { return result_.outcome == ReadOutcome::Complete; }
    const ReadResult &result() const { return result_; }
    int score_columns() const { return score_columns_; }

    void fail(const QString &reason)
    {
        if (ok())
            result_ = {ReadOutcome::Incomplete, reason};
    }

    // Line 1: full marks and weight of each score column, in pairs.
    void read_settings(const Fields &head)
    {
        for (int i = 2; i <= head.field_count; i += 2) {
            target_.set_settings(i / 2, numbers::leading_number(head.fields[i - 1]),
                                 i < head.field_count ? numbers::leading_number(head.fields[i])
                                                      : 0.0);
            ++score_columns_;
        }
    }

    // Lines 2 and on.
    void read_following_lines(const QList<QByteArrayView> &lines, bool utf8)
    {
        cp932::LineDecoder decoder;
        for (qsizetype i = 1; i < lines.size() && ok(); ++i) {
            if (utf8)
                take_line(QString::fromUtf8(lines[i]), int(i + 1));
            else
                take_line(decoder.decode(lines[i]), int(i + 1));
        }
    }

private:
    void take_line(QStringView text, int line_number)
    {
        fields_.clear();
        const int count =
            walk_fields(text, kFieldLimit, [this](QStringView f) { fields_.push_back(f); });
        if (count > kFieldLimit)
            fail(too_many_fields(line_number, kFieldLimit));
        else if (line_number == 2)
            read_criteria();
        else if (count > 0)
            read_row();
    }

    QStringView field(size_t i) const { return i <= fields_.size() ? fields_[i - 1] : QStringView(); }

    // Line 2: both criteria as plain numbers, then the candidate index.
    void read_criteria()
    {
        double index = 0;
        const bool named = numbers::holds_score(field(3), &index) && index == std::floor(index) &&
                           index >= 0 && index < 32;
        target_.set_criteria(numbers::plain_form(numbers::leading_number(field(1))),
                             numbers::plain_form(numbers::leading_number(field(2))),
                             named ? int(index) : -1);
        if (field(4) == viewpoint_marker())
            target_.set_viewpoints(parse_viewpoints(fields_));
    }

    // The first row line fills the titles; each later one appends a row.
    void read_row()
    {
        if (target_.rows() >= kMaxReadRows && title_row_filled_) {
            fail(u"%1 行を超えるシートは %1 行目までしか読み込めません。"_s.arg(kMaxReadRows));
            return;
        }
        target_.add_row(fields_, !title_row_filled_);
        title_row_filled_ = true;
    }

    ReadTarget &target_;
    ReadResult result_;
    int score_columns_ = 0;
    bool title_row_filled_ = false;
    std::vector<QStringView> fields_;
};

// read_error: why the bytes stop early (empty when they are the whole file);
// the bytes then hold only the complete lines read before the error.
// A sheet file an editor saved again in UTF-8, with or without a byte-order
// mark: its marker's bytes tell it apart from code page 932.
bool strip_utf8_marker(QByteArrayView &bytes)
{
    static const QByteArray utf8_marker = marker().toUtf8();
    static const QByteArray quoted_marker = '"' + utf8_marker;
    const QByteArrayView bom("\xEF\xBB\xBF");
    const QByteArrayView body = bytes.startsWith(bom) ? bytes.sliced(bom.size()) : bytes;
    if (!body.startsWith(utf8_marker) && !body.startsWith(quoted_marker))
        return false;
    bytes = body;
    return true;
}

ReadResult read_lines(QByteArrayView bytes, ReadTarget &target, const QString &read_error)
{
    const bool utf8 = strip_utf8_marker(bytes);
    const QList<QByteArrayView> lines = split_lines(bytes, ends_lines_with_crlf(bytes));
    if (lines.isEmpty() && !read_error.isEmpty()) {
        // Not even line 1 came in: the sheet keeps its cells.
        target.finish(0);
        return {ReadOutcome::Incomplete, read_error};
    }

    // An empty file reads as one empty line, which is not ours either.
    const QString first = lines.isEmpty() ? QString()
                          : utf8          ? QString::fromUtf8(lines[0])
                                          : cp932::decode_line(lines[0]);
    const Fields head = split_line(first, kFirstLineFieldLimit);
    // More score columns than a sheet can have: nothing of it can be read
    // right, so the sheet is left as it is.
    if (head.field_count > kFirstLineFieldLimit && head.fields[0] == marker())
        return {ReadOutcome::Refused, too_many_fields(1, kFirstLineFieldLimit)};
    target.clear();
    if (head.field_count == 0 || head.fields[0] != marker())
        return {ReadOutcome::Foreign, foreign_file_message()};

    target.expect_rows(lines.size(), bytes.size());
    SheetReader reader(target);
    reader.read_settings(head);
    if (reader.ok() && lines.size() < 2)
        reader.fail(read_error.isEmpty()
                        ? u"ファイルが途中で終わっています（2 行目がありません）。"_s
                        : read_error);
    if (reader.ok())
        reader.read_following_lines(lines, utf8);
    if (!read_error.isEmpty())
        reader.fail(read_error);
    target.finish(reader.score_columns());
    return reader.result();
}

// The file's bytes through read_lines into target.
ReadResult read_into(const QString &path, ReadTarget &target)
{
    // Opening a FIFO waits for a writer that never comes; a device may never end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return {ReadOutcome::Refused, u"ファイルを開けません: %1"_s.arg(not_a_file_to_read_message())};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        // Nothing was read: the sheet stays as it was, and the window opens none.
        const QString why = info.isDir() ? u"フォルダーです"_s
                                         : systemerror::in_japanese(file.errorString());
        return {ReadOutcome::Refused, u"ファイルを開けません: %1"_s.arg(why)};
    }

    const ReadResult too_large{ReadOutcome::Refused,
                               too_large_message() + u"シートのファイルではありません。"_s, true};
    const qint64 size = file.size();
    if (size > kMaxFileBytes)
        return too_large;
    QByteArray bytes;
    qsizetype used = 0;
    QString read_error;
    bytes.resize(size > 0 ? qsizetype(size) + 1 : 64 * 1024);
    for (;;) {
        // A device or a pipe tells no size: the limit holds all the same.
        if (used > kMaxFileBytes)
            return too_large;
        if (used == bytes.size())
            bytes.resize(qMin<qsizetype>(bytes.size() * 2, kMaxFileBytes + 2));
        const qint64 got = file.read(bytes.data() + used, bytes.size() - used);
        if (got < 0) {
            read_error = u"ファイルの読み込み中にエラーが起きました: %1"_s.arg(
                systemerror::in_japanese(file.errorString()));
            // Only the lines that came in whole count.
            const QByteArrayView so_far(bytes.constData(), used);
            used = so_far.lastIndexOf('\n') + 1;
            break;
        }
        if (got == 0)
            break;
        used += qsizetype(got);
    }
    bytes.truncate(used);
    file.close();

    return read_lines(bytes, target, read_error);
}

}  // namespace

QString too_large_message()
{
    return u"ファイルが大きすぎます（%1 MB を超えています）。"_s.arg(kMaxFileBytes / (1024 * 1024));
}

QString not_a_file_to_read_message()
{
    return u"通常のファイルではありません（名前付きパイプやデバイスなど）"_s;
}

QString foreign_file_message()
{
    return u"「ぽん採点」で作成したファイルではありません。"_s;
}

Fields split_line(QStringView line, int limit)
{
    Fields out;
    out.field_count =
        walk_fields(line, limit, [&out](QStringView field) { out.fields.append(field.toString()); });
    return out;
}

int split_views(QStringView line, std::vector<QStringView> &fields, int limit)
{
    fields.clear();
    return walk_fields(line, limit, [&fields](QStringView field) { fields.push_back(field); });
}

ReadResult read_bytes(const QByteArray &bytes, Sheet &sheet, double unit_width)
{
    SheetTarget target(sheet, unit_width);
    return read_lines(bytes, target, QString());
}

ReadResult read_file(const QString &path, Sheet &sheet, double unit_width)
{
    SheetTarget target(sheet, unit_width);
    const ReadResult result = read_into(path, target);
    if (result.outcome == ReadOutcome::Complete) {
        sheet.set_sheet_name(path);
        // The sheet is what the file holds: closing it loses nothing.
        sheet.mark_saved();
    }
    return result;
}

ReadResult read_scores(const QString &path, Scores &scores, KeepRows keep)
{
    ScoresTarget target(scores, keep);
    return read_into(path, target);
}

ReadResult read_scores_from_bytes(const QByteArray &bytes, Scores &scores, KeepRows keep)
{
    ScoresTarget target(scores, keep);
    return read_lines(bytes, target, QString());
}

}  // namespace sheetfile

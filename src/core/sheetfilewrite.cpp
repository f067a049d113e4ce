#include "sheetfile.h"

#include "codepage932.h"
#include "numbers.h"
#include "sheet.h"
#include "sheetfileformat.h"
#include "systemerror.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <array>
#include <cstring>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

// Writing a sheet file: the file's text built from the sheet, and the
// atomic write.
namespace sheetfile {

namespace {

const QChar kFullWidthQuote(0xFF02);

// What a text needs on its way into the file.
struct Care {
    bool quote = false;      // holds a separator: written in double quotes
    bool replace = false;    // holds a double quote or a CR LF
    bool ascii = true;       // needs no converter
};

Care care_of(QStringView text)
{
    Care care;
    QChar previous;
    for (const QChar c : text) {
        if (c.unicode() > u'"' && c != u',') {
            care.ascii = care.ascii && c.unicode() < 0x80;
            previous = c;
            continue;
        }
        if (c == u',' || c == u'\t')
            care.quote = true;
        else if (c == u'"' || (c == u'\n' && previous == u'\r'))
            care.replace = true;
        previous = c;
    }
    return care;
}

// ASCII always fits the code page; asking the converter about it costs a
// converter of its own, for every empty cell of a large sheet too.
bool is_ascii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// A text as a field of the file: a double quote becomes the full-width one,
// a CR LF inside a cell (which would end the line) a bare LF, characters the
// code page lacks "?"; quoted when it holds a separator.
QString field_text(const QString &text)
{
    const Care care = care_of(text);
    QString out = text;
    if (care.replace) {
        // Every CR before a line feed goes, or "\r\r\n" would leave a CR LF
        // that ends the line in the middle of the cell.
        static const QRegularExpression crs_before_lf(u"\r+\n"_s);
        out.replace(u'"', kFullWidthQuote).replace(crs_before_lf, u"\n"_s);
    }
    if (!is_ascii(out) && !cp932::encodable(out))
        out = cp932::with_question_marks(out);
    return care.quote ? u'"' + out + u'"' : out;
}

QString numbers_text(const auto &list)
{
    QStringList parts;
    for (const auto x : list)
        parts.append(numbers::plain_form(double(x)));
    return parts.join(u' ');
}

// The viewpoint fields of line 2, empty for a sheet that uses no viewpoint
// grading at all, so that its file stays as it always was.
QString viewpoint_fields(const Sheet &sheet)
{
    const ViewpointSettings &vs = sheet.viewpoint_settings();
    QString columns;
    bool used = sheet.result_count() > 0 || vs != ViewpointSettings();
    for (int k = 1; k <= sheet.score_count(); ++k) {
        const int v = sheet.settings(k).viewpoint;
        used = used || v != 0;
        columns += QChar(u'0' + v);
    }
    if (!used)
        return {};
    QStringList hand_set;
    for (int r = 1; r < sheet.rows(); ++r)
        for (int c = sheet.first_result_col(); c < sheet.cols(); ++c)
            if (sheet.is_hand_set(r, c))
                hand_set.append(u"%1.%2"_s.arg(r).arg(c - sheet.first_result_col()));
    QString text = u',' + viewpoint_marker() + u',' + numbers::plain_form(vs.threshold_a) + u',' +
                   numbers::plain_form(vs.threshold_b) + u',' +
                   (vs.method == ViewpointSettings::Method::Rates ? u"2"_s : u"1"_s) + u',' +
                   numbers_text(vs.points_table) + u',' + numbers_text(vs.rate_bounds) + u',' + columns +
                   u',' + QString::number(sheet.result_count()) + u',' + hand_set.join(u' ');
    for (const Viewpoint &v : vs.viewpoints)
        text += u',' + field_text(v.name) + u',' + field_text(v.short_name);
    return text;
}

// Line 1 with score column k's full marks and weight (k = 1 .. n), then line 2.
template <typename FullMarks, typename Weight>
QString header_lines(int n, FullMarks &&full_marks, Weight &&weight, const QString &lower,
                     const QString &upper, int candidate, const QString &viewpoints)
{
    QString text = marker() + u',';
    for (int k = 1; k <= n; ++k)
        text += numbers::print_form(full_marks(k)) + u',' + numbers::print_form(weight(k)) + u',';
    text += u"\r\n"_s;
    text += field_text(lower) + u',' + field_text(upper) + u',' + numbers::print_form(candidate) +
            viewpoints + u"\r\n"_s;
    return text;
}

QString header_lines(const Sheet &sheet)
{
    return header_lines(
        sheet.score_count(), [&](int k) { return sheet.settings(k).full_marks; },
        [&](int k) { return sheet.settings(k).weight; }, sheet.lower_text(), sheet.upper_text(),
        sheet.candidate_index(), viewpoint_fields(sheet));
}

// Columns 1 .. Cols-2 each followed by a comma, then the last column; a grid
// of fewer than three columns so writes only its last column.
void append_row(QString &text, const Sheet &sheet, int row)
{
    const int last = sheet.cols() - 1;
    for (int c = qMin(1, last); c <= last; ++c) {
        text += field_text(sheet.text(row, c));
        text += c < last ? u","_s : u"\r\n"_s;
    }
}

// Writes the texts of the file into out from used on, making room as it
// goes: a field of plain ASCII (marks, nearly all of a sheet) byte by byte,
// others through the converter. The bytes are the converter's own:
// cp932::fix_encoded must go over the whole once it is written.
class FieldWriter
{
public:
    FieldWriter(QByteArray &out, qsizetype &used, QStringEncoder &encoder)
        : out_(out), used_(used), encoder_(encoder), data_(out.data()), size_(out.size())
    {
    }

    char *room(qsizetype need)
    {
        if (used_ + need > size_) {
            out_.resize(qMax(used_ + need, size_ * 2));
            data_ = out_.data();
            size_ = out_.size();
        }
        return data_ + used_;
    }

    void put_text(QStringView text)
    {
        used_ = encoder_.appendToBuffer(room(encoder_.requiredSpace(text.size())), text) - data_;
    }

    void put_bytes(QByteArrayView bytes)
    {
        std::memcpy(room(bytes.size()), bytes.data(), size_t(bytes.size()));
        used_ += bytes.size();
    }

    // A field, after a comma unless it is a line's first. False when it
    // cannot be written as it is (a double quote, a line end).
    bool put_field(QStringView text, bool after_comma)
    {
        char *at = room(text.size() + 1);
        if (after_comma)
            *at++ = ',';
        for (const QChar ch : text) {
            const char16_t c = ch.unicode();
            if (c < u' ' || c >= 0x80 || c == u'"' || c == u',')
                return put_field_with_care(text, after_comma);
            *at++ = static_cast<char>(ascii_[c]);
        }
        used_ = at - data_;
        return true;
    }

    void put_line_end() { put_bytes("\r\n"); }

private:
    // Something else than plain ASCII: quoted when it holds a separator,
    // through the converter when it needs it.
    Q_NEVER_INLINE bool put_field_with_care(QStringView text, bool after_comma)
    {
        used_ += after_comma ? 1 : 0;
        const Care care = care_of(text);
        if (care.replace)
            return false;
        if (care.quote)
            put_bytes("\"");
        if (care.ascii)
            used_ = cp932::put_ascii(text, room(text.size())) - data_;
        else
            put_text(text);
        if (care.quote)
            put_bytes("\"");
        return true;
    }

    const std::array<unsigned char, 128> &ascii_ = cp932::encoder_ascii_bytes();
    QByteArray &out_;
    qsizetype &used_;
    QStringEncoder &encoder_;
    char *data_;  // out_'s, kept while out_ is not resized
    qsizetype size_;
};

// The whole file as append_row builds it, when every text can be written as
// it is; false otherwise.
bool encode_clean_sheet(const Sheet &sheet, QByteArray &out)
{
    if (care_of(sheet.lower_text()).replace || care_of(sheet.upper_text()).replace)
        return false;
    QStringEncoder encoder = cp932::encoder();
    // Columns 1 .. Cols-1 are the file's fields; a grid of fewer than three
    // columns so writes only its last column.
    const int last = sheet.cols() - 1;
    const int first = qMin(1, last);
    out.resize(qsizetype(sheet.rows()) * (last - first + 1) * 4 + 4096);
    qsizetype used = 0;
    FieldWriter writer(out, used, encoder);
    writer.put_text(header_lines(sheet));
    for (int r = 0; r < sheet.rows(); ++r) {
        for (int c = first; c <= last; ++c) {
            if (!writer.put_field(sheet.text(r, c), c > first))
                return false;
        }
        writer.put_line_end();
    }
    out.resize(used);
    if (encoder.hasError())
        return false;
    cp932::fix_encoded(out);
    return true;
}

}  // namespace

QString not_a_file_message()
{
    return u"通常のファイルではないため、保存できません。"_s;
}

// The criteria come first, as in the file; then the grid row by row. Column 0
// is not written, so it is not looked at.
std::optional<Unencodable> find_unencodable(const Sheet &sheet)
{
    // ASCII always fits but for the double quote; the other texts are tried
    // together first.
    QString wide;
    bool quotes = false;
    auto gather = [&](const QString &text) {
        // One look at each character: marks are nearly all there is.
        bool ascii = true;
        for (const QChar c : text) {
            quotes = quotes || c == u'"';
            ascii = ascii && c.unicode() < 0x80;
        }
        if (!ascii) {
            wide += text;
            wide += u',';
        }
    };
    gather(sheet.lower_text());
    gather(sheet.upper_text());
    const QList<Viewpoint> &names = sheet.viewpoint_settings().viewpoints;
    for (const Viewpoint &v : names)
        gather(v.name + v.short_name);
    for (int r = 0; r < sheet.rows(); ++r)
        for (int c = 1; c < sheet.cols(); ++c)
            gather(sheet.text(r, c));
    if (!quotes && cp932::encodable(wide))
        return std::nullopt;

    auto found = [](int row, int col, QStringView text) -> std::optional<Unencodable> {
        const qsizetype quote = text.indexOf(u'"');
        const qsizetype lacking =
            is_ascii(text) || cp932::encodable(text) ? -1 : cp932::first_unencodable(text);
        if (quote < 0 && lacking < 0)
            return std::nullopt;
        if (lacking < 0 || (quote >= 0 && quote < lacking))
            return Unencodable{row, col, u"\""_s, QString(kFullWidthQuote)};
        return Unencodable{row, col,
                           text.sliced(lacking, cp932::char_length(text, lacking)).toString(),
                           u"?"_s};
    };
    if (auto hit = found(-1, 1, sheet.lower_text()))
        return hit;
    if (auto hit = found(-1, 2, sheet.upper_text()))
        return hit;
    for (int i = 0; i < names.size(); ++i)
        if (auto hit = found(-2, i + 1, QString(names[i].name + names[i].short_name)))
            return hit;
    for (int r = 0; r < sheet.rows(); ++r) {
        for (int c = 1; c < sheet.cols(); ++c) {
            if (auto hit = found(r, c, sheet.text(r, c)))
                return hit;
        }
    }
    return std::nullopt;
}

QByteArray encode(const Sheet &sheet)
{
    QByteArray bytes;
    if (encode_clean_sheet(sheet, bytes))
        return bytes;

    // Something cannot be held as it is: write it again field by field.
    QString text = header_lines(sheet);
    for (int r = 0; r < sheet.rows(); ++r)
        append_row(text, sheet, r);
    cp932::encode_clean(text, bytes);
    return bytes;
}

void EncodedRows::start(int fields, qsizetype bytes)
{
    Q_ASSERT(fields > 0);
    fields_ = fields;
    encoder_ = std::make_unique<QStringEncoder>(cp932::kName, QStringConverter::Flag::Stateless);
    // Written again, the rows take about the bytes they were read from.
    bytes_.resize(bytes + 4096);
}

void EncodedRows::add_row(const std::vector<QStringView> &fields)
{
    if (!clean_)
        return;
    FieldWriter writer(bytes_, used_, *encoder_);
    for (int i = 0; i < fields_; ++i) {
        const QStringView text = size_t(i) < fields.size() ? fields[size_t(i)] : QStringView();
        if (!writer.put_field(text, i > 0)) {
            clean_ = false;
            return;
        }
    }
    ends_.push_back(used_);
}

std::optional<QByteArray> EncodedRows::file(const QString &header, const QStringList &totals,
                                            const QStringList &grades)
{
    Q_ASSERT(totals.size() == qMax(qsizetype(ends_.size()), qsizetype(1)) &&
             grades.size() == totals.size());
    if (!clean_)
        return std::nullopt;
    QByteArray out;
    qsizetype used = 0;
    out.resize(used_ + header.size() * 2 + totals.size() * 16 + 4096);
    FieldWriter writer(out, used, *encoder_);
    writer.put_text(header);
    for (qsizetype r = 0; r < totals.size(); ++r) {
        if (size_t(r) < ends_.size()) {
            const qsizetype from = r == 0 ? 0 : ends_[size_t(r) - 1];
            writer.put_bytes(QByteArrayView(bytes_).sliced(from, ends_[size_t(r)] - from));
        } else {
            writer.put_bytes(QByteArray(fields_ - 1, ','));
        }
        if (!writer.put_field(totals[r], true) || !writer.put_field(grades[r], true))
            return std::nullopt;
        writer.put_line_end();
    }
    out.resize(used);
    if (encoder_->hasError())
        return std::nullopt;
    cp932::fix_encoded(out);
    return out;
}

std::optional<QByteArray> encode_evaluated(Scores &scores, const QString &lower,
                                           const QString &upper, int candidate)
{
    // A criterion would be written with "?" where the sheet's save asks.
    const auto fits = [](const QString &text) { return is_ascii(text) || cp932::encodable(text); };
    if (scores.has_viewpoint_fields || care_of(lower).replace || care_of(upper).replace ||
        !fits(lower) || !fits(upper))
        return std::nullopt;
    const int n = scores.grid.columns();
    const QString header = header_lines(
        n, [&](int k) { return scores.full_marks[size_t(k)]; },
        [&](int k) { return scores.grid.weight(k); }, lower, upper, candidate, QString());
    return scores.encoded.file(header, scores.totals, scores.grades);
}

WriteResult write_file(const QString &path, const QByteArray &bytes)
{
    // QSaveFile writes a temporary file beside the target and renames it over
    // the target only on commit, so a failure leaves the old file as it was.
    // Saving renames a new file over the old one: over a FIFO or a device
    // that would put a plain file in its place and report success.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        return {false, not_a_file_message()};
    QSaveFile file(path);
    // Unbuffered, every write reaches the disk at once and a full disk is
    // reported with its own reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, systemerror::in_japanese(file.errorString())};
    // A short write carries no error of its own (a full disk, a file size
    // limit): writing the rest again brings out the system's reason.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.error() != QFileDevice::NoError
                                       ? systemerror::in_japanese(file.errorString())
                                       : u"書き込みが途中で止まりました。"_s;
            file.cancelWriting();
            return {false, reason};
        }
        done += qsizetype(written);
    }
    // Nothing may stay in a buffer: commit() renames the file over the old
    // one even when writing out such a rest fails.
    if (!file.flush()) {
        const QString reason = systemerror::in_japanese(file.errorString());
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit())
        return {false, systemerror::in_japanese(file.errorString())};
    return {true, QString()};
}

}  // namespace sheetfile

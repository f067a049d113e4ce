#include "structure.h"

#include "numbers.h"
#include "sheet.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace structure {

QString too_many_columns()
{
    return u"これ以上列を増やすことは出来ません。"_s;
}

QString needed_columns()
{
    return u"必要な列の削除は出来ません。"_s;
}

QString all_columns()
{
    return u"全列の削除は出来ません。"_s;
}

QString too_many_rows()
{
    return u"これ以上行を増やすことはできません。"_s;
}

QString all_rows()
{
    return u"全行の削除は出来ません。"_s;
}

bool is_numbered_title(const QString &title)
{
    static const QRegularExpression numbered(u"^点[0-9]+$"_s);
    const QStringView trimmed = numbers::trim_spaces(title);
    return trimmed.isEmpty() || numbered.match(trimmed.toString()).hasMatch();
}

void set_headings(Sheet &sheet, int which)
{
    if (which != 1) {
        for (int r = 1; r < sheet.rows(); ++r)
            sheet.set_text(r, 0, numbers::row_number_signed(r));
        return;
    }
    QString prefix;
    QChar letter = u'A';
    for (int c = 1; c < sheet.cols(); ++c) {
        sheet.set_text(0, c, prefix + letter);
        letter = QChar(letter.unicode() + 1);
        if (letter > u'Z') {
            prefix = u"A"_s;  // the prefix never goes past "A"
            letter = u'A';
        }
    }
}

Result insert_columns(Sheet &sheet, int col, int count, double unit_width)
{
    if (count <= 0)
        return {};
    const bool evaluation = sheet.has_evaluation_layout();
    int score_width = 0;
    if (evaluation) {
        col = sheet.total_col();
        score_width = sheet.column_width(Sheet::kFirstScoreCol);
    }
    col = qBound(1, col, sheet.cols());
    // Result columns after the grade column are beyond the limit.
    if (sheet.cols() - sheet.result_count() + count > kMaxCols)
        return {too_many_columns()};

    const Sheet::Batch batch(sheet);
    sheet.insert_columns(col, count);
    const int width = int(numbers::round_half_even(4 * unit_width));
    for (int c = col; c < col + count; ++c)
        sheet.set_column_width(c, width);
    sheet.set_current_cell(sheet.row(), col);

    for (int c = 1; c < sheet.cols(); ++c) {
        if (evaluation && sheet.is_score_col(c))
            continue;
        if (numbers::trim_spaces(sheet.text(0, c)).isEmpty())
            sheet.set_text(0, c, u' ' + QString::number(c));
    }
    if (evaluation) {
        // Score columns take the first one's width; titles the program gave
        // are renumbered, the teacher's own stay.
        for (int c = Sheet::kFirstScoreCol; sheet.is_score_col(c); ++c) {
            if (is_numbered_title(sheet.text(0, c)))
                sheet.set_text(0, c, u"点"_s + QString::number(Sheet::slot_of_column(c)));
            sheet.set_column_width(c, score_width);
        }
    } else {
        set_headings(sheet, 1);
    }
    return {QString(), col, count};
}

Result delete_columns(Sheet &sheet, int col, int count, int selected)
{
    if (count <= 0)
        return {};
    if (sheet.has_evaluation_layout()) {
        // The fixed data columns, the total and the grade are never deleted:
        // exactly the score columns inside the range go.
        int last = col + count - 1;
        col = qMax(col, Sheet::kFirstScoreCol);
        last = qMin(last, Sheet::column_of_slot(sheet.score_count()));
        count = last - col + 1;
        if (count < 1)
            return {needed_columns()};
    }
    if (sheet.cols() <= 2)
        return {};
    col = qMax(col, 1);
    if (col + count > sheet.cols())
        count = sheet.cols() - col;
    // A sheet keeps at least one data column, however the range was given.
    if (selected >= sheet.cols() - 1 || (col <= 1 && col + count >= sheet.cols()))
        return {all_columns()};
    const int last = col + count - 1;

    const Sheet::Batch batch(sheet);
    if (last >= sheet.cols() - 1) {
        sheet.remove_columns(col, count);
        sheet.set_current_cell(1, sheet.cols() - 1);
        set_headings(sheet, 1);
    } else {
        // Columns moving into the gap keep their headings.
        const int current = sheet.col();
        sheet.remove_columns(col, count);
        sheet.set_current_cell(1, current);
    }
    return {QString(), col, count};
}

Result insert_rows(Sheet &sheet, int row, int count)
{
    if (count <= 0)
        return {};
    row = qBound(1, row, sheet.rows());
    if (sheet.rows() + count > kMaxRows)
        return {too_many_rows()};
    sheet.insert_rows(row, count);
    set_headings(sheet, 0);
    sheet.set_current_cell(row, 1);
    return {QString(), row, count};
}

Result delete_rows(Sheet &sheet, int row, int count)
{
    if (count <= 0)
        return {};
    row = qMax(row, 1);
    if (row >= sheet.rows())
        return {};
    if (row + count - 1 >= sheet.rows())
        count = sheet.rows() - row;
    if (row == 1 && count >= sheet.rows() - 1)
        return {all_rows()};
    sheet.remove_rows(row, count);
    sheet.set_current_cell(sheet.row(), sheet.col());
    set_headings(sheet, 0);
    return {QString(), row, count};
}

}  // namespace structure

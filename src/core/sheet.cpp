#include "sheet.h"

#include "numbers.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

int twips(double units, double unit_width)
{
    return int(numbers::round_half_even(units * unit_width));
}

const QString &empty_text()
{
    static const QString empty;
    return empty;
}

}  // namespace

Sheet::Sheet(QObject *parent)
    : QObject(parent), settings_(kSettingSlots)
{
    cells_.resize(1);
    set_cols(1);
}

void Sheet::build_new(double unit_width)
{
    start_dir_ = QDir::currentPath();
    has_content_ = false;
    saved_ = false;
    lower_text_ = u"25"_s;
    upper_text_ = u"95"_s;
    candidate_index_ = -1;
    viewpoint_settings_ = ViewpointSettings();
    result_cols_ = 0;
    settings_ = QList<ScoreSettings>(kSettingSlots);

    cells_.clear();
    cells_.resize(kNewRows);
    texts_changed_unheard();
    note_column_move(0, -cols_);
    cols_ = 0;
    set_cols(kNewCols);
    apply_standard_widths(unit_width);
    for (int r = 1; r < kNewRows; ++r)
        cells_[r][0].text = numbers::row_number_fixed(r);
    const QString titles[] = {u"年"_s,  u"組"_s,  u"NO"_s,     u"氏名"_s,
                              u"点1"_s, u"点2"_s, u"総合点"_s, u"評価･評定"_s};
    for (int c = 1; c <= 8; ++c)
        cells_[0][c].text = titles[c - 1];
    sheet_name_ = untitled_name();
    row_ = sel_row_ = 1;
    col_ = sel_col_ = 1;
    emit shape_changed();
    emit current_cell_changed();
    emit document_changed();
}

void Sheet::set_rows(int rows)
{
    Q_ASSERT(rows >= 1);
    rows = qMax(rows, 1);
    if (rows == this->rows())
        return;
    const qsizetype old = cells_.size();
    if (rows > old) {
        record_rows(int(old), rows - int(old), true);
    } else {
        record_rows(rows, int(old) - rows, false);
        texts_changed_unheard();
    }
    cells_.resize(rows);
    for (qsizetype r = old; r < rows; ++r)
        cells_[r].resize(cols_);
    mark_unsaved();
    clamp_cursor();
    emit shape_changed();
}

void Sheet::set_cols(int cols)
{
    Q_ASSERT(cols >= 1);
    cols = qMax(cols, 1);
    if (cols == cols_)
        return;
    if (cols > cols_)
        record_columns(cols_, cols - cols_, true, false);
    else
        record_columns(cols, cols_ - cols, false, false);
    if (cols < cols_)
        result_cols_ = qMax(0, result_cols_ - (cols_ - qMax(cols, first_result_col())));
    for (auto &line : cells_)
        line.resize(cols);
    const int old = cols_;
    note_column_move(qMin(old, cols), cols - old);
    widths_.resize(cols);
    // A new column gets the width of the column left of it, as grids do.
    for (int c = old; c < cols; ++c)
        widths_[c] = c > 0 ? widths_[c - 1] : 0;
    cols_ = cols;
    mark_unsaved();
    clamp_cursor();
    emit shape_changed();
}

const QString &Sheet::text(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols_)
        return empty_text();
    return cells_[row][col].text;
}

QStringList Sheet::column_texts(int col) const
{
    QStringList texts;
    texts.reserve(rows());
    for (int r = 0; r < rows(); ++r)
        texts.append(text(r, col));
    return texts;
}

// Out-of-range calls below are a caller's fault: asserted, and in a
// release build still ignored rather than written outside the grid.
void Sheet::set_text(int row, int col, const QString &text)
{
    Q_ASSERT(row >= 0 && row < rows() && col >= 0 && col < cols_);
    if (row < 0 || row >= rows() || col < 0 || col >= cols_)
        return;
    Cell &cell = cells_[row][col];
    if (cell.text == text)
        return;
    record_cells(row, col, 1);
    cell.text = text;
    if (signalsBlocked() && row > 0)
        texts_changed_unheard();
    if (row >= 1 && is_result_col(col))
        cell.hand_set = !text.isEmpty();
    if (is_saved_col(col))
        mark_unsaved();
    emit cell_changed(row, col);
}

bool Sheet::is_red(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols_)
        return false;
    return cells_[row][col].red;
}

void Sheet::set_red(int row, int col, bool red)
{
    Q_ASSERT(row >= 0 && row < rows() && col >= 0 && col < cols_);
    if (row < 0 || row >= rows() || col < 0 || col >= cols_)
        return;
    if (cells_[row][col].red == red)
        return;
    record_cells(row, col, 1);
    cells_[row][col].red = red;
    emit cell_changed(row, col);
}

bool Sheet::is_hand_set(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols_)
        return false;
    return cells_[row][col].hand_set;
}

void Sheet::set_hand_set(int row, int col, bool hand_set)
{
    Q_ASSERT(row >= 0 && row < rows() && col >= 0 && col < cols_);
    if (row < 0 || row >= rows() || col < 0 || col >= cols_)
        return;
    if (cells_[row][col].hand_set == hand_set)
        return;
    record_cells(row, col, 1);
    cells_[row][col].hand_set = hand_set;
    mark_unsaved();
    emit cell_changed(row, col);
}

void Sheet::set_result_count(int count)
{
    Q_ASSERT(count >= 0 && count <= kMaxResultCols && count - result_cols_ < cols_);
    if (count == result_cols_ || count < 0)
        return;
    if (count < result_cols_) {
        remove_columns(cols_ - (result_cols_ - count), result_cols_ - count);
        return;
    }
    const int at = cols_, added = count - result_cols_;
    insert_columns(at, added);
    result_cols_ = count;
    const int width = widths_[total_col()];
    record_widths();
    for (int c = at; c < cols_; ++c)
        widths_[c] = width;
    emit shape_changed();
}

void Sheet::take_result_columns(int count)
{
    Q_ASSERT(count >= 0 && count <= kMaxResultCols && count + 7 <= cols_);
    result_cols_ = qBound(0, count, cols_ - 7);
}

void Sheet::clear_to_single_cell()
{
    record_whole();
    texts_changed_unheard();
    result_cols_ = 0;
    cells_.clear();
    cells_.resize(1);
    cells_[0].resize(1);
    cols_ = 1;
    widths_.resize(1);
    row_ = col_ = sel_row_ = sel_col_ = 0;
    mark_unsaved();
    emit shape_changed();
    emit current_cell_changed();
}

void Sheet::append_row(const QString &number_text)
{
    record_rows(rows(), 1, true);
    texts_changed_unheard();
    cells_.append(QList<Cell>(cols_));
    cells_.last()[0].text = number_text;
    mark_unsaved();
    emit shape_changed();
}

void Sheet::set_row_texts(int row, int first_col, QList<QString> &&texts)
{
    Q_ASSERT(row >= 0 && row < rows() && first_col >= 0 && first_col + texts.size() <= cols_);
    if (row < 0 || row >= rows() || first_col < 0)
        return;
    const qsizetype count = qMin(texts.size(), qsizetype(cols_ - first_col));
    record_cells(row, first_col, int(qMax<qsizetype>(count, 0)));
    texts_changed_unheard();
    QList<Cell> &line = cells_[row];
    for (qsizetype i = 0; i < count; ++i)
        line[first_col + i].text = std::move(texts[i]);
    mark_unsaved();
    emit shape_changed();
}

void Sheet::insert_rows(int at, int count)
{
    Q_ASSERT(at >= 0 && at <= rows() && count > 0);
    if (count <= 0)
        return;
    at = qBound(0, at, rows());
    record_rows(at, count, true);
    cells_.insert(at, count, QList<Cell>(cols_));
    if (follower_)
        follower_->put_rows(at, count, QVariant());
    mark_unsaved();
    clamp_cursor();
    emit rows_inserted(at, count);
    emit shape_changed();
}

void Sheet::remove_rows(int at, int count)
{
    Q_ASSERT(at >= 0 && count > 0 && at + count <= rows() && count < rows());
    if (at < 0 || at >= rows() || count <= 0)
        return;
    count = qMin(count, rows() - at);
    if (count >= rows())
        count = rows() - 1;  // a grid keeps at least one row
    record_rows(at, count, false, follower_ ? follower_->take_rows(at, count) : QVariant());
    cells_.remove(at, count);
    texts_changed_unheard();
    mark_unsaved();
    clamp_cursor();
    emit rows_removed(at, count);
    emit shape_changed();
}

void Sheet::append_rows(QList<QList<Cell>> &&rows)
{
    if (rows.isEmpty())
        return;
    record_rows(this->rows(), int(rows.size()), true);
    texts_changed_unheard();
    cells_.reserve(cells_.size() + rows.size());
    for (QList<Cell> &line : rows) {
        Q_ASSERT(line.size() == cols_);
        line.resize(cols_);
        cells_.append(std::move(line));
    }
    mark_unsaved();
    emit shape_changed();
}

void Sheet::insert_columns(int at, int count)
{
    Q_ASSERT(at >= 0 && at <= cols_ && count > 0);
    if (count <= 0)
        return;
    at = qBound(0, at, cols_);
    record_columns(at, count, true, true);
    // Columns put among the result columns are result columns.
    if (result_cols_ > 0 && at > first_result_col())
        result_cols_ += count;
    for (auto &line : cells_)
        line.insert(at, count, Cell{});
    widths_.insert(at, count, 0);
    cols_ += count;
    note_column_move(at, count);
    move_settings(at, count);
    mark_unsaved();
    clamp_cursor();
    emit shape_changed();
}

void Sheet::remove_columns(int at, int count)
{
    Q_ASSERT(at >= 0 && count > 0 && at + count <= cols_ && count < cols_);
    if (at < 0 || at >= cols_ || count <= 0)
        return;
    count = qMin(count, cols_ - at);
    if (count >= cols_)
        count = cols_ - 1;
    record_columns(at, count, false, true);
    result_cols_ -= qMax(0, at + count - qMax(at, first_result_col()));
    for (auto &line : cells_)
        line.remove(at, count);
    widths_.remove(at, count);
    cols_ -= count;
    note_column_move(at, -count);
    move_settings(at, -count);
    mark_unsaved();
    clamp_cursor();
    emit shape_changed();
}

int Sheet::column_width(int col) const
{
    return col >= 0 && col < cols_ ? widths_[col] : 0;
}

void Sheet::set_column_width(int col, int twips)
{
    Q_ASSERT(col >= 0 && col < cols_);
    if (col < 0 || col >= cols_ || widths_[col] == twips)
        return;
    record_widths();
    widths_[col] = twips;
    emit shape_changed();
}

void Sheet::apply_standard_widths(double unit_width)
{
    record_widths();
    for (int c = 1; c < cols_; ++c)
        widths_[c] = twips(4.4, unit_width);
    widths_[0] = twips(5, unit_width);
    if (cols_ > 4)
        widths_[4] = twips(16, unit_width);
    if (cols_ > 1)
        widths_[1] = twips(3, unit_width);
    if (cols_ > 2)
        widths_[2] = twips(3, unit_width);
    if (grade_col() >= 2) {
        widths_[total_col()] = twips(7, unit_width);
        widths_[grade_col()] = twips(10, unit_width);
    }
    for (int c = first_result_col(); c < cols_; ++c)
        widths_[c] = twips(7, unit_width);
    emit shape_changed();
}

bool Sheet::has_evaluation_layout() const
{
    return text(0, grade_col()).startsWith(u"評価"_s);
}

// Both cursor setters follow keys and clicks that may point beyond any edge:
// clamping to the grid is the rule here, not a guard.
void Sheet::set_current_cell(int row, int col)
{
    row = qBound(0, row, rows() - 1);
    col = qBound(0, col, cols_ - 1);
    const bool moved = row != row_ || col != col_;
    const bool collapsed = sel_row_ != row || sel_col_ != col;
    row_ = sel_row_ = row;
    col_ = sel_col_ = col;
    if (moved)
        emit current_cell_changed();
    else if (collapsed)
        emit selection_changed();
}

void Sheet::set_selection_end(int row, int col)
{
    row = qBound(0, row, rows() - 1);
    col = qBound(0, col, cols_ - 1);
    if (row == sel_row_ && col == sel_col_)
        return;
    sel_row_ = row;
    sel_col_ = col;
    emit selection_changed();
}

const ScoreSettings &Sheet::settings(int k) const
{
    static const ScoreSettings fresh;
    return k >= 0 && k < settings_.size() ? settings_[k] : fresh;
}

void Sheet::set_settings(int k, const ScoreSettings &settings)
{
    Q_ASSERT(k >= 0);
    if (k < 0 || settings == this->settings(k))
        return;
    // Slots grow on demand instead of overrunning.
    if (k >= settings_.size())
        settings_.resize(k + 1);
    record_settings(k);
    ScoreSettings &slot = settings_[k];
    const bool written = slot.full_marks != settings.full_marks || slot.weight != settings.weight ||
                         slot.viewpoint != settings.viewpoint;
    slot = settings;
    if (written && k >= 1 && k <= score_count())
        mark_unsaved();
    emit settings_changed(k);
}

// Settings go with their columns: when columns are inserted at grid column
// at (count > 0) or removed from it (count < 0), the slots of the columns
// that move follow them, and new columns get fresh slots.
void Sheet::move_settings(int at, int count)
{
    const int first = kFirstScoreCol;
    if (settings_.size() < kSettingSlots)
        settings_.resize(kSettingSlots);
    QList<ScoreSettings> moved(qMax(settings_.size(), qsizetype(cols_ + 1)));
    for (qsizetype k = 1; k < moved.size(); ++k) {
        const int col = column_of_slot(int(k));
        int from = col;  // the column whose slot this column now has
        if (count > 0 && col >= at)
            from = col < at + count ? -1 : col - count;
        else if (count < 0 && col >= at)
            from = col - count;
        moved[k] = from >= first && slot_of_column(from) < settings_.size()
                       ? settings_[slot_of_column(from)]
                       : ScoreSettings{};
    }
    settings_ = std::move(moved);
}

void Sheet::set_full_marks(int k, double full_marks)
{
    ScoreSettings s = settings(k);
    s.full_marks = full_marks;
    s.full_marks_text = full_marks != 0 ? numbers::plain_form(full_marks) : ScoreSettings().full_marks_text;
    s.full_marks_given = full_marks != 0;
    set_settings(k, s);
}

void Sheet::set_weight(int k, double weight)
{
    ScoreSettings s = settings(k);
    s.weight = weight;
    set_settings(k, s);
}

void Sheet::set_sheet_name(const QString &name)
{
    set_document_text(sheet_name_, name, false);
}

void Sheet::set_has_content()
{
    if (has_content_)
        return;
    has_content_ = true;
    emit document_changed();
}

void Sheet::mark_saved()
{
    if (saved_)
        return;
    saved_ = true;
    emit document_changed();
}

QString Sheet::untitled_name()
{
    return u"新規ｼｰﾄ"_s;
}

void Sheet::mark_unsaved()
{
    if (!saved_)
        return;
    saved_ = false;
    emit document_changed();
}

void Sheet::set_lower_text(const QString &text)
{
    if (text != lower_text_)
        record_document();
    set_document_text(lower_text_, text, true);
}

void Sheet::set_upper_text(const QString &text)
{
    if (text != upper_text_)
        record_document();
    set_document_text(upper_text_, text, true);
}

void Sheet::set_document_text(QString &field, const QString &text, bool saved)
{
    if (field == text)
        return;
    field = text;
    if (saved)
        mark_unsaved();
    emit document_changed();
}

void Sheet::set_candidate_index(int index)
{
    Q_ASSERT(index >= -1);
    if (index < -1)
        index = -1;
    if (index == candidate_index_)
        return;
    record_document();
    candidate_index_ = index;
    mark_unsaved();
    emit document_changed();
}

void Sheet::note_column_move(int at, int count)
{
    if (count == 0)
        return;
    // Enough for any one command; a view further behind measures afresh.
    constexpr qsizetype kKept = 64;
    if (column_moves_.size() == kKept) {
        column_moves_.removeFirst();
        ++dropped_moves_;
    }
    column_moves_.append({at, count});
}

std::optional<QList<Sheet::ColumnMove>> Sheet::column_moves_since(qint64 seen) const
{
    if (seen < dropped_moves_ || seen > column_move_count())
        return std::nullopt;
    return column_moves_.mid(seen - dropped_moves_);
}

void Sheet::set_viewpoint_settings(const ViewpointSettings &settings)
{
    Q_ASSERT(!settings.viewpoints.isEmpty() && settings.viewpoints.size() <= ViewpointSettings::kMaxViewpoints);
    if (settings == viewpoint_settings_)
        return;
    record_document();
    viewpoint_settings_ = settings;
    mark_unsaved();
    emit document_changed();
}

Sheet::Batch::Batch(Sheet &sheet) : sheet_(sheet), was_blocked_(sheet.blockSignals(true))
{
}

Sheet::Batch::~Batch()
{
    sheet_.blockSignals(was_blocked_);
    if (was_blocked_)
        return;
    emit sheet_.shape_changed();
    emit sheet_.current_cell_changed();
    emit sheet_.document_changed();
}

void Sheet::clamp_cursor()
{
    const int last_row = rows() - 1;
    const int last_col = cols_ - 1;
    const int r = qMin(row_, last_row), c = qMin(col_, last_col);
    sel_row_ = qMin(sel_row_, last_row);
    sel_col_ = qMin(sel_col_, last_col);
    if (r != row_ || c != col_) {
        row_ = r;
        col_ = c;
        emit current_cell_changed();
    }
}

#include "sheet/sheetgrid.h"

#include "columnfit.h"
#include "common/contrast.h"
#include "common/objectnames.h"
#include "marks.h"
#include "numbers.h"
#include "sheet.h"
#include "common/twips.h"

#include <cmath>

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

namespace {

const QColor kGridLine(192, 192, 192);
const QColor kSelected(224, 224, 224);
const QColor kLookAlike(255, 140, 0);
// A letter or 評定 the teacher set by hand: later computations keep it.
const QColor kHandSet(255, 236, 160);
const QColor kFixed(212, 208, 200);
// Text stands this far inside a cell on either side.
constexpr int kTextInset = 2;
// A column widened to a number keeps a little air beside it.
constexpr int kFitAir = 2 * kTextInset + 2;
// How near a title's right border the pointer grabs it, and how narrow a
// dragged column may become (so that its border can still be grabbed).
constexpr int kBorderGrab = 3;
constexpr int kNarrowest = 6;

// Numbers stand right in their cells, other texts left, as spreadsheets do.
bool looks_numeric(const QString &text)
{
    const QStringView trimmed = numbers::trim_spaces(text);
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    (void)trimmed.toDouble(&ok);
    return ok;
}

}  // namespace

SheetGrid::SheetGrid(Sheet *sheet, QWidget *parent)
    : QAbstractScrollArea(parent), sheet_(sheet), texts_(font())
{
    setObjectName(object_name::sheet_grid);
    setFrameShape(QFrame::StyledPanel);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    // The paint fills every pixel itself: nothing beneath is painted first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    connect(sheet_, &Sheet::cell_changed, this, &SheetGrid::update_cell);
    connect(sheet_, &Sheet::cell_changed, this, [this](int row, int col) {
        // A title in the grade column may make the sheet an evaluation sheet,
        // whose total then widens too.
        if (row == 0 && col == sheet_->grade_col())
            refit_all();
        else if (row > 0)
            refit_column(row, col);
        if (row == 0)
            update_title_lines();
    });
    connect(sheet_, &Sheet::shape_changed, this, [this] {
        widest_.catch_up();
        shown_selection_.take_changes(*sheet_);  // all is repainted
        refit_all();
        update_scroll_bars();
        viewport()->update();
    });
    // A move repaints the cells it changed, not the whole view.
    connect(sheet_, &Sheet::current_cell_changed, this, &SheetGrid::selection_moved);
    connect(sheet_, &Sheet::selection_changed, this, &SheetGrid::selection_moved);
    shown_selection_.take_changes(*sheet_);
    // Full marks decide which marks are flagged as above them.
    connect(sheet_, &Sheet::settings_changed, viewport(), qOverload<>(&QWidget::update));
    refit_all();
    update_scroll_bars();
}

int SheetGrid::row_height_px() const
{
    return fontMetrics().height() + 4;
}

int SheetGrid::row_height_twips() const
{
    return int(std::lround(twips::from_px(row_height_px())));
}

int SheetGrid::title_height_twips() const
{
    return int(std::lround(twips::from_px(title_height_px())));
}

int SheetGrid::title_width_twips(int col) const
{
    const double px = QFontMetricsF(font()).horizontalAdvance(sheet_->text(0, col)) + 2 * kTextInset;
    return int(std::ceil(twips::from_px(std::ceil(px))));
}

QStringList SheetGrid::title_lines(int col) const
{
    // The whole column but its rule: titles have always used the insets.
    return columnfit::fit_title(sheet_->text(0, col), col_width_px(col) - 1, 2,
                                [this](const QString &s) { return texts_.width(s); });
}

// The title row takes a second line while any title needs one, so that
// 小テスト1 and 小テスト2 can be told apart without widening their columns.
void SheetGrid::update_title_lines()
{
    int lines = 1;
    for (int c = 1; c < sheet_->cols() && lines == 1; ++c)
        lines = qMax(lines, int(title_lines(c).size()));
    if (lines == title_lines_)
        return;
    title_lines_ = lines;
    update_scroll_bars();
    viewport()->update();
    emit widths_changed();
}

int SheetGrid::col_width_px(int col) const
{
    if (col < 0 || col >= sheet_->cols())
        return 0;
    const int own = col == resize_col_ ? resize_px_ : twips::to_px(sheet_->column_width(col));
    return qMax(own, fit_px(col));
}

int SheetGrid::column_width_twips(int col) const
{
    const int own = sheet_->column_width(col);
    const int px = col_width_px(col);
    return px == twips::to_px(own) ? own : int(std::lround(twips::from_px(px)));
}

int SheetGrid::fit_px(int col) const
{
    return col >= 0 && col < fit_px_.size() ? fit_px_[col] : 0;
}

void SheetGrid::refit_column(int row, int col)
{
    if (fit_px_.size() != sheet_->cols()) {
        refit_all();
        return;
    }
    if (col < 0 || col >= fit_px_.size())
        return;
    widest_.cell_changed(row, col);
    const int fit = measured_fit_px(col);
    if (fit == fit_px_[col])
        return;
    fit_px_[col] = fit;
    widths_may_have_changed();
}

int SheetGrid::measured_fit_px(int col) const
{
    if (!columnfit::widens(*sheet_, col))
        return 0;
    const double widest = widest_.widest(col);
    return widest > 0 ? int(std::ceil(widest)) + kFitAir : 0;
}

void SheetGrid::refit_all()
{
    QList<int> widening;
    for (int c = 0; c < sheet_->cols(); ++c)
        if (columnfit::widens(*sheet_, c))
            widening.append(c);
    widest_.measure(widening);
    fit_px_ = QList<int>(sheet_->cols(), 0);
    for (int c = 0; c < sheet_->cols(); ++c)
        fit_px_[c] = measured_fit_px(c);
    widths_may_have_changed();
}

void SheetGrid::widths_may_have_changed()
{
    update_title_lines();
    QList<int> now(sheet_->cols());
    for (int c = 0; c < sheet_->cols(); ++c)
        now[c] = col_width_px(c);
    if (now == shown_px_)
        return;
    shown_px_ = std::move(now);
    update_scroll_bars();
    viewport()->update();
    emit widths_changed();
}

QString SheetGrid::shown_text(int row, int col) const
{
    const QString &text = sheet_->text(row, col);
    if (row == 0 || col == 0)
        return text;
    const double number = texts_.number_width(text);
    return number > 0 && number > col_width_px(col) - 2 * kTextInset ? columnfit::kNoRoom : text;
}

int SheetGrid::border_at(const QPoint &pos) const
{
    if (pos.y() < 0 || pos.y() >= title_height_px())
        return -1;
    // The nearest border wins, the right one of two as near: a column
    // dragged very narrow can still be widened again.
    int best = -1;
    int best_distance = kBorderGrab + 1;
    auto consider = [&](int col) {
        const int distance = qAbs(pos.x() - (col_x(col) + col_width_px(col) - 1));
        if (distance <= best_distance) {
            best = col;
            best_distance = distance;
        }
    };
    consider(0);
    for (int c = left_col_; c < sheet_->cols() && col_x(c) <= viewport()->width(); ++c)
        consider(c);
    return best;
}

int SheetGrid::row_y(int row) const
{
    if (row == 0)
        return 0;
    return title_height_px() + row_height_px() * (row - top_row_);
}

int SheetGrid::col_x(int col) const
{
    if (col == 0)
        return 0;
    int x = col_width_px(0);
    if (col >= left_col_) {
        for (int c = left_col_; c < col; ++c)
            x += col_width_px(c);
    } else {
        for (int c = col; c < left_col_; ++c)
            x -= col_width_px(c);
    }
    return x;
}

QPoint SheetGrid::grid_offset() const
{
    return viewport()->mapTo(this, QPoint(0, 0));
}

double SheetGrid::cell_left_twips(int col) const
{
    return twips::from_px(grid_offset().x() + col_x(col));
}

double SheetGrid::cell_top_twips(int row) const
{
    return twips::from_px(grid_offset().y() + row_y(row));
}

int SheetGrid::last_visible_row() const
{
    const int h = viewport()->height();
    const int rh = row_height_px();
    int row = top_row_;
    int y = title_height_px() + rh;
    while (row + 1 < sheet_->rows() && y + rh <= h) {
        ++row;
        y += rh;
    }
    return qMin(row, sheet_->rows() - 1);
}

int SheetGrid::last_visible_col() const
{
    const int w = viewport()->width();
    int col = left_col_;
    int x = col_width_px(0) + col_width_px(col);
    while (col + 1 < sheet_->cols() && x + col_width_px(col + 1) <= w) {
        ++col;
        x += col_width_px(col);
    }
    return qMin(col, sheet_->cols() - 1);
}

bool SheetGrid::row_visible(int row) const
{
    if (row == 0)
        return true;
    return row >= top_row_ && row <= last_visible_row() && row < sheet_->rows();
}

bool SheetGrid::col_visible(int col) const
{
    if (col == 0)
        return true;
    return col >= left_col_ && col <= last_visible_col() && col < sheet_->cols();
}

void SheetGrid::ensure_visible(int row, int col)
{
    if (row >= 1 && row < sheet_->rows()) {
        if (row < top_row_)
            set_top_row(row);
        else
            while (row > last_visible_row() && top_row_ < row)
                set_top_row(top_row_ + 1);
    }
    if (col >= 1 && col < sheet_->cols()) {
        if (col < left_col_)
            set_left_col(col);
        else
            while (col > last_visible_col() && left_col_ < col)
                set_left_col(left_col_ + 1);
    }
}

void SheetGrid::set_top_row(int row)
{
    row = qBound(1, row, qMax(1, sheet_->rows() - 1));
    if (row == top_row_)
        return;
    top_row_ = row;
    syncing_scroll_bars_ = true;
    verticalScrollBar()->setValue(row);
    syncing_scroll_bars_ = false;
    viewport()->update();
    emit scrolled();
}

void SheetGrid::set_left_col(int col)
{
    col = qBound(1, col, qMax(1, sheet_->cols() - 1));
    if (col == left_col_)
        return;
    left_col_ = col;
    syncing_scroll_bars_ = true;
    horizontalScrollBar()->setValue(col);
    syncing_scroll_bars_ = false;
    viewport()->update();
    emit scrolled();
}

void SheetGrid::scrollContentsBy(int, int)
{
    if (syncing_scroll_bars_)
        return;
    const int row = verticalScrollBar()->value();
    const int col = horizontalScrollBar()->value();
    if (row != top_row_ || col != left_col_) {
        top_row_ = row;
        left_col_ = col;
        viewport()->update();
        emit scrolled();
    }
}

void SheetGrid::update_scroll_bars()
{
    const int rows = sheet_->rows();
    const int cols = sheet_->cols();
    // The last row may be scrolled up to the top, as far as the rows below
    // still fill the view.
    const int rh = row_height_px();
    const int fit_rows = qMax(1, (viewport()->height() - title_height_px()) / qMax(1, rh));
    const int max_top = qMax(1, rows - fit_rows);
    // Likewise the leftmost scrollable column, as far as the columns to its
    // right still fill the view.
    const int avail = viewport()->width() - col_width_px(0);
    int max_left = qMax(1, cols - 1);
    int used = col_width_px(max_left);
    while (max_left > 1 && used + col_width_px(max_left - 1) <= avail) {
        --max_left;
        used += col_width_px(max_left);
    }
    syncing_scroll_bars_ = true;
    verticalScrollBar()->setRange(1, max_top);
    horizontalScrollBar()->setRange(1, qMax(1, max_left));
    // A scroll bar repaints on every step setting, changed or not.
    if (verticalScrollBar()->pageStep() != fit_rows)
        verticalScrollBar()->setPageStep(fit_rows);
    if (horizontalScrollBar()->pageStep() != 1)
        horizontalScrollBar()->setPageStep(1);
    syncing_scroll_bars_ = false;
    top_row_ = qBound(1, top_row_, max_top);
    left_col_ = qBound(1, left_col_, qMax(1, max_left));
    syncing_scroll_bars_ = true;
    verticalScrollBar()->setValue(top_row_);
    horizontalScrollBar()->setValue(left_col_);
    syncing_scroll_bars_ = false;
}

void SheetGrid::update_cell(int row, int col)
{
    if (row_visible(row) && col_visible(col))
        viewport()->update(cell_rect(row, col).adjusted(-1, -1, 1, 1));
}

void SheetGrid::selection_moved()
{
    for (const QRect &cells : shown_selection_.take_changes(*sheet_))
        update_cells(cells);
}

void SheetGrid::update_cells(const QRect &cells)
{
    const int last_row = qMin(cells.bottom(), last_visible_row() + 1);
    const int last_col = qMin(cells.right(), last_visible_col() + 1);
    QRect shown;
    // The fixed row and column, then the scrolled body.
    for (int row : {0, qMax(cells.top(), top_row_)}) {
        if (row < cells.top() || row > last_row || row >= sheet_->rows())
            continue;
        const int bottom = row == 0 ? 0 : qMin(last_row, sheet_->rows() - 1);
        for (int col : {0, qMax(cells.left(), left_col_)}) {
            if (col < cells.left() || col > last_col || col >= sheet_->cols())
                continue;
            const int right = col == 0 ? 0 : qMin(last_col, sheet_->cols() - 1);
            shown |= cell_rect(row, col).united(cell_rect(bottom, right));
        }
    }
    if (!shown.isEmpty())
        viewport()->update(shown.adjusted(-1, -1, 1, 1));
}

QRect SheetGrid::cell_rect(int row, int col) const
{
    return QRect(col_x(col), row_y(row), col_width_px(col),
                 row == 0 ? title_height_px() : row_height_px());
}

QPoint SheetGrid::cell_at(const QPoint &pos) const
{
    if (pos.x() < 0 || pos.y() < 0)
        return QPoint(-1, -1);
    const int rh = row_height_px();
    int row = -1;
    if (pos.y() < title_height_px()) {
        row = 0;
    } else {
        const int r = top_row_ + (pos.y() - title_height_px()) / rh;
        row = r < sheet_->rows() ? r : -1;
    }
    int col = -1;
    int x = col_width_px(0);
    if (pos.x() < x) {
        col = 0;
    } else {
        for (int c = left_col_; c < sheet_->cols(); ++c) {
            x += col_width_px(c);
            if (pos.x() < x) {
                col = c;
                break;
            }
            if (x > viewport()->width())
                break;
        }
    }
    if (row < 0 || col < 0)
        return QPoint(-1, -1);
    return QPoint(col, row);
}

void SheetGrid::set_pointer(Pointer pointer)
{
    pointer_ = pointer;
    switch (pointer) {
    case Pointer::Crosshair:
        viewport()->setCursor(Qt::CrossCursor);
        break;
    case Pointer::SizeAll:
        viewport()->setCursor(Qt::SizeAllCursor);
        break;
    case Pointer::Wait:
        viewport()->setCursor(Qt::WaitCursor);
        break;
    case Pointer::Default:
        viewport()->unsetCursor();
        break;
    }
}

bool SheetGrid::viewportEvent(QEvent *event)
{
    // Over a look-alike mark, the tip says why it does not count; over a
    // title not shown whole on one line, it shows the title.
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QPoint cell = cell_at(help->pos());
        QString why;
        if (cell.y() > 0 && sheet_->is_score_col(cell.x()))
            why = marks::needs_look(*sheet_, cell.y(), cell.x());
        else if (cell.y() > 0 && result_notes_ && sheet_->is_result_col(cell.x()))
            why = result_notes_(cell.y(), cell.x());
        else if (cell.y() == 0 && cell.x() > 0 &&
                 title_lines(cell.x()) != QStringList{sheet_->text(0, cell.x())})
            why = sheet_->text(0, cell.x());
        if (why.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), why, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void SheetGrid::draw_line(QPainter &p, const QRect &rect, Qt::Alignment align, const QString &text,
                          const QColor &background)
{
    const double width = texts_.width(text);
    // A text cut at the cell's edge is rare: drawn clipped as it comes.
    if (width > rect.width()) {
        p.drawText(rect, int(align | Qt::AlignVCenter) | Qt::TextSingleLine, text);
        return;
    }
    const double x = align & Qt::AlignRight ? rect.right() + 1 - width : rect.left();
    const int height = fontMetrics().height();
    const int y = rect.top() + (rect.height() - height) / 2;
    // Copied pixels are exact only where one pixel is one on the screen.
    if (p.device()->devicePixelRatio() == 1) {
        const double left = std::floor(x);
        if (const QImage *drawn =
                texts_.drawn(text, p.pen().color(), background, x - left, rect.height(), y - rect.top())) {
            p.drawImage(QPoint(int(left) - TextCache::kPad, rect.top()), *drawn);
            return;
        }
    }
    p.drawStaticText(QPointF(x, y), texts_.laid_out(text));
}

// A title's lines centred one below the other, each laid out once.
void SheetGrid::draw_title(QPainter &p, const QRect &rect, const QStringList &lines)
{
    const QFontMetrics metrics = fontMetrics();
    const int count = int(lines.size());
    const int block = count * metrics.height() + (count - 1) * metrics.leading();
    int y = rect.top() + (rect.height() - block) / 2;
    for (const QString &line : lines) {
        const double width = texts_.width(line);
        const double x = rect.left() + (rect.width() - width) / 2;
        p.drawStaticText(QPointF(std::max(double(rect.left()), x), y), texts_.laid_out(line));
        y += metrics.lineSpacing();
    }
}

void SheetGrid::paintEvent(QPaintEvent *event)
{
    QPainter p(viewport());
    const QRegion &area = event->region();
    p.fillRect(event->rect(), palette().base());
    // Texts are copied as pixels only onto a plain fill.
    const QColor base_fill = palette().base().style() == Qt::SolidPattern ? palette().base().color()
                                                                         : QColor(Qt::transparent);
    p.setFont(font());

    const int rows = sheet_->rows();
    const int cols = sheet_->cols();
    const int rh = row_height_px();
    const int vw = viewport()->width();
    const int vh = viewport()->height();
    const int r0 = qMin(sheet_->row(), sheet_->sel_row());
    const int r1 = qMax(sheet_->row(), sheet_->sel_row());
    const int c0 = qMin(sheet_->col(), sheet_->sel_col());
    const int c1 = qMax(sheet_->col(), sheet_->sel_col());
    const QColor text_color = palette().color(QPalette::Text);
    const QColor fixed_fill = contrast::background(kFixed, QPalette::Button);
    const QColor selected_fill = contrast::tint(kSelected);
    // The fixed cells' right and bottom rules, drawn together at the end.
    QList<QLine> fixed_rules;

    auto paint_cell = [&](int row, int col, const QRect &rect) {
        if (!area.intersects(rect))
            return;
        const bool fixed = row == 0 || col == 0;
        const bool selected = !fixed && row >= r0 && row <= r1 && col >= c0 && col <= c1;
        QColor background = base_fill;
        if (fixed)
            background = fixed_fill;
        else if (selected)
            background = selected_fill;
        else if (sheet_->is_hand_set(row, col))
            background = kHandSet;
        if (background != base_fill)
            p.fillRect(rect, background);
        const QString &text = sheet_->text(row, col);
        if (!text.isEmpty()) {
            p.setPen(sheet_->is_red(row, col) ? QColor(255, 0, 0) : text_color);
            if (row == 0 && col > 0) {
                draw_title(p, rect.adjusted(0, 0, -1, 0), title_lines(col));
            } else {
                Qt::Alignment align = Qt::AlignLeft;
                if (row == 0)
                    align = Qt::AlignHCenter;
                else if (col != 0 && looks_numeric(text))
                    align = Qt::AlignRight;
                const QRect inside = rect.adjusted(kTextInset, 0, -kTextInset, 0);
                if (align == Qt::AlignHCenter)
                    p.drawText(inside, int(align | Qt::AlignVCenter) | Qt::TextSingleLine, text);
                else
                    draw_line(p, inside, align, shown_text(row, col), background);
            }
            // A mark that needs the teacher's look (it does not count as it
            // reads, or is above the full marks): an orange corner, the text
            // left as it is.
            if (row > 0 && ((sheet_->is_score_col(col) && !marks::needs_look(*sheet_, row, col).isEmpty()) ||
                            (result_notes_ && sheet_->is_result_col(col) && !result_notes_(row, col).isEmpty()))) {
                const int size = qMax(6, rect.height() / 3);
                const QPoint corner = rect.topRight() + QPoint(-1, 1);
                const QPoint triangle[] = {corner, corner - QPoint(size, 0), corner + QPoint(0, size)};
                p.setPen(Qt::NoPen);
                p.setBrush(kLookAlike);
                p.drawPolygon(triangle, 3);
                p.setBrush(Qt::NoBrush);
            }
        }
        if (fixed) {
            fixed_rules.append(QLine(rect.topRight(), rect.bottomRight()));
            fixed_rules.append(QLine(rect.bottomLeft(), rect.bottomRight()));
        }
    };

    // Visible body, then the fixed column, the fixed row and the corner on top.
    const int last_row = last_visible_row() + 1;
    // The body's rules run the whole width or height of the cells painted:
    // one line per row and per column rather than two per cell.
    QList<QLine> body_rules;
    const int body_left = col_width_px(0);
    int body_right = body_left;
    for (int col = left_col_; col < cols && body_right < vw; ++col)
        body_right += col_width_px(col);
    const int body_top = title_height_px();
    int body_bottom = body_top;
    for (int row = top_row_; row <= last_row && row < rows; ++row) {
        const int y = row_y(row);
        if (y >= vh)
            break;
        int x = body_left;
        for (int col = left_col_; col < cols && x < vw; ++col) {
            const int w = col_width_px(col);
            paint_cell(row, col, QRect(x, y, w, rh));
            x += w;
        }
        paint_cell(row, 0, QRect(0, y, col_width_px(0), rh));
        body_bottom = y + rh;
        if (body_right > body_left)
            body_rules.append(QLine(body_left, body_bottom - 1, body_right - 1, body_bottom - 1));
    }
    if (body_bottom > body_top) {
        int x = body_left;
        for (int col = left_col_; col < cols && x < vw; ++col) {
            x += col_width_px(col);
            body_rules.append(QLine(x - 1, body_top, x - 1, body_bottom - 1));
        }
    }
    int x = col_width_px(0);
    for (int col = left_col_; col < cols && x < vw; ++col) {
        const int w = col_width_px(col);
        paint_cell(0, col, QRect(x, 0, w, title_height_px()));
        x += w;
    }
    paint_cell(0, 0, QRect(0, 0, col_width_px(0), title_height_px()));

    // Rules are one pixel wide and upright: filled as rectangles, which the
    // raster engine does a row at a time rather than a pixel at a time.
    const auto fill_rules = [&p](const QList<QLine> &rules, const QColor &color) {
        for (const QLine &rule : rules)
            p.fillRect(QRect(rule.p1(), rule.p2()).normalized(), color);
    };
    fill_rules(body_rules, kGridLine);
    fill_rules(fixed_rules, QColor(128, 128, 128));

    // The current cell carries a focus frame when it is in view.
    const int cr = sheet_->row();
    const int cc = sheet_->col();
    if (cr >= 0 && cc >= 0 && row_visible(cr) && col_visible(cc)) {
        QPen pen(text_color);
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.drawRect(cell_rect(cr, cc).adjusted(0, 0, -1, -1));
    }
}

void SheetGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    update_scroll_bars();
}

void SheetGrid::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        texts_.set_font(font());
        widest_.forget_all();
        refit_all();
        update_scroll_bars();
        viewport()->update();
    }
}

void SheetGrid::report(int kind, QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const double x = twips::from_px(pos.x() + grid_offset().x());
    const double y = twips::from_px(pos.y() + grid_offset().y());
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const Qt::MouseButtons buttons = kind == 1 ? event->buttons() : Qt::MouseButtons(event->button());
    if (kind == 0)
        emit mouse_down(buttons, modifiers, x, y);
    else if (kind == 1)
        emit mouse_move(buttons, modifiers, x, y);
    else
        emit mouse_up(buttons, modifiers, x, y);
}

void SheetGrid::select_to(const QPoint &cell)
{
    if (cell.x() < 0)
        return;
    int row = cell.y();
    int col = cell.x();
    if (header_drag_col_)
        row = sheet_->rows() - 1;
    else
        row = qMax(row, 1);
    if (header_drag_row_)
        col = sheet_->cols() - 1;
    else
        col = qMax(col, 1);
    sheet_->set_selection_end(row, col);
}

void SheetGrid::mousePressEvent(QMouseEvent *event)
{
    // A title's right border widens or narrows its column; the press is the
    // grid's own, not a click on a cell.
    if (event->button() == Qt::LeftButton) {
        const int col = border_at(event->position().toPoint());
        if (col >= 0) {
            resize_from_px_ = resize_px_ = col_width_px(col);
            resize_from_x_ = event->position().toPoint().x();
            resize_col_ = col;
            return;
        }
    }
    // A right press is heard with its cell before it opens the context menu.
    if (event->button() == Qt::RightButton) {
        const QPoint cell = cell_at(event->position().toPoint());
        if (cell.x() >= 0)
            emit context_press(cell.y(), cell.x());
    }
    // The press is reported before the cell becomes current.
    report(0, event);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint cell = cell_at(event->position().toPoint());
    if (cell.x() < 0)
        return;
    const int row = cell.y();
    const int col = cell.x();
    header_drag_col_ = row == 0 && col > 0;
    header_drag_row_ = col == 0 && row > 0;
    if (row == 0 && col == 0)
        return;
    // A title selects its whole column, a row number its whole row.
    if (header_drag_col_) {
        sheet_->set_current_cell(1, col);
        sheet_->set_selection_end(sheet_->rows() - 1, col);
    } else if (header_drag_row_) {
        sheet_->set_current_cell(row, 1);
        sheet_->set_selection_end(row, sheet_->cols() - 1);
    } else {
        sheet_->set_current_cell(row, col);
    }
    dragging_ = true;
}

// The scroll area ignores a double click; its second press is a press like
// the first, or its release would finish a selection that never started
// (on a title, the cursor went to the last row).
void SheetGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void SheetGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (resize_col_ >= 0) {
        resize_px_ = qMax(kNarrowest, resize_from_px_ + event->position().toPoint().x() - resize_from_x_);
        widths_may_have_changed();
        return;
    }
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        const QPoint pos = event->position().toPoint();
        // Dragging past an edge scrolls the view along.
        if (pos.y() >= viewport()->height())
            set_top_row(top_row_ + 1);
        else if (pos.y() < title_height_px() && top_row_ > 1 && !header_drag_col_)
            set_top_row(top_row_ - 1);
        if (pos.x() >= viewport()->width())
            set_left_col(left_col_ + 1);
        else if (pos.x() < col_width_px(0) && left_col_ > 1 && !header_drag_row_)
            set_left_col(left_col_ - 1);
        QPoint clamped(qBound(0, pos.x(), viewport()->width() - 1),
                       qBound(0, pos.y(), viewport()->height() - 1));
        select_to(cell_at(clamped));
    }
    report(1, event);
    if (event->buttons() == Qt::NoButton) {
        const bool on_border = border_at(event->position().toPoint()) >= 0;
        if (on_border)
            viewport()->setCursor(Qt::SplitHCursor);
        else if (border_pointer_)
            set_pointer(pointer_);
        border_pointer_ = on_border;
    }
}

void SheetGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (resize_col_ >= 0) {
        // The whole drag is one width change, so one undo step.
        const int col = resize_col_;
        const int px = resize_px_;
        resize_col_ = -1;
        if (px != resize_from_px_)
            sheet_->set_column_width(col, int(std::lround(twips::from_px(px))));
        widths_may_have_changed();
        return;
    }
    dragging_ = false;
    report(2, event);
    header_drag_col_ = header_drag_row_ = false;
}

void SheetGrid::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 40;
    if (steps != 0)
        set_top_row(top_row_ - steps);
    const int hsteps = event->angleDelta().x() / 120;
    if (hsteps != 0)
        set_left_col(left_col_ - hsteps);
    event->accept();
}

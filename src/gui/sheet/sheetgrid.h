#pragma once

#include "print/gridmeasures.h"
#include "sheet/columnwidest.h"
#include "sheet/shownselection.h"
#include "sheet/textcache.h"

#include <QAbstractScrollArea>
#include <functional>

class Sheet;

// The sheet grid control: one fixed title row and one fixed row-number column
// that stay on screen, cells painted straight from the Sheet, only the visible
// ones. Scrolls by whole rows and columns. Lengths in its interface are twips.
class SheetGrid : public QAbstractScrollArea, public GridMeasures
{
    Q_OBJECT

public:
    enum class Pointer { Default = 0, Crosshair = 2, SizeAll = 5, Wait = 11 };

    explicit SheetGrid(Sheet *sheet, QWidget *parent = nullptr);

    Sheet *sheet() const { return sheet_; }

    QFont cell_font() const override { return font(); }
    // Height of every row in twips: the grid's default for its font.
    int row_height_twips() const override;
    int column_width_twips(int col) const;
    // The title row: one row high, or two when a title needs a second line.
    int title_height_twips() const;
    // The width a column needs to show its title whole on one line.
    int title_width_twips(int col) const;

    // Left and top of a cell relative to the grid's own top-left corner, in
    // twips (as far as it would lie when off screen).
    double cell_left_twips(int col) const;
    double cell_top_twips(int row) const;
    bool row_visible(int row) const;
    // The press being released was on the titles (whole columns) or on the
    // row numbers (whole rows).
    bool selecting_columns() const { return header_drag_col_; }
    bool selecting_rows() const { return header_drag_row_; }
    bool col_visible(int col) const;
    // Scrolls so that a cell is in view; fixed cells are always in view.
    void ensure_visible(int row, int col);

    int top_row() const { return top_row_; }
    int left_col() const { return left_col_; }
    void set_top_row(int row);
    void set_left_col(int col);

    Pointer pointer() const { return pointer_; }
    void set_pointer(Pointer pointer);
    // Why a result cell needs the teacher's look (empty: it does not); such
    // cells are marked as look-alike marks are.
    void set_result_notes(std::function<QString(int row, int col)> notes) { result_notes_ = std::move(notes); }
    // A title's border is being dragged.
    bool resizing_column() const { return resize_col_ >= 0; }

    // Cell under a point of the viewport, or (-1, -1) outside the cells.
    QPoint cell_at(const QPoint &viewport_pos) const;
    // Rectangle of a cell in viewport pixels.
    QRect cell_rect(int row, int col) const;
    // The text a cell shows: its own, or "###" for a number with no room.
    QString shown_text(int row, int col) const;

signals:
    // Mouse events with the buttons (a press or release: the one that
    // changed; a move: those held down), the modifier keys and the position
    // in twips, grid coordinates.
    void mouse_down(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double x, double y);
    void mouse_move(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double x, double y);
    void mouse_up(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double x, double y);
    void scrolled();
    // A right press on a cell, before the context menu opens.
    void context_press(int row, int col);
    // Columns as shown became wider or narrower: cells moved.
    void widths_changed();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int row_height_px() const;
    int title_height_px() const { return row_height_px() * title_lines_; }
    // The lines a title has in its column, and the whole title row's.
    QStringList title_lines(int col) const;
    void update_title_lines();
    int col_width_px(int col) const;
    int row_y(int row) const;  // viewport y of a row's top
    int col_x(int col) const;  // viewport x of a column's left edge
    int last_visible_row() const;
    int last_visible_col() const;
    void update_scroll_bars();
    void update_cell(int row, int col);
    // Repaints a range of cells (x columns, y rows) where it is in view.
    void update_cells(const QRect &cells);
    void selection_moved();
    // One cell's text on a single line, laid out once per text and font.
    void draw_line(QPainter &p, const QRect &rect, Qt::Alignment align, const QString &text,
                   const QColor &background);
    void draw_title(QPainter &p, const QRect &rect, const QStringList &lines);
    QPoint grid_offset() const;  // viewport's top-left within the grid
    void report(int kind, QMouseEvent *event);
    void select_to(const QPoint &cell);
    // Columns widen to their widest number as shown; the sheet's own widths,
    // which the teacher sets, stay as they are.
    int fit_px(int col) const;
    void refit_column(int row, int col);
    int measured_fit_px(int col) const;
    void refit_all();
    void widths_may_have_changed();
    // The column whose right border in the title row is under a point, or -1.
    int border_at(const QPoint &pos) const;

    Sheet *sheet_;
    std::function<QString(int, int)> result_notes_;
    int top_row_ = 1;
    int left_col_ = 1;
    Pointer pointer_ = Pointer::Default;
    bool dragging_ = false;
    bool header_drag_row_ = false;  // dragging across row numbers
    bool header_drag_col_ = false;  // dragging across titles
    bool syncing_scroll_bars_ = false;
    ShownSelection shown_selection_;
    mutable TextCache texts_;
    ColumnWidest widest_{*sheet_, texts_};
    QList<int> fit_px_;    // per column: what its widest number needs, 0 none
    QList<int> shown_px_;  // per column as last shown, to notice a change
    int resize_col_ = -1;  // column whose border is being dragged
    int resize_from_x_ = 0;
    int resize_from_px_ = 0;
    int resize_px_ = 0;
    bool border_pointer_ = false;
    int title_lines_ = 1;
};

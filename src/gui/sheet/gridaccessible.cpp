#include "sheet/gridaccessible.h"

#include "marks.h"
#include "sheet.h"
#include "sheet/sheetgrid.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QLineEdit>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace {

// What a cell says: its own text, the row numbers without their padding.
QString cell_text(const Sheet &sheet, int row, int col)
{
    return col == 0 ? sheet.text(row, col).trimmed() : sheet.text(row, col);
}

QString look_reason(const Sheet &sheet, int row, int col)
{
    return row > 0 && sheet.is_score_col(col) ? marks::needs_look(sheet, row, col) : QString();
}

class GridAccessible;

// One cell, found again by its row and column: it reads the sheet each time,
// so a cell kept over a change says what the sheet holds now.
class CellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    CellAccessible(SheetGrid *grid, int row, int col) : grid_(grid), row_(row), col_(col) {}

    bool isValid() const override
    {
        return grid_ && row_ < grid_->sheet()->rows() && col_ < grid_->sheet()->cols();
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return table_interface()->window(); }
    QAccessibleInterface *parent() const override { return table_interface(); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        const Sheet &sheet = *grid_->sheet();
        if (t == QAccessible::Name)
            return cell_text(sheet, row_, col_);
        if (t == QAccessible::Description)
            return look_reason(sheet, row_, col_);
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        const QRect cell = grid_->cell_rect(row_, col_);
        return QRect(grid_->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::Role role() const override
    {
        if (row_ == 0)
            return QAccessible::ColumnHeader;
        return col_ == 0 ? QAccessible::RowHeader : QAccessible::Cell;
    }

    QAccessible::State state() const override
    {
        const Sheet &sheet = *grid_->sheet();
        QAccessible::State s;
        s.selectable = true;
        s.focusable = true;
        s.selected = isSelected();
        s.focused = row_ == sheet.row() && col_ == sheet.col();
        const bool shown = (row_ == 0 || grid_->row_visible(row_)) &&
                           (col_ == 0 || grid_->col_visible(col_));
        s.invisible = !shown;
        s.offscreen = !shown;
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface *>(this)
                   : nullptr;
    }

    bool isSelected() const override
    {
        const Sheet &sheet = *grid_->sheet();
        return row_ >= sheet.top_selected_row() && row_ <= sheet.bottom_selected_row() &&
               col_ >= sheet.left_selected_col() && col_ <= sheet.right_selected_col();
    }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    int columnIndex() const override { return col_; }
    int rowIndex() const override { return row_; }
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override;
    QAccessibleInterface *table() const override { return table_interface(); }

private:
    QAccessibleInterface *table_interface() const
    {
        return QAccessible::queryAccessibleInterface(grid_.data());
    }

    QPointer<SheetGrid> grid_;
    int row_;
    int col_;
};

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit GridAccessible(SheetGrid *grid) : QAccessibleWidget(grid, QAccessible::Table) {}

    ~GridAccessible() override { forget_cells(); }

    SheetGrid *grid() const { return static_cast<SheetGrid *>(widget()); }
    const Sheet &sheet() const { return *grid()->sheet(); }

    // Cells are made as a reader asks for them and kept, so that one cell
    // is always the same object to it.
    QAccessibleInterface *cell(int row, int col) const
    {
        if (row < 0 || col < 0 || row >= sheet().rows() || col >= sheet().cols())
            return nullptr;
        const quint64 key = (quint64(row) << 32) | quint64(col);
        if (const auto id = cells_.value(key))
            return QAccessible::accessibleInterface(id);
        auto *made = new CellAccessible(grid(), row, col);
        cells_.insert(key, QAccessible::registerAccessibleInterface(made));
        return made;
    }

    int childCount() const override { return sheet().rows() * sheet().cols(); }
    QAccessibleInterface *child(int index) const override
    {
        return index < 0 || index >= childCount() ? nullptr
                                                   : cell(index / sheet().cols(), index % sheet().cols());
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        auto *c = const_cast<QAccessibleInterface *>(child)->tableCellInterface();
        if (!c || child->parent() != this)
            return -1;
        return c->rowIndex() * sheet().cols() + c->columnIndex();
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint at = grid()->cell_at(grid()->viewport()->mapFromGlobal(QPoint(x, y)));
        return cell(at.y(), at.x());
    }
    QAccessibleInterface *focusChild() const override { return cell(sheet().row(), sheet().col()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override { return cell(row, column); }
    int rowCount() const override { return sheet().rows(); }
    int columnCount() const override { return sheet().cols(); }
    QString columnDescription(int column) const override { return cell_text(sheet(), 0, column); }
    QString rowDescription(int row) const override { return cell_text(sheet(), row, 0); }

    int selectedCellCount() const override
    {
        return (sheet().bottom_selected_row() - sheet().top_selected_row() + 1) *
               (sheet().right_selected_col() - sheet().left_selected_col() + 1);
    }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QList<QAccessibleInterface *> cells;
        for (int r = sheet().top_selected_row(); r <= sheet().bottom_selected_row(); ++r)
            for (int c = sheet().left_selected_col(); c <= sheet().right_selected_col(); ++c)
                cells.append(cell(r, c));
        return cells;
    }
    // A row counts as selected when the selection runs across all its cells
    // (the row number aside), a column likewise.
    bool isRowSelected(int row) const override
    {
        return row >= sheet().top_selected_row() && row <= sheet().bottom_selected_row() &&
               sheet().left_selected_col() <= 1 && sheet().right_selected_col() == sheet().cols() - 1;
    }
    bool isColumnSelected(int column) const override
    {
        return column >= sheet().left_selected_col() && column <= sheet().right_selected_col() &&
               sheet().top_selected_row() <= 1 && sheet().bottom_selected_row() == sheet().rows() - 1;
    }
    QList<int> selectedRows() const override
    {
        QList<int> rows;
        for (int r = sheet().top_selected_row(); r <= sheet().bottom_selected_row(); ++r)
            if (isRowSelected(r))
                rows.append(r);
        return rows;
    }
    QList<int> selectedColumns() const override
    {
        QList<int> cols;
        for (int c = sheet().left_selected_col(); c <= sheet().right_selected_col(); ++c)
            if (isColumnSelected(c))
                cols.append(c);
        return cols;
    }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int selectedColumnCount() const override { return int(selectedColumns().size()); }
    // The selection is the teacher's, made with the keys and the mouse.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }

    void modelChange(QAccessibleTableModelChangeEvent *) override { forget_cells(); }

private:
    void forget_cells()
    {
        for (const QAccessible::Id id : std::as_const(cells_))
            QAccessible::deleteAccessibleInterface(id);
        cells_.clear();
    }

    mutable QHash<quint64, QAccessible::Id> cells_;
};

QList<QAccessibleInterface *> CellAccessible::columnHeaderCells() const
{
    auto *grid = static_cast<GridAccessible *>(table_interface());
    return row_ == 0 ? QList<QAccessibleInterface *>() : QList{grid->cell(0, col_)};
}

QList<QAccessibleInterface *> CellAccessible::rowHeaderCells() const
{
    auto *grid = static_cast<GridAccessible *>(table_interface());
    return col_ == 0 ? QList<QAccessibleInterface *>() : QList{grid->cell(row_, 0)};
}

QAccessibleInterface *grid_factory(const QString &key, QObject *object)
{
    if (key == "SheetGrid"_L1)
        if (auto *grid = qobject_cast<SheetGrid *>(object))
            return new GridAccessible(grid);
    return nullptr;
}

}  // namespace

namespace grid_accessible {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(grid_factory);
        return true;
    }();
    (void)installed;
}

QString position(const Sheet &sheet, int row, int col)
{
    const QString line = row == 0 ? u"見出し"_s : QString::number(row) + u" 行"_s;
    if (col == 0)
        return line + u" 行番号"_s;
    const QString title = sheet.text(0, col).simplified();
    return line + u' ' + (title.isEmpty() ? QString::number(col) + u" 列"_s : title);
}

}  // namespace grid_accessible

GridSpeech::GridSpeech(Sheet *sheet, SheetGrid *grid, QLineEdit *editor, QObject *parent)
    : QObject(parent), sheet_(sheet), grid_(grid), editor_(editor)
{
    grid_accessible::install();
    connect(sheet_, &Sheet::current_cell_changed, this, &GridSpeech::follow_cursor);
    // A mark typed in or a full mark changed may flag the current cell or
    // clear its flag; a title typed renames its column.
    connect(sheet_, &Sheet::cell_changed, this, &GridSpeech::follow_cursor);
    connect(sheet_, &Sheet::settings_changed, this, &GridSpeech::follow_cursor);
    connect(sheet_, &Sheet::shape_changed, this, [this] {
        QAccessibleTableModelChangeEvent reset(grid_, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&reset);
        follow_cursor();
    });
    follow_cursor();
}

void GridSpeech::follow_cursor()
{
    const int row = sheet_->row();
    const int col = sheet_->col();
    const QString name = grid_accessible::position(*sheet_, row, col);
    const QString why = look_reason(*sheet_, row, col);
    if (editor_->accessibleName() == name && editor_->accessibleDescription() == why)
        return;
    const bool moved = editor_->accessibleName() != name;
    editor_->setAccessibleName(name);
    editor_->setAccessibleDescription(why);
    if (!moved)
        return;
    QAccessibleEvent current(grid_, QAccessible::ActiveDescendantChanged);
    current.setChild(row * sheet_->cols() + col);
    QAccessible::updateAccessibility(&current);
    // The reader speaks the focused editor again: its new name, then the
    // mark in it.
    if (editor_->hasFocus()) {
        QAccessibleEvent focus(editor_, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

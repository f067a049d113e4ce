#pragma once

#include <QList>

class Sheet;
class TextCache;

// The width of each column's widest number, measured when first asked and
// kept until the column's texts change; insertions and removals of columns
// shift what is kept instead of measuring every column again.
class ColumnWidest
{
public:
    ColumnWidest(const Sheet &sheet, TextCache &texts);

    // Width of the widest number below the title; 0 when there is none.
    double widest(int col) const;
    // Measures the columns given that are not yet known, in one pass.
    void measure(const QList<int> &cols) const;

    void forget_all()
    {
        widest_.clear();
        widest_row_.clear();
    }
    // A cell's text changed: a wider text is the column's widest now; the
    // column is measured again only when its widest cell became narrower.
    void cell_changed(int row, int col);
    // After a change of the sheet's shape: what is kept follows the columns
    // that moved, unless texts changed unheard, when all is measured again.
    void catch_up();

private:
    void fit_sheet() const;
    void insert(int at, int count);
    void remove(int at, int count);

    static constexpr double kUnknown = -1;

    const Sheet &sheet_;
    TextCache &texts_;
    mutable QList<double> widest_;  // per column; kUnknown until measured
    // Per column, the row of its widest text, or -1 when that is not known.
    mutable QList<int> widest_row_;
    mutable quint64 text_revision_;  // the sheet's, when last caught up
    mutable qint64 moves_seen_;
};

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
    ColumnWidest(const Sheet &sheet, TextCache &texts) : sheet_(sheet), texts_(texts) {}

    // Width of the widest number below the title; 0 when there is none.
    double widest(int col) const;

    void forget_all() { widest_.clear(); }
    void forget(int col);
    // Columns at..at+count-1 came in (they are measured when asked), or went.
    void insert(int at, int count);
    void remove(int at, int count);

private:
    static constexpr double kUnknown = -1;

    const Sheet &sheet_;
    TextCache &texts_;
    mutable QList<double> widest_;  // per column; kUnknown until measured
};

#pragma once

#include <QList>
#include <QString>

class Sheet;

// A page surface: the printer, the print image window, or a recording for
// tests. Lengths are the surface's own (twips for the real ones), the origin
// is the top-left corner of its drawing area.
class PageSurface
{
public:
    virtual ~PageSurface() = default;
    virtual double width() const = 0;
    virtual double height() const = 0;
    virtual void set_font(const QString &family, double points) = 0;
    virtual double text_width(const QString &text) const = 0;
    virtual double text_height(const QString &text) const = 0;
    // Draws text with its top-left corner at (x, y), cut off at clip_right.
    virtual void draw_text(double x, double y, const QString &text, double clip_right) = 0;
    virtual void draw_line(double x1, double y1, double x2, double y2, bool dotted) = 0;
};

// Laying a range of the sheet out on pages and drawing them.
namespace pagination {

// What the sheet measures on the screen, in twips.
struct ScreenMeasures {
    QString font_family;
    double font_points = 12;
    double row_height = 300;  // every row, the title row included
    double text_height = 0;   // of "あ" in the grid's font
};

struct Page {
    int first_row = 0;
    int last_row = 0;
    int first_col = 0;
    int last_col = 0;
    // Columns 1 .. repeated print at the page's left before first_col: the
    // students' 年, 組, NO and 氏名 on pages of columns further right.
    int repeated = 0;
    bool operator==(const Page &) const = default;
};

struct Plan {
    QString refusal;     // the message when some column or row cannot fit a page
    QList<Page> pages;   // strip by strip from the left, top to bottom in a strip
};

// The last row of r1 .. r2 with some text in columns c1 .. c2, or r1 - 1 when
// every one of them is empty: rows of nothing at the end are not worth paper.
int last_filled_row(const Sheet &sheet, int c1, int c2, int r1, int r2);

// Checks every column and row of the sheet against the page, then divides
// the range into pages. A row that fits a page only without the headings
// still gets a page of its own, never an empty one. When the columns need
// more than one page across, the pages of an evaluation sheet's later
// columns repeat its 年, 組, NO and 氏名 columns at their left, as far as a
// column still fits beside them.
Plan print_range(const Sheet &sheet, const ScreenMeasures &screen, PageSurface &surface, int c1,
                 int c2, int r1, int r2);

// The share of the print size, from 1 down to 0.5, at which columns c1 .. c2
// fit the page's width (1 when they already do); 0 when even half the size
// needs more than one page across.
double width_share(const Sheet &sheet, const ScreenMeasures &screen, PageSurface &surface, int c1,
                   int c2);

// Draws one page: headings, cells, frame, column rules, the double rule under
// the headings and dotted rules between rows.
void print_page(const Sheet &sheet, const ScreenMeasures &screen, PageSurface &surface,
                const Page &page);

}  // namespace pagination

#include "pagination.h"

#include "columnfit.h"
#include "numbers.h"
#include "sheet.h"

using namespace Qt::StringLiterals;

namespace pagination {

namespace {

// Page scale: the surface's text against the screen's.
double scale(const ScreenMeasures &screen, PageSurface &surface)
{
    surface.set_font(screen.font_family, screen.font_points);
    return screen.text_height > 0 ? surface.text_height(u"あ"_s) / screen.text_height : 1.0;
}

bool starts_with_digit(QStringView s)
{
    return !s.isEmpty() && s.front() >= u'0' && s.front() <= u'9';
}

// Column widths on paper: the screen's, scaled, or wider where a column of
// marks needs more for its widest number and a space beside it. Only the
// columns from first to last are measured.
QList<double> paper_widths(const Sheet &sheet, double k, PageSurface &surface, int first, int last)
{
    const double air = qMax(surface.text_width(u" "_s), surface.text_height(u"*"_s) / 10);
    const auto measure = [&](const QString &text) { return surface.text_width(text); };
    QList<double> widths(sheet.cols());
    for (int c = 0; c < sheet.cols(); ++c) {
        widths[c] = sheet.column_width(c) * k;
        if (c >= first && c <= last && columnfit::widens(sheet, c)) {
            const double widest = columnfit::widest_number(sheet, c, measure);
            if (widest > 0)
                widths[c] = qMax(widths[c], widest + air);
        }
    }
    return widths;
}

// A title in its cell on paper: whole on one line at the print size; else
// on two lines at the largest smaller size, down to 70 %, that holds it
// whole; else on two lines at 70 %, shortened keeping its end. Two lines
// never start at the print size: they would spill over the rows below.
void draw_title(PageSurface &surface, const ScreenMeasures &screen, const QString &title,
                double left, double top, double height, double right, double inset)
{
    const auto measure = [&](const QString &text) { return surface.text_width(text); };
    const double room = right - left - inset;
    if (measure(title) <= room) {
        surface.draw_text(left + inset, top, title, right);
        return;
    }
    QStringList lines;
    double line = 0;
    for (int percent = 95; percent >= 70; percent -= 5) {
        surface.set_font(screen.font_family, screen.font_points * percent / 100);
        line = surface.text_height(u"あ"_s);
        if (percent > 70 && 2 * line > height + top)
            continue;
        lines = columnfit::fit_title(title, room, 2, measure);
        if (lines.join(QString()) == title)
            break;
    }
    double y = qMax(0.0, top + (height - 2 * line) / 2);
    for (const QString &text : lines) {
        surface.draw_text(left + inset, y, text, right);
        y += line;
    }
    surface.set_font(screen.font_family, screen.font_points);
}

}  // namespace

int last_filled_row(const Sheet &sheet, int c1, int c2, int r1, int r2)
{
    Q_ASSERT(c1 <= c2 && r1 <= r2);
    for (int r = r2; r >= r1; --r)
        for (int c = c1; c <= c2; ++c)
            if (!numbers::trim_spaces(sheet.text(r, c)).isEmpty())
                return r;
    return r1 - 1;
}

Plan print_range(const Sheet &sheet, const ScreenMeasures &screen, PageSurface &surface, int c1,
                 int c2, int r1, int r2)
{
    Plan plan;
    const double k = scale(screen, surface);
    const double p = surface.text_height(u"*"_s) / 2;
    const QList<double> w = paper_widths(sheet, k, surface, 0, sheet.cols() - 1);
    const double w0 = w[0];
    const double h = screen.row_height;
    const double page_w = surface.width(), page_h = surface.height();
    for (int c = 0; c < sheet.cols(); ++c) {
        if (w0 + w[c] > page_w) {
            plan.refusal = u"列["_s + sheet.text(0, c) + u"]の幅がプリンターからはみ出ます。"_s;
            return plan;
        }
    }
    for (int r = 0; r < sheet.rows(); ++r) {
        if (h * k > page_h) {
            plan.refusal = u"行["_s + sheet.text(r, 0) + u"]の高さがプリンターからはみ出ます。"_s;
            return plan;
        }
    }

    auto lay_out_strip = [&](int a, int b, int repeated) {
        const double top = h * k + p;  // the heading row and the top margin
        double y = top;
        int g = r1;
        for (int r = r1; r <= r2; ++r) {
            y += h * k;
            if (y > page_h && r > g) {
                plan.pages.append({g, r - 1, a, b, repeated});
                g = r;
                y = top + h * k;
            }
        }
        plan.pages.append({g, r2, a, b, repeated});
    };
    // Strips of columns across, each with the repeated columns at its left
    // when it starts right of them.
    struct Strip {
        int first, last, repeated;
    };
    auto strips = [&](int names, double names_w) {
        QList<Strip> out;
        auto start = [&](int c) { return w0 + (c > names ? names_w : 0.0); };
        int s = c1;
        double x = start(s);
        for (int c = c1; c <= c2; ++c) {
            x += w[c];
            if (x > page_w && c > s) {
                out.append({s, c - 1, s > names ? names : 0});
                s = c;
                x = start(c) + w[c];
            }
        }
        out.append({s, c2, s > names ? names : 0});
        return out;
    };
    QList<Strip> across = strips(0, 0);
    const int names = sheet.has_evaluation_layout() ? Sheet::kFirstScoreCol - 1 : 0;
    if (across.size() > 1 && names > 0 && names < sheet.cols()) {
        double names_w = 0;
        for (int c = 1; c <= names; ++c)
            names_w += w[c];
        bool fits = true;
        for (int c = qMax(c1, names + 1); c <= c2; ++c)
            fits = fits && w0 + names_w + w[c] <= page_w;
        if (fits)
            across = strips(names, names_w);
    }
    for (const Strip &strip : across)
        lay_out_strip(strip.first, strip.last, strip.repeated);
    return plan;
}

double width_share(const Sheet &sheet, const ScreenMeasures &screen, PageSurface &surface, int c1,
                   int c2)
{
    Q_ASSERT(c1 <= c2 && c2 < sheet.cols());
    // Marks set in a smaller size need narrower columns too: measured anew
    // at each size, in steps of 2 %.
    for (int percent = 100; percent >= 50; percent -= 2) {
        ScreenMeasures smaller = screen;
        smaller.font_points = screen.font_points * percent / 100;
        const double k = scale(smaller, surface);
        const QList<double> w = paper_widths(sheet, k, surface, c1, c2);
        double needed = w[0];
        for (int c = c1; c <= c2; ++c)
            needed += w[c];
        if (needed <= surface.width()) {
            surface.set_font(screen.font_family, screen.font_points);
            return percent / 100.0;
        }
    }
    surface.set_font(screen.font_family, screen.font_points);
    return 0;
}

void print_page(const Sheet &sheet, const ScreenMeasures &screen, PageSurface &surface,
                const Page &page)
{
    const double k = scale(screen, surface);
    const double p = surface.text_height(u"*"_s) / 2;
    const double e = surface.text_height(u"あ"_s);
    const QList<double> w = paper_widths(sheet, k, surface, page.first_col, page.last_col);
    const double w0 = w[0];
    const double h = screen.row_height * k;
    // The columns in the order they print: the repeated ones first.
    QList<int> shown;
    for (int c = 1; c <= page.repeated; ++c)
        shown.append(c);
    for (int c = page.first_col; c <= page.last_col; ++c)
        shown.append(c);
    // X(i): the left edge of the i-th printed column (X(n): the right edge).
    auto X = [&](qsizetype i) {
        double x = w0;
        for (qsizetype j = 0; j < i; ++j)
            x += w[shown[j]];
        return x;
    };
    auto Y = [&](int r) { return p + screen.row_height * k + (r - page.first_row) * h; };
    const auto measure = [&](const QString &text) { return surface.text_width(text); };
    const double L = w0, R = X(shown.size()), T = p;
    const double B = Y(page.last_row) + e;

    for (qsizetype i = 0; i < shown.size(); ++i)
        draw_title(surface, screen, sheet.text(0, shown[i]), X(i), p, h, X(i + 1), p / 10);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const int c = shown[i];
        const double cw = w[c];
        const double left = X(i);
        for (int r = page.first_row; r <= page.last_row; ++r) {
            const QString text = numbers::trim_spaces(sheet.text(r, c)).toString();
            if (text.isEmpty())
                continue;
            // Texts stand left, numbers right, one space short of the edge.
            // A number without room prints as "###", never a part of itself.
            if (!starts_with_digit(text)) {
                surface.draw_text(left + p / 5, Y(r),
                                  columnfit::shown(text, cw - p / 5, measure), left + cw);
                continue;
            }
            const QString s = columnfit::shown(text, cw, measure);
            double m = surface.text_width(s) + surface.text_width(u" "_s);
            if (m > cw) {
                m = surface.text_width(s);
                if (m > cw)
                    m = cw;
            }
            surface.draw_text(left + cw - m, Y(r), s, left + cw);
        }
    }

    surface.draw_line(L, T, R, T, false);
    surface.draw_line(L, T, L, B, false);
    surface.draw_line(R, T, R, B, false);
    surface.draw_line(L, B, R, B, false);
    for (qsizetype i = 0; i < shown.size(); ++i)
        surface.draw_line(X(i), T, X(i), B, false);
    const double y1 = p + screen.row_height * k - p / 8;
    surface.draw_line(L, y1, R, y1, false);
    surface.draw_line(L, y1 - p / 10, R, y1 - p / 10, false);
    for (int r = page.first_row; r < page.last_row; ++r) {
        const double y = Y(r) + h - p / 8;
        surface.draw_line(L, y, R, y, true);
    }
}

}  // namespace pagination

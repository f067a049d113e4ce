#include "evaluation/countgrid.h"

#include "common/contrast.h"
#include "numbers.h"
#include "common/twips.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace {

const QColor kFixedBackground(224, 224, 224);
const QColor kCellBackground(255, 255, 255);
const QColor kGridLine(128, 128, 128);
const QColor kBar(150, 190, 240);
constexpr int kPadding = 3;  // pixels between a cell's edge and its text

bool valid(int row, int col)
{
    return row >= 0 && row < CountGrid::kRows && col >= 0 && col < CountGrid::kCols;
}

}  // namespace

CountGrid::CountGrid(QWidget *parent) : QWidget(parent)
{
    widths_.fill(600);
    setAttribute(Qt::WA_OpaquePaintEvent);
    fit_size();
}

QString CountGrid::text(int row, int col) const
{
    return valid(row, col) ? texts_[size_t(row)][size_t(col)] : QString();
}

void CountGrid::set_text(int row, int col, const QString &text)
{
    if (!valid(row, col) || texts_[size_t(row)][size_t(col)] == text)
        return;
    texts_[size_t(row)][size_t(col)] = text;
    update();
    // Readers hear the counts the bars show: 「0-9 0、10-19 2、…」.
    QStringList counts;
    for (int r = 1; r < kRows; ++r)
        counts.append(texts_[size_t(r)][0] + u' ' + texts_[size_t(r)][1]);
    setAccessibleDescription(counts.join(u'、'));
}

double CountGrid::column_width(int col) const
{
    return col >= 0 && col < kCols ? widths_[size_t(col)] : 0;
}

void CountGrid::set_column_width(int col, double twips)
{
    if (col < 0 || col >= kCols)
        return;
    widths_[size_t(col)] = twips;
    fit_size();
}

void CountGrid::set_row_height(double twips)
{
    row_height_ = twips;
    fit_size();
}

int CountGrid::column_left_px(int col) const
{
    int left = 0;
    for (int c = 0; c < col; ++c)
        left += column_width_px(c);
    return left;
}

int CountGrid::column_width_px(int col) const
{
    return qMax(1, twips::to_px(widths_[size_t(col)]));
}

int CountGrid::row_top_px(int row) const
{
    return row * row_height_px();
}

int CountGrid::row_height_px() const
{
    return qMax(1, twips::to_px(row_height_));
}

void CountGrid::fit_size()
{
    // One more pixel for the closing grid line on the right and at the bottom.
    setFixedSize(column_left_px(kCols) + 1, row_top_px(kRows) + 1);
    update();
}

QRectF CountGrid::bar_rect(int row) const
{
    if (row < 1 || row >= kRows)
        return {};
    // Bars are scaled to the largest count, which fills its cell.
    double largest = 0;
    for (int r = 1; r < kRows; ++r)
        largest = std::max(largest, numbers::leading_number(texts_[size_t(r)][1]));
    const double value = numbers::leading_number(texts_[size_t(row)][1]);
    if (!(value > 0) || !(largest > 0))
        return {};
    const double inner = column_width_px(1) - 3;
    const double height = row_height_px() - 3;
    return QRectF(column_left_px(1) + 2, row_top_px(row) + 2, inner * value / largest, height);
}

void CountGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    const QColor fixed_fill = contrast::background(kFixedBackground, QPalette::Button);
    const QColor cell_fill = contrast::background(kCellBackground, QPalette::Base);
    const QColor bar_fill = contrast::tint(kBar);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            const QRect cell(column_left_px(c), row_top_px(r), column_width_px(c), row_height_px());
            const bool fixed = r == 0 || c == 0;
            painter.fillRect(cell, fixed ? fixed_fill : cell_fill);
            if (!fixed) {
                const QRectF bar = bar_rect(r);
                if (!bar.isEmpty())
                    painter.fillRect(bar, bar_fill);
            }
            painter.setPen(kGridLine);
            painter.drawRect(cell.adjusted(0, 0, 0, 0));
            painter.setPen(palette().color(QPalette::WindowText));
            // Headings and classes centred, counts right-aligned as numbers are.
            const Qt::Alignment align =
                (fixed ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter;
            // Narrow columns give up the padding before any of the text.
            const QString &text = texts_[size_t(r)][size_t(c)];
            const int spare = cell.width() - painter.fontMetrics().horizontalAdvance(text) - 1;
            const int padding = qBound(0, spare / 2, kPadding);
            painter.drawText(cell.adjusted(padding, 0, -padding, 0), int(align), text);
        }
    }
}

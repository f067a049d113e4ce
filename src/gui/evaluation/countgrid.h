#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>
#include <array>

// A small fixed table of 11 rows and 2 columns (one fixed row, one fixed
// column) that shows counts. Each count is drawn over a bar proportional to
// it, so the shape of the distribution shows at a glance.
class CountGrid : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRows = 11;
    static constexpr int kCols = 2;

    explicit CountGrid(QWidget *parent = nullptr);

    QString text(int row, int col) const;
    void set_text(int row, int col, const QString &text);

    // Widths and the row height in twips; the widget takes the size they give.
    double column_width(int col) const;
    void set_column_width(int col, double twips);
    double row_height() const { return row_height_; }
    void set_row_height(double twips);

    // The bar behind the count of row 1..10, in widget pixels; empty for a
    // count of 0 or a text without a number.
    QRectF bar_rect(int row) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void fit_size();
    int column_left_px(int col) const;
    int column_width_px(int col) const;
    int row_top_px(int row) const;
    int row_height_px() const;

    std::array<std::array<QString, kCols>, kRows> texts_{};
    std::array<double, kCols> widths_{};
    double row_height_ = 240;
};

#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QScrollBar;
class Sheet;

// The input panels at the top of a sheet window's right edge, one above the
// other: character size and input position, fixed-length entry and a thin
// separating bar.
class InputPanels : public QWidget
{
    Q_OBJECT

public:
    InputPanels(const Sheet *sheet, QWidget *parent);

    // The fixed-length count n (0 = off) and the character size in points.
    int fixed_length() const;
    double character_size() const;

    // The position display; a row or column beyond the grid is clamped.
    void set_position_display(int row, int col, bool leading_space);
    void clamp_position_display();
    // Sets the row display as it is, with no clamping.
    void show_row(const QString &text);
    // The row and column the position display shows.
    int shown_row() const;
    int shown_col() const;

    // The width of the panels (the size and position panel's, in pixels).
    int panel_width() const;
    // The second and third headings take the width of the first.
    void lay_out();

signals:
    void character_size_changed(double points);

private:
    void show_character_size();
    void show_fixed_length();

    const Sheet *sheet_;
    QFrame *size_position_panel_;
    QFrame *fixed_length_panel_;
    QFrame *separator_;
    QLabel *size_label_;
    QLabel *row_label_;
    QLabel *col_label_;
    QLabel *fixed_length_label_;
    QLabel *heading_fixed_;
    QLabel *heading_position_;
    QLabel *heading_size_;
    QScrollBar *size_scroll_;
    QScrollBar *fixed_length_scroll_;
};

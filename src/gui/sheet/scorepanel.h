#pragma once

#include <QFrame>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Sheet;

// The raw-score information panel "素点情報": title, full marks and weight of
// the current score column, its average, and the evaluation button.
class ScorePanel : public QFrame
{
    Q_OBJECT

public:
    explicit ScorePanel(QWidget *parent = nullptr);

    // The sheet whose current column the panel shows and edits; the panel
    // follows its cursor and settings from then on.
    void attach(Sheet *sheet);
    // Shows the current column's title, full marks, weight and average, or
    // empties and disables the fields off the score columns.
    void refresh();

    QLineEdit *title_box() const { return title_box_; }
    QLineEdit *full_marks_box() const { return full_marks_box_; }
    QLineEdit *weight_box() const { return weight_box_; }
    QPushButton *evaluate_button() const { return evaluate_button_; }
    QPushButton *viewpoints_button() const { return viewpoints_button_; }
    QComboBox *viewpoint_choice() const { return viewpoint_choice_; }
    QLabel *heading() const { return heading_; }
    // How many students' viewpoint results need a look: shown on the result
    // columns, where the marks' own count has nothing to say.
    void set_result_checks(std::function<int()> count) { result_checks_ = std::move(count); }

private:
    // Field edits go to the current score column; never while refreshing.
    void store(QLineEdit *box, const QString &text);
    void show_text(QLineEdit *box, const QString &text);
    // Settings of slot k changed elsewhere (the evaluation raises full marks).
    void settings_changed(int k);
    // Count, median, deviation, highest and lowest of the current score
    // column, and how many of its cells do not count as they read.
    void show_statistics();
    // The choice lists the sheet's viewpoints and shows the current column's.
    void show_viewpoint();
    // The cursor moved: nothing shown depends on the row, so a move within
    // the column shown changes nothing.
    void cursor_moved();

    Sheet *sheet_ = nullptr;
    std::function<int()> result_checks_;
    bool refreshing_ = false;
    int shown_col_ = -1;  // the column the panel was last refreshed for
    QLabel *heading_;
    QLineEdit *title_box_;
    QLineEdit *full_marks_box_;
    QLineEdit *weight_box_;
    QLabel *average_label_;
    QPushButton *evaluate_button_;
    QComboBox *viewpoint_choice_;
    QPushButton *viewpoints_button_;
    QLabel *statistics_label_;
    QLabel *look_alike_label_;
};

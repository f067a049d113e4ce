#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QPushButton;

// The raw-score information panel "素点情報": title, full marks and weight of
// the current score column, its average, and the evaluation button.
class ScorePanel : public QFrame
{
    Q_OBJECT

public:
    explicit ScorePanel(QWidget *parent = nullptr);

    QLineEdit *title_box() const { return text4_; }
    QLineEdit *full_marks_box() const { return text3_; }
    QLineEdit *weight_box() const { return text2_; }
    QLabel *average_label() const { return label11_; }
    QPushButton *evaluate_button() const { return command3_; }
    QLabel *heading() const { return heading_; }

private:
    QLabel *heading_;
    QLineEdit *text4_;
    QLineEdit *text3_;
    QLineEdit *text2_;
    QLabel *label11_;
    QPushButton *command3_;
};

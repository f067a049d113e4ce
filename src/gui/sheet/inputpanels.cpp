#include "sheet/inputpanels.h"

#include "common/geometry.h"
#include "common/objectnames.h"
#include "numbers.h"
#include "sheet.h"

#include <QFrame>
#include <QLabel>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace {

QLabel *heading(QWidget *parent, const QString &text, double top)
{
    auto *label = new QLabel(text, parent);
    geometry::place(label, 45, top, 1245, 260);
    return label;
}

// A label placed in twips; a named one shows a value right-aligned.
QLabel *panel_label(QWidget *parent, const QString &text, double left, double top, double width,
                    double height, const QString &name = QString())
{
    auto *label = new QLabel(text, parent);
    if (!name.isEmpty()) {
        label->setObjectName(name);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    geometry::place(label, left, top, width, height);
    return label;
}

QScrollBar *spinner(QWidget *parent, const QString &name, int lowest, int highest, int position,
                    double top, double height)
{
    auto *bar = new QScrollBar(Qt::Vertical, parent);
    bar->setObjectName(name);
    bar->setRange(lowest, highest);
    bar->setValue(position);
    geometry::place(bar, 1035, top, 240, height);
    return bar;
}

}  // namespace

InputPanels::InputPanels(const Sheet *sheet, QWidget *parent) : QWidget(parent), sheet_(sheet)
{
    setObjectName(object_name::input_panels);

    // Character size and input position.
    size_position_panel_ = new QFrame(this);
    size_position_panel_->setObjectName(object_name::size_position_panel);
    geometry::place(size_position_panel_, 0, 0, 1335, 1695);
    heading_size_ = heading(size_position_panel_, u"◇文字ｻｲｽﾞ"_s, 30);
    size_label_ = panel_label(size_position_panel_, u"12"_s, 90, 330, 360, 300,
                              object_name::character_size_label);
    panel_label(size_position_panel_, u"ﾎﾟｲﾝﾄ"_s, 480, 330, 540, 300);
    // size = 30 - position
    size_scroll_ = spinner(size_position_panel_, object_name::character_size_scroll, 6, 30, 18,
                           300, 420);

    heading_position_ = heading(size_position_panel_, u"◇入力場所"_s, 840);
    row_label_ =
        panel_label(size_position_panel_, u"1"_s, 90, 1110, 600, 270, object_name::row_label);
    panel_label(size_position_panel_, u"行"_s, 750, 1110, 400, 270);
    col_label_ =
        panel_label(size_position_panel_, u"1"_s, 90, 1380, 600, 270, object_name::column_label);
    panel_label(size_position_panel_, u"列"_s, 750, 1380, 400, 270);

    // Fixed-length entry; n = 5 - position, so the up arrow raises it.
    fixed_length_panel_ = new QFrame(this);
    fixed_length_panel_->setObjectName(object_name::fixed_length_panel);
    fixed_length_panel_->setToolTip(u"入力文字数が指定に達すると自動改行。"_s);
    geometry::place(fixed_length_panel_, 0, 1695, 1335, 855);
    heading_fixed_ = heading(fixed_length_panel_, u"◇固定長"_s, 30);
    fixed_length_label_ = panel_label(fixed_length_panel_, u"なし"_s, 90, 360, 600, 300,
                                      object_name::fixed_length_label);
    fixed_length_scroll_ =
        spinner(fixed_length_panel_, object_name::fixed_length_scroll, 0, 5, 5, 300, 450);

    // A thin separating bar.
    separator_ = new QFrame(this);
    separator_->setObjectName(object_name::panel_separator);
    separator_->setFrameShape(QFrame::HLine);
    separator_->setFrameShadow(QFrame::Sunken);
    geometry::place(separator_, 0, 2550, 1335, 15);

    geometry::place(this, 0, 0, 1335, 2565);

    connect(size_scroll_, &QScrollBar::valueChanged, this, &InputPanels::show_character_size);
    connect(fixed_length_scroll_, &QScrollBar::valueChanged, this, &InputPanels::show_fixed_length);
}

int InputPanels::fixed_length() const
{
    return 5 - fixed_length_scroll_->value();
}

double InputPanels::character_size() const
{
    return numbers::leading_number(size_label_->text());
}

int InputPanels::panel_width() const
{
    return size_position_panel_->width();
}

void InputPanels::lay_out()
{
    heading_position_->resize(heading_fixed_->width(), heading_position_->height());
    heading_size_->resize(heading_fixed_->width(), heading_size_->height());
}

void InputPanels::set_position_display(int row, int col, bool leading_space)
{
    const QString r = leading_space ? numbers::signed_form(row) : QString::number(row);
    const QString c = leading_space ? numbers::signed_form(col) : QString::number(col);
    col_label_->setText(c);
    if (row_label_->text() != r) {
        row_label_->setText(r);
        clamp_position_display();
    }
}

void InputPanels::clamp_position_display()
{
    const int last_row = sheet_->rows() - 1;
    const int last_col = sheet_->cols() - 1;
    if (numbers::leading_number(row_label_->text()) > last_row)
        row_label_->setText(QString::number(last_row));
    if (numbers::leading_number(col_label_->text()) > last_col)
        col_label_->setText(QString::number(last_col));
}

void InputPanels::show_row(const QString &text)
{
    row_label_->setText(text);
}

int InputPanels::shown_row() const
{
    return int(numbers::round_half_even(numbers::leading_number(row_label_->text())));
}

int InputPanels::shown_col() const
{
    return int(numbers::round_half_even(numbers::leading_number(col_label_->text())));
}

void InputPanels::show_character_size()
{
    const double size = 30 - size_scroll_->value();
    size_label_->setText(QString::number(size));
    emit character_size_changed(size);
}

void InputPanels::show_fixed_length()
{
    const int n = fixed_length();
    fixed_length_label_->setText(n == 0 ? u"なし"_s : numbers::signed_form(n));
}

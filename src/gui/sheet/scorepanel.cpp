#include "sheet/scorepanel.h"

#include "common/geometry.h"
#include "common/objectnames.h"
#include "common/panelstyle.h"
#include "marks.h"
#include "numbers.h"
#include "scoring.h"
#include "sheet.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

ScorePanel::ScorePanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(object_name::score_panel);
    make_floating_panel(this);
    // Taller than the earlier panel: the statistics stand below the button.
    geometry::place(this, 0, 0, 1335, 5760);

    heading_ = new QLabel(u"素点情報"_s, this);
    geometry::place(heading_, 60, 40, 1215, 260);

    title_box_ = new QLineEdit(this);
    title_box_->setObjectName(object_name::title_box);
    geometry::place(title_box_, 60, 330, 1215, 330);

    auto caption = [this](const QString &text, int top) {
        auto *label = new QLabel(text, this);
        geometry::place(label, 60, top, 500, 330);
    };
    caption(u"最高"_s, 780);
    full_marks_box_ = new QLineEdit(this);
    full_marks_box_->setObjectName(object_name::full_marks_box);
    geometry::place(full_marks_box_, 570, 780, 705, 330);

    caption(u"重み"_s, 1200);
    weight_box_ = new QLineEdit(this);
    weight_box_->setObjectName(object_name::weight_box);
    geometry::place(weight_box_, 570, 1200, 705, 330);

    caption(u"平均"_s, 1620);
    average_label_ = new QLabel(this);
    average_label_->setObjectName(object_name::column_average_label);
    average_label_->setFrameShape(QFrame::Panel);
    average_label_->setFrameShadow(QFrame::Sunken);
    average_label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    geometry::place(average_label_, 570, 1620, 705, 330);

    caption(u"観点"_s, 2040);
    viewpoint_choice_ = new QComboBox(this);
    viewpoint_choice_->setObjectName(object_name::viewpoint_choice);
    viewpoint_choice_->setAccessibleName(u"この列の観点"_s);
    viewpoint_choice_->setToolTip(u"この列の点数がどの観点の評価に入るかを選びます。"
                                  u"観点の名前は［観点別評価］の［基準と換算表］で変えられます。"_s);
    viewpoint_choice_->setFocusPolicy(Qt::StrongFocus);
    geometry::place(viewpoint_choice_, 570, 2040, 705, 330);

    evaluate_button_ = new QPushButton(u"評価計算"_s, this);
    evaluate_button_->setObjectName(object_name::evaluate_button);
    evaluate_button_->setAutoDefault(false);
    geometry::place(evaluate_button_, 60, 2520, 1215, 450);
    viewpoints_button_ = new QPushButton(u"観点別評価"_s, this);
    viewpoints_button_->setObjectName(object_name::viewpoints_button);
    viewpoints_button_->setAccessibleName(u"観点別評価"_s);
    viewpoints_button_->setAutoDefault(false);
    geometry::place(viewpoints_button_, 60, 3000, 1215, 450);

    statistics_label_ = new QLabel(this);
    statistics_label_->setObjectName(object_name::statistics_label);
    statistics_label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    geometry::place(statistics_label_, 60, 3600, 1215, 1560);
    look_alike_label_ = new QLabel(this);
    look_alike_label_->setObjectName(object_name::look_alike_label);
    look_alike_label_->setWordWrap(true);
    look_alike_label_->setStyleSheet(u"color: #c05800;"_s);
    look_alike_label_->setToolTip(u"全角の数字や点数でない文字で書かれたセル、満点を超える点数の数です。"
                                  u"セルの右上がオレンジ色になり、マウスを重ねると理由が出ます。"
                                  u"全角の数字は［編集］→［全角数字を半角に］で直せます。"_s);
    geometry::place(look_alike_label_, 60, 5190, 1215, 520);

    for (QLineEdit *box : {title_box_, full_marks_box_, weight_box_})
        box->setEnabled(false);
    viewpoint_choice_->setEnabled(false);
}

void ScorePanel::show_statistics()
{
    const int c = sheet_ ? sheet_->col() : -1;
    if (!sheet_ || !sheet_->is_score_col(c)) {
        average_label_->clear();
        statistics_label_->clear();
        const int checked = sheet_ && sheet_->is_result_col(c) && result_checks_ ? result_checks_() : 0;
        look_alike_label_->setText(checked > 0 ? u"要確認 "_s + QString::number(checked) + u" 人"_s : QString());
        return;
    }
    // The average follows the marks with the statistics under it: a stale
    // average beside a fresh median would contradict it.
    average_label_->setText(scoring::column_average(*sheet_, Sheet::slot_of_column(c)));
    const marks::Statistics s = marks::column_statistics(*sheet_, c);
    QString text = u"人数　　 "_s + QString::number(s.count);
    if (s.count > 0)
        text += u"\n中央値　 "_s + numbers::two_decimals(s.median) + u"\n標準偏差 "_s +
                numbers::two_decimals(s.deviation) + u"\n最高点　 "_s +
                numbers::two_decimals(s.highest) + u"\n最低点　 "_s + numbers::two_decimals(s.lowest);
    statistics_label_->setText(text);
    const int odd = marks::count_look_alikes(*sheet_, c);
    look_alike_label_->setText(odd > 0 ? u"要確認 "_s + QString::number(odd) + u" 件"_s : QString());
}

void ScorePanel::attach(Sheet *sheet)
{
    sheet_ = sheet;
    for (QLineEdit *box : {title_box_, full_marks_box_, weight_box_})
        connect(box, &QLineEdit::textChanged, this, [this, box](const QString &text) { store(box, text); });
    connect(sheet_, &Sheet::current_cell_changed, this, &ScorePanel::cursor_moved);
    // Columns inserted or deleted bring another column's settings here.
    connect(sheet_, &Sheet::shape_changed, this, &ScorePanel::refresh);
    connect(sheet_, &Sheet::settings_changed, this, &ScorePanel::settings_changed);
    // Renamed or added viewpoints come with the document's settings.
    connect(sheet_, &Sheet::document_changed, this, &ScorePanel::show_viewpoint);
    connect(viewpoint_choice_, &QComboBox::activated, this, [this](int index) {
        const int c = sheet_->col();
        if (refreshing_ || !sheet_->is_score_col(c))
            return;
        const int k = Sheet::slot_of_column(c);
        ScoreSettings s = sheet_->settings(k);
        s.viewpoint = index;
        sheet_->set_settings(k, s);
    });
    // The statistics follow every mark of the column shown.
    connect(sheet_, &Sheet::cell_changed, this, [this](int, int col) {
        if (col == sheet_->col())
            show_statistics();
    });
}

void ScorePanel::show_text(QLineEdit *box, const QString &text)
{
    // Showing a value is not an edit: the change handler must not store it.
    // The same text again would only repaint the box.
    if (box->text() == text)
        return;
    const bool was = refreshing_;
    refreshing_ = true;
    box->setText(text);
    refreshing_ = was;
}

void ScorePanel::cursor_moved()
{
    // Statistics of a whole column are worth sparing at every arrow key.
    if (sheet_ && sheet_->col() != shown_col_)
        refresh();
}

void ScorePanel::refresh()
{
    if (!sheet_)
        return;
    const int c = sheet_->col();
    shown_col_ = c;
    const bool score = sheet_->is_score_col(c);
    for (QLineEdit *box : {title_box_, full_marks_box_, weight_box_})
        box->setEnabled(score);
    show_viewpoint();
    if (!score) {
        for (QLineEdit *box : {title_box_, full_marks_box_, weight_box_})
            show_text(box, QString());
        show_statistics();
        return;
    }
    const int k = Sheet::slot_of_column(c);
    const ScoreSettings &s = sheet_->settings(k);
    show_text(title_box_, sheet_->text(0, c));
    show_text(full_marks_box_, s.full_marks_text);
    show_text(weight_box_, numbers::plain_form(s.weight));
    show_statistics();
}

void ScorePanel::settings_changed(int k)
{
    if (refreshing_ || !sheet_ || Sheet::slot_of_column(sheet_->col()) != k || !sheet_->is_score_col(sheet_->col()))
        return;
    // A box the teacher is typing in already holds what it stored.
    const ScoreSettings &s = sheet_->settings(k);
    if (full_marks_box_->text() != s.full_marks_text)
        show_text(full_marks_box_, s.full_marks_text);
    if (numbers::leading_number(weight_box_->text()) != s.weight)
        show_text(weight_box_, numbers::plain_form(s.weight));
    // Full marks decide which marks are above them.
    show_statistics();
    show_viewpoint();
}

void ScorePanel::show_viewpoint()
{
    const int c = sheet_->col();
    const bool score = sheet_->is_score_col(c);
    const bool was = refreshing_;
    refreshing_ = true;
    // 「なし」 first: index i is viewpoint i, as the column's setting counts.
    QStringList items{u"なし"_s};
    for (const Viewpoint &viewpoint : sheet_->viewpoint_settings().viewpoints)
        items << viewpoint.short_name;
    QStringList shown;
    for (int i = 0; i < viewpoint_choice_->count(); ++i)
        shown << viewpoint_choice_->itemText(i);
    if (shown != items) {
        viewpoint_choice_->clear();
        viewpoint_choice_->addItems(items);
        for (int i = 1; i < items.size(); ++i)
            viewpoint_choice_->setItemData(i, sheet_->viewpoint_settings().viewpoints[i - 1].name, Qt::ToolTipRole);
    }
    const int viewpoint = score ? sheet_->settings(Sheet::slot_of_column(c)).viewpoint : 0;
    viewpoint_choice_->setCurrentIndex(viewpoint < items.size() ? viewpoint : 0);
    viewpoint_choice_->setEnabled(score);
    refreshing_ = was;
}

void ScorePanel::store(QLineEdit *box, const QString &text)
{
    if (refreshing_ || !sheet_)
        return;
    const int c = sheet_->col();
    // Slots of the year, class, number, name, total and grade columns are
    // never written, whatever reaches a field.
    if (!sheet_->is_score_col(c))
        return;
    const int k = Sheet::slot_of_column(c);
    if (box == title_box_) {
        sheet_->set_text(0, c, text);
    } else if (box == full_marks_box_) {
        ScoreSettings s = sheet_->settings(k);
        s.full_marks_text = text;
        s.full_marks = numbers::leading_number(text);
        s.full_marks_given = true;
        sheet_->set_settings(k, s);
    } else if (box == weight_box_) {
        sheet_->set_weight(k, numbers::leading_number(text));
    }
}

#include "evaluation/evaluationpanel.h"

#include "common/contrast.h"
#include "common/objectnames.h"
#include "evaluation/countgrid.h"
#include "evaluation/criterioninput.h"
#include "common/geometry.h"
#include "common/panelstyle.h"
#include "marks.h"
#include "numbers.h"
#include "scoring.h"
#include "sheet.h"
#include "common/twips.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Wider than the earlier panel: the 32 candidates show side by side.
constexpr double kWidth = 3375 + 1500;
// One row taller than the earlier panel: the totals' deviation and the way
// to the look-alike marks (the average stands beside the lowest total).
constexpr double kHeight = 8895 + 420;
constexpr double kMargin = 90;
constexpr int kLowerStart = 75;  // criterion 100 - 75 = 25
constexpr int kUpperStart = 5;   // criterion 100 - 5 = 95

QPushButton *button(const QString &name, const QString &text, const QString &tip, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

EvaluationPanel::EvaluationPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(object_name::evaluation_panel);
    make_floating_panel(this);
    setToolTip(u"ここをドラッグすれば移動できます"_s);

    title_label_ = caption(u"評価選択パネル"_s);
    close_button_ = new QToolButton(this);
    close_button_->setObjectName(object_name::close_button);
    close_button_->setText(u"×"_s);
    close_button_->setAutoRaise(false);

    build_criteria();
    build_candidates();
    build_count_grids();
    build_statistics();

    connect(close_button_, &QToolButton::clicked, this, &EvaluationPanel::close_requested);
    connect(recalc_button_, &QPushButton::clicked, this, &EvaluationPanel::make_candidates);
    connect(decide_button_, &QPushButton::clicked, this, &EvaluationPanel::decide);
    connect(abort_button_, &QPushButton::clicked, this, &EvaluationPanel::abort_evaluation);
    for (QPushButton *b : {recalc_button_, decide_button_, abort_button_})
        connect(b, &QPushButton::clicked, this, &EvaluationPanel::acted);
    // Any new selection chooses: by mouse, by keyboard or by the program.
    connect(candidate_list_, &QListWidget::itemSelectionChanged, this, &EvaluationPanel::choose_candidate);
    geometry::place(this, 0, 0, kWidth, kHeight);
    // Laid out once attached, in the window's fonts by then.
    hide();
}

void EvaluationPanel::build_criteria()
{
    step1_label_ = caption(u"[ステップ1]"_s);
    step1_text_label_ = caption(u"総合点に対する評価基準"_s);
    lower_caption_ = caption(u"２の上限点数"_s);
    lower_ = new CriterionInput(object_name::lower_criterion_label,
                                object_name::lower_criterion_scroll, kLowerStart,
                                lower_caption_->text(), &Sheet::lower_text,
                                &Sheet::set_lower_text, this);
    upper_caption_ = caption(u"10の下限点数"_s);
    upper_ = new CriterionInput(object_name::upper_criterion_label,
                                object_name::upper_criterion_scroll, kUpperStart,
                                upper_caption_->text(), &Sheet::upper_text,
                                &Sheet::set_upper_text, this);
    lower_->pair_with(upper_, true);
    upper_->pair_with(lower_, false);
    for (CriterionInput *criterion : {lower_, upper_}) {
        connect(criterion, &CriterionInput::changed, this, &EvaluationPanel::criterion_changed);
        connect(criterion, &CriterionInput::refused, this, &EvaluationPanel::message_requested);
    }
}

void EvaluationPanel::build_candidates()
{
    step2_label_ = caption(u"[ステップ２]　評価平均を設定"_s);
    candidate_list_ = new QListWidget(this);
    candidate_list_->setObjectName(object_name::candidate_list);
    candidate_list_->setToolTip(u"平均点(候補）から日とる選びクリックしてください。"_s);
    candidate_list_->setSelectionMode(QAbstractItemView::SingleSelection);
    // All 32 candidates at a glance, in columns: one long column showed
    // seven and hid the rest behind a scroll bar.
    candidate_list_->setFlow(QListView::TopToBottom);
    candidate_list_->setWrapping(true);
    candidate_list_->setResizeMode(QListView::Adjust);
    candidate_list_->setUniformItemSizes(true);
    // Room the list keeps for a scroll bar would cost each column a row: with
    // 「10.00」 a sixth column then no longer fitted.
    candidate_list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    candidate_list_->setEnabled(false);
    recalc_button_ = button(object_name::recalculate_button, u"再計算"_s,
                       u"素点などを変更したらこのボタンを押してください。"_s, this);
    decide_button_ =
        button(object_name::decide_button, u"決　定"_s, u"表の評価を決定値とします。"_s, this);
    abort_button_ =
        button(object_name::abort_button, u"中　止"_s, u"計算前に評価をもどします。"_s, this);
}

void EvaluationPanel::build_count_grids()
{
    totals_caption_ = caption(u"【総合点】"_s);
    grades_caption_ = caption(u"【評価/評定】"_s);
    totals_caption_->setAlignment(Qt::AlignCenter);
    grades_caption_->setAlignment(Qt::AlignCenter);
    totals_grid_ = new CountGrid(this);
    totals_grid_->setObjectName(object_name::totals_grid);
    grades_grid_ = new CountGrid(this);
    grades_grid_->setObjectName(object_name::grades_grid);
    totals_grid_->set_text(0, 0, u"階級値"_s);
    totals_grid_->set_text(0, 1, u"度数"_s);
    grades_grid_->set_text(0, 0, u"評価"_s);
    grades_grid_->set_text(0, 1, u"度数"_s);
    for (int i = 1; i <= 10; ++i) {
        const double low = 10 * (i - 1);
        const QString high = i == 10 ? u"100"_s : numbers::plain_form(low + 9);
        totals_grid_->set_text(i, 0, numbers::plain_form(low) + u'-' + high);
        grades_grid_->set_text(i, 0, numbers::plain_form(i));
    }
}

void EvaluationPanel::build_statistics()
{
    highest_caption_ = caption(u"最高点："_s);
    highest_label_ = value_box(object_name::highest_label);
    lowest_caption_ = caption(u"最低点："_s);
    lowest_label_ = value_box(object_name::lowest_label);
    graded_caption_ = caption(u"対象者："_s);
    graded_label_ = value_box(object_name::graded_label);
    average_caption_ = caption(u"平均："_s);
    average_label_ = value_box(object_name::totals_average_label);
    deviation_caption_ = caption(u"標準偏差："_s);
    deviation_label_ = value_box(object_name::totals_deviation_label);
    look_alike_button_ = new QPushButton(this);
    look_alike_button_->setStyleSheet(u"color: #c05800;"_s);
    look_alike_button_->hide();
    look_alike_button_->setObjectName(object_name::look_alike_button);
    look_alike_button_->setAutoDefault(false);
    look_alike_button_->setToolTip(u"全角の数字などで書かれ、総合点に数えられていないセルのうち、"
                                   u"最初のものへ移ります。"_s);
    connect(look_alike_button_, &QPushButton::clicked, this, &EvaluationPanel::look_alike_requested);
}

QLabel *EvaluationPanel::caption(const QString &text)
{
    return new QLabel(text, this);
}

QLabel *EvaluationPanel::value_box(const QString &name)
{
    auto *label = new QLabel(this);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, contrast::background(QColor(255, 255, 255), QPalette::Base));
    label->setPalette(pal);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

void EvaluationPanel::attach(Sheet *sheet, double unit_width)
{
    sheet_ = sheet;
    lower_->attach(sheet);
    upper_->attach(sheet);
    const double col0 = std::round(7 * unit_width);
    const double col1 = std::round(6 * unit_width);
    for (CountGrid *grid : {totals_grid_, grades_grid_}) {
        grid->set_column_width(0, col0);
        grid->set_column_width(1, col1);
    }
    lay_out();
    refresh_criteria();
    connect(sheet_, &Sheet::document_changed, this, &EvaluationPanel::refresh_criteria);
    // What 中止 and いいえ put back stays with its students, through undo
    // and redo too.
    sheet_->set_row_follower(&rows_);
    connect(sheet_, &QObject::destroyed, this, [this] { sheet_ = nullptr; });
    connect(sheet_, &Sheet::cell_changed, this, &EvaluationPanel::schedule_recount);
    connect(sheet_, &Sheet::shape_changed, this, &EvaluationPanel::schedule_recount);
    connect(sheet_, &Sheet::settings_changed, this, &EvaluationPanel::schedule_recount);
}

EvaluationPanel::~EvaluationPanel()
{
    if (sheet_)
        sheet_->set_row_follower(nullptr);
}

QVariant EvaluationPanel::BackupRows::take_rows(int at, int count)
{
    return QVariantList{grades.take_rows(at, count), totals.take_rows(at, count)};
}

void EvaluationPanel::BackupRows::put_rows(int at, int count, const QVariant &kept)
{
    const QVariantList both = kept.toList();
    grades.put_rows(at, count, both.value(0));
    totals.put_rows(at, count, both.value(1));
}

void EvaluationPanel::schedule_recount()
{
    if (isHidden() || recount_pending_)
        return;
    recount_pending_ = true;
    // Once per burst of changes: a paste changes many cells.
    QTimer::singleShot(0, this, [this] {
        // Counted already since the burst: once per action is enough.
        if (std::exchange(recount_pending_, false) && !isHidden() && sheet_)
            recount();
    });
}

void EvaluationPanel::recount()
{
    recount_pending_ = false;
    count_grades();
    const int odd = marks::count_look_alikes(*sheet_);
    look_alike_button_->setText(u"要確認 "_s + QString::number(odd) + u" 件"_s);
    look_alike_button_->setVisible(odd > 0);
}

void EvaluationPanel::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange && sheet_)
        lay_out();
}

void EvaluationPanel::showEvent(QShowEvent *event)
{
    refresh_criteria();
    if (sheet_)
        recount();
    QFrame::showEvent(event);
}

void EvaluationPanel::lay_out()
{
    const QFontMetricsF metrics(font());
    const double text_height = twips::from_px(metrics.height());
    const auto text_width = [&metrics](const QString &text) {
        return twips::from_px(metrics.horizontalAdvance(text)) + 30;
    };
    const double line = std::max(270.0, text_height + 30);
    const double box = line + 60;
    const double inner = kWidth - 2 * kMargin;

    double y = 60;
    geometry::place(title_label_, kMargin, y, inner - 420, box);
    geometry::place(close_button_, kWidth - kMargin - 330, y, 330, box);
    y += box + 90;

    geometry::place(step1_label_, kMargin, y, text_width(step1_label_->text()), line);
    const double beside = kMargin + text_width(step1_label_->text()) + 45;
    geometry::place(step1_text_label_, beside, y, kWidth - kMargin - beside, line);
    y += line + 90;

    // Caption, value and scroll control of each criterion on one row.
    const double scroll_height = std::max(540.0, box + 120);
    const double value_left = kMargin + 90 + text_width(lower_caption_->text());
    const double scroll_left = kWidth - kMargin - 90 - 255;
    const auto criterion_row = [&](QLabel *caption_label, QWidget *value, QScrollBar *scroll) {
        const double middle = y + scroll_height / 2;
        geometry::place(caption_label, kMargin + 90, middle - line / 2, value_left - kMargin - 90, line);
        geometry::place(value, value_left, middle - box / 2, scroll_left - 90 - value_left, box);
        geometry::place(scroll, scroll_left, y, 255, scroll_height);
        y += scroll_height + 60;
    };
    criterion_row(lower_caption_, lower_->box(), lower_->scroll());
    criterion_row(upper_caption_, upper_->box(), upper_->scroll());
    y += 90;

    geometry::place(step2_label_, kMargin, y, inner, line);
    y += line + 60;

    // The list on the left, its three buttons stacked on the right.
    const double list_height = 2040;
    const double buttons_width = 1395;
    const double list_width = kWidth - 2 * (kMargin + 90) - 120 - buttons_width;
    geometry::place(candidate_list_, kMargin + 90, y, list_width, list_height);
    const double buttons_left = kMargin + 90 + list_width + 120;
    const double button_height = 450;
    const double gap = (list_height - 3 * button_height) / 2;
    double by = y;
    for (QPushButton *b : {recalc_button_, decide_button_, abort_button_}) {
        geometry::place(b, buttons_left, by, buttons_width, button_height);
        by += button_height + gap;
    }
    y += list_height + 150;

    // The two count grids side by side, each centred in its half.
    const double half = inner / 2;
    geometry::place(totals_caption_, kMargin, y, half, line);
    geometry::place(grades_caption_, kMargin + half, y, half, line);
    y += line + 30;
    const double row_height = std::max(240.0, text_height + 15);
    for (CountGrid *grid : {totals_grid_, grades_grid_})
        grid->set_row_height(row_height);
    const double grid_height = geometry::height(totals_grid_);
    geometry::move(totals_grid_, kMargin + (half - geometry::width(totals_grid_)) / 2, y);
    geometry::move(grades_grid_, kMargin + half + (half - geometry::width(grades_grid_)) / 2, y);
    y += grid_height + 90;

    const double value_width = 780;
    const auto summary = [&](QLabel *caption_label, QLabel *value, double left, double top) {
        const double w = text_width(caption_label->text());
        geometry::place(caption_label, left, top + (box - line) / 2, w, line);
        geometry::place(value, left + w, top, value_width, box);
    };
    summary(highest_caption_, highest_label_, kMargin + 90, y);
    summary(graded_caption_, graded_label_, kMargin + half + 90, y);
    summary(lowest_caption_, lowest_label_, kMargin + 90, y + box + 45);
    summary(average_caption_, average_label_, kMargin + half + 90, y + box + 45);
    summary(deviation_caption_, deviation_label_, kMargin + 90, y + 2 * (box + 45));
    const double after = geometry::left(deviation_label_) + geometry::width(deviation_label_) + 90;
    geometry::place(look_alike_button_, after, y + 2 * (box + 45), kWidth - kMargin - after, box);
}

QString EvaluationPanel::criteria_refusal() const
{
    return lower_->order_refusal(lower_->sheet_text());
}

void EvaluationPanel::refresh_criteria()
{
    if (!sheet_)
        return;
    lower_->refresh();
    upper_->refresh();
}

void EvaluationPanel::show_statistics(const scoring::TotalStatistics &stats)
{
    highest_label_->setText(numbers::plain_form(stats.highest));
    lowest_label_->setText(numbers::plain_form(stats.lowest));
    if (sheet_) {
        const marks::Statistics totals = marks::column_statistics(*sheet_, sheet_->total_col());
        average_label_->setText(totals.count ? numbers::two_decimals(totals.average) : QString());
        deviation_label_->setText(totals.count ? numbers::two_decimals(totals.deviation) : QString());
        // A hidden panel counts as it is shown.
        if (!isHidden())
            recount();
    }
    for (int i = 1; i <= 10; ++i)
        totals_grid_->set_text(i, 1, numbers::plain_form(stats.classes[size_t(i - 1)]));
}

void EvaluationPanel::make_candidates()
{
    // Clearing the list is no choice of the teacher's: the sheet keeps its
    // candidate, and the rebuilt list shows it chosen again.
    {
        const QSignalBlocker quiet(candidate_list_);
        candidate_list_->clear();
    }
    candidate_list_->setEnabled(false);
    if (!sheet_)
        return;
    const QStringList entries = grading::make_candidates(*sheet_);
    if (entries.isEmpty())
        return;
    candidate_list_->addItems(entries);
    candidate_list_->setEnabled(true);
    choose_entry(sheet_->candidate_index());
}

void EvaluationPanel::count_grades()
{
    if (!sheet_)
        return;
    const grading::GradeCounts counts = grading::count_grades(*sheet_);
    for (int i = 1; i <= 10; ++i)
        grades_grid_->set_text(i, 1, numbers::plain_form(counts.counts[size_t(i)]));
    graded_label_->setText(counts.graded_text());
}

int EvaluationPanel::selected_entry() const
{
    const QModelIndexList rows = candidate_list_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void EvaluationPanel::choose_entry(int k)
{
    if (k < 0 || k >= candidate_list_->count())
        return;
    if (selected_entry() == k)
        choose_candidate();
    else
        candidate_list_->setCurrentRow(k, QItemSelectionModel::ClearAndSelect);
}

void EvaluationPanel::save_grades()
{
    if (!sheet_)
        return;
    rows_.grades.save(*sheet_);
    rows_.totals.save(*sheet_);
    saved_candidate_ = sheet_->candidate_index();
    saved_criteria_ = {sheet_->lower_text(), sheet_->upper_text()};
}

void EvaluationPanel::note_evaluated()
{
    if (sheet_)
        rows_.totals.note_result(*sheet_);
}

void EvaluationPanel::restore_grades()
{
    if (!sheet_)
        return;
    rows_.totals.restore(*sheet_);
    rows_.grades.restore(*sheet_);
    sheet_->set_candidate_index(saved_candidate_);
    sheet_->set_lower_text(saved_criteria_.first);
    sheet_->set_upper_text(saved_criteria_.second);
    recount();
}

void EvaluationPanel::choose_candidate()
{
    const int k = selected_entry();
    // A selection cleared by a rebuild chooses nothing.
    if (k < 0 || !sheet_)
        return;
    sheet_->set_candidate_index(k);
    grading::write_grades(*sheet_, k);
    count_grades();
    // Where the list cannot show them all, the chosen one stays in view.
    candidate_list_->scrollToItem(candidate_list_->item(k));
}

// The list follows the criteria; a candidate chosen stays chosen.
void EvaluationPanel::criterion_changed()
{
    // The rebuilt list grades the chosen candidate anew with the new criterion.
    make_candidates();
}

void EvaluationPanel::decide()
{
    if (candidate_list_->count() == 0)
        make_candidates();
    hide();
}

void EvaluationPanel::abort_evaluation()
{
    if (!sheet_)
        return;
    // Everything the evaluation changed goes back, not the grades alone: a
    // total beside a grade it did not give would contradict it.
    restore_grades();
    hide();
}

#include "viewpoint/viewpointpanel.h"

#include "common/objectnames.h"
#include "common/panelstyle.h"
#include "sheet.h"
#include "viewpoint/viewpointsettingspage.h"
#include "viewpoint/viewpointtables.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

using namespace viewpoint_tables;

ViewpointPanel::ViewpointPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(object_name::viewpoint_panel);
    setAccessibleName(u"観点別評価パネル"_s);
    make_floating_panel(this);
    hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    // The buttons stand at the top: a sheet window taller than the screen
    // shows the panel's top first.
    auto *top = new QHBoxLayout;
    auto *heading = new QLabel(u"観点別評価"_s, this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    top->addWidget(heading);
    check_count_ = new QLabel(this);
    check_count_->setStyleSheet(u"color: #c05800;"_s);
    top->addWidget(check_count_, 1, Qt::AlignCenter);
    decide_ = new QPushButton(u"決　定"_s, this);
    decide_->setObjectName(object_name::viewpoint_decide_button);
    decide_->setAccessibleName(u"決定"_s);
    decide_->setToolTip(u"表の評価と評定、基準と換算表をシートに書き込みます。"_s);
    decide_->setAutoDefault(false);
    abort_ = new QPushButton(u"中　止"_s, this);
    abort_->setObjectName(object_name::viewpoint_abort_button);
    abort_->setAccessibleName(u"中止"_s);
    abort_->setToolTip(u"シートを変えずに閉じます。"_s);
    abort_->setAutoDefault(false);
    top->addWidget(decide_);
    top->addWidget(abort_);
    layout->addLayout(top);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(object_name::viewpoint_pages);
    pages_->setAccessibleName(u"観点別評価のページ"_s);
    auto *results_page = new QWidget;
    settings_page_ = new ViewpointSettingsPage;
    connect(settings_page_, &ViewpointSettingsPage::changed, this, [this] {
        settings_ = settings_page_->settings();
        recompute();
    });
    auto *list_page = new QWidget;
    build_results_page(results_page);
    build_list_page(list_page);
    pages_->addTab(results_page, u"結果(&R)"_s);
    pages_->addTab(settings_page_, u"基準と換算表(&S)"_s);
    pages_->addTab(list_page, u"手入力と要確認(&T)"_s);
    // A screen reader names the page it is in by these.
    results_page->setAccessibleName(u"結果"_s);
    settings_page_->setAccessibleName(u"基準と換算表"_s);
    list_page->setAccessibleName(u"手入力と要確認"_s);
    layout->addWidget(pages_, 1);
    connect(decide_, &QPushButton::clicked, this, &ViewpointPanel::decide_requested);
    connect(abort_, &QPushButton::clicked, this, &ViewpointPanel::abort_requested);
}

void ViewpointPanel::build_results_page(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    results_ = make_table(page, object_name::viewpoint_results, u"生徒ごとの観点別評価"_s);
    results_->setToolTip(u"評価や評定のセルに書き込むと手入力になります。"
                         u"空にすると手入力が外れ、計算の値に戻ります。"_s);
    results_->verticalHeader()->hide();
    results_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    connect(results_, &QTableWidget::itemChanged, this, &ViewpointPanel::result_edited);
    layout->addWidget(results_, 1);

    auto *counts = new QHBoxLayout;
    viewpoint_counts_ = make_table(page, object_name::viewpoint_counts, u"観点ごとのABCの人数"_s);
    viewpoint_counts_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grade_counts_ = make_table(page, object_name::grade_counts, u"評定ごとの人数"_s);
    grade_counts_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (QTableWidget *table : {viewpoint_counts_, grade_counts_}) {
        table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    }
    grade_average_ = new QLabel(page);
    auto *grade_side = new QVBoxLayout;
    grade_side->addWidget(grade_counts_, 1);
    grade_side->addWidget(grade_average_);
    counts->addWidget(viewpoint_counts_, 3);
    counts->addLayout(grade_side, 2);
    layout->addLayout(counts);
}

void ViewpointPanel::build_list_page(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    auto *hand_caption = new QLabel(u"手入力の値（再計算でも変わりません）(&H)"_s, page);
    hand_set_ = new QListWidget(page);
    hand_set_->setObjectName(object_name::hand_set_list);
    hand_set_->setAccessibleName(u"手入力の値"_s);
    hand_caption->setBuddy(hand_set_);
    clear_mark_ = new QPushButton(u"選んだ手入力を外す(&X)"_s, page);
    clear_mark_->setAccessibleName(u"選んだ手入力を外す"_s);
    clear_mark_->setAutoDefault(false);
    connect(clear_mark_, &QPushButton::clicked, this, &ViewpointPanel::clear_selected_mark);
    auto *check_caption = new QLabel(u"要確認（記録の前に見直してください）(&K)"_s, page);
    checks_ = new QListWidget(page);
    checks_->setObjectName(object_name::check_list);
    checks_->setAccessibleName(u"要確認"_s);
    check_caption->setBuddy(checks_);
    layout->addWidget(hand_caption);
    layout->addWidget(hand_set_, 1);
    layout->addWidget(clear_mark_, 0, Qt::AlignLeft);
    layout->addWidget(check_caption);
    layout->addWidget(checks_, 1);
}

void ViewpointPanel::attach(Sheet *sheet)
{
    sheet_ = sheet;
    // Marks typed while the panel is open count at once; many changes in one
    // go (a paste, a file read) bring one recomputation.
    auto *later = new QTimer(this);
    later->setSingleShot(true);
    connect(later, &QTimer::timeout, this, [this] {
        if (isVisible())
            recompute();
    });
    auto changed = [later] { later->start(0); };
    connect(sheet_, &Sheet::cell_changed, this, changed);
    connect(sheet_, &Sheet::settings_changed, this, changed);
    connect(sheet_, &Sheet::shape_changed, this, changed);
}

void ViewpointPanel::start()
{
    Q_ASSERT(sheet_);
    settings_ = sheet_->viewpoint_settings();
    corrections_.clear();
    settings_page_->set_settings(settings_);
    recompute();
}

void ViewpointPanel::recompute()
{
    result_ = viewpoints::compute(*sheet_, settings_, corrections_);
    show_results();
    show_counts();
    show_lists();
}

void ViewpointPanel::show_results()
{
    const QSignalBlocker block(results_);
    showing_ = true;
    const int count = int(settings_.viewpoints.size());
    QStringList headers{u"NO"_s, u"氏名"_s};
    for (const Viewpoint &viewpoint : settings_.viewpoints)
        headers << viewpoint.short_name + u"（％）"_s << viewpoint.short_name;
    headers << viewpoints::grade_title() << u"要確認"_s;
    results_->setColumnCount(int(headers.size()));
    results_->setHorizontalHeaderLabels(headers);

    // Students only: rows with a name or a mark.
    shown_students_.clear();
    for (int i = 0; i < result_.students.size(); ++i) {
        const viewpoints::Student &student = result_.students[i];
        if (student.has_mark || !sheet_->text(student.row, 4).trimmed().isEmpty() ||
            !student.grade.value.isEmpty())
            shown_students_ << i;
    }
    results_->setRowCount(int(shown_students_.size()));
    auto value_item = [](const viewpoints::Item &value) {
        QTableWidgetItem *item = editable_item(value.value);
        if (value.hand_set) {
            item->setBackground(kHandSet);
            item->setToolTip(value.differs() ? u"手入力（再計算では "_s + value.computed + u"）"_s
                                             : u"手入力"_s);
        }
        return item;
    };
    for (int r = 0; r < shown_students_.size(); ++r) {
        const viewpoints::Student &student = result_.students[shown_students_[r]];
        results_->setItem(r, 0, fixed_item(sheet_->text(student.row, 3).trimmed(), Qt::AlignRight | Qt::AlignVCenter));
        results_->setItem(r, 1, fixed_item(sheet_->text(student.row, 4), Qt::AlignLeft | Qt::AlignVCenter));
        for (int v = 0; v < count; ++v) {
            const double rate = v < student.rates.size() ? student.rates[v] : -1;
            results_->setItem(r, 2 + 2 * v,
                              fixed_item(viewpoints::rate_text(rate),
                                         Qt::AlignRight | Qt::AlignVCenter));
            if (v < student.letters.size())
                results_->setItem(r, 3 + 2 * v, value_item(student.letters[v]));
        }
        results_->setItem(r, 2 + 2 * count, value_item(student.grade));
        QStringList notes = student.checks + viewpoints::recomputation_notes(result_, student);
        QTableWidgetItem *note = fixed_item(notes.join(u"　"_s), Qt::AlignLeft | Qt::AlignVCenter);
        if (!student.checks.isEmpty())
            note->setBackground(kChecked);
        note->setToolTip(notes.join(u'\n'));
        results_->setItem(r, 3 + 2 * count, note);
    }
    results_->resizeColumnsToContents();
    showing_ = false;
}

void ViewpointPanel::show_counts()
{
    const viewpoints::Distribution counts = viewpoints::distribution(result_);
    const int count = int(settings_.viewpoints.size());
    viewpoint_counts_->clear();
    viewpoint_counts_->setColumnCount(3);
    viewpoint_counts_->setHorizontalHeaderLabels({u"A"_s, u"B"_s, u"C"_s});
    viewpoint_counts_->setRowCount(count);
    QStringList names;
    for (int v = 0; v < count; ++v) {
        names << settings_.viewpoints[v].short_name;
        for (int l = 0; l < 3; ++l)
            viewpoint_counts_->setItem(
                v, l, fixed_item(v < counts.letters.size() ? QString::number(counts.letters[v][l]) : QString()));
    }
    viewpoint_counts_->setVerticalHeaderLabels(names);
    grade_counts_->clear();
    grade_counts_->setColumnCount(5);
    grade_counts_->setHorizontalHeaderLabels({u"5"_s, u"4"_s, u"3"_s, u"2"_s, u"1"_s});
    grade_counts_->setRowCount(1);
    grade_counts_->setVerticalHeaderLabels({viewpoints::grade_title()});
    for (int g = 5; g >= 1; --g)
        grade_counts_->setItem(0, 5 - g, fixed_item(QString::number(counts.grades[g - 1])));
    grade_average_->setText(counts.graded > 0 ? u"評定の平均 "_s + QString::number(counts.grade_average, 'f', 2) +
                                                    u"（"_s + QString::number(counts.graded) + u"人）"_s
                                              : u"評定はまだありません"_s);
    // The count tables show all their rows without a scroll bar.
    for (QTableWidget *table : {viewpoint_counts_, grade_counts_}) {
        const int rows = table->rowCount();
        table->setFixedHeight(table->horizontalHeader()->height() + rows * table->verticalHeader()->defaultSectionSize() +
                              2 * table->frameWidth());
    }
}

void ViewpointPanel::show_lists()
{
    hand_set_->clear();
    hand_set_items_.clear();
    checks_->clear();
    const int count = int(settings_.viewpoints.size());
    for (const viewpoints::Student &student : result_.students) {
        const QString who = sheet_->text(student.row, 3).trimmed() + u" "_s + sheet_->text(student.row, 4).trimmed();
        for (int item = 0; item <= count; ++item) {
            const viewpoints::Item &value = item < count ? student.letters.value(item) : student.grade;
            if (!value.hand_set)
                continue;
            const QString what = item < count ? settings_.viewpoints[item].short_name : viewpoints::grade_title();
            QString line = who + u"　"_s + what + u"：手入力 "_s + (value.value.isEmpty() ? u"（空）"_s : value.value);
            if (value.differs())
                line += u"（再計算では "_s + (value.computed.isEmpty() ? u"なし"_s : value.computed) + u"）"_s;
            hand_set_->addItem(line);
            hand_set_items_ << QPoint(item, student.row);
        }
        for (const QString &reason : student.checks)
            checks_->addItem(who + u"　"_s + reason);
    }
    clear_mark_->setEnabled(!hand_set_items_.isEmpty());
    const int checked = result_.checked_count();
    check_count_->setText(checked > 0 ? u"要確認 "_s + QString::number(checked) + u" 人"_s : QString());
}

void ViewpointPanel::correct(int row, int item, const QString &value)
{
    for (viewpoints::Correction &c : corrections_) {
        if (c.row == row && c.item == item) {
            c.value = value;
            recompute();
            return;
        }
    }
    corrections_.append({row, item, value});
    recompute();
}

void ViewpointPanel::result_edited(QTableWidgetItem *item)
{
    if (showing_)
        return;
    const int count = int(settings_.viewpoints.size());
    const int r = item->row();
    const int which = item->column() == 2 + 2 * count ? count : (item->column() - 3) / 2;
    Q_ASSERT(r >= 0 && r < shown_students_.size());
    const int row = result_.students[shown_students_[r]].row;
    // Full-width and lower-case letters are what a Japanese keyboard gives.
    QString value = item->text().trimmed().normalized(QString::NormalizationForm_KC).toUpper();
    const bool valid = value.isEmpty() ||
                       (which < count ? QStringList{u"A"_s, u"B"_s, u"C"_s}.contains(value)
                                      : QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}.contains(value));
    // Anything else is not a value a record system takes: the old one stays.
    QTimer::singleShot(0, this, [this, row, which, value, valid] {
        if (valid)
            correct(row, which, value);
        else
            show_results();
    });
}

void ViewpointPanel::clear_selected_mark()
{
    const int index = hand_set_->currentRow();
    if (index < 0 || index >= hand_set_items_.size())
        return;
    correct(hand_set_items_[index].y(), hand_set_items_[index].x(), QString());
}


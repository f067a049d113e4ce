#include "viewpoint/viewpointsettingspage.h"

#include "common/objectnames.h"
#include "viewpoint/viewpointtables.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace viewpoint_tables;

ViewpointSettingsPage::ViewpointSettingsPage(QWidget *parent) : QWidget(parent)
{
    QWidget *page = this;
    auto *layout = new QHBoxLayout(page);
    auto *left = new QFormLayout;
    threshold_a_ = new QDoubleSpinBox(page);
    threshold_a_->setObjectName(object_name::threshold_a_box);
    threshold_a_->setAccessibleName(u"Aの下限（％）"_s);
    threshold_b_ = new QDoubleSpinBox(page);
    threshold_b_->setObjectName(object_name::threshold_b_box);
    threshold_b_->setAccessibleName(u"Bの下限（％）"_s);
    for (QDoubleSpinBox *box : {threshold_a_, threshold_b_}) {
        box->setRange(0, 100);
        box->setDecimals(1);
        box->setSuffix(u" %"_s);
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] {
            settings_.threshold_a = threshold_a_->value();
            settings_.threshold_b = threshold_b_->value();
            emit changed();
        });
    }
    left->addRow(u"Ａ：達成率がこれ以上(&A)"_s, threshold_a_);
    left->addRow(u"Ｂ：達成率がこれ以上(&B)"_s, threshold_b_);
    method_ = new QComboBox(page);
    method_->setObjectName(object_name::method_choice);
    method_->setAccessibleName(u"評定の出し方"_s);
    method_->addItem(u"ABCの点（A3 B2 C1）の合計から"_s);
    method_->addItem(u"達成率の平均から"_s);
    connect(method_, &QComboBox::currentIndexChanged, this, [this](int index) {
        settings_.method = index == 0 ? ViewpointSettings::Method::Points : ViewpointSettings::Method::Rates;
        show_settings();
        emit changed();
    });
    left->addRow(u"評定の出し方(&M)"_s, method_);
    conversion_ = make_table(page, object_name::conversion_table, u"評定の換算表"_s);
    conversion_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    conversion_->verticalHeader()->hide();
    connect(conversion_, &QTableWidget::itemChanged, this, &ViewpointSettingsPage::conversion_edited);
    left->addRow(u"換算表(&V)"_s, conversion_);
    layout->addLayout(left, 3);

    auto *right = new QVBoxLayout;
    auto *names_caption = new QLabel(u"観点の名前（五つまで、空の行は使いません）(&N)"_s, page);
    names_caption->setWordWrap(true);
    names_ = make_table(page, object_name::viewpoint_names, u"観点の名前と略称"_s);
    names_->setColumnCount(2);
    names_->setHorizontalHeaderLabels({u"名前"_s, u"略称"_s});
    names_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    names_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    names_caption->setBuddy(names_);
    connect(names_, &QTableWidget::itemChanged, this, &ViewpointSettingsPage::name_edited);
    right->addWidget(names_caption);
    right->addWidget(names_, 1);
    layout->addLayout(right, 2);
}

void ViewpointSettingsPage::show_settings()
{
    const QSignalBlocker block_a(threshold_a_), block_b(threshold_b_), block_m(method_),
        block_c(conversion_), block_n(names_);
    threshold_a_->setValue(settings_.threshold_a);
    threshold_b_->setValue(settings_.threshold_b);
    const bool points = settings_.method == ViewpointSettings::Method::Points;
    method_->setCurrentIndex(points ? 0 : 1);

    // Points: the highest sum first, as teachers write the table.
    conversion_->clear();
    conversion_->setColumnCount(2);
    if (points) {
        conversion_->setHorizontalHeaderLabels({u"ABCの点の合計"_s, u"評定"_s});
        const int sums = int(settings_.points_table.size());
        conversion_->setRowCount(sums);
        const int lowest = int(settings_.viewpoints.size());
        for (int i = 0; i < sums; ++i) {
            const int index = sums - 1 - i;
            conversion_->setItem(i, 0, fixed_item(QString::number(lowest + index)));
            conversion_->setItem(i, 1, editable_item(QString::number(settings_.points_table[index])));
        }
    } else {
        conversion_->setHorizontalHeaderLabels({u"評定"_s, u"平均の達成率（％）がこれ以上"_s});
        const int bounds = int(settings_.rate_bounds.size());
        conversion_->setRowCount(bounds + 1);
        for (int i = 0; i < bounds; ++i) {
            conversion_->setItem(i, 0, fixed_item(QString::number(5 - i)));
            conversion_->setItem(i, 1, editable_item(QString::number(settings_.rate_bounds[i])));
        }
        conversion_->setItem(bounds, 0, fixed_item(u"1"_s));
        conversion_->setItem(bounds, 1, fixed_item(u"それ未満"_s));
    }

    names_->setRowCount(ViewpointSettings::kMaxViewpoints);
    for (int i = 0; i < ViewpointSettings::kMaxViewpoints; ++i) {
        const bool used = i < settings_.viewpoints.size();
        names_->setItem(i, 0, editable_item(used ? settings_.viewpoints[i].name : QString()));
        names_->setItem(i, 1, editable_item(used ? settings_.viewpoints[i].short_name : QString()));
    }
}

void ViewpointSettingsPage::conversion_edited(QTableWidgetItem *item)
{
    if (item->column() != 1)
        return;
    const int i = item->row();
    bool ok = false;
    if (settings_.method == ViewpointSettings::Method::Points) {
        const int grade = item->text().trimmed().toInt(&ok);
        ok = ok && grade >= 1 && grade <= 5;
        if (ok)
            settings_.points_table[settings_.points_table.size() - 1 - i] = grade;
    } else {
        const double bound = item->text().trimmed().toDouble(&ok);
        ok = ok && bound >= 0 && bound <= 100;
        if (ok)
            settings_.rate_bounds[i] = bound;
    }
    QTimer::singleShot(0, this, [this, ok] {
        if (!ok)
            show_settings();
        emit changed();
    });
}

void ViewpointSettingsPage::name_edited(QTableWidgetItem *)
{
    // The viewpoints are the rows down to the last one named; a gap would
    // renumber the columns' viewpoints after it, so it is not taken.
    QList<Viewpoint> named;
    int last = -1;
    for (int i = 0; i < names_->rowCount(); ++i)
        if (!names_->item(i, 0)->text().trimmed().isEmpty())
            last = i;
    bool gap = false;
    for (int i = 0; i <= last; ++i) {
        const QString name = names_->item(i, 0)->text().trimmed();
        QString short_name = names_->item(i, 1)->text().trimmed();
        gap = gap || name.isEmpty();
        if (short_name.isEmpty())
            short_name = name.left(1);
        named.append({name, short_name});
    }
    if (!gap && !named.isEmpty()) {
        if (named.size() != settings_.viewpoints.size())
            settings_.points_table = ViewpointSettings::default_points_table(int(named.size()));
        settings_.viewpoints = named;
    }
    QTimer::singleShot(0, this, [this] {
        show_settings();
        emit changed();
    });
}

void ViewpointSettingsPage::set_settings(const ViewpointSettings &settings)
{
    settings_ = settings;
    show_settings();
}

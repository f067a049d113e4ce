#include "print/printsettingswindow.h"

#include "common/accessiblenames.h"
#include "common/objectnames.h"
#include "common/prompter.h"
#include "print/printersettings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

PrintSettingsWindow::PrintSettingsWindow(PrinterSettings &settings, Prompter &prompter,
                                         QWidget *parent)
    : QDialog(parent), settings_(settings), prompter_(prompter)
{
    setObjectName(object_name::print_settings_window);
    setWindowTitle(u"印刷設定"_s);
    setModal(false);

    auto *printer_caption = new QLabel(u"プリンタ名"_s, this);
    printer_caption->setObjectName(object_name::printer_caption);
    printer_label_ = new QLabel(this);
    printer_label_->setObjectName(object_name::printer_label);
    auto *paper_caption = new QLabel(u"用      紙"_s, this);
    paper_caption->setObjectName(object_name::paper_caption);
    paper_list_ = new QComboBox(this);
    paper_list_->setObjectName(object_name::paper_list);
    auto *orientation_caption = new QLabel(u"用紙方向"_s, this);
    orientation_caption->setObjectName(object_name::orientation_caption);
    portrait_ = new QRadioButton(u"縦"_s, this);
    portrait_->setObjectName(object_name::portrait_option);
    landscape_ = new QRadioButton(u"横"_s, this);
    landscape_->setObjectName(object_name::landscape_option);
    fit_width_ = new QCheckBox(u"用紙の幅に合わせる"_s, this);
    fit_width_->setObjectName(object_name::fit_width_box);
    auto *ok = new QPushButton(u"O K"_s, this);
    ok->setObjectName(object_name::print_settings_ok_button);
    ok->setDefault(true);
    auto *cancel = new QPushButton(u"キャンセル"_s, this);
    cancel->setObjectName(object_name::print_settings_cancel_button);

    auto *grid = new QGridLayout(this);
    grid->addWidget(printer_caption, 0, 0);
    grid->addWidget(printer_label_, 0, 1, 1, 2);
    grid->addWidget(paper_caption, 1, 0);
    grid->addWidget(paper_list_, 1, 1, 1, 2);
    grid->addWidget(orientation_caption, 2, 0);
    grid->addWidget(portrait_, 2, 1);
    grid->addWidget(landscape_, 2, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addWidget(fit_width_, 3, 1, 1, 2);
    grid->addLayout(buttons, 4, 0, 1, 3);

    connect(paper_list_, &QComboBox::currentIndexChanged, this, &PrintSettingsWindow::choose_paper);
    connect(portrait_, &QRadioButton::clicked, this, [this] { choose_orientation(0); });
    connect(landscape_, &QRadioButton::clicked, this, [this] { choose_orientation(1); });
    connect(fit_width_, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_)
            settings_.set_fit_width(on);
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
    connect(cancel, &QPushButton::clicked, this, &PrintSettingsWindow::cancel);
    accessible_names::name_controls(this);
}

void PrintSettingsWindow::open_settings()
{
    // Opened again before O K or キャンセル: what was in force before the
    // first opening is still what キャンセル gives back.
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    saved_paper_ = settings_.page_size();
    saved_orientation_ = settings_.orientation();
    saved_fit_width_ = settings_.fit_width();
    printer_label_->setText(settings_.printer_name());
    filling_ = true;
    paper_list_->clear();
    papers_ = settings_.papers();
    int current = -1;
    for (qsizetype i = 0; i < papers_.size(); ++i) {
        paper_list_->addItem(PrinterSettings::paper_name(papers_[i]));
        if (papers_[i].isEquivalentTo(saved_paper_))
            current = int(i);
    }
    paper_list_->setCurrentIndex(current);
    fit_width_->setChecked(saved_fit_width_);
    filling_ = false;
    (saved_orientation_ == QPageLayout::Landscape ? landscape_ : portrait_)->setChecked(true);
    show();
    raise();
    activateWindow();
}

void PrintSettingsWindow::choose_paper(int index)
{
    if (filling_ || index < 0 || index >= papers_.size())
        return;
    QPrinter probe;
    if (!probe.setPageSize(papers_[index])) {
        prompter_.message(this, u"この用紙の設定はできませんでした。"_s);
        return;
    }
    settings_.set_page_size(papers_[index]);
}

void PrintSettingsWindow::choose_orientation(int index)
{
    settings_.set_orientation(index == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void PrintSettingsWindow::restore_printer()
{
    settings_.set_page_size(saved_paper_);
    settings_.set_orientation(saved_orientation_);
    settings_.set_fit_width(saved_fit_width_);
}

void PrintSettingsWindow::cancel()
{
    restore_printer();
    hide();
}

void PrintSettingsWindow::reject()
{
    cancel();
}

void PrintSettingsWindow::closeEvent(QCloseEvent *event)
{
    // Closed through its frame: what was in force before stays.
    restore_printer();
    QDialog::closeEvent(event);
}

#include "report/reportwindow.h"

#include "common/accessiblenames.h"
#include "common/objectnames.h"
#include "common/prompter.h"
#include "print/pagefooter.h"
#include "print/printersettings.h"
#include "print/reportpages.h"
#include "sheet/filecommands.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr double kScreenDpi = 80;

QPushButton *button(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

ReportWindow::ReportWindow(Prompter &prompter, PrinterSettings &printer_settings,
                           const QList<gradereport::ClassResult> &open_sheets, QWidget *parent)
    : QDialog(parent), prompter_(prompter), printer_settings_(printer_settings)
{
    setObjectName(object_name::report_window);
    setWindowTitle(u"成績一覧表"_s);
    setAttribute(Qt::WA_DeleteOnClose);

    sources_ = new QListWidget(this);
    sources_->setObjectName(object_name::report_sources);
    // Why a file cannot be read is said in full.
    sources_->setWordWrap(true);
    auto *add = button(u"ファイルを追加(&A)…"_s, object_name::report_add_button, this);
    auto *print_button = button(u"印刷(&P)…"_s, object_name::report_print_button, this);
    auto *pdf = button(u"PDF に保存(&S)…"_s, object_name::report_pdf_button, this);
    auto *close_button = button(u"閉じる(&C)"_s, object_name::report_close_button, this);

    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(u"一覧にするシート:"_s, this));
    left->addWidget(sources_, 1);
    left->addWidget(add);

    auto *scroll = new QScrollArea(this);
    pages_ = new QWidget;
    pages_layout_ = new QVBoxLayout(pages_);
    scroll->setWidget(pages_);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Dark);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(print_button);
    buttons->addWidget(pdf);
    buttons->addWidget(close_button);

    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(scroll, 4);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top, 1);
    outer->addLayout(buttons);
    resize(1280, 760);

    for (const gradereport::ClassResult &c : open_sheets)
        add_class(c);
    connect(sources_, &QListWidget::itemChanged, this, &ReportWindow::refresh);
    connect(add, &QPushButton::clicked, this, &ReportWindow::add_files);
    connect(print_button, &QPushButton::clicked, this, &ReportWindow::print);
    connect(pdf, &QPushButton::clicked, this, &ReportWindow::save_pdf);
    connect(close_button, &QPushButton::clicked, this, &QDialog::close);
    refresh();
}

void ReportWindow::add_class(const gradereport::ClassResult &result)
{
    QString text = result.name;
    if (!result.readable())
        text += u'（' + result.left_out_note() + u'）';
    auto *item = new QListWidgetItem(text);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    item->setToolTip(text);
    classes_.append(result);
    const QSignalBlocker quiet(sources_);
    sources_->addItem(item);
}

void ReportWindow::add_files()
{
    const std::optional<QStringList> files = prompter_.open_files(this, FileCommands::file_filters());
    if (!files)
        return;
    // The open sheet added again as its file would count its class twice.
    QStringList listed;
    for (const QString &file : *files) {
        const QString real = gradereport::real_path(file);
        if (std::any_of(classes_.cbegin(), classes_.cend(),
                        [&real](const gradereport::ClassResult &c) { return c.file == real; }))
            listed.append(file);
        else
            add_class(gradereport::of_file(file));
    }
    refresh();
    if (!listed.isEmpty())
        prompter_.message(this, u"次のファイルはすでに一覧にあるので、加えませんでした。\r\n"_s +
                                    listed.join(u"\r\n"_s));
}

gradereport::Report ReportWindow::report() const
{
    QList<gradereport::ClassResult> ticked;
    for (int i = 0; i < sources_->count(); ++i)
        if (sources_->item(i)->checkState() == Qt::Checked)
            ticked.append(classes_[i]);
    return gradereport::combine(std::move(ticked));
}

void ReportWindow::refresh()
{
    while (QLayoutItem *item = pages_layout_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const QImage &image : reportpages::page_images(report(), kScreenDpi)) {
        auto *page = new QLabel(pages_);
        page->setPixmap(QPixmap::fromImage(image));
        page->setObjectName(object_name::report_page);
        pages_layout_->addWidget(page, 0, Qt::AlignHCenter);
    }
    pages_layout_->addStretch(1);
    accessible_names::name_controls(this);
}

void ReportWindow::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer_settings_.apply_to(printer);
    printer.setPageOrientation(QPageLayout::Landscape);
    pagefooter::make_room(printer);
    if (printer_settings_.to_pdf()) {
        const std::optional<QString> path =
            prompter_.save_file(this, {u"PDF (*.pdf)"_s}, u"成績一覧表.pdf"_s);
        if (!path)
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(*path);
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        prompter_.message(this, u"印刷を始められませんでした。"_s);
        return;
    }
    const QString printed = reportpages::paint(report(), printer, painter);
    painter.end();
    if (printer_settings_.to_pdf() && !reportpages::correct_pdf_text(printer.outputFileName(), printed))
        prompter_.message(this, u"PDF の文字の情報を直せませんでした。印刷された文字の検索やコピーが正しくできないことがあります。"_s);
}

void ReportWindow::save_pdf()
{
    const std::optional<QString> path =
        prompter_.save_file(this, {u"PDF (*.pdf)"_s}, u"成績一覧表.pdf"_s);
    if (!path)
        return;
    if (QFileInfo::exists(*path) &&
        prompter_.ask(this, *path + u" はすでに存在します。上書きしますか？"_s,
                      Prompter::Buttons::YesNo, u"確認"_s) != Prompter::Answer::Yes)
        return;
    if (const QString why = reportpages::write_pdf(report(), *path); !why.isEmpty())
        prompter_.message(this, *path + u" に保存できませんでした。\r\n"_s + why);
}

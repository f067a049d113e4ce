#include "print/printcommands.h"

#include "common/fonts.h"
#include "common/prompter.h"
#include "common/sheethost.h"
#include "common/twips.h"
#include "pagination.h"
#include "print/gridmeasures.h"
#include "print/pagefooter.h"
#include "print/paintersurface.h"
#include "print/pdftextmap.h"
#include "print/previewwindow.h"
#include "print/printersettings.h"
#include "sheet.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// The range to print: the selection, without the title row (each page has
// the headings already) and without the empty rows at its end; one selected
// cell stands for the whole sheet.
struct Range {
    int c1, c2, r1, r2;
};

enum class Refusal { None, TitleOnly, Empty };

Refusal print_range_of(const Sheet &sheet, Range &range)
{
    range = {sheet.left_selected_col(), sheet.right_selected_col(), sheet.top_selected_row(),
             sheet.bottom_selected_row()};
    if (range.c1 == range.c2 && range.r1 == range.r2)
        range = {1, sheet.cols() - 1, 1, sheet.rows() - 1};
    if (range.r2 < 1)
        return Refusal::TitleOnly;
    range.c1 = qMax(range.c1, 1);
    range.r1 = qMax(range.r1, 1);
    if (range.c1 > range.c2)
        return Refusal::Empty;
    range.r2 = pagination::last_filled_row(sheet, range.c1, range.c2, range.r1, range.r2);
    return range.r2 < range.r1 ? Refusal::Empty : Refusal::None;
}

}  // namespace

PrintCommands::PrintCommands(QWidget *window, Sheet *sheet, const GridMeasures *measures,
                             SheetHost &host)
    : QObject(window), window_(window), sheet_(sheet), measures_(measures), host_(host)
{
}

pagination::ScreenMeasures PrintCommands::screen_measures() const
{
    const QFont font = measures_->cell_font();
    return {font.family(), font.pointSizeF() * share_, double(measures_->row_height_twips()),
            twips::from_px(QFontMetricsF(font).height())};
}

bool PrintCommands::prepare(QPrinter &printer) const
{
    host_.printer_settings().apply_to(printer);
    pagefooter::make_room(printer);
    return host_.printer_settings().to_pdf();
}

QString PrintCommands::footer_name() const
{
    const QString name = sheet_->sheet_name();
    return name.isEmpty() || name == Sheet::untitled_name() ? Sheet::untitled_name()
                                                            : QFileInfo(name).fileName();
}

void PrintCommands::draw_page(PainterSurface &surface, const pagination::Plan &plan, qsizetype i,
                              const QString &date) const
{
    pagination::print_page(*sheet_, screen_measures(), surface, plan.pages[i]);
    surface.draw_footer(footer_name(), date,
                        pagefooter::page_of(i + 1, plan.pages.size()));
}

pagination::Plan PrintCommands::plan_for(QPrinter &printer)
{
    Range range;
    switch (print_range_of(*sheet_, range)) {
    case Refusal::TitleOnly:
        host_.prompter().message(window_, u"見出しの行だけでは印刷できません。"_s);
        return {};
    case Refusal::Empty:
        host_.prompter().message(window_, u"指定範囲の行はすべて空なので、印刷するものがありません。"_s);
        return {};
    case Refusal::None:
        break;
    }
    // Measured at the printer's resolution before anything is sent: a refused
    // range prints nothing, not even a blank page.
    QImage scratch(1, 1, QImage::Format_RGB32);
    scratch.setDotsPerMeterX(int(printer.resolution() / 0.0254));
    scratch.setDotsPerMeterY(int(printer.resolution() / 0.0254));
    QPainter measure(&scratch);
    PainterSurface surface(measure, printer.pageRect(QPrinter::DevicePixel));
    share_ = 1;
    if (host_.printer_settings().fit_width()) {
        const double share =
            pagination::width_share(*sheet_, screen_measures(), surface, range.c1, range.c2);
        if (share > 0)
            share_ = share;
        else
            host_.prompter().message(window_, u"用紙の幅に合わせると文字が半分より小さくなるため、"
                                              u"これまでどおり横に何枚かに分けて印刷します。"_s);
    }
    pagination::Plan plan = pagination::print_range(*sheet_, screen_measures(), surface, range.c1,
                                                     range.c2, range.r1, range.r2);
    if (!plan.refusal.isEmpty()) {
        host_.prompter().message(window_, plan.refusal);
        plan.pages.clear();
    }
    return plan;
}

void PrintCommands::print()
{
    Prompter &prompter = host_.prompter();
    QPrinter printer(QPrinter::HighResolution);
    const bool to_pdf = prepare(printer);
    const pagination::Plan plan = plan_for(printer);
    if (plan.pages.isEmpty())
        return;
    if (plan.pages.size() > 10 &&
        prompter.ask(window_, QString::number(plan.pages.size()) + u" ページを印刷します。よろしいですか？"_s,
                     Prompter::Buttons::YesNo, u"確認"_s, Prompter::Answer::No) != Prompter::Answer::Yes)
        return;
    if (to_pdf) {
        const std::optional<QString> path = prompter.save_file(window_, {u"PDF (*.pdf)"_s}, u"印刷.pdf"_s);
        if (!path)
            return;
        printer.setOutputFileName(*path);
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        prompter.message(window_, u"印刷を始められませんでした。"_s);
        return;
    }
    // The painter's origin is the printable area's corner.
    PainterSurface surface(painter, QRectF(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size()));
    const QString date = pagefooter::printed_on();
    for (qsizetype i = 0; i < plan.pages.size(); ++i) {
        if (i > 0)
            printer.newPage();  // only between pages: no blank page at the end
        draw_page(surface, plan, i, date);
    }
    painter.end();
    if (to_pdf && !pdftextmap::correct_file(printer.outputFileName(), surface.drawn(),
                                                     fonts::sheet_font(12)))
        prompter.message(window_, u"PDF の文字の情報を直せませんでした。印刷された文字の検索やコピーが正しくできないことがあります。"_s);
}

void PrintCommands::preview()
{
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer);
    const pagination::Plan plan = plan_for(printer);
    if (plan.pages.isEmpty())
        return;

    // The whole sheet of paper, drawn small enough for the screen: the same
    // pages as the printout, margins and footer included, only scaled.
    const QRectF paper_px = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page_px = printer.pageRect(QPrinter::DevicePixel);
    const double paper_twips_height = paper_px.height() * 1440.0 / printer.resolution();
    const int screen_height = window_->screen() ? window_->screen()->availableGeometry().height() : 900;
    const double dpi = qBound(40.0, (screen_height - 160) * 1440.0 / paper_twips_height, 150.0);
    const double to_screen = dpi / printer.resolution();
    const QSize size(int(paper_px.width() * to_screen), int(paper_px.height() * to_screen));
    const QRectF page(page_px.topLeft() * to_screen, page_px.size() * to_screen);
    const QString caption = u"[印刷イメージの表示]  "_s + window_->windowTitle();
    const QString date = pagefooter::printed_on();
    PreviewWindow &preview = host_.preview_window();
    for (qsizetype i = 0; i < plan.pages.size(); ++i) {
        QImage image(size, QImage::Format_RGB32);
        image.setDotsPerMeterX(int(dpi / 0.0254));
        image.setDotsPerMeterY(int(dpi / 0.0254));
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            PainterSurface surface(painter, page);
            draw_page(surface, plan, i, date);
        }
        preview.show_page(image, caption);
        // The teacher may stop looking at any page.
        if (host_.prompter().ask_beside(&preview, u"次があれば表示します。"_s,
                                        Prompter::Buttons::OkCancel) !=
            Prompter::Answer::Ok)
            break;
    }
}

#include "print/printcommands.h"

#include "common/prompter.h"
#include "common/twips.h"
#include "pagination.h"
#include "print/paintersurface.h"
#include "print/previewwindow.h"
#include "print/printersettings.h"
#include "sheet.h"
#include "sheet/sheetgrid.h"
#include "sheet/sheethost.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// The range to print: the selection, without the title row (each page has
// the headings already); one selected cell stands for the whole used range.
struct Range {
    int c1, c2, r1, r2;
};

std::optional<Range> print_range_of(const Sheet &sheet)
{
    Range range{sheet.left_selected_col(), sheet.right_selected_col(), sheet.top_selected_row(),
                sheet.bottom_selected_row()};
    if (range.c1 == range.c2 && range.r1 == range.r2) {
        int last = 1;
        for (int r = 1; r < sheet.rows(); ++r)
            for (int c = 1; c < sheet.cols(); ++c)
                if (!sheet.text(r, c).trimmed().isEmpty())
                    last = r;
        range = {1, sheet.cols() - 1, 1, last};
    }
    range.c1 = qMax(range.c1, 1);
    if (range.r2 < 1)
        return std::nullopt;
    range.r1 = qMax(range.r1, 1);
    return range;
}

}  // namespace

PrintCommands::PrintCommands(QWidget *window, Sheet *sheet, SheetGrid *grid, SheetHost &host)
    : QObject(window), window_(window), sheet_(sheet), grid_(grid), host_(host)
{
}

pagination::ScreenMeasures PrintCommands::screen_measures() const
{
    const QFont font = grid_->font();
    return {font.family(), font.pointSizeF(), double(grid_->row_height_twips()),
            twips::from_px(QFontMetricsF(font).height())};
}

bool PrintCommands::prepare(QPrinter &printer) const
{
    host_.printer_settings().apply_to(printer);
    return host_.printer_settings().to_pdf();
}

pagination::Plan PrintCommands::plan_for(QPrinter &printer)
{
    const std::optional<Range> range = print_range_of(*sheet_);
    if (!range) {
        host_.prompter().message(window_, u"見出しの行だけでは印刷できません。"_s);
        return {};
    }
    // Measured at the printer's resolution before anything is sent: a refused
    // range prints nothing, not even a blank page.
    QImage scratch(1, 1, QImage::Format_RGB32);
    scratch.setDotsPerMeterX(int(printer.resolution() / 0.0254));
    scratch.setDotsPerMeterY(int(printer.resolution() / 0.0254));
    QPainter measure(&scratch);
    PainterSurface surface(measure, printer.pageRect(QPrinter::DevicePixel));
    pagination::Plan plan = pagination::print_range(*sheet_, screen_measures(), surface, range->c1,
                                                     range->c2, range->r1, range->r2);
    if (!plan.refusal.isEmpty()) {
        host_.prompter().message(window_, plan.refusal);
        plan.pages.clear();
    }
    return plan;
}

void PrintCommands::mnu_print_Click()
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
    const pagination::ScreenMeasures screen = screen_measures();
    PainterSurface surface(painter, QRectF(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size()));
    for (qsizetype i = 0; i < plan.pages.size(); ++i) {
        if (i > 0)
            printer.newPage();  // only between pages: no blank page at the end
        pagination::print_page(*sheet_, screen, surface, plan.pages[i]);
    }
    painter.end();
}

void PrintCommands::mnu_preview_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer);
    const pagination::Plan plan = plan_for(printer);
    if (plan.pages.isEmpty())
        return;

    // The printed page, drawn small enough for the screen: the same pages
    // as the printout, only scaled.
    const QSizeF page_px = printer.pageRect(QPrinter::DevicePixel).size();
    const double page_twips_height = page_px.height() * 1440.0 / printer.resolution();
    const int screen_height = window_->screen() ? window_->screen()->availableGeometry().height() : 900;
    const double dpi = qBound(40.0, (screen_height - 160) * 1440.0 / page_twips_height, 150.0);
    const QSize size(int(page_px.width() * dpi / printer.resolution()),
                     int(page_px.height() * dpi / printer.resolution()));
    const QString caption = u"[印刷イメージの表示]  "_s + window_->windowTitle();
    const pagination::ScreenMeasures screen = screen_measures();
    PreviewWindow &preview = host_.preview_window();
    for (const pagination::Page &page : plan.pages) {
        QImage image(size, QImage::Format_RGB32);
        image.setDotsPerMeterX(int(dpi / 0.0254));
        image.setDotsPerMeterY(int(dpi / 0.0254));
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            PainterSurface surface(painter, QRectF(QPointF(0, 0), QSizeF(size)));
            pagination::print_page(*sheet_, screen, surface, page);
        }
        preview.show_page(image, caption);
        // The teacher may stop looking at any page.
        if (host_.prompter().ask(window_, u"次があれば表示します。"_s, Prompter::Buttons::OkCancel) !=
            Prompter::Answer::Ok)
            break;
    }
}

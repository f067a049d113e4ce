#include "print/printcommands.h"

#include "common/prompter.h"
#include "common/twips.h"
#include "pagination.h"
#include "print/paintersurface.h"
#include "sheet.h"
#include "sheet/sheetgrid.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
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

PrintCommands::PrintCommands(QWidget *window, Sheet *sheet, SheetGrid *grid, Prompter &prompter)
    : QObject(window), window_(window), sheet_(sheet), grid_(grid), prompter_(prompter)
{
}

pagination::ScreenMeasures PrintCommands::screen_measures() const
{
    const QFont font = grid_->font();
    return {font.family(), font.pointSizeF(), double(grid_->row_height_twips()),
            twips::from_px(QFontMetricsF(font).height())};
}

void PrintCommands::mnu_print_Click()
{
    const std::optional<Range> range = print_range_of(*sheet_);
    if (!range) {
        prompter_.message(window_, u"見出しの行だけでは印刷できません。"_s);
        return;
    }

    QPrinter printer(QPrinter::HighResolution);
    const bool to_pdf = QPrinterInfo::defaultPrinter().isNull();
    if (to_pdf)
        printer.setOutputFormat(QPrinter::PdfFormat);

    // The pages are laid out on the printable area before anything is sent:
    // a refused range prints nothing, not even a blank page.
    const pagination::ScreenMeasures screen = screen_measures();
    pagination::Plan plan;
    {
        QPainter measure;
        QImage scratch(1, 1, QImage::Format_RGB32);
        scratch.setDotsPerMeterX(int(printer.resolution() / 0.0254));
        scratch.setDotsPerMeterY(int(printer.resolution() / 0.0254));
        measure.begin(&scratch);
        PainterSurface surface(measure, printer.pageRect(QPrinter::DevicePixel));
        plan = pagination::print_range(*sheet_, screen, surface, range->c1, range->c2, range->r1,
                                       range->r2);
        measure.end();
    }
    if (!plan.refusal.isEmpty()) {
        prompter_.message(window_, plan.refusal);
        return;
    }
    if (plan.pages.size() > 10 &&
        prompter_.ask(window_, QString::number(plan.pages.size()) + u" ページを印刷します。よろしいですか？"_s,
                      Prompter::Buttons::YesNo, u"確認"_s) != Prompter::Answer::Yes)
        return;
    if (to_pdf) {
        const std::optional<QString> path =
            prompter_.save_file(window_, {u"PDF (*.pdf)"_s}, u"印刷.pdf"_s);
        if (!path)
            return;
        printer.setOutputFileName(*path);
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        prompter_.message(window_, u"印刷を始められませんでした。"_s);
        return;
    }
    const QRectF page(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
    PainterSurface surface(painter, page);
    for (qsizetype i = 0; i < plan.pages.size(); ++i) {
        if (i > 0)
            printer.newPage();  // only between pages: no blank page at the end
        pagination::print_page(*sheet_, screen, surface, plan.pages[i]);
    }
    painter.end();
}

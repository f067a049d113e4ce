#include "print/reportpages.h"

#include "gradereport.h"
#include "common/fonts.h"
#include "print/pagefooter.h"
#include "print/pdftextmap.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace reportpages {

namespace {

constexpr int kChartColumns = 3;
constexpr int kChartRows = 4;
constexpr int kNoteFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

QFont report_font(double points, bool bold = false)
{
    QFont font;
    font.setFamilies({u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s, u"IPAPGothic"_s, u"Noto Sans CJK JP"_s});
    font.setPointSizeF(points);
    font.setBold(bold);
    return pdftextmap::unshaped(font);
}

// Long paths would push the numbers off the page: the file's own name is
// what the teacher recognises.
QString shown_name(const QString &name)
{
    const QString file = QFileInfo(name).fileName();
    return file.isEmpty() ? name : file;
}

class Pages
{
public:
    // total: how many pages there will be, for the footer; 0 while counting.
    // Text is measured on device, the one that prints, whatever painter paints on.
    Pages(const gradereport::Report &report, QPainter &painter, const QPaintDevice *device,
          const QSizeF &page, const std::function<void()> &new_page, int total, const QString &date)
        : report_(report), next_page_(new_page), painter_(painter), device_(device),
          page_(QPointF(0, 0), page), total_(total), date_(date)
    {
    }

    // Returns how many pages it took.
    int paint()
    {
        heading();
        table(gradereport::field_titles(),
              [this](const gradereport::ClassResult &c, bool is_all) { return gradereport::fields(c, is_all, report_); });
        if (!report_.viewpoint_names.isEmpty()) {
            // Letters and 評定 1-5 below, in a table of their own: one line
            // could not hold both on a page.
            painter_.setFont(report_font(9, true));
            y_ += metrics().height();
            write(QPointF(0, y_ + metrics().ascent()), u"観点別評価と評定（1～5）"_s);
            y_ += metrics().height() * 1.5;
            table(gradereport::viewpoint_titles(report_) << QString(),
                  [this](const gradereport::ClassResult &c, bool is_all) {
                      return gradereport::viewpoint_fields(c, is_all, report_) << QString();
                  });
        }
        charts();
        return page_number_;
    }

    // Every text drawn in the report's font.
    const QString &drawn() const { return drawn_; }

private:
    void write(const QPointF &at, const QString &s)
    {
        painter_.drawText(at, s);
        drawn_ += s;
    }

    void write(const QRectF &box, int flags, const QString &s)
    {
        painter_.drawText(box, flags, s);
        drawn_ += s;
    }

    QFontMetricsF metrics() const { return QFontMetricsF(painter_.font(), device_); }

    void new_page()
    {
        next_page_();
        ++page_number_;
        heading();
    }

    void heading()
    {
        painter_.setFont(report_font(14, true));
        const QFontMetricsF title = metrics();
        write(QPointF(0, title.ascent()), u"成績一覧表"_s);
        pagefooter::draw(painter_, page_, u"成績一覧表"_s, date_,
                         pagefooter::page_of(page_number_, total_ > 0 ? total_ : page_number_));
        y_ = title.height() * 1.6;
    }

    // The last title and field are the note, wrapped in what is left.
    void table(const QStringList &titles,
               const std::function<QStringList(const gradereport::ClassResult &, bool)> &fields_of)
    {
        painter_.setFont(report_font(7));
        const QFontMetricsF fm = metrics();
        const double line = fm.height() * 1.35;
        // The name and the note take what the numbers leave.
        const double number_width =
            std::max(fm.horizontalAdvance(u"00000.00"_s), fm.horizontalAdvance(u"評定平均"_s) + 6);
        const int numbers = int(titles.size()) - 2;
        const double rest = page_.width() - numbers * number_width;
        const double name_width = rest * 0.35;
        // The note is wrapped, never cut: it says why a class has no numbers.
        const QRectF note_box(0, 0, rest - name_width - 4, page_.height());
        auto row = [&](const QStringList &fields) {
            const double height =
                line - fm.height() +
                std::max(fm.height(), fm.boundingRect(note_box, kNoteFlags, fields.last()).height());
            if (y_ + height > page_.height() - line) {
                new_page();
                painter_.setFont(report_font(7));
                row_titles(titles, name_width, number_width, line);
            }
            double x = 0;
            for (qsizetype i = 0; i + 1 < fields.size(); ++i) {
                const bool is_name = i == 0;
                const double w = is_name ? name_width : number_width;
                const QString text = is_name ? fm.elidedText(shown_name(fields[i]), Qt::ElideMiddle, w - 4)
                                             : fields[i];
                const double tx = is_name ? x + 2 : x + w - 2 - fm.horizontalAdvance(text);
                write(QPointF(tx, y_ + fm.ascent()), text);
                x += w;
            }
            if (!fields.last().isEmpty())
                write(note_box.translated(x + 2, y_), kNoteFlags, fields.last());
            y_ += height;
        };
        row_titles(titles, name_width, number_width, line);
        for (const gradereport::ClassResult &c : report_.classes)
            row(fields_of(c, false));
        painter_.drawLine(QPointF(0, y_), QPointF(page_.width(), y_));
        y_ += line * 0.2;
        row(fields_of(report_.all, true));
    }

    void row_titles(const QStringList &titles, double name_width, double number_width, double line)
    {
        const QFontMetricsF fm = metrics();
        double x = 0;
        for (qsizetype i = 0; i < titles.size(); ++i) {
            const double w = i == 0 ? name_width : i == titles.size() - 1 ? 0 : number_width;
            const double tx = i == 0 || w == 0 ? x + 2 : x + w - 2 - fm.horizontalAdvance(titles[i]);
            write(QPointF(tx, y_ + fm.ascent()), titles[i]);
            x += w;
        }
        y_ += line;
        painter_.drawLine(QPointF(0, y_ - line * 0.15), QPointF(page_.width(), y_ - line * 0.15));
    }

    // One common scale: the largest count of any grade in any class.
    int scale() const
    {
        int top = 1;
        for (const gradereport::ClassResult &c : report_.classes)
            if (c.decided())
                for (int g = 1; g <= 10; ++g)
                    top = std::max(top, c.grades.counts[size_t(g)]);
        return top;
    }

    void charts()
    {
        const int top = scale();
        const double cell_w = page_.width() / kChartColumns;
        int index = 0;
        double area_top = 0;
        double cell_h = 0;
        for (const gradereport::ClassResult &c : report_.classes) {
            if (index % (kChartColumns * kChartRows) == 0) {
                new_page();
                painter_.setFont(report_font(9, true));
                write(QPointF(0, y_ + metrics().ascent()),
                      u"評価の分布（縦軸は全クラス共通: 最大 "_s + QString::number(top) + u" 人）"_s);
                area_top = y_ + metrics().height() * 1.5;
                cell_h = (page_.height() - area_top - 40) / kChartRows;
            }
            const int slot = index % (kChartColumns * kChartRows);
            chart(c, QRectF((slot % kChartColumns) * cell_w, area_top + (slot / kChartColumns) * cell_h,
                            cell_w, cell_h),
                  top);
            ++index;
        }
    }

    void chart(const gradereport::ClassResult &c, const QRectF &cell, int top)
    {
        painter_.setFont(report_font(7));
        const QFontMetricsF fm = metrics();
        const QRectF box = cell.adjusted(8, 4, -8, -8);
        write(QPointF(box.left(), box.top() + fm.ascent()),
                          fm.elidedText(shown_name(c.name), Qt::ElideMiddle, box.width()));
        const QRectF plot(box.left(), box.top() + fm.height() * 1.3, box.width(),
                          box.height() - fm.height() * 2.6);
        painter_.drawLine(plot.bottomLeft(), plot.bottomRight());
        if (!c.decided()) {
            const QString why = c.readable() ? u"評価未決定"_s : u"読み込めません"_s;
            write(plot, Qt::AlignCenter, why);
            return;
        }
        const double step = plot.width() / 10;
        for (int g = 1; g <= 10; ++g) {
            const int n = c.grades.counts[size_t(g)];
            const double h = plot.height() * n / top;
            const double x = plot.left() + (g - 1) * step;
            painter_.fillRect(QRectF(x + step * 0.15, plot.bottom() - h, step * 0.7, h), Qt::darkGray);
            const QString label = QString::number(g);
            write(QPointF(x + (step - fm.horizontalAdvance(label)) / 2,
                                      plot.bottom() + fm.ascent() + 1),
                              label);
            if (n > 0) {
                const QString count = QString::number(n);
                write(QPointF(x + (step - fm.horizontalAdvance(count)) / 2,
                                          plot.bottom() - h - fm.descent() - 1),
                                  count);
            }
        }
    }

    const gradereport::Report &report_;
    const std::function<void()> &next_page_;
    QPainter &painter_;
    const QPaintDevice *device_;
    QRectF page_;
    int total_;
    QString date_;
    QString drawn_;
    double y_ = 0;
    int page_number_ = 1;
};

}  // namespace

QString paint(const gradereport::Report &report, QPagedPaintDevice &device, QPainter &painter)
{
    const QSizeF page = device.pageLayout().paintRectPixels(device.logicalDpiX()).size();
    return paint(report, painter, page, [&device] { device.newPage(); });
}

QString paint(const gradereport::Report &report, QPainter &painter, const QSizeF &page,
              const std::function<void()> &new_page)
{
    // A first run on nothing only counts the pages; it measures the text on
    // the device that prints, whose resolution sets how many lines fit.
    const QPaintDevice *device = painter.device();
    QPicture scratch;
    QPainter counting(&scratch);
    const int total = Pages(report, counting, device, page, [] {}, 0, QString()).paint();
    counting.end();
    const QString date = pagefooter::printed_on();
    Pages pages(report, painter, device, page, new_page, total, date);
    pages.paint();
    return pages.drawn() + u"成績一覧表"_s + date + pagefooter::page_of(total, total);
}

bool correct_pdf_text(const QString &path, const QString &printed)
{
    // The footer is drawn in the sheet's font, the rest in the report's.
    pdftextmap::Corrections corrections = pdftextmap::corrections_for(printed, report_font(9));
    corrections.insert(pdftextmap::corrections_for(printed, fonts::sheet_font(9)));
    return pdftextmap::correct_file(path, corrections);
}

QList<QImage> page_images(const gradereport::Report &report, double dpi)
{
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                             QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    const QSize full = layout.fullRectPixels(int(dpi)).size();
    const QRect paint_rect = layout.paintRectPixels(int(dpi));
    QList<QImage> images;
    QPainter painter;
    auto start = [&] {
        if (painter.isActive())
            painter.end();
        QImage image(full, QImage::Format_RGB32);
        image.setDotsPerMeterX(int(dpi / 0.0254));
        image.setDotsPerMeterY(int(dpi / 0.0254));
        image.fill(Qt::white);
        images.append(image);
        painter.begin(&images.last());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(paint_rect.topLeft());
    };
    start();
    paint(report, painter, paint_rect.size(), start);
    painter.end();
    return images;
}

QString write_pdf(const gradereport::Report &report, const QString &path)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(u"成績一覧表"_s);
    QPainter painter;
    if (!painter.begin(&writer))
        return u"PDF を書き始められませんでした"_s;
    const QString printed = paint(report, writer, painter);
    if (!painter.end())
        return u"PDF を書き終えられませんでした"_s;
    if (!QFileInfo(path).isFile())
        return u"ファイルを作れませんでした"_s;
    if (!correct_pdf_text(path, printed))
        return u"PDF の文字の情報を直せませんでした"_s;
    return QString();
}

}  // namespace reportpages

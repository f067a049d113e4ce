#include "print/reportpages.h"

#include "gradereport.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace reportpages {

namespace {

constexpr int kChartColumns = 3;
constexpr int kChartRows = 4;

QFont report_font(double points, bool bold = false)
{
    QFont font;
    font.setFamilies({u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s, u"IPAPGothic"_s, u"Noto Sans CJK JP"_s});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
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
    Pages(const gradereport::Report &report, QPainter &painter, const QSizeF &page,
          const std::function<void()> &new_page)
        : report_(report), next_page_(new_page), painter_(painter), page_(QPointF(0, 0), page)
    {
    }

    void paint()
    {
        table();
        charts();
    }

private:
    void new_page()
    {
        next_page_();
        ++page_number_;
        heading();
    }

    void heading()
    {
        painter_.setFont(report_font(14, true));
        const QFontMetricsF title(painter_.font());
        painter_.drawText(QPointF(0, title.ascent()), u"成績一覧表"_s);
        painter_.setFont(report_font(8));
        const QFontMetricsF small(painter_.font());
        const QString number = QString::number(page_number_) + u" ページ"_s;
        painter_.drawText(QPointF(page_.width() - small.horizontalAdvance(number),
                                  page_.height() - small.descent()),
                          number);
        y_ = title.height() * 1.6;
    }

    void table()
    {
        heading();
        const QStringList titles = gradereport::field_titles();
        painter_.setFont(report_font(7));
        const QFontMetricsF fm(painter_.font());
        const double line = fm.height() * 1.35;
        // The name and the note take what the numbers leave.
        const double number_width =
            std::max(fm.horizontalAdvance(u"00000.00"_s), fm.horizontalAdvance(u"評定平均"_s) + 6);
        const int numbers = int(titles.size()) - 2;
        const double rest = page_.width() - numbers * number_width;
        const double name_width = rest * 0.35;
        auto row = [&](const QStringList &fields, bool rule) {
            if (y_ + line > page_.height() - line) {
                new_page();
                painter_.setFont(report_font(7));
                row_titles(titles, name_width, number_width, line);
            }
            double x = 0;
            for (qsizetype i = 0; i < fields.size(); ++i) {
                const bool is_name = i == 0;
                const bool is_note = i == fields.size() - 1;
                const double w = is_name ? name_width : is_note ? rest - name_width : number_width;
                const QString text = fm.elidedText(is_name ? shown_name(fields[i]) : fields[i],
                                                   Qt::ElideMiddle, w - 4);
                const double tx = is_name || is_note ? x + 2 : x + w - 2 - fm.horizontalAdvance(text);
                painter_.drawText(QPointF(tx, y_ + fm.ascent()), text);
                x += w;
            }
            y_ += line;
            if (rule)
                painter_.drawLine(QPointF(0, y_ - line * 0.15), QPointF(page_.width(), y_ - line * 0.15));
        };
        row_titles(titles, name_width, number_width, line);
        for (const gradereport::ClassResult &c : report_.classes)
            row(gradereport::fields(c, false, report_), false);
        painter_.drawLine(QPointF(0, y_), QPointF(page_.width(), y_));
        y_ += line * 0.2;
        row(gradereport::fields(report_.all, true, report_), false);
    }

    void row_titles(const QStringList &titles, double name_width, double number_width, double line)
    {
        const QFontMetricsF fm(painter_.font());
        double x = 0;
        for (qsizetype i = 0; i < titles.size(); ++i) {
            const double w = i == 0 ? name_width : i == titles.size() - 1 ? 0 : number_width;
            const double tx = i == 0 || w == 0 ? x + 2 : x + w - 2 - fm.horizontalAdvance(titles[i]);
            painter_.drawText(QPointF(tx, y_ + fm.ascent()), titles[i]);
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
                for (int g = 2; g <= 10; ++g)
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
                painter_.drawText(QPointF(0, y_ + QFontMetricsF(painter_.font()).ascent()),
                                  u"評価の分布（縦軸は全クラス共通: 最大 "_s + QString::number(top) +
                                      u" 人）"_s);
                area_top = y_ + QFontMetricsF(painter_.font()).height() * 1.5;
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
        const QFontMetricsF fm(painter_.font());
        const QRectF box = cell.adjusted(8, 4, -8, -8);
        painter_.drawText(QPointF(box.left(), box.top() + fm.ascent()),
                          fm.elidedText(shown_name(c.name), Qt::ElideMiddle, box.width()));
        const QRectF plot(box.left(), box.top() + fm.height() * 1.3, box.width(),
                          box.height() - fm.height() * 2.6);
        painter_.drawLine(plot.bottomLeft(), plot.bottomRight());
        if (!c.decided()) {
            const QString why = c.readable() ? u"評価未決定"_s : u"読み込めません"_s;
            painter_.drawText(plot, Qt::AlignCenter, why);
            return;
        }
        const double step = plot.width() / 9;
        for (int g = 2; g <= 10; ++g) {
            const int n = c.grades.counts[size_t(g)];
            const double h = plot.height() * n / top;
            const double x = plot.left() + (g - 2) * step;
            painter_.fillRect(QRectF(x + step * 0.15, plot.bottom() - h, step * 0.7, h), Qt::darkGray);
            const QString label = QString::number(g);
            painter_.drawText(QPointF(x + (step - fm.horizontalAdvance(label)) / 2,
                                      plot.bottom() + fm.ascent() + 1),
                              label);
            if (n > 0) {
                const QString count = QString::number(n);
                painter_.drawText(QPointF(x + (step - fm.horizontalAdvance(count)) / 2,
                                          plot.bottom() - h - fm.descent() - 1),
                                  count);
            }
        }
    }

    const gradereport::Report &report_;
    const std::function<void()> &next_page_;
    QPainter &painter_;
    QRectF page_;
    double y_ = 0;
    int page_number_ = 1;
};

}  // namespace

void paint(const gradereport::Report &report, QPagedPaintDevice &device, QPainter &painter)
{
    const QSizeF page = device.pageLayout().paintRectPixels(device.logicalDpiX()).size();
    paint(report, painter, page, [&device] { device.newPage(); });
}

void paint(const gradereport::Report &report, QPainter &painter, const QSizeF &page,
           const std::function<void()> &new_page)
{
    Pages(report, painter, page, new_page).paint();
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
    paint(report, writer, painter);
    if (!painter.end())
        return u"PDF を書き終えられませんでした"_s;
    if (!QFileInfo(path).isFile())
        return u"ファイルを作れませんでした"_s;
    return QString();
}

}  // namespace reportpages

#include "print/pagefooter.h"

#include "common/fonts.h"
#include "print/pdftextmap.h"

#include <QDate>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace pagefooter {

QString printed_on()
{
    return QDate::currentDate().toString(u"yyyy年M月d日 印刷"_s);
}

QString page_of(qsizetype n, qsizetype total)
{
    Q_ASSERT(n >= 1 && n <= total);
    return QString::number(n) + u" / "_s + QString::number(total);
}

void make_room(QPagedPaintDevice &device)
{
    QMarginsF margins = device.pageLayout().margins(QPageLayout::Millimeter);
    margins.setBottom(margins.bottom() + 8.0);
    device.setPageMargins(margins, QPageLayout::Millimeter);
}

void draw(QPainter &painter, const QRectF &page, const QString &name, const QString &date,
          const QString &number)
{
    const double dpi = painter.device()->logicalDpiY();
    painter.save();
    painter.setFont(pdftextmap::unshaped(fonts::sheet_font(9)));
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(painter.font(), painter.device());
    // At the top of the bottom margin: the part of the margin nearer the
    // paper's edge may be more than a printer can reach.
    const QRectF line(page.left(), page.bottom() + dpi * 1.5 / 25.4, page.width(), metrics.height());
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, name);
    painter.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter, date);
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, number);
    painter.restore();
}

}  // namespace pagefooter

#include "print/paintersurface.h"

#include "common/fonts.h"
#include "print/pagefooter.h"
#include "print/pdftextmap.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

PainterSurface::PainterSurface(QPainter &painter, const QRectF &page)
    : painter_(painter), page_(page), dpi_(painter.device()->logicalDpiY())
{
}

double PainterSurface::px(double twips) const
{
    return twips * dpi_ / 1440.0;
}

double PainterSurface::twips(double px) const
{
    return px * 1440.0 / dpi_;
}

double PainterSurface::width() const
{
    return twips(page_.width());
}

double PainterSurface::height() const
{
    return twips(page_.height());
}

void PainterSurface::set_font(const QString &, double points)
{
    // The grid's own family list, so that the page shows what the grid shows.
    painter_.setFont(pdftextmap::unshaped(fonts::sheet_font(points)));
}

double PainterSurface::text_width(const QString &text) const
{
    return twips(QFontMetricsF(painter_.font(), painter_.device()).horizontalAdvance(text));
}

double PainterSurface::text_height(const QString &) const
{
    return twips(QFontMetricsF(painter_.font(), painter_.device()).height());
}

void PainterSurface::draw_text(double x, double y, const QString &text, double clip_right)
{
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    const QPointF at(page_.left() + px(x), page_.top() + px(y) + metrics.ascent());
    painter_.save();
    // A text never runs over into the next cell.
    painter_.setClipRect(QRectF(page_.left() + px(x), page_.top() + px(y),
                                qMax(0.0, px(clip_right - x)), metrics.height()));
    painter_.drawText(at, text);
    painter_.restore();
    drawn_ += text;
}

void PainterSurface::draw_line(double x1, double y1, double x2, double y2, bool dotted)
{
    QPen pen(Qt::black);
    pen.setWidthF(qMax(1.0, dpi_ / 144.0));
    pen.setStyle(dotted ? Qt::DotLine : Qt::SolidLine);
    painter_.setPen(pen);
    painter_.drawLine(QPointF(page_.left() + px(x1), page_.top() + px(y1)),
                      QPointF(page_.left() + px(x2), page_.top() + px(y2)));
}

void PainterSurface::draw_footer(const QString &left, const QString &middle, const QString &right)
{
    pagefooter::draw(painter_, page_, left, middle, right);
    drawn_ += left + middle + right;
}

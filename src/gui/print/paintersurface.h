#pragma once

#include "pagination.h"

#include <QRectF>

class QPainter;

// A page surface over a painter (printer, PDF, image window): lengths in
// twips, text measured with the device's own font metrics.
class PainterSurface : public PageSurface
{
public:
    // page: the drawing area on the device, in device pixels.
    PainterSurface(QPainter &painter, const QRectF &page);

    double width() const override;
    double height() const override;
    void set_font(const QString &family, double points) override;
    double text_width(const QString &text) const override;
    double text_height(const QString &text) const override;
    void draw_text(double x, double y, const QString &text, double clip_right) override;
    void draw_line(double x1, double y1, double x2, double y2, bool dotted) override;

    // In the bottom margin, just below the drawing area: left, middle, right.
    void draw_footer(const QString &left, const QString &middle, const QString &right);
    // Every text drawn so far, footer included.
    const QString &drawn() const { return drawn_; }

private:
    double px(double twips) const;
    double twips(double px) const;

    QPainter &painter_;
    QRectF page_;
    QString drawn_;
    double dpi_;
};

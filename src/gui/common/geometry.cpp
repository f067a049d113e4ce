#include "common/geometry.h"

#include "common/twips.h"

#include <QWidget>

namespace geometry {

void place(QWidget *widget, double left, double top, double width, double height)
{
    widget->setGeometry(twips::to_px(left), twips::to_px(top), twips::to_px(width),
                        twips::to_px(height));
}

void move(QWidget *widget, double left, double top)
{
    widget->move(twips::to_px(left), twips::to_px(top));
}

double left(const QWidget *widget)
{
    return twips::from_px(widget->x());
}

double top(const QWidget *widget)
{
    return twips::from_px(widget->y());
}

double width(const QWidget *widget)
{
    return twips::from_px(widget->width());
}

double height(const QWidget *widget)
{
    return twips::from_px(widget->height());
}

}  // namespace geometry

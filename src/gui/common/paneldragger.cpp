#include "common/paneldragger.h"

#include "common/geometry.h"
#include "numbers.h"
#include "common/twips.h"

#include <QMouseEvent>
#include <QWidget>

PanelDragger::PanelDragger(QWidget *panel, std::function<double()> text_height)
    : QObject(panel), panel_(panel), text_height_(std::move(text_height))
{
    panel_->installEventFilter(this);
}

bool PanelDragger::in_band(double y) const
{
    const double band = 1.5 * text_height_();
    const double h = geometry::height(panel_);
    return y != 0 && (y <= band || y >= h - band);
}

bool PanelDragger::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != panel_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const double x = twips::from_px(mouse->position().x());
        const double y = twips::from_px(mouse->position().y());
        if (in_band(y)) {
            dragging_ = true;
            drag_x_ = x;
            drag_y_ = numbers::round_half_even(y);
            panel_->setCursor(Qt::SizeAllCursor);
        } else {
            dragging_ = false;
            panel_->unsetCursor();
        }
        return true;
    }
    case QEvent::MouseMove: {
        if (!dragging_)
            return false;
        auto *mouse = static_cast<QMouseEvent *>(event);
        // A panel pushed above the window comes back to its top edge first.
        if (panel_->y() < 0) {
            geometry::move(panel_, geometry::left(panel_), 1);
            return true;
        }
        const double x = twips::from_px(mouse->position().x());
        const double y = twips::from_px(mouse->position().y());
        if (!in_band(y)) {
            dragging_ = false;
            panel_->unsetCursor();
            return true;
        }
        geometry::move(panel_, geometry::left(panel_) + (x - drag_x_),
                       geometry::top(panel_) + (y - drag_y_));
        return true;
    }
    case QEvent::MouseButtonRelease:
        dragging_ = false;
        panel_->unsetCursor();
        return true;
    default:
        return false;
    }
}
